#include "model/Tables.h"
#include "support/TableRows.h"

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>

namespace {

void AddNode(InputModel& m, int number, double x, double y) {
    NodeRec& node = ValidRecord(m.nodes, number - 1);
    node.x = x;
    node.y = y;
}

void AddBeam(InputModel& m, int number, int start, int end) {
    BeamRec& beam = ValidRecord(m.beams, number - 1);
    beam.start = start;
    beam.end = end;
}

void AddHinge(InputModel& m, int number, int beam, double pos, int type) {
    HingeRec& hinge = ValidRecord(m.hinges, number - 1);
    hinge.beam = beam;
    hinge.pos = pos;
    hinge.type = type;
}

template <class T> void Store(InputContainer& table, int row, int col, T value) {
    table.StoreValue(row, col, &value);
}

} // namespace

TEST(GeometryTables, ColumnsMapToFields) {
    InputModel m;
    Store(m.nodes, 0, 0, 1.5);
    Store(m.nodes, 0, 1, 2.5);
    Store<int32_t>(m.nodes, 0, 2, 1);
    Store<int32_t>(m.nodes, 0, 3, 1);
    Store<int32_t>(m.nodes, 0, 4, 0);
    Store(m.nodes, 0, 5, 30.0);
    const NodeRec& n = *m.nodes.At(0);
    EXPECT_EQ(n.x, 1.5);
    EXPECT_EQ(n.y, 2.5);
    EXPECT_EQ(n.fixZ, 1);
    EXPECT_EQ(n.fixRx, 1);
    EXPECT_EQ(n.fixRy, 0);
    EXPECT_EQ(n.skew, 30.0);
    EXPECT_EQ(m.nodes.ValuePtr(0, 6), nullptr);

    // The grid shows Iy (column 2) before It (column 3).
    Store(m.mats, 0, 2, 2e-4);
    Store(m.mats, 0, 3, 3e-4);
    EXPECT_EQ(m.mats.At(0)->Iy, 2e-4);
    EXPECT_EQ(m.mats.At(0)->It, 3e-4);
    EXPECT_EQ(m.mats.ValuePtr(0, 2), &m.mats.At(0)->Iy);

    Store<int32_t>(m.beams, 0, 3, 7);
    Store(m.beams, 0, 4, 0.3);
    EXPECT_EQ(m.beams.At(0)->intervals, 7);
    EXPECT_EQ(m.beams.At(0)->thickness, 0.3);
    Store(m.beams, 0, 5, 99.0); // the length column is not stored
    EXPECT_EQ(*static_cast<double*>(m.beams.ValuePtr(0, 5)), 0.0);
    EXPECT_EQ(m.beams.ValuePtr(0, 6), nullptr);
}

TEST(GeometryTables, ComputedBeamLength) {
    InputModel m;
    AddNode(m, 1, 0, 0);
    AddNode(m, 2, 3, 4);
    AddBeam(m, 1, 1, 2);
    AddBeam(m, 2, 1, 1); // same node at both ends
    AddBeam(m, 3, 1, 5); // names an empty node row
    EXPECT_DOUBLE_EQ(*static_cast<double*>(m.beams.ValuePtr(0, 5)), 5.0);
    EXPECT_EQ(*static_cast<double*>(m.beams.ValuePtr(1, 5)), 0.0);
    EXPECT_EQ(*static_cast<double*>(m.beams.ValuePtr(2, 5)), 0.0);
    EXPECT_EQ(m.nodes.Count(), 2); // looking at beam 3 creates no node rows
}

TEST(GeometryTables, BeamDefaults) {
    InputModel m;
    m.beams.SetRowValid(0, 0, kFlagUser);
    EXPECT_EQ(m.beams.At(0)->section, 1);
    EXPECT_EQ(m.beams.At(0)->intervals, 5);

    m.beams.RowRecord(2)->section = 4; // row 2 need not be valid
    m.beams.SetRowValid(3, 0, kFlagUser);
    EXPECT_EQ(m.beams.At(3)->section, 4);
    EXPECT_EQ(m.beams.At(3)->intervals, 5);
}

TEST(GeometryTables, CrossSectionDefaultsCopyAllButAlphaT) {
    InputModel m;
    MatRec* first = m.mats.RowRecord(1);
    *first = MatRec{kFlagUser, 0, 2.1e8, 8.1e7, 3e-4, 2e-4, 1.2e-5};
    m.mats.SetRowValid(2, 0, kFlagUser);
    const MatRec& second = *m.mats.At(2);
    EXPECT_EQ(second.E, 2.1e8);
    EXPECT_EQ(second.G, 8.1e7);
    EXPECT_EQ(second.It, 3e-4);
    EXPECT_EQ(second.Iy, 2e-4);
    EXPECT_EQ(second.alphaT, 0.0);

    m.mats.RowRecord(0)->E = 5.0;
    m.mats.SetRowValid(0, 0, kFlagUser); // row 0 keeps its values
    EXPECT_EQ(m.mats.At(0)->E, 5.0);
}

TEST(GeometryTables, PositionsAreClamped) {
    InputModel m;
    Store(m.hinges, 0, 1, -0.2);
    EXPECT_EQ(m.hinges.At(0)->pos, 0.0);
    Store(m.hinges, 0, 1, 1.5);
    EXPECT_EQ(m.hinges.At(0)->pos, 1.0);
    Store(m.hinges, 0, 1, 0.25);
    EXPECT_EQ(m.hinges.At(0)->pos, 0.25);
    Store(m.pointLoads, 0, 1, 1.7);
    EXPECT_EQ(m.pointLoads.At(0)->pos, 1.0);
    Store(m.pointLoads, 0, 1, -3.0);
    EXPECT_EQ(m.pointLoads.At(0)->pos, 0.0);
}

TEST(GeometryTables, BeamAngleInAllQuadrants) {
    InputModel m;
    AddNode(m, 1, 0, 0);
    const struct {
        double x, y, angle;
    } cases[] = {
        {3, 4, std::asin(0.8)},
        {-3, 4, M_PI - std::asin(0.8)},
        {-3, -4, M_PI + std::asin(0.8)},
        {3, -4, -std::asin(0.8)},
        {5, 0, 0.0},
        {-5, 0, M_PI},
        {0, 5, M_PI / 2},
        {0, -5, -M_PI / 2},
    };
    int number = 2;
    for (const auto& c : cases) {
        AddNode(m, number, c.x, c.y);
        AddBeam(m, number, 1, number);
        EXPECT_NEAR(m.beams.BeamAngle(number), c.angle, 1e-14) << c.x << ", " << c.y;
        EXPECT_GE(m.beams.BeamAngle(number), -M_PI / 2);
        EXPECT_LT(m.beams.BeamAngle(number), 1.5 * M_PI);
        EXPECT_DOUBLE_EQ(m.beams.BeamLength(number), 5.0);
        ++number;
    }
    AddNode(m, number, 1e-9, 0); // shorter than 1e-8: angle 0
    AddBeam(m, number, 1, number);
    EXPECT_EQ(m.beams.BeamAngle(number), 0.0);
}

TEST(GeometryTables, PointAtAndDefinedBeams) {
    InputModel m;
    AddNode(m, 1, 1, 2);
    AddNode(m, 2, 5, 10);
    AddBeam(m, 1, 1, 2);
    AddBeam(m, 2, 2, 3);
    const Point2 p = m.beams.PointAt(1, 0.25);
    EXPECT_DOUBLE_EQ(p.x, 2.0);
    EXPECT_DOUBLE_EQ(p.y, 4.0);
    EXPECT_TRUE(m.beams.BeamDefined(1));
    EXPECT_FALSE(m.beams.BeamDefined(2)); // node 3 does not exist
    EXPECT_FALSE(m.beams.BeamDefined(3)); // no such beam
    EXPECT_FALSE(m.beams.BeamDefined(0));
}

// References read from a file may hold any number; none reaches a row that
// does not exist, and none grows a table.
TEST(GeometryTables, ReferencesFarOutOfRange) {
    InputModel m;
    AddNode(m, 1, 0, 0);
    AddNode(m, 2, 4, 0);
    AddBeam(m, 1, 1, 2);
    for (int32_t number : {INT32_MIN, -1, 0, 3, INT32_MAX}) {
        EXPECT_EQ(m.nodes.Existing(number), nullptr) << number;
        EXPECT_FALSE(m.beams.BeamDefined(number)) << number;
        m.beams.At(0)->start = number;
        EXPECT_FALSE(m.beams.BeamDefined(*m.beams.At(0))) << number;
        AddHinge(m, 1, 1, 0.5, kHingeBending);
        m.hinges.At(0)->beam = number;
        EXPECT_FALSE(m.hinges.HingeOnValidBeam(*m.hinges.At(0))) << number;
    }
    EXPECT_EQ(m.nodes.Existing(2), m.nodes.At(1));
    EXPECT_EQ(m.nodes.Count(), 2);
    EXPECT_EQ(m.beams.Count(), 1);
}

TEST(GeometryTables, NodeUnconnected) {
    InputModel m;
    for (int n = 1; n <= 7; ++n)
        AddNode(m, n, n, 0);
    AddBeam(m, 1, 1, 2);
    m.beams.RowRecord(1)->start = 7; // an empty beam row does not connect
    m.beams.RowRecord(1)->end = 3;
    EXPECT_FALSE(m.nodes.NodeUnconnected(1));
    EXPECT_FALSE(m.nodes.NodeUnconnected(2));
    EXPECT_TRUE(m.nodes.NodeUnconnected(7));
    EXPECT_TRUE(m.nodes.NodeUnconnected(9)); // no such node
}

TEST(GeometryTables, HingesOnBeamsAndFindHinge) {
    InputModel m;
    AddNode(m, 1, 0, 0);
    AddNode(m, 2, 4, 0);
    AddBeam(m, 1, 1, 2);
    AddBeam(m, 2, 2, 2);
    AddHinge(m, 1, 1, 0.5, kHingeBending);
    AddHinge(m, 2, 1, 0.5, kHingeBending); // a duplicate is found as well
    AddHinge(m, 3, 2, 0.5, kHingeShear);
    m.hinges.RowRecord(4)->beam = 1; // an empty hinge row is never found
    m.hinges.RowRecord(4)->pos = 0.75;
    m.hinges.RowRecord(4)->type = kHingeTorsion;
    EXPECT_TRUE(m.hinges.FindHinge(1, 0.5, kHingeBending));
    EXPECT_FALSE(m.hinges.FindHinge(1, 0.5, kHingeTorsion));
    EXPECT_FALSE(m.hinges.FindHinge(1, 0.5000001, kHingeBending));
    EXPECT_FALSE(m.hinges.FindHinge(1, 0.75, kHingeTorsion));
    EXPECT_TRUE(m.hinges.HingeOnValidBeam(*m.hinges.At(0)));
    EXPECT_FALSE(m.hinges.HingeOnValidBeam(*m.hinges.At(2))); // beam 2 is not defined
}

TEST(LoadTables, RangeRule) {
    InputModel m;
    InputContainer* ranges[] = {&m.nodeLoads, &m.beamLoads, &m.zwv, &m.tempLoads};
    for (InputContainer* table : ranges) {
        Store<int32_t>(*table, 0, 1, 3);
        Store<int32_t>(*table, 0, 0, 7); // von above bis raises bis
        auto* fields = static_cast<int32_t*>(table->ValuePtr(0, 0));
        EXPECT_EQ(fields[0], 7) << table->SectionKeyword();
        EXPECT_EQ(*static_cast<int32_t*>(table->ValuePtr(0, 1)), 7) << table->SectionKeyword();
        Store<int32_t>(*table, 0, 1, 2); // bis is stored as it is
        EXPECT_EQ(*static_cast<int32_t*>(table->ValuePtr(0, 1)), 2) << table->SectionKeyword();
        Store<int32_t>(*table, 1, 0, 0); // von 0 in a fresh row keeps bis 0
        EXPECT_EQ(*static_cast<int32_t*>(table->ValuePtr(1, 1)), 0) << table->SectionKeyword();
    }
}

TEST(LoadTables, ColumnsMapToFields) {
    InputModel m;
    Store(m.beamLoads, 0, 2, 1.0);
    Store(m.beamLoads, 0, 3, 2.0);
    Store(m.beamLoads, 0, 4, 3.0);
    Store(m.beamLoads, 0, 5, 4.0);
    const BeamLoadRec& b = *m.beamLoads.At(0);
    EXPECT_EQ(b.qStart + 10 * b.qEnd + 100 * b.mtStart + 1000 * b.mtEnd, 4321.0);
    Store<int32_t>(m.hingeLoads, 0, 0, 3);
    Store<int32_t>(m.hingeLoads, 0, 1, kHingeLoadDeformation);
    Store(m.hingeLoads, 0, 2, 0.01);
    EXPECT_EQ(m.hingeLoads.At(0)->hinge, 3);
    EXPECT_EQ(m.hingeLoads.At(0)->kind, kHingeLoadDeformation);
    EXPECT_EQ(m.hingeLoads.At(0)->value, 0.01);
    Store(m.tempLoads, 0, 2, 20.0);
    EXPECT_EQ(m.tempLoads.At(0)->dT, 20.0);
    EXPECT_EQ(m.tempLoads.ValuePtr(0, 3), nullptr);
    Store(m.pointLoads, 0, 4, -2.0);
    EXPECT_EQ(m.pointLoads.At(0)->Mt, -2.0);
}

TEST(LoadTables, LargestMagnitudes) {
    InputModel m;
    EXPECT_EQ(m.nodeLoads.MaxAbsFz(), 0.0);
    EXPECT_EQ(m.nodeLoads.MaxAbsNodeMoment(), 0.0);
    EXPECT_EQ(m.beamLoads.MaxAbsLineLoad(), 0.0);
    EXPECT_EQ(m.pointLoads.MaxAbsQ(), 0.0);
    EXPECT_EQ(m.pointLoads.MaxAbsPointMoment(), 0.0);
    EXPECT_EQ(m.zwv.MaxAbsW(), 0.0);
    EXPECT_EQ(m.zwv.MaxAbsRotation(), 0.0);
    EXPECT_EQ(m.hingeLoads.MaxAbsHingeLoad(0, 1), 0.0);

    *m.nodeLoads.RowRecord(0) = NodeLoadRec{kFlagUser, 0, 1, 1, -12, 3, -4};
    *m.nodeLoads.RowRecord(1) = NodeLoadRec{kFlagFile, 0, 1, 1, 5, -7, 1};
    *m.nodeLoads.RowRecord(2) = NodeLoadRec{0, 0, 1, 1, 99, 99, 99}; // empty row
    m.nodeLoads.InvalidateIndex();
    EXPECT_EQ(m.nodeLoads.MaxAbsFz(), 12.0);
    EXPECT_EQ(m.nodeLoads.MaxAbsNodeMoment(), 7.0);

    *m.beamLoads.RowRecord(0) = BeamLoadRec{kFlagUser, 0, 1, 1, 1, -2, 3, -8};
    m.beamLoads.InvalidateIndex();
    EXPECT_EQ(m.beamLoads.MaxAbsLineLoad(), 8.0);
    *m.pointLoads.RowRecord(0) = PointLoadRec{kFlagUser, 0, 1, 0.5, -6, 2, -9, 0};
    m.pointLoads.InvalidateIndex();
    EXPECT_EQ(m.pointLoads.MaxAbsQ(), 6.0);
    EXPECT_EQ(m.pointLoads.MaxAbsPointMoment(), 9.0);
    *m.zwv.RowRecord(0) = ZwvRec{kFlagUser, 0, 1, 1, -0.02, 0.003, -0.004};
    m.zwv.InvalidateIndex();
    EXPECT_EQ(m.zwv.MaxAbsW(), 0.02);
    EXPECT_EQ(m.zwv.MaxAbsRotation(), 0.004);
}

// A value that is not a finite number (from a file) is passed over: it would
// set the scale of every other load symbol to 0 or to NaN.
TEST(LoadTables, LargestMagnitudesPassOverNonFiniteValues) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    InputModel m;
    *m.nodeLoads.RowRecord(0) = NodeLoadRec{kFlagUser, 0, 1, 1, -inf, nan, 2};
    *m.nodeLoads.RowRecord(1) = NodeLoadRec{kFlagUser, 0, 1, 1, 3, inf, -1};
    m.nodeLoads.InvalidateIndex();
    EXPECT_EQ(m.nodeLoads.MaxAbsFz(), 3.0);
    EXPECT_EQ(m.nodeLoads.MaxAbsNodeMoment(), 2.0);
    AddHinge(m, 1, 1, 0.5, kHingeBending);
    *m.hingeLoads.RowRecord(0) = HingeLoadRec{kFlagUser, 0, 1, kHingeLoadForce, nan};
    *m.hingeLoads.RowRecord(1) = HingeLoadRec{kFlagUser, 0, 1, kHingeLoadForce, -inf};
    m.hingeLoads.InvalidateIndex();
    EXPECT_EQ(m.hingeLoads.MaxAbsHingeLoad(kHingeLoadForce, kHingeBending), 0.0);
}

TEST(LoadTables, LargestHingeLoadOfAKindAndType) {
    InputModel m;
    AddHinge(m, 1, 1, 0.5, kHingeBending);
    AddHinge(m, 2, 1, 0.5, kHingeShear);
    AddHinge(m, 3, 1, 0.5, kHingeTorsion);
    m.hinges.RowRecord(3)->type = kHingeBending; // hinge 4: empty row
    auto add = [&](int row, int hinge, int kind, double value) {
        *m.hingeLoads.RowRecord(row) = HingeLoadRec{kFlagUser, 0, hinge, kind, value};
    };
    add(0, 1, kHingeLoadForce, -3.0);
    add(1, 1, kHingeLoadDeformation, 50.0); // other kind
    add(2, 2, kHingeLoadForce, 40.0);       // shear hinge
    add(3, 3, kHingeLoadForce, 30.0);       // torsion hinge
    add(4, 4, kHingeLoadForce, 20.0);       // hinge row empty
    add(5, 9, kHingeLoadForce, 10.0);       // no such hinge
    m.hingeLoads.InvalidateIndex();
    EXPECT_EQ(m.hingeLoads.MaxAbsHingeLoad(kHingeLoadForce, kHingeBending), 3.0);
    EXPECT_EQ(m.hingeLoads.MaxAbsHingeLoad(kHingeLoadDeformation, kHingeBending), 50.0);
    EXPECT_EQ(m.hingeLoads.MaxAbsHingeLoad(kHingeLoadForce, kHingeShear), 40.0);
    EXPECT_EQ(m.hinges.Count(), 4); // the query creates no hinge rows
}

TEST(InputModelTest, ChangesReachTheRightHalf) {
    struct Observer : DocumentObserver {
        void SystemChanged() override { ++system; }
        void LoadCaseChanged() override { ++loads; }
        int system = 0, loads = 0;
    } observer;
    InputModel m;
    m.SetObserver(&observer);
    for (InputContainer* t : m.systemTables)
        t->NotifyChanged();
    for (InputContainer* t : m.loadTables)
        t->NotifyChanged();
    EXPECT_EQ(observer.system, 4);
    EXPECT_EQ(observer.loads, 6);
    const char* keywords[] = {"NODES",           "BEAMS",    "MATERIALS", "HINGES",
                              "NODELOAD",        "BEAMLOAD", "POINTLOAD", "CONSTRAINTLOAD",
                              "TEMPERATURELOAD", "HINGELOAD"};
    for (int i = 0; i < 4; ++i)
        EXPECT_STREQ(m.systemTables[i]->SectionKeyword(), keywords[i]);
    for (int i = 0; i < 6; ++i)
        EXPECT_STREQ(m.loadTables[i]->SectionKeyword(), keywords[4 + i]);
}

// Mended: number - 1 overflowed for the smallest int32 (a hand-edited file);
// the undefined-behaviour sanitizer of make test-asan stops on it.
TEST(GeometryTables, SmallestNumbersNameNoRow) {
    constexpr int32_t kSmallest = std::numeric_limits<int32_t>::min();
    EXPECT_EQ(RowOfNumber(kSmallest), -1);
    EXPECT_EQ(RowOfNumber(0), -1);
    EXPECT_EQ(RowOfNumber(1), 0);
    EXPECT_EQ(RowOfNumber(std::numeric_limits<int32_t>::max()), 2147483646);
    InputModel m;
    AddNode(m, 1, 0, 0);
    AddNode(m, 2, 4, 0);
    AddBeam(m, 1, kSmallest, 2);
    AddBeam(m, 2, 1, kSmallest);
    AddHinge(m, 1, kSmallest, 0.5, kHingeBending);
    *m.hingeLoads.RowRecord(0) = HingeLoadRec{kFlagUser, 0, kSmallest, kHingeLoadForce, 7.0};
    m.hingeLoads.InvalidateIndex();
    EXPECT_FALSE(m.beams.BeamDefined(1));
    EXPECT_FALSE(m.beams.BeamDefined(2));
    EXPECT_FALSE(m.beams.BeamDefined(kSmallest));
    EXPECT_FALSE(m.hinges.HingeOnValidBeam(*m.hinges.At(0)));
    EXPECT_EQ(m.hingeLoads.MaxAbsHingeLoad(kHingeLoadForce, kHingeBending), 0.0);
}
