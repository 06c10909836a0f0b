#include "ui/QtCanvas.h"

#include <QColor>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPen>

QColor ToQColor(Colour colour) {
    const auto value = static_cast<unsigned>(colour);
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

void SetNewCanvasState(QPainter& painter) {
    painter.setPen(QPen(QBrush(Qt::black), 0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(QBrush(Qt::white, Qt::SolidPattern));
}

namespace {
constexpr size_t kLineBatch = 2048;

// The pixels of the painter's image, where lines written straight into them
// land exactly where Qt would draw them: a 32-bit image painted without
// transformation, clip, opacity or composition of its own.
std::optional<ImageLines> ImageOf(QPainter& painter) {
    QPaintDevice* device = painter.device();
    if (!device || device->devType() != QInternal::Image)
        return std::nullopt;
    auto* image = static_cast<QImage*>(device);
    const bool plainPixels = image->format() == QImage::Format_RGB32 ||
                             image->format() == QImage::Format_ARGB32_Premultiplied;
    if (!plainPixels || !painter.deviceTransform().isIdentity() || painter.hasClipping() ||
        painter.opacity() != 1.0 ||
        painter.compositionMode() != QPainter::CompositionMode_SourceOver)
        return std::nullopt;
    // Beginning to paint detached the image already: these are the pixels the
    // painter draws into.
    return ImageLines(reinterpret_cast<std::uint32_t*>(image->bits()), image->bytesPerLine() / 4,
                      image->width(), image->height());
}

} // namespace

QtCanvas::QtCanvas(QPainter& painter)
    : painter_(painter),
      raster_(painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Raster),
      // Pixels on screen are cheap to stroke only without arcs; a vector
      // device (PDF, printer) writes round ends at no cost.
      roundEndsFrom_(raster_ ? kRasterRoundEndsFrom : 2) {
    painter_.setRenderHint(QPainter::Antialiasing, false);
    QPen pen = painter_.pen();
    penColour_ = pen.color();
    penWidth_ = pen.width();
    SetPenEnds(pen);
    painter_.setPen(pen);
    brushColour_ = painter_.brush().color();
    brushSolid_ = painter_.brush().style() == Qt::SolidPattern;
    lines_.reserve(kLineBatch);
    if (raster_)
        image_ = ImageOf(painter_);
    CheckPenForImage();
}

QtCanvas::~QtCanvas() {
    Flush();
}

void QtCanvas::SetPenEnds(QPen& pen) const {
    if (pen.width() >= roundEndsFrom_) {
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
    } else {
        pen.setCapStyle(Qt::SquareCap);
        pen.setJoinStyle(Qt::BevelJoin);
    }
}

void QtCanvas::ApplyPen() {
    if (!penChanged_)
        return;
    penChanged_ = false;
    const QPen& current = painter_.pen();
    if (current.color() == penColour_ && current.width() == penWidth_)
        return;
    // The lines held so far belong to the pen the painter has.
    DrawLines();
    QPen pen(QBrush(penColour_), penWidth_);
    SetPenEnds(pen);
    painter_.setPen(pen);
    CheckPenForImage();
}

void QtCanvas::CheckPenForImage() {
    const QPen& pen = painter_.pen();
    // Qt draws a pen of width 0 or 1 with the one-pixel line of ImageLines;
    // a flat end would leave out the last pixel, a fraction of a pixel or
    // a translucent colour would blend.
    penOnImage_ = image_ && pen.style() == Qt::SolidLine &&
                  pen.brush().style() == Qt::SolidPattern && pen.color().alpha() == 255 &&
                  (pen.widthF() == 0.0 || pen.widthF() == 1.0) && pen.capStyle() != Qt::FlatCap;
    penPixel_ = pen.color().rgba();
}

void QtCanvas::ApplyBrush() {
    if (brushSolid_ && painter_.brush().style() == Qt::SolidPattern &&
        painter_.brush().color() == brushColour_)
        return;
    painter_.setBrush(QBrush(brushColour_, Qt::SolidPattern));
    brushSolid_ = true;
}

void QtCanvas::DrawLines() {
    if (!lines_.empty())
        painter_.drawLines(lines_.data(), static_cast<int>(lines_.size()));
    lines_.clear();
    if (polyline_.size() >= 2)
        painter_.drawPolyline(polyline_.data(), static_cast<int>(polyline_.size()));
    polyline_.clear();
}

void QtCanvas::Flush() {
    DrawLines();
    // The painter keeps the last pen and brush, as the canvas's state.
    ApplyPen();
    if (brushChanged_)
        ApplyBrush();
    brushChanged_ = false;
}

void QtCanvas::MoveTo(DevicePoint p) {
    position_ = QPoint(p.x, p.y);
}

void QtCanvas::LineTo(DevicePoint p) {
    const QPoint point(p.x, p.y);
    // A line that starts and ends on one pixel draws nothing.
    if (point != position_) {
        ApplyPen();
        if (penOnImage_ && image_->Holds(position_.x(), position_.y(), point.x(), point.y())) {
            // Lines of one pen need no order among themselves.
            image_->Draw(position_.x(), position_.y(), point.x(), point.y(), penPixel_);
        } else if (raster_) {
            lines_.emplace_back(position_, point);
            // Handed over in portions that stay in the cache.
            if (lines_.size() >= kLineBatch)
                DrawLines();
        } else {
            if (polyline_.empty() || polyline_.back() != position_) {
                DrawLines();
                polyline_.push_back(position_);
            }
            polyline_.push_back(point);
        }
    }
    position_ = point;
}

void QtCanvas::Polygon(std::span<const DevicePoint> points) {
    DrawLines();
    ApplyPen();
    ApplyBrush();
    brushChanged_ = false;
    polygon_.clear();
    for (const DevicePoint& p : points)
        polygon_.emplace_back(p.x, p.y);
    if (!polygon_.empty())
        painter_.drawPolygon(polygon_.data(), static_cast<int>(polygon_.size()));
}

void QtCanvas::SetPenColour(Colour colour) {
    penColour_ = ToQColor(colour);
    penChanged_ = true;
}

void QtCanvas::SetPenWidth(int pixels) {
    // Width 0 is Qt's cosmetic pen: one device pixel whatever the device.
    penWidth_ = pixels > 0 ? pixels : 0;
    penChanged_ = true;
}

void QtCanvas::SetBrushColour(Colour colour) {
    brushColour_ = ToQColor(colour);
    brushChanged_ = true;
}
