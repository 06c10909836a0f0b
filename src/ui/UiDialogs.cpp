#include "ui/UiDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
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

QString RunFileDialog(QWidget* parent, const FileDialogSpec& spec, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, spec.title, QString(), spec.filter);
    dialog.setAcceptMode(mode);
    dialog.setDefaultSuffix(spec.defaultSuffix);
    // Opening needs an existing file; saving asks before overwriting (the default).
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Abbrechen"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
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

void QtUiDialogs::ShowMessage(QWidget* parent, const QString& text, const QString& caption,
                              MessageIcon icon) {
    QMessageBox box(BoxIcon(icon), caption, text, QMessageBox::NoButton, parent);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

QString QtUiDialogs::OpenFileName(QWidget* parent, const FileDialogSpec& spec) {
    return RunFileDialog(parent, spec, QFileDialog::AcceptOpen);
}

QString QtUiDialogs::SaveFileName(QWidget* parent, const FileDialogSpec& spec) {
    return RunFileDialog(parent, spec, QFileDialog::AcceptSave);
}

bool QtUiDialogs::Exec(QDialog* dialog) {
    return dialog->exec() == QDialog::Accepted;
}

QWindow* DialogStacking::WindowToStayAbove(const QWidget* dialog) {
    if (!dialog->isWindow() || dialog->windowType() != Qt::Dialog || !dialog->windowHandle() ||
        dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        return nullptr;
    QWindow* onTop = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = window->windowType();
        if (window != dialog && window->isVisible() && window->windowHandle() &&
            (type == Qt::Window || type == Qt::Dialog || type == Qt::Tool) &&
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
