// The commands on several cells and rows: copy and paste texts, block
// arithmetic and clearing, the block and choice menus, the line commands.
#include "PageFixture.h"
#include "grid/ClipboardText.h"
#include "grid/UserList.h"
#include "model/BalkorError.h"
#include "support/QtTestRegistry.h"
#include "support/TableRows.h"

#include <QTest>
#include <cstring>

namespace {

// A node table that copies rows (the tables of the program copy none).
class CopyingTable : public NodeClass {
public:
    bool CopyRow(int from, int to) override {
        const NodeRec copy = *RowRecord(from);
        *RowRecord(to) = copy;
        return true;
    }
};

QString PasteError(PageFixture& f, const QString& clipboard) {
    f.grid.clipboard = clipboard;
    try {
        f.Key(Qt::Key_V, Qt::ControlModifier);
    } catch (const BalkorError& error) {
        return QString::fromUtf8(error.what());
    }
    return QString();
}

} // namespace

class GridCommandsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void copyWritesTabsAndCrLf() {
        PageFixture f(Page::Streckenlasten); // seven columns, three header rows
        BeamLoadRec& first = ValidRecord(f.model.beamLoads, 0);
        first.from = 1;
        first.to = 2;
        first.mtStart = 1.25;
        first.mtEnd = 2.0;
        BeamLoadRec& second = ValidRecord(f.model.beamLoads, 1);
        second.from = 3;
        second.to = 4;
        f.Refresh();
        f.grid.SetBlock(3, 1, 4, 2, true);
        f.grid.Copy();
        QCOMPARE(f.grid.clipboard, QStringLiteral("1\t2\t\r\n3\t4\t\r\n"));
        QVERIFY(!f.grid.BlockActive());
        // The last grid column gets no tab; the corners count, not the order.
        f.grid.SetBlock(4, 6, 3, 5, false);
        f.grid.Copy();
        // The stored values with all their digits, not the shown 1.250 and 2.000.
        QCOMPARE(f.grid.clipboard, QStringLiteral("1.25\t2\r\n0\t0\r\n"));
        // Cells of an empty row are empty texts.
        f.grid.SetBlock(5, 1, 5, 2, true);
        f.grid.Copy();
        QCOMPARE(f.grid.clipboard, QStringLiteral("\t\t\r\n"));
    }

    void copyStoresThePendingEditFirst() {
        PageFixture f(Page::Streckenlasten);
        f.grid.clipboard = QStringLiteral("unchanged");
        f.Key(Qt::Key_C, Qt::ControlModifier); // no block marked yet
        QCOMPARE(f.grid.clipboard, QStringLiteral("unchanged"));
        f.Type(QStringLiteral("5"));
        f.grid.SetBlock(3, 1, 3, 1, false);
        f.Key(Qt::Key_X, Qt::ControlModifier); // copies, removes nothing
        QCOMPARE(f.grid.clipboard, QStringLiteral("5\t\r\n"));
        QCOMPARE(f.model.beamLoads.At(0)->from, 5);
    }

    void pasteTextSplitsIntoCells() {
        auto cells = [](const QString& text) {
            QStringList parts;
            for (const PastedCell& cell : SplitPasteText(text))
                parts << QStringLiteral("%1,%2:%3").arg(cell.row).arg(cell.col).arg(cell.text);
            return parts.join(u' ');
        };
        QCOMPARE(cells(QStringLiteral("1\t2\r\n3\t4\r\n")),
                 QStringLiteral("0,0:1 0,1:2 1,0:3 1,1:4"));
        QCOMPARE(cells(QStringLiteral("\t5")), QStringLiteral("0,0: 0,1:5"));
        QCOMPARE(cells(QStringLiteral("1\t\t3")), QStringLiteral("0,0:1 0,2:3"));
        QCOMPARE(cells(QStringLiteral("1\n2\n")), QStringLiteral("0,0:1 1,0:2"));
        QCOMPARE(cells(QStringLiteral("1\t2\r3")), QStringLiteral("0,0:1 0,1:2 1,1:3"));
        QCOMPARE(cells(QStringLiteral("\r\n\t")), QString());
    }

    void pasteStoresFromTheEditCell() {
        PageFixture f(Page::Streckenlasten);
        f.grid.MoveTo(4, 3);
        f.grid.clipboard = QStringLiteral("1\t2\r\n3\t4\r\n");
        f.Key(Qt::Key_V, Qt::ControlModifier);
        const BeamLoadRec& a = *f.model.beamLoads.At(1);
        const BeamLoadRec& b = *f.model.beamLoads.At(2);
        QCOMPARE(a.flag, kFlagUser);
        QCOMPARE(b.flag, kFlagUser);
        QCOMPARE(QList<double>({a.qStart, a.qEnd, b.qStart, b.qEnd}), QList<double>({1, 2, 3, 4}));
        QCOMPARE(QPoint(f.grid.Col(), f.grid.Row()), QPoint(3, 4));
        QCOMPARE(QPoint(f.grid.EditCol(), f.grid.EditRow()), QPoint(4, 5));
    }

    void pasteLeadingTabAndEmptyFields() {
        PageFixture f(Page::Querschnitte);
        MatRec& mat = ValidRecord(f.model.mats, 0);
        mat.E = 9;
        mat.G = 8;
        mat.Iy = 7;
        f.Refresh();
        f.grid.clipboard = QStringLiteral("\t5");
        f.Key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.model.mats.At(0)->E, 0.0);
        QCOMPARE(f.model.mats.At(0)->G, 5.0);
        f.grid.MoveTo(1, 1);
        f.grid.clipboard = QStringLiteral("1\t\t3");
        f.Key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.model.mats.At(0)->E, 1.0);
        QCOMPARE(f.model.mats.At(0)->G, 5.0);
        QCOMPARE(f.model.mats.At(0)->Iy, 3.0);
    }

    void pasteAcceptsLinuxLineEnds() {
        PageFixture f(Page::Querschnitte);
        f.grid.clipboard = QStringLiteral("1\t2\n3\t4\n");
        f.Key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.model.mats.At(0)->G, 2.0);
        QCOMPARE(f.model.mats.At(1)->E, 3.0);
        QCOMPARE(f.model.mats.At(1)->G, 4.0);
        QCOMPARE(f.model.mats.ValidCount(), 2);
    }

    void pasteBeyondTheLastColumnKeepsWhatWasStored() {
        PageFixture f(Page::Temperatur); // four columns
        f.grid.MoveTo(2, 3);
        QCOMPARE(PasteError(f, QStringLiteral("1.5\t2\t3")),
                 QStringLiteral("Kopierbeireich außerhalb der Tabelle"));
        QCOMPARE(f.model.tempLoads.At(0)->dT, 1.5);
        QCOMPARE(f.model.tempLoads.At(0)->flag, kFlagUser);
    }

    // A pasted row that becomes valid receives the table's defaults first,
    // so pasted values are never replaced by them.
    void pastedValuesWinOverTheDefaults() {
        PageFixture f(Page::Querschnitte);
        MatRec& mat = ValidRecord(f.model.mats, 0);
        mat.E = 210000;
        mat.G = 81000;
        mat.Iy = 1e-4;
        mat.It = 2e-4;
        f.Refresh();
        f.grid.MoveTo(2, 1);
        f.grid.clipboard = QStringLiteral("1\t2\t3\t4\t5");
        f.Key(Qt::Key_V, Qt::ControlModifier);
        const MatRec& pasted = *f.model.mats.At(1);
        QCOMPARE(QList<double>({pasted.E, pasted.G, pasted.Iy, pasted.It, pasted.alphaT}),
                 QList<double>({1, 2, 3, 4, 5}));

        PageFixture beams(Page::Staebe);
        ValidRecord(beams.model.beams, 0).section = 2;
        beams.Refresh();
        beams.grid.MoveTo(3, 1);
        beams.grid.clipboard = QStringLiteral("1\t2\t7");
        beams.Key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(beams.model.beams.At(1)->section, 7);
        QCOMPARE(beams.model.beams.At(1)->intervals, 5);
    }

    void blockAddAndMultiply() {
        PageFixture f(Page::Staebe);
        BeamRec& beam = ValidRecord(f.model.beams, 0);
        beam.start = 3;
        beam.end = -3;
        beam.thickness = 1.5;
        f.Refresh();
        f.grid.SetBlock(2, 1, 3, 6, true);
        f.dialogs.numbers = {0.7};
        f.grid.AddPoupClick();
        QCOMPARE(f.dialogs.captions, QStringList({QStringLiteral("Celle Kopieren/Verschieben")}));
        QCOMPARE(f.model.beams.At(0)->start, 3);
        QCOMPARE(f.model.beams.At(0)->end, -2);
        QCOMPARE(f.model.beams.At(0)->thickness, 1.5 + 0.7);
        // The empty row's values changed, but it stays empty.
        QCOMPARE(f.model.beams.At(1)->thickness, 0.7);
        QCOMPARE(f.model.beams.At(1)->flag, 0);
        QCOMPARE(QPoint(f.grid.EditCol(), f.grid.EditRow()), QPoint(6, 3));
        QCOMPARE(QPoint(f.grid.Col(), f.grid.Row()), QPoint(1, 2));
        QCOMPARE(f.changes.system, 1);

        f.model.beams.At(0)->end = -3;
        f.dialogs.numbers = {1.5};
        f.grid.MultPoupClick();
        QCOMPARE(f.model.beams.At(0)->start, 4);
        QCOMPARE(f.model.beams.At(0)->end, -4);

        f.dialogs.numbers = {std::nullopt}; // Abbruch
        f.grid.MultPoupClick();
        QCOMPARE(f.model.beams.At(0)->start, 4);

        f.model.beams.At(0)->start = 2000000000;
        BeepCounter beeps;
        f.grid.MultBlock(2);
        QCOMPARE(f.model.beams.At(0)->start, 2000000000);
        QCOMPARE(beeps.count, 1);
    }

    void deleteClearsWholeRows() {
        PageFixture f(Page::Knoten);
        for (int row = 0; row < 3; ++row) {
            NodeRec& node = ValidRecord(f.model.nodes, row);
            node.x = row;
            node.y = 10 + row;
        }
        f.Refresh();
        f.grid.SetBlock(3, 1, 4, 1, true);
        f.grid.DelPoupClick();
        QCOMPARE(f.model.nodes.ValidCount(), 1);
        QCOMPARE(f.model.nodes.At(0)->flag, kFlagUser);
        QCOMPARE(f.model.nodes.At(2)->y, 12.0); // the values stay, hidden
        QVERIFY(f.changes.system >= 1);
    }

    void blockAndChoiceMenus() {
        PageFixture f(Page::Knoten);
        f.grid.SetBlock(2, 1, 3, 2, true);
        const QRect inside = f.grid.CellRect(3, 2);
        f.grid.UMouseDown(GridButton::Right, inside.x() + 5, inside.y() + 5);
        QCOMPARE(f.grid.blockMenus, 1);
        f.grid.SetBlock(2, 1, 3, 2, false);
        f.grid.UMouseDown(GridButton::Right, inside.x() + 5, inside.y() + 5);
        QCOMPARE(f.grid.blockMenus, 1);
        QCOMPARE(f.grid.listMenu, nullptr); // a number column has no menu

        f.grid.MoveTo(2, 3);
        f.grid.UMouseDown(GridButton::Right, 5, 200);
        QVERIFY(f.grid.listMenu);
        const QRect current = f.grid.CellRect(2, 3);
        QCOMPARE(f.grid.menuAt, QPoint(current.left(), current.bottom() + 1));
        const QList<QAction*> items = f.grid.listMenu->actions();
        QCOMPARE(items.size(), 2);
        QCOMPARE(items[1]->text(), QStringLiteral("J"));
        items[1]->trigger();
        QCOMPARE(f.grid.EditText(), QStringLiteral("J"));
        QVERIFY(f.grid.EditChanged());
        QCOMPARE(f.model.nodes.At(0)->flag, kFlagUser);
        f.Key(Qt::Key_Tab);
        QCOMPARE(f.model.nodes.At(0)->fixZ, 1);
    }

    void lineInsertKeepsThePendingEditInItsRow() {
        PageFixture f(Page::Knoten);
        for (int row = 0; row < 3; ++row)
            ValidRecord(f.model.nodes, row).x = row + 1;
        f.Refresh();
        f.grid.MoveTo(3, 1);
        f.Key(Qt::Key_Insert, Qt::AltModifier);
        QCOMPARE(f.model.nodes.At(1)->flag, 0);
        QCOMPARE(f.model.nodes.At(2)->x, 2.0);
        QCOMPARE(f.grid.focusRequests, 1);
        QVERIFY(f.changes.system >= 1);

        f.grid.MoveTo(2, 1);
        f.Type(QStringLiteral("9"));
        f.Key(Qt::Key_Insert, Qt::AltModifier);
        QCOMPARE(f.model.nodes.At(0)->flag, 0);
        QCOMPARE(f.model.nodes.At(0)->x, 0.0);
        QCOMPARE(f.model.nodes.At(1)->x, 9.0);
    }

    void lineDeleteAsksForARowWithData() {
        PageFixture f(Page::Knoten);
        ValidRecord(f.model.nodes, 1).x = 5;
        f.Refresh();
        f.Key(Qt::Key_Delete, Qt::AltModifier); // row 0 is empty: no question
        QVERIFY(f.dialogs.questions.isEmpty());
        QCOMPARE(f.model.nodes.At(0)->x, 5.0);
        f.dialogs.answers = {false};
        f.Key(Qt::Key_Delete, Qt::AltModifier);
        QCOMPARE(f.dialogs.questions, QStringList({QStringLiteral("Info | Zeile Löschen ?")}));
        QCOMPARE(f.model.nodes.ValidCount(), 1);
        f.dialogs.answers = {true};
        f.Key(Qt::Key_Delete, Qt::AltModifier);
        QCOMPARE(f.model.nodes.ValidCount(), 0);
        QCOMPARE(f.grid.focusRequests, 3);
    }

    void lineMoveAndCopyLeaveTheDataAsItIs() {
        PageFixture f(Page::Knoten);
        for (int row = 0; row < 3; ++row)
            ValidRecord(f.model.nodes, row).x = row + 1;
        f.Refresh();
        const QByteArray before(reinterpret_cast<const char*>(f.model.nodes.At(0)),
                                3 * f.model.nodes.RecordSize());
        f.dialogs.numbers = {3, 3};
        f.Key(Qt::Key_V, Qt::AltModifier);
        f.Key(Qt::Key_C, Qt::AltModifier);
        QCOMPARE(f.dialogs.captions, QStringList({QStringLiteral("Verschieben zur Zeile"),
                                                  QStringLiteral("Kopieren zur Zeile")}));
        const QByteArray after(reinterpret_cast<const char*>(f.model.nodes.At(0)),
                               3 * f.model.nodes.RecordSize());
        QCOMPARE(after, before);
    }

    void lineTargetsThatNameNoRow() {
        CopyingTable table;
        ValidRecord(table, 0).x = 1;
        FakeGrid grid;
        FakeGridDialogs dialogs;
        grid.SetDialogs(&dialogs);
        grid.SetContainer(&table);
        BeepCounter beeps;
        dialogs.numbers = {1e300, qInf(), qQNaN(), 0.5 - 1, 0};
        for (int i = 0; i < 5; ++i)
            grid.LineMove(0);
        QCOMPARE(beeps.count, 2); // the two numbers beyond any row
        QCOMPARE(table.Count(), 1);
        // Moving a row onto itself changes nothing; 1.9 means row 1 as well.
        dialogs.numbers = {1, 1.9};
        grid.LineMove(0);
        grid.LineCopy(0);
        QCOMPARE(table.At(0)->flag, kFlagUser);
        dialogs.numbers = {3};
        grid.LineMove(0);
        QCOMPARE(table.At(0)->flag, 0);
        QCOMPARE(table.At(2)->x, 1.0);
        QCOMPARE(table.At(2)->flag, kFlagUser);
    }
};

BALKOR_REGISTER_TEST(GridCommandsTest);

#include "CommandsTest.moc"
