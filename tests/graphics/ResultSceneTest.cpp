// The result diagrams checked against closed-form beam results: ordinates of
// the section-force diagrams, the deflection line, the reactions.

#include "graphics/ResultScene.h"

#include "SceneTestSupport.h"
#include "graphics/LabelLayout.h"
#include "project/ProjectAnalysis.h"

#include <climits>
#include <memory>
#include <set>

namespace {

constexpr double kE = 2.1e8, kG = 8.1e7, kIy = 1e-4, kIt = 2e-4;
constexpr Colour kBlue = Rgb(0, 0, 255);
constexpr Colour kRed = Rgb(255, 0, 0);

// A simply supported beam from (0, 0) to (L, 0) under a uniform load q
// (torsion held at the start).
void SimpleBeam(Structure& s, double L, double q) {
    s.Node(0, 0, 1, 1, 0);
    s.Node(L, 0, 1, 0, 0);
    s.Section(kE, kG, kIy, kIt);
    s.Beam(1, 2);
    s.BeamLoad(1, 1, q, q);
    s.Solve();
}

// The ordinates of a diagram: lines with the diagram's pen that stand on the
// beam axis (Y = 0 in the front view) and go up or down from it.
std::vector<PenLine> Ordinates(const PaintContainer& list) {
    std::vector<PenLine> ordinates;
    for (const PenLine& line : PenLines(list))
        if ((line.colour == kBlue || line.colour == kRed) && line.width == ResFunctionLineWidth &&
            line.a.y == 0.0 && line.a.x == line.b.x)
            ordinates.push_back(line);
    return ordinates;
}

TEST(SectionForceDiagram, BendingMomentOfAUniformLoadIsAParabolaOfTheScaledHeight) {
    Structure s;
    const double L = 10, q = 4;
    SimpleBeam(s, L, q);
    SceneRun run;
    run.options.tab = kTabBiegemoment;
    run.options.functionScale = 1.5;
    run.options.evaluationPoints = 9; // 10 intervals: mid-span is a station
    run.Rebuild(s);

    const double S = run.S();
    const double top = 1.5 * ResFunctionScale * S; // the largest moment, qL²/8
    const std::vector<PenLine> ordinates = Ordinates(run.list);
    ASSERT_EQ(ordinates.size(), 11u);
    for (int i = 0; i <= 10; ++i) {
        const double xi = i / 10.0;
        const PenLine& line = ordinates[static_cast<size_t>(i)];
        EXPECT_NEAR(line.a.x, run.At(xi * L, 0).x, 1e-12);
        EXPECT_NEAR(line.b.y, top * 4 * xi * (1 - xi), 1e-9 * top) << xi;
        if (i > 0 && i < 10) {
            EXPECT_EQ(line.colour, kBlue) << "positive moments are blue";
        }
    }
    EXPECT_NEAR(ordinates[5].b.y, top, 1e-12 * top);
}

TEST(SectionForceDiagram, NegativeValuesAreRedAndStandOnTheOtherSide) {
    Structure s;
    SimpleBeam(s, 8, 3);
    SceneRun run;
    run.options.tab = kTabQuerkraft;
    run.options.evaluationPoints = 1; // one interval: the two ends
    run.Rebuild(s);
    const std::vector<PenLine> ordinates = Ordinates(run.list);
    ASSERT_EQ(ordinates.size(), 3u);               // stations 0, 1/2, 1
    const double top = ResFunctionScale * run.S(); // |Q| = qL/2 at both ends
    EXPECT_EQ(ordinates[0].colour, kBlue);
    EXPECT_NEAR(ordinates[0].b.y, top, 1e-9 * top);
    EXPECT_EQ(ordinates[2].colour, kRed);
    EXPECT_NEAR(ordinates[2].b.y, -top, 1e-9 * top);
}

// The texts of the diagram labels.
int LabelCount(const SceneRun& run) {
    return TextCount(run.list, run.S() * ResFunctionTextSize * run.options.textScale);
}

TEST(SectionForceDiagram, AParabolaHasOneExtremumLabelAtItsPeak) {
    Structure s;
    const double L = 10;
    SimpleBeam(s, L, 4);
    SceneRun run;
    run.options.tab = kTabBiegemoment;
    run.options.flags = ShowStructure | ShowExtrema;
    run.options.evaluationPoints = 9;
    run.Rebuild(s);
    EXPECT_EQ(LabelCount(run), 1);
    // Written along the mid-span ordinate, centred on it.
    const double textHeight = ResFunctionTextSize * run.S();
    const SceneBox box = run.list.BoundingBox();
    EXPECT_NEAR(box.maxY, ResFunctionScale * run.S(), 1e-9); // the peak ordinate
    for (const PenLine& line : PenLines(run.list))
        if (line.width != ResFunctionLineWidth && line.colour == kBlue) {
            EXPECT_LT(std::fabs(line.a.x - run.At(L / 2, 0).x), 2 * textHeight);
        }

    // A linear diagram (the shear force) has no extremum; with one interval
    // per element the vertex of the parabola is labelled all the same.
    run.options.tab = kTabQuerkraft;
    run.Rebuild(s);
    EXPECT_EQ(LabelCount(run), 0);
    run.options.tab = kTabBiegemoment;
    run.options.evaluationPoints = 1;
    run.Rebuild(s);
    EXPECT_EQ(LabelCount(run), 1);
}

TEST(SectionForceDiagram, ValuesLabelBothEndsOfEveryElement) {
    Structure s;
    s.Node(0, 0, 1, 1, 0);
    s.Node(6, 0, 1, 0, 0);
    s.Section(kE, kG, kIy, kIt);
    s.Beam(1, 2);
    s.PointLoad(1, 0.5, 10); // two elements, shear +5 and −5
    s.Solve();
    SceneRun run;
    run.options.tab = kTabQuerkraft;
    run.options.flags = ShowStructure | ShowValues | ShowExtrema;
    run.Rebuild(s);
    EXPECT_EQ(LabelCount(run), 4); // constant values: no extremum
}

TEST(SectionForceDiagram, AFunctionThatIsZeroEverywhereIsFlatAndUnlabelled) {
    Structure s;
    SimpleBeam(s, 10, 4); // no torsion
    SceneRun run;
    run.options.tab = kTabTorsionsmoment;
    run.options.flags = ShowStructure | ShowValues | ShowExtrema;
    run.Rebuild(s);
    const std::vector<PenLine> ordinates = Ordinates(run.list);
    ASSERT_FALSE(ordinates.empty());
    for (const PenLine& line : ordinates)
        EXPECT_EQ(line.b.y, 0.0);
    EXPECT_EQ(LabelCount(run), 0);
}

TEST(DeflectionLine, CantileverEndsAtTheScaledTipDeflection) {
    Structure s;
    const double L = 4, P = 12;
    s.FixedNode(0, 0);
    s.Node(L, 0);
    s.Section(kE, kG, kIy, kIt);
    s.Beam(1, 2); // 5 intervals: 10 segments
    s.NodeLoad(2, 2, P);
    s.Solve();
    ASSERT_NEAR(s.Value(2, kWz), P * L * L * L / (3 * kE * kIy), 1e-9 * s.Value(2, kWz));

    SceneRun run;
    run.options = {};
    run.options.tab = kTabBiegelinie;
    run.options.flags = ShowStructure | ShowDeformation;
    run.options.displacementScale = 2;
    run.Rebuild(s);
    const std::vector<PenLine> line =
        LinesWithPen(run.list, ResDeflectionLineColour, ResDeflectionLineWidth * run.S());
    ASSERT_EQ(line.size(), 10u);
    const double tip = 2 * ResDeflectionScale * run.S(); // the largest deflection
    for (size_t i = 0; i < line.size(); ++i) {
        const double xi = (i + 1) / 10.0;
        EXPECT_NEAR(line[i].b.x, run.At(xi * L, 0).x, 1e-12);
        EXPECT_NEAR(line[i].b.y, tip * xi * xi * (3 - xi) / 2, 1e-9 * tip) << xi;
    }
    EXPECT_NEAR(line.back().b.y, tip, 1e-12 * tip);
    EXPECT_TRUE(Ordinates(run.list).empty()) << "no section-force diagram on Biegelinie";
}

TEST(DeflectionLine, SegmentsFollowTheIntervalsUpToABound) {
    Structure s;
    s.FixedNode(0, 0);
    s.Node(4, 0);
    s.Section(kE, kG, kIy, kIt);
    const int beam = s.Beam(1, 2, 1, 0.0, 30);
    s.NodeLoad(2, 2, 1);
    s.Solve();
    SceneRun run;
    run.options.flags = ShowDeformation;
    run.Rebuild(s);
    EXPECT_EQ(PenLines(run.list).size(), 32u);              // (intervals + 1) + 1
    s.input.beams.RowRecord(beam - 1)->intervals = INT_MAX; // drawing reads it unchecked
    run.Rebuild(s);
    EXPECT_EQ(PenLines(run.list).size(), size_t(kMaxDeflectionSegments));
}

// The displacements of every node that moves and of the sides of a hinge
// that the analysis made inside the beam; a side that is an input node is
// labelled as a node already. The two fixed ends do not move: no label.
TEST(DeflectionLine, ValuesOfNodesAndHingeSides) {
    struct Case {
        double hingeAt;
        int labels;
    };
    for (const Case c : {Case{0.5, 2}, Case{0.0, 1}}) {
        Structure s;
        s.FixedNode(0, 0);
        s.FixedNode(8, 0);
        s.Section(kE, kG, kIy, kIt);
        s.Beam(1, 2);
        s.Hinge(1, c.hingeAt, kHingeBending);
        s.BeamLoad(1, 1, 2, 2);
        s.Solve();
        SceneRun run;
        run.options.flags = ShowDeformation | ShowValues;
        run.Rebuild(s);
        // Each text takes its colour and gives the line's colour back.
        int labels = 0;
        for (const DecodedRecord& r : Decode(run.list))
            labels += r.kind == kPaintPenColour && r.colour == ResDeflectionTextColour;
        EXPECT_EQ(labels, c.labels) << c.hingeAt;
    }
}

TEST(Reactions, ArrowsArriveFromTheSideTheSupportPushesFrom) {
    Structure s;
    const double L = 10, q = 2;
    SimpleBeam(s, L, q);
    ASSERT_NEAR(s.Reaction(2, kWz), -q * L / 2, 1e-9 * q * L);
    SceneRun run;
    run.options.flags = ShowReactions;
    run.Rebuild(s);
    // The largest reaction is drawn Lastskalierung × S long; a negative
    // (upward) reaction comes from below (+z) and ends at the node.
    const double length = GeoBeamLoadScale * run.S();
    int shafts = 0;
    for (const PenLine& line : LinesWithPen(run.list, ResReactionColour)) {
        for (const double x : {0.0, L}) {
            const Vec2 node = run.At(x, 0);
            if (Near(line.b.x, node.x, 1e-12) && Near(line.b.y, node.y, 1e-12) &&
                Near(line.a.x, node.x, 1e-12) && Near(line.a.y, length, 1e-9 * length))
                ++shafts;
        }
    }
    EXPECT_EQ(shafts, 2);
}

// The first support axis lies at the skew angle: a reaction moment about it
// is drawn along it.
TEST(Reactions, MomentsFollowTheSkewedSupportAxes) {
    Structure s;
    s.Node(0, 0, 1, 1, 1, 90); // first axis along y: Rx holds the rotation about y
    s.Node(5, 0, 1, 0, 0);
    s.Section(kE, kG, kIy, kIt);
    s.Beam(1, 2);
    s.NodeLoad(2, 2, 0, 0, 7); // a moment about y at the free end of the beam along x
    s.Solve();
    SceneRun run(TopView());
    run.options.flags = ShowReactions;
    run.Rebuild(s);
    const double length = GeoBeamLoadScale * run.S();
    bool alongY = false;
    for (const PenLine& line : LinesWithPen(run.list, ResReactionColour)) {
        const Vec2 node = run.At(0, 0);
        if (Near(line.b.x, node.x, 1e-9) && Near(line.b.y, node.y, 1e-9) &&
            Near(line.a.x, node.x, 1e-9) && Near(std::fabs(line.a.y - node.y), length, 1e-6))
            alongY = true;
    }
    EXPECT_TRUE(alongY);
}

TEST(Reactions, NoMomentArrowsWhenNoSupportTakesAMoment) {
    Structure s;
    SimpleBeam(s, 10, 2);
    // Reaction moments of exactly 0 everywhere: the second axis is guarded as
    // the first one (a 0 ÷ 0 must not decide).
    for (int node = 0; node < s.solutions.nodes.Count(); ++node)
        for (const int c : {kRx, kRy})
            s.solutions.dofs.Dof(s.solutions.nodes[node].firstDof + c).nodeForce = 0.0;
    s.input.nodes.RowRecord(0)->fixRy = 1;
    SceneRun run(TopView());
    run.options.flags = ShowReactions;
    run.Rebuild(s);
    EXPECT_TRUE(AllFinite(run.list));
    // Only the two force arrows: a shaft and a four-edged head each.
    EXPECT_EQ(LinesWithPen(run.list, ResReactionColour).size(), 2u * 5u);
}

TEST(ResultScene, NothingOfTheResultsWithoutValidResults) {
    Structure s;
    SimpleBeam(s, 10, 4);
    SceneRun with, without, cleared;
    for (SceneRun* run : {&with, &without, &cleared}) {
        run->options.tab = kTabBiegemoment;
        run->options.flags = ShowStructure | ShowReactions | ShowDeformation | ShowValues;
    }
    with.Rebuild(s);
    without.RebuildWithoutResults(s);
    s.solutions.Clear(); // results discarded by a change of the input
    cleared.Rebuild(s);
    EXPECT_GT(with.list.RecordCount(), without.list.RecordCount());
    EXPECT_TRUE(SameStream(without.list, cleared.list));
    EXPECT_TRUE(Ordinates(without.list).empty());
}

} // namespace

// An envelope: its max and min lines over the evaluation points, the larger
// magnitude of both drawn as long as a diagram's largest value, in place of
// the shown results (no reactions, no diagram of the results).
TEST(EnvelopeDiagram, MaxAndMinStandAtTheirPointsScaledByTheLargestMagnitude) {
    Structure s;
    SimpleBeam(s, 10, 4);
    const EnvelopeDiagram envelope{{{1, {0.0, 0.5, 1.0}, {0.0, 80.0, 0.0}, {0.0, -40.0, 0.0}}}};
    SceneRun run;
    run.options.tab = kTabBiegemoment;
    run.options.envelope = &envelope;
    run.Rebuild(s);
    const double top = ResFunctionScale * run.S(); // the largest magnitude, 80
    const std::vector<PenLine> ordinates = Ordinates(run.list);
    ASSERT_EQ(ordinates.size(), 6u); // three points, max and min
    EXPECT_NEAR(ordinates[1].a.x, run.At(5, 0).x, 1e-12);
    EXPECT_NEAR(ordinates[1].b.y, top, 1e-9 * top);
    EXPECT_EQ(ordinates[1].colour, kBlue);
    EXPECT_NEAR(ordinates[4].b.y, -0.5 * top, 1e-9 * top);
    EXPECT_EQ(ordinates[4].colour, kRed);
    const SceneContext scene = run.Context(s, false);
    const ValueRange range = DrawEnvelope(scene, envelope, 2);
    EXPECT_EQ(range.max, 80.0);
    EXPECT_EQ(range.min, -40.0);
}

namespace {

// The bending-moment envelope of a simply supported beam of span L (ten
// intervals: mid-span is a point) under a permanent load g (γsup 1.35, γinf
// 1.0) and a variable load q (1.5, 0), each a load case of its own.
EnvelopeDiagram PermanentAndVariable(Structure& s, double L, double g, double q) {
    s.Node(0, 0, 1, 1, 0);
    s.Node(L, 0, 1, 0, 0);
    s.Section(kE, kG, kIy, kIt);
    s.Beam(1, 2, 1, 0.0, 10);
    ProjectModel model;
    model.envelopes.push_back(
        {"U", {{{{false, 0}}, false, 1.35, 1.0}, {{{false, 1}}, false, 1.5, 0.0}}, {}});
    std::vector<std::unique_ptr<InputModel>> loadCases;
    for (const double load : {g, q}) {
        Structure alone;
        alone.Node(0, 0);
        alone.Node(L, 0);
        alone.Beam(1, 2);
        alone.BeamLoad(1, 1, load, load);
        loadCases.push_back(std::make_unique<InputModel>());
        loadCases.back()->CopyLoadCaseFrom(alone.input);
        model.loadCases.push_back({"LF" + std::to_string(loadCases.size()), ""});
    }
    ProjectAnalysis analysis(model, s.input, std::move(loadCases));
    EXPECT_TRUE(analysis.Calculate().ok);
    EnvelopeDiagram diagram = EnvelopeOfTab(analysis.EvaluateEnvelope(0), kTabBiegemoment);
    analysis.Input().ResetLoadCase();
    return diagram;
}

// The texts of an envelope's labels as the untangling places them.
std::vector<std::string> PlacedEnvelopeLabels(Structure& s, const EnvelopeDiagram& envelope,
                                              DisplayFlags flags) {
    SceneRun run(FrontView(), flags);
    run.options.tab = kTabBiegemoment;
    run.options.envelope = &envelope;
    run.RebuildWithoutResults(s);
    DeferredLabels labels(run.list, true);
    DrawEnvelope(run.Context(s, false), envelope, 2);
    labels.Place();
    return labels.Layout().PlacedTexts();
}

} // namespace

// The largest max moment is (1.35 g + 1.5 q)·L²/8 at mid-span, from both load
// cases with their unfavourable factors; the smallest min is 0 at the supports
// (no label). With room, the label names that arrangement.
TEST(EnvelopeDiagram, TheExtremumLabelNamesItsGoverningArrangement) {
    Structure s;
    const double L = 10, g = 4, q = 2;
    const EnvelopeDiagram envelope = PermanentAndVariable(s, L, g, q);
    ASSERT_DOUBLE_EQ((1.35 * g + 1.5 * q) * L * L / 8, 105.0); // four digits as every label
    const std::vector<std::string> texts =
        PlacedEnvelopeLabels(s, envelope, ShowStructure | ShowExtrema);
    EXPECT_EQ(texts, std::vector<std::string>{"105.0 (1.35·LF1 + 1.50·LF2)"});
    // The end values are values only: 0 at both supports of both lines is
    // noise, so the extremum stays the one label.
    EXPECT_EQ(PlacedEnvelopeLabels(s, envelope, ShowStructure | ShowExtrema | ShowValues), texts);
}

// A label with a longer text offered takes it where one of its placements is
// free and its own text where only that one fits: here between two tall
// labels placed before it, five text heights clear of its anchor on both
// sides.
TEST(EnvelopeDiagram, TheArrangementIsLeftOutWhereTheLayoutHasNoRoom) {
    const std::string value = "105.0", longer = " (1.35·LF1 + 1.50·LF2)";
    ASSERT_LT(TextWidth(value), 4000);           // fits in 5 heights either way
    ASSERT_GT(TextWidth(value + longer), 10000); // fits in no 5 heights
    const std::string blocker = "WWWWWW";
    const double blockerHeight = 3.0; // covers every vertical placement
    const double offset = 5.0 + 0.5 * blockerHeight * TextWidth(blocker) / 1000.0;
    for (const bool blocked : {false, true}) {
        LabelLayout layout;
        if (blocked)
            for (const double x : {-offset, offset})
                layout.Add({kExtremumLabel,
                            1.0,
                            {x, 0.0},
                            0.0,
                            0.0,
                            blockerHeight,
                            0,
                            blocker,
                            kTextCentre});
        layout.Add(
            {kEndValueLabel, 1.0, {0.0, 0.0}, 0.0, 0.0, 1.0, 0, value, kTextCentre | kTextAbove});
        layout.OfferLonger(layout.Count() - 1, longer);
        PaintContainer list;
        layout.PlaceInto(list);
        EXPECT_EQ(layout.PlacedTexts().back(), blocked ? value : value + longer);
        EXPECT_EQ(layout.PlacedTexts().size(), blocked ? 3u : 1u);
    }
}
