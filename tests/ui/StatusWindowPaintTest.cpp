// The status window on the screen while a run goes on; offscreen and once
// more under a real window manager, which maps a window in its own time.
#include "MainFormFixture.h"
#include "support/QtTestRegistry.h"
#include "ui/SolForm.h"

#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QTest>
#include <string_view>

namespace {

// What the status window paints, in order: "Fenster" for the whole window,
// "Stufe k" for the highlight of stage k (" verschoben" when the name is
// not in its place inside the frame), "Knoten n" for the node counter.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(TSolForm& status) : status_(status) {
        status.installEventFilter(this);
        status.NodeNb->installEventFilter(this);
        for (int k = 1; k <= TSolForm::kStageCount; ++k)
            status.StageBevel(k)->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            Record(What(watched));
        return false;
    }

    // The stages whose highlight was painted, in order, each once.
    QStringList Stages() const {
        QStringList stages;
        for (const QString& what : painted.filter(QStringLiteral("Stufe")))
            if (stages.isEmpty() || stages.last() != what)
                stages << what;
        return stages;
    }

    QStringList painted;

private:
    QString What(QObject* watched) const {
        if (watched == &status_)
            return QStringLiteral("Fenster");
        if (watched == status_.NodeNb)
            return QStringLiteral("Knoten ") + status_.NodeNb->text();
        for (int k = 1; k <= TSolForm::kStageCount; ++k)
            if (watched == status_.StageBevel(k) &&
                status_.StageBevel(k)->frameShape() != QFrame::NoFrame)
                return QStringLiteral("Stufe %1").arg(k) + (NameInFrame(k) ? "" : " verschoben");
        return QString();
    }
    // The stage's name fills the frame inside its margins.
    bool NameInFrame(int k) const {
        const QFrame* bevel = status_.StageBevel(k);
        return status_.StageLabel(k)->geometry() ==
               bevel->contentsRect().marginsRemoved(bevel->layout()->contentsMargins());
    }
    void Record(const QString& what) {
        if (!what.isEmpty() && (painted.isEmpty() || painted.last() != what))
            painted << what;
    }

    TSolForm& status_;
};

} // namespace

class StatusWindowPaintTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The run does not return to the event loop, so the window must be on the
    // screen and painted before the first stage, and each stage and counter
    // is painted as the run reaches it: on the first run, after the window
    // was closed, and while it is still open from the last run.
    void statusWindowIsPaintedWhileTheRunGoes() {
        MainFormFixture f;
        f.form->show();
        f.form->OpenSystemFile(WriteTextFile(f.TempPath("s.bsy"), kTwoSpanSystem));
        f.form->OpenLoadCaseFile(WriteTextFile(f.TempPath("l.bld"), kTwoSpanLoads));
        TSolForm& status = *f.form->SolForm;
        const QStringList stages = {"Stufe 1", "Stufe 2", "Stufe 3", "Stufe 4",
                                    "Stufe 5", "Stufe 6", "Stufe 7"};
        // Closed after the first run, left open after the second.
        for (const char* run : {"erster Lauf", "nach dem Schließen", "Fenster noch offen"}) {
            PaintRecorder recorder(status);
            f.form->Berechnen1Click();
            QVERIFY2(!recorder.painted.isEmpty(), run);
            QCOMPARE(recorder.painted.first(), QStringLiteral("Fenster"));
            QCOMPARE(recorder.Stages(), stages);
            QVERIFY2(recorder.painted.contains(QStringLiteral("Knoten 3")), run);
            if (std::string_view(run) == "erster Lauf")
                status.BitBtn1->click();
        }
    }
};

BALKOR_REGISTER_TEST(StatusWindowPaintTest);
#include "StatusWindowPaintTest.moc"
