#pragma once

#include "document/DocumentShell.h"

#include <QObject>
#include <QString>

class QColor;
class QDialog;
class QWidget;
class QWindow;

enum class MessageIcon { None, Information, Warning, Error };

// A file dialog: its title, a Qt name filter and the extension appended to a
// name typed without one.
struct FileDialogSpec {
    QString title;
    QString filter;
    QString defaultSuffix;
};

// Every dialog and message box a command opens goes through here, so that
// tests can answer them.
class UiDialogs {
public:
    virtual ~UiDialogs() = default;
    virtual Answer AskYesNoCancel(QWidget* parent, const QString& text, const QString& caption) = 0;
    // A Yes / No question; Escape and the close box answer No.
    virtual Answer AskYesNo(QWidget* parent, const QString& text, const QString& caption) = 0;
    // An OK / Cancel question; true for OK. Escape and the close box cancel.
    virtual bool AskOkCancel(QWidget* parent, const QString& text, const QString& caption) = 0;
    // A message box with one OK button.
    virtual void ShowMessage(QWidget* parent, const QString& text, const QString& caption,
                             MessageIcon icon) = 0;
    // The chosen path of an existing file; empty when cancelled.
    virtual QString OpenFileName(QWidget* parent, const FileDialogSpec& spec) = 0;
    // The chosen path to save to (an existing file only after the user agreed
    // to overwrite it); empty when cancelled.
    virtual QString SaveFileName(QWidget* parent, const FileDialogSpec& spec) = 0;
    // Shows a prepared dialog modally; true when it was closed with OK.
    virtual bool Exec(QDialog* dialog) = 0;
    // The colour dialog, opened at colour; true (and colour the choice) when
    // confirmed.
    virtual bool ChooseColour(QWidget* parent, QColor& colour) = 0;

    // The folder the file dialogs open in: that of the file last chosen in
    // one (so the load case is saved beside the system just saved), kept by
    // the main window from one run to the next; empty for the working folder.
    const QString& FileFolder() const { return fileFolder_; }
    void SetFileFolder(const QString& folder) { fileFolder_ = folder; }

private:
    QString fileFolder_;
};

// The real dialogs, with German button texts.
class QtUiDialogs : public UiDialogs {
public:
    Answer AskYesNoCancel(QWidget* parent, const QString& text, const QString& caption) override;
    Answer AskYesNo(QWidget* parent, const QString& text, const QString& caption) override;
    bool AskOkCancel(QWidget* parent, const QString& text, const QString& caption) override;
    void ShowMessage(QWidget* parent, const QString& text, const QString& caption,
                     MessageIcon icon) override;
    QString OpenFileName(QWidget* parent, const FileDialogSpec& spec) override;
    QString SaveFileName(QWidget* parent, const FileDialogSpec& spec) override;
    bool Exec(QDialog* dialog) override;
    bool ChooseColour(QWidget* parent, QColor& colour) override;
};

// The error box of errors that end a command: caption "Balkor", error icon.
inline const char* const kErrorBoxCaption = "Balkor";

// Keeps every dialog, message box and tool window of the program above the
// program's stay-on-top windows (the status window of the calculation), so that a box
// never opens hidden beneath one and the program never looks frozen. A dialog
// shown while such a window is visible becomes its transient: window
// managers stack transients above their parent, in the parent's layer. This
// covers the boxes of UiDialogs, the error box of failed commands and the
// dialogs Qt opens itself (the file dialog's overwrite question). Installed
// once on the application.
class DialogStacking : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // The visible stay-on-top window a dialog must be kept above; null when
    // there is none or the dialog already stands above it.
    static QWindow* WindowToStayAbove(const QWidget* dialog);
};
