#include "ui/UiDialogs.h"

#include "grid/GridDialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QWindow>

namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// The folder a file dialog opens in: the remembered one, or the nearest of its
// parents that still exists; empty (the working folder) when none does.
QString ExistingFolder(QString folder) {
    while (QDir::isAbsolutePath(folder)) {
        if (QFileInfo(folder).isDir())
            return folder;
        const QString parent = QFileInfo(folder).path();
        if (parent == folder)
            break;
        folder = parent;
    }
    return QString();
}

// Runs the dialog in the dialogs' folder; a chosen file's folder becomes the
// next one.
QString RunFileDialog(QWidget* parent, const FileDialogSpec& spec, QFileDialog::AcceptMode mode,
                      UiDialogs& dialogs) {
    QFileDialog dialog(parent, spec.title, ExistingFolder(dialogs.FileFolder()), spec.filter);
    dialog.setAcceptMode(mode);
    dialog.setDefaultSuffix(spec.defaultSuffix);
    // With several file types, a name typed without an extension gets that of
    // the type chosen.
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
            static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
            if (const QRegularExpressionMatch match = pattern.match(filter); match.hasMatch())
                dialog.setDefaultSuffix(match.captured(1));
        });
    // Opening needs an existing file; saving asks before overwriting (the default).
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Abbrechen"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    const QString chosen = dialog.selectedFiles().constFirst();
    dialogs.SetFileFolder(QFileInfo(chosen).absolutePath());
    return chosen;
}

} // namespace

Answer QtUiDialogs::AskYesNoCancel(QWidget* parent, const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == yes)
        return Answer::Yes;
    if (box.clickedButton() == no)
        return Answer::No;
    return Answer::Cancel;
}

Answer QtUiDialogs::AskYesNo(QWidget* parent, const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes ? Answer::Yes : Answer::No;
}

bool QtUiDialogs::AskOkCancel(QWidget* parent, const QString& text, const QString& caption) {
    return ShowOkCancelBox(parent, text, caption);
}

void QtUiDialogs::ShowMessage(QWidget* parent, const QString& text, const QString& caption,
                              MessageIcon icon) {
    QMessageBox box(BoxIcon(icon), caption, text, QMessageBox::NoButton, parent);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

QString QtUiDialogs::OpenFileName(QWidget* parent, const FileDialogSpec& spec) {
    return RunFileDialog(parent, spec, QFileDialog::AcceptOpen, *this);
}

QString QtUiDialogs::SaveFileName(QWidget* parent, const FileDialogSpec& spec) {
    return RunFileDialog(parent, spec, QFileDialog::AcceptSave, *this);
}

bool QtUiDialogs::Exec(QDialog* dialog) {
    return dialog->exec() == QDialog::Accepted;
}

bool QtUiDialogs::ChooseColour(QWidget* parent, QColor& colour) {
    // Qt's own dialog, so that it speaks German through Qt's translations.
    QColorDialog dialog(colour, parent);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted || !dialog.selectedColor().isValid())
        return false;
    colour = dialog.selectedColor();
    return true;
}

QWindow* DialogStacking::WindowToStayAbove(const QWidget* dialog) {
    // Dialogs and tool windows (the settings tree); a stay-on-top window
    // itself stays where it is.
    const Qt::WindowType type = dialog->windowType();
    if (!dialog->isWindow() || (type != Qt::Dialog && type != Qt::Tool) ||
        !dialog->windowHandle() || dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        return nullptr;
    QWindow* onTop = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        const Qt::WindowType kind = window->windowType();
        if (window != dialog && window->isVisible() && window->windowHandle() &&
            (kind == Qt::Window || kind == Qt::Dialog || kind == Qt::Tool) &&
            window->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
            onTop = window->windowHandle();
    }
    // A dialog opened from a dialog already above it stays with its opener.
    for (QWindow* parent = dialog->windowHandle()->transientParent(); parent;
         parent = parent->transientParent())
        if (parent == onTop)
            return nullptr;
    return onTop;
}

bool DialogStacking::eventFilter(QObject* watched, QEvent* event) {
    // The Show event comes before the window is mapped, which is when the
    // window manager reads the transient parent.
    if (event->type() == QEvent::Show && watched->isWidgetType())
        if (QWindow* onTop = WindowToStayAbove(static_cast<QWidget*>(watched)))
            static_cast<QWidget*>(watched)->windowHandle()->setTransientParent(onTop);
    return false;
}
