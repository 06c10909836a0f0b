// The editable grid on a large table: a node table of N valid rows (N =
// 1,000 and 100,000) shown in a grid of 600 × 420 pixels with the node
// page's columns, offscreen. Timed: painting one screen, a key press in a
// cell (typing a digit, deleting it again), typing a value and committing it
// with Tab, scrolling to the end and back, binding the grid to the table, and
// taking back (undo) a paste of N rows.

#include "grid/UserGrid.h"
#include "grid/UserInt.h"
#include "grid/UserList.h"
#include "model/Tables.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {

// A window with a grid laid out like the node page, bound to a node table
// of rows valid records.
struct LargeGrid {
    explicit LargeGrid(int rows) {
        for (int row = 0; row < rows; ++row) {
            NodeRec* node = table.RowRecord(row);
            node->flag = kFlagFile;
            node->x = 2.5 * row;
            node->y = 1.0 / (row + 1);
            node->fixZ = row % 2;
        }
        window.resize(600, 420);
        grid = new TUserGrid(&window);
        grid->SetColCount(7);
        grid->SetFixedRows(2);
        grid->SetFirstColumnWidth(40);
        const int widths[] = {100, 100, 40, 40, 40, 105};
        for (int col = 1; col <= 6; ++col) {
            std::unique_ptr<TUserCell> column;
            if (col >= 3 && col <= 5) {
                auto list = std::make_unique<TUserList>();
                list->SetList({QStringLiteral("N"), QStringLiteral("J")});
                list->SetFilter(QStringLiteral("0N1J"));
                list->SetMaxTextLen(1);
                list->SetCenter(true);
                column = std::move(list);
            } else {
                auto number = std::make_unique<TUserInt>();
                number->SetTyp(uDouble);
                number->SetFormat(QStringLiteral("%#.4lg"));
                column = std::move(number);
            }
            column->SetColumn(col);
            column->SetColWidth(widths[col - 1]);
            column->SetGrid(grid);
            columns.push_back(std::move(column));
        }
        grid->SetContainer(&table);
        window.show();
        grid->setFocus();
        QApplication::processEvents();
    }

    void Key(int key, const QString& text = QString()) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(grid, &press);
    }

    NodeClass table;
    QWidget window;
    TUserGrid* grid;
    std::vector<std::unique_ptr<TUserCell>> columns;
};

void PaintOneScreen(benchmark::State& state) {
    LargeGrid large(static_cast<int>(state.range(0)));
    large.grid->verticalScrollBar()->setValue(large.grid->verticalScrollBar()->maximum() / 2);
    for (auto _ : state)
        large.grid->viewport()->repaint();
}

void KeyPressInACell(benchmark::State& state) {
    LargeGrid large(static_cast<int>(state.range(0)));
    large.grid->MoveTo(large.grid->RowCount() / 2, 1);
    large.Key(Qt::Key_End);
    for (auto _ : state) {
        large.Key(Qt::Key_7, QStringLiteral("7"));
        large.Key(Qt::Key_Backspace);
    }
}

void TypeAndCommit(benchmark::State& state) {
    LargeGrid large(static_cast<int>(state.range(0)));
    large.grid->MoveTo(large.grid->RowCount() / 2, 1);
    for (auto _ : state) {
        large.Key(Qt::Key_3, QStringLiteral("3"));
        large.Key(Qt::Key_Tab); // stores x, moves to y
        large.grid->MoveTo(large.grid->Row(), 1);
    }
}

void ScrollToTheEndAndBack(benchmark::State& state) {
    LargeGrid large(static_cast<int>(state.range(0)));
    QScrollBar* bar = large.grid->verticalScrollBar();
    for (auto _ : state) {
        bar->setValue(bar->maximum());
        large.grid->viewport()->repaint();
        bar->setValue(0);
        large.grid->viewport()->repaint();
    }
}

void BindToTheTable(benchmark::State& state) {
    LargeGrid large(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        large.grid->SetContainer(nullptr);
        large.grid->SetContainer(&large.table);
    }
}

// The paste (two numbers in each of N rows, over the valid rows) is made
// untimed; the undo that restores every row is timed.
void UndoOfAPaste(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    LargeGrid large(rows);
    QString text;
    for (int row = 0; row < rows; ++row)
        text += QStringLiteral("%1\t%2\r\n").arg(row * 0.125).arg(-row);
    for (auto _ : state) {
        state.PauseTiming();
        large.grid->MoveTo(large.grid->FixedRows(), 1);
        large.grid->PasteCells(large.grid->FixedRows(), 1, text);
        state.counters["step_MB"] = large.grid->History().Bytes() / 1.0e6;
        state.ResumeTiming();
        large.grid->Undo();
    }
}

} // namespace

BENCHMARK(UndoOfAPaste)->Arg(100000)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(PaintOneScreen)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(KeyPressInACell)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(TypeAndCommit)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(ScrollToTheEndAndBack)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BindToTheTable)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
