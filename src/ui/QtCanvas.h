#pragma once

#include "graphics/Canvas.h"
#include "ui/ImageLines.h"

#include <QColor>
#include <QLine>
#include <QPoint>
#include <cstdint>
#include <optional>
#include <vector>

class QPainter;
class QPen;

// The drawing list replayed onto a QPainter: the graphics window's paint box,
// a printer cell, the bitmap of the clipboard picture. Points arrive as whole
// device pixels (Render truncates them) and are drawn as they are: no
// antialiasing, pen width 0 the cosmetic thinnest line, wider pens with round
// ends and joins (on screen from kRasterRoundEndsFrom pixels; thinner ones
// end square, where a round end would differ by less than a pixel and costs
// five times as much to fill). The canvas starts with the painter's pen
// and brush and leaves its last pen and brush on the painter, so that a window's paint box
// keeps them from one replay to the next.
//
// Pen and brush records only take effect when something is drawn with them.
// Into an image (the graphics window paints into one, the clipboard picture
// is one) the lines of the thinnest pens are written straight into its pixels
// (ImageLines, the pixels Qt would set); Qt draws the rest. On screen the
// lines drawn with one pen are handed to Qt together; on a
// vector device (PDF, printer) lines that continue one another go as one
// polyline, which writes each point once. Both are drawn when the pen
// changes or a polygon comes; Flush (or the destructor) draws what is still
// held. A line from a pixel to itself draws nothing.
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

    static constexpr int kRasterRoundEndsFrom = 5;

private:
    void SetPenEnds(QPen& pen) const;
    void ApplyPen();
    void ApplyBrush();
    void DrawLines();
    // Whether the painter's pen can be written into the image by ImageLines.
    void CheckPenForImage();

    QPainter& painter_;
    bool raster_;
    int roundEndsFrom_;
    QColor penColour_;
    int penWidth_ = 0;
    bool penChanged_ = false;
    QColor brushColour_;
    bool brushSolid_ = true;
    bool brushChanged_ = false;
    QPoint position_;
    std::vector<QLine> lines_;     // on screen
    std::vector<QPoint> polyline_; // on a vector device
    std::vector<QPoint> polygon_;
    std::optional<ImageLines> image_; // the painter's image, when lines may go there
    bool penOnImage_ = false;
    std::uint32_t penPixel_ = 0;
};

// A colour of the drawing list (0x00BBGGRR) as Qt's colour.
QColor ToQColor(Colour colour);

// The pen and brush of a new canvas: a black pen of width 0 and a white
// solid brush.
void SetNewCanvasState(QPainter& painter);
