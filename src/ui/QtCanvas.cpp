#include "ui/QtCanvas.h"

#include <QColor>
#include <QPainter>
#include <QPen>

QColor ToQColor(Colour colour) {
    const auto value = static_cast<unsigned>(colour);
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

QtCanvas::QtCanvas(QPainter& painter) : painter_(painter) {
    painter_.setRenderHint(QPainter::Antialiasing, false);
    QPen pen = painter_.pen();
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter_.setPen(pen);
}

QtCanvas::~QtCanvas() {
    Flush();
}

void QtCanvas::Flush() {
    if (polyline_.size() >= 2)
        painter_.drawPolyline(polyline_.data(), static_cast<int>(polyline_.size()));
    polyline_.clear();
}

void QtCanvas::MoveTo(DevicePoint p) {
    const QPoint point(p.x, p.y);
    // A move to where the last line ended continues the polyline.
    if (!polyline_.empty() && polyline_.back() == point)
        return;
    Flush();
    position_ = point;
}

void QtCanvas::LineTo(DevicePoint p) {
    const QPoint point(p.x, p.y);
    if (polyline_.empty())
        polyline_.push_back(position_);
    polyline_.push_back(point);
    position_ = point;
}

void QtCanvas::Polygon(std::span<const DevicePoint> points) {
    Flush();
    polygon_.clear();
    for (const DevicePoint& p : points)
        polygon_.emplace_back(p.x, p.y);
    if (!polygon_.empty())
        painter_.drawPolygon(polygon_.data(), static_cast<int>(polygon_.size()));
}

void QtCanvas::SetPenColour(Colour colour) {
    Flush();
    QPen pen = painter_.pen();
    pen.setColor(ToQColor(colour));
    painter_.setPen(pen);
}

void QtCanvas::SetPenWidth(int pixels) {
    Flush();
    QPen pen = painter_.pen();
    // Width 0 is Qt's cosmetic pen: one device pixel whatever the device.
    pen.setWidth(pixels > 0 ? pixels : 0);
    painter_.setPen(pen);
}

void QtCanvas::SetBrushColour(Colour colour) {
    Flush();
    painter_.setBrush(QBrush(ToQColor(colour), Qt::SolidPattern));
}

void SetNewCanvasState(QPainter& painter) {
    painter.setPen(QPen(QBrush(Qt::black), 0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(QBrush(Qt::white, Qt::SolidPattern));
}
