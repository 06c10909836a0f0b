// Numbers a drawing shows, against closed forms: the true extremum of an
// element's diagram, rounding noise drawn as 0, texts that read upright,
// labels that keep clear of one another, loads on short beams, the caption
// and the values at the cursor.

#include "SceneTestSupport.h"
#include "graphics/CursorValues.h"
#include "graphics/DiagramValues.h"
#include "graphics/LabelLayout.h"
#include "graphics/LoadScene.h"
#include "graphics/ResultScene.h"
#include "model/InputFiles.h"

#include <limits>
#include <numbers>

namespace {

constexpr double kE = 2.1e8, kG = 8.1e7, kIy = 1e-4, kIt = 2e-4;
constexpr double kPi = std::numbers::pi;

// A beam from (0, 0) to (L, 0) under a uniform load q: simply supported, or
// a cantilever fixed at the start.
void LoadedBeam(Structure& s, double L, double q, bool cantilever) {
    if (cantilever) {
        s.FixedNode(0, 0);
        s.Node(L, 0);
    } else {
        s.Node(0, 0, 1, 1, 0);
        s.Node(L, 0, 1, 0, 0);
    }
    s.Section(kE, kG, kIy, kIt);
    s.Beam(1, 2);
    s.BeamLoad(1, 1, q, q);
    s.Solve();
}

int LabelCount(const SceneRun& run) {
    return TextCount(run.list, run.S() * ResFunctionTextSize * run.options.textScale);
}

TEST(TrueExtremum, BendingMomentsOfUniformLoads) {
    struct Case {
        const char* name;
        bool cantilever;
        double largest;  // the moment of largest magnitude: qL²/8, −qL²/2
        int vertices;    // inside the element
        double vertexAt; // ξ of the vertex
    };
    const double q = 10, L = 10;
    for (const Case& c : {Case{"simply supported", false, q * L * L / 8, 1, 0.5},
                          Case{"cantilever", true, q * L * L / 2, 0, 0.0}}) {
        Structure s;
        LoadedBeam(s, L, q, c.cantilever);
        const auto value = [&](double t) { return s.solutions.SectionForce(0, t, 2); };
        const std::vector<double> vertices = DiagramVertices(value, c.largest);
        ASSERT_EQ(static_cast<int>(vertices.size()), c.vertices) << c.name;
        for (const double t : vertices) {
            EXPECT_NEAR(t, c.vertexAt, 1e-12) << c.name;
            EXPECT_NEAR(std::fabs(value(t)), c.largest, 1e-9 * c.largest) << c.name;
        }
        // Ten evaluation points give eleven intervals: no station at mid-span,
        // and still one label of the vertex, and the range of the diagram.
        SceneRun run;
        run.options.tab = kTabBiegemoment;
        run.options.flags = ShowStructure | ShowExtrema;
        run.Rebuild(s);
        EXPECT_EQ(LabelCount(run), c.vertices) << c.name;
        const ValueRange range = DrawSectionForces(run.Context(s), 2);
        EXPECT_NEAR(std::max(std::fabs(range.min), std::fabs(range.max)), c.largest,
                    1e-9 * c.largest)
            << c.name;
        EXPECT_EQ(std::min(std::fabs(range.min), std::fabs(range.max)), 0.0) << c.name;
    }
}

TEST(TrueExtremum, LinearAndConstantDiagramsHaveNoVertex) {
    for (const auto& f : std::vector<std::function<double(double)>>{
             [](double t) { return 3 - 7 * t; }, [](double) { return 5.0; },
             [](double t) { return 1e-17 * t * t; }}) {
        EXPECT_TRUE(DiagramVertices(f, 10).empty());
    }
    // A cubic with both vertices inside: t = 1/3 and 2/3.
    const auto cubic = [](double t) { return 2 * t * t * t - 3 * t * t + 4.0 / 3 * t; };
    const std::vector<double> both = DiagramVertices(cubic, 1);
    ASSERT_EQ(both.size(), 2u);
    EXPECT_NEAR(both[0], 1.0 / 3, 1e-12);
    EXPECT_NEAR(both[1], 2.0 / 3, 1e-12);
}

TEST(Noise, ValuesBelowABillionthOfTheLargestAreZeroWithoutSign) {
    const struct {
        double value, largest, shown;
    } cases[] = {{1.8224e-19, 1e-3, 0.0}, {-1e-12, 1e-3, 0.0}, {-2e-12, 1e-3, -2e-12},
                 {-0.0, 1.0, 0.0},        {5.0, 0.0, 5.0},     {1e-9, 1.0, 0.0}};
    for (const auto& c : cases) {
        const double shown = Denoised(c.value, c.largest);
        EXPECT_EQ(shown, c.shown) << c.value;
        EXPECT_FALSE(std::signbit(shown) && shown == 0.0) << c.value;
    }
}

// Simply supported on skewed supports that hold the twist about the beam's
// own axis: the torsion reactions are 0 by symmetry, only the two forces
// qL/2 are drawn; the held ends label no displacement "(0, 0, 0)".
TEST(Noise, ReactionsThatAreZeroBySymmetryAreNotDrawn) {
    Structure s;
    const double angle = 30.0, L = 10;
    const double c = std::cos(angle * kPi / 180), sn = std::sin(angle * kPi / 180);
    s.Node(0, 0, 1, 1, 0, angle);
    s.Node(L * c, L * sn, 1, 1, 0, angle);
    s.Section(kE, kG, kIy, kIt);
    s.Beam(1, 2);
    s.BeamLoad(1, 1, 4, 4);
    s.Solve();
    SceneRun run(ViewState().Matrix(), ShowReactions | ShowValues);
    run.Rebuild(s);
    EXPECT_EQ(TextCount(run.list, run.S() * ResReactionTextSize), 2);
    for (const DecodedRecord& r : Decode(run.list))
        EXPECT_FALSE(r.kind == kPaintPolygon) << "no arrow heads are filled";
}

TEST(Text, AnglesThatWouldReadUpsideDownTurnByHalfATurn) {
    const struct {
        double angle;
        unsigned placement;
        double turned;
        unsigned expected;
    } cases[] = {
        {0.0, kTextLeft | kTextAbove, 0.0, kTextLeft | kTextAbove},
        {kPi / 2, kTextCentre | kTextBelow, kPi / 2, kTextCentre | kTextBelow},
        {kPi, kTextLeft | kTextAbove, 2 * kPi, kTextRight | kTextBelow},
        {0.75 * kPi, kTextCentre | kTextBelow, 1.75 * kPi, kTextCentre | kTextAbove},
        {-0.9 * kPi, kTextRight, 0.1 * kPi, kTextLeft},
    };
    for (const auto& c : cases) {
        const TextDirection d = ReadableDirection(c.angle, c.placement);
        EXPECT_NEAR(d.angle, c.turned, 1e-12) << c.angle;
        EXPECT_EQ(d.placement, c.expected) << c.angle;
        // The turned text covers the same place.
        const TextBox before = TextBoxOf(1, {3, 4}, c.angle, 0.5, 2, "12.5", c.placement);
        const TextBox after = TextBoxOf(1, {3, 4}, d.angle, 0.5, 2, "12.5", d.placement);
        EXPECT_TRUE(NearPoint(before.corners[0], after.corners[0], 1e-9) ||
                    NearPoint(before.corners[0], after.corners[2], 1e-9))
            << c.angle;
    }
}

// Whether two convex quadrilaterals share an inner point: an edge of one
// crosses an edge of the other, or one holds a corner of the other.
bool QuadsIntersect(const TextBox& a, const TextBox& b) {
    const auto side = [](Vec2 p, Vec2 q, Vec2 r) { return Cross(q - p, r - p); };
    const auto inside = [&](const TextBox& box, Vec2 p) {
        int positive = 0, negative = 0;
        for (int i = 0; i < 4; ++i) {
            const double s = side(box.corners[i], box.corners[(i + 1) % 4], p);
            positive += s > 1e-12;
            negative += s < -1e-12;
        }
        return positive == 4 || negative == 4;
    };
    for (int i = 0; i < 4; ++i) {
        if (inside(a, b.corners[i]) || inside(b, a.corners[i]))
            return true;
        for (int j = 0; j < 4; ++j) {
            const Vec2 p = a.corners[i], q = a.corners[(i + 1) % 4];
            const Vec2 r = b.corners[j], t = b.corners[(j + 1) % 4];
            if (side(p, q, r) * side(p, q, t) < -1e-24 && side(r, t, p) * side(r, t, q) < -1e-24)
                return true;
        }
    }
    return false;
}

// The labels placed with "Beschriftung entzerren" on every tab with every
// label switched on.
void ExpectNoOverlap(Structure& s, const char* name) {
    for (int tab = 0; tab < kSceneTabCount; ++tab) {
        SceneRun run(ViewState().Matrix());
        run.options.tab = tab;
        run.options.flags = static_cast<DisplayFlags>(
            ChangeTab(kInitialDisplayFlags | ShowReactions | ShowNodeNumbers | ShowBeamNumbers, tab)
                .flags);
        run.options.layout = kUntangleLabels;
        std::vector<TextBox> boxes;
        RebuildScene(s.input, &s.solutions, run.options, run.view, run.list, &boxes);
        EXPECT_GT(boxes.size(), 0u) << name << " tab " << tab;
        for (size_t i = 0; i < boxes.size(); ++i)
            for (size_t j = i + 1; j < boxes.size(); ++j)
                ASSERT_FALSE(QuadsIntersect(boxes[i], boxes[j]))
                    << name << " tab " << tab << " labels " << i << ", " << j;
    }
}

// The example bridge with its load case, solved.
void SolvedBridge(Structure& bridge) {
    const std::string examples = std::string(BALKOR_SOURCE_DIR) + "/examples/";
    ASSERT_TRUE(LoadSystemFile(bridge.input, examples + "bruecke.bsy"));
    ASSERT_TRUE(LoadLoadCaseFile(bridge.input, examples + "bruecke.bld"));
    bridge.Solve();
}

TEST(Untangle, NoTwoLabelsOverlap) {
    Structure bridge;
    ASSERT_NO_FATAL_FAILURE(SolvedBridge(bridge));
    ExpectNoOverlap(bridge, "bruecke");

    // A 10 × 10 grid of beams 1 long, supported at the rim, every beam loaded.
    Structure grid;
    const int n = 10;
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i <= n; ++i) {
            const int rim = i == 0 || j == 0 || i == n || j == n;
            grid.Node(i, j, rim, 0, 0);
        }
    grid.Section(kE, kG, kIy, kIt);
    const auto node = [&](int i, int j) { return j * (n + 1) + i + 1; };
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i <= n; ++i) {
            if (i < n)
                grid.Beam(node(i, j), node(i + 1, j));
            if (j < n)
                grid.Beam(node(i, j), node(i, j + 1));
        }
    grid.BeamLoad(1, grid.input.beams.Count(), 10, 10);
    grid.Solve();
    ExpectNoOverlap(grid, "grid");
}

// Settings and scales that make no sense still give a finite picture with
// the labels untangled and the caption.
TEST(Untangle, OddSettingsAndScalesDrawFinitely) {
    Structure bridge;
    ASSERT_NO_FATAL_FAILURE(SolvedBridge(bridge));
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    for (const double value : {kNaN, double(INFINITY), 1e300, 0.0, 5e-324}) {
        SettingsGuard settings;
        ForEachRealDrawingSetting(SettingsTree(), [&](double& v) { v = value; });
        for (int tab = 0; tab < kSceneTabCount; ++tab) {
            SceneRun run(ViewState().Matrix());
            run.options.tab = tab;
            run.options.flags = 0x3FFF;
            run.options.layout = kNewWindowLayout;
            run.options.textScale = value;
            run.Rebuild(bridge);
            EXPECT_TRUE(AllFinite(run.list)) << value << " tab " << tab;
        }
    }
}

// Without the toggle the labels stand where they are described, overlapping
// or not: the list is the same as one drawn label by label.
TEST(Untangle, OffKeepsThePlacementAndOnLeavesOutACoveredLabel) {
    PaintContainer direct, deferred;
    const auto draw = [](PaintContainer& list) {
        list.DrawText(1, {0, 0}, 0, 0.1, 1, 0, "125.0", kTextCentre | kTextAbove);
        list.DrawText(1, {0, 0}, 0, 0.1, 1, 0, "-45.00", kTextCentre | kTextAbove);
    };
    draw(direct);
    {
        DeferredLabels labels(deferred, false);
        draw(deferred);
        labels.Place();
    }
    EXPECT_TRUE(SameStream(direct, deferred));
    PaintContainer untangled;
    DeferredLabels labels(untangled, true);
    draw(untangled);
    labels.Place();
    ASSERT_EQ(labels.Layout().Placed().size(), 2u);
    EXPECT_FALSE(BoxesOverlap(labels.Layout().Placed()[0], labels.Layout().Placed()[1]));
}

// Every loaded beam of a grid of short beams keeps an arrow, and a run of
// equal loads on connected beams is labelled once.
TEST(DistributedLoads, ShortBeamsKeepAnArrowAndARunOneLabel) {
    Structure s;
    const int n = 10;
    for (int i = 0; i <= n; ++i)
        s.Node(i, 0);
    for (int i = 1; i <= n; ++i)
        s.Beam(i, i + 1);
    s.BeamLoad(1, n / 2, 10, 10);
    s.BeamLoad(n / 2 + 1, n, 20, 20);
    SceneRun run(FrontView(), ShowLoads | ShowValues);
    // Loads 1.5 and 3 high on beams 1 long (SceneSize 10): half the height
    // gives one interval or none.
    run.options.functionScale = 3;
    run.Rebuild(s);
    EXPECT_EQ(TextCount(run.list, run.S() * ResFunctionTextSize), 2); // "10.00" and "20.00"
    // Each beam: one head, of two slanted lines (its back is level).
    std::vector<int> slanted(n, 0);
    for (const PenLine& line :
         LinesWithPen(run.list, LoadDistributedColour, run.S() * LoadDistributedLineWidth))
        if (line.a.x != line.b.x && line.a.y != line.b.y) {
            const double x = 0.5 * (line.a.x + line.b.x) + 0.5 * n; // the model's x
            slanted[static_cast<size_t>(std::clamp(int(std::floor(x)), 0, n - 1))] += 1;
        }
    for (int i = 0; i < n; ++i)
        EXPECT_EQ(slanted[static_cast<size_t>(i)], 2) << "beam " << i + 1;
}

TEST(Legend, NamesTheViewAndItsRange) {
    Structure s;
    LoadedBeam(s, 10, 10, false);
    SceneRun run;
    run.options.tab = kTabBiegemoment;
    run.options.flags = ShowStructure;
    run.Rebuild(s);
    const int without = run.list.RecordCount();
    run.options.layout = kShowLegend;
    run.Rebuild(s);
    EXPECT_GT(run.list.RecordCount(), without);
    // The caption stands above everything else.
    EXPECT_LT(run.list.BoundingBox().minY, -0.5 * 0.02 * run.S());
}

TEST(CursorValues, BeamXiAndTheValueOfTheTab) {
    Structure s;
    LoadedBeam(s, 10, 10, false);
    const ViewMatrix front = FrontView();
    SceneRun run(front);
    run.Rebuild(s);
    const std::optional<BeamPoint> at = BeamAt(s.input, run.view.Matrix(), run.At(5, 0), 0.1);
    ASSERT_TRUE(at);
    EXPECT_EQ(at->beam, 1);
    EXPECT_NEAR(at->xi, 0.5, 1e-12);
    EXPECT_FALSE(BeamAt(s.input, run.view.Matrix(), run.At(5, 0) + Vec2{0, 1}, 0.1));
    const struct {
        int tab;
        const char* text;
    } cases[] = {
        {kTabGeometrie, "Stab 1  \u03be = 0.5000"},
        {kTabBiegemoment, "Stab 1  \u03be = 0.5000  M = 125.0"},
        {kTabQuerkraft, "Stab 1  \u03be = 0.5000  Q = 0.000"},
        {kTabTorsionsmoment, "Stab 1  \u03be = 0.5000  T = 0.000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CursorValueText(&s.solutions, c.tab, *at), c.text);
    const double w = 5 * 10 * std::pow(10.0, 4) / (384 * kE * kIy); // 5qL⁴/384EI
    const std::string deflection = CursorValueText(&s.solutions, kTabBiegelinie, *at);
    EXPECT_NEAR(std::stod(deflection.substr(deflection.find("w = ") + 4)), w, 1e-4 * w);
}

} // namespace
