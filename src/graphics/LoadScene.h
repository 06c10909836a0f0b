#pragma once

#include "graphics/SceneContext.h"

#include <vector>

class PlotValueClass;

// The load case: distributed loads as load diagrams with arrows, node loads,
// point loads and hinge loads as force arrows and moment double arrows,
// constrained displacements (and imposed hinge deformations) as arrows in
// their own scale, and temperature loads as a warm and a cold line along the
// beams. Forces are scaled so that the largest force of the load case is
// drawn f × Geometrie / Stäbe / Lastskalierung × SceneSize long, whatever the
// unit of the input; moments likewise by the largest moment. Labels show
// absolute values (the arrow carries the sign) and are written with
// ShowValues. Values that are 0 or not finite numbers draw nothing.

// Length per unit of force and of moment.
struct LoadScales {
    double force = 1.0;  // F
    double moment = 1.0; // M
    double maxForce = 0.0;
    double maxMoment = 0.0;

    // False when the load case holds neither a force nor a moment.
    bool Any() const { return maxForce != 0.0 || maxMoment != 0.0; }
};
LoadScales ForceAndMomentScales(const SceneContext& scene);

// Length per unit of imposed deflection and of imposed rotation.
struct DisplacementScales {
    double deflection = 1.0; // D
    double rotation = 1.0;   // R
};
DisplacementScales ImposedDisplacementScales(const SceneContext& scene);

// Distributed loads, node loads, point loads and the hinge loads of the kind
// "Last", with the force and moment scales; nothing when the load case holds
// no force and no moment.
void DrawLoads(const SceneContext& scene);

// Constrained displacements of nodes, then the hinge loads of the kind
// "Verformung".
void DrawConstrainedDisplacements(const SceneContext& scene);

// Temperature loads: a line on each side of every loaded beam, red on the
// warmer side and blue on the colder one.
void DrawTemperatureLoads(const SceneContext& scene);

// The load scene of a rebuild: loads, constrained displacements, temperature.
void DrawLoadCase(const SceneContext& scene);

// The load diagram of one beam: ordinates of the load function (component 0
// transverse load, 1 torsion moment) at stations about half the largest
// ordinate apart, at most kMaxLoadStations + 1 of them, standing on a base
// line Belastung / Lastabstand away from the beam on the side of the value at
// mid-span; arrows (force) or heads along the beam (moment) at the inner
// stations, value labels at the end stations with kLoadDiagramLabels. Every
// loaded beam gets at least one arrow, and arrows stand at least
// kLoadArrowSpacing head sizes apart on the screen, so that short beams keep
// their loads and small loads beside large ones draw no bar of heads.
//
// A uniform load whose labels are asked for, with runs given, writes no end
// labels but adds its label to runs: DrawDistributedLoads labels each run of
// equal uniform loads on connected beams once.
inline constexpr int kMaxLoadStations = 1000;
inline constexpr double kLoadArrowSpacing = 0.5;
inline constexpr unsigned kLoadDiagramLabels = 0x08;
inline constexpr unsigned kLoadDiagramMoment = 0x10;
struct UniformLoadLabel {
    int component = 0;
    double value = 0.0;
    int startNode = 0, endNode = 0;
    Colour colour = 0;
    Vec2 base, tip, reference; // the mid-span ordinate and a point near its base line
};
void LoadDiagram(const SceneContext& scene, const BeamRec& beam, const PlotValueClass& values,
                 int component, double scale, Colour colour, double width, unsigned flags,
                 std::vector<UniformLoadLabel>* runs = nullptr);
