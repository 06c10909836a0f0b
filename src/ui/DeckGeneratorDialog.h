#pragma once

#include "graphics/PaintContainer.h"
#include "graphics/ViewTransform.h"
#include "model/DeckGenerator.h"

#include <QDialog>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QTimer;
struct InputModel;

// The grillage of a description drawn by the structure scene of the graphics
// windows, seen from above, in a model of its own.
class TDeckPreview : public QWidget {
public:
    explicit TDeckPreview(QWidget* parent);
    ~TDeckPreview() override;
    // Draws the grillage of a description that passed CheckDeck; null clears.
    void ShowDeck(const DeckDescription* deck);
    const PaintContainer& List() const { return list_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::unique_ptr<InputModel> model_;
    ViewState view_;
    PaintContainer list_;
};

// "Eingabe › Trägerrost erzeugen…": the fields of a deck description, a
// preview and "Übernehmen", which hands the description to apply; the dialog
// closes when apply returns true (false: the user kept the old system).
class TDeckGeneratorDialog : public QDialog {
public:
    using Apply = std::function<bool(const DeckDescription&)>;

    TDeckGeneratorDialog(const DeckDescription& initial, Apply apply, QWidget* parent = nullptr);

    // The description of the fields; false with the first fault (as German
    // text naming the key of the description file) when they make none.
    bool Description(DeckDescription& deck, std::string& error) const;

    QLineEdit* SpansEdit;
    QLineEdit* WidthEdit;
    QSpinBox* GirdersSpin;
    QDoubleSpinBox* SkewSpin;
    QComboBox* MeshBox;
    QComboBox* CrossModeBox; // "Abstand" or "Anzahl je Feld"
    QLineEdit* CrossValueEdit;
    QTableWidget* SectionsTable; // Längsträger, Randträger, Querträger, Endquerträger
    QTableWidget* SupportsTable; // support lines x girders, checked = "eingespannt"
    QSpinBox* IntervalsSpin;
    TDeckPreview* Preview;
    QLabel* MessageLabel;
    QPushButton* ApplyButton;

private:
    void Fill(const DeckDescription& deck);
    void FieldsChanged();
    void ResizeSupports();
    void UpdatePreview();
    void ApplyClick();

    Apply apply_;
    QTimer* previewTimer_;
};

// The values the dialog shows the first time.
DeckDescription DefaultDeck();
