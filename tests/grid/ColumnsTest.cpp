// The column and header components on their own: number and list
// conversions, filters, block arithmetic, list matching, header placement,
// column widths under captions and the colour of a cell.
#include "FakeGrid.h"
#include "grid/UserHeader.h"
#include "grid/UserInt.h"
#include "grid/UserList.h"
#include "model/Tables.h"
#include "support/QtTestRegistry.h"
#include "support/TableRows.h"

#include <QTest>
#include <cstring>

namespace {

QStringList Entries(const char* a, const char* b, const char* c = nullptr) {
    QStringList list = {QString::fromUtf8(a), QString::fromUtf8(b)};
    if (c)
        list << QString::fromUtf8(c);
    return list;
}

double ReadDouble(const void* value) {
    double result;
    std::memcpy(&result, value, sizeof result);
    return result;
}

// A node table whose field 0 ("x", grid column 1) the user may not edit.
class ReadOnlyXTable : public NodeClass {
public:
    bool IsCellReadOnly(int, int col) override { return col == 0; }
};

} // namespace

class GridColumnsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void doubleColumnReadsTheFirstCommaAsPoint() {
        TUserInt column;
        column.SetTyp(uDouble);
        QCOMPARE(ReadDouble(column.TextToValue(QStringLiteral("1,5"))), 1.5);
        QCOMPARE(ReadDouble(column.TextToValue(QStringLiteral("1,5,3"))), 1.5);
        QCOMPARE(ReadDouble(column.TextToValue(QStringLiteral("abc"))), 0.0);
        QCOMPARE(ReadDouble(column.TextToValue(QStringLiteral("-2.5E2"))), -250.0);
        QVERIFY(!column.TextToValue(QStringLiteral("1e999")));
    }

    void integerColumnRefusesWhatDoesNotFit() {
        TUserInt column;
        column.SetTyp(uInteger);
        QCOMPARE(*static_cast<const int32_t*>(column.TextToValue(QStringLiteral("12.7"))), 12);
        QCOMPARE(*static_cast<const int32_t*>(column.TextToValue(QStringLiteral("-2147483648"))),
                 INT32_MIN);
        QVERIFY(!column.TextToValue(QStringLiteral("99999999999")));
        QVERIFY(!column.TextToValue(QStringLiteral("4294967296")));
    }

    void charactersPassByType() {
        TUserInt integer;
        integer.SetTyp(uInteger);
        TUserInt real;
        real.SetTyp(uDouble);
        TUserInt text;
        text.SetTyp(uString);
        for (QChar ch : QStringLiteral("0123456789")) {
            QCOMPARE(integer.Charfilter(ch), ch);
            QCOMPARE(real.Charfilter(ch), ch);
        }
        for (QChar ch : QStringLiteral(".,+-Ee")) {
            QVERIFY(integer.Charfilter(ch).isNull());
            QCOMPARE(real.Charfilter(ch), ch);
        }
        for (QChar ch : QStringLiteral("xä(#")) {
            QVERIFY(real.Charfilter(ch).isNull());
            QCOMPARE(text.Charfilter(ch), ch);
        }
    }

    void valuesAreShownWithTheFormat() {
        TUserInt real;
        real.SetTyp(uDouble);
        real.SetFormat(QStringLiteral("%#.4lg"));
        const double value = 1.23456789;
        QString text;
        real.ValueToText(&value, text);
        QCOMPARE(text, QStringLiteral("1.235"));
        TUserInt integer;
        integer.SetFormat(QStringLiteral("%d"));
        const int32_t number = 42;
        integer.ValueToText(&number, text);
        QCOMPARE(text, QStringLiteral("42"));
        integer.SetFormat(QString());
        text.clear();
        integer.ValueToText(&number, text);
        QCOMPARE(text, QString());
        TUserInt string;
        string.SetTyp(uString);
        string.ValueToText("Größe", text);
        QCOMPARE(text, QStringLiteral("Größe"));
        QCOMPARE(integer.DatLen(), 4);
        QCOMPARE(real.DatLen(), 8);
    }

    void blockArithmeticPerType_data() {
        QTest::addColumn<bool>("integer");
        QTest::addColumn<bool>("multiply");
        QTest::addColumn<double>("stored");
        QTest::addColumn<double>("x");
        QTest::addColumn<bool>("stores");
        QTest::addColumn<double>("result");
        QTest::newRow("3 + 0.7 (int)") << true << false << 3.0 << 0.7 << true << 3.0;
        QTest::newRow("3 * 1.5 (int)") << true << true << 3.0 << 1.5 << true << 4.0;
        QTest::newRow("-3 * 1.5 (int)") << true << true << -3.0 << 1.5 << true << -4.0;
        QTest::newRow("-3 + 0.5 (int)") << true << false << -3.0 << 0.5 << true << -2.0;
        QTest::newRow("int overflow") << true << false << 2e9 << 2e9 << false << 2e9;
        QTest::newRow("int times infinity") << true << true << 2.0 << qInf() << false << 2.0;
        QTest::newRow("1.5 + 0.7") << false << false << 1.5 << 0.7 << true << 1.5 + 0.7;
        // The factor is a double: 10 × 1.1 is the double product, not
        // 11.000000238… as with a 32-bit factor.
        QTest::newRow("10 * 1.1") << false << true << 10.0 << 1.1 << true << 10.0 * 1.1;
        QTest::newRow("real overflow") << false << true << 1e308 << 10.0 << false << 1e308;
        QTest::newRow("real nan") << false << false << 1.0 << qQNaN() << false << 1.0;
    }
    void blockArithmeticPerType() {
        QFETCH(bool, integer);
        QFETCH(bool, multiply);
        QFETCH(double, stored);
        QFETCH(double, x);
        QFETCH(bool, stores);
        QFETCH(double, result);
        TUserInt column;
        column.SetTyp(integer ? uInteger : uDouble);
        if (integer) {
            int32_t value = static_cast<int32_t>(stored);
            QCOMPARE(multiply ? column.Mult(&value, x) : column.Add(&value, x), stores);
            QCOMPARE(static_cast<double>(value), result);
        } else {
            double value = stored;
            QCOMPARE(multiply ? column.Mult(&value, x) : column.Add(&value, x), stores);
            QCOMPARE(value, result);
            QVERIFY(value != 11.000000238418579);
        }
    }

    void listMatching_data() {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("matches");
        QTest::addColumn<int>("index");
        const QStringList hinges = Entries("Querkraft", "Biegemoment", "Torsionsmoment");
        QTest::newRow("b") << hinges << "b" << 1 << 1;
        QTest::newRow("T") << hinges << "T" << 1 << 2;
        QTest::newRow("q") << hinges << "q" << 1 << 0;
        QTest::newRow("x") << hinges << "x" << 0 << 0;
        QTest::newRow("empty") << hinges << "" << 0 << 0;
        const QStringList kinds = Entries("Last", "Verformung");
        QTest::newRow("l") << kinds << "l" << 1 << 0;
        QTest::newRow("v") << kinds << "v" << 1 << 1;
        const QStringList ab = Entries("Ab", "Abc");
        QTest::newRow("Ab: same length wins") << ab << "Ab" << 1 << 0;
        QTest::newRow("A: both, last chosen") << ab << "A" << 2 << 1;
        QTest::newRow("a: no case match") << ab << "a" << 0 << 0;
        QTest::newRow("Abcd") << ab << "Abcd" << 0 << 0;
    }
    void listMatching() {
        QFETCH(QStringList, entries);
        QFETCH(QString, text);
        QFETCH(int, matches);
        QFETCH(int, index);
        TUserList list;
        list.SetList(entries);
        int chosen = -1;
        QCOMPARE(list.GetNIndex(chosen, text), matches);
        QCOMPARE(chosen, index);
    }

    void listTextCompletesOrIsRefused() {
        TUserList list;
        list.SetList(Entries("Querkraft", "Biegemoment", "Torsionsmoment"));
        QString text = QStringLiteral("b");
        QVERIFY(list.Textfilter(text));
        QCOMPARE(text, QStringLiteral("Biegemoment"));
        text = QStringLiteral("x");
        QVERIFY(!list.Textfilter(text));
        QCOMPARE(text, QStringLiteral("x"));
        // A text that names no entry is not stored (never entry 0 by default).
        QVERIFY(!list.TextToValue(QStringLiteral("x")));
        QVERIFY(!list.TextToValue(QString()));
        QCOMPARE(*static_cast<const int32_t*>(list.TextToValue(QStringLiteral("Tor"))), 2);
        TUserList ab;
        ab.SetList(Entries("Ab", "Abc"));
        text = QStringLiteral("A");
        QVERIFY(ab.Textfilter(text));
        QCOMPARE(text, QStringLiteral("A"));
        QCOMPARE(*static_cast<const int32_t*>(ab.TextToValue(text)), 1);
    }

    void characterMap() {
        TUserList list;
        list.SetFilter(QStringLiteral("0N1J"));
        QCOMPARE(list.MapChar(u'0'), QChar(u'N'));
        QCOMPARE(list.MapChar(u'1'), QChar(u'J'));
        QCOMPARE(list.MapChar(u'2'), QChar(u'2'));
        list.SetFilter(QStringLiteral("0N1"));
        QCOMPARE(list.MapChar(u'1'), QChar(u'1'));
    }

    void listShowsAndStepsEntries() {
        TUserList list;
        QCOMPARE(list.ListCount(), 0);
        QCOMPARE(list.ListItem(0), QStringLiteral("Fehler"));
        list.SetList(Entries("Querkraft", "Biegemoment", "Torsionsmoment"));
        int32_t value = 0;
        QStringList shown;
        for (int i = 0; i < 4; ++i) {
            QString text;
            list.ValueToText(&value, text);
            shown << text;
            QVERIFY(list.UDblClick(&value));
        }
        QCOMPARE(shown, Entries("Querkraft", "Biegemoment", "Torsionsmoment") << "Querkraft");
        value = 7; // out of the list: shown empty, the next step starts over
        QString text = QStringLiteral("old");
        list.ValueToText(&value, text);
        QCOMPARE(text, QString());
        list.UDblClick(&value);
        QCOMPARE(value, 0);
    }

    void headersArePlacedOnlyWhenTheyFit_data() {
        QTest::addColumn<int>("rowB");
        QTest::addColumn<int>("rowE");
        QTest::addColumn<int>("colB");
        QTest::addColumn<int>("colE");
        QTest::addColumn<bool>("placed");
        QTest::newRow("two rows, three columns") << 0 << 1 << 3 << 5 << true;
        QTest::newRow("ColB > ColE") << 0 << 0 << 4 << 3 << false;
        QTest::newRow("RowB > RowE") << 1 << 0 << 1 << 1 << false;
        QTest::newRow("corner -1") << -1 << 0 << 1 << 1 << false;
        QTest::newRow("beyond the columns") << 0 << 0 << 6 << 7 << false;
        QTest::newRow("not a fixed row") << 0 << 2 << 1 << 1 << false;
        QTest::newRow("beyond the slots") << 0 << 0 << 1 << 25 << false;
    }
    void headersArePlacedOnlyWhenTheyFit() {
        QFETCH(int, rowB);
        QFETCH(int, rowE);
        QFETCH(int, colB);
        QFETCH(int, colE);
        QFETCH(bool, placed);
        FakeGrid grid;
        grid.SetColCount(7);
        grid.SetFixedRows(2);
        TUserHeader header;
        header.SetText(QStringLiteral("Auflager"));
        header.SetGrid(&grid);
        header.SetSpan(rowB, rowE, colB, colE);
        int slots = 0;
        for (int row = 0; row < kGridHeaderRows; ++row)
            for (int col = 0; col < kGridColumnSlots; ++col)
                slots += grid.Headers(row, col) == &header ? 1 : 0;
        QCOMPARE(slots, placed ? (rowE - rowB + 1) * (colE - colB + 1) : 0);
    }

    void headerFollowsItsSpanAndLeavesWithIt() {
        FakeGrid grid;
        grid.SetColCount(7);
        grid.SetFixedRows(2);
        auto header = std::make_unique<TUserHeader>();
        header->SetGrid(&grid);
        header->SetSpan(0, 0, 1, 2);
        QCOMPARE(grid.Headers(0, 2), header.get());
        header->SetColE(1);
        QCOMPARE(grid.Headers(0, 1), header.get());
        QCOMPARE(grid.Headers(0, 2), nullptr);
        QCOMPARE(header->Rect(), QRect(grid.ColLeft(1), 0, 64, 18));
        header.reset();
        QCOMPARE(grid.Headers(0, 1), nullptr);
    }

    void columnsWidenUnderALongCaption() {
        FakeGrid grid;
        grid.SetColCount(4);
        TUserInt a, b, c;
        int col = 1;
        for (TUserInt* column : {&a, &b, &c}) {
            column->SetColWidth(40);
            column->SetColumn(col++);
            column->SetGrid(&grid);
        }
        TUserHeader header;
        header.SetText(QString(20, u'x')); // 140 pixels + 4 over 80
        header.SetSpan(0, 0, 1, 2);
        header.SetGrid(&grid);
        QCOMPARE(a.ColWidth(), 72);
        QCOMPARE(b.ColWidth(), 72);
        QCOMPARE(grid.ColWidths(1), 72);
        QCOMPARE(c.ColWidth(), 40);
        // A caption that fits changes nothing; neither does a span over a
        // column without a column object.
        TUserHeader shortHeader;
        shortHeader.SetText(QStringLiteral("z"));
        shortHeader.SetSpan(0, 0, 3, 3);
        shortHeader.SetGrid(&grid);
        QCOMPARE(c.ColWidth(), 40);
        header.SetSpan(0, 0, 0, 1);
        QCOMPARE(a.ColWidth(), 72);
    }

    void columnSlotsAreBoundChecked() {
        FakeGrid grid;
        TUserInt column;
        column.SetColumn(kGridColumnSlots);
        column.SetGrid(&grid);
        QCOMPARE(grid.Columns(kGridColumnSlots), nullptr);
        column.SetColumn(2);
        QCOMPARE(grid.Columns(2), &column);
        column.SetColumn(3);
        QCOMPARE(grid.Columns(2), nullptr);
        QCOMPARE(grid.Columns(3), &column);
        {
            TUserInt gone;
            gone.SetColumn(4);
            gone.SetGrid(&grid);
            QCOMPARE(grid.Columns(4), &gone);
        }
        QCOMPARE(grid.Columns(4), nullptr);
        auto early = std::make_unique<FakeGrid>();
        column.SetGrid(early.get());
        early.reset();
        QCOMPARE(column.Grid(), nullptr);
    }

    // The colour rule, first match wins.
    void colourPrecedence() {
        TUserInt unbound;
        QCOMPARE(unbound.CellColor(2, 1), kCellWhite);

        ReadOnlyXTable table;
        FakeGrid grid;
        grid.SetColCount(4);
        TUserInt x, y;
        TUserList fix;
        fix.SetList(Entries("N", "J"));
        x.SetColumn(1);
        y.SetColumn(2);
        fix.SetColumn(3);
        for (TUserCell* column : std::initializer_list<TUserCell*>{&x, &y, &fix})
            column->SetGrid(&grid);
        grid.SetContainer(&table);
        grid.MoveTo(3, 2); // the current cell, selected

        QCOMPARE(x.CellColor(5, 1), kCellSilver); // read-only cell
        grid.SetBlock(4, 1, 6, 3, true);
        QCOMPARE(x.CellColor(5, 1), kCellGrey); // read-only cell in the block
        QCOMPARE(y.CellColor(5, 2), kCellBlue);
        QCOMPARE(fix.CellColor(5, 3), kCellBlue);
        QCOMPARE(fix.CellColor(8, 3), kCellPaleAqua);
        QCOMPARE(y.CellColor(8, 2), kCellWhite);
        QVERIFY(grid.Select());
        QCOMPARE(y.CellColor(3, 2), kCellAqua);
        grid.focus = false;
        QCOMPARE(y.CellColor(3, 2), kCellWhite);
        grid.focus = true;
        grid.SetBlock(3, 2, 3, 2, true); // the selected current cell wins over the block
        QCOMPARE(y.CellColor(3, 2), kCellAqua);
        y.SetOnlyRead(true); // a computed column is grey, also when current
        QCOMPARE(y.CellColor(3, 2), kCellGrey);
    }
};

BALKOR_REGISTER_TEST(GridColumnsTest);

#include "ColumnsTest.moc"
