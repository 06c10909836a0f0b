#pragma once

#include "grid/UserGrid.h"
#include "ui/InputPages.h"
#include "ui/UiGridDialogs.h"

#include <QToolButton>
#include <QWidget>
#include <vector>

class TMainForm;
class TPageControl;
class UiDialogs;
struct CheckReport;
struct InputModel;

// An input window: a toolbar (new, open, save, clear line, plausibility
// check) above a page control whose pages each hold one grid bound to one
// record table. The window edits the tables directly; closing it leaves the
// data in the tables. TSystemInputForm and TLoadInputForm are the two.
class TInputForm : public QWidget {
    Q_OBJECT
public:
    // The caption: the window's prefix followed by text (the file's full
    // path), after label when one is given (the load case of a project).
    void SetName(const QString& text, const QString& label = QString());
    // The same caption without touching the undo steps.
    void SetCaption(const QString& text, const QString& label = QString());
    // The plausibility check of the window's half: on an error the window
    // comes to the front, the page of the error becomes the active page, its
    // grid shows, focuses and selects the cell, and then the message box
    // "Eingabefehler" appears; otherwise "In Ordnung".
    void ShowCheck();
    // Brings the window to the front of the main window's client area.
    void BringToFront();

    // The page of a caption as the checks name it; -1 for none.
    int PageIndexOf(const QString& caption) const;
    TUserGrid* PageGrid(int index) const { return grids_.at(index); }
    int PageCount() const { return static_cast<int>(grids_.size()); }

    QToolButton* SpeedButton5 = nullptr; // new
    QToolButton* SpeedButton3 = nullptr; // open
    QToolButton* SpeedButton2 = nullptr; // save
    QToolButton* SpeedButton1 = nullptr; // clear line
    QToolButton* SpeedButton4 = nullptr; // plausibility check
    QToolButton* UndoButton = nullptr;   // "Rückgängig"
    QToolButton* RedoButton = nullptr;   // "Wiederherstellen"
    TPageControl* PageControl1 = nullptr;

    // The toolbar's actions.
    void SpeedButton1Click();
    void SpeedButton4Click() { ShowCheck(); }
    // Undo and redo act on the grid of the page shown (which drops a typed
    // text not stored yet first).
    void UndoClick();
    void RedoClick();
    // The next (+1) or previous (-1) page, round the end; its grid takes
    // the focus.
    void StepPage(int step);

    // The changes of this window's grids; emptied when a file of the
    // window's half is read or a new one begun.
    UndoHistory& History() { return history_; }

protected:
    struct Texts {
        const char* caption;
        const char* namePrefix;
        const char* newHint;
        const char* openHint;
        const char* saveHint;
    };
    // pages in their order; bindOrder the order in which the grids are bound
    // to their tables.
    TInputForm(InputModel& input, TMainForm& mainForm, UiDialogs& dialogs, const Texts& texts,
               const std::vector<InputPage>& pages, const std::vector<InputPage>& bindOrder);
    ~TInputForm() override;

    virtual CheckReport RunCheck() = 0;
    virtual void NewClick() = 0;
    virtual void OpenClick() = 0;
    virtual void SaveClick() = 0;

    bool event(QEvent* event) override;
    // Ctrl+Tab and Ctrl+Shift+Tab in a grid of this window step through the
    // pages; the main window's client area would take them for its windows.
    bool eventFilter(QObject* watched, QEvent* event) override;

    InputModel& input_;
    TMainForm& mainForm_;

private:
    QToolButton* AddButton(QWidget* bar, const char* icon, const char* hint);
    void FollowParent();
    void ShowTablePage(const InputContainer& table);
    void UpdateUndoButtons();

    UiDialogs& dialogs_;
    UiGridDialogs gridDialogs_;
    QString namePrefix_;
    std::vector<InputPage> pages_;
    std::vector<TUserGrid*> grids_;
    UndoHistory history_;
};

// The geometry window "Geometrie": nodes, beams, cross-section types, hinges,
// springs.
class TSystemInputForm : public TInputForm {
    Q_OBJECT
public:
    TSystemInputForm(InputModel& input, TMainForm& mainForm, UiDialogs& dialogs);

    TUserGrid* KnotenGrid;
    TUserGrid* StabGrid;
    TUserGrid* QuerschnittsGrid;
    TUserGrid* GelenkGrid;
    TUserGrid* FederGrid;

protected:
    CheckReport RunCheck() override;
    void NewClick() override;
    void OpenClick() override;
    void SaveClick() override;
};

// The load window "Belastung": the six kinds of loads of the load case.
class TLoadInputForm : public TInputForm {
    Q_OBJECT
public:
    TLoadInputForm(InputModel& input, TMainForm& mainForm, UiDialogs& dialogs);

    TUserGrid* KnotenlastenGrid;
    TUserGrid* ZwangsGrid;
    TUserGrid* StreckenlastenGrid;
    TUserGrid* EinzellastenGrid;
    TUserGrid* GelenklastenGrid;
    TUserGrid* TemperaturGrid;

protected:
    CheckReport RunCheck() override;
    void NewClick() override;
    void OpenClick() override;
    void SaveClick() override;
};

// Client sizes and the load window's place in the main window's client area.
inline constexpr QSize kGeometryFormSize(500, 487);
inline constexpr QSize kLoadFormSize(464, 649);
inline constexpr QPoint kLoadFormPosition(464, 11);
