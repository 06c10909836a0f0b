// The commands on several cells and rows: block arithmetic and clearing, the
// line commands and the clipboard.
#include "grid/GridBeep.h"
#include "grid/GridCore.h"
#include "grid/GridDialogs.h"
#include "grid/UserCell.h"
#include "model/BalkorError.h"

#include <cmath>

namespace {
// Largest table row a line command accepts; larger numbers would overflow
// the row arithmetic.
constexpr double kMaxLineTarget = 1.0e9;
} // namespace

// ---- clipboard ----------------------------------------------------------------------

void GridCore::Copy() {
    Push();
    PaintBlock(endRow_, endCol_, false);
    if (anchorRow_ < 0)
        return;
    SetClipboardText(BlockText());
}

QString GridCore::BlockText() {
    QString text;
    if (anchorRow_ < 0)
        return text;
    for (int row = BlockTop(); row <= BlockBottom(); ++row) {
        for (int col = BlockLeft(); col <= BlockRight(); ++col) {
            if (isOnlyRead(row, col))
                continue;
            if (TUserCell* cell = Columns(col); cell && isValid(row, col))
                text += cell->CellText(row, col);
            if (col < colCount_ - 1)
                text += u'\t';
        }
        text += QStringLiteral("\r\n");
    }
    return text;
}

void GridCore::Past(int row, int col, const QString& text) {
    if (col >= colCount_)
        throw BalkorError(kPasteOutsideMessage);
    if (!Columns(col) || row < fixedRows_)
        return;
    if (row >= rowCount_)
        SetRowCount(row + 1);
    // The row becomes valid before the value is stored, as when typing, so
    // that the table's defaults for a new row never replace a pasted value.
    ChangeValid(row, col, true);
    editChanged_ = true;
    SetEditCell(row, col);
    editText_ = text;
    Commit();
    Fill(row, col);
    select_ = true;
}

// ---- block --------------------------------------------------------------------------------

template <class Operation> void GridCore::ChangeBlock(Operation operation) {
    if (anchorRow_ < 0)
        return;
    Commit();
    bool rejected = false;
    for (int row = BlockTop(); row <= BlockBottom(); ++row) {
        for (int col = BlockLeft(); col <= BlockRight(); ++col) {
            TUserCell* cell = Columns(col);
            if (cell && !cell->OnlyRead() && !isOnlyRead(row, col))
                if (void* value = GetValue(row, col))
                    rejected = !operation(*cell, value) || rejected;
            Fill(row, col);
        }
    }
    if (container_)
        container_->NotifyChanged();
    if (rejected)
        GridBeep();
}

void GridCore::AddBlock(double x) {
    ChangeBlock([x](TUserCell& cell, void* value) { return cell.Add(value, x); });
}

void GridCore::MultBlock(double x) {
    ChangeBlock([x](TUserCell& cell, void* value) { return cell.Mult(value, x); });
}

void GridCore::AddPoupClick() {
    double x = 0;
    if (Dialogs().AskNumber(DialogParent(), QString::fromUtf8(kCellDialogCaption), x))
        AddBlock(x);
}

void GridCore::MultPoupClick() {
    double x = 0;
    if (Dialogs().AskNumber(DialogParent(), QString::fromUtf8(kCellDialogCaption), x))
        MultBlock(x);
}

void GridCore::DelPoupClick() {
    if (anchorRow_ < 0)
        return;
    for (int row = BlockTop(); row <= BlockBottom(); ++row)
        for (int col = BlockLeft(); col <= BlockRight(); ++col)
            ChangeValid(row, col, false);
    if (container_)
        container_->NotifyChanged();
}

// ---- lines ----------------------------------------------------------------------------------

void GridCore::LineInsert(int row) {
    if (container_ && row >= 0) {
        Commit();
        container_->InsertRow(row);
        container_->NotifyChanged();
    }
    TakeFocus();
}

void GridCore::LineDelete(int row) {
    if (container_ && row >= 0) {
        const bool agreed =
            !container_->IsRowUsed(row) ||
            Dialogs().AskOkCancel(DialogParent(), QString::fromUtf8(kDeleteLineQuestion),
                                  QString::fromUtf8(kDeleteLineCaption));
        if (agreed) {
            Commit();
            container_->DeleteRow(row);
            container_->NotifyChanged();
        }
    }
    TakeFocus();
}

// Moves or copies a row to the row number the dialog asks for; a number
// that names no row (0 or less, beyond any row, not finite) does nothing.
void GridCore::TransferLine(int row, const char* caption, bool copy) {
    double number = 0;
    if (!Dialogs().AskNumber(DialogParent(), QString::fromUtf8(caption), number))
        return;
    const double target = std::trunc(number - 1);
    if (!(target >= 0))
        return;
    if (target > kMaxLineTarget) {
        GridBeep();
        return;
    }
    if (!container_ || row < 0 || static_cast<int>(target) == row)
        return;
    Commit();
    if (copy) {
        container_->CopyRow(row, static_cast<int>(target));
        container_->NotifyChanged();
    } else {
        container_->MoveRow(row, static_cast<int>(target));
    }
}

void GridCore::LineMove(int row) {
    TransferLine(row, kMoveLineCaption, false);
}

void GridCore::LineCopy(int row) {
    TransferLine(row, kCopyLineCaption, true);
}
