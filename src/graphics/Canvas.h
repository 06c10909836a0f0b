#pragma once

#include "graphics/GraphicsTypes.h"

#include <span>

// The surface a drawing list is replayed onto (Render): the window's paint
// box, a printer page, the clipboard picture, an SVG document, or a recording
// for tests. All coordinates are device pixels within ±kDeviceLimit.
//
// A canvas keeps its pen and brush between calls and between replays: until
// the first pen or brush record of a list the canvas's current pen and brush
// apply. A new canvas starts with a black pen of width 0 and a white brush.
class Canvas {
public:
    virtual ~Canvas() = default;

    // Moves the pen without drawing.
    virtual void MoveTo(DevicePoint p) = 0;
    // Draws a line with the current pen from the pen position to p, which
    // becomes the pen position.
    virtual void LineTo(DevicePoint p) = 0;
    // Draws the closed polygon through the points, filled with the current
    // brush and outlined with the current pen.
    virtual void Polygon(std::span<const DevicePoint> points) = 0;
    // Pen colour (0x00BBGGRR) and width in pixels; width 0 is the thinnest
    // line the device can draw.
    virtual void SetPenColour(Colour colour) = 0;
    virtual void SetPenWidth(int pixels) = 0;
    virtual void SetBrushColour(Colour colour) = 0;
};
