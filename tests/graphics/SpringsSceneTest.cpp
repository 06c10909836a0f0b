// Springs in the pictures: their symbols with the supports, and the reaction
// arrows of the components they hold.

#include "SceneTestSupport.h"
#include "graphics/StructureScene.h"

#include <algorithm>
#include <numbers>

namespace {

// A view that shows x, y and z: z upward on the screen, x right, y down.
ViewMatrix ObliqueView() {
    ViewMatrix view;
    view.m[0][0] = 1, view.m[1][1] = view.m[2][2] = 0.6, view.m[1][2] = -0.8, view.m[2][1] = 0.8;
    return view;
}

// A cantilever with its tip (skewed 30°) on one spring. A zigzag runs from
// the node along +z, one spring length L long and ending in a ground bar; a
// coil's shaft runs half a length along its support axis. A reaction arrow
// along z stands at the tip when the spring holds wz.
TEST(SpringSymbols, ZigzagOrCoilAlongTheSkewedAxisAndTheReactionArrow) {
    const struct {
        const char* name;
        double kz, kRx, kRy;
        double axis; // of the coil, degrees; a zigzag when negative
    } cases[] = {
        {"kz", 1e3, 0, 0, -1},
        {"kRx at 30°", 0, 1e3, 0, 30},
        {"kRy at 30°", 0, 0, 1e3, 120},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Structure s;
        s.Section(2.1e8, 8.1e7, 2.5e-4, 1.8e-6);
        s.FixedNode(0, 0), s.Node(6, 2, 0, 0, 0, 30.0), s.Beam(1, 2);
        SpringRec& spring = AppendValid(s.input.springs);
        spring.from = spring.to = 2, spring.kz = c.kz, spring.kRx = c.kRx, spring.kRy = c.kRy;
        s.NodeLoad(2, 2, 10.0);
        s.Solve();

        SceneRun run(ObliqueView());
        run.RebuildWithoutResults(s);
        EXPECT_TRUE(LinesWithPen(run.list, GeoSpringColour).empty());
        run.options.flags = ShowStructure | ShowSupports;
        run.RebuildWithoutResults(s);
        const double L = GeoSpringSize * run.S();
        const std::vector<PenLine> lines =
            LinesWithPen(run.list, GeoSpringColour, GeoSpringLineWidth * run.S());
        const Vec2 node = run.At(6, 2);
        if (c.axis < 0) {
            ASSERT_EQ(lines.size(), 9u); // lead, six teeth, lead, ground
            EXPECT_TRUE(NearPoint(lines.front().a, node));
            EXPECT_TRUE(NearPoint(lines[7].b, run.At(6, 2, L)));
        } else {
            const double a = c.axis * std::numbers::pi / 180;
            EXPECT_EQ(lines.size(), 62u); // shaft, 60 spiral segments, ground tick
            const Vec2 end = run.At(6 + 0.5 * L * std::cos(a), 2 + 0.5 * L * std::sin(a));
            EXPECT_TRUE(std::ranges::any_of(lines, [&](const PenLine& line) {
                return NearPoint(line.a, node) && NearPoint(line.b, end);
            }));
        }

        SceneRun front(FrontView(), ShowReactions);
        front.Rebuild(s);
        const double length = GeoBeamLoadScale * front.S();
        int shafts = 0;
        for (const PenLine& line : LinesWithPen(front.list, ResReactionColour))
            shafts += NearPoint(line.b, front.At(6, 2), 1e-12) && Near(line.a.x, line.b.x, 1e-12) &&
                      Near(line.a.y, length, 1e-9 * length);
        EXPECT_EQ(shafts, c.kz > 0 ? 1 : 0);
    }
}

} // namespace
