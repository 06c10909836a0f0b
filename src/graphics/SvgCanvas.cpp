#include "graphics/SvgCanvas.h"

#include "graphics/Render.h"
#include "model/Format.h"

#include <charconv>
#include <cstdio>

namespace {

void AppendInt(std::string& out, int value) {
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}

// "#rrggbb" of a 0x00BBGGRR colour; the high byte is ignored.
void AppendColour(std::string& out, Colour colour) {
    static const char hex[] = "0123456789abcdef";
    out += '#';
    for (const int shift : {0, 8, 16}) {
        const int part = (colour >> shift) & 0xFF;
        out += hex[part >> 4];
        out += hex[part & 0xF];
    }
}

} // namespace

SvgCanvas::SvgCanvas(const DeviceRect& device) {
    const int width = device.right - device.left;
    const int height = device.bottom - device.top;
    document_ = Format("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
                       "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"%d\" "
                       "height=\"%d\" viewBox=\"%d %d %d %d\">\n"
                       "<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"#ffffff\"/>\n"
                       "<g fill=\"none\" stroke-linecap=\"round\" stroke-linejoin=\"round\">\n",
                       width, height, device.left, device.top, width, height, device.left,
                       device.top, width, height);
}

void SvgCanvas::AppendPoint(DevicePoint p) {
    AppendInt(document_, p.x);
    document_ += ' ';
    AppendInt(document_, p.y);
}

void SvgCanvas::AppendPenAttributes() {
    document_ += "\" stroke=\"";
    AppendColour(document_, penColour_);
    document_ += "\" stroke-width=\"";
    AppendInt(document_, penWidth_ > 0 ? penWidth_ : 1);
    document_ += '"';
}

void SvgCanvas::LineTo(DevicePoint p) {
    if (!pathOpen_) {
        document_ += "<path d=\"M";
        AppendPoint(position_);
        pathOpen_ = true;
    } else if (!(pathEnd_ == position_)) {
        document_ += 'M';
        AppendPoint(position_);
    }
    document_ += ' ';
    AppendPoint(p);
    pathEnd_ = position_ = p;
}

void SvgCanvas::EndPath() {
    if (!pathOpen_)
        return;
    AppendPenAttributes();
    document_ += "/>\n";
    pathOpen_ = false;
}

void SvgCanvas::Polygon(std::span<const DevicePoint> points) {
    EndPath();
    document_ += "<polygon points=\"";
    for (size_t i = 0; i < points.size(); ++i) {
        if (i > 0)
            document_ += ' ';
        AppendInt(document_, points[i].x);
        document_ += ',';
        AppendInt(document_, points[i].y);
    }
    document_ += "\" fill=\"";
    AppendColour(document_, brushColour_);
    AppendPenAttributes();
    document_ += "/>\n";
}

void SvgCanvas::SetPenColour(Colour colour) {
    if (colour == penColour_)
        return;
    EndPath();
    penColour_ = colour;
}

void SvgCanvas::SetPenWidth(int pixels) {
    if (pixels == penWidth_)
        return;
    EndPath();
    penWidth_ = pixels;
}

std::string SvgCanvas::Finish() {
    EndPath();
    document_ += "</g>\n</svg>\n";
    return std::move(document_);
}

std::string RenderSvg(const PaintContainer& list, const SceneBox& window,
                      const DeviceRect& device) {
    SvgCanvas canvas(device);
    RenderFitted(list, canvas, window, device, 1.0);
    return canvas.Finish();
}

bool WriteTextFile(const std::string& path, const std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}
