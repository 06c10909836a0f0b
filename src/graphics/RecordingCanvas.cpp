#include "graphics/RecordingCanvas.h"

void RecordingCanvas::Polygon(std::span<const DevicePoint> points) {
    Call call{Op::Polygon, {}};
    call.firstPoint = static_cast<int>(polygonPoints_.size());
    call.pointCount = static_cast<int>(points.size());
    polygonPoints_.insert(polygonPoints_.end(), points.begin(), points.end());
    calls_.push_back(call);
}

std::span<const DevicePoint> RecordingCanvas::PolygonPoints(const Call& call) const {
    return std::span<const DevicePoint>(polygonPoints_)
        .subspan(static_cast<size_t>(call.firstPoint), static_cast<size_t>(call.pointCount));
}

void RecordingCanvas::Clear() {
    calls_.clear();
    polygonPoints_.clear();
}
