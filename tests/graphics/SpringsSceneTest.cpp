// Springs in the pictures: their symbols with the supports, and the reaction
// arrows of a node that only springs hold.

#include "SceneTestSupport.h"
#include "graphics/StructureScene.h"

#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

void AddSpring(Structure& s, int node, double kz, double kRx, double kRy) {
    SpringRec& spring = AppendValid(s.input.springs);
    spring.from = spring.to = node;
    spring.kz = kz, spring.kRx = kRx, spring.kRy = kRy;
}

// A view that shows x, y and z: z upward on the screen, x right, y down.
ViewMatrix ObliqueView() {
    ViewMatrix view;
    view.m[0][0] = 1;
    view.m[1][1] = 0.6;
    view.m[1][2] = -0.8;
    view.m[2][1] = 0.8;
    view.m[2][2] = 0.6;
    return view;
}

bool HasLine(const std::vector<PenLine>& lines, Vec2 a, Vec2 b) {
    for (const PenLine& line : lines)
        if (NearPoint(line.a, a) && NearPoint(line.b, b))
            return true;
    return false;
}

// A zigzag from the node along +z, one spring length L long and ending in a
// ground bar; a coil's shaft runs half a length along its support axis.
TEST(SpringSymbols, ZigzagUnderTheNodeAndCoilsAlongTheSkewedAxes) {
    struct Case {
        const char* name;
        double kz, kRx, kRy;
        double axis; // of the coil, degrees; a zigzag when negative
    };
    const Case cases[] = {
        {"kz", 5.0, 0, 0, -1},
        {"kRx at 30°", 0, 5.0, 0, 30},
        {"kRy at 30°", 0, 0, 5.0, 120},
    };
    for (const Case& c : cases) {
        Structure s;
        s.Node(0, 0);
        s.Node(6, 2, 0, 0, 0, 30.0);
        s.Beam(1, 2);
        AddSpring(s, 2, c.kz, c.kRx, c.kRy);
        SceneRun run(ObliqueView());
        run.options.flags = ShowStructure;
        run.Rebuild(s);
        EXPECT_TRUE(LinesWithPen(run.list, GeoSpringColour).empty()) << c.name;
        run.options.flags = ShowStructure | ShowSupports;
        run.Rebuild(s);
        const double L = GeoSpringSize * run.S();
        const std::vector<PenLine> lines =
            LinesWithPen(run.list, GeoSpringColour, GeoSpringLineWidth * run.S());
        const Vec2 node = run.At(6, 2);
        if (c.axis < 0) {
            EXPECT_EQ(lines.size(), 9u) << c.name; // lead, six teeth, lead, ground
            EXPECT_TRUE(NearPoint(lines.front().a, node)) << c.name;
            EXPECT_TRUE(NearPoint(lines[7].b, run.At(6, 2, L))) << c.name;
            continue;
        }
        const double a = c.axis * kPi / 180;
        EXPECT_EQ(lines.size(), 62u) << c.name; // shaft, 60 spiral segments, ground tick
        EXPECT_TRUE(
            HasLine(lines, node, run.At(6 + 0.5 * L * std::cos(a), 2 + 0.5 * L * std::sin(a))))
            << c.name;
    }
}

// Node 2 stands on a spring alone: its reaction arrow shows the spring's force.
TEST(SpringSymbols, ReactionArrowsIncludeTheSpringForces) {
    Structure s;
    const double L = 10, q = 2;
    s.Section(2.1e8, 8.1e7, 2.5e-4, 1.8e-6);
    s.Node(0, 0, 1, 1, 0);
    s.Node(L, 0, 0, 1, 0);
    s.Beam(1, 2);
    AddSpring(s, 2, 1e3, 0, 0);
    s.BeamLoad(1, 1, q, q);
    s.Solve();
    SceneRun run;
    run.options.flags = ShowReactions;
    run.Rebuild(s);
    const double length = GeoBeamLoadScale * run.S();
    int shafts = 0;
    for (const PenLine& line : LinesWithPen(run.list, ResReactionColour))
        for (const double x : {0.0, L})
            shafts += NearPoint(line.b, run.At(x, 0), 1e-12) && Near(line.a.x, line.b.x, 1e-12) &&
                      Near(line.a.y, length, 1e-9 * length);
    EXPECT_EQ(shafts, 2);
}

} // namespace
