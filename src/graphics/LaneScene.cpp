#include "graphics/LaneScene.h"

#include "graphics/PaintContainer.h"
#include "model/Format.h"
#include "settings/SettingsVariables.h"

void DrawLanes(const SceneContext& scene, const std::vector<TrafficLane>& lanes) {
    PaintContainer& list = scene.list;
    list.SetLayer(kLayerStructure);
    for (size_t k = 0; k < lanes.size(); ++k) {
        const std::vector<TrafficPoint>& points = lanes[k].points;
        if (points.size() < 2)
            continue;
        list.SetPen(kLaneColour, scene.Size(GeoBeamLineWidth));
        for (size_t i = 1; i < points.size(); ++i)
            list.AddLine(scene.ToScene({points[i - 1].x, points[i - 1].y}, 0.0),
                         scene.ToScene({points[i].x, points[i].y}, 0.0));
        list.DrawText(scene.textScale, scene.ToScene({points[0].x, points[0].y}, 0.0), 0.0,
                      scene.Size(GeoBeamTextDistance), scene.Size(GeoBeamTextSize), kLaneColour,
                      Format("F%zu", k + 1), kTextCentre | kTextAbove);
    }
}
