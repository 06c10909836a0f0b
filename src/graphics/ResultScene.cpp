#include "graphics/ResultScene.h"

#include "analysis/SolElement.h"
#include "analysis/SolutionsCont.h"
#include "graphics/Symbols.h"
#include "model/Format.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

// A section force whose largest value is below this is drawn flat.
constexpr double kFlatFunction = 1e-8;
// Stations per element of a section-force diagram, at most: a hinge position
// far outside its beam (a file may hold one) would make an element as long.
constexpr int kMaxDiagramStations = 1000;
// Slopes smaller than this count as level.
constexpr double kLevelSlope = 1e-10;
// Reactions smaller than this part of the largest are not drawn.
constexpr double kNegligibleReaction = 1e-10;

int SlopeSign(double difference) {
    if (std::fabs(difference) < kLevelSlope)
        return 0;
    return difference > 0 ? 1 : -1;
}

// The elements of a beam in chain order. The chain is read from the results
// as they are; an index outside the element list, or a chain longer than the
// list, ends it.
template <class Visit>
void ForEachElementOf(const SolutionsCont& results, const BeamRec& beam, Visit visit) {
    const int count = results.elements.Count();
    int e = beam.firstElement;
    for (int steps = 0; e >= 0 && e < count && steps < count; ++steps) {
        visit(e);
        e = results.elements[e].nextElement;
    }
}

// One element's part of a section-force diagram.
struct ElementDiagram {
    const SceneContext& scene;
    const SolutionsCont& results;
    const BeamRec& beam;
    int function;
    double scale;     // ordinate length per unit of the function
    double tolerance; // of the labels
    double width;

    Point2 PointAt(double xi) const { return scene.input.beams.PointAt(beam, xi); }
    // A flat diagram (a function that is 0 everywhere) has no labels.
    bool Labelled(DisplayFlags flag) const { return scale != 0.0 && scene.Shows(flag); }

    void Draw(int e) const {
        const SolElement& element = results.elements[e];
        const double span = element.xiEnd - element.xiStart;
        const double stations = std::trunc(span * scene.evaluationPoints + 1);
        const int count = static_cast<int>(
            std::clamp(std::isfinite(stations) ? stations : 1.0, 1.0, double(kMaxDiagramStations)));
        const double step = span / count;
        PaintContainer& list = scene.list;
        double previous = 0.0;
        int previousSlope = 0;
        int run = 0; // finite stations in a row; a value that is no number breaks the outline
        for (int i = 0; i <= count; ++i) {
            const double xi = element.xiStart + i * step;
            const double v = results.SectionForce(e, static_cast<double>(i) / count, function);
            if (!std::isfinite(v)) {
                run = 0;
                continue;
            }
            if (run == 0)
                previous = v;
            list.SetPen(DiagramColour(v), width);
            const Point2 at = PointAt(xi);
            const Vec2 base = scene.ToScene(at, 0.0);
            const Vec2 tip = scene.ToScene(at, scale * v);
            if (run == 0)
                list.MoveTo(1, tip);
            else
                list.LineTo(1, tip);
            list.AddLine(base, tip);
            if ((i == 0 || i == count) && Labelled(ShowValues))
                OrdinateLabel(list, scene.textScale, scene.sceneSize, tolerance, DiagramColour(v),
                              tip, base, scene.ToScene(PointAt(xi - 0.1), 0.0), v, i != count,
                              false);
            const int slope = SlopeSign(v - previous);
            if (run >= 2 && slope != previousSlope && i < count && Labelled(ShowExtrema))
                LabelExtremum(xi - step, previous);
            previousSlope = slope;
            previous = v;
            ++run;
        }
    }

    // The value of the station before a change of slope.
    void LabelExtremum(double xi, double value) const {
        const Point2 at = PointAt(xi);
        OrdinateLabel(scene.list, scene.textScale, scene.sceneSize, tolerance, DiagramColour(value),
                      scene.ToScene(at, scale * value), scene.ToScene(at, 0.0),
                      scene.ToScene(PointAt(xi + 0.1), scale * value), value, true, false);
    }
};

// "(w, Rx, Ry)" of an analysis node at its deflected place.
void DisplacementLabel(const SceneContext& scene, int node, double scale, const char* format,
                       double angle, unsigned placement) {
    const SolutionsCont& results = *scene.results;
    const Point3 p = results.DeformedNode(node, scale);
    scene.list.DrawText(scene.textScale, scene.ToScene({p.x, p.y, p.z}), angle,
                        scene.Size(ResDeflectionTextDistance), scene.Size(ResDeflectionTextSize),
                        ResDeflectionTextColour,
                        Format(format, results.NodeValue(node, kWz), results.NodeValue(node, kRx),
                               results.NodeValue(node, kRy)),
                        placement);
}

bool IsNode(const SolutionsCont& results, int node) {
    return node >= 0 && node < results.nodes.Count();
}

void DeflectionValues(const SceneContext& scene, double scale) {
    const SolutionsCont& results = *scene.results;
    ForEachValid(scene.input.nodes, [&](const NodeRec& node) {
        if (IsNode(results, node.calcNode))
            DisplacementLabel(scene, node.calcNode, scale, "(%.5g, %.5g, %.5g)", 0.0,
                              kTextRight | kTextAbove);
    });
    // Both sides of a hinge, on opposite sides of the line, across the beam;
    // a side that is an input node has its label already.
    ForEachValid(scene.input.hinges, [&](const HingeRec& hinge) {
        const double angle = scene.input.beams.BeamAngle(hinge.beam) + kPi / 2;
        const auto side = [&](int node, unsigned placement) {
            if (IsNode(results, node) && results.nodes[node].inputRow == -1)
                DisplacementLabel(scene, node, scale, "(%.3g, %.3g, %.3g)", angle, placement);
        };
        side(hinge.sideA, kTextCentre | kTextBelow);
        side(hinge.sideB, kTextCentre | kTextAbove);
    });
}

bool Shown(double reaction, double largest) {
    return largest != 0.0 && std::isfinite(reaction) &&
           std::fabs(reaction) / largest > kNegligibleReaction;
}

} // namespace

Colour DiagramColour(double value) {
    return value > 0 ? Rgb(0, 0, 255) : Rgb(255, 0, 0);
}

void DrawSectionForces(const SceneContext& scene, int function) {
    if (!scene.results || function < 1 || function > 3)
        return;
    const SolutionsCont& results = *scene.results;
    const double largest = results.MaxSectionForce(function);
    const double scale =
        largest > kFlatFunction && std::isfinite(largest)
            ? scene.functionScale * SettingFactor(ResFunctionScale) * scene.sceneSize / largest
            : 0.0;
    const double width = SettingFactor(ResFunctionLineWidth); // not a fraction of SceneSize
    ForEachValid(scene.input.beams, [&](const BeamRec& beam) {
        const ElementDiagram diagram{scene, results, beam, function, scale, 1e-5 * largest, width};
        ForEachElementOf(results, beam, [&](int e) { diagram.Draw(e); });
    });
}

void DrawDeflectionLine(const SceneContext& scene) {
    if (!scene.results)
        return;
    const SolutionsCont& results = *scene.results;
    double largest = scene.MaxDeflection();
    if (largest == 0.0)
        largest = 1.0;
    const double scale = ScaleFor(
        scene.displacementScale * SettingFactor(ResDeflectionScale) * scene.sceneSize, largest);
    const double width = scene.Size(ResDeflectionLineWidth);
    for (int e = 0; e < results.elements.Count(); ++e) {
        const SolElement& element = results.elements[e];
        const BeamRec* beam = scene.input.beams.Existing(element.beamNumber);
        const double intervals = beam ? beam->intervals : 0.0;
        const double wanted = (element.xiEnd - element.xiStart) * (intervals + 1) + 1;
        const int segments = static_cast<int>(
            std::fmin(std::trunc(std::fmax(wanted, 10.0)), double(kMaxDeflectionSegments)));
        const auto point = [&](int i) {
            const Point3 p = results.DeformedPoint(e, static_cast<double>(i) / segments, scale);
            return scene.ToScene({p.x, p.y, p.z});
        };
        Vec2 from = point(0);
        for (int i = 1; i <= segments; ++i) {
            const Vec2 to = point(i);
            StyledLine(scene.list, from, to, width, ResDeflectionLineColour, kLineSolid);
            from = to;
        }
    }
    if (scene.Shows(ShowValues))
        DeflectionValues(scene, scale);
}

void DrawReactions(const SceneContext& scene) {
    if (!scene.results)
        return;
    const SolutionsCont& results = *scene.results;
    const double largestForce = results.MaxNodeForce();
    const double largestMoment = results.MaxNodeMoment();
    if (largestForce == 0.0 && largestMoment == 0.0)
        return;
    const double length = SettingFactor(GeoBeamLoadScale) * scene.sceneSize;
    const double forceScale = largestForce != 0.0 ? ScaleFor(length, largestForce) : 0.0;
    const double momentScale = largestMoment != 0.0 ? ScaleFor(length, largestMoment) : 0.0;
    const ArrowStyle style =
        ArrowStyle::Scaled(scene.sceneSize, scene.textScale, ResReactionArrowheadSize,
                           ResReactionLineWidth, ResReactionTextSize, ResReactionColour,
                           kArrowAbsolute | (scene.Shows(ShowValues) ? kArrowLabel : 0u));
    ForEachValid(scene.input.nodes, [&](const NodeRec& node) {
        if (!IsNode(results, node.calcNode))
            return;
        const int n = node.calcNode;
        const Vec3 p{node.x, node.y, 0.0};
        const double skew = node.skew * kPi / 180.0;
        const double force = results.NodeForce(n, kWz);
        const double mx = results.NodeForce(n, kRx), my = results.NodeForce(n, kRy);
        // The reaction moments about the support's own axes.
        const double first = mx * std::cos(skew) + my * std::sin(skew);
        const double second = -mx * std::sin(skew) + my * std::cos(skew);
        if (node.fixZ && Shown(force, largestForce))
            ForceArrow(scene.list, scene.view, style, p, {0, 0, 1}, forceScale, force);
        if (node.fixRx && Shown(first, largestMoment))
            MomentArrow(scene.list, scene.view, style, p, momentScale, first, skew);
        if (node.fixRy && Shown(second, largestMoment))
            MomentArrow(scene.list, scene.view, style, p, momentScale, second, skew + kPi / 2);
    });
}
