#include "graphics/RecordingCanvas.h"

void RecordingCanvas::Polygon(std::span<const DevicePoint> points) {
    calls_.push_back(
        {Op::Polygon, static_cast<int>(polygonPoints_.size()), static_cast<int>(points.size())});
    polygonPoints_.insert(polygonPoints_.end(), points.begin(), points.end());
}

std::span<const DevicePoint> RecordingCanvas::PolygonPoints(const Call& call) const {
    return std::span<const DevicePoint>(polygonPoints_)
        .subspan(static_cast<size_t>(call.a), static_cast<size_t>(call.b));
}

void RecordingCanvas::Clear() {
    calls_.clear();
    polygonPoints_.clear();
}
