#pragma once

#include "exchange/DxfImport.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// "Datei › DXF importieren…": the drawing's lines and layers, the node
// tolerance, the division at crossings and, per layer, a cross-section type:
// an existing type number, or E, G, Iy, It and alphaT of a new type.
// "Übernehmen" builds the grid and hands it to apply; the dialog closes when
// apply returns true (false: the user kept the old system). A fault (a value
// that is no number, a type that does not exist, no beam left) is shown in
// red and changes nothing.
class TDxfImportDialog : public QDialog {
public:
    using Apply = std::function<bool(const ImportedGrid&)>;

    // types: the cross-section table of the current system (CurrentTypes).
    TDxfImportDialog(const QString& path, const DxfDrawing& drawing, std::vector<MatRec> types,
                     Apply apply, QWidget* parent = nullptr);

    // The options of the fields; false with a German message when a field
    // holds no number.
    bool Options(GridOptions& options, std::string& error) const;

    QLabel* SummaryLabel;
    QLineEdit* ToleranceEdit;
    QCheckBox* SplitBox;
    QTableWidget* LayersTable; // Ebene, Linien, Typ-Nr., E, G, Iy, It, alphaT
    QLabel* MessageLabel;
    QPushButton* ApplyButton;

private:
    void ApplyClick();

    const DxfDrawing& drawing_;
    std::vector<MatRec> types_;
    Apply apply_;
};
