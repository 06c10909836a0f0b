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
    if (key == Qt::Key_Down && row_ + 1 == rowCount_)
        SetRowCount(rowCount_ + 1);
    bool consumed = false;
    if (TUserCell* cell = Columns(col_))
        consumed = cell->EditKey(key, shift);
    if (!consumed)
        PlatformKey(key);
    return consumed;
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
    const bool changed = cell->UDblClick(GetValue(row_, col_));
    DrawCell(row_ - fixedRows_, col_ - FixedCols());
    // Only a column that stepped its value marks the text changed; a number
    // cell is not written back (its shown digits would replace the stored
    // ones), but the row becomes valid either way.
    if (changed)
        Change();
    else
        ChangeValid(row_, col_, true);
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

void GridCore::FocusGained() {
    InvalidateAll();
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
    container_->SetRowValid(row_ - fixedRows_, 0, 0);
    if (row_ == editRow_)
        DropPendingEdit();
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
