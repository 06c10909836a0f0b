#include "FilesTestSupport.h"
#include "model/Checks.h"
#include "model/Tables.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

// A simply supported span: nodes 1 (0, 0) and 2 (5, 0), beam 1 with type 1.
class SystemCheck : public ::testing::Test {
protected:
    void SetUp() override {
        PutRecord(m.nodes, 1, NodeRec{.x = 0.0, .y = 0.0, .fixZ = 1});
        PutRecord(m.nodes, 2, NodeRec{.x = 5.0, .y = 0.0, .fixZ = 1});
        PutRecord(m.mats, 1, GoodSection());
        PutRecord(m.beams, 1, BeamRec{.start = 1, .end = 2, .section = 1, .intervals = 5});
    }
    static MatRec GoodSection() { return MatRec{.E = 2.1e8, .G = 8.1e7, .It = 3e-4, .Iy = 2e-4}; }

    void ExpectError(const char* message, const char* page, int row, int column) {
        const CheckReport report = CheckSystem(m);
        EXPECT_FALSE(report.ok);
        EXPECT_EQ(report.message, message);
        EXPECT_EQ(report.page, page);
        EXPECT_EQ(report.row, row);
        EXPECT_EQ(report.column, column);
        EXPECT_FALSE(report.loadWindow);
    }

    InputModel m;
};

} // namespace

TEST(SystemCheckEmpty, EmptySystemPasses) {
    InputModel m;
    const CheckReport report = CheckSystem(m);
    EXPECT_TRUE(report.ok);
    EXPECT_TRUE(report.message.empty());
}

TEST(SystemCheckEmpty, WithoutBeamsHingesAndNodesAreNotExamined) {
    InputModel m;
    PutRecord(m.hinges, 1, HingeRec{.beam = 9, .pos = 0.5, .type = 1});
    PutRecord(m.hinges, 2, HingeRec{.beam = 9, .pos = 0.5, .type = 1});
    PutRecord(m.nodes, 4, NodeRec{.x = 1.0});
    EXPECT_TRUE(CheckSystem(m).ok);
}

TEST_F(SystemCheck, ConsistentSystemPasses) {
    // alphaT, thickness and unused nodes are not the system check's business.
    PutRecord(m.nodes, 7, NodeRec{.x = 9.0, .y = 9.0});
    EXPECT_TRUE(CheckSystem(m).ok);
}

TEST_F(SystemCheck, MissingNodesSelectTheirColumns) {
    m.beams.RowRecord(0)->start = 3;
    ExpectError("Der erste Knoten ist nicht definiert !", "Stäbe", 0, 1);
    m.beams.RowRecord(0)->start = 1;
    m.beams.RowRecord(0)->end = 0;
    ExpectError("Der zweite Knoten ist nicht definiert !", "Stäbe", 0, 2);
    // A node row that exists but is empty is not defined either.
    m.nodes.RowRecord(1)->flag = 0;
    m.nodes.InvalidateIndex();
    m.beams.RowRecord(0)->end = 2;
    ExpectError("Der zweite Knoten ist nicht definiert !", "Stäbe", 0, 2);
}

TEST_F(SystemCheck, ZeroLengthBeams) {
    m.beams.RowRecord(0)->end = 1;
    ExpectError("Stablänge ist Null !", "Stäbe", 0, 2);
    // Two different nodes at the same place.
    m.beams.RowRecord(0)->end = 2;
    m.nodes.RowRecord(1)->x = 0.0;
    ExpectError("Stablänge ist Null !", "Stäbe", 0, 2);
    // Equal x alone is a vertical beam.
    m.nodes.RowRecord(1)->y = 1e-12;
    EXPECT_TRUE(CheckSystem(m).ok);
}

TEST_F(SystemCheck, MissingSectionType) {
    m.beams.RowRecord(0)->section = 2;
    ExpectError("Material ist nicht definiert !", "Stäbe", 0, 3);
}

TEST_F(SystemCheck, SectionErrorsSelectTheTypeRowInStepOrder) {
    // Beam 1 uses type 2; several beams and types exist.
    PutRecord(m.nodes, 3, NodeRec{.x = 10.0});
    PutRecord(m.mats, 2, GoodSection());
    m.beams.RowRecord(0)->section = 2;
    PutRecord(m.beams, 2, BeamRec{.start = 2, .end = 3, .section = 1});
    MatRec& type2 = *m.mats.RowRecord(1);

    type2.E = 0.0;
    type2.G = -1.0;
    type2.Iy = 0.0;
    type2.It = 0.0;
    ExpectError("Ungültiger E-Modul !", "Querschnittstypen", 1, 1);
    type2.E = 1.0;
    ExpectError("Ungültiges Trägheitsmoment Iy !", "Querschnittstypen", 1, 3);
    type2.Iy = 1.0;
    ExpectError("Ungültiger Schubmodul !", "Querschnittstypen", 1, 2);
    type2.G = 1.0;
    ExpectError("Ungültiges Trägheitsmoment It !", "Querschnittstypen", 1, 4);
    type2.It = -2.0;
    ExpectError("Ungültiges Trägheitsmoment It !", "Querschnittstypen", 1, 4);
    type2.It = 1.0;
    EXPECT_TRUE(CheckSystem(m).ok);
}

TEST_F(SystemCheck, NonFiniteStiffnessFails) {
    // "nan" and overflowing exponents can come from a file; such a section
    // must not pass as positive.
    m.mats.RowRecord(0)->E = std::numeric_limits<double>::quiet_NaN();
    ExpectError("Ungültiger E-Modul !", "Querschnittstypen", 0, 1);
    m.mats.RowRecord(0)->E = 2.1e8;
    m.mats.RowRecord(0)->It = std::numeric_limits<double>::infinity();
    ExpectError("Ungültiges Trägheitsmoment It !", "Querschnittstypen", 0, 4);
}

TEST_F(SystemCheck, RowIsTheTableRowOfTheValidRecord) {
    // Beam rows 0-3: only row 3 is valid, so it is the first valid record.
    m.beams.RowRecord(0)->flag = 0;
    PutRecord(m.beams, 4, BeamRec{.start = 1, .end = 6, .section = 1});
    ExpectError("Der zweite Knoten ist nicht definiert !", "Stäbe", 3, 2);
}

TEST_F(SystemCheck, BeamsAreExaminedInRowOrderEachCompletely) {
    // Beam 1 fails only at its section, beam 2 at its first node: beam 1 wins.
    m.mats.RowRecord(0)->E = 0.0;
    PutRecord(m.beams, 2, BeamRec{.start = 8, .end = 1, .section = 1});
    ExpectError("Ungültiger E-Modul !", "Querschnittstypen", 0, 1);
}

TEST_F(SystemCheck, HingeOnMissingBeam) {
    PutRecord(m.hinges, 3, HingeRec{.beam = 2, .pos = 0.5, .type = 1});
    ExpectError("Stab nicht definiert !", "Gelenke", 2, 1);
}

TEST_F(SystemCheck, CoincidingHingesOfOneType) {
    // Same beam and position, different types: allowed.
    PutRecord(m.hinges, 1, HingeRec{.beam = 1, .pos = 0.5, .type = kHingeShear});
    PutRecord(m.hinges, 2, HingeRec{.beam = 1, .pos = 0.5, .type = kHingeBending});
    EXPECT_TRUE(CheckSystem(m).ok);
    // A second bending hinge at the same place selects the first of the pair.
    PutRecord(m.hinges, 5, HingeRec{.beam = 1, .pos = 0.5, .type = kHingeBending});
    ExpectError("Zwei gleichartige Gelenke liegen übereinander !", "Gelenke", 1, 2);
    // Positions are compared exactly.
    m.hinges.RowRecord(4)->pos = 0.5 + 1e-15;
    EXPECT_TRUE(CheckSystem(m).ok);
}

TEST_F(SystemCheck, HingesAreExaminedAfterTheFirstBeamPasses) {
    PutRecord(m.hinges, 1, HingeRec{.beam = 7, .pos = 0.5});
    // A later beam is faulty too; the hinge error comes first.
    PutRecord(m.beams, 2, BeamRec{.start = 9, .end = 1, .section = 1});
    ExpectError("Stab nicht definiert !", "Gelenke", 0, 1);
    // A faulty first beam comes before the hinges.
    m.beams.RowRecord(0)->section = 4;
    ExpectError("Material ist nicht definiert !", "Stäbe", 0, 3);
}

TEST_F(SystemCheck, EachHingeIsExaminedBeforeTheNext) {
    // Hinge 1 and 2 coincide, hinge 3 names a missing beam: hinge 1 is
    // examined completely (with its later duplicates) first.
    PutRecord(m.hinges, 1, HingeRec{.beam = 1, .pos = 0.25, .type = 2});
    PutRecord(m.hinges, 2, HingeRec{.beam = 1, .pos = 0.25, .type = 2});
    PutRecord(m.hinges, 3, HingeRec{.beam = 5, .pos = 0.25, .type = 2});
    ExpectError("Zwei gleichartige Gelenke liegen übereinander !", "Gelenke", 0, 2);
    // A missing beam on hinge 1 itself is found before its duplicates.
    m.hinges.RowRecord(0)->beam = 6;
    m.hinges.RowRecord(1)->beam = 6;
    ExpectError("Stab nicht definiert !", "Gelenke", 0, 1);
}

TEST_F(SystemCheck, CheckOnlyReads) {
    // References far beyond the tables must not grow them.
    PutRecord(m.beams, 2, BeamRec{.start = 1, .end = 2, .section = 500});
    PutRecord(m.beams, 3, BeamRec{.start = 1000, .end = 2, .section = 1});
    PutRecord(m.hinges, 1, HingeRec{.beam = 900, .pos = 0.5});
    const int nodes = m.nodes.Count(), beams = m.beams.Count(), mats = m.mats.Count(),
              hinges = m.hinges.Count();
    const MatRec before = *m.mats.RowRecord(0);
    EXPECT_FALSE(CheckSystem(m).ok);
    m.hinges.RowRecord(0)->flag = 0;
    m.hinges.InvalidateIndex();
    EXPECT_FALSE(CheckSystem(m).ok);
    EXPECT_EQ(m.nodes.Count(), nodes);
    EXPECT_EQ(m.beams.Count(), beams);
    EXPECT_EQ(m.mats.Count(), mats);
    EXPECT_EQ(m.hinges.Count(), hinges);
    EXPECT_EQ(m.mats.RowRecord(0)->E, before.E);
    EXPECT_EQ(m.mats.RowRecord(0)->flag, kFlagUser);
}

// Mended: "nan", "inf" and 1e400 in a file passed the checks and gave "nan"
// results reported as success. Every real of the system is examined once the
// beams and hinges have passed; the error points at the cell.
TEST_F(SystemCheck, NonFiniteNumbersAreInputErrorsOnTheirCell) {
    PutRecord(m.hinges, 2, HingeRec{.beam = 1, .pos = 0.5, .type = kHingeBending});
    PutRecord(m.mats, 3, GoodSection()); // a type no beam uses is examined too
    ForEachNonFiniteValue(
        {
            {&m.nodes.RowRecord(0)->x, "Knoten", 0, 1},
            {&m.nodes.RowRecord(1)->y, "Knoten", 1, 2},
            {&m.nodes.RowRecord(1)->skew, "Knoten", 1, 6},
            {&m.beams.RowRecord(0)->thickness, "Stäbe", 0, 5},
            {&m.mats.RowRecord(0)->alphaT, "Querschnittstypen", 0, 5},
            {&m.mats.RowRecord(2)->E, "Querschnittstypen", 2, 1},
            {&m.mats.RowRecord(2)->G, "Querschnittstypen", 2, 2},
            {&m.mats.RowRecord(2)->Iy, "Querschnittstypen", 2, 3},
            {&m.mats.RowRecord(2)->It, "Querschnittstypen", 2, 4},
            {&m.hinges.RowRecord(1)->pos, "Gelenke", 1, 2},
        },
        [this](const char* page, int row, int column) {
            ExpectError("Ungültiger Zahlenwert !", page, row, column);
        });
    EXPECT_TRUE(CheckSystem(m).ok);
}

TEST_F(SystemCheck, NonFiniteNumbersComeAfterTheOtherErrors) {
    m.nodes.RowRecord(0)->x = std::numeric_limits<double>::quiet_NaN();
    PutRecord(m.hinges, 1, HingeRec{.beam = 4, .pos = 0.5});
    ExpectError("Stab nicht definiert !", "Gelenke", 0, 1);
    m.hinges.RowRecord(0)->beam = 1;
    ExpectError("Ungültiger Zahlenwert !", "Knoten", 0, 1);
    // A system without beams is not examined at all.
    m.beams.Reset();
    EXPECT_TRUE(CheckSystem(m).ok);
}
