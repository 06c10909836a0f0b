#include "FilesTestSupport.h"
#include "model/Checks.h"
#include "model/Tables.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

// System: nodes 1-5 on a line, beams 1-3 between nodes 1-4 (node 5 is not
// connected), beam 1 and 2 of type 1, beam 3 of type 2; hinge 1 on beam 2.
class LoadCheck : public ::testing::Test {
protected:
    void SetUp() override {
        for (int n = 1; n <= 5; ++n)
            PutRecord(m.nodes, n, NodeRec{.x = 4.0 * n, .y = 0.0});
        PutRecord(m.mats, 1, MatRec{.E = 1, .G = 1, .It = 1, .Iy = 1, .alphaT = 1e-5});
        PutRecord(m.mats, 2, MatRec{.E = 1, .G = 1, .It = 1, .Iy = 1, .alphaT = 1e-5});
        for (int b = 1; b <= 3; ++b)
            PutRecord(
                m.beams, b,
                BeamRec{.start = b, .end = b + 1, .section = b < 3 ? 1 : 2, .thickness = 0.5});
        PutRecord(m.hinges, 1, HingeRec{.beam = 2, .pos = 0.5, .type = kHingeBending});
    }

    void ExpectError(const std::string& message, const char* page, int row, int column) {
        const CheckReport report = CheckLoads(m);
        EXPECT_FALSE(report.ok);
        EXPECT_EQ(report.message, message);
        EXPECT_EQ(report.page, page);
        EXPECT_EQ(report.row, row);
        EXPECT_EQ(report.column, column);
        EXPECT_TRUE(report.loadWindow);
    }

    InputModel m;
};

} // namespace

TEST(LoadCheckEmpty, EmptyLoadCasePassesEvenWithoutSystem) {
    InputModel m;
    EXPECT_TRUE(CheckLoads(m).ok);
}

TEST_F(LoadCheck, NodeLoads) {
    // A descending range fails even when all its nodes exist.
    PutRecord(m.nodeLoads, 1, NodeLoadRec{.from = 5, .to = 3, .Fz = 1});
    ExpectError("Knotenreihenfolge ist falsch", "Knotenlasten", 0, 1);
    m.nodeLoads.RowRecord(0)->from = 3;
    m.nodeLoads.RowRecord(0)->to = 5;
    // Node 5 is unconnected: node loads do not care.
    EXPECT_TRUE(CheckLoads(m).ok);
    m.nodes.RowRecord(3)->flag = 0;
    m.nodes.InvalidateIndex();
    ExpectError("Knoten 4 ist nicht definiert", "Knotenlasten", 0, 1);
    m.nodeLoads.RowRecord(0)->from = -2;
    ExpectError("Knoten -2 ist nicht definiert", "Knotenlasten", 0, 1);
}

TEST_F(LoadCheck, BeamLoads) {
    PutRecord(m.beamLoads, 2, BeamLoadRec{.from = 3, .to = 2, .qStart = 1});
    ExpectError("Stabreihenfolge ist falsch", "Streckenlasten", 1, 1);
    m.beamLoads.RowRecord(1)->to = 4;
    ExpectError("Stab 4 ist nicht definiert", "Streckenlasten", 1, 1);
    m.beamLoads.RowRecord(1)->to = 3;
    EXPECT_TRUE(CheckLoads(m).ok);
}

TEST_F(LoadCheck, PointLoads) {
    PutRecord(m.pointLoads, 1, PointLoadRec{.beam = 4, .pos = 0.5, .Q = 10});
    ExpectError("Der Stab ist nicht definiert !", "Einzellasten", 0, 1);
    PointLoadRec& load = *m.pointLoads.RowRecord(0);
    load.beam = 1;
    for (double inside : {0.0, 0.5, 1.0}) {
        load.pos = inside;
        EXPECT_TRUE(CheckLoads(m).ok) << inside;
    }
    const char* outside = "Die X-Position ist nur gültig für Werte zwischen 0 und 1 !";
    for (double pos : {1.0000001, -1e-9, std::numeric_limits<double>::quiet_NaN()}) {
        load.pos = pos;
        ExpectError(outside, "Einzellasten", 0, 2);
    }
}

TEST_F(LoadCheck, PointLoadOnBeamWithUndefinedNodesPasses) {
    // Only the system check looks at the beam's nodes.
    m.beams.RowRecord(0)->start = 99;
    PutRecord(m.pointLoads, 1, PointLoadRec{.beam = 1, .pos = 0.5, .Q = 10});
    EXPECT_TRUE(CheckLoads(m).ok);
}

TEST_F(LoadCheck, TemperatureWithoutDifferenceNeedsNoThickness) {
    for (int b = 1; b <= 3; ++b)
        m.beams.RowRecord(b - 1)->thickness = 0.0;
    m.mats.RowRecord(0)->alphaT = 0.0;
    m.mats.RowRecord(1)->alphaT = 0.0;
    PutRecord(m.tempLoads, 1, TempLoadRec{.from = 2, .to = 3, .dT = 0.0});
    EXPECT_TRUE(CheckLoads(m).ok);
}

TEST_F(LoadCheck, TemperatureSteps) {
    PutRecord(m.tempLoads, 1, TempLoadRec{.from = 3, .to = 1, .dT = 10});
    ExpectError("Stabreihenfolge ist falsch", "Temperatur", 0, 1);
    TempLoadRec& load = *m.tempLoads.RowRecord(0);
    load.from = 2;
    load.to = 4;
    ExpectError("Stab 4 ist nicht definiert", "Temperatur", 0, 1);
    load.to = 3;
    m.beams.RowRecord(2)->thickness = -0.1;
    ExpectError("Ungültige Stabdicke bei Stab 3 angegeben", "Temperatur", 0, 3);
    m.beams.RowRecord(2)->thickness = 0.4;
    m.mats.RowRecord(1)->alphaT = 0.0;
    ExpectError("Ungültiger Temperaturausdehnungskoeffizient bei Querschnittstyp 2 angegeben",
                "Temperatur", 0, 3);
    m.mats.RowRecord(1)->alphaT = 1.2e-5;
    EXPECT_TRUE(CheckLoads(m).ok);
}

TEST_F(LoadCheck, TemperatureStepsRunPerBeam) {
    // Beam 2 has no thickness and beam 4 does not exist: beam 2 is reported.
    m.beams.RowRecord(1)->thickness = 0.0;
    PutRecord(m.tempLoads, 1, TempLoadRec{.from = 2, .to = 4, .dT = 10});
    ExpectError("Ungültige Stabdicke bei Stab 2 angegeben", "Temperatur", 0, 3);
    // Beam 2 lacks its expansion coefficient, beam 3 its thickness: each beam
    // of the range is examined completely before the next, so beam 2's
    // missing coefficient is reported before beam 3's missing thickness.
    m.beams.RowRecord(1)->thickness = 0.5;
    m.beams.RowRecord(2)->thickness = 0.0;
    m.mats.RowRecord(0)->alphaT = 0.0;
    ExpectError("Ungültiger Temperaturausdehnungskoeffizient bei Querschnittstyp 1 angegeben",
                "Temperatur", 0, 3);
}

TEST_F(LoadCheck, TemperatureOnMissingSectionTypeReadsWithoutGrowing) {
    m.beams.RowRecord(2)->section = 40;
    PutRecord(m.tempLoads, 1, TempLoadRec{.from = 3, .to = 3, .dT = -5});
    const int types = m.mats.Count();
    ExpectError("Ungültiger Temperaturausdehnungskoeffizient bei Querschnittstyp 40 angegeben",
                "Temperatur", 0, 3);
    EXPECT_EQ(m.mats.Count(), types);
}

TEST_F(LoadCheck, ConstrainedDisplacements) {
    PutRecord(m.zwv, 1, ZwvRec{.from = 2, .to = 1, .w = 0.01});
    ExpectError("Knotenreihenfolge ist falsch", "Zwangsverformungen", 0, 1);
    ZwvRec& load = *m.zwv.RowRecord(0);
    load.from = 4;
    load.to = 6;
    // Node 5 exists but no beam uses it: reported before node 6 is looked at.
    ExpectError("Knoten 5 hat keine Verbindung mit der Struktur !", "Zwangsverformungen", 0, 2);
    PutRecord(m.beams, 4, BeamRec{.start = 4, .end = 5, .section = 1});
    ExpectError("Knoten 6 ist nicht definiert", "Zwangsverformungen", 0, 1);
    load.to = 5;
    EXPECT_TRUE(CheckLoads(m).ok);
}

TEST_F(LoadCheck, HingeLoads) {
    PutRecord(m.hingeLoads, 1, HingeLoadRec{.hinge = 2, .value = 5});
    ExpectError("Das Gelenk ist nicht definiert !", "Gelenklasten", 0, 1);
    m.hingeLoads.RowRecord(0)->hinge = 1;
    EXPECT_TRUE(CheckLoads(m).ok);
}

TEST_F(LoadCheck, SecondHingeLoadOnAHingeSelectsTheLaterRecord) {
    PutRecord(m.hingeLoads, 3, HingeLoadRec{.hinge = 1, .kind = 0, .value = 5});
    PutRecord(m.hingeLoads, 6, HingeLoadRec{.hinge = 1, .kind = 1, .value = 0.01});
    ExpectError("Es darf nur eine Gelenklast an einem Gelenk angreifen !", "Gelenklasten", 5, 1);
}

TEST_F(LoadCheck, TablesAreExaminedInTheirOrder) {
    PutRecord(m.nodeLoads, 1, NodeLoadRec{.from = 9, .to = 9});
    PutRecord(m.beamLoads, 1, BeamLoadRec{.from = 9, .to = 9});
    PutRecord(m.pointLoads, 1, PointLoadRec{.beam = 9});
    PutRecord(m.tempLoads, 1, TempLoadRec{.from = 9, .to = 9});
    PutRecord(m.zwv, 1, ZwvRec{.from = 9, .to = 9});
    PutRecord(m.hingeLoads, 1, HingeLoadRec{.hinge = 9});
    const char* pages[] = {"Knotenlasten", "Streckenlasten",     "Einzellasten",
                           "Temperatur",   "Zwangsverformungen", "Gelenklasten"};
    InputContainer* tables[] = {&m.nodeLoads, &m.beamLoads, &m.pointLoads,
                                &m.tempLoads, &m.zwv,       &m.hingeLoads};
    for (int i = 0; i < 6; ++i) {
        const CheckReport report = CheckLoads(m);
        EXPECT_FALSE(report.ok);
        EXPECT_EQ(report.page, pages[i]);
        // Mend the reported table by emptying it; the next one is reported.
        static_cast<RecordHead*>(tables[i]->RowRecord(0))->flag = 0;
        tables[i]->InvalidateIndex();
    }
    EXPECT_TRUE(CheckLoads(m).ok);
}

TEST_F(LoadCheck, RowIsTheTableRowOfTheValidRecord) {
    PutRecord(m.nodeLoads, 3, NodeLoadRec{.from = 1, .to = 2});
    PutRecord(m.nodeLoads, 8, NodeLoadRec{.from = 1, .to = 7});
    ExpectError("Knoten 6 ist nicht definiert", "Knotenlasten", 7, 1);
}

TEST_F(LoadCheck, CheckOnlyReads) {
    // Node 5 joins the structure through beam 1; beam 4 closes the line.
    m.beams.RowRecord(0)->start = 5;
    PutRecord(m.beams, 4, BeamRec{.start = 4, .end = 1, .section = 1});
    PutRecord(m.nodeLoads, 1, NodeLoadRec{.from = 2000, .to = 2000000000});
    PutRecord(m.zwv, 1, ZwvRec{.from = 1, .to = 2147483647});
    PutRecord(m.hingeLoads, 1, HingeLoadRec{.hinge = 1000});
    InputContainer* tables[] = {&m.nodes, &m.beams, &m.mats, &m.hinges};
    int counts[4];
    for (int i = 0; i < 4; ++i)
        counts[i] = tables[i]->Count();
    ExpectError("Knoten 2000 ist nicht definiert", "Knotenlasten", 0, 1);
    m.nodeLoads.Reset();
    // The walk over a huge range ends at the first missing node.
    ExpectError("Knoten 6 ist nicht definiert", "Zwangsverformungen", 0, 1);
    m.zwv.Reset();
    ExpectError("Das Gelenk ist nicht definiert !", "Gelenklasten", 0, 1);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(tables[i]->Count(), counts[i]);
}

// Mended: non-finite loads, positions, displacements and temperatures passed
// the check. They are the last step of each record, on the value's cell.
TEST_F(LoadCheck, NonFiniteNumbersAreInputErrorsOnTheirCell) {
    PutRecord(m.nodeLoads, 2, NodeLoadRec{.from = 1, .to = 2, .Fz = 1, .Mx = 2, .My = 3});
    PutRecord(m.beamLoads, 1, BeamLoadRec{.from = 1, .to = 3, .qStart = 1, .qEnd = 2});
    PutRecord(m.pointLoads, 3, PointLoadRec{.beam = 2, .pos = 0.25, .Q = 1});
    PutRecord(m.zwv, 1, ZwvRec{.from = 1, .to = 1, .w = 0.01});
    PutRecord(m.tempLoads, 4, TempLoadRec{.from = 1, .to = 3, .dT = 10});
    PutRecord(m.hingeLoads, 2, HingeLoadRec{.hinge = 1, .kind = 0, .value = 5});
    ASSERT_TRUE(CheckLoads(m).ok);
    ForEachNonFiniteValue(
        {
            {&m.nodeLoads.RowRecord(1)->Fz, "Knotenlasten", 1, 3},
            {&m.nodeLoads.RowRecord(1)->Mx, "Knotenlasten", 1, 4},
            {&m.nodeLoads.RowRecord(1)->My, "Knotenlasten", 1, 5},
            {&m.beamLoads.RowRecord(0)->qStart, "Streckenlasten", 0, 3},
            {&m.beamLoads.RowRecord(0)->qEnd, "Streckenlasten", 0, 4},
            {&m.beamLoads.RowRecord(0)->mtStart, "Streckenlasten", 0, 5},
            {&m.beamLoads.RowRecord(0)->mtEnd, "Streckenlasten", 0, 6},
            {&m.pointLoads.RowRecord(2)->Q, "Einzellasten", 2, 3},
            {&m.pointLoads.RowRecord(2)->Mb, "Einzellasten", 2, 4},
            {&m.pointLoads.RowRecord(2)->Mt, "Einzellasten", 2, 5},
            {&m.zwv.RowRecord(0)->w, "Zwangsverformungen", 0, 3},
            {&m.zwv.RowRecord(0)->rx, "Zwangsverformungen", 0, 4},
            {&m.zwv.RowRecord(0)->ry, "Zwangsverformungen", 0, 5},
            {&m.tempLoads.RowRecord(3)->dT, "Temperatur", 3, 3},
            {&m.hingeLoads.RowRecord(1)->value, "Gelenklasten", 1, 3},
        },
        [this](const char* page, int row, int column) {
            ExpectError("Ungültiger Zahlenwert !", page, row, column);
        });
    EXPECT_TRUE(CheckLoads(m).ok);
}

TEST_F(LoadCheck, NonFinitePointLoadPositionIsAnInvalidPosition) {
    PutRecord(m.pointLoads, 1,
              PointLoadRec{.beam = 2, .pos = std::numeric_limits<double>::infinity()});
    ExpectError("Die X-Position ist nur gültig für Werte zwischen 0 und 1 !", "Einzellasten", 0, 2);
}
