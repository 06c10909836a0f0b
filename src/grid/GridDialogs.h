#pragma once

#include <QString>

class QWidget;

// The dialogs of the grid commands, reached through here so that tests can
// answer them.
class GridDialogs {
public:
    virtual ~GridDialogs() = default;
    // The number dialog TCellDialog1 with this caption; true and the number
    // when it was closed with OK.
    virtual bool AskNumber(QWidget* parent, const QString& caption, double& number) = 0;
    // A message box with the buttons OK and Cancel; true for OK.
    virtual bool AskOkCancel(QWidget* parent, const QString& text, const QString& caption) = 0;
    // A question with "Ja" and "Nein"; true for Ja.
    virtual bool AskYesNo(QWidget* parent, const QString& text, const QString& caption) = 0;
    // The series dialog: a start value and a step; true when closed with OK.
    virtual bool AskSeries(QWidget* parent, const QString& caption, double& start,
                           double& step) = 0;
};

// The real dialogs.
class QtGridDialogs : public GridDialogs {
public:
    bool AskNumber(QWidget* parent, const QString& caption, double& number) override;
    bool AskOkCancel(QWidget* parent, const QString& text, const QString& caption) override;
    bool AskYesNo(QWidget* parent, const QString& text, const QString& caption) override;
    bool AskSeries(QWidget* parent, const QString& caption, double& start, double& step) override;
};

// The message box with "OK" (default) and "Abbrechen" (Escape); true for OK.
// Shared by the grids and the program's other questions.
bool ShowOkCancelBox(QWidget* parent, const QString& text, const QString& caption);

// The real dialogs, for grids that were given none.
GridDialogs& DefaultGridDialogs();
