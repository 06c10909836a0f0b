#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QToolButton;
class TUserGrid;
class TrafficTables;
class UiDialogs;
struct TrafficCheck;

// The window "Verkehr": the vehicle (a built-in one, a single load or a
// vehicle file), the step, both directions and the group's name in the
// envelopes, and the lanes as a grid of points (lane, x, y). The fields and
// rows are those of TrafficTables; every change goes to the document at
// once, and the check button checks them like the input windows.
class TTrafficForm : public QWidget {
    Q_OBJECT
public:
    TTrafficForm(TrafficTables& tables, UiDialogs& dialogs, QWidget* parent = nullptr);

    // The fields show the tables' settings (after a project was opened).
    void ShowSettings();
    void BringToFront();
    // "In Ordnung", or the field or cell at fault and the message; false for a fault.
    bool ShowCheck();
    void ShowFault(const TrafficCheck& check);

    QComboBox* VehicleBox = nullptr;
    QLineEdit* LoadEdit = nullptr; // "Einzellast" in kN
    QLineEdit* FileEdit = nullptr; // the vehicle file
    QLineEdit* StepEdit = nullptr;
    QCheckBox* BothDirectionsBox = nullptr;
    QLineEdit* GroupEdit = nullptr;
    TUserGrid* LaneGrid = nullptr;
    QToolButton* CheckButton = nullptr;
    QToolButton* ClearRowButton = nullptr;

protected:
    bool event(QEvent* event) override;

private:
    void VehicleChosen(int entry);
    void FieldsChanged();
    void EnableFields();

    TrafficTables& tables_;
    UiDialogs& dialogs_;
    bool showing_ = false;
};
