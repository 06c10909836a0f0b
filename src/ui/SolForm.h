#pragma once

#include "analysis/CalcStatus.h"

#include <QDialog>
#include <array>

class QFrame;
class QLabel;
class QPushButton;

// "Status der Berechnung": which stage of the analysis runs and how large the
// problem is. Counters and stage marks are repainted at once, because the
// analysis runs on the user-interface thread without returning to the event
// loop; a run that shows the window first waits until it is on the screen.
class TSolForm : public QDialog, public CalcStatus {
    Q_OBJECT
public:
    static constexpr int kStageCount = 7;

    explicit TSolForm(QWidget* parent = nullptr);

    void SetNodeCount(long k);
    void SetElementCount(long k);
    void SetDofCount(long k);
    void SetConstraintCount(long k);
    void SetMemory(long k);
    void SetBandwidth(long k);

    // k = 1 … 7 highlights stage k (and only it); 0 highlights none.
    void ShowStage(int k);
    int HighlightedStage() const;

    // Shows the window reset for a new run: "Berechnung", no stage marked.
    void BeginRun();
    // The end of a run: "Fertig" after success, "Fehler" after a failure.
    void ShowFinished();
    void ShowFailed();

    // The analysis reports its progress here.
    void StageStarted(int stage) override;
    void StageFinished(int stage, bool ok) override;
    void CountersChanged(const CalcCounters& counters) override;
    // The vehicle positions of a project's traffic after its run; 0 hides the row.
    void ShowVehiclePositions(long count);

    // Stage names in stage order, and their frames.
    QLabel* StageLabel(int stage) const { return stageLabels_[stage - 1]; }
    QFrame* StageBevel(int stage) const { return stageBevels_[stage - 1]; }

    QLabel* NodeNb = nullptr;
    QLabel* ElNb = nullptr;
    QLabel* FGNb = nullptr;
    QLabel* BCNb = nullptr;
    QLabel* Memory = nullptr;
    QLabel* Bandbreite = nullptr;
    // The load cases of a project's run and their factorisations (hidden for one).
    QLabel* LoadCaseNb = nullptr;
    QLabel* FactorNb = nullptr;
    QLabel* VehiclePositionNb = nullptr; // "Fahrzeugstellungen"
    // The captions of the last two counters: the profile's memory and
    // bandwidth, or the sparse factor's memory and non-zeros.
    QLabel* Label11 = nullptr;
    QLabel* Label13 = nullptr;
    QPushButton* BitBtn1 = nullptr; // "Fertig"
    QPushButton* BitBtn2 = nullptr; // "Fehler", "Berechnung" while running

protected:
    void showEvent(QShowEvent* event) override;
    // Enter presses the default button; Escape presses "Fertig", the cancel
    // button, and does nothing while it is hidden.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormShow();
    void BitBtn1Click();
    void BitBtn2Click();
    void CenterOnParent();
    void WaitUntilOnScreen();
    static void SetCounter(QLabel* label, long k);
    static void SetCaption(QLabel* label, const char* caption);
    QLabel* AddCounter(class QGridLayout* grid, int row, const QString& caption,
                       QLabel** captionLabel = nullptr);

    QLabel* stageLabels_[kStageCount] = {};
    QFrame* stageBevels_[kStageCount] = {};
    QFrame* Bevel1 = nullptr;
    QFrame* Bevel7 = nullptr;
    QFrame* highlighted_ = nullptr;
    std::array<QLabel*, 4> projectRows_ = {};
    std::array<QLabel*, 2> trafficRow_ = {};
};
