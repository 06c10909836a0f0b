#pragma once

#include <cstddef>
#include <functional>
#include <set>
#include <utility>
#include <vector>

class InputContainer;

// The undo and redo steps of one input window. A step is what one command of
// a grid changed in the record tables: the images of the records before they
// were first touched, and the rows inserted or removed, in the order they
// happened. Applying a step puts the other side of every change back and
// turns the step into its own inverse, so undo and redo share one routine.
//
// A command opens a step with Begin and closes it with End (nested pairs join
// the outermost step); before changing a record it calls Touch, before
// inserting or removing a row Inserted or Removing. A closed step in which
// nothing changed is dropped. Steps with the same non-zero merge key follow
// each other into one step: the first keystroke of a cell (which makes its
// row valid) and the stored text of that cell are one step.
//
// At most kMaxSteps steps and kMaxBytes bytes of record images are kept; the
// oldest steps go first.
class UndoHistory {
public:
    static constexpr int kMaxSteps = 1000;
    static constexpr std::size_t kMaxBytes = 50u * 1024u * 1024u;

    UndoHistory() = default;
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;

    void Begin(unsigned mergeKey = 0);
    void End();
    bool Recording() const { return depth_ > 0; }

    // Before the record at row of table changes (the table grows to row + 1).
    void Touch(InputContainer& table, int row);
    // After an empty record was inserted at row.
    void Inserted(InputContainer& table, int row);
    // Before the record at row is removed.
    void Removing(InputContainer& table, int row);

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    int UndoCount() const { return static_cast<int>(undo_.size()); }
    int RedoCount() const { return static_cast<int>(redo_.size()); }
    std::size_t Bytes() const { return bytes_; }
    // The merge key of the newest step (0 for none).
    unsigned LastMergeKey() const { return undo_.empty() ? 0 : undo_.back().mergeKey; }

    // Take back the newest step, or do the newest undone step again. The
    // tables concerned are refreshed and told about the change; the result
    // is the table the step began in (none when there was no step).
    InputContainer* Undo();
    InputContainer* Redo();
    void Clear();
    // Forgets every step (of both kinds) that changed table.
    void ForgetTable(const InputContainer* table);

    // Called after an undo or redo with the table its step began in (the
    // window shows that table's page).
    void SetChangedHook(std::function<void(InputContainer&)> hook) { hook_ = std::move(hook); }
    // Called whenever CanUndo or CanRedo may have changed.
    void SetStateHook(std::function<void()> hook) { stateHook_ = std::move(hook); }

private:
    enum class Kind { Image, Insert, Remove };
    // One change. Image: bytes is the record's other side; Insert: the row
    // is there now and goes (bytes empty); Remove: the row is gone and bytes
    // is the record to put back.
    struct Change {
        Kind kind;
        InputContainer* table;
        int row;
        std::vector<unsigned char> bytes;
    };
    struct Step {
        std::vector<Change> changes;
        unsigned mergeKey = 0;
        std::size_t Bytes() const;
    };

    InputContainer* Apply(Step& step);
    void Close();
    void Push(std::vector<Step>& stack, Step step);
    void Trim();
    void ClearRedo();
    void StateChanged() const {
        if (stateHook_)
            stateHook_();
    }
    static bool Unchanged(const Change& change);

    std::vector<Step> undo_;
    std::vector<Step> redo_;
    Step open_;
    int depth_ = 0;
    // Records imaged in the open step since the last insert or removal.
    std::set<std::pair<const InputContainer*, int>> imaged_;
    std::size_t bytes_ = 0;
    std::function<void(InputContainer&)> hook_;
    std::function<void()> stateHook_;
};

// Opens a step for its lifetime (when there is a history).
class UndoScope {
public:
    explicit UndoScope(UndoHistory* history, unsigned mergeKey = 0) : history_(history) {
        if (history_)
            history_->Begin(mergeKey);
    }
    ~UndoScope() {
        if (history_)
            history_->End();
    }
    UndoScope(const UndoScope&) = delete;
    UndoScope& operator=(const UndoScope&) = delete;

private:
    UndoHistory* history_;
};
