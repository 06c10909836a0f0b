#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

// The grid that shows a table, as the table sees it. Rows and columns passed
// to DrawCell and DrawRow are table coordinates; Fill, CurrentRow and
// CurrentCol use grid coordinates (the grid's fixed rows and columns included).
class TableGrid {
public:
    virtual ~TableGrid() = default;
    virtual void DrawCell(int row, int col) = 0;
    virtual void DrawRow(int row) = 0;
    // Reloads (commits) the edit cell at the grid's current cell.
    virtual void Fill(int gridRow, int gridCol) = 0;
    virtual int RowCount() const = 0;
    virtual void SetRowCount(int rows) = 0;
    virtual int FixedRows() const = 0;
    virtual int CurrentRow() const = 0;
    virtual int CurrentCol() const = 0;
    virtual void Repaint() = 0;
    // The table is destroyed while the grid still shows it.
    virtual void ContainerDestroyed() = 0;
};

// The document that owns the tables: told when the system or the load case
// changed (the main window implements it).
class DocumentObserver {
public:
    virtual ~DocumentObserver() = default;
    virtual void SystemChanged() = 0;
    virtual void LoadCaseChanged() = 0;
};

// Growable array of fixed-size records in one block; the capacity is counted
// in bytes and grows by the record need plus a margin of 50 bytes.
class ContainerTyp {
public:
    static constexpr int kGrowthMargin = 50;

    ContainerTyp(int recordSize, int growthMargin = kGrowthMargin);
    virtual ~ContainerTyp();
    ContainerTyp(const ContainerTyp&) = delete;
    ContainerTyp& operator=(const ContainerTyp&) = delete;

    virtual void InitRecord(void* /*record*/) {}
    virtual void ReleaseRecord(int /*row*/) {}
    virtual std::string TypeName() const = 0;

    void Reserve();
    // Room for rows records in one step (plus the margin).
    void Reserve(int rows);
    void* Put(const void* source, int row);
    void InsertAt(int row, const void* source);
    void RemoveAt(int row, int n);
    void* At(int row) const { return storage_ + static_cast<size_t>(row) * recordSize_; }
    void Release();

    int Count() const { return count_; }
    int Capacity() const { return capacity_; }
    int RecordSize() const { return recordSize_; }

protected:
    // Grows or allocates the record block (realloc); null when there is no
    // memory, and the block is then unchanged. Tests replace it to run out
    // of memory at a chosen moment.
    virtual void* Reallocate(void* block, size_t bytes);

private:
    int recordSize_;
    char* storage_ = nullptr;
    int capacity_ = 0;
    int growthMargin_;
    int count_ = 0;
};

// Every record begins with these two words.
struct RecordHead {
    int32_t flag; // 0 empty, 1 entered by the user, 255 read from a file
    int32_t slot; // scratch word of the valid-row index
};

// The row a record number (row + 1) names; -1, a row no table has, for a
// number below 1 (number - 1 would overflow for the smallest int32).
constexpr int RowOfNumber(int32_t number) {
    return number >= 1 ? number - 1 : -1;
}

constexpr int32_t kFlagUser = 1;
constexpr int32_t kFlagFile = 255;

// The table interface the grid, the files, the checks, the analysis, the
// protocols and the drawings reach the records through.
class InputContainer : public ContainerTyp {
public:
    explicit InputContainer(int recordSize);
    ~InputContainer() override;

    std::string TypeName() const override { return "InputContainer"; }

    virtual int IsRowValid(int row, int col);
    virtual bool IsRowUsed(int row) { return IsRowValid(row, 0) == 1; }
    virtual void InitRow(int /*row*/) {}
    virtual void NotifyChanged() {}
    virtual void* ValuePtr(int row, int col) = 0;
    virtual void StoreValue(int row, int col, const void* value) = 0;
    virtual void WriteSection(std::FILE* file);
    // Replaces the content by the table's section of file; false when the
    // file holds no such section (the table is then empty).
    virtual bool ReadSection(std::FILE* file);
    virtual const char* SectionKeyword() const { return "Void"; }
    virtual std::string ListString(int /*col*/, int /*i*/) { return std::string(); }
    virtual int ListStringCount(int /*col*/) { return 0; }
    virtual bool IsCellReadOnly(int /*row*/, int /*col*/) { return false; }
    virtual void RowSelected(int /*row*/) {}
    virtual bool CopyRow(int from, int to) = 0;
    virtual void WriteRecord(std::FILE* /*file*/, int /*row*/) {}
    virtual void ReadRecord(const char* /*line*/, int /*row*/) {}

    void* RowRecord(int row);
    void EnsureRows(int n);
    int ValidCount();
    void* ValidRow(int k);
    int UsedRowCount();
    int IndexOf(const void* record) const;
    void Reset();
    void SetRowValid(int row, int col, int32_t flag);
    void SetCellValue(int row, int col, const void* value);
    void AttachGrid(TableGrid* grid);
    void Refresh();
    void InsertRow(int row);
    void DeleteRow(int row);
    void MoveRow(int from, int to);

    TableGrid* Grid() const { return grid_; }
    // The first record number outside 1 ... kMaxRecordNumber that the last
    // ReadSection met; that record line was skipped. Empty after Reset.
    std::optional<long> RejectedRecordNumber() const { return rejectedNumber_; }
    void SetObserver(DocumentObserver* observer) { observer_ = observer; }
    // Marks the valid-row index stale; every change of validity or content does.
    void InvalidateIndex() { validCount_ = -1; }

    // Commits a pending edit of the attached grid into the table.
    void CommitGridEdit();

protected:
    DocumentObserver* Observer() const { return observer_; }

private:
    int validCount_ = -1;
    std::optional<long> rejectedNumber_;
    TableGrid* grid_ = nullptr;
    DocumentObserver* observer_ = nullptr;
};

// A table of one record type: typed access and the behaviour every table
// shares (rows are never copied).
template <class Rec> class RecordTable : public InputContainer {
public:
    RecordTable() : InputContainer(sizeof(Rec)) {}
    Rec* RowRecord(int row) { return static_cast<Rec*>(InputContainer::RowRecord(row)); }
    Rec* ValidRow(int k) { return static_cast<Rec*>(InputContainer::ValidRow(k)); }
    Rec* At(int row) const { return static_cast<Rec*>(ContainerTyp::At(row)); }
    bool CopyRow(int /*from*/, int /*to*/) override { return false; }
    // The record a reference names (number = row + 1) when its row is valid,
    // else null. Never grows the table, unlike RowRecord, and takes any
    // number, however far out of range.
    Rec* Existing(long long number) {
        if (number < 1 || number > Count() || !IsRowUsed(static_cast<int>(number - 1)))
            return nullptr;
        return At(static_cast<int>(number - 1));
    }
};
