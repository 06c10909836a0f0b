#include "graphics/ResultScene.h"

#include "analysis/SolElement.h"
#include "analysis/SolutionsCont.h"
#include "graphics/DiagramValues.h"
#include "graphics/LabelLayout.h"
#include "graphics/SceneRebuild.h"
#include "graphics/Symbols.h"
#include "model/Format.h"
#include "project/Envelope.h"
#include "protocols/ResultValues.h"

#include <cmath>
#include <numbers>
#include <optional>

namespace {

constexpr double kPi = std::numbers::pi;

// Stations per element of a section-force diagram, at most: a hinge position
// far outside its beam (a file may hold one) would make an element as long.
constexpr int kMaxDiagramStations = 1000;

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
    double scale;   // ordinate length per unit of the function
    double largest; // of the function over the structure
    double width;
    ValueRange& range;

    Point2 PointAt(double xi) const { return scene.input.beams.PointAt(beam, xi); }
    // A flat diagram (a function that is 0 everywhere) has no labels, and
    // rounding noise is no value.
    bool Labelled(DisplayFlags flag, double value) const {
        return scale != 0.0 && scene.Shows(flag) && !IsNoise(value, largest);
    }

    void Draw(int e) const {
        const SolElement& element = results.elements[e];
        const double span = element.xiEnd - element.xiStart;
        const double stations = std::trunc(span * scene.evaluationPoints + 1);
        const int count = static_cast<int>(
            std::clamp(std::isfinite(stations) ? stations : 1.0, 1.0, double(kMaxDiagramStations)));
        const double step = span / count;
        PaintContainer& list = scene.list;
        bool run = false; // a value that is no number breaks the outline
        for (int i = 0; i <= count; ++i) {
            const double xi = element.xiStart + i * step;
            const double v = results.SectionForce(e, static_cast<double>(i) / count, function);
            if (!std::isfinite(v)) {
                run = false;
                continue;
            }
            list.SetPen(DiagramColour(v), width);
            const Point2 at = PointAt(xi);
            const Vec2 base = scene.ToScene(at, 0.0);
            const Vec2 tip = scene.ToScene(at, scale * v);
            if (!run)
                list.MoveTo(1, tip);
            else
                list.LineTo(1, tip);
            list.AddLine(base, tip);
            run = true;
            if (i == 0 || i == count) {
                range.Include(DenoisedSectionForce(v, largest));
                if (Labelled(ShowValues, v)) {
                    const LabelRank rank(list, kEndValueLabel);
                    OrdinateLabel(list, scene.textScale, scene.sceneSize, 0.0, DiagramColour(v),
                                  tip, base, scene.ToScene(PointAt(xi - 0.1), 0.0), v, i != count,
                                  false);
                }
            }
        }
        const auto value = [&](double t) { return results.SectionForce(e, t, function); };
        for (const double t : DiagramVertices(value, largest)) {
            const double v = value(t);
            range.Include(DenoisedSectionForce(v, largest));
            if (Labelled(ShowExtrema, v))
                LabelExtremum(element.xiStart + t * span, v);
        }
    }

    // The value of a vertex of the element's polynomial, at its place.
    void LabelExtremum(double xi, double value) const {
        const Point2 at = PointAt(xi);
        const LabelRank rank(scene.list, kExtremumLabel);
        OrdinateLabel(scene.list, scene.textScale, scene.sceneSize, 0.0, DiagramColour(value),
                      scene.ToScene(at, scale * value), scene.ToScene(at, 0.0),
                      scene.ToScene(PointAt(xi + 0.1), scale * value), value, true, false);
    }
};

// "(w, Rx, Ry)" of an analysis node at its deflected place.
// The largest deflection and the largest rotation of the nodes: what a
// displacement is noise against.
struct DisplacementScale {
    double deflection = 0.0;
    double rotation = 0.0;
};

DisplacementScale LargestDisplacements(const SolutionsCont& results) {
    DisplacementScale largest;
    for (int n = 0; n < results.nodes.Count(); ++n) {
        largest.deflection = std::fmax(largest.deflection, std::fabs(results.NodeValue(n, kWz)));
        largest.rotation =
            std::fmax(largest.rotation, std::fmax(std::fabs(results.NodeValue(n, kRx)),
                                                  std::fabs(results.NodeValue(n, kRy))));
    }
    return largest;
}

// "(w, Rx, Ry)" of an analysis node at its deflected place; rounding noise
// reads 0, and a node that does not move at all gets no label.
void DisplacementLabel(const SceneContext& scene, const DisplacementScale& largest, int node,
                       double scale, const char* format, double angle, unsigned placement) {
    const SolutionsCont& results = *scene.results;
    const double w = Denoised(results.NodeValue(node, kWz), largest.deflection);
    const double rx = Denoised(results.NodeValue(node, kRx), largest.rotation);
    const double ry = Denoised(results.NodeValue(node, kRy), largest.rotation);
    if (w == 0.0 && rx == 0.0 && ry == 0.0)
        return;
    const Point3 p = results.DeformedNode(node, scale);
    scene.list.DrawText(scene.textScale, scene.ToScene({p.x, p.y, p.z}), angle,
                        scene.Size(ResDeflectionTextDistance), scene.Size(ResDeflectionTextSize),
                        ResDeflectionTextColour, Format(format, w, rx, ry), placement);
}

bool IsNode(const SolutionsCont& results, int node) {
    return node >= 0 && node < results.nodes.Count();
}

void DeflectionValues(const SceneContext& scene, double scale) {
    const SolutionsCont& results = *scene.results;
    const DisplacementScale largest = LargestDisplacements(results);
    ForEachValid(scene.input.nodes, [&](const NodeRec& node) {
        if (IsNode(results, node.calcNode))
            DisplacementLabel(scene, largest, node.calcNode, scale, "(%.5g, %.5g, %.5g)", 0.0,
                              kTextRight | kTextAbove);
    });
    // Both sides of a hinge, on opposite sides of the line, across the beam;
    // a side that is an input node has its label already.
    ForEachValid(scene.input.hinges, [&](const HingeRec& hinge) {
        const double angle = scene.input.beams.BeamAngle(hinge.beam) + kPi / 2;
        const auto side = [&](int node, unsigned placement) {
            if (IsNode(results, node) && results.nodes[node].inputRow == -1)
                DisplacementLabel(scene, largest, node, scale, "(%.3g, %.3g, %.3g)", angle,
                                  placement);
        };
        side(hinge.sideA, kTextCentre | kTextBelow);
        side(hinge.sideB, kTextCentre | kTextAbove);
    });
}

bool Shown(double reaction, double largest) {
    return std::isfinite(reaction) && !IsNoise(reaction, largest);
}

} // namespace

Colour DiagramColour(double value) {
    return value > 0 ? Rgb(0, 0, 255) : Rgb(255, 0, 0);
}

ValueRange DrawSectionForces(const SceneContext& scene, int function) {
    ValueRange range;
    if (!scene.results || function < 1 || function > 3)
        return range;
    const SolutionsCont& results = *scene.results;
    const double largest = results.MaxSectionForce(function);
    const double scale =
        largest > kFlatFunction && std::isfinite(largest)
            ? scene.functionScale * SettingFactor(ResFunctionScale) * scene.sceneSize / largest
            : 0.0;
    const double width = SettingFactor(ResFunctionLineWidth); // not a fraction of SceneSize
    ForEachValid(scene.input.beams, [&](const BeamRec& beam) {
        const ElementDiagram diagram{scene, results, beam, function, scale, largest, width, range};
        ForEachElementOf(results, beam, [&](int e) { diagram.Draw(e); });
    });
    return range;
}

ValueRange DrawDeflectionLine(const SceneContext& scene) {
    ValueRange range;
    if (!scene.results)
        return range;
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
            const double t = static_cast<double>(i) / segments;
            range.Include(Denoised(results.Deflection(e, t), largest));
            const Point3 p = results.DeformedPoint(e, t, scale);
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
    return range;
}

void DrawReactions(const SceneContext& scene) {
    if (!scene.results)
        return;
    const SolutionsCont& results = *scene.results;
    const double largestForce = results.MaxNodeForce();
    // A reaction moment is noise also against the largest force over the
    // scene's length: in a model without moments the largest is itself noise.
    const double momentNoiseScale =
        std::fmax(results.MaxNodeMoment(), largestForce * scene.sceneSize);
    const double largestMoment =
        IsNoise(results.MaxNodeMoment(), momentNoiseScale) ? 0.0 : results.MaxNodeMoment();
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
        // The node force is the whole force of the ground: the rigid
        // supports' and the springs'.
        const NodeSpring* spring = results.SpringAt(n);
        auto held = [spring](int32_t fixed, int axis) {
            return fixed || (spring && spring->axes[axis] != 0.0);
        };
        if (held(node.fixZ, 0) && largestForce != 0.0 && Shown(force, largestForce))
            ForceArrow(scene.list, scene.view, style, p, {0, 0, 1}, forceScale, force);
        if (held(node.fixRx, 1) && largestMoment != 0.0 && Shown(first, momentNoiseScale))
            MomentArrow(scene.list, scene.view, style, p, momentScale, first, skew);
        if (held(node.fixRy, 2) && largestMoment != 0.0 && Shown(second, momentNoiseScale))
            MomentArrow(scene.list, scene.view, style, p, momentScale, second, skew + kPi / 2);
    });
}

namespace {

double LargestOf(const EnvelopeDiagram& envelope) {
    double largest = 0.0;
    for (const EnvelopeDiagram::Beam& beam : envelope.beams)
        for (const auto* values : {&beam.max, &beam.min})
            for (double v : *values)
                if (std::isfinite(v))
                    largest = std::fmax(largest, std::fabs(v));
    return largest;
}

// The texts of an envelope's arrangements, each made when first asked for:
// a large grillage has far more arrangements than labels that name one.
class ArrangementTexts {
public:
    explicit ArrangementTexts(const EnvelopeDiagram& envelope)
        : envelope_(envelope),
          texts_(envelope.arrangementTexts.begin(), envelope.arrangementTexts.end()) {
        texts_.resize(std::max(texts_.size(), envelope.arrangements.size()));
    }

    // "1.35·LF1 + 1.50·LF3" of the arrangement at point i of a line's
    // indices; none where the diagram does not know it.
    std::optional<std::string> At(const std::vector<int>& indices, size_t i) {
        if (i >= indices.size() || indices[i] < 0 ||
            static_cast<size_t>(indices[i]) >= texts_.size())
            return std::nullopt;
        std::optional<std::string>& text = texts_[static_cast<size_t>(indices[i])];
        if (!text)
            text = ArrangementText(envelope_.arrangements[static_cast<size_t>(indices[i])]);
        return text;
    }

private:
    const EnvelopeDiagram& envelope_;
    std::vector<std::optional<std::string>> texts_;
};

// One line of an envelope along a beam (its max or its min), with its labels.
struct EnvelopeLine {
    const SceneContext& scene;
    const BeamRec& rec;
    const EnvelopeDiagram::Beam& beam;
    bool deflection;
    double scale;
    double largest;
    double width;
    ArrangementTexts& texts;

    void Draw(const std::vector<double>& values, const std::vector<int>& arrangements,
              bool largestWanted, ValueRange& range) const {
        PaintContainer& list = scene.list;
        size_t extreme = 0;
        for (size_t i = 0; i < values.size(); ++i) {
            const double v = values[i];
            range.Include(deflection ? Denoised(v, largest) : DenoisedSectionForce(v, largest));
            const Point2 at = scene.input.beams.PointAt(rec, beam.xi[i]);
            const Vec2 tip = scene.ToScene(at, scale * v);
            list.SetPen(deflection ? ResDeflectionLineColour : DiagramColour(v), width);
            if (i == 0)
                list.MoveTo(1, tip);
            else
                list.LineTo(1, tip);
            if (!deflection)
                list.AddLine(scene.ToScene(at, 0.0), tip);
            if (largestWanted ? v > values[extreme] : v < values[extreme])
                extreme = i;
        }
        if (values.empty() || scale == 0.0)
            return;
        for (size_t i : {size_t{0}, values.size() - 1})
            if (scene.Shows(ShowValues))
                Label(values, i, kEndValueLabel);
        if (scene.Shows(ShowExtrema))
            LabelExtremum(values, arrangements, extreme);
    }

    // The value, and where the labels are laid out and the arrangement is
    // known, the longer text that names it: the layout decides whether it
    // has room.
    void LabelExtremum(const std::vector<double>& values, const std::vector<int>& arrangements,
                       size_t i) const {
        LabelLayout* layout = scene.list.TextLayout();
        const size_t before = layout ? layout->Count() : 0;
        Label(values, i, kExtremumLabel);
        if (!layout || layout->Count() != before + 1)
            return;
        if (const std::optional<std::string> arrangement = texts.At(arrangements, i))
            layout->OfferLonger(before, " (" + *arrangement + ")");
    }

    void Label(const std::vector<double>& values, size_t i, int rank) const {
        const double v = values[i];
        if (IsNoise(v, largest))
            return;
        const Point2 at = scene.input.beams.PointAt(rec, beam.xi[i]);
        const LabelRank ranked(scene.list, rank);
        OrdinateLabel(scene.list, scene.textScale, scene.sceneSize, 0.0, DiagramColour(v),
                      scene.ToScene(at, scale * v), scene.ToScene(at, 0.0),
                      scene.ToScene(scene.input.beams.PointAt(rec, beam.xi[i] + 0.1), scale * v), v,
                      true, false);
    }
};

} // namespace

ValueRange DrawEnvelope(const SceneContext& scene, const EnvelopeDiagram& envelope, int function) {
    ValueRange range;
    if (function < 0 || function > 3)
        return range;
    const bool deflection = function == 0;
    const double largest = LargestOf(envelope);
    double scale = 0.0;
    if (deflection)
        scale =
            ScaleFor(scene.displacementScale * SettingFactor(ResDeflectionScale) * scene.sceneSize,
                     largest == 0.0 ? 1.0 : largest);
    else if (largest > kFlatFunction && std::isfinite(largest))
        scale = scene.functionScale * SettingFactor(ResFunctionScale) * scene.sceneSize / largest;
    const double width =
        deflection ? scene.Size(ResDeflectionLineWidth) : SettingFactor(ResFunctionLineWidth);
    ArrangementTexts texts(envelope);
    for (const EnvelopeDiagram::Beam& beam : envelope.beams) {
        const BeamRec* rec = scene.input.beams.Existing(beam.beam);
        if (!rec || beam.xi.size() != beam.max.size() || beam.xi.size() != beam.min.size())
            continue;
        const EnvelopeLine line{scene, *rec, beam, deflection, scale, largest, width, texts};
        line.Draw(beam.max, beam.maxArrangement, true, range);
        line.Draw(beam.min, beam.minArrangement, false, range);
    }
    return range;
}

EnvelopeDiagram EnvelopeOfTab(const EnvelopeResults& r, int tab) {
    const size_t quantity = static_cast<size_t>(TabFunction(tab));
    EnvelopeDiagram diagram;
    diagram.arrangements = r.arrangements;
    for (const EnvelopeLayout::Beam& beam : r.layout.beams) {
        EnvelopeDiagram::Beam line{beam.beam, {}, {}, {}};
        for (long m = 0; m <= beam.n; ++m) {
            const size_t at = (beam.first + static_cast<size_t>(m)) * kBeamQuantities + quantity;
            line.xi.push_back(EvaluationPoint(m, beam.n));
            line.max.push_back(r.max[at].value);
            line.min.push_back(r.min[at].value);
            line.maxArrangement.push_back(r.max[at].arrangement);
            line.minArrangement.push_back(r.min[at].arrangement);
        }
        diagram.beams.push_back(std::move(line));
    }
    return diagram;
}
