#include "graphics/Render.h"

#include "graphics/RecordCursor.h"

#include <algorithm>
#include <vector>

namespace {

bool Inside(Vec2 p) {
    return std::fabs(p.x) <= kDeviceLimit && std::fabs(p.y) <= kDeviceLimit;
}

// Liang–Barsky clipping of the segment a–b to the square ±kDeviceLimit.
// False when nothing of it lies inside (or a coordinate is not finite). A
// clipped end lies exactly on the side that cut it.
bool ClipLine(Vec2& a, Vec2& b) {
    if (Inside(a) && Inside(b))
        return true;
    if (!IsFinite(a) || !IsFinite(b))
        return false;
    const Vec2 d = b - a;
    // Sides: x ≥ −L, x ≤ L, y ≥ −L, y ≤ L.
    const double p[4] = {-d.x, d.x, -d.y, d.y};
    const double q[4] = {a.x + kDeviceLimit, kDeviceLimit - a.x, a.y + kDeviceLimit,
                         kDeviceLimit - a.y};
    double t0 = 0.0, t1 = 1.0;
    int side0 = -1, side1 = -1;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return false;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0.0 && r > t0)
            t0 = r, side0 = i;
        else if (p[i] > 0.0 && r < t1)
            t1 = r, side1 = i;
        if (t0 > t1)
            return false;
    }
    const auto snap = [](Vec2& v, int side) {
        const double bound = side % 2 ? kDeviceLimit : -kDeviceLimit;
        (side < 2 ? v.x : v.y) = bound;
    };
    const Vec2 start = a;
    if (side0 >= 0) {
        a = start + d * t0;
        snap(a, side0);
    }
    if (side1 >= 0) {
        b = start + d * t1;
        snap(b, side1);
    }
    return true;
}

// Sutherland–Hodgman clipping of a closed polygon to one side of the square:
// the half plane where sign × coordinate ≤ kDeviceLimit.
void ClipPolygonSide(const std::vector<Vec2>& in, std::vector<Vec2>& out, bool useX, double sign) {
    out.clear();
    const auto value = [&](Vec2 p) { return sign * (useX ? p.x : p.y); };
    for (size_t i = 0; i < in.size(); ++i) {
        const Vec2 a = in[i];
        const Vec2 b = in[(i + 1) % in.size()];
        const bool aIn = value(a) <= kDeviceLimit;
        const bool bIn = value(b) <= kDeviceLimit;
        if (aIn)
            out.push_back(a);
        if (aIn != bIn) {
            const double t = (kDeviceLimit - value(a)) / (value(b) - value(a));
            Vec2 cut = a + (b - a) * t;
            (useX ? cut.x : cut.y) = sign * kDeviceLimit; // exactly on the side
            out.push_back(cut);
        }
    }
}

// Clips the polygon in place; false when nothing of it is left.
bool ClipPolygon(std::vector<Vec2>& points, std::vector<Vec2>& scratch) {
    if (std::all_of(points.begin(), points.end(), Inside))
        return true;
    if (!std::all_of(points.begin(), points.end(), [](Vec2 p) { return IsFinite(p); }))
        return false;
    for (const bool useX : {true, false}) {
        for (const double sign : {1.0, -1.0}) {
            ClipPolygonSide(points, scratch, useX, sign);
            points.swap(scratch);
        }
    }
    return !points.empty();
}

DevicePoint Truncated(Vec2 p) {
    return {ToDevice(p.x), ToDevice(p.y)};
}

} // namespace

int DevicePenWidth(const ViewMapping& mapping, double width) {
    return std::max(0, ToDevice(width * std::min(mapping.scaleX, mapping.scaleY)));
}

void Render(const PaintContainer& list, Canvas& canvas, const ViewMapping& mapping) {
    RecordCursor cursor(list);
    std::vector<Vec2> exact, scratch;
    std::vector<DevicePoint> device;
    while (cursor.Has(4)) {
        switch (cursor.Read<std::int32_t>()) {
        case kPaintLine: {
            Vec2 a = SceneToDeviceExact(mapping, cursor.ReadPoint());
            Vec2 b = SceneToDeviceExact(mapping, cursor.ReadPoint());
            if (ClipLine(a, b)) {
                canvas.MoveTo(Truncated(a));
                canvas.LineTo(Truncated(b));
            }
            break;
        }
        case kPaintPolygon: {
            const auto n = cursor.Read<std::int32_t>();
            exact.resize(static_cast<size_t>(std::max(n, 0)));
            for (Vec2& p : exact)
                p = SceneToDeviceExact(mapping, cursor.ReadPoint());
            if (exact.empty() || !ClipPolygon(exact, scratch))
                break;
            device.resize(exact.size());
            std::transform(exact.begin(), exact.end(), device.begin(), Truncated);
            canvas.Polygon(device);
            break;
        }
        case kPaintBrush:
            canvas.SetBrushColour(cursor.Read<Colour>());
            break;
        case kPaintPenColour:
            canvas.SetPenColour(cursor.Read<Colour>());
            break;
        case kPaintPenWidth:
            canvas.SetPenWidth(DevicePenWidth(mapping, cursor.Read<double>()));
            break;
        default:
            return; // not a record of this list: stop rather than misread
        }
    }
}

bool RenderFitted(const PaintContainer& list, Canvas& canvas, const SceneBox& window,
                  const DeviceRect& device, double aspect) {
    const auto mapping = FitMapping(window, device, aspect);
    if (!mapping)
        return false;
    Render(list, canvas, *mapping);
    return true;
}
