#pragma once

#include "graphics/ViewTransform.h"

#include <optional>
#include <string>

struct InputModel;
class SolutionsCont;

// The values at the cursor of a graphics window: the beam under a point of
// the picture, its relative position ξ there, and the values of the view at
// that place computed from the results (not read off the drawing).

struct BeamPoint {
    int beam = 0; // number (row + 1)
    double xi = 0.0;
};

// The defined beam whose projected axis passes nearest to the scene point,
// when it passes within reach; ξ is the place on the axis nearest to the
// point (the projection keeps ratios along a beam).
std::optional<BeamPoint> BeamAt(InputModel& input, const ViewMatrix& view, Vec2 point,
                                double reach);

// "Stab 3  ξ = 0.5000", followed by the value of the tab's function at that
// place when there are results: "w = …" on "Biegelinie", "Q = …", "M = …",
// "T = …" on the section-force tabs. Rounding noise reads 0.
std::string CursorValueText(const SolutionsCont* results, int tab, const BeamPoint& at);
