// The grid's answers to selection, keys, the mouse, the focus and the grid
// messages.
#include "grid/GridCore.h"
#include "grid/UserCell.h"

void GridCore::USelectCell(int col, int row) {
    const bool rowChanged = row != lastSelRow_;
    Fill(row, col);
    if (row == lastSelRow_ && col == lastSelCol_ && isValid(row, col))
        SetSelect(false);
    lastSelRow_ = row;
    lastSelCol_ = col;
    if (container_ && rowChanged)
        container_->RowSelected(row - fixedRows_);
}

// ---- keys ----------------------------------------------------------------------------

bool GridCore::UKeyDown(int key, Qt::KeyboardModifiers shift) {
    FollowCurrentCell();
    if (GridCommandKey(key, shift))
        return true;
    if (key == Qt::Key_Down && row_ + 1 == rowCount_)
        SetRowCount(rowCount_ + 1);
    bool consumed = false;
    if (TUserCell* cell = Columns(col_))
        consumed = cell->EditKey(key, shift);
    if (!consumed)
        PlatformKey(key);
    return consumed;
}

// The keys of the whole table: undo, the block, the first and last row and
// the pages of the window. True when the key was one of them.
bool GridCore::GridCommandKey(int key, Qt::KeyboardModifiers shift) {
    const bool ctrl = shift & Qt::ControlModifier;
    const bool alt = shift & Qt::AltModifier;
    const bool shifted = shift & Qt::ShiftModifier;
    if (ctrl && !alt) {
        switch (key) {
        case Qt::Key_Z:
            shifted ? Redo() : Undo();
            return true;
        case Qt::Key_Y:
            Redo();
            return true;
        case Qt::Key_A:
            SelectAll();
            return true;
        case Qt::Key_D:
            FillDown();
            return true;
        case Qt::Key_Home:
            GotoFirstRow();
            return true;
        case Qt::Key_End:
            GotoLastRow();
            return true;
        case Qt::Key_PageDown:
            SwitchPage(+1);
            return true;
        case Qt::Key_PageUp:
            SwitchPage(-1);
            return true;
        case Qt::Key_Tab:
            SwitchPage(shifted ? -1 : +1);
            return true;
        default:
            return false;
        }
    }
    if (!shifted || ctrl || alt)
        return false;
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        ExtendBlock(key);
        return true;
    default:
        return false;
    }
}

// An active block grows from its far corner, which the current cell follows.
void GridCore::ExtendBlock(int key) {
    if (!blockActive_ || anchorRow_ < 0)
        CollapseBlock();
    const int anchorRow = anchorRow_;
    const int anchorCol = anchorCol_;
    int row = endRow_;
    int col = endCol_;
    const int page = VisibleDataRows();
    switch (key) {
    case Qt::Key_Up:
        --row;
        break;
    case Qt::Key_Down:
        ++row;
        break;
    case Qt::Key_Left:
        --col;
        break;
    case Qt::Key_Right:
        ++col;
        break;
    case Qt::Key_PageUp:
        row -= page;
        break;
    case Qt::Key_PageDown:
        row += page;
        break;
    case Qt::Key_Home:
        col = FixedCols();
        break;
    default:
        col = colCount_ - 1;
        break;
    }
    PaintBlock(endRow_, endCol_, false);
    MoveTo(row, col);
    anchorRow_ = anchorRow;
    anchorCol_ = anchorCol;
    endRow_ = row_;
    endCol_ = col_;
    PaintBlock(endRow_, endCol_, endRow_ != anchorRow_ || endCol_ != anchorCol_);
}

void GridCore::SelectAll() {
    const int used = container_ ? container_->UsedRowCount() : 0;
    SetBlock(fixedRows_, FixedCols(), fixedRows_ + std::max(used, 1) - 1, colCount_ - 1, true);
}

void GridCore::GotoFirstRow() {
    MoveTo(fixedRows_, col_);
}

void GridCore::GotoLastRow() {
    const int used = container_ ? container_->UsedRowCount() : 0;
    MoveTo(fixedRows_ + std::max(used, 1) - 1, col_);
}

// What the platform grid does with a key no column consumed.
void GridCore::PlatformKey(int key) {
    const int page = VisibleDataRows();
    switch (key) {
    case Qt::Key_Up:
        MoveTo(row_ - 1, col_);
        break;
    case Qt::Key_Down:
        MoveTo(row_ + 1, col_);
        break;
    case Qt::Key_PageUp:
        SetTopRow(topRow_ - page);
        MoveTo(row_ - page, col_);
        break;
    case Qt::Key_PageDown:
        SetTopRow(topRow_ + page);
        MoveTo(row_ + page, col_);
        break;
    case Qt::Key_Left:
        MoveTo(row_, col_ - 1);
        break;
    case Qt::Key_Right:
        MoveTo(row_, col_ + 1);
        break;
    case Qt::Key_Home:
        MoveTo(row_, 1);
        break;
    case Qt::Key_End:
        MoveTo(row_, colCount_ - 1);
        break;
    default:
        break;
    }
}

void GridCore::UKeyPress(QChar ch) {
    FollowCurrentCell();
    if (TUserCell* cell = Columns(col_); cell && AcceptsChar(ch))
        cell->EditChar(ch);
}

bool GridCore::AcceptsChar(QChar ch) {
    const char16_t c = ch.unicode();
    if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'))
        return true;
    static const QString accepted = QStringLiteral("ÄäÖöÜüß.,+-\\:=()[]{}<>#");
    return accepted.contains(ch);
}

// ---- mouse ----------------------------------------------------------------------------

void GridCore::UDblClick() {
    FollowCurrentCell();
    TUserCell* cell = Columns(col_);
    if (!cell)
        return;
    if (editRow_ < 0)
        cell->LoadEditText(row_, col_);
    // The row becomes valid first: a new row starts from its defaults, which
    // the step of a list column then changes.
    UndoScope step(&History(), session_);
    ChangeValid(row_, col_, true);
    Touch(row_);
    const bool changed = cell->UDblClick(GetValue(row_, col_));
    DrawCell(row_ - fixedRows_, col_ - FixedCols());
    // Only a column that stepped its value marks the text changed; a number
    // cell is not written back (its shown digits would replace the stored
    // ones).
    if (changed)
        Change();
}

void GridCore::UMouseDown(GridButton button, int x, int y, bool doubleClick) {
    int row = 0;
    int col = 0;
    const bool inCell = CellAt(x, y, row, col);
    if (button == GridButton::Right) {
        if (inCell && isBlock(row, col)) {
            OpenBlockMenu(x, y);
        } else if (TUserCell* cell = Columns(col_)) {
            const QRect current = CellRect(row_, col_);
            cell->UMouseDown(row_, col_, current.left(), current.top() + current.height(),
                             GetValue(row_, col_));
        }
        return;
    }
    if (doubleClick) {
        UDblClick();
    } else if (inCell && row >= fixedRows_ && col >= FixedCols()) {
        // The platform grid selects the clicked cell, also when it is current.
        USelectCell(col, row);
        PlaceCurrent(row, col);
    }
    PaintBlock(endRow_, endCol_, false);
    anchorRow_ = std::max(row, fixedRows_);
    anchorCol_ = std::max(col, FixedCols());
    endRow_ = anchorRow_;
    endCol_ = anchorCol_;
    dragging_ = true;
    if (TUserCell* cell = Columns(col_); cell && !select_)
        cell->PlaceCursor(row_, col_, x - ColLeft(col_));
}

void GridCore::UMouseMove(int x, int y) {
    if (!dragging_)
        return;
    // Dragging beyond the rows shown scrolls one row per move.
    const int pitch = DefaultRowHeight() + GridLineWidth();
    if (y >= ClientHeight())
        SetTopRow(topRow_ + 1);
    else if (y < fixedRows_ * pitch && topRow_ > fixedRows_)
        SetTopRow(topRow_ - 1);
    int row = 0;
    int col = 0;
    CellAt(x, std::min(y, ClientHeight() - 1), row, col);
    if (y < fixedRows_ * pitch)
        row = topRow_;
    row = std::max(row, fixedRows_);
    col = std::max(col, FixedCols());
    if (row == endRow_ && col == endCol_)
        return;
    const int oldRow = endRow_;
    const int oldCol = endCol_;
    endRow_ = row;
    endCol_ = col;
    PaintBlock(oldRow, oldCol, true);
    PaintBlock(endRow_, endCol_, true);
}

void GridCore::UMouseUp() {
    dragging_ = false;
}

// ---- focus and messages ---------------------------------------------------------------

void GridCore::FocusGained(bool reselect) {
    InvalidateAll();
    if (reselect && container_)
        Fill(row_, col_);
}

void GridCore::FocusLost() {
    PaintBlock(endRow_, endCol_, false);
    Fill(row_, col_);
    const int oldRow = editRow_;
    const int oldCol = editCol_;
    editRow_ = editCol_ = -1;
    lastSelRow_ = lastSelCol_ = -1;
    InvalidateCell(oldRow, oldCol);
    SetSelect(false);
    InvalidateCell(row_, 0);
}

void GridCore::ClearCurrentRow() {
    if (!container_)
        return;
    ChangeValid(row_, FixedCols(), false);
    SetSelect(true);
}

void GridCore::GotoCell(int tableRow, int gridCol) {
    if (tableRow < 0 || gridCol < FixedCols() || gridCol >= colCount_)
        return;
    const int limit = std::max(rowCount_ - fixedRows_, container_ ? container_->Count() : 0);
    if (tableRow >= limit)
        return;
    const int row = tableRow + fixedRows_;
    if (row >= rowCount_)
        SetRowCount(row + 1);
    if (row == row_ && gridCol == col_)
        Fill(row, gridCol); // shown selected even when it is current already
    else
        MoveTo(row, gridCol);
    InvalidateAll();
}
