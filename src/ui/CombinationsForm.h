#pragma once

#include "ui/UiGridDialogs.h"

#include <QToolButton>
#include <QWidget>

class Document;
class ProjectTables;
class TPageControl;
class TUserGrid;
class UiDialogs;
struct ProjectCheck;

// The window "Kombinationen" of two pages: "Kombinationen" (one row per
// combination: its name and one factor per load case) and "Umhüllende" (one
// row per member: envelope, member, γsup, γinf, group). The rows are those of
// ProjectTables; the check button checks them and points at the cell at
// fault like the input windows.
class TCombinationsForm : public QWidget {
    Q_OBJECT
public:
    TCombinationsForm(ProjectTables& tables, Document& document, UiDialogs& dialogs,
                      QWidget* parent = nullptr);

    // The combinations' grid gets the columns of the load cases anew.
    void RebuildCombinations();
    void BringToFront();
    // The check of the tables: "In Ordnung", or the page and cell at fault
    // and the message; false for a fault.
    bool ShowCheck();
    // The page and cell of a failed check, then its message.
    void ShowFault(const ProjectCheck& check);

    TPageControl* PageControl1 = nullptr;
    TUserGrid* CombinationGrid = nullptr;
    TUserGrid* EnvelopeGrid = nullptr;
    QToolButton* CheckButton = nullptr;
    QToolButton* ClearRowButton = nullptr;

protected:
    bool event(QEvent* event) override;

private:
    ProjectTables& tables_;
    Document& document_;
    UiDialogs& dialogs_;
    // The grid commands' number dialogs and questions, through dialogs_.
    UiGridDialogs gridDialogs_{dialogs_};
};
