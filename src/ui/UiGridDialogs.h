#pragma once

#include "grid/GridDialogs.h"

class UiDialogs;

// The grid commands' dialogs (the number and series dialogs, "Zeile Löschen ?",
// "Verweise anpassen?") through
// the program's dialogs, so that they open like every other box of the
// program and tests answer them with the program's test dialogs.
class UiGridDialogs : public GridDialogs {
public:
    explicit UiGridDialogs(UiDialogs& dialogs) : dialogs_(dialogs) {}

    bool AskNumber(QWidget* parent, const QString& caption, double& number) override;
    bool AskOkCancel(QWidget* parent, const QString& text, const QString& caption) override;
    bool AskYesNo(QWidget* parent, const QString& text, const QString& caption) override;
    bool AskSeries(QWidget* parent, const QString& caption, double& start, double& step) override;

private:
    UiDialogs& dialogs_;
};
