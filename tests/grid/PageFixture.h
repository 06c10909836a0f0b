#pragma once

#include "FakeGrid.h"
#include "GridLayouts.h"
#include "model/Tables.h"

#include <memory>
#include <vector>

// Counts the document's change notifications.
struct ChangeCounter : DocumentObserver {
    void SystemChanged() override { ++system; }
    void LoadCaseChanged() override { ++loadCase; }
    int Total() const { return system + loadCase; }
    int system = 0;
    int loadCase = 0;
};

// A windowless grid set up like an input page and bound to its table in a
// model of its own, with test dialogs and counted changes.
struct PageFixture {
    explicit PageFixture(Page page) {
        model.SetObserver(&changes);
        grid.SetDialogs(&dialogs);
        parts = SetUpPage(grid, page, model);
    }

    InputContainer& Table() { return *grid.Container(); }
    // Grid row of a table row.
    int GridRow(int tableRow) const { return tableRow + grid.FixedRows(); }

    void Type(const QString& text) {
        for (const QChar ch : text)
            grid.UKeyPress(ch);
    }
    bool Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        return grid.UKeyDown(key, modifiers);
    }
    // A left click dx pixels right of the cell's left edge.
    void Click(int row, int col, int dx = 2) {
        const QRect rect = grid.CellRect(row, col);
        grid.UMouseDown(GridButton::Left, rect.x() + dx, rect.y() + 2);
        grid.UMouseUp();
    }
    // Makes the table show what was written into its records directly.
    void Refresh() { Table().Refresh(); }

    InputModel model;
    ChangeCounter changes;
    FakeGridDialogs dialogs;
    FakeGrid grid;
    std::unique_ptr<QObject> parts;
};
