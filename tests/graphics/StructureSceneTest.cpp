// The structure scene: beams, numbers, fibre lines, hinge symbols by the
// forces they release, supports along their skewed axes, nodes, axis cross.

#include "graphics/StructureScene.h"

#include "SceneTestSupport.h"

#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;
constexpr Colour kGrey = Rgb(128, 128, 128);
constexpr Colour kWhite = Rgb(255, 255, 255);

bool SameLine(const PenLine& line, Vec2 a, Vec2 b, double tolerance = 1e-12) {
    return Near(line.a.x, a.x, tolerance) && Near(line.a.y, a.y, tolerance) &&
           Near(line.b.x, b.x, tolerance) && Near(line.b.y, b.y, tolerance);
}

Vec2 Centroid(const std::vector<Vec2>& points) {
    Vec2 sum;
    for (Vec2 p : points)
        sum = sum + p;
    return sum * (1.0 / static_cast<double>(points.size()));
}

TEST(Beams, OnlyDefinedBeamsAreDrawnWithTheirNumbers) {
    Structure s;
    s.Node(0, 0);
    s.Node(4, 0);
    s.Node(4, 3);
    s.Section(1, 1, 1, 1);
    s.Beam(1, 2);
    s.Beam(2, 2);    // start and end equal
    s.Beam(2, 9);    // no node 9
    s.Beam(2, 3, 7); // cross-section type 7 does not exist
    SceneRun run(TopView());
    run.options.flags = ShowStructure | ShowBeamNumbers;
    run.Rebuild(s);
    const double S = run.S();
    const std::vector<PenLine> grey = LinesWithPen(run.list, kGrey, GeoBeamLineWidth * S);
    // Beam lines run from the end node to the start node.
    int beams = 0;
    for (const PenLine& line : grey)
        beams += SameLine(line, run.At(4, 0), run.At(0, 0)) ||
                 SameLine(line, run.At(4, 3), run.At(4, 0));
    EXPECT_EQ(beams, 2);
    EXPECT_EQ(TextCount(run.list, GeoBeamTextSize * S), 2); // "S1" and "S4"

    run.options.flags = ShowStructure | ShowMaterialNumbers;
    run.Rebuild(s);
    EXPECT_EQ(TextCount(run.list, GeoMaterialTextSize * S), 1); // "M1" only
}

TEST(Beams, TheFibreLineIsDashedOnThePositiveZSide) {
    Structure s;
    s.Node(0, 0);
    s.Node(10, 0);
    s.Beam(1, 2);
    SceneRun run; // front view: Y = z
    run.options.flags = ShowStructure | ShowBeamNumbers;
    run.Rebuild(s);
    const double S = run.S();
    int dashes = 0;
    for (const PenLine& line : LinesWithPen(run.list, kGrey, 0.002 * S)) {
        if (line.a.y == 0.0)
            continue; // the beam
        ++dashes;
        EXPECT_NEAR(line.a.y, 0.008 * S, 1e-12);
        EXPECT_NEAR(line.b.x - line.a.x, 10 * 0.002 * S, 1e-9); // dashes 10 widths long
        EXPECT_GE(line.a.x, run.At(1, 0).x - 1e-9);
        EXPECT_LT(line.a.x, run.At(9, 0).x);
    }
    EXPECT_EQ(dashes, static_cast<int>(std::ceil(8.0 / (15 * 0.002 * S))));
}

// Which symbols a hinge draws, by the hinges at its place.
TEST(Hinges, SymbolsForEveryCombinationOfReleasedForces) {
    SettingsGuard settings;
    GeoHingeColour = Rgb(1, 2, 3);
    struct Case {
        const char* name;
        std::vector<int> types;
        std::vector<int> polygonSizes; // white fills, in order
        size_t outlineLines;
    };
    const Case cases[] = {
        {"B", {kHingeBending}, {4}, 4},
        {"T", {kHingeTorsion}, {4}, 4},
        {"Q", {kHingeShear}, {4}, 2},
        {"B T", {kHingeBending, kHingeTorsion}, {16, 16}, 30},
        {"B T Q", {kHingeBending, kHingeTorsion, kHingeShear}, {16, 16}, 0},
        {"B Q", {kHingeBending, kHingeShear}, {4}, 4 + 2},
        {"T Q", {kHingeTorsion, kHingeShear}, {4}, 4 + 2},
    };
    for (const Case& c : cases) {
        Structure s;
        s.Node(0, 0);
        s.Node(10, 0);
        s.Beam(1, 2);
        for (int type : c.types)
            s.Hinge(1, 0.5, type);
        s.Hinge(1, 0.25, kHingeShear);
        s.input.hinges.RowRecord(s.input.hinges.Count() - 1)->flag = 0; // an empty row
        s.input.hinges.InvalidateIndex();
        SceneRun run(TopView());
        run.Rebuild(s);
        std::vector<int> sizes;
        for (const auto& polygon : Polygons(run.list))
            sizes.push_back(static_cast<int>(polygon.size()));
        EXPECT_EQ(sizes, c.polygonSizes) << c.name;
        EXPECT_EQ(LinesWithPen(run.list, GeoHingeColour).size(), c.outlineLines) << c.name;
        for (const DecodedRecord& r : Decode(run.list))
            if (r.kind == kPaintBrush) {
                EXPECT_EQ(r.colour, kWhite) << c.name;
            }
    }
}

// Beams of lengths 100, 1 and 0.5 from the origin; SceneSize 100 in the view
// from above, so a hinge symbol is 1.5 long.
void ThreeBeams(Structure& s) {
    s.Node(0, 0);
    s.Node(100, 0);
    s.Node(1, 0);
    s.Node(0.5, 0);
    s.Beam(1, 2);
    s.Beam(1, 3);
    s.Beam(1, 4);
}

TEST(Hinges, KeptOffTheBeamEndsAndOnTheBeam) {
    const double size = GeoHingeSize * 100;
    struct Case {
        int beam;
        double pos;
        double expectedX;
    };
    const Case cases[] = {
        {1, 0.0, 0.5 * size},       // half a symbol from the start
        {1, 1.0, 100 - 0.5 * size}, // and from the end
        {1, 0.3, 30},               // inside: where it is
        {2, 0.0, 1.0 - 0.75},       // margin 0.75 > 0.5: at 1 − m, nearer the start
        {3, 0.9, 0.0},              // margin 1.5: limited to the beam
    };
    for (const Case& c : cases) {
        Structure s;
        ThreeBeams(s);
        s.Hinge(c.beam, c.pos, kHingeBending);
        SceneRun run(TopView());
        run.Rebuild(s);
        ASSERT_EQ(run.S(), 100.0);
        const auto polygons = Polygons(run.list);
        ASSERT_EQ(polygons.size(), 1u) << c.beam << " " << c.pos;
        EXPECT_NEAR(Centroid(polygons[0]).x, run.At(c.expectedX, 0).x, 1e-9)
            << c.beam << " " << c.pos;
    }
}

TEST(Hinges, NotOnBeamsWithoutLengthNorAtPositionsThatAreNoNumber) {
    Structure s;
    s.Node(0, 0);
    s.Node(10, 0);
    s.Node(10, 0); // the same place as node 2
    s.Beam(1, 2);
    s.Beam(2, 3);
    s.Hinge(2, 0.5, kHingeBending);
    s.Hinge(1, std::numeric_limits<double>::quiet_NaN(), kHingeShear);
    s.Hinge(1, 0.5, 7); // no such release
    SceneRun run(TopView());
    run.options.flags = ShowStructure | ShowHingeNumbers;
    run.Rebuild(s);
    EXPECT_TRUE(AllFinite(run.list));
    EXPECT_TRUE(Polygons(run.list).empty());
    EXPECT_EQ(TextCount(run.list, GeoHingeTextSize * run.S()), 1); // hinge 3's number only
}

TEST(Supports, SitAtTheirNodesAndTurnWithTheSkew) {
    struct Case {
        const char* name;
        int fixZ, fixRx, fixRy;
        double skew;
        Vec3 tail; // of the shaft, relative to the node, in lengths L
    };
    const Case cases[] = {
        {"z", 1, 0, 0, 0, {0, 0, 1}},     // arrives from the +z side
        {"Rx 0", 0, 1, 0, 0, {-1, 0, 0}}, // along the first axis, x
        {"Rx 90", 0, 1, 0, 90, {0, -1, 0}},
        {"Ry 0", 0, 0, 1, 0, {0, -1, 0}}, // second axis: skew + 90°
        {"Ry 90", 0, 0, 1, 90, {1, 0, 0}},
        {"Rx 30", 0, 1, 0, 30, {-std::cos(kPi / 6), -std::sin(kPi / 6), 0}},
    };
    for (const Case& c : cases) {
        Structure s;
        s.Node(0, 0);
        s.Node(6, 2, c.fixZ, c.fixRx, c.fixRy, c.skew);
        s.Beam(1, 2);
        // A view that shows x, y and z: z upward on the screen, x right, y down.
        ViewMatrix view;
        view.m[0][0] = 1;
        view.m[1][1] = 0.6;
        view.m[1][2] = -0.8;
        view.m[2][1] = 0.8;
        view.m[2][2] = 0.6;
        SceneRun run(view);
        run.options.flags = ShowStructure | ShowSupports;
        run.Rebuild(s);
        const double L = GeoSupportSize * run.S();
        const Vec2 node = run.At(6, 2);
        const Vec2 tail = run.At(6 + L * c.tail.x, 2 + L * c.tail.y, L * c.tail.z);
        int shafts = 0;
        for (const PenLine& line :
             LinesWithPen(run.list, GeoSupportColour, GeoSupportLineWidth * run.S()))
            shafts += SameLine(line, tail, node, 1e-9);
        EXPECT_EQ(shafts, 1) << c.name;
    }
}

TEST(Supports, OnlyWithTheirFlagAndWithoutMomentsForASkewThatIsNoNumber) {
    Structure s;
    s.Node(0, 0, 1, 1, 1, std::numeric_limits<double>::quiet_NaN());
    s.Node(6, 0);
    s.Beam(1, 2);
    SceneRun run(TopView());
    run.options.flags = ShowStructure;
    run.Rebuild(s);
    const size_t without = PenLines(run.list).size();
    run.options.flags = ShowStructure | ShowSupports;
    run.Rebuild(s);
    EXPECT_TRUE(AllFinite(run.list));
    EXPECT_EQ(PenLines(run.list).size(), without + 5); // the z arrow: shaft and four head edges
}

TEST(Nodes, ASquareAtEveryNodeAndItsNumber) {
    Structure s;
    s.Node(0, 0);
    s.Node(5, 0);
    s.Node(5, 5); // no beam needed
    SceneRun run(TopView());
    run.options.flags = ShowStructure | ShowNodeNumbers;
    run.Rebuild(s);
    const double S = run.S();
    const std::vector<PenLine> squares =
        LinesWithPen(run.list, GeoNodeColour, GeoNodeLineWidth * S);
    ASSERT_EQ(squares.size(), 12u);
    const double half = GeoNodeSize * S / std::sqrt(8.0); // the diagonal is the size
    EXPECT_NEAR(squares[0].a.x, run.At(0, 0).x - half, 1e-12);
    EXPECT_NEAR(squares[0].a.y, run.At(0, 0).y + half, 1e-12);
    EXPECT_EQ(TextCount(run.list, GeoNodeTextSize * S), 3);
}

TEST(AxisCross, ThreeLabelledArrowsFromTheOrigin) {
    Structure s;
    s.Node(2, 1);
    s.Node(8, 5);
    SceneRun run(TopView());
    run.options.flags = ShowAxisCross;
    run.Rebuild(s);
    const double L = GeoAxesSize * run.S();
    const std::vector<PenLine> lines =
        LinesWithPen(run.list, GeoAxesColour, GeoAxesLineWidth * run.S());
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(SameLine(lines[0], run.At(0, 0), run.At(L, 0)));
    EXPECT_EQ(TextCount(run.list, GeoAxesTextSize * run.S()), 3);
}

} // namespace
