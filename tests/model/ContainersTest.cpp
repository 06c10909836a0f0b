#include "model/BalkorError.h"
#include "model/InputContainer.h"
#include "model/Tables.h"
#include "model/UContainer.h"

#include <climits>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace {

// A grid that records what the table asks of it.
class FakeGrid : public TableGrid {
public:
    void DrawCell(int row, int col) override { drawnCells.push_back({row, col}); }
    void DrawRow(int row) override { drawnRows.push_back(row); }
    void Fill(int gridRow, int gridCol) override { fills.push_back({gridRow, gridCol}); }
    int RowCount() const override { return rowCount; }
    void SetRowCount(int rows) override { rowCount = rows; }
    int FixedRows() const override { return 2; }
    int CurrentRow() const override { return currentRow; }
    int CurrentCol() const override { return currentCol; }
    void Repaint() override { ++repaints; }
    void ContainerDestroyed() override { destroyed = true; }

    std::vector<std::pair<int, int>> drawnCells, fills;
    std::vector<int> drawnRows;
    int rowCount = 0, currentRow = 0, currentCol = 0, repaints = 0;
    bool destroyed = false;
};

class CountingObserver : public DocumentObserver {
public:
    void SystemChanged() override { ++system; }
    void LoadCaseChanged() override { ++loadCase; }
    int system = 0, loadCase = 0;
};

// A beam table that counts the defaults it applies.
class CountingBeams : public BeamClass {
public:
    void InitRow(int row) override {
        ++initRows;
        BeamClass::InitRow(row);
    }
    int initRows = 0;
};

void MakeValid(InputContainer& table, int row) {
    static_cast<RecordHead*>(table.RowRecord(row))->flag = kFlagUser;
    table.InvalidateIndex();
}

} // namespace

TEST(UContainer, GrowsByAtLeastItsGrowthAndKeepsContents) {
    UContainer c(sizeof(int), 4);
    EXPECT_EQ(c.Count(), 0);
    int values[3] = {1, 2, 3};
    int* last = static_cast<int*>(c.Append(values, 3));
    EXPECT_EQ(*last, 3);
    EXPECT_EQ(c.Capacity(), 4); // max(3, 4)
    int more[2] = {4, 5};
    c.Append(more, 2);
    EXPECT_EQ(c.Capacity(), 8);
    EXPECT_EQ(c.Count(), 5);
    int nine = 9;
    c.Insert(&nine, 1);
    const int expected[] = {1, 9, 2, 3, 4, 5};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(*static_cast<int*>(c.At(i)), expected[i]) << i;
    int seven = 7;
    c.Put(&seven, 0, 1);
    EXPECT_EQ(*static_cast<int*>(c.At(0)), 7);
    c.Clear();
    EXPECT_EQ(c.Count(), 0);
    EXPECT_EQ(c.Capacity(), 0);
}

TEST(ContainerTyp, CapacityIsNeedPlusFiftyBytes) {
    BeamLoadClass table; // 48-byte records
    ASSERT_EQ(table.RecordSize(), 48);
    table.Put(nullptr, -1);
    EXPECT_EQ(table.Capacity(), 98);
    table.Put(nullptr, -1); // 96 bytes fit
    EXPECT_EQ(table.Capacity(), 98);
    table.Put(nullptr, -1); // 144 bytes: 194
    EXPECT_EQ(table.Capacity(), 194);
    EXPECT_EQ(table.Count(), 3);
    table.Release();
    EXPECT_EQ(table.Count(), 0);
    EXPECT_EQ(table.Capacity(), 0);
}

// A node table whose memory runs out after a given number of allocations.
class ScarceNodes : public NodeClass {
public:
    explicit ScarceNodes(int grants) : grants_(grants) {}
    int requests = 0;

protected:
    void* Reallocate(void* block, size_t bytes) override {
        ++requests;
        return requests > grants_ ? nullptr : NodeClass::Reallocate(block, bytes);
    }

private:
    int grants_;
};

TEST(ContainerTyp, OutOfMemoryKeepsTheRecords) {
    ScarceNodes table(3);
    int stored = 0;
    int capacity = 0;
    try {
        for (;; ++stored) {
            static_cast<NodeRec*>(table.Put(nullptr, -1))->x = 10.0 + stored;
            capacity = table.Capacity();
        }
    } catch (const BalkorError& e) {
        EXPECT_STREQ(e.what(), "Nicht genung Speicher (InputContainer)");
    }
    EXPECT_EQ(table.requests, 4);
    EXPECT_GE(stored, 3);
    EXPECT_EQ(table.Count(), stored);
    EXPECT_EQ(table.Capacity(), capacity);
    for (int row = 0; row < stored; ++row)
        EXPECT_EQ(table.At(row)->x, 10.0 + row);
    // Every way of growing the table reports the same and keeps the records.
    EXPECT_THROW(table.InsertRow(0), BalkorError);
    EXPECT_THROW(table.RowRecord(stored + 5), BalkorError);
    EXPECT_EQ(table.Count(), stored);
    EXPECT_EQ(table.At(0)->x, 10.0);
}

TEST(ContainerTyp, BlockBeyondAnIntCapacityIsNotAskedFor) {
    struct Huge : InputContainer {
        Huge() : InputContainer(INT_MAX - 10) {}
        void* ValuePtr(int, int) override { return nullptr; }
        void StoreValue(int, int, const void*) override {}
        bool CopyRow(int, int) override { return false; }
        void* Reallocate(void*, size_t) override {
            ADD_FAILURE() << "no block larger than an int capacity may be requested";
            return nullptr;
        }
    };
    Huge table;
    EXPECT_THROW(table.Put(nullptr, -1), BalkorError);
    EXPECT_EQ(table.Count(), 0);
    EXPECT_EQ(table.Capacity(), 0);
}

TEST(InputContainer, NewTableIsEmpty) {
    NodeClass nodes;
    EXPECT_EQ(nodes.Count(), 0);
    EXPECT_EQ(nodes.ValidCount(), 0);
    EXPECT_EQ(nodes.UsedRowCount(), 0);
    EXPECT_EQ(nodes.TypeName(), "InputContainer");
    EXPECT_STREQ(static_cast<InputContainer&>(nodes).SectionKeyword(), "NODES");
}

TEST(InputContainer, ValuePtrGrowsTheTableWithInvalidRows) {
    InputModel model;
    double* x = static_cast<double*>(model.nodes.ValuePtr(5, 0));
    ASSERT_NE(x, nullptr);
    EXPECT_EQ(model.nodes.Count(), 6);
    EXPECT_EQ(x, &model.nodes.At(5)->x);
    for (int row = 0; row < 6; ++row) {
        EXPECT_EQ(model.nodes.At(row)->flag, 0);
        EXPECT_EQ(model.nodes.At(row)->x, 0.0);
    }
    EXPECT_EQ(model.nodes.ValidCount(), 0);
}

TEST(InputContainer, ValidRowIndexSkipsGaps) {
    InputModel model;
    model.nodes.EnsureRows(6);
    for (int row = 0; row < 6; ++row)
        model.nodes.At(row)->x = row * 10.0;
    MakeValid(model.nodes, 1);
    MakeValid(model.nodes, 4);
    ASSERT_EQ(model.nodes.ValidCount(), 2);
    EXPECT_EQ(model.nodes.ValidRow(0)->x, 10.0);
    EXPECT_EQ(model.nodes.ValidRow(1)->x, 40.0);
    EXPECT_EQ(model.nodes.IndexOf(model.nodes.ValidRow(1)), 4);
    EXPECT_EQ(model.nodes.UsedRowCount(), 5);
    // The index lives in the slot words of the first positions.
    EXPECT_EQ(model.nodes.At(0)->slot, 1);
    EXPECT_EQ(model.nodes.At(1)->slot, 4);

    // A row read from a file (255) counts as valid too.
    model.nodes.At(5)->flag = kFlagFile;
    model.nodes.InvalidateIndex();
    EXPECT_EQ(model.nodes.ValidCount(), 3);
    EXPECT_EQ(model.nodes.UsedRowCount(), 6);
    EXPECT_EQ(model.nodes.IsRowValid(-1, 0), 0);
    EXPECT_EQ(model.nodes.IsRowValid(6, 0), 0);
}

TEST(InputContainer, SetRowValidAppliesDefaultsOnceAndNotifiesOnChange) {
    CountingBeams beams;
    NodeClass nodes;
    beams.nodes = &nodes;
    FakeGrid grid;
    CountingObserver observer;
    beams.SetObserver(&observer);
    beams.AttachGrid(&grid);
    EXPECT_EQ(grid.rowCount, 42); // 40 empty rows below the fixed ones

    beams.SetRowValid(0, 1, kFlagUser);
    EXPECT_EQ(beams.initRows, 1);
    EXPECT_EQ(observer.system, 1);
    EXPECT_EQ(grid.drawnRows, std::vector<int>{0});
    EXPECT_EQ(beams.At(0)->section, 1);
    EXPECT_EQ(beams.At(0)->intervals, 5);

    beams.SetRowValid(0, 1, kFlagUser); // no change
    EXPECT_EQ(beams.initRows, 1);
    EXPECT_EQ(observer.system, 1);

    beams.At(0)->flag = kFlagFile; // a row read from a file is valid already
    beams.SetRowValid(0, 1, kFlagUser);
    EXPECT_EQ(beams.initRows, 1);

    // Clearing keeps the values; validating again shows them after the defaults.
    beams.At(0)->thickness = 0.4;
    beams.At(0)->intervals = 8;
    beams.SetRowValid(0, 1, 0);
    EXPECT_EQ(beams.ValidCount(), 0);
    EXPECT_EQ(beams.At(0)->thickness, 0.4);
    EXPECT_EQ(observer.system, 2);
    beams.SetRowValid(0, 1, kFlagUser);
    EXPECT_EQ(beams.initRows, 2);
    EXPECT_EQ(beams.At(0)->intervals, 8);
    EXPECT_EQ(beams.ValidCount(), 1);
    beams.AttachGrid(nullptr);
}

TEST(InputContainer, SetCellValueStoresRepaintsAndNotifies) {
    InputModel model;
    FakeGrid grid;
    CountingObserver observer;
    model.SetObserver(&observer);
    model.nodeLoads.AttachGrid(&grid);
    const double fz = -12.5;
    model.nodeLoads.SetCellValue(3, 2, &fz);
    EXPECT_EQ(model.nodeLoads.At(3)->Fz, -12.5);
    EXPECT_EQ(grid.drawnCells, (std::vector<std::pair<int, int>>{{3, 2}}));
    EXPECT_EQ(observer.loadCase, 1);
    EXPECT_EQ(observer.system, 0);
    model.nodeLoads.AttachGrid(nullptr);
}

TEST(InputContainer, RefreshSizesTheGridAndCommitsTheEditCell) {
    InputModel model;
    FakeGrid grid;
    grid.currentRow = 3;
    grid.currentCol = 2;
    model.nodes.EnsureRows(60);
    MakeValid(model.nodes, 49);
    model.nodes.AttachGrid(&grid);
    EXPECT_EQ(grid.rowCount, 52); // 50 used rows and 2 fixed
    EXPECT_EQ(grid.fills, (std::vector<std::pair<int, int>>{{3, 2}}));
    EXPECT_GE(grid.repaints, 1);
    model.nodes.EnsureRows(70);
    EXPECT_EQ(grid.rowCount, 72);
    model.nodes.AttachGrid(nullptr);
}

TEST(InputContainer, DestroyedTableLeavesItsGrid) {
    FakeGrid grid;
    {
        NodeClass nodes;
        nodes.AttachGrid(&grid);
    }
    EXPECT_TRUE(grid.destroyed);
}

TEST(InputContainer, InsertAndDeleteRenumberRows) {
    TempLoadClass table;
    for (int row = 0; row < 5; ++row) {
        table.RowRecord(row)->dT = row + 1.0;
        MakeValid(table, row);
    }
    table.InsertRow(2);
    ASSERT_EQ(table.Count(), 6);
    const double afterInsert[] = {1, 2, 0, 3, 4, 5};
    for (int row = 0; row < 6; ++row)
        EXPECT_EQ(table.At(row)->dT, afterInsert[row]) << row;
    EXPECT_EQ(table.At(2)->flag, 0);
    EXPECT_EQ(table.ValidCount(), 5);

    table.DeleteRow(0);
    ASSERT_EQ(table.Count(), 5);
    const double afterDelete[] = {2, 0, 3, 4, 5};
    for (int row = 0; row < 5; ++row)
        EXPECT_EQ(table.At(row)->dT, afterDelete[row]) << row;

    table.InsertRow(9); // below the last record: the table grows to it
    EXPECT_EQ(table.Count(), 10);
    EXPECT_EQ(table.At(9)->flag, 0);
}

TEST(InputContainer, MoveAndCopyChangeNothing) {
    InputModel model;
    model.nodes.RowRecord(0)->x = 1.0;
    MakeValid(model.nodes, 0);
    model.nodes.RowRecord(1)->x = 2.0;
    EXPECT_FALSE(model.nodes.CopyRow(0, 1));
    model.nodes.MoveRow(0, 1);
    EXPECT_EQ(model.nodes.At(0)->flag, kFlagUser);
    EXPECT_EQ(model.nodes.At(1)->x, 2.0);
    EXPECT_EQ(model.nodes.ValidCount(), 1);
}

TEST(InputContainer, ResetEmptiesTheTable) {
    InputModel model;
    FakeGrid grid;
    model.hinges.AttachGrid(&grid);
    const int repaints = grid.repaints;
    MakeValid(model.hinges, 3);
    EXPECT_EQ(model.hinges.ValidCount(), 1);
    model.hinges.Reset();
    EXPECT_EQ(model.hinges.Count(), 0);
    EXPECT_EQ(model.hinges.ValidCount(), 0);
    EXPECT_GT(grid.repaints, repaints);
    model.hinges.AttachGrid(nullptr);
}
