// Typing, committing and moving in a grid bound to a real table: what is
// stored, when, and where the current cell goes.
#include "PageFixture.h"
#include "grid/UserInt.h"
#include "support/QtTestRegistry.h"
#include "support/TableRows.h"

#include <QTest>
#include <cstring>
#include <memory>

namespace {

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// A table in which the user may edit nothing.
class ReadOnlyTable : public NodeClass {
public:
    bool IsCellReadOnly(int, int) override { return true; }
};

} // namespace

class GridEditingTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void boundGridShowsAtLeastFortyRows() {
        PageFixture empty(Page::Knoten);
        QCOMPARE(empty.grid.RowCount(), 40 + 2);
        QCOMPARE(empty.grid.Row(), 2);
        QCOMPARE(empty.grid.EditRow(), 2); // the table's refresh loaded the current cell
        PageFixture filled(Page::Querschnitte);
        ValidRecord(filled.model.mats, 54);
        filled.grid.SetContainer(&filled.model.mats);
        QCOMPARE(filled.grid.RowCount(), 55 + 1);
        filled.grid.SetContainer(nullptr);
        QCOMPARE(filled.model.mats.Grid(), nullptr);
    }

    void aSecondGridTakesTheTableOver() {
        NodeClass table;
        auto first = std::make_unique<FakeGrid>();
        FakeGrid second;
        first->SetContainer(&table);
        second.SetContainer(&table);
        first.reset(); // leaves the table with the second grid
        QCOMPARE(table.Grid(), static_cast<TableGrid*>(&second));
    }

    void visitedCellKeepsItsFullPrecision() {
        PageFixture f(Page::Knoten);
        ValidRecord(f.model.nodes, 0).x = 1.23456789012345;
        f.Refresh();
        QCOMPARE(f.grid.EditText(), QStringLiteral("1.235"));
        for (int i = 0; i < 5; ++i)
            QVERIFY(f.Key(Qt::Key_Tab));
        for (int i = 0; i < 5; ++i)
            QVERIFY(f.Key(Qt::Key_Tab, Qt::ShiftModifier));
        QCOMPARE(QPoint(f.grid.Col(), f.grid.Row()), QPoint(1, 2));
        f.grid.FocusLost();
        QVERIFY(SameBits(f.model.nodes.At(0)->x, 1.23456789012345));
        QCOMPARE(f.changes.Total(), 0);
    }

    void typingReplacesASelectedText() {
        PageFixture f(Page::Knoten);
        ValidRecord(f.model.nodes, 0).x = 2.5;
        f.Refresh();
        QVERIFY(f.grid.Select());
        f.Type(QStringLiteral("7"));
        QCOMPARE(f.grid.EditText(), QStringLiteral("7"));
        QCOMPARE(f.grid.CursorPos(), 1);
        QVERIFY(f.grid.EditChanged());
        QCOMPARE(f.model.nodes.At(0)->x, 2.5); // stored when the cell is left
        f.Key(Qt::Key_Tab);
        QCOMPARE(f.model.nodes.At(0)->x, 7.0);
        QCOMPARE(f.changes.system, 1);
    }

    void secondClickInsertsAtTheClickedPosition() {
        PageFixture f(Page::Knoten);
        ValidRecord(f.model.nodes, 0).x = 2.5;
        f.Refresh();
        f.Click(2, 1);
        QVERIFY(f.grid.Select());
        // Characters are 7 pixels wide after a 3-pixel margin: 17 is after "2.".
        f.Click(2, 1, 17);
        QVERIFY(!f.grid.Select());
        QCOMPARE(f.grid.CursorPos(), 2);
        f.Type(QStringLiteral("1"));
        QCOMPARE(f.grid.EditText(), QStringLiteral("2.1500"));
        f.Key(Qt::Key_Return);
        QCOMPARE(f.model.nodes.At(0)->x, 2.15);
    }

    void escapeBringsTheStoredTextBack() {
        PageFixture f(Page::Knoten);
        ValidRecord(f.model.nodes, 0).x = 2.5;
        f.Refresh();
        f.Type(QStringLiteral("9"));
        f.Key(Qt::Key_Escape);
        QCOMPARE(f.grid.EditText(), QStringLiteral("2.500"));
        QVERIFY(!f.grid.EditChanged());
        QCOMPARE(f.grid.CursorPos(), 0);
        f.Key(Qt::Key_Tab);
        QCOMPARE(f.model.nodes.At(0)->x, 2.5);
        QCOMPARE(f.changes.Total(), 0);
    }

    void typedDecimalCommaAndSecondComma() {
        PageFixture f(Page::Knoten);
        f.Type(QStringLiteral("1,5,3"));
        f.Key(Qt::Key_Tab);
        QCOMPARE(f.model.nodes.At(0)->x, 1.5);
        QCOMPARE(f.model.nodes.At(0)->flag, kFlagUser);
    }

    void numbersThatDoNotFitAreRefusedWithTheBeep() {
        PageFixture f(Page::Staebe);
        ValidRecord(f.model.beams, 0).start = 3;
        f.Refresh();
        BeepCounter beeps;
        f.Type(QStringLiteral("99999999999"));
        QCOMPARE(beeps.count, 0);
        f.Key(Qt::Key_Tab);
        QCOMPARE(beeps.count, 1);
        QCOMPARE(f.model.beams.At(0)->start, 3);
        f.grid.MoveTo(2, 1);
        QCOMPARE(f.grid.EditText(), QStringLiteral("3"));
        PageFixture nodes(Page::Knoten);
        ValidRecord(nodes.model.nodes, 0).x = 4.0;
        nodes.Refresh();
        nodes.Type(QStringLiteral("1e999"));
        nodes.Key(Qt::Key_Tab);
        QCOMPARE(beeps.count, 2);
        QCOMPARE(nodes.model.nodes.At(0)->x, 4.0);
    }

    void tabOrderAndWrap() {
        PageFixture f(Page::Knoten);
        QList<QPoint> visited;
        for (int i = 0; i < 7; ++i) {
            f.Key(Qt::Key_Tab);
            visited << QPoint(f.grid.Col(), f.grid.Row());
        }
        const QList<QPoint> expected = {{2, 2}, {3, 2}, {4, 2}, {5, 2}, {6, 2}, {1, 3}, {2, 3}};
        QCOMPARE(visited, expected);
        // Backtab in column 1 of the first data row wraps within that row.
        f.grid.MoveTo(2, 1);
        f.Key(Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(QPoint(f.grid.Col(), f.grid.Row()), QPoint(6, 2));
        f.grid.MoveTo(3, 1);
        f.Key(Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(QPoint(f.grid.Col(), f.grid.Row()), QPoint(6, 2));
    }

    void tabPastTheLastRowAndDownInItAddARow() {
        PageFixture f(Page::Knoten);
        const int rows = f.grid.RowCount();
        f.grid.MoveTo(rows - 1, 6);
        f.Key(Qt::Key_Tab);
        QCOMPARE(f.grid.RowCount(), rows + 1);
        QCOMPARE(QPoint(f.grid.Col(), f.grid.Row()), QPoint(1, rows));
        f.Key(Qt::Key_Down);
        QCOMPARE(f.grid.RowCount(), rows + 2);
        QCOMPARE(f.grid.Row(), rows + 1);
        f.Key(Qt::Key_Up);
        QCOMPARE(f.grid.Row(), rows);
    }

    void computedColumnIsSkipped() {
        PageFixture f(Page::Staebe);
        ValidRecord(f.model.beams, 0).thickness = 1.2;
        f.Refresh();
        f.grid.MoveTo(2, 5);
        f.Key(Qt::Key_Tab);
        QCOMPARE(QPoint(f.grid.Col(), f.grid.Row()), QPoint(1, 3));
        f.Key(Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(QPoint(f.grid.Col(), f.grid.Row()), QPoint(5, 2));
        // Right at the end of the text and Left at its start skip it too.
        f.Key(Qt::Key_End);
        QCOMPARE(f.grid.CursorPos(), 5);
        f.Key(Qt::Key_Right);
        QCOMPARE(QPoint(f.grid.Col(), f.grid.Row()), QPoint(1, 3));
        f.Key(Qt::Key_Left);
        QCOMPARE(QPoint(f.grid.Col(), f.grid.Row()), QPoint(5, 2));
    }

    // The length cell takes no typing, no deleting and no paste, and leaving
    // it reports no change.
    void computedColumnIsNeverEdited() {
        PageFixture f(Page::Staebe);
        ValidRecord(f.model.beams, 0).thickness = 1.2;
        f.Refresh();
        f.grid.MoveTo(2, 6);
        const QString shown = f.grid.EditText();
        BeepCounter beeps;
        f.Type(QStringLiteral("7"));
        f.Key(Qt::Key_Backspace);
        f.Key(Qt::Key_End);
        f.Key(Qt::Key_Delete);
        QCOMPARE(f.grid.EditText(), shown);
        QVERIFY(!f.grid.EditChanged());
        QCOMPARE(beeps.count, 3);
        f.grid.Past(2, 6, QStringLiteral("9"));
        f.grid.MoveTo(2, 1);
        QCOMPARE(f.changes.Total(), 0);
    }

    void tabOnAnEmptyBeamRowGivesTheDefaults() {
        PageFixture f(Page::Staebe);
        f.Key(Qt::Key_Tab);
        const BeamRec& first = *f.model.beams.At(0);
        QCOMPARE(first.flag, kFlagUser);
        QCOMPARE(first.section, 1);
        QCOMPARE(first.intervals, 5);
        ValidRecord(f.model.beams, 2).section = 4;
        f.Refresh();
        f.grid.MoveTo(f.GridRow(3), 2);
        f.Key(Qt::Key_Return);
        QCOMPARE(f.model.beams.At(3)->section, 4);
        QCOMPARE(f.model.beams.At(3)->intervals, 5);
    }

    void moveWithoutAnEditableCellStays() {
        FakeGrid unbound;
        unbound.SetColCount(7);
        TUserInt columns[6];
        for (int col = 1; col <= 6; ++col) {
            columns[col - 1].SetColumn(col);
            columns[col - 1].SetGrid(&unbound);
        }
        unbound.MoveTo(3, 2);
        unbound.NextCell();
        unbound.PreviousCell();
        QCOMPARE(QPoint(unbound.Col(), unbound.Row()), QPoint(2, 3));
        QCOMPARE(unbound.RowCount(), 5);

        ReadOnlyTable table;
        FakeGrid single;
        single.SetColCount(2);
        TUserInt only;
        only.SetColumn(1);
        only.SetGrid(&single);
        single.SetContainer(&table);
        const int rows = single.RowCount();
        QVERIFY(single.UKeyDown(Qt::Key_Tab, Qt::NoModifier));
        QVERIFY(single.UKeyDown(Qt::Key_Return, Qt::ShiftModifier));
        QCOMPARE(QPoint(single.Col(), single.Row()), QPoint(1, 1));
        QCOMPARE(single.RowCount(), rows);
    }

    void oneCharacterColumnsMoveOn() {
        PageFixture f(Page::Knoten);
        f.grid.MoveTo(2, 3);
        f.Type(QStringLiteral("1"));
        QCOMPARE(f.grid.Col(), 4);
        f.Type(QStringLiteral("0"));
        QCOMPARE(f.grid.Col(), 5);
        f.Type(QStringLiteral("j"));
        QCOMPARE(f.grid.Col(), 6);
        const NodeRec& node = *f.model.nodes.At(0);
        QCOMPARE(node.fixZ, 1);
        QCOMPARE(node.fixRx, 0);
        QCOMPARE(node.fixRy, 1);
        f.grid.MoveTo(2, 3);
        QCOMPARE(f.grid.EditText(), QStringLiteral("J"));
    }

    void listCharacterThatFitsNoEntryIsDropped() {
        PageFixture f(Page::Gelenke);
        ValidRecord(f.model.hinges, 0).type = kHingeTorsion;
        f.Refresh();
        f.grid.MoveTo(1, 3);
        BeepCounter beeps;
        f.Type(QStringLiteral("x"));
        QCOMPARE(beeps.count, 1);
        QCOMPARE(f.grid.EditText(), QStringLiteral("Torsionsmoment"));
        QCOMPARE(f.grid.CursorPos(), 0);
        QVERIFY(!f.grid.EditChanged());
        QCOMPARE(f.grid.Col(), 3);
        f.Key(Qt::Key_Backspace);
        QCOMPARE(beeps.count, 2);
        f.Key(Qt::Key_Tab);
        QCOMPARE(f.model.hinges.At(0)->type, int(kHingeTorsion));
        f.grid.MoveTo(1, 3);
        f.Type(QStringLiteral("b"));
        QCOMPARE(f.model.hinges.At(0)->type, int(kHingeBending));
        QCOMPARE(f.grid.Col(), 1); // moved on after one character
    }

    void clearingARowDropsItsPendingEdit() {
        PageFixture f(Page::Knoten);
        ValidRecord(f.model.nodes, 0).x = 2.5;
        f.Refresh();
        f.Click(2, 1);
        f.Click(2, 1, 40);
        f.Type(QStringLiteral("7"));
        QVERIFY(f.grid.CursorPos() > 0);
        f.Key(Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(f.model.nodes.At(0)->flag, 0);
        QVERIFY(!f.grid.EditChanged());
        QCOMPARE(f.grid.CursorPos(), 0);
        f.grid.MoveTo(5, 1);
        QCOMPARE(f.model.nodes.At(0)->x, 2.5);
        QCOMPARE(f.model.nodes.At(0)->flag, 0);

        // UGM_CLEARROW, then typing into the cleared row starts afresh.
        f.model.nodes.At(0)->flag = kFlagUser;
        f.Refresh();
        f.grid.MoveTo(2, 1);
        f.Type(QStringLiteral("8"));
        f.grid.ClearCurrentRow();
        QVERIFY(!f.grid.EditChanged());
        QCOMPARE(f.model.nodes.At(0)->flag, 0);
        QVERIFY(f.grid.Select());
        f.Type(QStringLiteral("3"));
        QCOMPARE(f.grid.EditText(), QStringLiteral("3"));
        f.Key(Qt::Key_Tab);
        QCOMPARE(f.model.nodes.At(0)->x, 3.0);
    }

    void doubleClickMakesTheRowValidAndStepsALists() {
        PageFixture f(Page::Knoten);
        ValidRecord(f.model.nodes, 0).x = 1.23456789012345;
        f.Refresh();
        f.grid.UDblClick();
        QVERIFY(!f.grid.EditChanged());
        f.grid.MoveTo(5, 1);
        QVERIFY(SameBits(f.model.nodes.At(0)->x, 1.23456789012345));
        f.grid.UDblClick(); // on an empty row
        QCOMPARE(f.model.nodes.At(3)->flag, kFlagUser);

        PageFixture hinges(Page::Gelenke);
        hinges.grid.MoveTo(1, 3);
        hinges.grid.UDblClick();
        QCOMPARE(hinges.model.hinges.At(0)->type, int(kHingeBending));
        QCOMPARE(hinges.grid.EditText(), QStringLiteral("Biegemoment"));
        QVERIFY(hinges.grid.EditChanged());
        QCOMPARE(hinges.model.hinges.At(0)->flag, kFlagUser);
        hinges.grid.UDblClick();
        hinges.grid.MoveTo(2, 3);
        QCOMPARE(hinges.model.hinges.At(0)->type, int(kHingeTorsion));
    }

    void keysActOnTheCurrentCellAfterABlockCommand() {
        PageFixture f(Page::Knoten);
        for (int row = 0; row < 3; ++row)
            ValidRecord(f.model.nodes, row).y = 10.0 * row;
        f.Refresh();
        f.grid.SetBlock(2, 1, 4, 2, true);
        f.grid.AddBlock(1.0);
        QCOMPARE(QPoint(f.grid.EditCol(), f.grid.EditRow()), QPoint(2, 4));
        QCOMPARE(QPoint(f.grid.Col(), f.grid.Row()), QPoint(1, 2));
        f.Type(QStringLiteral("9"));
        f.Key(Qt::Key_Tab);
        QCOMPARE(f.model.nodes.At(0)->x, 9.0);
        QCOMPARE(f.model.nodes.At(2)->y, 21.0);
    }

    void caretKeysStayInsideTheText() {
        PageFixture f(Page::Knoten);
        ValidRecord(f.model.nodes, 0).x = 12.0; // "12.00"
        f.Refresh();
        f.Key(Qt::Key_End);
        QCOMPARE(f.grid.CursorPos(), 5);
        f.Key(Qt::Key_Left);
        f.Key(Qt::Key_Left);
        QCOMPARE(f.grid.CursorPos(), 3);
        f.Key(Qt::Key_Delete);
        QCOMPARE(f.grid.EditText(), QStringLiteral("12.0"));
        BeepCounter beeps;
        f.Key(Qt::Key_End);
        f.Key(Qt::Key_Delete);
        QCOMPARE(beeps.count, 1);
        f.Key(Qt::Key_Home);
        QCOMPARE(f.grid.CursorPos(), 0);
        f.Key(Qt::Key_Backspace);
        QCOMPARE(beeps.count, 2);
        f.grid.SetCursorPos(99);
        QCOMPARE(f.grid.CursorPos(), 4);
        f.Key(Qt::Key_Space); // a space is a character the number column refuses
        QCOMPARE(beeps.count, 3);
    }
};

BALKOR_REGISTER_TEST(GridEditingTest);

#include "EditingTest.moc"
