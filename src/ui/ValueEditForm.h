#pragma once

#include <QDialog>
#include <QLocale>
#include <optional>

class QLineEdit;
class QPushButton;
class QToolButton;
class TreeClass;
class UiDialogs;

// How numbers are shown and read in the settings dialogs: the user's decimal
// separator, and neither written nor accepted group separators. In German
// "1.000" would otherwise read as a thousand and "0.003" as 3.
QLocale SettingsNumberLocale();
// A value with ten significant digits in the user's notation.
QString SettingsNumberText(double value);
// The number a text holds, with a point or a comma as its decimal separator
// whatever the locale; none for a text that is no finite number.
std::optional<double> SettingsNumberFromText(const QString& text);

// "Wertänderung": edits one real or text setting of the settings tree. The
// arrows and "Voreinstellung" change the setting at once; "&Ok", Enter and
// Escape store the field, the window's close box leaves the field unstored.
class TValueEditForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpTopic = 10135;
    enum class Mode { Number, Text };

    explicit TValueEditForm(UiDialogs& dialogs, QWidget* parent = nullptr);

    // Prepares the dialog for a real (number mode) or text setting (text
    // mode); the caller then shows it modally. Other nodes are ignored.
    void SetUp(TreeClass& setting);

    Mode CurrentMode() const { return mode_; }

    QLineEdit* Edit1 = nullptr;
    QWidget* UpDown1 = nullptr;
    QToolButton* UpButton = nullptr;
    QToolButton* DownButton = nullptr;
    QPushButton* Button1 = nullptr; // "&Ok"
    QPushButton* Button2 = nullptr; // "Voreinstellung"

    // direction +1: up by a tenth of the default, -1: down.
    void UpDown1Click(int direction);
    void Button1Click();
    void Button2Click();

    void setVisible(bool visible) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ShowValue();
    // Stores the field into the setting; false (after the error message)
    // when a number field holds no number.
    bool StoreField();

    UiDialogs& dialogs_;
    Mode mode_ = Mode::Number;
    TreeClass* setting_ = nullptr;
};

// Moves a window so that it is centred on its screen (the parent's screen
// when it has a parent).
void CenterOnScreen(QWidget* window);
