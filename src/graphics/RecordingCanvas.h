#pragma once

#include "graphics/Canvas.h"

#include <cstdint>
#include <span>
#include <vector>

// A canvas that keeps every call, in order, for tests and for measuring the
// replay. A call is 12 bytes; polygon points are kept in one shared array.
class RecordingCanvas : public Canvas {
public:
    enum class Op : std::int32_t { MoveTo, LineTo, Polygon, PenColour, PenWidth, BrushColour };

    struct Call {
        Op op;
        int a; // MoveTo, LineTo: x; pen and brush: the value; Polygon: first point
        int b; // MoveTo, LineTo: y; Polygon: point count

        DevicePoint Point() const { return {a, b}; }
        int Value() const { return a; }
    };

    void MoveTo(DevicePoint p) override { calls_.push_back({Op::MoveTo, p.x, p.y}); }
    void LineTo(DevicePoint p) override { calls_.push_back({Op::LineTo, p.x, p.y}); }
    void Polygon(std::span<const DevicePoint> points) override;
    void SetPenColour(Colour colour) override { calls_.push_back({Op::PenColour, colour, 0}); }
    void SetPenWidth(int pixels) override { calls_.push_back({Op::PenWidth, pixels, 0}); }
    void SetBrushColour(Colour colour) override { calls_.push_back({Op::BrushColour, colour, 0}); }

    const std::vector<Call>& Calls() const { return calls_; }
    std::span<const DevicePoint> PolygonPoints(const Call& call) const;
    // Forgets the calls but keeps the storage, as for painting again.
    void Clear();

private:
    std::vector<Call> calls_;
    std::vector<DevicePoint> polygonPoints_;
};
