#include "ui/UiGridDialogs.h"

#include "grid/CellDialog.h"
#include "ui/UiDialogs.h"

bool UiGridDialogs::AskNumber(QWidget* parent, const QString& caption, double& number) {
    TCellDialog1 dialog(parent);
    dialog.setWindowTitle(caption);
    if (!dialogs_.Exec(&dialog))
        return false;
    number = dialog.MyEdit1->Value();
    return true;
}

bool UiGridDialogs::AskOkCancel(QWidget* parent, const QString& text, const QString& caption) {
    return dialogs_.AskOkCancel(parent, text, caption);
}

bool UiGridDialogs::AskYesNo(QWidget* parent, const QString& text, const QString& caption) {
    return dialogs_.AskYesNo(parent, text, caption) == Answer::Yes;
}

bool UiGridDialogs::AskSeries(QWidget* parent, const QString& caption, double& start,
                              double& step) {
    TSeriesDialog dialog(parent);
    dialog.setWindowTitle(caption);
    if (!dialogs_.Exec(&dialog))
        return false;
    start = dialog.Start->Value();
    step = dialog.Step->Value();
    return true;
}
