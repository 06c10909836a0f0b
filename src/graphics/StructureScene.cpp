#include "graphics/StructureScene.h"

#include "graphics/SymbolShapes.h"
#include "graphics/Symbols.h"
#include "model/Format.h"

#include <cmath>
#include <map>
#include <numbers>
#include <utility>

namespace {

constexpr double kPi = std::numbers::pi;
constexpr Colour kWhite = Rgb(255, 255, 255);

// The fibre line of a beam: fixed fractions of SceneSize, not settings.
constexpr double kFibreOffset = 0.008;
constexpr double kFibreWidth = 0.002;
constexpr Colour kFibreColour = Rgb(128, 128, 128);

// Margins of hinge symbols from the beam ends, in symbol sizes: the standard
// one, and the one of a torsion bar that lies along the beam.
constexpr double kHingeMargin = 0.5;
constexpr double kTorsionBarMargin = 2.8;

unsigned TypeBit(int type) {
    return 1u << type;
}

// The hinge types at each place (beam number, position) of the hinge table,
// so that a hinge finds the others at its place without a search per hinge.
// Positions compare exactly, as FindHinge compares them.
class HingeTypesAtPlace {
public:
    explicit HingeTypesAtPlace(HingesClass& hinges) {
        ForEachValid(hinges, [&](const HingeRec& hinge) {
            if (hinge.type >= kHingeShear && hinge.type <= kHingeTorsion &&
                std::isfinite(hinge.pos))
                types_[{hinge.beam, hinge.pos}] |= TypeBit(hinge.type);
        });
    }
    bool Has(const HingeRec& hinge, int type) const {
        const auto found = types_.find({hinge.beam, hinge.pos});
        return found != types_.end() && (found->second & TypeBit(type));
    }

private:
    std::map<std::pair<int, double>, unsigned> types_;
};

// The symbol of one hinge at its place on the beam.
struct HingeSymbol {
    const SceneContext& scene;
    BeamClass& beams;
    const BeamRec& beam;
    double size;
    double width;
    Colour colour;
    double angle; // of the beam

    Vec3 Place(double xi) const { return At(beams.PointAt(beam, xi)); }

    // A ring filled white; its outline unless told otherwise.
    void Ring(Vec3 p, bool outline) const {
        const Vec2 at = scene.ToScene(p);
        HingeCircle.FillShape(scene.list, size, width, 0.0, kWhite, kWhite, at);
        if (outline)
            HingeCircle.DrawShape(scene.list, size, width, colour, 0.0, at, 0);
    }
    // A 3-D shape turned about z, filled white and outlined, or outlined only.
    void Shape(const Entity3Class& shape, Vec3 p, double turn, bool filled) const {
        const Vec3 axis{0.0, 0.0, turn};
        if (filled)
            shape.FillShape3D(scene.list, size, width, axis, scene.view, kWhite, kWhite, p);
        shape.DrawShape3D(scene.list, size, width, axis, scene.view, colour, p);
    }
};

void DrawHinge(const SceneContext& scene, const HingeTypesAtPlace& others, const HingeRec& hinge,
               const BeamRec& beam) {
    BeamClass& beams = scene.input.beams;
    const double length = beams.BeamLength(beam);
    const HingeSymbol symbol{scene,
                             beams,
                             beam,
                             scene.Size(GeoHingeSize),
                             scene.Size(GeoHingeLineWidth),
                             GeoHingeColour,
                             beams.BeamAngle(beam)};
    const auto place = HingeSymbolPlace(hinge.pos, kHingeMargin, symbol.size, length);
    if (!place)
        return;
    const Vec3 p = symbol.Place(place->xi);
    const bool bending = others.Has(hinge, kHingeBending);
    const bool torsion = others.Has(hinge, kHingeTorsion);
    const bool shear = others.Has(hinge, kHingeShear);

    switch (hinge.type) {
    case kHingeBending:
    case kHingeTorsion:
        if (bending && torsion) {
            symbol.Ring(p, !shear);
        } else if (hinge.type == kHingeBending) {
            symbol.Shape(HingeBar3D, p, symbol.angle, true);
        } else if (const auto along =
                       HingeSymbolPlace(hinge.pos, kTorsionBarMargin, symbol.size, length)) {
            symbol.Shape(HingeBar3D, symbol.Place(along->xi), symbol.angle + kPi / 2, true);
        }
        break;
    case kHingeShear:
        if (!(bending && torsion))
            symbol.Shape(ShearHinge3D, p, symbol.angle, !bending && !torsion);
        break;
    default:
        break; // no release that a symbol could show
    }

    if (scene.Shows(ShowHingeNumbers))
        scene.list.DrawText(scene.textScale, scene.ToScene(p), 0.0,
                            scene.Size(GeoHingeTextDistance), scene.Size(GeoHingeTextSize),
                            GeoHingeColour, Format("%d", NumberOf(scene.input.hinges, hinge)),
                            kTextRight | kTextAbove);
}

} // namespace

void DrawAxisCross(const SceneContext& scene) {
    const ArrowStyle style =
        ArrowStyle::Scaled(scene.sceneSize, scene.textScale, GeoAxesArrowheadSize, GeoAxesLineWidth,
                           GeoAxesTextSize, GeoAxesColour, kArrowFromPoint | kArrowLabel);
    const double length = scene.Size(GeoAxesSize);
    const Vec3 origin;
    ForceArrow(scene.list, scene.view, style, origin, {1, 0, 0}, length, 1.0, "x");
    ForceArrow(scene.list, scene.view, style, origin, {0, 1, 0}, length, 1.0, "y");
    ForceArrow(scene.list, scene.view, style, origin, {0, 0, 1}, length, 1.0, "z");
}

void DrawBeams(const SceneContext& scene) {
    BeamClass& beams = scene.input.beams;
    PaintContainer& list = scene.list;
    const double S = scene.sceneSize;
    ForEachValid(beams, [&](const BeamRec& beam) {
        if (!beams.BeamDefined(beam))
            return;
        list.SetPen(GeoBeamColour, scene.Size(GeoBeamLineWidth));
        list.AddLine(scene.ToScene(beams.PointAt(beam, 1.0), 0.0),
                     scene.ToScene(beams.PointAt(beam, 0.0), 0.0));
        if (scene.Shows(ShowBeamNumbers)) {
            StyledLine(list, scene.ToScene(beams.PointAt(beam, 0.1), kFibreOffset * S),
                       scene.ToScene(beams.PointAt(beam, 0.9), kFibreOffset * S), kFibreWidth * S,
                       kFibreColour, kLineDashed);
            list.DrawText(scene.textScale, scene.ToScene(beams.PointAt(beam, 0.5), 0.0), 0.0,
                          scene.Size(GeoBeamTextDistance), scene.Size(GeoBeamTextSize),
                          GeoBeamTextColour, Format("S%d", NumberOf(beams, beam)),
                          kTextCentre | kTextAbove);
        }
        if (scene.Shows(ShowMaterialNumbers) && scene.input.mats.Existing(beam.section))
            list.DrawText(scene.textScale, scene.ToScene(beams.PointAt(beam, 0.7), 0.0), 0.0, 0.0,
                          scene.Size(GeoMaterialTextSize), GeoMaterialTextColour,
                          Format("M%d", beam.section), kTextCentre);
    });
}

void DrawHinges(const SceneContext& scene) {
    HingesClass& hinges = scene.input.hinges;
    const HingeTypesAtPlace place(hinges);
    ForEachValid(hinges, [&](const HingeRec& hinge) {
        if (hinges.HingeOnValidBeam(hinge))
            DrawHinge(scene, place, hinge, *scene.input.beams.Existing(hinge.beam));
    });
}

void DrawSupports(const SceneContext& scene) {
    const ArrowStyle style =
        ArrowStyle::Scaled(scene.sceneSize, scene.textScale, GeoSupportArrowheadSize,
                           GeoSupportLineWidth, LoadNodeTextSize, GeoSupportColour, 0);
    const double length = scene.Size(GeoSupportSize);
    ForEachValid(scene.input.nodes, [&](const NodeRec& node) {
        const Vec3 p{node.x, node.y, 0.0};
        if (node.fixZ)
            ForceArrow(scene.list, scene.view, style, p, {0, 0, -1}, length, 1.0);
        const double skew = node.skew * kPi / 180.0;
        if (!std::isfinite(skew))
            return; // no axis to draw the rotations about
        if (node.fixRx)
            MomentArrow(scene.list, scene.view, style, p, length, 1.0, skew);
        if (node.fixRy)
            MomentArrow(scene.list, scene.view, style, p, length, 1.0, skew + kPi / 2);
    });
}

void DrawSprings(const SceneContext& scene) {
    InputModel& input = scene.input;
    if (input.springs.ValidCount() == 0)
        return;
    // The stiffnesses of each node summed over the records whose range names it.
    struct Stiffness {
        double kz = 0.0, kRx = 0.0, kRy = 0.0;
    };
    std::map<int, Stiffness> byNode;
    ForEachValid(input.springs, [&](const SpringRec& spring) {
        ForEachInRange(input.nodes, spring.from, spring.to, [&](int number, const NodeRec&) {
            Stiffness& sum = byNode[number];
            sum.kz += spring.kz;
            sum.kRx += spring.kRx;
            sum.kRy += spring.kRy;
        });
    });
    const double size = scene.Size(GeoSpringSize);
    const double width = scene.Size(GeoSpringLineWidth);
    for (const auto& [number, k] : byNode) {
        const NodeRec& node = *input.nodes.Existing(number);
        const Vec3 p{node.x, node.y, 0.0};
        if (k.kz > 0)
            ZigzagSpring(scene.list, scene.view, p, size, width, GeoSpringColour);
        const double skew = node.skew * kPi / 180.0;
        if (!std::isfinite(skew))
            continue; // no axis to draw the rotations about
        if (k.kRx > 0)
            CoilSpring(scene.list, scene.view, p, size, width, GeoSpringColour, skew);
        if (k.kRy > 0)
            CoilSpring(scene.list, scene.view, p, size, width, GeoSpringColour, skew + kPi / 2);
    }
}

void DrawNodes(const SceneContext& scene) {
    const double size = scene.Size(GeoNodeSize);
    const double width = scene.Size(GeoNodeLineWidth);
    ForEachValid(scene.input.nodes, [&](const NodeRec& node) {
        const Vec2 at = scene.ToScene({node.x, node.y, 0.0});
        NodeSquare.DrawShape(scene.list, size, width, GeoNodeColour, 0.0, at, 0);
        if (scene.Shows(ShowNodeNumbers))
            scene.list.DrawText(scene.textScale, at, 0.0, scene.Size(GeoNodeTextDistance),
                                scene.Size(GeoNodeTextSize), GeoNodeColour,
                                Format("%d", NumberOf(scene.input.nodes, node)),
                                kTextRight | kTextAbove);
    });
}

void DrawStructure(const SceneContext& scene) {
    DrawBeams(scene);
    DrawHinges(scene);
    if (scene.Shows(ShowSupports)) {
        scene.list.SetLayer(kLayerSupports);
        DrawSupports(scene);
        DrawSprings(scene);
        scene.list.SetLayer(kLayerStructure);
    }
    DrawNodes(scene);
}
