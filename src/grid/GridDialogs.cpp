#include "grid/GridDialogs.h"

#include "grid/CellDialog.h"

#include <QMessageBox>
#include <QPushButton>

bool QtGridDialogs::AskNumber(QWidget* parent, const QString& caption, double& number) {
    TCellDialog1 dialog(parent);
    dialog.setWindowTitle(caption);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    number = dialog.MyEdit1->Value();
    return true;
}

bool QtGridDialogs::AskOkCancel(QWidget* parent, const QString& text, const QString& caption) {
    return ShowOkCancelBox(parent, text, caption);
}

bool QtGridDialogs::AskYesNo(QWidget* parent, const QString& text, const QString& caption) {
    return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

bool QtGridDialogs::AskSeries(QWidget* parent, const QString& caption, double& start,
                              double& step) {
    TSeriesDialog dialog(parent);
    dialog.setWindowTitle(caption);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    start = dialog.Start->Value();
    step = dialog.Step->Value();
    return true;
}

bool ShowOkCancelBox(QWidget* parent, const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::NoButton, parent);
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == ok;
}

GridDialogs& DefaultGridDialogs() {
    static QtGridDialogs dialogs;
    return dialogs;
}
