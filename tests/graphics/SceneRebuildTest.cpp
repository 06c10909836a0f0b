// The rebuild of a graphics window: tabs and their flags, the drawing order,
// the fit, and odd input, settings and scales that must not spoil a picture.

#include "SceneTestSupport.h"
#include "graphics/LaneScene.h"
#include "model/InputFiles.h"

#include <limits>
#include <map>
#include <set>
#include <string>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr DisplayFlags kAllFlags = 0x3FFF;

std::string Example(const char* name) {
    return std::string(BALKOR_SOURCE_DIR) + "/examples/" + name;
}

// An example with the results of its analysis.
void LoadExample(Structure& s, const std::string& name) {
    ASSERT_TRUE(LoadSystemFile(s.input, Example((name + ".bsy").c_str())));
    ASSERT_TRUE(LoadLoadCaseFile(s.input, Example((name + ".bld").c_str())));
    s.Solve();
}

TEST(Tabs, NamesFlagsAndFunctions) {
    EXPECT_EQ(FindSceneTab("Geometrie"), kTabGeometrie);
    EXPECT_EQ(FindSceneTab("Torsionsmoment"), kTabTorsionsmoment);
    EXPECT_EQ(FindSceneTab("Moment"), -1);
    EXPECT_EQ(TabFunction(kTabBiegelinie), 0);
    EXPECT_EQ(TabFunction(kTabQuerkraft), 1);
    EXPECT_EQ(TabFunction(kTabBiegemoment), 2);
    EXPECT_EQ(TabFunction(kTabTorsionsmoment), 3);
    EXPECT_EQ(TabFunction(7), 0);
    EXPECT_EQ(kInitialDisplayFlags, 0x28C8);
}

TEST(Tabs, AChangeResetsLoadsAndDeflectionAndKeepsTheOptions) {
    const DisplayFlags kept = ShowNodeNumbers | ShowSupports | ShowReactions | ShowValues |
                              ShowExtrema | ShowAxisCross | ShowBeamNumbers;
    const DisplayFlags before = kept | ShowLoads | ShowDeformation | 0x0004;
    struct Case {
        int tab;
        DisplayFlags added;
        bool loadsDown;
    };
    const Case cases[] = {
        {kTabGeometrie, ShowLoads, true}, {kTabBiegelinie, ShowDeformation, false},
        {kTabQuerkraft, 0, false},        {kTabBiegemoment, 0, false},
        {kTabTorsionsmoment, 0, false},
    };
    for (const Case& c : cases) {
        const TabChange change = ChangeTab(before, c.tab);
        EXPECT_EQ(change.flags, kept | ShowStructure | c.added) << c.tab;
        EXPECT_EQ(change.loadsButtonDown, c.loadsDown) << c.tab;
    }
    // Geometrie to Querkraft releases "Belastung", back presses it again.
    const TabChange away = ChangeTab(kInitialDisplayFlags, kTabQuerkraft);
    EXPECT_FALSE(away.loadsButtonDown);
    EXPECT_TRUE(ChangeTab(away.flags, kTabGeometrie).loadsButtonDown);
    EXPECT_EQ(NewWindowFlags(kTabGeometrie), kInitialDisplayFlags);
    EXPECT_EQ(NewWindowFlags(kTabBiegemoment), 0x2848);
}

TEST(Tabs, EveryToolbarToggleOnce) {
    std::set<std::string> hints;
    DisplayFlags flags = 0;
    for (const DisplayToggle& toggle : kDisplayToggles) {
        hints.insert(toggle.hint);
        EXPECT_EQ(flags & toggle.flag, 0) << toggle.hint;
        flags |= toggle.flag;
    }
    EXPECT_EQ(hints.size(), 10u);
    EXPECT_TRUE(hints.count("Auflagerkräfte"));
    EXPECT_EQ(flags & (ShowStructure | ShowDeformation | 0x0004), 0);
}

// Scene parts in their order: axis cross, beams, hinges, supports, nodes,
// distributed, node and point loads, constrained displacements, temperature,
// reactions, deflection line, section forces.
TEST(Rebuild, DrawsInItsOrder) {
    SettingsGuard settings;
    const Colour axis = 1, beam = 2, hinge = 3, support = 4, node = 5, distributed = 6,
                 nodeLoad = 7, pointLoad = 8, imposed = 9, warm = Rgb(255, 0, 0), reaction = 10,
                 deflection = 11;
    GeoAxesColour = axis;
    GeoBeamColour = beam;
    GeoHingeColour = hinge;
    GeoSupportColour = support;
    GeoNodeColour = node;
    LoadDistributedColour = distributed;
    LoadNodeColour = nodeLoad;
    LoadPointColour = pointLoad;
    LoadZwvColour = imposed;
    ResReactionColour = reaction;
    ResDeflectionLineColour = deflection;

    Structure s;
    s.FixedNode(0, 0);
    s.Node(5, 0);
    s.Node(10, 0, 1, 0, 0);
    s.Section(3e7, 1.2e7, 1e-3, 2e-3, 1e-5);
    s.Beam(1, 2, 1, 0.5);
    s.Beam(2, 3, 1, 0.5);
    s.Hinge(2, 0.5, kHingeBending);
    s.BeamLoad(1, 2, 3, 3);
    s.NodeLoad(2, 2, 4);
    s.PointLoad(2, 0.25, 5);
    s.HingeLoad(1, kHingeLoadForce, 2);
    s.Zwv(2, 2, 0.001);
    s.Temperature(1, 1, 10);
    s.Solve();

    SceneRun run(FrontView(), ShowAxisCross | ShowStructure | ShowSupports | ShowLoads |
                                  ShowReactions | ShowDeformation);
    run.options.tab = kTabBiegemoment;
    run.Rebuild(s);
    std::map<Colour, int> first;
    int index = 0;
    for (const DecodedRecord& r : Decode(run.list)) {
        if (r.kind == kPaintPenColour)
            first.emplace(r.colour, index);
        ++index;
    }
    const Colour order[] = {axis,     beam,      hinge,   support, node,     distributed,
                            nodeLoad, pointLoad, imposed, warm,    reaction, deflection};
    for (size_t i = 1; i < std::size(order); ++i) {
        ASSERT_TRUE(first.count(order[i])) << order[i];
        EXPECT_LT(first[order[i - 1]], first[order[i]]) << order[i - 1] << " before " << order[i];
    }
    const PenLine last = PenLines(run.list).back();
    EXPECT_EQ(last.width, ResFunctionLineWidth) << "the section forces come last";
}

// The lanes of the traffic lie on the deck: one line a segment, from the
// lane's start to its end, on "Geometrie" only.
TEST(Rebuild, LanesAreDrawnOnTheGeometry) {
    SettingsGuard settings;
    Structure s;
    s.FixedNode(0, 0);
    s.Node(10, 0, 1, 0, 0);
    s.Section(3e7, 1.2e7, 1e-3, 2e-3, 1e-5);
    s.Beam(1, 2, 1, 0.5);
    const std::vector<TrafficLane> lanes = {{{{0.0, 1.0}, {4.0, 1.0}, {10.0, 1.0}}}};
    SceneRun run(FrontView(), ShowStructure);
    run.options.lanes = &lanes;
    run.Rebuild(s);
    // The lane's lines, not the strokes of its number "F1".
    const double width = run.Context(s).Size(GeoBeamLineWidth);
    const std::vector<PenLine> lines = LinesWithPen(run.list, kLaneColour, width);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NEAR(lines[0].b.x - lines[0].a.x, 4.0, 1e-9);
    EXPECT_NEAR(lines[1].b.x - lines[0].a.x, 10.0, 1e-9);
    run.options.tab = kTabBiegemoment;
    run.Rebuild(s);
    EXPECT_TRUE(LinesWithPen(run.list, kLaneColour).empty());
}

TEST(Rebuild, FitsTheViewUnlessItIsKept) {
    Structure s;
    s.Node(0, 0);
    s.Node(10, 0);
    s.Beam(1, 2);
    SceneRun run;
    run.Rebuild(s);
    EXPECT_EQ(run.view.Window(), run.list.BoundingBox());
    const SceneBox zoomed{-1, -1, 1, 1};
    run.view.SetWindow(zoomed);
    run.view.SetKeepView(1);
    run.Rebuild(s);
    EXPECT_EQ(run.view.Window(), zoomed);

    // Without a scene size nothing is drawn and the view stays.
    Structure single;
    single.Node(3, 3);
    run.view.SetKeepView(0);
    run.Rebuild(single);
    EXPECT_EQ(run.list.RecordCount(), 0);
    EXPECT_EQ(run.view.Window(), zoomed);
}

TEST(Rebuild, EvaluationPointsOutsideTheSpinEditsRange) {
    Structure s;
    LoadExample(s, "zweifeld");
    const auto record = [&](int points) {
        SceneRun run(FrontView(), NewWindowFlags(kTabBiegemoment));
        run.options.tab = kTabBiegemoment;
        run.options.evaluationPoints = points;
        run.Rebuild(s);
        return std::vector<unsigned char>(run.list.Bytes(),
                                          run.list.Bytes() + run.list.ByteCount());
    };
    EXPECT_EQ(record(0), record(10));
    EXPECT_EQ(record(-7), record(10));
    EXPECT_EQ(record(5000), record(100));
    EXPECT_NE(record(99), record(100));
}

// Everything a window may be asked to draw, with every flag, on every tab.
void ExpectFiniteOnEveryTab(Structure& s, const SceneOptions& base, const char* what) {
    for (int tab = 0; tab < kSceneTabCount; ++tab) {
        SceneRun run(ViewState().Matrix(), kAllFlags);
        run.options = base;
        run.options.tab = tab;
        run.options.flags = kAllFlags;
        run.Rebuild(s);
        EXPECT_TRUE(AllFinite(run.list)) << what << ", tab " << tab;
    }
}

TEST(OddInput, HugeTinyAndNoNumbersDrawWithoutNaN) {
    Structure s;
    s.Node(0, 0, 1, 1, 1, kNaN);
    s.Node(10, 0, 1, 0, 0, 1e300);
    s.Node(10, 0);   // at node 2's place
    s.Node(kNaN, 4); // at no place
    s.Node(5, 1e-300);
    s.Section(3e7, 1.2e7, 1e-3, 2e-3, 1e-5);
    s.Beam(1, 2, 1, 0.5, INT_MAX);
    s.Beam(2, 3); // no length
    s.Beam(1, 4); // to no place
    s.Beam(1, 5, 99, 0.5, INT_MIN);
    s.Hinge(1, kNaN, kHingeShear);
    s.Hinge(2, 0.5, kHingeBending);
    s.Hinge(1, 1e300, kHingeTorsion);
    s.Hinge(4, -kInf, kHingeBending);
    s.BeamLoad(1, 4, 1e300, -1e300);
    s.BeamLoad(INT_MIN, INT_MAX, 1e-300, kNaN, kInf, 1e-300);
    s.NodeLoad(1, 5, 1e300, -1e-300, kNaN);
    s.PointLoad(1, kNaN, 1e300, 1e-300, -1e300);
    s.PointLoad(3, 0.5, kInf, 1, 1);
    s.PointLoad(INT_MIN, 0.5, 1, 1, 1);
    s.Zwv(1, INT_MAX, 1e300, kNaN, -1e-300);
    s.Temperature(1, 3, kNaN);
    s.Temperature(INT_MIN, 2, 1e300);
    for (int hinge = 1; hinge <= 5; ++hinge) {
        s.HingeLoad(hinge, kHingeLoadForce, hinge % 2 ? 1e300 : -1e-300);
        s.HingeLoad(hinge, kHingeLoadDeformation, hinge % 2 ? kNaN : 1e300);
    }
    SceneOptions options;
    ExpectFiniteOnEveryTab(s, options, "without results");
    s.Run(); // whatever the analysis makes of it
    ExpectFiniteOnEveryTab(s, options, "after the analysis");
    EXPECT_EQ(s.input.nodes.Count(), 5) << "the drawing grows no table";
    EXPECT_EQ(s.input.beams.Count(), 4);
}

TEST(OddInput, ResultsThatAreNoNumbers) {
    Structure s;
    LoadExample(s, "bruecke");
    // Results as a solver might leave them for an input of 1e300 loads.
    for (int d = 0; d < s.solutions.dofs.Count(); ++d) {
        s.solutions.dofs.Dof(d).solvedValue = d % 3 ? kInf : kNaN;
        s.solutions.dofs.Dof(d).nodeForce = d % 2 ? -kInf : kNaN;
    }
    for (int e = 0; e < s.solutions.elements.Count(); ++e)
        s.solutions.elements[e].forces[e % 6] = e % 2 ? kNaN : 1e300;
    ExpectFiniteOnEveryTab(s, SceneOptions(), "odd results");
}

TEST(OddSettings, SettingsThatMakeNoSenseDrawFinitely) {
    Structure s;
    LoadExample(s, "bruecke");
    for (const double value : {kNaN, kInf, -kInf, 1e300, -1e300, 0.0, -0.05, 5e-324}) {
        SettingsGuard settings;
        ForEachRealDrawingSetting(SettingsTree(), [&](double& v) { v = value; });
        ExpectFiniteOnEveryTab(s, SceneOptions(), std::to_string(value).c_str());
    }
}

TEST(OddSettings, ANegativeSettingCountsByItsMagnitude) {
    Structure s;
    LoadExample(s, "bruecke");
    SceneRun positive(ViewState().Matrix(), kAllFlags);
    positive.options.tab = kTabBiegemoment;
    positive.options.flags = kAllFlags;
    positive.Rebuild(s);
    SettingsGuard settings;
    ForEachRealDrawingSetting(SettingsTree(), [&](double& v) {
        if (&v != &LoadTempColour) // a colour, not a size
            v = -v;
    });
    SceneRun negative(ViewState().Matrix(), kAllFlags);
    negative.options = positive.options;
    negative.Rebuild(s);
    EXPECT_TRUE(SameStream(positive.list, negative.list));
}

TEST(OddSettings, TheTemperatureColourIsLimitedToAColour) {
    EXPECT_EQ(SettingColour(255.9), 255);
    EXPECT_EQ(SettingColour(-3), 0);
    EXPECT_EQ(SettingColour(kNaN), 0);
    EXPECT_EQ(SettingColour(1e300), 0xFFFFFF);
    EXPECT_EQ(SettingFactor(-0.02), 0.02);
    EXPECT_EQ(SettingFactor(kNaN), 0.0);
    EXPECT_EQ(SettingFactor(1e300), kMaxSettingFactor);
}

TEST(OddScales, TheSpinEditsWholeRangeAndBeyond) {
    Structure s;
    LoadExample(s, "bruecke");
    for (const double scale : {1000.0, -1000.0, 0.0, 1e300, -kInf, kNaN, 1e-300}) {
        SceneOptions options;
        options.textScale = options.functionScale = options.displacementScale = scale;
        ExpectFiniteOnEveryTab(s, options, std::to_string(scale).c_str());
    }
    EXPECT_EQ(WindowScale(1e300), kMaxWindowScale);
    EXPECT_EQ(WindowScale(-5000), -kMaxWindowScale);
    EXPECT_EQ(WindowScale(kNaN), 1.0);
}

TEST(Examples, EveryTabOfEveryExampleDraws) {
    for (const char* name : {"beispiel", "bruecke", "zweifeld"}) {
        Structure s;
        LoadExample(s, name);
        for (int tab = 0; tab < kSceneTabCount; ++tab) {
            SceneRun run(ViewState().Matrix(), NewWindowFlags(tab));
            run.options.tab = tab;
            run.Rebuild(s);
            EXPECT_GT(run.list.RecordCount(), 40) << name << " " << tab;
            EXPECT_TRUE(AllFinite(run.list)) << name << " " << tab;
        }
    }
}

} // namespace
