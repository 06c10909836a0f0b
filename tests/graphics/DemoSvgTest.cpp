// A picture to look at: text with every placement flag, the whole stroke font,
// turned text, every symbol shape and the arrows and labels, written as
// graphics-demo.svg into the build directory.

#include "GraphicsTestSupport.h"
#include "graphics/SvgCanvas.h"
#include "graphics/SymbolShapes.h"
#include "graphics/Symbols.h"
#include "model/Format.h"

#include <cstdio>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;
constexpr Colour kBlack = Rgb(0, 0, 0);
constexpr Colour kRed = Rgb(255, 0, 0);
constexpr Colour kBlue = Rgb(0, 0, 255);
constexpr Colour kGreen = Rgb(0, 128, 0);
constexpr Colour kGrey = Rgb(128, 128, 128);
constexpr Colour kMagenta = Rgb(255, 0, 255);

void Cross(PaintContainer& list, Vec2 p) {
    list.SetPen(kRed, 0.4);
    list.AddLine(p - Vec2{4, 0}, p + Vec2{4, 0});
    list.AddLine(p - Vec2{0, 4}, p + Vec2{0, 4});
}

// Twelve texts, one for each combination of a horizontal and a vertical flag,
// each at a red cross that marks its anchor, with its flags written below.
void PlacementGrid(PaintContainer& list, Vec2 origin) {
    const unsigned horizontal[] = {0, kTextLeft, kTextRight, kTextCentre};
    const unsigned vertical[] = {0, kTextAbove, kTextBelow};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 4; ++column) {
            const Vec2 anchor = origin + Vec2{75.0 + 130.0 * column, 30.0 + 70.0 * row};
            const unsigned flags = horizontal[column] | vertical[row];
            Cross(list, anchor);
            list.DrawText(1.0, anchor, 0.0, 3.0, 12.0, kBlack, "AB12", flags);
            list.DrawText(1.0, anchor + Vec2{0, 30}, 0.0, 0.0, 6.0, kGrey,
                          Format("FLAGS %X", flags), kTextCentre);
        }
    }
}

void Font(PaintContainer& list, Vec2 origin) {
    list.DrawText(1.0, origin, 0.0, 0.0, 14.0, kBlue, "0123456789 ABCDEFGHIJKLM", kTextAbove);
    list.DrawText(1.0, origin + Vec2{0, 24}, 0.0, 0.0, 14.0, kBlue,
                  "NOPQRSTUVWXYZ ÄÖÜ +-.,()&=", kTextAbove);
    // lower case is drawn upper case; § is not in the font and stays blank
    list.DrawText(1.0, origin + Vec2{0, 48}, 0.0, 0.0, 14.0, kGreen, "lower case: 1.5e-3 [§] end",
                  kTextAbove);
}

void TurnedText(PaintContainer& list, Vec2 centre) {
    for (int k = 0; k < 8; ++k) {
        const double angle = k * kPi / 4;
        list.DrawText(1.0, centre, angle, 6.0, 8.0, k % 2 ? kBlue : kBlack,
                      Format("%d DEG", 45 * k), kTextRight | kTextAbove);
    }
    Cross(list, centre);
}

// The model point that the view projects onto the scene point p (centre 0):
// Rᵀ (p.x, p.y, 0), R being orthonormal.
Vec3 ModelAt(const ViewMatrix& view, Vec2 p) {
    return Vec3{view.R(0, 0), view.R(0, 1), view.R(0, 2)} * p.x +
           Vec3{view.R(1, 0), view.R(1, 1), view.R(1, 2)} * p.y;
}

void Caption(PaintContainer& list, Vec2 at, const char* text) {
    list.DrawText(1.0, at, 0.0, 0.0, 6.0, kGrey, text, kTextCentre | kTextBelow);
}

void Shapes(PaintContainer& list, const ViewMatrix& view, Vec2 origin) {
    const double s = 30;
    Vec2 at = origin;
    const auto next = [&] { at = at + Vec2{65, 0}; };

    NodeSquare.DrawShape(list, s, 0.6, kGreen, 0.0, at, 0);
    Caption(list, at + Vec2{0, 25}, "NODESQUARE");
    next();
    ArrowHead.DrawShape(list, s, 0.6, kBlack, 0.0, at + Vec2{10, 0}, 0);
    Caption(list, at + Vec2{0, 25}, "ARROWHEAD");
    next();
    SideArrowHead.DrawShape(list, s, 0.6, kBlack, -kPi / 2, at, 0);
    Caption(list, at + Vec2{0, 25}, "SIDEARROWHEAD");
    next();
    HingeCircle.FillShape(list, s, 0.6, 0.0, kBlack, Rgb(255, 255, 0), at);
    Caption(list, at + Vec2{0, 25}, "HINGECIRCLE");
    next();
    StyledLine(list, at - Vec2{25, 0}, at + Vec2{25, 0}, 1.0, kBlack, kLineDashed);
    Caption(list, at + Vec2{0, 25}, "DASHPATTERN");
    next();
    StyledLine(list, at - Vec2{25, 0}, at + Vec2{25, 0}, 1.0, kBlack, kLineDashDot);
    Caption(list, at + Vec2{0, 25}, "DASHDOTPATTERN");
    next();
    ArrowHead3D.DrawShape3D(list, s, 0.6, {0, 0, 0}, view, kBlack, ModelAt(view, at));
    Caption(list, at + Vec2{0, 25}, "ARROWHEAD3D");
    next();
    HingeBar3D.FillShape3D(list, 10, 0.4, {0, 0, 0}, view, Rgb(255, 255, 255), Rgb(255, 255, 255),
                           ModelAt(view, at));
    HingeBar3D.DrawShape3D(list, 10, 0.4, {0, 0, 0}, view, kBlack, ModelAt(view, at));
    Caption(list, at + Vec2{0, 25}, "HINGEBAR3D");
    next();
    ShearHinge3D.FillShape3D(list, 10, 0.4, {0, 0, 0}, view, kRed, Rgb(255, 200, 200),
                             ModelAt(view, at));
    ShearHinge3D.DrawShape3D(list, 10, 0.4, {0, 0, 0}, view, kBlack, ModelAt(view, at));
    Caption(list, at + Vec2{0, 25}, "SHEARHINGE3D");
}

// An axis cross, a force, a moment, a 2-D arrow and a small diagram with its
// ordinate labels, all drawn with the initial view.
void Arrows(PaintContainer& list, const ViewMatrix& view, Vec2 origin) {
    const Vec3 o = ModelAt(view, origin);
    ArrowStyle axes{1.0, 6, 0.8, 8, kMagenta, kArrowFromPoint | kArrowLabel};
    ForceArrow(list, view, axes, o, {1, 0, 0}, 45, 1, "x");
    ForceArrow(list, view, axes, o, {0, 1, 0}, 45, 1, "y");
    ForceArrow(list, view, axes, o, {0, 0, 1}, 45, 1, "z");

    const ArrowStyle loads{1.0, 6, 0.8, 8, kBlue, kArrowLabel | kArrowAbsolute};
    const Vec3 p = ModelAt(view, origin + Vec2{140, 0});
    ForceArrow(list, view, loads, p, {0, 0, 1}, 4, 12.5);
    MomentArrow(list, view, loads, ModelAt(view, origin + Vec2{260, 0}), 4, -10, 0.0);
    MomentArrow(list, view, ArrowStyle{1.0, 6, 0.8, 8, kGreen, kArrowLabel},
                ModelAt(view, origin + Vec2{330, 0}), 4, 10, kPi / 2);
    Arrow2D(list, origin + Vec2{380, 20}, origin + Vec2{440, -20}, 8, 0.8, kBlack, 0);

    // A parabola over a base line from x = 480 to 600, ordinates every 20.
    const double base = origin.y + 10;
    for (int i = 0; i <= 6; ++i) {
        const double x = origin.x + 480 + 20 * i;
        const double v = 40 * (i / 6.0) * (1 - i / 6.0) * 4 - 10;
        const Vec2 b{x, base}, t{x, base + v};
        list.SetPen(v > 0 ? kBlue : kRed, 0.3);
        list.AddLine(b, t);
        if (i == 0)
            list.MoveTo(1, t);
        else
            list.LineTo(1, t);
        if (i == 0 || i == 3 || i == 6)
            OrdinateLabel(list, 1.0, 600, 30, v > 0 ? kBlue : kRed, t, b, {x + 10, base}, v, i != 6,
                          false);
    }
}

TEST(DemoSvg, TextPlacementsFontAndEverySymbol) {
    PaintContainer list;
    ViewMatrix view;
    InitialView(view);
    PlacementGrid(list, {0, 0});
    TurnedText(list, {650, 100});
    Font(list, {10, 260});
    Shapes(list, view, {40, 360});
    Arrows(list, view, {40, 480});

    const DeviceRect device{0, 0, 1200, 900};
    const std::string svg = RenderSvg(list, list.BoundingBox(), device);
    const std::string path = BALKOR_BINARY_DIR "/graphics-demo.svg";
    ASSERT_TRUE(WriteTextFile(path, svg)) << path;
    EXPECT_GT(svg.find("<path"), 0u);
    EXPECT_NE(svg.find("<polygon"), std::string::npos);
    std::printf("demo picture: %s (%zu bytes, %d records)\n", path.c_str(), svg.size(),
                list.RecordCount());
}

} // namespace
