// Undo and redo of every grid command, seeded random edit sequences, the
// exact clipboard text of numbers and the filtered paste.
#include "PageFixture.h"
#include "support/QtTestRegistry.h"
#include "support/RandomSeed.h"
#include "support/TableRows.h"

#include <QTest>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>

namespace {

// The section the table writes into its file.
QByteArray Written(InputContainer& table) {
    char* buffer = nullptr;
    size_t size = 0;
    std::FILE* file = open_memstream(&buffer, &size);
    table.WriteSection(file);
    std::fclose(file);
    QByteArray bytes(buffer, static_cast<qsizetype>(size));
    std::free(buffer);
    return bytes;
}

// Three nodes and two beams between them, the grid on the node page.
void FillSystem(PageFixture& f) {
    for (int i = 0; i < 3; ++i) {
        NodeRec& node = ValidRecord(f.model.nodes, i);
        node.x = 1.5 * i;
        node.y = 0.25 + i;
        node.fixZ = i % 2;
    }
    for (int i = 0; i < 2; ++i) {
        BeamRec& beam = ValidRecord(f.model.beams, i);
        beam.start = i + 1;
        beam.end = i + 2;
        beam.section = 1;
    }
    f.Refresh();
}

using Command = std::function<void(PageFixture&)>;

struct NamedCommand {
    const char* name;
    Command run;
};

// Every command that changes the node table through the grid (row 1 of
// the grid is table row 0).
std::vector<NamedCommand> Commands() {
    return {
        {"typed cell", [](PageFixture& f) { f.Type(QStringLiteral("7,5")), f.Key(Qt::Key_Tab); }},
        {"typed into a new row",
         [](PageFixture& f) {
             f.grid.MoveTo(f.GridRow(5), 1);
             f.Type(QStringLiteral("9"));
             f.Key(Qt::Key_Tab);
         }},
        {"paste",
         [](PageFixture& f) {
             f.grid.clipboard = QStringLiteral("1\t2\r\n3\t4\r\n5\t6\r\n");
             f.Key(Qt::Key_V, Qt::ControlModifier);
         }},
        {"add", [](PageFixture& f) { f.grid.SetBlock(2, 1, 4, 2, true), f.grid.AddBlock(2); }},
        {"multiply",
         [](PageFixture& f) { f.grid.SetBlock(2, 1, 3, 6, true), f.grid.MultBlock(3); }},
        {"delete block",
         [](PageFixture& f) { f.grid.SetBlock(2, 1, 3, 2, true), f.grid.DelPoupClick(); }},
        {"clear row", [](PageFixture& f) { f.Key(Qt::Key_Delete, Qt::ControlModifier); }},
        {"insert line", [](PageFixture& f) { f.Key(Qt::Key_Insert, Qt::AltModifier); }},
        {"delete line",
         [](PageFixture& f) {
             f.dialogs.answers = {true};
             f.Key(Qt::Key_Delete, Qt::AltModifier);
         }},
        {"fill down", [](PageFixture& f) { f.grid.SetBlock(2, 1, 6, 3, true), f.grid.FillDown(); }},
        {"series",
         [](PageFixture& f) { f.grid.SetBlock(2, 1, 6, 2, true), f.grid.FillSeries(2, 0.5); }},
        {"double click", [](PageFixture& f) { f.grid.MoveTo(2, 3), f.grid.UDblClick(); }},
        {"list choice typed",
         [](PageFixture& f) { f.grid.MoveTo(3, 4), f.Type(QStringLiteral("1")); }},
    };
}

} // namespace

class GridUndoTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void undoOfEveryCommandRestoresTheFile() {
        for (const NamedCommand& command : Commands()) {
            PageFixture f(Page::Knoten);
            FillSystem(f);
            const QByteArray before = Written(f.model.nodes);
            command.run(f);
            f.grid.Push(); // what a save stores first
            const QByteArray after = Written(f.model.nodes);
            QVERIFY2(after != before, command.name);
            const int changes = f.changes.Total();
            f.Key(Qt::Key_Z, Qt::ControlModifier);
            QVERIFY2(Written(f.model.nodes) == before, command.name);
            QVERIFY2(f.changes.Total() > changes, command.name); // the half is modified
            f.Key(Qt::Key_Y, Qt::ControlModifier);
            QVERIFY2(Written(f.model.nodes) == after, command.name);
            QCOMPARE(f.grid.History().UndoCount(), 1);
        }
    }

    // The first keystroke makes the row valid, Tab stores the text: one step.
    void aTypedCellIsOneStepAndAPendingTextGoesFirst() {
        PageFixture f(Page::Knoten);
        f.Type(QStringLiteral("4"));
        f.Key(Qt::Key_Tab);
        f.Type(QStringLiteral("8"));
        QCOMPARE(f.grid.History().UndoCount(), 1);
        f.Key(Qt::Key_Z, Qt::ControlModifier); // drops the typed 8 only
        QCOMPARE(f.grid.EditText(), QStringLiteral("0.000"));
        QCOMPARE(f.model.nodes.At(0)->x, 4.0);
        f.Key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.model.nodes.ValidCount(), 0);
        BeepCounter beeps;
        f.Key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(beeps.count, 1);
    }

    // Edits and undos in a seeded random order end where the kept edits
    // alone end.
    void randomEditsAndUndosEndAsTheKeptEdits() {
        const quint32 seed = RandomTestSeed();
        std::mt19937 random(seed);
        auto pick = [&random](int n) { return static_cast<int>(random() % n); };
        struct Edit {
            int kind, row, col;
            double value;
        };
        auto apply = [](PageFixture& f, const Edit& e) {
            f.grid.MoveTo(f.GridRow(e.row), e.col);
            switch (e.kind) {
            case 0:
                f.grid.clipboard = QString::number(e.value, 'g', 17);
                f.Key(Qt::Key_V, Qt::ControlModifier);
                break;
            case 1:
                f.Key(Qt::Key_Delete, Qt::ControlModifier);
                break;
            case 2:
                f.Key(Qt::Key_Insert, Qt::AltModifier);
                break;
            default:
                f.dialogs.answers = {true};
                f.Key(Qt::Key_Delete, Qt::AltModifier);
                break;
            }
        };
        PageFixture mixed(Page::Knoten);
        std::vector<Edit> kept;
        for (int step = 0; step < 300; ++step) {
            if (!kept.empty() && pick(4) == 0) {
                mixed.Key(Qt::Key_Z, Qt::ControlModifier);
                kept.pop_back();
                continue;
            }
            const Edit edit{pick(10) < 7 ? 0 : 1 + pick(3), pick(12), 1 + pick(6),
                            (static_cast<int>(random() % 2001) - 1000) / 8.0};
            const int steps = mixed.grid.History().UndoCount();
            apply(mixed, edit);
            // A refused paste or the clearing of an empty row is no step.
            if (mixed.grid.History().UndoCount() > steps)
                kept.push_back(edit);
        }
        PageFixture plain(Page::Knoten);
        for (const Edit& edit : kept)
            apply(plain, edit);
        QVERIFY2(Written(mixed.model.nodes) == Written(plain.model.nodes),
                 qPrintable(QStringLiteral("seed %1").arg(seed)));
    }

    void theHistoryIsBounded() {
        PageFixture f(Page::Knoten);
        for (int i = 0; i < UndoHistory::kMaxSteps + 5; ++i) {
            f.grid.clipboard = QString::number(i);
            f.Key(Qt::Key_V, Qt::ControlModifier);
        }
        QCOMPARE(f.grid.History().UndoCount(), UndoHistory::kMaxSteps);
        QVERIFY(f.grid.History().Bytes() < UndoHistory::kMaxBytes);
    }

    // Random doubles of every magnitude copied and pasted come back bit for bit.
    void copyAndPasteOfRandomDoublesIsExact() {
        const quint32 seed = RandomTestSeed();
        std::mt19937_64 random(seed);
        PageFixture f(Page::Knoten);
        std::vector<double> values;
        for (int row = 0; row < 50; ++row) {
            NodeRec& node = ValidRecord(f.model.nodes, row);
            for (double* field : {&node.x, &node.y, &node.skew}) {
                double value;
                do {
                    const uint64_t bits = random();
                    std::memcpy(&value, &bits, sizeof value);
                } while (!std::isfinite(value));
                *field = value;
                values.push_back(value);
            }
        }
        values.push_back(12.3456);
        values.push_back(99983);
        ValidRecord(f.model.nodes, 50).x = 12.3456;
        ValidRecord(f.model.nodes, 50).y = 99983;
        f.Refresh();
        f.grid.SetBlock(f.GridRow(0), 1, f.GridRow(50), 6, true);
        f.grid.Copy();
        f.grid.SetRowCount(f.GridRow(200));
        f.grid.MoveTo(f.GridRow(100), 1);
        f.Key(Qt::Key_V, Qt::ControlModifier);
        for (int row = 0; row <= 50; ++row) {
            const NodeRec& copy = *f.model.nodes.At(100 + row);
            const NodeRec& original = *f.model.nodes.At(row);
            QVERIFY2(std::memcmp(&copy.x, &original.x, sizeof(double) * 2) == 0 &&
                         copy.skew == original.skew && copy.fixZ == original.fixZ,
                     qPrintable(QStringLiteral("seed %1, row %2").arg(seed).arg(row)));
        }
    }

    // Paste takes what typing takes, skips a header line and beeps once.
    void pasteFiltersLikeTyping_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("valid"); // rows made valid
        QTest::addColumn<double>("x");  // x of the first row
        QTest::addColumn<int>("fixZ");  // its support z
        QTest::addColumn<int>("beeps");
        QTest::addColumn<bool>("header");
        QTest::newRow("word") << "abc" << 0 << 0.0 << 0 << 1 << false;
        QTest::newRow("1 and 0 for J and N") << "2,5\t3\t1\t0\r\n" << 1 << 2.5 << 1 << 0 << false;
        QTest::newRow("header") << "x\ty\tz\r\n4\t5\tJ\r\n" << 1 << 4.0 << 1 << 0 << true;
        QTest::newRow("bad cells") << "7\tq\tX\r\n" << 1 << 7.0 << 0 << 1 << false;
    }
    void pasteFiltersLikeTyping() {
        QFETCH(QString, text);
        PageFixture f(Page::Knoten);
        BeepCounter beeps;
        f.grid.clipboard = text;
        f.Key(Qt::Key_V, Qt::ControlModifier);
        QTEST(f.model.nodes.ValidCount(), "valid");
        QTEST(f.model.nodes.RowRecord(0)->x, "x");
        QTEST(f.model.nodes.RowRecord(0)->fixZ, "fixZ");
        QTEST(beeps.count, "beeps");
        QTEST(!f.grid.status.isEmpty(), "header");
    }

    // A cleared row is empty: typing into it starts from a new row's defaults.
    void aClearedRowStartsAnew() {
        PageFixture f(Page::Knoten);
        NodeRec& node = ValidRecord(f.model.nodes, 0);
        node = NodeRec{kFlagUser, 0, 1, 2, 1, 1, 1, 45, 0};
        f.Refresh();
        f.Key(Qt::Key_Delete, Qt::ControlModifier);
        f.Type(QStringLiteral("9"));
        f.Key(Qt::Key_Tab);
        const NodeRec& typed = *f.model.nodes.At(0);
        QCOMPARE(typed.x, 9.0);
        QCOMPARE(typed.y, 0.0);
        QCOMPARE(typed.fixZ + typed.fixRx + typed.fixRy, 0);
        QCOMPARE(typed.skew, 0.0);
    }

    // Shift with the caret keys marks the block Ctrl+C copies; Ctrl+A the table.
    void keyboardBlockAndNavigation() {
        PageFixture f(Page::Knoten);
        FillSystem(f);
        f.Key(Qt::Key_Right, Qt::ShiftModifier);
        f.Key(Qt::Key_Down, Qt::ShiftModifier);
        QVERIFY(f.grid.BlockActive());
        f.Key(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(f.grid.clipboard, QStringLiteral("0\t0.25\t\r\n1.5\t1.25\t\r\n"));
        // Ctrl+D fills the block's first row into the rows below.
        f.Key(Qt::Key_D, Qt::ControlModifier);
        f.Key(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(f.grid.clipboard, QStringLiteral("0\t0.25\t\r\n0\t0.25\t\r\n"));
        f.Key(Qt::Key_Z, Qt::ControlModifier);
        f.Key(Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(
            QList<int>({f.grid.AnchorRow(), f.grid.AnchorCol(), f.grid.EndRow(), f.grid.EndCol()}),
            QList<int>({2, 1, 4, 6}));
        f.Key(Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(f.grid.Row(), f.GridRow(2));
        f.Key(Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(f.grid.Row(), f.GridRow(0));
        f.Key(Qt::Key_PageDown, Qt::ControlModifier);
        f.Key(Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
        f.Key(Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(f.grid.pageSteps, 1);
    }

    // Six-digit row numbers fit their column.
    void rowNumbersFit() {
        PageFixture f(Page::Knoten);
        f.grid.SetRowCount(100000 + f.grid.FixedRows());
        QVERIFY(f.grid.FirstColumnWidth() >= f.grid.TextWidth(QStringLiteral("100000")) + 4);
    }
};

BALKOR_REGISTER_TEST(GridUndoTest);
#include "UndoTest.moc"
