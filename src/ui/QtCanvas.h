#pragma once

#include "graphics/Canvas.h"

#include <QPoint>
#include <vector>

class QPainter;

// The drawing list replayed onto a QPainter: the graphics window's paint box,
// a printer cell, the bitmap of the clipboard picture. Points arrive as whole
// device pixels (Render truncates them) and are drawn as they are: no
// antialiasing, pen width 0 the cosmetic thinnest line, wider pens with round
// ends and joins. The canvas starts with the painter's pen and brush and
// leaves its last pen and brush on the painter, so that a window's paint box
// keeps them from one replay to the next.
//
// Lines that continue one another are drawn as one polyline; Flush (or the
// destructor) draws what is still held.
class QtCanvas : public Canvas {
public:
    explicit QtCanvas(QPainter& painter);
    ~QtCanvas() override;
    QtCanvas(const QtCanvas&) = delete;
    QtCanvas& operator=(const QtCanvas&) = delete;

    void MoveTo(DevicePoint p) override;
    void LineTo(DevicePoint p) override;
    void Polygon(std::span<const DevicePoint> points) override;
    void SetPenColour(Colour colour) override;
    void SetPenWidth(int pixels) override;
    void SetBrushColour(Colour colour) override;

    void Flush();

private:
    QPainter& painter_;
    QPoint position_;
    std::vector<QPoint> polyline_;
    std::vector<QPoint> polygon_;
};

// A colour of the drawing list (0x00BBGGRR) as Qt's colour.
class QColor;
QColor ToQColor(Colour colour);

// The pen and brush of a new canvas: a black pen of width 0 and a white
// solid brush.
void SetNewCanvasState(QPainter& painter);
