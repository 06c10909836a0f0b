#include "model/InputContainer.h"

#include "model/BalkorError.h"
#include "model/Format.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

ContainerTyp::ContainerTyp(int recordSize, int growthMargin)
    : recordSize_(recordSize), growthMargin_(growthMargin) {}

ContainerTyp::~ContainerTyp() {
    std::free(storage_);
}

void ContainerTyp::Reserve() {
    Reserve(count_ + 1);
}

void ContainerTyp::Reserve(int rows) {
    const long long need = static_cast<long long>(rows) * recordSize_;
    if (need <= capacity_)
        return;
    const long long wanted = need + growthMargin_;
    // The capacity is an int: a block beyond it counts as memory not granted.
    void* grown = wanted <= INT_MAX ? Reallocate(storage_, static_cast<size_t>(wanted)) : nullptr;
    if (!grown)
        throw BalkorError(Format("Nicht genung Speicher (%s)", TypeName().c_str()));
    storage_ = static_cast<char*>(grown);
    capacity_ = static_cast<int>(wanted);
}

void* ContainerTyp::Reallocate(void* block, size_t bytes) {
    return std::realloc(block, bytes);
}

void* ContainerTyp::Put(const void* source, int row) {
    if (row < 0) {
        Reserve();
        row = count_++;
    }
    void* record = At(row);
    if (source)
        std::memcpy(record, source, static_cast<size_t>(recordSize_));
    else
        std::memset(record, 0, static_cast<size_t>(recordSize_));
    return record;
}

void ContainerTyp::InsertAt(int row, const void* source) {
    Put(nullptr, -1);
    std::memmove(At(row + 1), At(row), static_cast<size_t>(count_ - row - 1) * recordSize_);
    Put(source, row);
}

void ContainerTyp::RemoveAt(int row, int n) {
    for (int i = 0; i < n && row < count_; ++i) {
        ReleaseRecord(row);
        std::memmove(At(row), At(row + 1), static_cast<size_t>(count_ - row - 1) * recordSize_);
        --count_;
    }
}

void ContainerTyp::Release() {
    for (int row = 0; row < count_; ++row)
        ReleaseRecord(row);
    std::free(storage_);
    storage_ = nullptr;
    count_ = 0;
    capacity_ = 0;
}

InputContainer::InputContainer(int recordSize) : ContainerTyp(recordSize) {}

InputContainer::~InputContainer() {
    validCount_ = -1;
    if (grid_)
        grid_->ContainerDestroyed();
    grid_ = nullptr;
    Release();
}

int InputContainer::IsRowValid(int row, int /*col*/) {
    if (row < 0 || row >= Count())
        return 0;
    return static_cast<const RecordHead*>(At(row))->flag > 0 ? 1 : 0;
}

void* InputContainer::RowRecord(int row) {
    if (row >= Count())
        EnsureRows(row + 1);
    return At(row);
}

void InputContainer::EnsureRows(int n) {
    // One block for all rows: growing by the margin row by row copies the
    // table once per row (a record numbered a million took minutes).
    Reserve(n);
    while (Count() < n)
        Put(nullptr, -1);
    if (grid_ && grid_->RowCount() - grid_->FixedRows() < Count())
        grid_->SetRowCount(n + grid_->FixedRows());
}

int InputContainer::ValidCount() {
    if (validCount_ >= 0)
        return validCount_;
    int k = 0;
    for (int i = 0; i < Count(); ++i) {
        if (IsRowUsed(i)) {
            static_cast<RecordHead*>(RowRecord(k))->slot = i;
            ++k;
        }
    }
    validCount_ = k;
    return k;
}

void* InputContainer::ValidRow(int k) {
    if (validCount_ < 0)
        ValidCount();
    return RowRecord(static_cast<RecordHead*>(RowRecord(k))->slot);
}

int InputContainer::UsedRowCount() {
    for (int i = Count() - 1; i >= 0; --i)
        if (IsRowUsed(i))
            return i + 1;
    return 0;
}

int InputContainer::IndexOf(const void* record) const {
    const auto offset = static_cast<const char*>(record) - static_cast<const char*>(At(0));
    return static_cast<int>(offset / RecordSize());
}

void InputContainer::Reset() {
    Release();
    validCount_ = -1;
    rejectedNumber_.reset();
    if (grid_)
        grid_->Repaint();
}

void InputContainer::SetRowValid(int row, int col, int32_t flag) {
    const int old = IsRowValid(row, col);
    const bool changed = flag != old;
    static_cast<RecordHead*>(RowRecord(row))->flag = flag;
    validCount_ = -1;
    if (changed && flag != 0)
        InitRow(row);
    if (grid_) {
        if (changed) {
            grid_->DrawRow(row);
            validCount_ = -1;
            NotifyChanged();
        }
        if (flag == 0)
            ReleaseRecord(row);
    }
}

void InputContainer::SetCellValue(int row, int col, const void* value) {
    validCount_ = -1;
    StoreValue(row, col, value);
    if (grid_)
        grid_->DrawCell(row, col);
    validCount_ = -1;
    NotifyChanged();
}

void InputContainer::AttachGrid(TableGrid* grid) {
    grid_ = grid;
    Refresh();
}

void InputContainer::Refresh() {
    validCount_ = -1;
    if (!grid_)
        return;
    grid_->SetRowCount(std::max(UsedRowCount(), 40) + grid_->FixedRows());
    CommitGridEdit();
    grid_->Repaint();
}

void InputContainer::CommitGridEdit() {
    if (grid_ && grid_->CurrentRow() > 0 && grid_->CurrentCol() > 0)
        grid_->Fill(grid_->CurrentRow(), grid_->CurrentCol());
}

void InputContainer::InsertRow(int row) {
    if (row > Count())
        EnsureRows(row); // inserting below the last record appends there
    InsertAt(row, nullptr);
    InitRecord(At(row));
    Refresh();
}

void InputContainer::DeleteRow(int row) {
    RemoveAt(row, 1);
    Refresh();
}

void InputContainer::MoveRow(int from, int to) {
    if (CopyRow(from, to))
        SetRowValid(from, 0, 0);
}
