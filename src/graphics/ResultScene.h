#pragma once

#include "graphics/DiagramValues.h"
#include "graphics/SceneContext.h"
#include "project/Project.h"

#include <utility>
#include <vector>

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
// ShowExtrema the value of every vertex of the element's polynomial that lies
// inside the element, at its place. Values that are rounding noise against
// the largest are 0 and get no label. Returns the smallest and the largest
// value of the diagram (end values and vertices).
ValueRange DrawSectionForces(const SceneContext& scene, int function);

// The envelope of one quantity along the beams, at the beams' evaluation
// points: the largest and the smallest value of each point, and, where known,
// the arrangement of factors that governs each of them.
struct EnvelopeDiagram {
    struct Beam {
        int beam; // number
        std::vector<double> xi, max, min;
        // Indices into arrangements, one per point; empty when not known.
        std::vector<int> maxArrangement = {}, minArrangement = {};
    };
    std::vector<Beam> beams;
    // The arrangements, each as its members with their factors (their text
    // is made only for the labels that name them).
    std::vector<std::vector<std::pair<EnvelopeMember, double>>> arrangements = {};
    // Or their texts, made already (the envelopes of traffic name positions).
    std::vector<std::string> arrangementTexts = {};
};

struct EnvelopeResults;
// The max and min of an envelope in the quantity of a tab: the deflection on
// "Biegelinie" (and "Geometrie", which draws none), else the tab's function.
EnvelopeDiagram EnvelopeOfTab(const EnvelopeResults& envelope, int tab);

// An envelope as two diagrams over the evaluation points: function 1, 2 or
// 3 in the style of DrawSectionForces (the largest absolute value of max
// and min drawn as long, an ordinate at every point, colours by sign), 0 the
// deflection as its two lines at their deflected places (scaled as the
// deflection line). With ShowExtrema the largest max and the smallest min
// of every beam are labelled, with ShowValues the values at the beam ends.
// While the labels are untangled, an extremum label names its governing
// arrangement after the value, "125.0 (1.35·LF1 + 1.50·LF3)", where that
// longer text finds a free place, and is the value alone where it does not.
// Returns the range of the values drawn.
ValueRange DrawEnvelope(const SceneContext& scene, const EnvelopeDiagram& envelope, int function);

// The deflection line: the largest deflection drawn d × Ergebnisse /
// Verformungen / Skalierung × SceneSize long, each element in segments by the
// "Intervalle" of its beam (at least 10, at most kMaxDeflectionSegments); with
// ShowValues the displacements of the nodes and of both sides of every hinge
// (noise against the largest deflection or rotation reads 0; a node that does
// not move gets no label). Returns the range of the deflections drawn.
inline constexpr int kMaxDeflectionSegments = 1000;
ValueRange DrawDeflectionLine(const SceneContext& scene);

// Support reactions as force arrows and moment double arrows (along the
// skewed support axes), the largest force and the largest moment drawn
// Geometrie / Stäbe / Lastskalierung × SceneSize long. Reactions that are
// rounding noise are left out: forces against the largest force, moments
// against the larger of the largest moment and the largest force × SceneSize.
void DrawReactions(const SceneContext& scene);
