#include "graphics/SceneRebuild.h"

#include "analysis/SolutionsCont.h"
#include "graphics/LoadScene.h"
#include "graphics/ResultScene.h"
#include "graphics/SceneContext.h"
#include "graphics/StructureScene.h"

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

void RebuildScene(InputModel& input, const SolutionsCont* results, const SceneOptions& options,
                  ViewState& view, PaintContainer& list) {
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

    if (scene.Shows(ShowAxisCross))
        DrawAxisCross(scene);
    if (scene.Shows(ShowStructure))
        DrawStructure(scene);
    if (scene.Shows(ShowLoads))
        DrawLoadCase(scene);
    if (scene.results) {
        if (scene.Shows(ShowReactions))
            DrawReactions(scene);
        if (scene.Shows(ShowDeformation))
            DrawDeflectionLine(scene);
        DrawSectionForces(scene, TabFunction(options.tab));
    }
    view.FinishScene(list);
}
