// The commands on several cells and rows: block arithmetic and clearing, the
// line commands and the clipboard.
#include "grid/ClipboardText.h"
#include "grid/GridBeep.h"
#include "grid/GridCore.h"
#include "grid/GridDialogs.h"
#include "grid/GridNumbers.h"
#include "grid/UserCell.h"
#include "model/BalkorError.h"
#include "model/References.h"

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
                text += cell->ExactText(GetValue(row, col));
            if (col < colCount_ - 1)
                text += u'\t';
        }
        text += QStringLiteral("\r\n");
    }
    return text;
}

bool GridCore::TakesText(int row, int col, const QString& text) {
    TUserCell* cell = Columns(col);
    QString filtered = text;
    return col < colCount_ && cell && row >= fixedRows_ && CellEditable(row, col) &&
           cell->FilterText(filtered);
}

bool GridCore::Past(int row, int col, const QString& text) {
    if (col >= colCount_)
        throw BalkorError(kPasteOutsideMessage);
    TUserCell* cell = Columns(col);
    QString filtered = text;
    if (!cell || row < fixedRows_ || !CellEditable(row, col) || !cell->FilterText(filtered))
        return false;
    UndoScope step(&History());
    if (row >= rowCount_)
        SetRowCount(row + 1);
    // The row becomes valid before the value is stored, as when typing, so
    // that the table's defaults for a new row never replace a pasted value.
    ChangeValid(row, col, true);
    editChanged_ = true;
    SetEditCell(row, col);
    editText_ = filtered;
    Commit();
    Fill(row, col);
    select_ = true;
    return true;
}

// A spreadsheet's column captions are a first line that no cell takes,
// followed by the values.
void GridCore::PasteCells(int row, int col, const QString& text) {
    std::vector<PastedCell> cells = SplitPasteText(text);
    for (PastedCell& cell : cells)
        cell.text = cell.text.trimmed();
    const bool more = std::any_of(cells.begin(), cells.end(), [](auto& c) { return c.row > 0; });
    const bool header = more && std::none_of(cells.begin(), cells.end(), [&](auto& c) {
                            return c.row == 0 && TakesText(row, col + c.col, c.text);
                        });
    UndoScope step(&History());
    bool refused = false;
    for (const PastedCell& cell : cells) {
        if (header && cell.row == 0)
            continue;
        refused = !Past(row + cell.row - (header ? 1 : 0), col + cell.col, cell.text) || refused;
    }
    if (header)
        ShowStatus(QString::fromUtf8(kHeaderSkippedStatus));
    if (refused)
        GridBeep();
}

// ---- block --------------------------------------------------------------------------------

template <class Operation> void GridCore::ChangeBlock(Operation operation) {
    if (anchorRow_ < 0)
        return;
    Commit();
    UndoScope step(&History());
    bool rejected = false;
    for (int row = BlockTop(); row <= BlockBottom(); ++row) {
        for (int col = BlockLeft(); col <= BlockRight(); ++col) {
            TUserCell* cell = Columns(col);
            Touch(row);
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
    UndoScope step(&History());
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
        const bool adjust = AdjustReferencesWanted(row);
        UndoScope step(&History());
        container_->InsertRow(row);
        History().Inserted(*container_, row);
        if (adjust)
            ShiftReferences(row, +1);
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
            const bool adjust = AdjustReferencesWanted(row);
            UndoScope step(&History());
            History().Removing(*container_, row);
            container_->DeleteRow(row);
            if (adjust)
                ShiftReferences(row, -1);
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
    UndoScope step(&History());
    Touch(row + fixedRows_);
    Touch(static_cast<int>(target) + fixedRows_);
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

// ---- references -------------------------------------------------------------------------

bool GridCore::AdjustReferencesWanted(int tableRow) {
    return referenceModel_ && RefersToRowsFrom(*referenceModel_, *container_, tableRow) &&
           Dialogs().AskYesNo(DialogParent(), QString::fromUtf8(kAdjustReferencesQuestion),
                              QString::fromUtf8(kAdjustReferencesCaption));
}

void GridCore::ShiftReferences(int tableRow, int shift) {
    std::vector<InputContainer*> changed;
    ::ShiftReferences(*referenceModel_, *container_, tableRow, shift,
                      [&](InputContainer& table, int row) {
                          History().Touch(table, row);
                          if (std::find(changed.begin(), changed.end(), &table) == changed.end())
                              changed.push_back(&table);
                      });
    for (InputContainer* table : changed) {
        table->Refresh();
        table->NotifyChanged();
    }
}

// ---- fill -------------------------------------------------------------------------------------

void GridCore::FillDown() {
    if (anchorRow_ < 0)
        return;
    int source = BlockTop();
    int first = source + 1;
    if (BlockBottom() == source) {
        source -= 1;
        first = BlockBottom();
    }
    if (source < fixedRows_ || !isValid(source, BlockLeft())) {
        GridBeep();
        return;
    }
    Commit();
    UndoScope step(&History());
    bool refused = false;
    for (int col = BlockLeft(); col <= BlockRight(); ++col) {
        TUserCell* cell = Columns(col);
        if (!cell || !CellEditable(source, col))
            continue;
        const QString text = cell->ExactText(GetValue(source, col));
        for (int row = first; row <= BlockBottom(); ++row)
            refused = !Past(row, col, text) || refused;
    }
    FollowCurrentCell();
    if (refused)
        GridBeep();
}

void GridCore::SeriesPoupClick() {
    double start = 1;
    double step = 1;
    if (Dialogs().AskSeries(DialogParent(), QString::fromUtf8(kSeriesCaption), start, step))
        FillSeries(start, step);
}

void GridCore::FillSeries(double start, double step) {
    if (anchorRow_ < 0)
        return;
    Commit();
    UndoScope scope(&History());
    bool refused = false;
    for (int row = BlockTop(); row <= BlockBottom(); ++row) {
        const double value = start + (row - BlockTop()) * step;
        const QString text = QString::fromStdString(ExactReal(value));
        for (int col = BlockLeft(); col <= BlockRight(); ++col)
            if (Columns(col) && Columns(col)->GetCellTyp() == 0 && CellEditable(row, col))
                refused = !Past(row, col, text) || refused;
    }
    FollowCurrentCell();
    if (refused)
        GridBeep();
}

// ---- undo ---------------------------------------------------------------------------------------

void GridCore::Undo() {
    if (editChanged_ && History().LastMergeKey() != session_) {
        DropPendingEdit();
        return;
    }
    editChanged_ = false;
    if (!History().Undo())
        GridBeep();
}

void GridCore::Redo() {
    Commit();
    if (!History().Redo())
        GridBeep();
}
