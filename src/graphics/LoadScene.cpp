#include "graphics/LoadScene.h"

#include "analysis/SolElement.h"
#include "analysis/SolutionsCont.h"
#include "graphics/Symbols.h"
#include "model/Format.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <tuple>

namespace {

constexpr double kPi = std::numbers::pi;
constexpr Colour kRed = Rgb(255, 0, 0);
constexpr Colour kBlue = Rgb(0, 0, 255);
constexpr Vec3 kDown{0.0, 0.0, 1.0}; // +z: the direction of positive loads

// The moment heads of a torsion load diagram: length factor, fraction of
// SceneSize.
constexpr double kDiagramHeadLength = 0.02;

// Margins of the hinge-load symbols from their hinge, in hinge symbol sizes,
// by hinge type (shear, bending, torsion): beside the hinge symbol.
constexpr double kHingeLoadMargin[] = {0.5, 0.6, 2.8};

// A value that draws something: not 0 and a finite number.
bool Drawable(double value) {
    return value != 0.0 && std::isfinite(value);
}

unsigned LabelFlag(const SceneContext& scene) {
    return scene.Shows(ShowValues) ? kArrowLabel : 0u;
}

// Node loads, constrained displacements and hinge loads share one style.
ArrowStyle LoadArrowStyle(const SceneContext& scene, Colour colour, unsigned flags) {
    return ArrowStyle::Scaled(scene.sceneSize, scene.textScale, LoadNodeArrowheadSize,
                              LoadNodeLineWidth, LoadNodeTextSize, colour, flags);
}

ArrowStyle WithFlags(ArrowStyle style, unsigned flags) {
    style.flags = flags;
    return style;
}

// Force along z and moments about x and y at a node: node loads and
// constrained displacements.
void NodeArrows(const SceneContext& scene, const ArrowStyle& style, const NodeRec& node,
                double force, double momentX, double momentY, double forceScale,
                double momentScale) {
    const Vec3 p{node.x, node.y, 0.0};
    if (Drawable(force))
        ForceArrow(scene.list, scene.view, style, p, kDown, forceScale, force);
    if (Drawable(momentX))
        MomentArrow(scene.list, scene.view, style, p, momentScale, momentX, 0.0);
    if (Drawable(momentY))
        MomentArrow(scene.list, scene.view, style, p, momentScale, momentY, kPi / 2);
}

// The runs of equal uniform loads on beams that share a node, each labelled
// once, on the beam nearest to the run's middle.
void LabelLoadRuns(const SceneContext& scene, const std::vector<UniformLoadLabel>& labels) {
    std::vector<size_t> parent(labels.size());
    for (size_t i = 0; i < parent.size(); ++i)
        parent[i] = i;
    const auto root = [&](size_t i) {
        while (parent[i] != i)
            i = parent[i] = parent[parent[i]];
        return i;
    };
    // Joined through the nodes: the first label of each kind, value and node.
    std::map<std::tuple<int, double, int>, size_t> byNode;
    for (size_t i = 0; i < labels.size(); ++i)
        for (const int node : {labels[i].startNode, labels[i].endNode}) {
            const auto [found, added] =
                byNode.try_emplace({labels[i].component, labels[i].value, node}, i);
            if (!added)
                parent[root(i)] = root(found->second);
        }
    std::map<size_t, std::vector<size_t>> runs;
    for (size_t i = 0; i < labels.size(); ++i)
        runs[root(i)].push_back(i);
    for (const auto& [first, members] : runs) {
        Vec2 middle{0.0, 0.0};
        for (size_t i : members)
            middle = middle + labels[i].base * (1.0 / static_cast<double>(members.size()));
        const size_t nearest =
            *std::min_element(members.begin(), members.end(), [&](size_t a, size_t b) {
                return Length(labels[a].base - middle) < Length(labels[b].base - middle);
            });
        const UniformLoadLabel& label = labels[nearest];
        OrdinateLabel(scene.list, scene.textScale, scene.sceneSize, 0.0, label.colour, label.base,
                      label.tip, label.reference, label.value, true, true);
    }
}

void DrawDistributedLoads(const SceneContext& scene, const LoadScales& scales) {
    BeamClass& beams = scene.input.beams;
    const unsigned labels = scene.Shows(ShowValues) ? kLoadDiagramLabels : 0u;
    std::vector<UniformLoadLabel> runs;
    ForEachValid(scene.input.beamLoads, [&](const BeamLoadRec& load) {
        const BeamLoadStruct values(load);
        ForEachInRange(beams, load.from, load.to, [&](int, const BeamRec& beam) {
            if (!beams.BeamDefined(beam))
                return;
            if (load.qStart != 0.0 || load.qEnd != 0.0)
                LoadDiagram(scene, beam, values, 0, scales.force, LoadDistributedColour,
                            scene.Size(LoadDistributedLineWidth), labels, &runs);
            // The torsion part's pen is the setting itself, not a fraction of
            // SceneSize, as the program has always drawn it.
            if (load.mtStart != 0.0 || load.mtEnd != 0.0)
                LoadDiagram(scene, beam, values, 1, scales.force, LoadDistributedColour,
                            SettingFactor(LoadDistributedLineWidth), labels | kLoadDiagramMoment,
                            &runs);
        });
    });
    LabelLoadRuns(scene, runs);
}

void DrawNodeLoads(const SceneContext& scene, const LoadScales& scales) {
    const ArrowStyle style =
        LoadArrowStyle(scene, LoadNodeColour, kArrowAbsolute | LabelFlag(scene));
    ForEachValid(scene.input.nodeLoads, [&](const NodeLoadRec& load) {
        ForEachInRange(scene.input.nodes, load.from, load.to, [&](int, const NodeRec& node) {
            NodeArrows(scene, style, node, load.Fz, load.Mx, load.My, scales.force, scales.moment);
        });
    });
}

// A point load needs a defined beam and a position that is a number; the
// position is limited to the beam (a file may hold any).
void DrawPointLoads(const SceneContext& scene, const LoadScales& scales) {
    BeamClass& beams = scene.input.beams;
    const ArrowStyle style = ArrowStyle::Scaled(
        scene.sceneSize, scene.textScale, LoadPointArrowheadSize, LoadPointLineWidth,
        LoadNodeTextSize, LoadPointColour, kArrowAbsolute | LabelFlag(scene));
    ForEachValid(scene.input.pointLoads, [&](const PointLoadRec& load) {
        const BeamRec* beam = beams.Existing(load.beam);
        if (!beam || !beams.BeamDefined(*beam) || !std::isfinite(load.pos))
            return;
        const Vec3 p = At(beams.PointAt(*beam, std::clamp(load.pos, 0.0, 1.0)));
        const double angle = beams.BeamAngle(*beam);
        if (Drawable(load.Q))
            ForceArrow(scene.list, scene.view, style, p, kDown, scales.force, load.Q);
        if (Drawable(load.Mb))
            MomentArrow(scene.list, scene.view, style, p, scales.moment, load.Mb, angle + kPi / 2);
        if (Drawable(load.Mt))
            MomentArrow(scene.list, scene.view, style, p, scales.moment, load.Mt, angle);
    });
}

// The symbols of one hinge load, one on each side of the hinge symbol: +v on
// side A and −v on side B. flags are the style's flags for this row.
void HingeLoadSymbols(const SceneContext& scene, const ArrowStyle& style, const HingeRec& hinge,
                      int kind, double value, double forceScale, double momentScale) {
    BeamClass& beams = scene.input.beams;
    const BeamRec& beam = *beams.Existing(hinge.beam);
    const auto place = HingeSymbolPlace(hinge.pos, kHingeLoadMargin[hinge.type],
                                        scene.Size(GeoHingeSize), beams.BeamLength(beam));
    if (!place)
        return;
    const Vec3 a = At(beams.PointAt(beam, place->xi - place->margin));
    const Vec3 c = At(beams.PointAt(beam, place->xi + place->margin));
    const double angle = beams.BeamAngle(beam);
    PaintContainer& list = scene.list;
    const ViewMatrix& view = scene.view;

    if (hinge.type == kHingeShear) {
        double valueA = value, valueC = -value;
        if (kind == kHingeLoadDeformation && scene.results) {
            // With results: the computed deflections of the two sides.
            const SolutionsCont& results = *scene.results;
            if (!(hinge.sideA >= 0 && hinge.sideA < results.nodes.Count() && hinge.sideB >= 0 &&
                  hinge.sideB < results.nodes.Count()))
                return;
            valueA = results.NodeValue(hinge.sideA, kWz);
            valueC = results.NodeValue(hinge.sideB, kWz);
        } else if (kind == kHingeLoadDeformation) {
            valueA = value / 2, valueC = -value / 2; // half the jump on each side
        }
        ForceArrow(list, view, style, a, kDown, forceScale, valueA);
        ForceArrow(list, view, style, c, kDown, forceScale, valueC);
    } else if (hinge.type == kHingeBending) {
        MomentArrow(list, view, style, a, momentScale, value, angle + kPi / 2);
        MomentArrow(list, view, WithFlags(style, style.flags & ~kArrowLabel), c, momentScale,
                    -value, angle + kPi / 2);
    } else {
        const unsigned away = value < 0 ? kArrowFromPoint : 0u;
        const ArrowStyle torsion = WithFlags(style, (style.flags & ~kArrowFromPoint) | away);
        MomentArrow(list, view, torsion, a, momentScale, value, angle);
        MomentArrow(list, view, torsion, c, momentScale, -value, angle);
    }
}

// Hinge loads of one kind. The direction flag starts afresh for every row:
// set for deformations, clear for loads, and turned round by a negative value.
void DrawHingeLoads(const SceneContext& scene, int kind, double forceScale, double momentScale,
                    const ArrowStyle& style) {
    HingesClass& hinges = scene.input.hinges;
    ForEachValid(scene.input.hingeLoads, [&](const HingeLoadRec& load) {
        const HingeRec* hinge = hinges.Existing(load.hinge);
        if (load.kind != kind || !hinge || !hinges.HingeOnValidBeam(*hinge) ||
            !Drawable(load.value) || hinge->type < kHingeShear || hinge->type > kHingeTorsion)
            return;
        const unsigned start = kind == kHingeLoadDeformation ? kArrowFromPoint : 0u;
        const unsigned direction = load.value < 0 ? start ^ kArrowFromPoint : start;
        HingeLoadSymbols(scene, WithFlags(style, (style.flags & ~kArrowFromPoint) | direction),
                         *hinge, kind, load.value, forceScale, momentScale);
    });
}

} // namespace

LoadScales ForceAndMomentScales(const SceneContext& scene) {
    InputModel& input = scene.input;
    LoadScales scales;
    scales.maxForce = std::max({input.beamLoads.MaxAbsLineLoad(), input.nodeLoads.MaxAbsFz(),
                                input.pointLoads.MaxAbsQ(),
                                input.hingeLoads.MaxAbsHingeLoad(kHingeLoadForce, kHingeShear)});
    scales.maxMoment =
        std::max({input.nodeLoads.MaxAbsNodeMoment(), input.pointLoads.MaxAbsPointMoment(),
                  input.hingeLoads.MaxAbsHingeLoad(kHingeLoadForce, kHingeBending),
                  input.hingeLoads.MaxAbsHingeLoad(kHingeLoadForce, kHingeTorsion)});
    const double length = scene.functionScale * SettingFactor(GeoBeamLoadScale) * scene.sceneSize;
    if (scales.maxForce != 0.0)
        scales.force = ScaleFor(length, scales.maxForce);
    if (scales.maxMoment != 0.0)
        scales.moment = ScaleFor(length, scales.maxMoment);
    return scales;
}

DisplacementScales ImposedDisplacementScales(const SceneContext& scene) {
    InputModel& input = scene.input;
    double maxDeflection =
        scene.results
            ? scene.MaxDeflection()
            : std::max(input.zwv.MaxAbsW(),
                       0.5 * input.hingeLoads.MaxAbsHingeLoad(kHingeLoadDeformation, kHingeShear));
    double maxRotation =
        std::max({input.hingeLoads.MaxAbsHingeLoad(kHingeLoadDeformation, kHingeBending),
                  input.hingeLoads.MaxAbsHingeLoad(kHingeLoadDeformation, kHingeTorsion),
                  input.zwv.MaxAbsRotation()});
    if (maxDeflection == 0.0)
        maxDeflection = 1.0;
    if (maxRotation == 0.0)
        maxRotation = 1.0;
    const double length =
        scene.displacementScale * SettingFactor(ResDeflectionScale) * scene.sceneSize;
    return {ScaleFor(length, maxDeflection), ScaleFor(length, maxRotation)};
}

void LoadDiagram(const SceneContext& scene, const BeamRec& beam, const PlotValueClass& values,
                 int component, double scale, Colour colour, double width, unsigned flags,
                 std::vector<UniformLoadLabel>* runs) {
    BeamClass& beams = scene.input.beams;
    PaintContainer& list = scene.list;
    const double startValue = values.Value(0.0, component);
    const double endValue = values.Value(1.0, component);
    const double largest = std::max(std::fabs(startValue), std::fabs(endValue));
    if (!std::isfinite(largest))
        return;
    const double tolerance = largest * 1e-5;
    double offset = scene.Size(LoadDistance);
    if (values.Value(0.5, component) < 0)
        offset = -offset; // the side of the value at mid-span
    list.SetPen(colour, width);

    // Stations about half the largest ordinate apart, none for an ordinate of
    // 0; at least one inner station (one arrow), and no more than fit on the
    // beam's picture kLoadArrowSpacing head sizes apart.
    const double height = std::fabs(largest * scale);
    const Point2 start = beams.PointAt(beam, 0.0), end = beams.PointAt(beam, 1.0);
    const double stations = std::trunc(2 * std::hypot(end.x - start.x, end.y - start.y) / height);
    if (!(height > 0) || !(stations >= 0))
        return;
    const double headSize = scene.Size(ResFunctionArrowheadSize);
    const double onScreen = Length(scene.ToScene(end, 0.0) - scene.ToScene(start, 0.0));
    const double fitting = std::trunc(onScreen / (kLoadArrowSpacing * headSize));
    const int n = static_cast<int>(std::clamp(
        std::min(stations, std::isfinite(fitting) ? fitting : 2.0), 2.0, double(kMaxLoadStations)));
    const bool uniform = runs && (flags & kLoadDiagramLabels) && startValue == endValue &&
                         values.Value(0.5, component) == startValue;
    if (uniform) {
        const Point2 middle = beams.PointAt(beam, 0.5);
        runs->push_back({component, startValue, beam.start, beam.end, colour,
                         scene.ToScene(middle, -offset),
                         scene.ToScene(middle, -offset - scale * startValue),
                         scene.ToScene(beams.PointAt(beam, 0.4), -offset)});
    }

    const double angle = beams.BeamAngle(beam);
    const ArrowStyle heads{scene.textScale, headSize, scene.sceneSize * width, 0.0, colour, 0};
    for (int i = 0; i <= n; ++i) {
        const double xi = static_cast<double>(i) / n;
        const double v = values.Value(xi, component);
        const Point2 at = beams.PointAt(beam, xi);
        const Vec2 base = scene.ToScene(at, -offset);
        const Vec2 tip = scene.ToScene(at, -offset - scale * v);
        if (i == 0) {
            list.MoveTo(1, base);
            list.MoveTo(2, tip);
        } else {
            list.LineTo(1, base);
            list.LineTo(2, tip);
        }
        if (i == 0 || i == n) {
            list.AddLine(base, tip);
            if ((flags & kLoadDiagramLabels) && !uniform)
                OrdinateLabel(list, scene.textScale, scene.sceneSize, tolerance, colour, base, tip,
                              scene.ToScene(beams.PointAt(beam, xi - 0.1), -offset), v, i == 0,
                              true);
        } else if (!(flags & kLoadDiagramMoment)) {
            Arrow2D(list, tip, base, headSize, width, colour, kArrowHideShortHead);
        } else {
            list.AddLine(tip, base);
            MomentArrow(list, scene.view, heads, At(at, -offset),
                        kDiagramHeadLength * scene.sceneSize, 0.0, angle + (v > 0 ? 0.0 : kPi));
        }
    }
}

void DrawLoads(const SceneContext& scene) {
    const LoadScales scales = ForceAndMomentScales(scene);
    if (!scales.Any())
        return;
    DrawDistributedLoads(scene, scales);
    DrawNodeLoads(scene, scales);
    DrawPointLoads(scene, scales);
    DrawHingeLoads(scene, kHingeLoadForce, scales.force, scales.moment,
                   LoadArrowStyle(scene, LoadNodeColour, kArrowAbsolute | LabelFlag(scene)));
}

void DrawConstrainedDisplacements(const SceneContext& scene) {
    const DisplacementScales scales = ImposedDisplacementScales(scene);
    const ArrowStyle style =
        LoadArrowStyle(scene, LoadZwvColour, kArrowFromPoint | kArrowAbsolute | LabelFlag(scene));
    ForEachValid(scene.input.zwv, [&](const ZwvRec& imposed) {
        ForEachInRange(scene.input.nodes, imposed.from, imposed.to, [&](int, const NodeRec& node) {
            NodeArrows(scene, style, node, imposed.w, imposed.rx, imposed.ry, scales.deflection,
                       scales.rotation);
        });
    });
    DrawHingeLoads(scene, kHingeLoadDeformation, scales.deflection, scales.rotation, style);
}

void DrawTemperatureLoads(const SceneContext& scene) {
    BeamClass& beams = scene.input.beams;
    const double distance = scene.Size(LoadTempDistance);
    const double width = scene.Size(LoadTempLineWidth);
    ForEachValid(scene.input.tempLoads, [&](const TempLoadRec& load) {
        if (!Drawable(load.dT))
            return;
        const Colour bottom = load.dT >= 0 ? kRed : kBlue; // Tu − To: the warmer side is red
        const Colour top = load.dT >= 0 ? kBlue : kRed;
        ForEachInRange(beams, load.from, load.to, [&](int, const BeamRec& beam) {
            if (!beams.BeamDefined(beam))
                return;
            const Point2 from = beams.PointAt(beam, 0.1), to = beams.PointAt(beam, 0.9);
            StyledLine(scene.list, scene.ToScene(from, distance), scene.ToScene(to, distance),
                       width, bottom, kLineSolid);
            StyledLine(scene.list, scene.ToScene(from, -distance), scene.ToScene(to, -distance),
                       width, top, kLineSolid);
            if (scene.Shows(ShowValues))
                scene.list.DrawText(
                    scene.textScale, scene.ToScene(beams.PointAt(beam, 0.5), distance), 0.0,
                    scene.Size(LoadTempTextDistance), scene.Size(LoadTempTextSize),
                    SettingColour(LoadTempColour), Format("%#.4lg", load.dT), kTextCentre);
        });
    });
}

void DrawLoadCase(const SceneContext& scene) {
    DrawLoads(scene);
    DrawConstrainedDisplacements(scene);
    DrawTemperatureLoads(scene);
}
