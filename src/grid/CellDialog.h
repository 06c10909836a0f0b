#pragma once

#include <QDialog>
#include <QLineEdit>

class QPushButton;

// A one-line edit for a number. Commas and a lower-case e are typed as a
// period and an upper-case E; other letters are refused with the beep. A
// change is reported to the parent with the message WM_USER + 1: after every
// change of the text, or, with ChangeOnExit, when the edit loses the focus.
class TMyEdit : public QLineEdit {
    Q_OBJECT
public:
    static constexpr int kChangedMessage = 1025; // WM_USER + 1

    explicit TMyEdit(QWidget* parent = nullptr);

    bool ChangeOnExit() const { return changeOnExit_; }
    void SetChangeOnExit(bool flag) { changeOnExit_ = flag; }

    // The number held: every comma read as a decimal point, the leading
    // number as strtod reads it (0 when there is none), kept as a double.
    // The text is then shown normalised (six significant digits, the user's
    // decimal separator) without reporting a change.
    double Value();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void TextEdited();
    void NotifyParent();

    bool changeOnExit_ = false;
    bool notify_ = true;
};

// The number dialog of the block and line commands: a number field, "OK" and
// "Abbruch". Created for one use with the grid as owner, centred on the
// program's window.
class TCellDialog1 : public QDialog {
    Q_OBJECT
public:
    explicit TCellDialog1(QWidget* owner = nullptr);

    TMyEdit* MyEdit1;
    QPushButton* Button1;
    QPushButton* Button2;

protected:
    void changeEvent(QEvent* event) override;

private:
    // Lays the controls out for the caption: the dialog widens when the
    // caption would not fit its title bar.
    void Arrange();

    double unit_ = 1.0;
};

// The series dialog of the block menu ("Reihe"): the value of the block's
// first row and the step from one row to the next.
class TSeriesDialog : public QDialog {
    Q_OBJECT
public:
    explicit TSeriesDialog(QWidget* owner = nullptr);

    TMyEdit* Start;
    TMyEdit* Step;
    QPushButton* Button1;
    QPushButton* Button2;
};
