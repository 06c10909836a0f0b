#pragma once

#include <QDialog>
#include <QSpinBox>
#include <string>

class QLabel;
class QLineEdit;
class QToolButton;
class UiDialogs;

// A margin field: whole millimetres from 0 to 50. A number typed beyond the
// range is taken as its nearest bound instead of being refused.
class MarginSpinBox : public QSpinBox {
    Q_OBJECT
public:
    explicit MarginSpinBox(QWidget* parent = nullptr);

protected:
    QValidator::State validate(QString& text, int& pos) const override;
    void fixup(QString& text) const override;
};

// The values the dialog edits: the protocol editor and the four page margins.
struct EditorAndMargins {
    std::string editor;
    double left = 0, right = 0, top = 0, bottom = 0;
};

// "Editor und Seitenränder": the protocol editor program and the page margins
// of graphic printouts.
class TDruckerForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpTopic = 10130;
    static constexpr int kMaxMargin = 50;

    TDruckerForm(UiDialogs& dialogs, QWidget* parent = nullptr);

    // The fields from the values, margins truncated to whole millimetres.
    void Fill(const EditorAndMargins& values);
    // The values the fields hold.
    EditorAndMargins Values() const;

    QLineEdit* MaskEdit1 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    MarginSpinBox* Left = nullptr;
    MarginSpinBox* Top = nullptr;
    MarginSpinBox* Right = nullptr;
    MarginSpinBox* Bottom = nullptr;
    QPushButton* Button1 = nullptr; // "Ok"
    QPushButton* Button2 = nullptr; // "Abbruch"

    void SpeedButton1Click();

private:
    UiDialogs& dialogs_;
};

// Runs the dialog on the program's editor and margin settings; only "Ok"
// stores the fields back into them.
void EditEditorAndMargins(TDruckerForm& form, UiDialogs& dialogs);
