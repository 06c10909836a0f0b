#include "grid/UndoHistory.h"

#include "model/InputContainer.h"

#include <algorithm>
#include <cstring>

namespace {

std::vector<unsigned char> RecordBytes(const InputContainer& table, int row) {
    const auto* record = static_cast<const unsigned char*>(table.At(row));
    return std::vector<unsigned char>(record, record + table.RecordSize());
}

} // namespace

std::size_t UndoHistory::Step::Bytes() const {
    std::size_t bytes = sizeof(Step);
    for (const Change& change : changes)
        bytes += sizeof(Change) + change.bytes.size();
    return bytes;
}

// ---- recording ---------------------------------------------------------------------

void UndoHistory::Begin(unsigned mergeKey) {
    if (depth_++ > 0)
        return;
    open_ = Step{};
    open_.mergeKey = mergeKey;
    imaged_.clear();
}

void UndoHistory::End() {
    if (depth_ <= 0 || --depth_ > 0)
        return;
    Close();
}

void UndoHistory::Touch(InputContainer& table, int row) {
    if (depth_ <= 0 || row < 0 || !imaged_.emplace(&table, row).second)
        return;
    // A row beyond the table's end is empty: its image is zero-filled, and
    // the table does not grow for it.
    std::vector<unsigned char> image = row < table.Count()
                                           ? RecordBytes(table, row)
                                           : std::vector<unsigned char>(table.RecordSize(), 0);
    open_.changes.push_back({Kind::Image, &table, row, std::move(image)});
}

void UndoHistory::Inserted(InputContainer& table, int row) {
    if (depth_ <= 0)
        return;
    imaged_.clear();
    open_.changes.push_back({Kind::Insert, &table, row, {}});
}

void UndoHistory::Removing(InputContainer& table, int row) {
    if (depth_ <= 0 || row < 0 || row >= table.Count())
        return;
    imaged_.clear();
    open_.changes.push_back({Kind::Remove, &table, row, RecordBytes(table, row)});
}

bool UndoHistory::Unchanged(const Change& change) {
    if (change.kind != Kind::Image)
        return false;
    if (change.row >= change.table->Count())
        return std::all_of(change.bytes.begin(), change.bytes.end(), [](auto b) { return b == 0; });
    return std::memcmp(change.bytes.data(), change.table->At(change.row), change.bytes.size()) == 0;
}

// A record imaged but left as it was is no change. Row numbers stay those of
// the images only while no row moved, so a step with insertions or removals
// keeps all of its images.
void UndoHistory::Close() {
    std::vector<Change>& changes = open_.changes;
    const bool rowsMoved = std::any_of(changes.begin(), changes.end(),
                                       [](const Change& c) { return c.kind != Kind::Image; });
    if (!rowsMoved)
        changes.erase(std::remove_if(changes.begin(), changes.end(), Unchanged), changes.end());
    if (changes.empty())
        return;
    ClearRedo();
    if (open_.mergeKey != 0 && open_.mergeKey == LastMergeKey()) {
        Step& last = undo_.back();
        bytes_ -= last.Bytes();
        for (Change& change : changes)
            last.changes.push_back(std::move(change));
        bytes_ += last.Bytes();
        Trim();
        StateChanged();
        return;
    }
    Push(undo_, std::move(open_));
    open_ = Step{};
    StateChanged();
}

void UndoHistory::Push(std::vector<Step>& stack, Step step) {
    bytes_ += step.Bytes();
    stack.push_back(std::move(step));
    Trim();
}

// The newest step always stays, however large it is.
void UndoHistory::Trim() {
    while (undo_.size() > 1 && (undo_.size() > kMaxSteps || bytes_ > kMaxBytes)) {
        bytes_ -= undo_.front().Bytes();
        undo_.erase(undo_.begin());
    }
    while (redo_.size() > 1 && bytes_ > kMaxBytes) {
        bytes_ -= redo_.front().Bytes();
        redo_.erase(redo_.begin());
    }
}

// ---- undo and redo ---------------------------------------------------------------------

// Puts the other side of every change back, newest first, and leaves the
// step holding what was there, in the order that takes it back again.
InputContainer* UndoHistory::Apply(Step& step) {
    // What refreshing the tables would record (a grid reloading its cell) is
    // part of the undo, not a new step.
    ++depth_;
    std::vector<InputContainer*> tables;
    for (auto change = step.changes.rbegin(); change != step.changes.rend(); ++change) {
        InputContainer& table = *change->table;
        switch (change->kind) {
        case Kind::Image:
            if (change->row >= table.Count())
                table.EnsureRows(change->row + 1);
            std::swap_ranges(change->bytes.begin(), change->bytes.end(),
                             static_cast<unsigned char*>(table.At(change->row)));
            break;
        case Kind::Insert:
            change->bytes = RecordBytes(table, change->row);
            table.RemoveAt(change->row, 1);
            change->kind = Kind::Remove;
            break;
        case Kind::Remove:
            table.InsertAt(change->row, change->bytes.data());
            change->bytes.clear();
            change->kind = Kind::Insert;
            break;
        }
        if (std::find(tables.begin(), tables.end(), &table) == tables.end())
            tables.push_back(&table);
    }
    std::reverse(step.changes.begin(), step.changes.end());
    // The first table of the step is the one its command worked on.
    std::reverse(tables.begin(), tables.end());
    for (InputContainer* table : tables) {
        table->InvalidateIndex();
        table->Refresh();
        table->NotifyChanged();
    }
    if (hook_ && !tables.empty())
        hook_(*tables.front());
    --depth_;
    open_ = Step{};
    return tables.empty() ? nullptr : tables.front();
}

InputContainer* UndoHistory::Undo() {
    if (undo_.empty() || depth_ > 0)
        return nullptr;
    Step step = std::move(undo_.back());
    undo_.pop_back();
    bytes_ -= step.Bytes();
    InputContainer* table = Apply(step);
    step.mergeKey = 0;
    Push(redo_, std::move(step));
    StateChanged();
    return table;
}

InputContainer* UndoHistory::Redo() {
    if (redo_.empty() || depth_ > 0)
        return nullptr;
    Step step = std::move(redo_.back());
    redo_.pop_back();
    bytes_ -= step.Bytes();
    InputContainer* table = Apply(step);
    Push(undo_, std::move(step));
    StateChanged();
    return table;
}

void UndoHistory::Clear() {
    undo_.clear();
    redo_.clear();
    bytes_ = 0;
    StateChanged();
}

void UndoHistory::ClearRedo() {
    for (const Step& step : redo_)
        bytes_ -= step.Bytes();
    redo_.clear();
}

// Steps older than one that changed the table cannot be reached without it,
// so they go too.
void UndoHistory::ForgetTable(const InputContainer* table) {
    auto touches = [table](const Step& step) {
        return std::any_of(step.changes.begin(), step.changes.end(),
                           [table](const Change& change) { return change.table == table; });
    };
    const auto newest = std::find_if(undo_.rbegin(), undo_.rend(), touches);
    if (newest != undo_.rend())
        undo_.erase(undo_.begin(), newest.base());
    if (std::any_of(redo_.begin(), redo_.end(), touches))
        redo_.clear();
    bytes_ = 0;
    for (const std::vector<Step>* stack : {&undo_, &redo_})
        for (const Step& step : *stack)
            bytes_ += step.Bytes();
    StateChanged();
}
