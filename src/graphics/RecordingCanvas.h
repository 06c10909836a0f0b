#pragma once

#include "graphics/Canvas.h"

#include <span>
#include <vector>

// A canvas that keeps every call, in order, for tests and for measuring the
// replay. Polygon points are kept in one shared array.
class RecordingCanvas : public Canvas {
public:
    enum class Op { MoveTo, LineTo, Polygon, PenColour, PenWidth, BrushColour };

    struct Call {
        Op op;
        DevicePoint point;  // MoveTo, LineTo
        int value = 0;      // PenColour, PenWidth, BrushColour
        int firstPoint = 0; // Polygon: its points in PolygonPoints
        int pointCount = 0;
    };

    void MoveTo(DevicePoint p) override { calls_.push_back({Op::MoveTo, p}); }
    void LineTo(DevicePoint p) override { calls_.push_back({Op::LineTo, p}); }
    void Polygon(std::span<const DevicePoint> points) override;
    void SetPenColour(Colour colour) override { calls_.push_back({Op::PenColour, {}, colour}); }
    void SetPenWidth(int pixels) override { calls_.push_back({Op::PenWidth, {}, pixels}); }
    void SetBrushColour(Colour colour) override { calls_.push_back({Op::BrushColour, {}, colour}); }

    const std::vector<Call>& Calls() const { return calls_; }
    std::span<const DevicePoint> PolygonPoints(const Call& call) const;
    void Reserve(size_t calls) { calls_.reserve(calls); }
    void Clear();

private:
    std::vector<Call> calls_;
    std::vector<DevicePoint> polygonPoints_;
};
