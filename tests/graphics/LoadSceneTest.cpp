// The load scene: load diagrams, node and point loads, hinge loads,
// constrained displacements and temperature loads, by their geometry.

#include "graphics/LoadScene.h"

#include "SceneTestSupport.h"

#include <climits>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;
constexpr Colour kRed = Rgb(255, 0, 0);
constexpr Colour kBlue = Rgb(0, 0, 255);

// A beam from (0, 0) to (10, 0): SceneSize 10 in the front view.
void OneBeam(Structure& s) {
    s.Node(0, 0);
    s.Node(10, 0);
    s.Beam(1, 2);
}

std::vector<PenLine> DistributedLines(const SceneRun& run) {
    return LinesWithPen(run.list, LoadDistributedColour, LoadDistributedLineWidth * run.S());
}

// Vertical lines of a load diagram from one height to another.
int LinesFromTo(const std::vector<PenLine>& lines, double fromY, double toY) {
    int count = 0;
    for (const PenLine& line : lines)
        count += line.a.x == line.b.x && Near(line.a.y, fromY, 1e-9) && Near(line.b.y, toY, 1e-9);
    return count;
}

TEST(LoadDiagram, AUniformLoadStandsAboveTheBeamWithArrowsOntoItsBase) {
    Structure s;
    OneBeam(s);
    s.BeamLoad(1, 1, 5, 5);
    SceneRun run(FrontView(), ShowLoads);
    run.Rebuild(s);
    ASSERT_EQ(run.S(), 10.0f);
    // The largest load is drawn 0.1 S = 1 long; stations half of that apart:
    // 20 intervals. The base line is Lastabstand × S above the beam (−z).
    const double base = -LoadDistance * 10, tip = base - 1;
    const std::vector<PenLine> lines = DistributedLines(run);
    EXPECT_EQ(LinesFromTo(lines, tip, base), 19); // arrows at the inner stations
    EXPECT_EQ(LinesFromTo(lines, base, tip), 2);  // the end ordinates
    int baseLine = 0, outline = 0;
    for (const PenLine& line : lines) {
        const bool interval = Near(line.b.x - line.a.x, 0.5, 1e-9);
        baseLine += interval && Near(line.a.y, base, 1e-12) && Near(line.b.y, base, 1e-12);
        outline += interval && Near(line.a.y, tip, 1e-12) && Near(line.b.y, tip, 1e-12);
    }
    EXPECT_EQ(baseLine, 20);
    EXPECT_EQ(outline, 20);
}

TEST(LoadDiagram, TheValueAtMidSpanChoosesTheSide) {
    struct Case {
        const char* name;
        double start, end;
        double base;             // height of the base line
        double tipStart, tipEnd; // heights of the end ordinates' tips
    };
    const double g = LoadDistance * 10;
    const Case cases[] = {
        {"negative: below the beam", -5, -5, g, g + 1, g + 1},
        {"10 to -10: 0 at mid-span, above", 10, -10, -g, -g - 1, -g + 1},
    };
    for (const Case& c : cases) {
        Structure s;
        OneBeam(s);
        s.BeamLoad(1, 1, c.start, c.end);
        SceneRun run(FrontView(), ShowLoads);
        run.Rebuild(s);
        const std::vector<PenLine> lines = DistributedLines(run);
        EXPECT_EQ(LinesFromTo(lines, c.base, c.tipStart), c.tipStart == c.tipEnd ? 2 : 1) << c.name;
        EXPECT_EQ(LinesFromTo(lines, c.base, c.tipEnd), c.tipStart == c.tipEnd ? 2 : 1) << c.name;
    }
}

TEST(LoadDiagram, AHighDiagramKeepsOneArrowAndATinyLoadABoundedCount) {
    Structure s;
    OneBeam(s);
    s.BeamLoad(1, 1, 5, 5);
    SceneRun run(FrontView(), ShowLoads);
    // Heights 15 and 25 give one and no interval of half the height: every
    // loaded beam still gets two intervals, one arrow in the middle.
    for (const double scale : {15.0, 25.0}) {
        run.options.functionScale = scale;
        run.Rebuild(s);
        // Two ordinates, base and outline of two intervals, a shaft and 3 head lines.
        EXPECT_EQ(DistributedLines(run).size(), 2u + 2u + 2u + 4u) << scale;
    }

    // A load 1e-13 of the largest one: its stations would be 1e-13 apart.
    Structure two;
    two.Node(0, 0);
    two.Node(10, 0);
    two.Node(0, 3);
    two.Node(10, 3);
    two.Beam(1, 2);
    two.Beam(3, 4);
    two.BeamLoad(1, 1, 1, 1);
    two.BeamLoad(2, 2, 1e-13, 1e-13);
    SceneRun bounded(FrontView(), ShowLoads);
    bounded.Rebuild(two);
    // Beam 1: 20 base, 20 outline, 19 arrows of a shaft and 3 head lines, 2
    // ends. Beam 2: as many intervals as fit kLoadArrowSpacing head sizes
    // apart on its picture (10 long, SceneSize 10) of base and outline,
    // shafts shorter than their heads without heads, 2 ends.
    const int fitting = static_cast<int>(
        std::trunc(10 / (kLoadArrowSpacing * ResFunctionArrowheadSize * bounded.S())));
    EXPECT_EQ(fitting, 100);
    EXPECT_EQ(DistributedLines(bounded).size(),
              size_t(20 + 20 + 19 * 4 + 2) + size_t(3 * fitting + 1));
}

// Arrow heads small enough for more than 1000 intervals on the tiny load's
// beam: it keeps at most 1000 (3 lines each and one end more).
TEST(LoadDiagram, ATinyLoadHasAtMost1000Intervals) {
    const double kept = ResFunctionArrowheadSize;
    const struct {
        double fitting;
        size_t lines;
    } cases[] = {{999, 3 * 999 + 1}, {1001, 3 * 1000 + 1}};
    for (const auto& c : cases) {
        Structure two;
        two.Node(0, 0), two.Node(10, 0), two.Node(0, 3), two.Node(10, 3);
        two.Beam(1, 2), two.Beam(3, 4);
        two.BeamLoad(1, 1, 1, 1), two.BeamLoad(2, 2, 1e-13, 1e-13);
        SceneRun bounded(FrontView(), ShowLoads);
        bounded.Rebuild(two);
        // Head sizes that fit c.fitting + 0.5 arrows, 0.5 of a head apart.
        ResFunctionArrowheadSize = 10 / (0.5 * bounded.S() * (c.fitting + 0.5));
        bounded.Rebuild(two);
        EXPECT_EQ(DistributedLines(bounded).size(), size_t(20 + 20 + 19 * 4 + 2) + c.lines)
            << c.fitting;
    }
    ResFunctionArrowheadSize = kept;
}

TEST(LoadDiagram, TorsionLoadsHaveHeadsAlongTheBeam) {
    Structure s;
    OneBeam(s);
    s.BeamLoad(1, 1, 0, 0, 2, 2);
    SceneRun run(TopView(), ShowLoads);
    run.Rebuild(s);
    // At the inner stations, heads of zero length factor pointing along the
    // beam (+x): both heads of each pair meet at the station.
    const double head = ResFunctionArrowheadSize * run.S();
    int heads = 0;
    for (const PenLine& line :
         LinesWithPen(run.list, LoadDistributedColour, LoadDistributedLineWidth * run.S()))
        heads += Near(line.a.x - line.b.x, head, 1e-9) &&
                 Near(std::fabs(line.a.y - line.b.y), 0.2 * head, 1e-9);
    EXPECT_EQ(heads, 19 * 2 * 4); // 19 stations, two heads of four edges each
}

TEST(LoadDiagram, LabelsShowMagnitudesAndSkipAZeroEndWhateverTheSign) {
    for (const double end : {10.0, -10.0}) {
        Structure s;
        OneBeam(s);
        s.BeamLoad(1, 1, 0, end);
        SceneRun run(FrontView(), ShowLoads);
        run.options.flags = ShowLoads | ShowValues;
        run.Rebuild(s);
        EXPECT_EQ(TextCount(run.list, ResFunctionTextSize * run.S()), 1) << end;
    }
}

TEST(NodeLoads, RangesVisitOnlyRowsThatExist) {
    struct Case {
        const char* name;
        int from, to;
        size_t arrows;
    };
    const Case cases[] = {
        {"3 to 1", 3, 1, 0},
        {"1 to 2", 1, 2, 2},
        {"-5 to 1", -5, 1, 1},
        {"2 to INT_MAX", 2, INT_MAX, 1},
        {"INT_MIN to INT_MAX", INT_MIN, INT_MAX, 2},
    };
    for (const Case& c : cases) {
        Structure s;
        OneBeam(s);
        s.NodeLoad(c.from, c.to, 7);
        SceneRun run(FrontView(), ShowLoads);
        run.Rebuild(s);
        EXPECT_EQ(LinesWithPen(run.list, LoadNodeColour).size(), 5 * c.arrows) << c.name;
        EXPECT_EQ(s.input.nodes.Count(), 2) << "no table grows";
    }
}

TEST(NodeLoads, ForcesEndAtTheNodeAndMomentsLieAlongTheirAxes) {
    Structure s;
    OneBeam(s);
    s.NodeLoad(2, 2, -4, 0, 0);
    s.NodeLoad(1, 1, 0, 3, -6);
    SceneRun run(TopView(), ShowLoads);
    run.Rebuild(s);
    const double length = GeoBeamLoadScale * run.S(); // the largest force and moment
    // Rx about x: along x; Ry (−6, the largest moment) about y: along y,
    // turned round by its sign.
    const Vec2 node = run.At(0, 0);
    int rx = 0, ry = 0;
    for (const PenLine& line : LinesWithPen(run.list, LoadNodeColour)) {
        rx += line.b == node && NearPoint(line.a, node + Vec2{-0.5 * length, 0});
        ry += line.b == node && NearPoint(line.a, node + Vec2{0, length});
    }
    EXPECT_EQ(rx, 1);
    EXPECT_EQ(ry, 1);

    SceneRun front(FrontView(), ShowLoads);
    front.Rebuild(s);
    const Vec2 end = front.At(10, 0);
    int force = 0; // −4 points up (−z): it comes from below and ends at the node
    for (const PenLine& line : LinesWithPen(front.list, LoadNodeColour))
        force += line.b == end && NearPoint(line.a, {end.x, GeoBeamLoadScale * 10});
    EXPECT_EQ(force, 1);
}

TEST(PointLoads, NeedADefinedBeamAndAPositionOnIt) {
    struct Case {
        const char* name;
        int beam;
        double pos;
        double atX; // where the arrow ends; NaN: nothing drawn
    };
    const double none = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {"middle", 1, 0.5, 5},
        {"beyond the end", 1, 7, 10},
        {"before the start", 1, -2, 0},
        {"position no number", 1, none, none},
        {"beam 2 undefined", 2, 0.5, none},
        {"beam 9 missing", 9, 0.5, none},
    };
    for (const Case& c : cases) {
        Structure s;
        OneBeam(s);
        s.Beam(2, 2); // used row, but no beam
        s.PointLoad(c.beam, c.pos, 3);
        SceneRun run(FrontView(), ShowLoads);
        run.Rebuild(s);
        const std::vector<PenLine> lines = LinesWithPen(run.list, LoadPointColour);
        if (std::isnan(c.atX)) {
            EXPECT_TRUE(lines.empty()) << c.name;
            continue;
        }
        ASSERT_EQ(lines.size(), 5u) << c.name;
        EXPECT_TRUE(NearPoint(lines[0].b, run.At(c.atX, 0))) << c.name;
    }
}

TEST(PointLoads, TorsionAlongTheBeamAndBendingAcrossIt) {
    Structure s;
    s.Node(0, 0);
    s.Node(4, 4);
    s.Beam(1, 2);
    s.PointLoad(1, 0.5, 0, 3, 3);
    SceneRun run(TopView(), ShowLoads);
    run.Rebuild(s);
    const double length = GeoBeamLoadScale * run.S();
    const Vec2 p = run.At(2, 2);
    const double d = length / std::sqrt(2.0);
    int along = 0, across = 0;
    for (const PenLine& line : LinesWithPen(run.list, LoadPointColour)) {
        if (!(Near(line.b.x, p.x, 1e-9) && Near(line.b.y, p.y, 1e-9)))
            continue;
        along += Near(line.a.x, p.x - d, 1e-9) && Near(line.a.y, p.y - d, 1e-9);  // φ = 45°
        across += Near(line.a.x, p.x + d, 1e-9) && Near(line.a.y, p.y - d, 1e-9); // φ = 135°
    }
    EXPECT_EQ(along, 1);
    EXPECT_EQ(across, 1);
}

// Two opposite arrows beside a shear hinge; the direction of one row does
// not pass to the next.
TEST(HingeLoads, OppositeForcesBesideTheHingeAndEachRowItsOwnDirection) {
    Structure s;
    s.Node(0, 0);
    s.Node(10, 0);
    s.Node(20, 0);
    s.Beam(1, 2);
    s.Beam(2, 3);
    s.Hinge(1, 0.5, kHingeShear);
    s.Hinge(2, 0.5, kHingeShear);
    s.HingeLoad(1, kHingeLoadForce, -5); // a negative value turns its arrows round
    s.HingeLoad(2, kHingeLoadForce, 5);
    SceneRun run(FrontView(), ShowLoads);
    run.Rebuild(s);
    const double S = run.S();
    const double m = 0.5 * GeoHingeSize * S / 10; // margin on a beam of 10
    const double length = GeoBeamLoadScale * S;   // both values are the largest
    const Vec2 a = run.At(15 - 10 * m, 0), c = run.At(15 + 10 * m, 0);
    int endingAtA = 0, endingAtC = 0;
    for (const PenLine& line : LinesWithPen(run.list, LoadNodeColour)) {
        endingAtA += NearPoint(line.b, a) && NearPoint(line.a, {a.x, -length}); // +5 down
        endingAtC += NearPoint(line.b, c) && NearPoint(line.a, {c.x, length});  // −5 up
    }
    EXPECT_EQ(endingAtA, 1);
    EXPECT_EQ(endingAtC, 1);
}

TEST(HingeLoads, ImposedShearDeformationsStartAtTheHingeWithHalfTheJump) {
    Structure s;
    s.Node(0, 0);
    s.Node(10, 0);
    s.Beam(1, 2);
    s.Hinge(1, 0.5, kHingeShear);
    s.HingeLoad(1, kHingeLoadDeformation, 0.02);
    SceneRun run(FrontView(), ShowLoads);
    run.Rebuild(s);
    // Without results: half the jump on each side is the largest deflection.
    const double length = ResDeflectionScale * run.S();
    const double m = 0.5 * GeoHingeSize * run.S() / 10;
    const Vec2 a = run.At(5 - 10 * m, 0), c = run.At(5 + 10 * m, 0);
    int fromA = 0, fromC = 0;
    for (const PenLine& line : LinesWithPen(run.list, LoadZwvColour)) {
        fromA += NearPoint(line.a, a) && NearPoint(line.b, {a.x, length});
        fromC += NearPoint(line.a, c) && NearPoint(line.b, {c.x, -length});
    }
    EXPECT_EQ(fromA, 1);
    EXPECT_EQ(fromC, 1);
}

TEST(ConstrainedDisplacements, DrawnWithoutAnyForceAndStartingAtTheNode) {
    Structure s;
    OneBeam(s);
    s.Zwv(2, 2, 0.01);
    SceneRun run(FrontView(), ShowLoads);
    run.options.displacementScale = 3;
    run.Rebuild(s);
    const std::vector<PenLine> lines = LinesWithPen(run.list, LoadZwvColour);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_TRUE(NearPoint(lines[0].a, run.At(10, 0)));
    EXPECT_NEAR(lines[0].b.y, 3 * ResDeflectionScale * run.S(), 1e-9);
}

TEST(TemperatureLoads, TheWarmerSideIsRed) {
    for (const double dT : {20.0, -20.0}) {
        Structure s;
        OneBeam(s);
        s.Beam(2, 2); // no beam: skipped
        s.Temperature(1, 2, dT);
        s.Temperature(1, 1, 0); // no difference: nothing
        SceneRun run(FrontView(), ShowLoads);
        run.Rebuild(s);
        const double a = LoadTempDistance * run.S(), width = LoadTempLineWidth * run.S();
        const std::vector<PenLine> red = LinesWithPen(run.list, kRed, width);
        const std::vector<PenLine> blue = LinesWithPen(run.list, kBlue, width);
        ASSERT_EQ(red.size(), 1u) << dT;
        ASSERT_EQ(blue.size(), 1u) << dT;
        const double warm = dT > 0 ? a : -a; // Tu − To > 0: the lower (+z) side is warm
        EXPECT_TRUE(NearPoint(red[0].a, run.At(1, 0, warm))) << dT;
        EXPECT_TRUE(NearPoint(red[0].b, run.At(9, 0, warm))) << dT;
        EXPECT_TRUE(NearPoint(blue[0].a, run.At(1, 0, -warm))) << dT;
    }
}

} // namespace
