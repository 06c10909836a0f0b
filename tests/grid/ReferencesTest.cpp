// Inserting and deleting rows that other records refer to: "Verweise
// anpassen?" with Ja keeps every beam on its nodes.
#include "PageFixture.h"
#include "support/QtTestRegistry.h"
#include "support/TableRows.h"

#include <QTest>

namespace {

// A girder of five nodes along x and four beams, a node load on nodes 2 to 4
// and a point load on beam 3.
void FillGirder(InputModel& model) {
    for (int i = 0; i < 5; ++i)
        ValidRecord(model.nodes, i).x = 2.0 * i;
    for (int i = 0; i < 4; ++i) {
        BeamRec& beam = ValidRecord(model.beams, i);
        beam.start = i + 1;
        beam.end = i + 2;
    }
    NodeLoadRec& load = ValidRecord(model.nodeLoads, 0);
    load.from = 2;
    load.to = 4;
    ValidRecord(model.pointLoads, 0).beam = 3;
}

// The x of both ends of every valid beam.
QList<double> BeamEnds(InputModel& model) {
    QList<double> ends;
    for (int k = 0; k < model.beams.ValidCount(); ++k) {
        const BeamRec& beam = *model.beams.ValidRow(k);
        for (const int number : {beam.start, beam.end}) {
            const NodeRec* node = model.nodes.Existing(number);
            ends << (node ? node->x : -1.0);
        }
    }
    return ends;
}

} // namespace

class GridReferencesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void insertAndDeleteFollowTheNodes_data() {
        QTest::addColumn<bool>("insert");
        QTest::addColumn<int>("row"); // table row of the node page
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("sameEnds");
        QTest::addColumn<QList<int>>("loadRange");
        QTest::addColumn<int>("pointLoadBeam");
        QTest::newRow("insert, Ja") << true << 1 << true << true << QList<int>{3, 5} << 3;
        QTest::newRow("insert, Nein") << true << 1 << false << false << QList<int>{2, 4} << 3;
        // Node 5 ends beam 4 only: that beam loses its end.
        QTest::newRow("delete, Ja") << false << 4 << true << false << QList<int>{2, 4} << 3;
        QTest::newRow("delete first, Ja") << false << 0 << true << false << QList<int>{1, 3} << 3;
    }
    void insertAndDeleteFollowTheNodes() {
        QFETCH(bool, insert);
        QFETCH(int, row);
        QFETCH(bool, yes);
        PageFixture f(Page::Knoten);
        f.grid.SetReferenceModel(&f.model);
        FillGirder(f.model);
        f.Refresh();
        const QList<double> before = BeamEnds(f.model);
        f.grid.MoveTo(f.GridRow(row), 1);
        f.dialogs.answers = {true};
        f.dialogs.yesNo = {yes};
        f.Key(insert ? Qt::Key_Insert : Qt::Key_Delete, Qt::AltModifier);
        QCOMPARE(f.dialogs.questions.last(), QStringLiteral("Frage | Verweise anpassen?"));
        QTEST(BeamEnds(f.model) == before, "sameEnds");
        const NodeLoadRec& load = *f.model.nodeLoads.At(0);
        QTEST(QList<int>({load.from, load.to}), "loadRange");
        QTEST(f.model.pointLoads.At(0)->beam, "pointLoadBeam");
        // One undo takes back the row and every reference.
        f.Key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(BeamEnds(f.model), before);
        QCOMPARE(QList<int>({load.from, load.to}), QList<int>({2, 4}));
    }

    // Deleting a beam: its hinge's reference goes to 0, the later ones follow.
    void deletedRecordsAreNamedByNone() {
        PageFixture f(Page::Staebe);
        f.grid.SetReferenceModel(&f.model);
        FillGirder(f.model);
        ValidRecord(f.model.hinges, 0).beam = 2;
        ValidRecord(f.model.hinges, 1).beam = 4;
        f.Refresh();
        f.grid.MoveTo(f.GridRow(1), 1);
        f.dialogs.answers = {true};
        f.dialogs.yesNo = {true};
        f.Key(Qt::Key_Delete, Qt::AltModifier);
        QCOMPARE(f.model.hinges.At(0)->beam, 0);
        QCOMPARE(f.model.hinges.At(1)->beam, 3);
        QCOMPARE(f.model.pointLoads.At(0)->beam, 2);
    }

    // A reference at the largest number a cell takes stays there on insert
    // (it names no record either way) instead of overflowing.
    void theLargestReferenceStaysOnInsert() {
        PageFixture f(Page::Knoten);
        f.grid.SetReferenceModel(&f.model);
        FillGirder(f.model);
        f.model.nodeLoads.At(0)->to = INT32_MAX;
        f.Refresh();
        f.grid.MoveTo(f.GridRow(1), 1);
        f.dialogs.answers = {true};
        f.dialogs.yesNo = {true};
        f.Key(Qt::Key_Insert, Qt::AltModifier);
        const NodeLoadRec& load = *f.model.nodeLoads.At(0);
        QCOMPARE(QList<int>({load.from, load.to}), QList<int>({3, INT32_MAX}));
    }

    // Rows nothing refers to move without a question.
    void noQuestionWithoutReferences() {
        PageFixture f(Page::Knoten);
        f.grid.SetReferenceModel(&f.model);
        FillGirder(f.model);
        f.Refresh();
        f.grid.MoveTo(f.GridRow(7), 1);
        f.Key(Qt::Key_Insert, Qt::AltModifier);
        QVERIFY(f.dialogs.questions.isEmpty());
    }
};

BALKOR_REGISTER_TEST(GridReferencesTest);
#include "ReferencesTest.moc"
