#include "graphics/Symbols.h"

#include "graphics/SymbolShapes.h"
#include "model/Format.h"

#include <algorithm>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

// Writes an arrow's label: the given text, or "%.3g" of the value.
void ArrowLabel(PaintContainer& list, const ArrowStyle& style, Vec2 anchor, double value,
                std::string_view text, unsigned placement) {
    if (!(style.flags & kArrowLabel))
        return;
    const std::string label =
        text.empty() ? Format("%.3g", (style.flags & kArrowAbsolute) ? std::fabs(value) : value)
                     : std::string(text);
    list.DrawText(style.textSize, anchor, 0.0, 0.2 * style.textHeight, style.textHeight,
                  style.colour, label, placement);
}

// Vertical label placement: above when the anchor lies above P on the screen.
unsigned VerticalPlacement(Vec2 anchor, Vec2 p) {
    return anchor.y < p.y ? kTextAbove : kTextBelow;
}

} // namespace

void StyledLine(PaintContainer& list, Vec2 p1, Vec2 p2, double width, Colour colour, int style) {
    list.SetPen(colour, width);
    const EntityClass* pattern = style == kLineDashed    ? &DashPattern
                                 : style == kLineDashDot ? &DashDotPattern
                                                         : nullptr;
    if (!pattern) {
        list.AddLine(p1, p2);
        return;
    }
    const Vec2 d = p2 - p1;
    const double length = Length(d);
    if (!(length > 0))
        return;
    const double step = pattern->ReferenceSize() * width;
    if (!(step > 0) || length / step > kMaxDashes) {
        list.AddLine(p1, p2);
        return;
    }
    const double angle = PolarAngle(d);
    const Vec2 v = d * (step / length);
    const unsigned dashes = 5; // segments 0 and 2: the dash pattern's only segment, or dash and dot
    for (Vec2 c = p1; Length(c - p1) < length; c = c + v)
        pattern->DrawShape(list, step, width, colour, angle, c, dashes);
}

void Arrow2D(PaintContainer& list, Vec2 p1, Vec2 p2, double headSize, double width, Colour colour,
             unsigned flags) {
    StyledLine(list, p1, p2, width, colour, kLineSolid);
    if ((flags & kArrowHideShortHead) && Length(p2 - p1) < headSize)
        return;
    ArrowHead.DrawShape(list, headSize, width, colour, PolarAngle(p2 - p1), p2, 0);
}

void Arrow3D(PaintContainer& list, const ViewMatrix& view, Vec3 a, Vec3 b, Vec3 headAxis,
             double headSize, double width, Colour colour, unsigned flags) {
    const Vec2 from = Project(view, a);
    const Vec2 to = Project(view, b);
    StyledLine(list, from, to, width, colour, kLineSolid);
    if ((flags & kArrowHideShortHead) && Length(to - from) < headSize)
        return;
    ArrowHead3D.DrawShape3D(list, headSize, width, headAxis, view, colour, b);
}

Vec3 ForceHeadAxis(Vec3 u) {
    const Vec3 z{0.0, 0.0, 1.0};
    Vec3 k = Cross(z, u);
    const double theta = std::asin(std::min(Length(k), 1.0));
    k = k * theta;
    if (Length(k) < 1e-5 && Dot(z, u) < 1e-4)
        k = {kPi, 0.0, 0.0};
    return k;
}

void ForceArrow(PaintContainer& list, const ViewMatrix& view, const ArrowStyle& style, Vec3 p,
                Vec3 direction, double lengthFactor, double value, std::string_view text) {
    Vec3 u = direction * value;
    const double length = Length(u);
    if (length != 0)
        u = u * (1.0 / length);
    const Vec3 headAxis = ForceHeadAxis(u);

    const Vec3 offset = direction * (lengthFactor * value);
    const bool fromPoint = style.flags & kArrowFromPoint;
    const Vec3 a = fromPoint ? p : p - offset;
    const Vec3 b = fromPoint ? p + offset : p;
    const Vec2 anchor = Project(view, fromPoint ? b : a);
    const Vec2 at = Project(view, p);
    const unsigned placement =
        (anchor.x < at.x ? kTextLeft : kTextRight) | VerticalPlacement(anchor, at);

    Arrow3D(list, view, a, b, headAxis, style.headSize, style.width, style.colour, style.flags);
    ArrowLabel(list, style, anchor, value, text, placement);
}

void MomentArrow(PaintContainer& list, const ViewMatrix& view, const ArrowStyle& style, Vec3 p,
                 double lengthFactor, double value, double phi) {
    Vec3 headAxis{-std::sin(phi) * kPi / 2, std::cos(phi) * kPi / 2, 0.0};
    if (value < 0)
        headAxis = {-headAxis.x, -headAxis.y, 0.0};

    const Vec3 offset = Vec3{std::cos(phi), std::sin(phi), 0.0} * (lengthFactor * value);
    const bool fromPoint = style.flags & kArrowFromPoint;
    const Vec3 a = fromPoint ? p : p - offset;
    const Vec3 b = fromPoint ? p + offset : p;
    const Vec2 tail = Project(view, a);
    const Vec2 tip = Project(view, b);
    const Vec2 anchor = fromPoint ? Project(view, p) : tail;
    const unsigned placement =
        (tip.x > tail.x ? kTextLeft : kTextRight) | VerticalPlacement(anchor, Project(view, p));

    Vec3 d = b - a;
    const double length = Length(d);
    if (length != 0)
        d = d * (style.headSize / length);
    const Vec3 c = b - d;

    StyledLine(list, tail, tip, style.width, style.colour, kLineSolid);
    ArrowHead3D.DrawShape3D(list, style.headSize, style.width, headAxis, view, style.colour, b);
    ArrowHead3D.DrawShape3D(list, style.headSize, style.width, headAxis, view, style.colour, c);
    ArrowLabel(list, style, anchor, value, {}, placement);
}

namespace {

// The horizontal unit vector across the line of sight (row 2 of the view is
// the viewing direction); x when the view looks straight along z.
Vec3 AcrossSight(const ViewMatrix& view) {
    const Vec3 across{view.R(2, 1), -view.R(2, 0), 0.0};
    const double length = Length(across);
    return length > 1e-9 ? across * (1.0 / length) : Vec3{1.0, 0.0, 0.0};
}

// The projected polyline through the model points.
template <size_t N>
void Polyline(PaintContainer& list, const ViewMatrix& view, const Vec3 (&p)[N]) {
    for (size_t i = 1; i < N; ++i)
        list.AddLine(Project(view, p[i - 1]), Project(view, p[i]));
}

constexpr int kZigzagTeeth = 6;
constexpr int kCoilPoints = 60; // 24° per point over 2.5 turns
constexpr double kCoilTurns = 2.5;

} // namespace

void ZigzagSpring(PaintContainer& list, const ViewMatrix& view, Vec3 p, double size, double width,
                  Colour colour) {
    list.SetPen(colour, width);
    const Vec3 down{0.0, 0.0, size};
    const Vec3 across = AcrossSight(view) * (0.15 * size);
    // Leads of a fifth of the length at both ends, the teeth between them.
    Vec3 points[kZigzagTeeth + 3];
    points[0] = p;
    for (int i = 0; i <= kZigzagTeeth; ++i) {
        const double along = 0.2 + 0.6 * i / kZigzagTeeth;
        const double side = i == 0 || i == kZigzagTeeth ? 0.0 : (i % 2 ? 1.0 : -1.0);
        points[i + 1] = p + down * along + across * side;
    }
    points[kZigzagTeeth + 2] = p + down;
    Polyline(list, view, points);
    const Vec3 ground[] = {p + down - across * 2.0, p + down + across * 2.0};
    Polyline(list, view, ground);
}

void CoilSpring(PaintContainer& list, const ViewMatrix& view, Vec3 p, double size, double width,
                Colour colour, double phi) {
    list.SetPen(colour, width);
    const Vec3 axis{std::cos(phi), std::sin(phi), 0.0};
    const Vec3 across{-std::sin(phi), std::cos(phi), 0.0};
    const Vec3 down{0.0, 0.0, 1.0};
    const Vec3 centre = p + axis * (0.5 * size);
    const Vec3 shaft[] = {p, centre};
    Polyline(list, view, shaft);
    Vec3 coil[kCoilPoints + 1];
    const double radius = 0.3 * size;
    for (int i = 0; i <= kCoilPoints; ++i) {
        const double share = double(i) / kCoilPoints;
        const double angle = 2.0 * kPi * kCoilTurns * share;
        coil[i] = centre + (across * std::cos(angle) + down * std::sin(angle)) * (radius * share);
    }
    Polyline(list, view, coil);
    // The spiral ends on the far side after two and a half turns; the tick
    // there is its ground.
    const Vec3 end = coil[kCoilPoints];
    const Vec3 tick[] = {end + axis * (0.15 * size), end - axis * (0.15 * size)};
    Polyline(list, view, tick);
}

void OrdinateLabel(PaintContainer& list, double textSize, double sceneSize, double tolerance,
                   Colour colour, Vec2 e, Vec2 g, Vec2 q, double value, bool side, bool absolute) {
    if (std::fabs(value) < tolerance * 1e-5)
        return;
    bool onSide = side;
    if (Cross(q - e, g - e) < 0)
        onSide = !onSide;
    if (value < 0)
        onSide = !onSide;
    const unsigned placement = kTextCentre | (onSide ? kTextAbove : kTextBelow);
    const double angle = PolarAngle(e - g) + (value < 0 ? kPi : 0.0);
    const std::string text = Format("%#.4lg", absolute ? std::fabs(value) : value);
    list.DrawText(textSize, (e + g) * 0.5, angle,
                  sceneSize * SettingFactor(ResFunctionTextDistance),
                  sceneSize * SettingFactor(ResFunctionTextSize), colour, text, placement);
}
