#pragma once

#include "graphics/GraphicsTypes.h"
#include "graphics/PaintContainer.h"
#include "graphics/SceneSettings.h"
#include "graphics/ViewTransform.h"

#include <string_view>

// The drawing vocabulary of the scenes: styled lines, 2-D and 3-D arrows,
// force arrows and moment double arrows with value labels, and the value
// label of a diagram ordinate. Everything records into a drawing list; 3-D
// positions are model coordinates, projected with the view. Sizes, widths and
// text heights are scene units: the callers multiply the settings (fractions
// of SceneSize) by SceneSize, for instance with ArrowStyle::Scaled.

// Line styles of StyledLine.
enum LineStyle : int {
    kLineSolid = 0,
    kLineDashed = 1,  // dashes 10 × width long, gaps 5 × width
    kLineDashDot = 2, // dash 10, gap 4, dot 1, gap 4 (× width)
};

// More dashes than this on one line are drawn as a solid line: the dashes
// would be far below a pixel, and a width of 0 would never end the line.
inline constexpr double kMaxDashes = 100000;

// Flags of the arrows (a byte of bits).
enum ArrowFlags : unsigned {
    kArrowHideShortHead = 0x02, // no head when the projected shaft is shorter than it
    kArrowFromPoint = 0x04,     // starts at the reference point and points away from it
    kArrowLabel = 0x10,         // write the value (or the given text)
    kArrowAbsolute = 0x20,      // the label shows the absolute value
};

// How force and moment arrows are drawn, in scene units.
struct ArrowStyle {
    double textSize = 1.0; // multiplier of the label (the window's text scale)
    double headSize = 0.0;
    double width = 0.0;
    double textHeight = 0.0;
    Colour colour = 0;
    unsigned flags = 0;

    // A style from settings that are fractions of SceneSize, read through
    // SettingFactor.
    static ArrowStyle Scaled(double sceneSize, double textScale, double headSetting,
                             double widthSetting, double textHeightSetting, Colour colour,
                             unsigned flags) {
        return {textScale,
                sceneSize * SettingFactor(headSetting),
                sceneSize * SettingFactor(widthSetting),
                sceneSize * SettingFactor(textHeightSetting),
                colour,
                flags};
    }
};

// SetPen (colour, width), then a solid, dashed or dash-dotted line from p1
// to p2. Dashes start at p1 and repeat one period after the other while the
// start of a period lies within the line, so the last dash may run up to one
// dash beyond p2. A line of zero length draws nothing. A dashed line whose
// width is 0 (or so small that it would need more than kMaxDashes dashes) is
// drawn solid.
void StyledLine(PaintContainer& list, Vec2 p1, Vec2 p2, double width, Colour colour, int style);

// A solid line from p1 to p2 with an ArrowHead whose tip is at p2.
void Arrow2D(PaintContainer& list, Vec2 p1, Vec2 p2, double headSize, double width, Colour colour,
             unsigned flags);

// The projected line from A to B and an ArrowHead3D at B, turned by the head
// axis (an axis-angle vector that turns +z into the arrow's direction).
void Arrow3D(PaintContainer& list, const ViewMatrix& view, Vec3 a, Vec3 b, Vec3 headAxis,
             double headSize, double width, Colour colour, unsigned flags);

// The head axis of a force arrow along u: the rotation that turns +z into u
// for directions along z or in the x–y plane; half a turn about x for −z.
Vec3 ForceHeadAxis(Vec3 u);

// A force of the given value at P along direction, length factor × value
// long: it ends at P, or starts there with kArrowFromPoint. With kArrowLabel
// the text (or, when it is empty, "%.3g" of the value) is written at the free
// end of the arrow.
void ForceArrow(PaintContainer& list, const ViewMatrix& view, const ArrowStyle& style, Vec3 p,
                Vec3 direction, double lengthFactor, double value, std::string_view text = {});

// A moment vector at P in the x–y plane at the angle phi from the x axis,
// drawn as a line with two heads one head size apart, length factor × value
// long; a negative value turns the heads round.
void MomentArrow(PaintContainer& list, const ViewMatrix& view, const ArrowStyle& style, Vec3 p,
                 double lengthFactor, double value, double phi);

// A translational spring under P: a zigzag along +z, size long, that ends
// in a ground bar. The zigzag lies in the vertical plane across the line of
// sight, so that it shows its turns in every view but the one along z.
void ZigzagSpring(PaintContainer& list, const ViewMatrix& view, Vec3 p, double size, double width,
                  Colour colour);

// A rotational spring at P about the horizontal axis at the angle phi from
// the x axis: a short shaft along the axis from P and a spiral of two and a
// half turns around it (in the plane across the axis), its outer end on a
// ground tick.
void CoilSpring(PaintContainer& list, const ViewMatrix& view, Vec3 p, double size, double width,
                Colour colour, double phi);

// The value label of a diagram ordinate from e to g (scene points): written
// along the ordinate, centred on it, on the side chosen by side, the
// reference point q near the base line and the sign of the value, with the
// text height and gap of Ergebnisse / Funktionen as fractions of sceneSize.
// Nothing is written when |value| < 1e-5 × tolerance.
void OrdinateLabel(PaintContainer& list, double textSize, double sceneSize, double tolerance,
                   Colour colour, Vec2 e, Vec2 g, Vec2 q, double value, bool side, bool absolute);
