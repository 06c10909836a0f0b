#pragma once

#include "graphics/Canvas.h"
#include "graphics/PaintContainer.h"

#include <string>

// A canvas that writes a standalone SVG 1.1 document of a device rectangle:
// a white background, then every line and polygon in integer device
// coordinates, exactly as Render passes them. Consecutive lines drawn with one
// pen are merged into one path element (a line that starts where the previous
// one ended only adds its end point), so that large drawings stay small. Pen
// width 0 is drawn as the thinnest line, one pixel wide; lines have round caps
// and joins, as wide pens of the screen have.
class SvgCanvas : public Canvas {
public:
    explicit SvgCanvas(const DeviceRect& device);

    void MoveTo(DevicePoint p) override { position_ = p; }
    void LineTo(DevicePoint p) override;
    void Polygon(std::span<const DevicePoint> points) override;
    void SetPenColour(Colour colour) override;
    void SetPenWidth(int pixels) override;
    void SetBrushColour(Colour colour) override { brushColour_ = colour; }

    // Ends the document and hands it over; the canvas is empty afterwards.
    std::string Finish();

private:
    void EndPath();
    void AppendPoint(DevicePoint p);
    void AppendPenAttributes();

    std::string document_;
    bool pathOpen_ = false;
    DevicePoint pathEnd_;
    DevicePoint position_;
    Colour penColour_ = 0;
    int penWidth_ = 0;
    Colour brushColour_ = 0xFFFFFF;
};

// The list fitted (aspect 1) with its view window into the device rectangle,
// as an SVG document. A window that cannot be mapped gives the white page.
std::string RenderSvg(const PaintContainer& list, const SceneBox& window, const DeviceRect& device);

// Writes a document to a file; false when the file cannot be written.
bool WriteTextFile(const std::string& path, const std::string& text);
