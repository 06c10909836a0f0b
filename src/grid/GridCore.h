#pragma once

#include "grid/UndoHistory.h"
#include "model/InputContainer.h"

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QtGlobal>
#include <algorithm>

class GridDialogs;
class QMenu;
class QWidget;
class TUserCell;
class TUserHeader;
struct InputModel;

// Sizes of the column and header slots.
inline constexpr int kGridColumnSlots = 20;
inline constexpr int kGridHeaderRows = 5;
// A bound grid shows at least this many data rows.
inline constexpr int kMinDataRows = 40;

// Texts of the grid commands.
inline constexpr const char* kBlockMenuAdd = "Addieren";
inline constexpr const char* kBlockMenuMultiply = "Multiplizieren";
inline constexpr const char* kBlockMenuDelete = "Löschen";
inline constexpr const char* kCellDialogCaption = "Celle Kopieren/Verschieben";
inline constexpr const char* kMoveLineCaption = "Verschieben zur Zeile";
inline constexpr const char* kCopyLineCaption = "Kopieren zur Zeile";
inline constexpr const char* kDeleteLineQuestion = "Zeile Löschen ?";
inline constexpr const char* kDeleteLineCaption = "Info";
inline constexpr const char* kPasteOutsideMessage = "Kopierbeireich außerhalb der Tabelle";
inline constexpr const char* kBlockMenuSeries = "Reihe";
inline constexpr const char* kSeriesCaption = "Reihe";
inline constexpr const char* kAdjustReferencesQuestion = "Verweise anpassen?";
inline constexpr const char* kAdjustReferencesCaption = "Frage";
inline constexpr const char* kHeaderSkippedStatus =
    "Die erste Zeile enthält keine Werte und wurde als Überschrift übersprungen.";

// Cell colours.
inline const QColor kCellWhite(255, 255, 255);
inline const QColor kCellGrey(128, 128, 128);
inline const QColor kCellSilver(192, 192, 192);
inline const QColor kCellAqua(0, 255, 255);
inline const QColor kCellBlue(0, 0, 255);
inline const QColor kCellPaleAqua(225, 255, 255);
inline const QColor kNumberCellRed(255, 0, 0);

enum class GridButton { Left, Right };

// How one data cell looks: the answer of a column's PaintCell, which the
// widget draws.
struct CellPaint {
    bool paint = false; // false: the cell is not shown, nothing is painted
    QRect rect;
    QColor fill;
    bool showText = false;
    QString text;
    int textX = 0; // top-left corner of the text
    int textY = 0;
    int caretX = -1; // the caret line's x, or -1 for none
};

// The editable grid without its window: the state and every rule of the table
// control in which the user types the input. One grid shows one record table;
// each data row is one record, each data column one field. Grid column 0 is
// fixed and shows the row numbers; the fixed rows at the top show the headers.
//
// Coordinates are grid coordinates (fixed rows and the fixed column counted)
// unless a function says "table": table row = grid row − FixedRows, table
// column = grid column − 1.
//
// The widget TUserGrid derives from this class and supplies measuring,
// repainting, the clipboard, the focus and the menus through the virtual
// hooks at the end; tests derive their own grid with fixed measures.
class GridCore : public TableGrid {
public:
    GridCore();
    ~GridCore() override;
    GridCore(const GridCore&) = delete;
    GridCore& operator=(const GridCore&) = delete;

    // ---- the bound table ----------------------------------------------------
    // Binds a table (or none): RowCount becomes max(40, UsedRowCount) +
    // FixedRows and the table refreshes the grid.
    void SetContainer(InputContainer* table);
    InputContainer* Container() const { return container_; }

    // ---- shape ----------------------------------------------------------------
    int ColCount() const { return colCount_; }
    void SetColCount(int count); // 2 … 20
    int FixedRows() const override { return fixedRows_; }
    void SetFixedRows(int rows); // 1 … 5
    static constexpr int FixedCols() { return 1; }
    int RowCount() const override { return rowCount_; }
    // Rows never go below FixedRows + 1; the current cell, the edit cell and
    // the block are kept inside.
    void SetRowCount(int rows) override;
    int Row() const { return row_; }
    int Col() const { return col_; }
    int CurrentRow() const override { return row_; }
    int CurrentCol() const override { return col_; }
    // Moves the current cell as the platform grid does when Row or Col is
    // set: the selection event (USelectCell) when the cell changes, then the
    // move; the cell is scrolled into view.
    void MoveTo(int row, int col);
    // The first data row shown below the fixed rows.
    int TopRow() const { return topRow_; }
    void SetTopRow(int row);
    // Data rows shown completely (at least 1).
    int VisibleDataRows() const;
    int ColWidths(int col) const;
    void SetColWidths(int col, int width);
    int FirstColumnWidth() const { return ColWidths(0); }
    void SetFirstColumnWidth(int width) { SetColWidths(0, width); }
    int GetColumnWidth() const { return FirstColumnWidth(); }
    void SetColumnWidth(int width) { SetFirstColumnWidth(width); }
    static constexpr int DefaultRowHeight() { return 18; }
    static constexpr int GridLineWidth() { return 1; }
    static constexpr int DefaultColWidth() { return 64; }
    // Mark the current row's number cell in red while the grid has no focus.
    bool SelectRow() const { return selectRow_; }
    void SetSelectRow(bool flag);
    // Stretch the data columns to the grid's width (when no ParentForm follows).
    bool AlowStrech() const { return alowStrech_; }
    void SetAlowStrech(bool flag) { alowStrech_ = flag; }

    // ---- geometry (client pixels) ----------------------------------------------
    // The cell's rectangle (grid lines excluded); empty when it is not shown.
    QRect CellRect(int row, int col) const;
    QPoint TopLeft(int row, int col) const;
    // The corner just outside the cell, bottom right.
    QPoint BottomRight(int row, int col) const;
    // The cell under a client point; a point outside the cells gives the
    // nearest cell and false.
    bool CellAt(int x, int y, int& row, int& col) const;
    int ColLeft(int col) const;
    // Sum over the columns of width + grid line, and its excess over the
    // client width.
    int GetWidth() const;
    int GetDWidth() const;
    // Stretches the data columns to the client width; false when nothing
    // could change (no width to share).
    bool StretchColumns();

    // ---- table access (grid coordinates) -----------------------------------------
    void* GetValue(int row, int col);
    void SetValue(int row, int col, const void* value);
    bool isValid(int row, int col);
    bool isOnlyRead(int row, int col);
    // False for a cell of an OnlyRead (computed) column and for a cell the
    // table reports read-only: such a cell takes no typing, is never stored
    // and is passed by Tab, Enter and the caret keys.
    bool CellEditable(int row, int col);
    QString GetListStrings(int col, int i);
    int GetListStringsCount(int col);
    // Sets or clears the row's flag. Clearing the edit row drops its pending
    // edit (the typed text never reaches the cleared row).
    void ChangeValid(int row, int col, bool flag);
    void ChangeValid(int row, bool flag);

    // ---- the edit cell -----------------------------------------------------------
    int EditRow() const { return editRow_; }
    int EditCol() const { return editCol_; }
    const QString& EditText() const { return editText_; }
    void SetEditText(const QString& text);
    // The caret, always within 0 … ETextLen.
    int CursorPos();
    void SetCursorPos(int pos);
    bool EditChanged() const { return editChanged_; }
    void SetEditChanged(bool changed) { editChanged_ = changed; }
    bool Select() const { return select_; }
    void SetSelect(bool flag);
    // Marks the edit text changed and the edit row valid.
    void Change();
    // Length of the edit text as shown: 0 when the edit row is not valid.
    int ETextLen();
    // Stores a changed edit text into the table; a text the column cannot
    // store (a number out of range, a list text that names no entry) beeps
    // and keeps the stored value.
    void Push();
    // Stores the pending edit and makes (row, col) the edit cell, selected.
    void Fill(int row, int col) override;
    // Makes (row, col) the edit cell without loading it (LoadEditText does).
    void SetEditCell(int row, int col);
    // Makes the current cell the edit cell when another cell is (after a
    // block command or a paste), so keys always act on the cell shown with
    // the caret.
    void FollowCurrentCell();
    void NextCell();
    void PreviousCell();

    // ---- columns and headers -----------------------------------------------------
    TUserCell* Columns(int col) const;
    void RegisterColumn(TUserCell* cell, int col);
    void DestroyColumn(int col);
    TUserHeader* Headers(int row, int col) const;
    void SetHeader(int rowB, int rowE, int colB, int colE, TUserHeader* header);
    void RemoveHeader(TUserHeader* header);
    // Widens the columns under the headers of grid column col so that every
    // caption plus 4 pixels fits.
    void ChackColWidth(int col);

    // ---- repainting ------------------------------------------------------------------
    // Table coordinates, as the table calls them.
    void DrawCell(int row, int col) override;
    void DrawRow(int row) override;
    void DrawCol(int col);
    // Grid row: the cells of the OnlyRead (computed) columns.
    void DrawInfoRow(int row);
    void DrawHeader();
    void Repaint() override;
    void ContainerDestroyed() override;
    void InvalidateCell(int row, int col);
    // The number cell of row is painted red (SelectRow, no focus).
    bool NumberCellMarked(int row) const;

    // ---- the block -----------------------------------------------------------------
    int AnchorRow() const { return anchorRow_; }
    int AnchorCol() const { return anchorCol_; }
    int EndRow() const { return endRow_; }
    int EndCol() const { return endCol_; }
    bool BlockActive() const { return blockActive_; }
    bool Dragging() const { return dragging_; }
    bool isBlock(int row, int col) const;
    void PaintBlock(int endRow, int endCol, bool active);
    // Sets both corners at once (tests and commands; a mouse drag does it too).
    void SetBlock(int anchorRow, int anchorCol, int endRow, int endCol, bool active);

    // ---- events of the platform grid ------------------------------------------------------
    // The selection event before (row, col) becomes current, also when it is
    // current already (a click on it).
    void USelectCell(int col, int row);
    // A key went down; true when the column consumed it (then its text is not
    // typed). Unconsumed Up, Down, Page Up and Page Down move the current row.
    bool UKeyDown(int key, Qt::KeyboardModifiers shift);
    // A typed character; the grid's filter lets letters, digits, umlauts and
    // the signs of numbers and formulas through.
    void UKeyPress(QChar ch);
    static bool AcceptsChar(QChar ch);
    void UDblClick();
    // A mouse button went down at a client point; doubleClick for the second
    // press of a double click (which selects nothing).
    void UMouseDown(GridButton button, int x, int y, bool doubleClick = false);
    void UMouseMove(int x, int y);
    void UMouseUp();
    // reselect: the current cell is loaded and selected again, so that
    // typing replaces it (not after a popup menu, which leaves the edit on).
    void FocusGained(bool reselect = true);
    // The focus went to another control or window (not to a popup menu):
    // the pending edit is stored and the edit cell released.
    void FocusLost();
    // UGM_CLEARROW: the current row becomes invalid (empty) and stays.
    void ClearCurrentRow();
    // UGM_GOTOCELL without showing and focusing (the widget does that).
    void GotoCell(int tableRow, int gridCol);

    // ---- commands on several cells and rows --------------------------------------------
    // Copies the block's cell texts (tab between cells, CR LF after each row).
    void Copy();
    void XCopy() { Copy(); }
    // The text Copy puts on the clipboard.
    QString BlockText();
    // Stores one pasted cell as typing would: each character through the
    // grid's and the column's filters and the column's map, the whole text
    // through the column's text filter; false (nothing stored) when the cell
    // cannot take it. Past the last column it throws BalkorError
    // "Kopierbeireich außerhalb der Tabelle".
    bool Past(int row, int col, const QString& text);
    void AddBlock(double x);
    void MultBlock(double x);
    void AddPoupClick();
    void MultPoupClick();
    void DelPoupClick();
    // Line commands; table rows.
    void LineInsert(int row);
    void LineDelete(int row);
    void LineCopy(int row);
    void LineMove(int row);

    // ---- undo --------------------------------------------------------------------------
    // The steps this grid records and takes back; the grids of one window
    // share one. None set means the grid's own.
    void SetUndoHistory(UndoHistory* history) { history_ = history; }
    UndoHistory& History() { return history_ ? *history_ : ownHistory_; }
    // Ctrl+Z: a typed text not stored yet is dropped first, as Escape does;
    // otherwise the newest step is taken back. Ctrl+Y does it again.
    void Undo();
    void Redo();

    // ---- keyboard block and navigation ----------------------------------------------------
    // Ctrl+A: the used rows (at least one) over all data columns.
    void SelectAll();
    // Shift with a caret key: the block runs from where it began to the cell
    // the key moves to.
    void ExtendBlock(int key);
    // Ctrl+Home, Ctrl+End: the first row, the last used row.
    void GotoFirstRow();
    void GotoLastRow();
    // Ctrl+D: the block's first row into the rows below it; a one-row block
    // takes the row above it.
    void FillDown();
    // "Reihe": start, start + step, … down the block's rows, in every column.
    void SeriesPoupClick();
    void FillSeries(double start, double step);

    // ---- pasting ----------------------------------------------------------------------------
    // Whether the cell would take the text (nothing is stored).
    bool TakesText(int row, int col, const QString& text);
    // Distributes a clipboard text from (row, col); one beep for all cells
    // refused, a first line that no cell takes skipped as a header.
    void PasteCells(int row, int col, const QString& text);

    // The tables the references of the row commands live in; none keeps
    // every reference as it is.
    void SetReferenceModel(InputModel* model) { referenceModel_ = model; }

    // The dialogs of the commands; none set means the real ones.
    void SetDialogs(GridDialogs* dialogs) { dialogs_ = dialogs; }
    GridDialogs& Dialogs() const;

    // ---- what the window supplies ------------------------------------------------------
    virtual int TextWidth(const QString& text) const = 0;
    virtual int TextHeight() const = 0;
    virtual bool HasFocus() const = 0;
    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;
    virtual QString ClipboardText() const = 0;
    virtual void SetClipboardText(const QString& text) = 0;
    // Owner of the command dialogs.
    virtual QWidget* DialogParent() = 0;
    // Opens a list column's choice menu at a client point.
    virtual void OpenListMenu(QMenu* menu, int x, int y) = 0;
    // A line in the program's status bar.
    virtual void ShowStatus(const QString& /*text*/) {}
    // Ctrl+PgDn, Ctrl+Tab (+1) and Ctrl+PgUp, Ctrl+Shift+Tab (-1): the next
    // or previous page of the window.
    virtual void SwitchPage(int /*step*/) {}

protected:
    virtual void InvalidateRect(const QRect& rect) = 0;
    virtual void InvalidateAll() = 0;
    // RowCount or TopRow changed.
    virtual void RowsChanged() = 0;
    // A column width changed.
    virtual void ColumnsResized() = 0;
    virtual void OpenBlockMenu(int x, int y) = 0;
    virtual void TakeFocus() = 0;

    // Releases the table, the columns and the headers; the widget calls it
    // first in its destructor, while its hooks still exist.
    void Detach();

private:
    int BlockTop() const { return std::min(anchorRow_, endRow_); }
    int BlockBottom() const { return std::max(anchorRow_, endRow_); }
    int BlockLeft() const { return std::min(anchorCol_, endCol_); }
    int BlockRight() const { return std::max(anchorCol_, endCol_); }
    void InvalidateCells(int row1, int col1, int row2, int col2);
    void PlatformKey(int key);
    // Stores the pending edit and ends it, so that a command that moves rows
    // cannot write it into another record.
    void Commit();
    void DropPendingEdit();
    void KeepInside();
    void ReleaseContainer();
    void TransferLine(int row, const char* caption, bool copy);
    // Makes (row, col) current without the selection event.
    void PlaceCurrent(int row, int col);
    template <class Operation> void ChangeBlock(Operation operation);
    // A key of its own for each loaded edit cell: the changes made while it
    // is edited are one undo step.
    void NewEditSession() { session_ = ++lastSession_; }
    // Before the record of a grid row changes.
    void Touch(int row);
    bool GridCommandKey(int key, Qt::KeyboardModifiers shift);
    // Asks whether to adjust the references to the rows from tableRow on;
    // false without a question when nothing refers to them.
    bool AdjustReferencesWanted(int tableRow);
    void ShiftReferences(int tableRow, int shift);
    void FitNumberColumn();
    // The block's corners follow the current cell (a move without Shift).
    void CollapseBlock();

    InputContainer* container_ = nullptr;
    TUserCell* columns_[kGridColumnSlots] = {};
    TUserHeader* headers_[kGridHeaderRows][kGridColumnSlots] = {};
    int colWidths_[kGridColumnSlots];
    int colCount_ = 5;
    int fixedRows_ = 1;
    int rowCount_ = 5;
    int row_ = 1;
    int col_ = 1;
    int topRow_ = 1;
    bool selectRow_ = false;
    bool alowStrech_ = false;

    int editRow_ = -1;
    int editCol_ = -1;
    QString editText_;
    int cursorPos_ = 0;
    bool editChanged_ = false;
    bool select_ = false;
    int lastSelRow_ = -1;
    int lastSelCol_ = -1;

    int anchorRow_ = -1;
    int anchorCol_ = -1;
    int endRow_ = -1;
    int endCol_ = -1;
    bool blockActive_ = false;
    bool dragging_ = false;

    GridDialogs* dialogs_ = nullptr;
    UndoHistory ownHistory_;
    UndoHistory* history_ = nullptr;
    unsigned session_ = 0;
    static inline unsigned lastSession_ = 0;
    InputModel* referenceModel_ = nullptr;
};
