#pragma once

#include "grid/GridCore.h"

#include <QAbstractScrollArea>
#include <QPointer>

class QMenu;

// The editable grid as a window: an owner-drawn scroll area over GridCore
// that paints every cell itself (no editor widget: the edit text and the
// caret are the grid's own) and maps Qt's keys, mouse, focus and the grid
// messages onto GridCore.
//
// Setting one up (an input window does this for each page):
//
//     auto* grid = new TUserGrid(page);           // fills the page
//     grid->SetColCount(7);                       // grid column 0 = row numbers
//     grid->SetFixedRows(2);                      // header rows
//     grid->SetFirstColumnWidth(40);
//     grid->SetParentForm(subWindow);             // its width follows the columns
//     auto* x = new TUserInt(window);             // one column object per data column
//     x->SetTyp(uDouble); x->SetFormat("%#.4lg"); x->SetColWidth(100);
//     x->SetColumn(1); x->SetGrid(grid);
//     auto* header = new TUserHeader(window);     // captions over header cells
//     header->SetText("Koordinaten"); header->SetSpan(0, 0, 1, 2); header->SetGrid(grid);
//     grid->SetContainer(&Input().nodes);         // bind the table last
//     SetHelpTopic(grid, 10070);                  // F1 (ui/Help.h)
//
// Messages: SendWindowMessage(grid, UGM_CLEARROW) clears the current row;
// SendWindowMessage(grid, UGM_GOTOCELL, tableRow, gridCol) shows, focuses and
// selects a cell (other widgets ignore both). The grid posts UGM_ADJUST to
// itself after a size change: the ParentForm's width then follows the
// columns (unless it is minimised or maximised), or, without a ParentForm
// and with AlowStrech, the data columns stretch to the grid's width.
//
// Commands: the keys of the columns (Ctrl+C/X/V, Alt+C/V, Alt+Insert,
// Alt+Delete, Ctrl+Delete), of the table (Ctrl+Z/Y undo and redo, Ctrl+A,
// Shift with the caret keys, Ctrl+D, Ctrl+Home/End) and the block menu
// PopupMenu1 on a right click inside the active block ("Addieren",
// "Multiplizieren", "Löschen", "Reihe"); the
// same commands are public functions of GridCore (Copy, AddPoupClick,
// LineInsert, …). Their dialogs go through SetDialogs (GridDialogs.h).
// A paste beyond the last column throws BalkorError, which the
// application's top-level handler shows.
class TUserGrid : public QAbstractScrollArea, public GridCore {
    Q_OBJECT
public:
    explicit TUserGrid(QWidget* parent = nullptr);
    ~TUserGrid() override;

    // The window whose width follows the columns; for a child window of
    // the main window's client area, its QMdiSubWindow.
    QWidget* ParentForm() const { return parentForm_; }
    void SetParentForm(QWidget* form);
    // The block menu.
    QMenu* PopupMenu1() const { return popupMenu1_; }
    // Width adjustments handled so far (UGM_ADJUST).
    int AdjustCount() const { return adjustCount_; }

    int TextWidth(const QString& text) const override;
    int TextHeight() const override;
    bool HasFocus() const override;
    int ClientWidth() const override;
    int ClientHeight() const override;
    QString ClipboardText() const override;
    void SetClipboardText(const QString& text) override;
    QWidget* DialogParent() override { return this; }
    void OpenListMenu(QMenu* menu, int x, int y) override;
    void ShowStatus(const QString& text) override;
    void SwitchPage(int step) override;

Q_SIGNALS:
    // Ctrl+PgDn / Ctrl+Tab (+1), Ctrl+PgUp / Ctrl+Shift+Tab (-1): the window
    // shows its next or previous page.
    void PageStepRequested(int step);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Tab and Shift+Tab stay in the grid.
    bool focusNextPrevChild(bool) override { return false; }
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // The right button opens the grid's own menus; the context menu event
    // that follows stops here, so no parent opens its menu as well.
    void contextMenuEvent(QContextMenuEvent* event) override;

    void InvalidateRect(const QRect& rect) override;
    void InvalidateAll() override;
    void RowsChanged() override;
    void ColumnsResized() override;
    void OpenBlockMenu(int x, int y) override;
    void TakeFocus() override;

private:
    void PostAdjust();
    void Adjust();
    void DrawCellPaint(QPainter& painter, const CellPaint& paint) const;
    void DefaultDraw(QPainter& painter, int row, int col, const QRect& rect) const;

    QMenu* popupMenu1_;
    QPointer<QWidget> parentForm_;
    bool adjustPending_ = false;
    bool syncingScroll_ = false;
    int adjustCount_ = 0;
};
