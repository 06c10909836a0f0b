#include "grid/GridCore.h"

#include "grid/GridBeep.h"
#include "grid/GridDialogs.h"
#include "grid/UserCell.h"
#include "grid/UserHeader.h"

#include <cmath>
#include <cstring>

GridCore::GridCore() {
    std::fill(std::begin(colWidths_), std::end(colWidths_), DefaultColWidth());
}

GridCore::~GridCore() {
    Detach();
}

void GridCore::Detach() {
    ReleaseContainer();
    for (TUserCell*& cell : columns_) {
        if (cell)
            cell->GridDestroyed(this);
        cell = nullptr;
    }
    for (auto& row : headers_) {
        for (TUserHeader*& header : row) {
            if (header)
                header->GridDestroyed(this);
            header = nullptr;
        }
    }
}

// ---- binding and shape ---------------------------------------------------------

// Detaches the table, unless another grid has taken it over meanwhile.
void GridCore::ReleaseContainer() {
    InputContainer* table = container_;
    container_ = nullptr;
    if (table && table->Grid() == this)
        table->AttachGrid(nullptr);
}

void GridCore::SetContainer(InputContainer* table) {
    ReleaseContainer();
    container_ = table;
    if (table) {
        SetRowCount(std::max(kMinDataRows, table->UsedRowCount()) + fixedRows_);
        table->AttachGrid(this);
    }
    InvalidateAll();
}

void GridCore::SetColCount(int count) {
    colCount_ = std::clamp(count, 2, kGridColumnSlots);
    KeepInside();
    ColumnsResized();
    InvalidateAll();
}

void GridCore::SetFixedRows(int rows) {
    fixedRows_ = std::clamp(rows, 1, kGridHeaderRows);
    if (rowCount_ <= fixedRows_)
        rowCount_ = fixedRows_ + 1;
    row_ = std::max(row_, fixedRows_);
    topRow_ = std::max(topRow_, fixedRows_);
    KeepInside();
    RowsChanged();
    InvalidateAll();
}

void GridCore::SetRowCount(int rows) {
    const int wanted = std::max(rows, fixedRows_ + 1);
    if (wanted == rowCount_)
        return;
    rowCount_ = wanted;
    FitNumberColumn();
    KeepInside();
    SetTopRow(topRow_);
    RowsChanged();
    InvalidateAll();
}

// Keeps the current cell, the edit cell and the block corners inside the
// rows and columns after the grid shrank.
void GridCore::KeepInside() {
    row_ = std::clamp(row_, fixedRows_, rowCount_ - 1);
    col_ = std::clamp(col_, 1, colCount_ - 1);
    if (editRow_ >= rowCount_ || editCol_ >= colCount_ ||
        (editRow_ >= 0 && editRow_ < fixedRows_)) {
        editRow_ = editCol_ = -1;
        editChanged_ = false;
    }
    if (lastSelRow_ >= rowCount_ || lastSelCol_ >= colCount_)
        lastSelRow_ = lastSelCol_ = -1;
    if (anchorRow_ >= 0) {
        anchorRow_ = std::clamp(anchorRow_, fixedRows_, rowCount_ - 1);
        endRow_ = std::clamp(endRow_, fixedRows_, rowCount_ - 1);
        anchorCol_ = std::clamp(anchorCol_, 1, colCount_ - 1);
        endCol_ = std::clamp(endCol_, 1, colCount_ - 1);
    }
}

// The number column is never narrower than the largest row number needs.
void GridCore::FitNumberColumn() {
    constexpr int kMargin = 8;
    const int needed = TextWidth(QString::number(rowCount_ - fixedRows_)) + kMargin;
    if (colWidths_[0] < needed)
        SetColWidths(0, needed);
}

void GridCore::MoveTo(int row, int col) {
    row = std::clamp(row, fixedRows_, rowCount_ - 1);
    col = std::clamp(col, 1, colCount_ - 1);
    if (row == row_ && col == col_)
        return;
    USelectCell(col, row);
    PlaceCurrent(row, col);
    CollapseBlock();
    if (row_ < topRow_)
        SetTopRow(row_);
    else if (row_ >= topRow_ + VisibleDataRows())
        SetTopRow(row_ - VisibleDataRows() + 1);
}

void GridCore::PlaceCurrent(int row, int col) {
    const int oldRow = row_;
    const int oldCol = col_;
    row_ = row;
    col_ = col;
    InvalidateCell(oldRow, oldCol);
    InvalidateCell(oldRow, 0);
    InvalidateCell(row_, col_);
    InvalidateCell(row_, 0);
}

void GridCore::SetTopRow(int row) {
    const int last = std::max(fixedRows_, rowCount_ - VisibleDataRows());
    row = std::clamp(row, fixedRows_, last);
    if (row == topRow_)
        return;
    topRow_ = row;
    RowsChanged();
    InvalidateAll();
}

int GridCore::VisibleDataRows() const {
    const int pitch = DefaultRowHeight() + GridLineWidth();
    return std::max(1, (ClientHeight() - fixedRows_ * pitch) / pitch);
}

int GridCore::ColWidths(int col) const {
    return col >= 0 && col < kGridColumnSlots ? colWidths_[col] : 0;
}

void GridCore::SetColWidths(int col, int width) {
    if (col < 0 || col >= kGridColumnSlots)
        return;
    width = std::max(width, 0);
    if (colWidths_[col] == width)
        return;
    colWidths_[col] = width;
    ColumnsResized();
    InvalidateAll();
}

void GridCore::SetSelectRow(bool flag) {
    selectRow_ = flag;
    InvalidateCell(row_, 0);
}

// ---- geometry ----------------------------------------------------------------------

int GridCore::ColLeft(int col) const {
    int x = 0;
    for (int i = 0; i < col && i < kGridColumnSlots; ++i)
        x += colWidths_[i] + GridLineWidth();
    return x;
}

QRect GridCore::CellRect(int row, int col) const {
    if (row < 0 || row >= rowCount_ || col < 0 || col >= colCount_)
        return QRect();
    const int pitch = DefaultRowHeight() + GridLineWidth();
    int top;
    if (row < fixedRows_)
        top = row * pitch;
    else if (row >= topRow_)
        top = (fixedRows_ + row - topRow_) * pitch;
    else
        return QRect();
    if (top >= ClientHeight() && row >= fixedRows_)
        return QRect();
    return QRect(ColLeft(col), top, colWidths_[col], DefaultRowHeight());
}

QPoint GridCore::TopLeft(int row, int col) const {
    return CellRect(row, col).topLeft();
}

QPoint GridCore::BottomRight(int row, int col) const {
    const QRect rect = CellRect(row, col);
    return QPoint(rect.x() + rect.width(), rect.y() + rect.height());
}

bool GridCore::CellAt(int x, int y, int& row, int& col) const {
    bool inside = x >= 0 && y >= 0;
    col = colCount_ - 1;
    int left = 0;
    for (int i = 0; i < colCount_; ++i) {
        left += colWidths_[i] + GridLineWidth();
        if (x < left) {
            col = i;
            break;
        }
    }
    inside = inside && x < left;
    const int pitch = DefaultRowHeight() + GridLineWidth();
    const int line = std::max(y, 0) / pitch;
    if (line < fixedRows_) {
        row = line;
        return inside;
    }
    row = topRow_ + line - fixedRows_;
    if (row >= rowCount_) {
        row = rowCount_ - 1;
        inside = false;
    }
    return inside && y < ClientHeight();
}

int GridCore::GetWidth() const {
    return ColLeft(colCount_);
}

int GridCore::GetDWidth() const {
    return GetWidth() - ClientWidth();
}

bool GridCore::StretchColumns() {
    const int divisor = GetWidth() - colWidths_[0];
    const int room = ClientWidth() - colWidths_[0];
    if (divisor <= 0 || room <= 0 || colCount_ < 2)
        return false;
    const double factor = static_cast<double>(room) / divisor;
    for (int i = 1; i < colCount_ - 1; ++i)
        colWidths_[i] = static_cast<int>(colWidths_[i] * factor);
    int& last = colWidths_[colCount_ - 1];
    last = std::max(0, last - GetDWidth());
    InvalidateAll();
    return true;
}

// ---- table access -----------------------------------------------------------------

void* GridCore::GetValue(int row, int col) {
    if (!container_ || row < fixedRows_ || col < 1)
        return nullptr;
    return container_->ValuePtr(row - fixedRows_, col - 1);
}

void GridCore::SetValue(int row, int col, const void* value) {
    if (!container_ || row < fixedRows_ || col < 1)
        return;
    UndoScope step(&History());
    Touch(row);
    container_->SetCellValue(row - fixedRows_, col - 1, value);
}

void GridCore::Touch(int row) {
    if (container_ && row >= fixedRows_)
        History().Touch(*container_, row - fixedRows_);
}

bool GridCore::isValid(int row, int col) {
    return container_ && row >= fixedRows_ && container_->IsRowValid(row - fixedRows_, col - 1);
}

bool GridCore::isOnlyRead(int row, int col) {
    return !container_ || container_->IsCellReadOnly(row - fixedRows_, col - 1);
}

QString GridCore::GetListStrings(int col, int i) {
    if (!container_)
        return QString();
    return QString::fromStdString(container_->ListString(col - 1, i));
}

int GridCore::GetListStringsCount(int col) {
    return container_ ? std::max(0, container_->ListStringCount(col - 1)) : 0;
}

// A row the grid makes valid starts from zero, so that the table's defaults
// for a new row apply and nothing of a cleared row comes back.
void GridCore::ChangeValid(int row, int col, bool flag) {
    if (!container_ || row < fixedRows_)
        return;
    UndoScope step(&History(), row == editRow_ ? session_ : 0);
    Touch(row);
    const int tableRow = row - fixedRows_;
    if (flag && !container_->IsRowValid(tableRow, col - 1)) {
        auto* record = static_cast<char*>(container_->RowRecord(tableRow));
        std::memset(record + sizeof(RecordHead), 0, container_->RecordSize() - sizeof(RecordHead));
    }
    container_->SetRowValid(tableRow, col - 1, flag ? kFlagUser : 0);
    if (!flag && row == editRow_)
        DropPendingEdit();
}

void GridCore::ChangeValid(int row, bool flag) {
    UndoScope step(&History());
    for (int col = 1; col < colCount_; ++col)
        ChangeValid(row, col, flag);
}

void GridCore::DropPendingEdit() {
    editChanged_ = false;
    if (TUserCell* cell = Columns(editCol_))
        cell->LoadEditText(editRow_, editCol_);
    cursorPos_ = 0;
    SetSelect(true);
}

// ---- the edit cell ---------------------------------------------------------------

void GridCore::SetEditText(const QString& text) {
    editText_ = text;
    InvalidateCell(editRow_, editCol_);
}

int GridCore::CursorPos() {
    cursorPos_ = std::clamp(cursorPos_, 0, ETextLen());
    return cursorPos_;
}

void GridCore::SetCursorPos(int pos) {
    cursorPos_ = pos;
    CursorPos();
    InvalidateCell(editRow_, editCol_);
    InvalidateCell(row_, col_);
}

void GridCore::SetSelect(bool flag) {
    select_ = flag;
    InvalidateCell(editRow_, editCol_);
    InvalidateCell(row_, col_);
}

void GridCore::Change() {
    editChanged_ = true;
    if (container_ && editRow_ >= 0)
        ChangeValid(editRow_, editCol_, true);
}

int GridCore::ETextLen() {
    if (!container_ || editRow_ < 0 || !isValid(editRow_, editCol_))
        return 0;
    return static_cast<int>(editText_.size());
}

void GridCore::Push() {
    // A computed cell is shown, never stored (storing would report a change).
    if (editRow_ < 0 || !editChanged_ || !CellEditable(editRow_, editCol_))
        return;
    TUserCell* cell = Columns(editCol_);
    if (!cell)
        return;
    const void* value = cell->TextToValue(editText_);
    if (!value) {
        GridBeep();
        return;
    }
    UndoScope step(&History(), session_);
    SetValue(editRow_, editCol_, value);
    DrawInfoRow(editRow_);
}

void GridCore::Fill(int row, int col) {
    TUserCell* cell = Columns(col);
    if (!cell || row < fixedRows_)
        return;
    Push();
    NewEditSession();
    cell->LoadEditText(row, col);
    cursorPos_ = 0;
    editChanged_ = false;
    cell->TextOffset(col, editText_);
    SetSelect(true);
}

void GridCore::SetEditCell(int row, int col) {
    if (row == editRow_ && col == editCol_)
        return;
    InvalidateCell(editRow_, editCol_);
    editRow_ = row;
    editCol_ = col;
    NewEditSession();
    InvalidateCell(editRow_, editCol_);
}

void GridCore::FollowCurrentCell() {
    if (editRow_ >= 0 && (editRow_ != row_ || editCol_ != col_))
        Fill(row_, col_);
}

void GridCore::Commit() {
    Push();
    editChanged_ = false;
}

// ---- moving ----------------------------------------------------------------------

bool GridCore::CellEditable(int row, int col) {
    const TUserCell* cell = Columns(col);
    return !cell || !(cell->OnlyRead() || isOnlyRead(row, col));
}

// Tab, Enter and the caret keys move to the next editable cell: one sweep
// over the columns at most, so a row without an editable cell (or a grid
// without a table) leaves the current cell where it is.
void GridCore::NextCell() {
    if (colCount_ == 2 && isOnlyRead(row_, col_))
        return;
    int row = row_;
    int col = col_;
    for (int step = 1; step < colCount_; ++step) {
        if (col + 1 < colCount_) {
            ++col;
        } else {
            col = 1;
            ++row;
        }
        if (!CellEditable(row, col))
            continue;
        if (row >= rowCount_)
            SetRowCount(row + 1);
        MoveTo(row, col);
        return;
    }
}

void GridCore::PreviousCell() {
    if (colCount_ == 2 && isOnlyRead(row_, col_))
        return;
    int row = row_;
    int col = col_;
    for (int step = 1; step < colCount_; ++step) {
        if (col > 1) {
            --col;
        } else {
            col = colCount_ - 1;
            if (row > fixedRows_)
                --row;
        }
        if (!CellEditable(row, col))
            continue;
        MoveTo(row, col);
        return;
    }
}

// ---- columns and headers --------------------------------------------------------------

TUserCell* GridCore::Columns(int col) const {
    return col >= 0 && col < kGridColumnSlots ? columns_[col] : nullptr;
}

void GridCore::RegisterColumn(TUserCell* cell, int col) {
    if (col < 0 || col >= kGridColumnSlots)
        return;
    columns_[col] = cell;
    ChackColWidth(col);
    InvalidateAll();
}

void GridCore::DestroyColumn(int col) {
    if (col < 0 || col >= kGridColumnSlots)
        return;
    columns_[col] = nullptr;
    InvalidateAll();
}

TUserHeader* GridCore::Headers(int row, int col) const {
    if (row < 0 || row >= kGridHeaderRows || col < 0 || col >= kGridColumnSlots)
        return nullptr;
    return headers_[row][col];
}

void GridCore::RemoveHeader(TUserHeader* header) {
    for (auto& row : headers_)
        for (TUserHeader*& slot : row)
            if (slot == header)
                slot = nullptr;
}

void GridCore::SetHeader(int rowB, int rowE, int colB, int colE, TUserHeader* header) {
    RemoveHeader(header);
    const bool fits = 0 <= rowB && rowB <= rowE && rowE < fixedRows_ && 0 <= colB && colB <= colE &&
                      colE < colCount_;
    if (fits && header) {
        for (int row = rowB; row <= rowE; ++row)
            for (int col = colB; col <= colE; ++col)
                headers_[row][col] = header;
        for (int col = colB; col <= colE; ++col)
            ChackColWidth(col);
    }
    InvalidateAll();
}

void GridCore::ChackColWidth(int col) {
    for (int i = 0; i < kGridHeaderRows; ++i) {
        const TUserHeader* header = Headers(i, col);
        if (!header)
            continue;
        const int first = std::max(header->ColB(), 0);
        const int last = std::min(header->ColE(), kGridColumnSlots - 1);
        int sum = 0;
        bool complete = true;
        for (int c = first; c <= last; ++c) {
            if (!columns_[c])
                complete = false;
            else
                sum += columns_[c]->ColWidth();
        }
        if (!complete || sum <= 0)
            continue;
        const double ratio = (TextWidth(header->Text()) + 4.0) / sum;
        if (ratio <= 1)
            continue;
        for (int c = first; c <= last; ++c)
            columns_[c]->SetColWidth(static_cast<int>(ratio * columns_[c]->ColWidth()));
    }
}

// ---- repainting ------------------------------------------------------------------------

void GridCore::InvalidateCell(int row, int col) {
    const QRect rect = CellRect(row, col);
    if (!rect.isEmpty())
        InvalidateRect(rect);
}

void GridCore::InvalidateCells(int row1, int col1, int row2, int col2) {
    if (row1 < 0 || col1 < 0 || row2 < 0 || col2 < 0)
        return;
    const int top = std::max(std::min(row1, row2), topRow_);
    const int bottom = std::min(std::max(row1, row2), rowCount_ - 1);
    const int left = std::min(col1, col2);
    const int right = std::min(std::max(col1, col2), colCount_ - 1);
    if (top > bottom || left > right)
        return;
    const int pitch = DefaultRowHeight() + GridLineWidth();
    const long long y = static_cast<long long>(fixedRows_ + top - topRow_) * pitch;
    if (y >= ClientHeight())
        return;
    const long long height =
        std::min<long long>(static_cast<long long>(bottom - top + 1) * pitch, ClientHeight() - y);
    InvalidateRect(QRect(ColLeft(left), static_cast<int>(y), ColLeft(right + 1) - ColLeft(left),
                         static_cast<int>(height)));
}

void GridCore::DrawCell(int row, int col) {
    if (Columns(col + FixedCols()))
        InvalidateCell(row + fixedRows_, col + FixedCols());
}

void GridCore::DrawRow(int row) {
    for (int col = FixedCols(); col < colCount_; ++col)
        DrawCell(row, col - FixedCols());
    InvalidateCell(row + fixedRows_, 0);
}

void GridCore::DrawCol(int col) {
    InvalidateCells(topRow_, col + FixedCols(), topRow_ + VisibleDataRows(), col + FixedCols());
}

void GridCore::DrawInfoRow(int row) {
    for (int col = FixedCols(); col < colCount_; ++col)
        if (columns_[col] && columns_[col]->OnlyRead())
            InvalidateCell(row, col);
}

void GridCore::DrawHeader() {
    for (int row = 0; row < fixedRows_; ++row)
        for (int col = 0; col < colCount_; ++col)
            InvalidateCell(row, col);
}

void GridCore::Repaint() {
    InvalidateAll();
}

void GridCore::ContainerDestroyed() {
    container_ = nullptr;
    InvalidateAll();
}

bool GridCore::NumberCellMarked(int row) const {
    return selectRow_ && row == row_ && !HasFocus();
}

// ---- the block ----------------------------------------------------------------------------

bool GridCore::isBlock(int row, int col) const {
    return blockActive_ && anchorRow_ >= 0 && row >= BlockTop() && row <= BlockBottom() &&
           col >= BlockLeft() && col <= BlockRight();
}

void GridCore::PaintBlock(int endRow, int endCol, bool active) {
    blockActive_ = active;
    InvalidateCells(anchorRow_, anchorCol_, endRow, endCol);
}

void GridCore::CollapseBlock() {
    PaintBlock(endRow_, endCol_, false);
    anchorRow_ = endRow_ = row_;
    anchorCol_ = endCol_ = col_;
}

void GridCore::SetBlock(int anchorRow, int anchorCol, int endRow, int endCol, bool active) {
    PaintBlock(endRow_, endCol_, false);
    anchorRow_ = std::clamp(anchorRow, fixedRows_, rowCount_ - 1);
    anchorCol_ = std::clamp(anchorCol, 1, colCount_ - 1);
    endRow_ = std::clamp(endRow, fixedRows_, rowCount_ - 1);
    endCol_ = std::clamp(endCol, 1, colCount_ - 1);
    PaintBlock(endRow_, endCol_, active);
}

GridDialogs& GridCore::Dialogs() const {
    return dialogs_ ? *dialogs_ : DefaultGridDialogs();
}
