#pragma once

#include "document/LoadCaseTable.h"
#include "ui/UiGridDialogs.h"

#include <QPushButton>
#include <QWidget>

class Document;
class TUserGrid;
class UiDialogs;

// The window "Lastfälle": a grid of the project's load cases (number, name,
// file, change mark, the current one) and the commands that add a new one or
// one from a file, remove, rename and make one current. The load window edits
// the current load case. The logic is the document's; the rows are those of
// LoadCaseTable.
class TLoadCasesForm : public QWidget {
    Q_OBJECT
public:
    TLoadCasesForm(Document& document, UiDialogs& dialogs, QWidget* parent = nullptr);

    // The rows follow the document.
    void ShowLoadCases();
    void BringToFront();
    // The load case of the grid's current row, from 0; -1 for none.
    int SelectedLoadCase() const;

    void NewClick();
    void OpenClick();
    void RemoveClick();
    void RenameClick();
    void CurrentClick();

    TUserGrid* Grid = nullptr;
    QPushButton* NewButton = nullptr;
    QPushButton* OpenButton = nullptr;
    QPushButton* RemoveButton = nullptr;
    QPushButton* RenameButton = nullptr;
    QPushButton* CurrentButton = nullptr;

private:
    void Select(int k);

    Document& document_;
    UiDialogs& dialogs_;
    // The grid commands' number dialogs and questions, through dialogs_.
    UiGridDialogs gridDialogs_{dialogs_};
    LoadCaseTable table_;
};
