#pragma once

#include "graphics/SceneContext.h"
#include "project/Project.h"
#include "settings/SettingsVariables.h"

#include <vector>

// The lanes of the project's traffic over the structure: each a polyline in
// the deck plane (z = 0) in the lane colour, numbered "F1", "F2", … at its
// start, so that the user sees where the vehicle will travel.
void DrawLanes(const SceneContext& scene, const std::vector<TrafficLane>& lanes);

inline constexpr Colour kLaneColour = Rgb(0, 150, 60);
