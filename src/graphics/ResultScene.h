#pragma once

#include "graphics/SceneContext.h"

// The results of an analysis over the structure: the section-force diagram of
// a function (1 Querkraft, 2 Biegemoment, 3 Torsionsmoment) along every beam,
// the deflection line, and the support reactions. Ordinates are drawn along
// the model's z axis: positive values hang on the +z side of the beams, the
// side of the dashed fibre line. Every function draws nothing without results
// (scene.results null).

// Blue ordinates for positive values, red for the others.
Colour DiagramColour(double value);

// The diagram of function 1, 2 or 3 (nothing for 0): the largest absolute
// value over the structure is drawn f × Ergebnisse / Funktionen / Skalierung
// × SceneSize long. Every analysis element gets about n evaluation points per
// beam length (at least one interval), an outline and an ordinate line at
// every station (the hatching); with ShowValues its two end values, with
// ShowExtrema the values where the slope changes sign.
void DrawSectionForces(const SceneContext& scene, int function);

// The deflection line: the largest deflection drawn d × Ergebnisse /
// Verformungen / Skalierung × SceneSize long, each element in segments by the
// "Intervalle" of its beam (at least 10, at most kMaxDeflectionSegments); with
// ShowValues the displacements of the nodes and of both sides of every hinge.
inline constexpr int kMaxDeflectionSegments = 1000;
void DrawDeflectionLine(const SceneContext& scene);

// Support reactions as force arrows and moment double arrows (along the
// skewed support axes), the largest force and the largest moment drawn
// Geometrie / Stäbe / Lastskalierung × SceneSize long; reactions below 1e-10
// of the largest are left out.
void DrawReactions(const SceneContext& scene);
