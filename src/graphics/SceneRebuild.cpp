#include "graphics/SceneRebuild.h"

#include "analysis/SolutionsCont.h"
#include "graphics/LabelLayout.h"
#include "graphics/LaneScene.h"
#include "graphics/LoadScene.h"
#include "graphics/ResultScene.h"
#include "graphics/SceneContext.h"
#include "graphics/StructureScene.h"
#include "model/Format.h"

int FindSceneTab(std::string_view name) {
    for (int tab = 0; tab < kSceneTabCount; ++tab)
        if (name == kSceneTabs[tab].name)
            return tab;
    return -1;
}

int TabFunction(int tab) {
    return tab >= 0 && tab < kSceneTabCount ? kSceneTabs[tab].function : 0;
}

TabChange ChangeTab(DisplayFlags flags, int tab) {
    flags &= static_cast<DisplayFlags>(~(ShowLoads | ShowDeformation | ShowStructure | 0x0004));
    flags |= ShowStructure;
    if (tab >= 0 && tab < kSceneTabCount)
        flags |= kSceneTabs[tab].flag;
    return {flags, (flags & ShowLoads) != 0};
}

DisplayFlags NewWindowFlags(int tab) {
    return ChangeTab(kInitialDisplayFlags, tab).flags;
}

namespace {

// The caption's text height, a part of SceneSize.
constexpr double kLegendTextSize = 0.02;

// The view's name and the range of its values: "Biegemoment  max 125.0  min
// -45.00". The stroke font has no minus sign of its own; the hyphen serves.
std::string LegendText(int tab, const ValueRange& range) {
    std::string text = kSceneTabs[tab].name;
    if (!range.Empty())
        text += Format("  max %#.4lg  min %#.4lg", range.max, range.min);
    return text;
}

// The caption above the top left corner of everything drawn.
void DrawLegend(const SceneContext& scene, int tab, const ValueRange& range) {
    const SceneBox& box = scene.list.BoundingBox();
    const double height = kLegendTextSize * scene.sceneSize;
    const Vec2 corner = box.Width() >= 0 ? Vec2{box.minX, box.minY} : Vec2{0.0, 0.0};
    scene.list.DrawText(scene.textScale, corner, 0.0, 0.5 * height, height, Rgb(0, 0, 0),
                        LegendText(tab, range), kTextRight | kTextAbove);
}

} // namespace

void RebuildScene(InputModel& input, const SolutionsCont* results, const SceneOptions& options,
                  ViewState& view, PaintContainer& list, std::vector<TextBox>* placedLabels) {
    list.Clear();
    const float sceneSize = view.PrepareScene(input.nodes);
    if (!(sceneSize > 0))
        return;
    int points = options.evaluationPoints;
    if (points < 1)
        points = kDefaultEvaluationPoints;
    const SceneContext scene{list,
                             view.Matrix(),
                             sceneSize,
                             WindowScale(options.textScale),
                             WindowScale(options.functionScale),
                             WindowScale(options.displacementScale),
                             options.flags,
                             input,
                             results && results->resultsValid ? results : nullptr,
                             std::min(points, kMaxEvaluationPoints)};

    DeferredLabels labels(list, (options.layout & kUntangleLabels) != 0);
    ValueRange range;
    if (scene.Shows(ShowAxisCross))
        DrawAxisCross(scene);
    if (scene.Shows(ShowStructure))
        DrawStructure(scene);
    if (options.lanes && options.tab == kTabGeometrie)
        DrawLanes(scene, *options.lanes);
    if (scene.Shows(ShowLoads)) {
        list.SetLayer(kLayerLoads);
        DrawLoadCase(scene);
    }
    if (options.envelope) {
        list.SetLayer(kLayerDiagram);
        const int function = TabFunction(options.tab);
        if (function != 0 || scene.Shows(ShowDeformation))
            range = DrawEnvelope(scene, *options.envelope, function);
    } else if (scene.results) {
        if (scene.Shows(ShowReactions)) {
            list.SetLayer(kLayerSupports);
            DrawReactions(scene);
        }
        list.SetLayer(kLayerDiagram);
        if (scene.Shows(ShowDeformation))
            range = DrawDeflectionLine(scene);
        const ValueRange diagram = DrawSectionForces(scene, TabFunction(options.tab));
        if (TabFunction(options.tab) != 0)
            range = diagram;
    }
    labels.Place();
    if (placedLabels)
        *placedLabels = labels.Layout().Placed();
    const int tab = std::clamp(options.tab, 0, kSceneTabCount - 1);
    if (options.layout & kShowLegend)
        DrawLegend(scene, tab, range);
    view.FinishScene(list);
}
