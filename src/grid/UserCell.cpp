#include "grid/UserCell.h"

#include "grid/GridBeep.h"

#include <cstdlib>

TUserCell::TUserCell(QObject* parent) : QObject(parent) {}

TUserCell::~TUserCell() {
    Unregister();
}

// ---- binding --------------------------------------------------------------------

void TUserCell::Register() {
    if (!grid_ || column_ < 0)
        return;
    grid_->RegisterColumn(this, column_);
    if (colWidth_ > 0)
        grid_->SetColWidths(column_, colWidth_);
}

void TUserCell::Unregister() {
    if (grid_ && column_ >= 0 && grid_->Columns(column_) == this)
        grid_->DestroyColumn(column_);
}

void TUserCell::SetColumn(int column) {
    Unregister();
    column_ = column;
    Register();
}

void TUserCell::SetGrid(GridCore* grid) {
    if (grid == grid_)
        return;
    Unregister();
    grid_ = grid;
    Register();
}

void TUserCell::GridDestroyed(GridCore* grid) {
    if (grid_ == grid)
        grid_ = nullptr;
}

void TUserCell::SetColWidth(int width) {
    colWidth_ = width;
    if (grid_ && column_ >= 0)
        grid_->SetColWidths(column_, width);
}

void TUserCell::SetCenter(bool flag) {
    center_ = flag;
    if (grid_)
        grid_->Repaint();
}

void TUserCell::SetOnlyRead(bool flag) {
    onlyRead_ = flag;
    if (grid_)
        grid_->Repaint();
}

// ---- conversions and filters -------------------------------------------------------

bool TUserCell::Textfilter(QString&) {
    return true;
}

QChar TUserCell::Charfilter(QChar ch) {
    return ch;
}

bool TUserCell::Add(void*, double) {
    return true;
}

bool TUserCell::Mult(void*, double) {
    return true;
}

bool TUserCell::UDblClick(void*) {
    return false;
}

void TUserCell::UMouseDown(int, int, int, int, void*) {}

QChar TUserCell::MapChar(QChar ch) {
    for (qsizetype i = 0; i + 1 < filter_.size(); i += 2)
        if (filter_[i] == ch)
            return filter_[i + 1];
    return ch;
}

QColor TUserCell::CellColor(int row, int col) {
    if (!grid_)
        return kCellWhite;
    const bool readOnlyCell = grid_->isOnlyRead(row, col);
    const bool inBlock = grid_->isBlock(row, col);
    if (readOnlyCell)
        return inBlock ? kCellGrey : kCellSilver;
    if (onlyRead_)
        return kCellGrey;
    if (row == grid_->Row() && col == grid_->Col() && grid_->Select() && grid_->HasFocus())
        return kCellAqua;
    if (inBlock)
        return kCellBlue;
    if (GetCellTyp() == 1)
        return kCellPaleAqua;
    return kCellWhite;
}

QString TUserCell::ExactText(const void* value) {
    QString text;
    ValueToText(value, text);
    return text;
}

bool TUserCell::FilterText(QString& text) {
    QString filtered;
    for (QChar ch : text) {
        if (!GridCore::AcceptsChar(ch) && ch != u' ')
            return false;
        ch = Charfilter(MapChar(ch));
        if (ch.isNull())
            return false;
        filtered += ch;
    }
    if (!filtered.isEmpty() && !Textfilter(filtered))
        return false;
    if (!TextToValue(filtered))
        return false;
    text = filtered;
    return true;
}

// ---- the edit buffer -----------------------------------------------------------------

void TUserCell::LoadEditText(int row, int col) {
    if (!grid_)
        return;
    grid_->SetEditCell(row, col);
    QString text;
    ValueToText(grid_->GetValue(row, col), text);
    grid_->SetEditText(text);
}

QString TUserCell::CellText(int row, int col) {
    QString text;
    if (grid_)
        ValueToText(grid_->GetValue(row, col), text);
    return text;
}

void TUserCell::EditChar(QChar ch) {
    GridCore* grid = grid_;
    if (!grid)
        return;
    if (grid->EditRow() < 0)
        LoadEditText(grid->Row(), grid->Col());
    ch = Charfilter(MapChar(ch));
    if (ch.isNull() || !grid->CellEditable(grid->EditRow(), grid->EditCol())) {
        GridBeep();
        return;
    }
    // A selected text is replaced; so is the text of an empty row, which is
    // not shown (a cleared row keeps its old values in the table).
    const bool replace = grid->Select() || !grid->isValid(grid->EditRow(), grid->EditCol());
    QString text = replace ? QString() : grid->EditText();
    const int pos = replace ? 0 : grid->CursorPos();
    text.insert(pos, ch);
    if (!Textfilter(text)) {
        GridBeep();
        return;
    }
    grid->SetEditText(text);
    grid->Change();
    grid->SetCursorPos(pos + 1);
    grid->SetSelect(false);
    if (maxTextLen_ > 0 && grid->ETextLen() >= maxTextLen_)
        grid->NextCell();
}

void TUserCell::DeleteChar(bool before) {
    GridCore* grid = grid_;
    const int pos = grid->CursorPos();
    if ((before ? pos <= 0 : pos >= grid->ETextLen()) ||
        !grid->CellEditable(grid->EditRow(), grid->EditCol())) {
        GridBeep();
        return;
    }
    QString text = grid->EditText();
    text.remove(before ? pos - 1 : pos, 1);
    if (!Textfilter(text)) {
        GridBeep();
        return;
    }
    grid->SetEditText(text);
    grid->Change();
    if (before)
        grid->SetCursorPos(pos - 1);
    grid->SetSelect(false);
}

// ---- keys -------------------------------------------------------------------------------

bool TUserCell::EditKey(int key, Qt::KeyboardModifiers shift) {
    GridCore* grid = grid_;
    if (!grid)
        return false;
    const bool ctrl = shift & Qt::ControlModifier;
    const bool alt = !ctrl && (shift & Qt::AltModifier);
    const bool editing = grid->EditRow() >= 0;
    const int editTableRow = grid->EditRow() - grid->FixedRows();
    switch (key) {
    case Qt::Key_Backspace:
        DeleteChar(true);
        return false;
    case Qt::Key_Tab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        grid->ChangeValid(grid->Row(), grid->Col(), true);
        if (shift & Qt::ShiftModifier)
            grid->PreviousCell();
        else
            grid->NextCell();
        return true;
    case Qt::Key_Escape:
        if (editing) {
            if (TUserCell* cell = grid->Columns(grid->EditCol()))
                cell->LoadEditText(grid->EditRow(), grid->EditCol());
            grid->SetCursorPos(0);
            grid->SetEditChanged(false);
            grid->SetSelect(false);
        }
        return false;
    case Qt::Key_Space:
        EditChar(u' ');
        return false;
    case Qt::Key_End:
        if (grid->CursorPos() >= grid->ETextLen())
            grid->NextCell();
        grid->SetCursorPos(grid->ETextLen());
        grid->SetSelect(false);
        return true;
    case Qt::Key_Home:
        if (grid->CursorPos() <= 0)
            grid->PreviousCell();
        grid->SetCursorPos(0);
        grid->SetSelect(false);
        return true;
    case Qt::Key_Left:
        if (grid->CursorPos() <= 0) {
            grid->PreviousCell();
        } else {
            grid->SetCursorPos(grid->CursorPos() - 1);
            grid->SetSelect(false);
        }
        return true;
    case Qt::Key_Right:
        if (grid->CursorPos() >= grid->ETextLen()) {
            grid->NextCell();
        } else {
            grid->SetCursorPos(grid->CursorPos() + 1);
            grid->SetSelect(false);
        }
        return true;
    case Qt::Key_Insert:
        if (alt && editing)
            grid->LineInsert(editTableRow);
        return false;
    case Qt::Key_Delete:
        if (ctrl && editing)
            grid->ChangeValid(grid->EditRow(), false);
        else if (alt && editing)
            grid->LineDelete(editTableRow);
        else if (!ctrl && !alt)
            DeleteChar(false);
        return false;
    case Qt::Key_C:
        if (ctrl)
            grid->Copy();
        else if (alt && editing)
            grid->LineCopy(editTableRow);
        return false;
    case Qt::Key_V:
        if (ctrl && editing)
            PasteText(column_, grid->ClipboardText());
        else if (alt && editing)
            grid->LineMove(editTableRow);
        return false;
    case Qt::Key_X:
        if (ctrl)
            grid->XCopy();
        return false;
    default:
        return false;
    }
}

void TUserCell::PasteText(int col, const QString& text) {
    if (grid_ && grid_->EditRow() >= 0)
        grid_->PasteCells(grid_->EditRow(), col, text);
}

// ---- caret and painting -------------------------------------------------------------------

int TUserCell::TextOffset(int col, const QString& text) {
    textOffset_ = 3;
    if (center_ && grid_)
        textOffset_ = (grid_->ColWidths(col) - grid_->TextWidth(text)) / 2;
    return textOffset_;
}

int TUserCell::PrefixWidth(const QString& text, int count) const {
    return (grid_ ? grid_->TextWidth(text.left(count)) : 0) + textOffset_;
}

void TUserCell::PlaceCursor(int row, int col, int x) {
    if (!grid_)
        return;
    const int length = grid_->ETextLen();
    int best = 0;
    int bestDistance = 100000;
    for (int pos = 0; pos <= length; ++pos) {
        const int distance = std::abs(PrefixWidth(grid_->EditText(), pos) - x);
        if (distance < bestDistance) {
            best = pos;
            bestDistance = distance;
        }
    }
    grid_->SetCursorPos(best);
    grid_->InvalidateCell(row, col);
}

CellPaint TUserCell::PaintCell(int row, int col) {
    CellPaint paint;
    GridCore* grid = grid_;
    if (!grid)
        return paint;
    const QRect rect = grid->CellRect(row, col);
    if (rect.height() <= 0 || rect.height() > GridCore::DefaultRowHeight())
        return paint;
    paint.paint = true;
    paint.rect = rect;
    const bool valid = grid->isValid(row, col);
    QString text;
    int x = rect.left();
    if (row == grid->EditRow() && col == grid->EditCol()) {
        // The edit text scrolls left so that the caret stays inside the cell.
        text = grid->EditText();
        x += TextOffset(col, text);
        const int width = PrefixWidth(text, grid->CursorPos());
        if (width < 3)
            x += 3 - width;
        if (width > rect.width() - 6)
            x += rect.width() - 6 - width;
    } else {
        // Cells of empty rows are not asked for their value (which would grow
        // the table while painting).
        if (valid)
            text = CellText(row, col);
        const int offset = textOffset_;
        x += TextOffset(col, text);
        textOffset_ = offset;
    }
    paint.textY =
        static_cast<int>(rect.top() + (GridCore::DefaultRowHeight() - grid->TextHeight()) / 2.0);
    paint.fill = CellColor(row, col);
    if (!valid || grid->isOnlyRead(row, col))
        return paint;
    paint.showText = true;
    paint.text = text;
    paint.textX = x;
    if (row == grid->Row() && col == grid->Col() && !onlyRead_ && grid->HasFocus())
        paint.caretX = x + grid->TextWidth(text.left(grid->CursorPos()));
    return paint;
}
