// The fixed caps and tolerances of the scenes, each from both sides: one
// case just inside, one just outside.

#include "SceneTestSupport.h"
#include "graphics/SceneSettings.h"
#include "graphics/Symbols.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kE = 2.1e8, kG = 8.1e7, kIy = 1e-4, kIt = 2e-4;

// A simply supported beam from (0, 0) to (10, 0) under a uniform load q:
// the largest bending moment is q × 10² / 8.
void SimpleBeam(Structure& s, double q, int intervals = 5) {
    s.Node(0, 0, 1, 1, 0);
    s.Node(10, 0, 1, 0, 0);
    s.Section(kE, kG, kIy, kIt);
    s.Beam(1, 2, 1, 0.0, intervals);
    s.BeamLoad(1, 1, q, q);
    s.Solve();
}

// The ordinates of a diagram: lines of its pen standing on the beam axis.
std::vector<PenLine> Ordinates(const PaintContainer& list) {
    std::vector<PenLine> ordinates;
    for (const PenLine& line : PenLines(list))
        if ((line.colour == Rgb(0, 0, 255) || line.colour == Rgb(255, 0, 0)) &&
            line.width == ResFunctionLineWidth && line.a.y == 0.0 && line.a.x == line.b.x)
            ordinates.push_back(line);
    return ordinates;
}

std::vector<PenLine> MomentOrdinates(Structure& s, int evaluationPoints) {
    SceneRun run;
    run.options.tab = kTabBiegemoment;
    run.options.evaluationPoints = evaluationPoints;
    run.Rebuild(s);
    return Ordinates(run.list);
}

// The deflection line of an element has intervals + 2 segments, at most 1000.
TEST(SceneLimits, DeflectionLinesHaveAtMost1000Segments) {
    const struct {
        int intervals;
        size_t segments;
    } cases[] = {{997, 999}, {1001, 1000}};
    for (const auto& c : cases) {
        Structure s;
        SimpleBeam(s, 4.0, c.intervals);
        SceneRun run;
        run.options.flags = ShowDeformation;
        run.Rebuild(s);
        EXPECT_EQ(PenLines(run.list).size(), c.segments) << c.intervals;
    }
}

// A section-force diagram takes at most 100 evaluation points: an element
// spanning the whole beam has points + 1 intervals.
TEST(SceneLimits, DiagramsTakeAtMost100EvaluationPoints) {
    const struct {
        int points;
        size_t ordinates;
    } cases[] = {{99, 101}, {101, 102}};
    for (const auto& c : cases) {
        Structure s;
        SimpleBeam(s, 4.0);
        EXPECT_EQ(MomentOrdinates(s, c.points).size(), c.ordinates) << c.points;
    }
}

// An element spanning more than its beam (a hinge position far outside the
// beam, read from a file, makes one) has at most 1000 diagram intervals.
TEST(SceneLimits, DiagramsHaveAtMost1000IntervalsPerElement) {
    const struct {
        double span;
        size_t ordinates;
    } cases[] = {{9.985, 1000}, {10.005, 1001}};
    for (const auto& c : cases) {
        Structure s;
        SimpleBeam(s, 4.0);
        s.solutions.elements[0].xiEnd = c.span;
        EXPECT_EQ(MomentOrdinates(s, 100).size(), c.ordinates) << c.span;
    }
}

// A section force whose largest value is below 1e-8 is drawn flat.
TEST(SceneLimits, DiagramsOfLargestValuesBelow1e8AreFlat) {
    const struct {
        double largestMoment;
        bool flat;
    } cases[] = {{0.9e-8, true}, {1.1e-8, false}};
    for (const auto& c : cases) {
        Structure s;
        SimpleBeam(s, c.largestMoment * 8 / 100);
        double tallest = 0.0;
        for (const PenLine& line : MomentOrdinates(s, 9))
            tallest = std::max(tallest, std::fabs(line.b.y));
        EXPECT_EQ(tallest == 0.0, c.flat) << c.largestMoment;
    }
}

// Drawing settings count up to 1000, window scales up to ±1000.
TEST(SceneLimits, SettingFactorsAndWindowScalesUpTo1000) {
    const struct {
        double value, factor, scale;
    } cases[] = {{999, 999, 999}, {1001, 1000, 1000}, {-999, 999, -999}, {-1001, 1000, -1000}};
    for (const auto& c : cases) {
        EXPECT_EQ(SettingFactor(c.value), c.factor) << c.value;
        EXPECT_EQ(WindowScale(c.value), c.scale) << c.value;
    }
}

// A dashed line of more than 100,000 periods (10 + 5 widths each) is drawn
// solid.
TEST(SceneLimits, DashedLinesOfAtMost100000Dashes) {
    const struct {
        double periods;
        size_t lines;
    } cases[] = {{99999, 99999}, {100001, 1}};
    for (const auto& c : cases) {
        PaintContainer list;
        StyledLine(list, {0, 0}, {15 * c.periods, 0}, 1, 9, kLineDashed);
        EXPECT_EQ(PenLines(list).size(), c.lines) << c.periods;
    }
}

// Reactions of less than 1e-9 of the largest are not drawn: two cantilevers,
// the first under a load of 1, the second under the given part of it.
TEST(SceneLimits, ReactionsBelow1e9OfTheLargestAreNotDrawn) {
    const struct {
        double part;
        bool drawn;
    } cases[] = {{0.9e-9, false}, {1.1e-9, true}};
    for (const auto& c : cases) {
        Structure s;
        s.Section(kE, kG, kIy, kIt);
        s.FixedNode(0, 0);
        s.Node(10, 0);
        s.FixedNode(40, 0);
        s.Node(50, 0);
        s.Beam(1, 2);
        s.Beam(3, 4);
        s.NodeLoad(2, 2, 1.0);
        s.NodeLoad(4, 4, c.part);
        s.Solve();
        SceneRun run(FrontView(), ShowReactions);
        run.Rebuild(s);
        const double atSecond = run.At(40, 0).x;
        int nearSecond = 0;
        for (const PenLine& line : LinesWithPen(run.list, ResReactionColour))
            nearSecond +=
                std::fabs(line.a.x - atSecond) < 10 && std::fabs(line.b.x - atSecond) < 10;
        EXPECT_EQ(nearSecond > 0, c.drawn) << c.part;
    }
}

} // namespace
