#include "graphics/ViewMapping.h"

#include "graphics/PaintContainer.h"

#include <algorithm>

std::optional<ViewMapping> FitMapping(const SceneBox& window, const DeviceRect& device,
                                      double aspect) {
    const double dx = window.Width();
    const double dy = window.Height();
    if ((dx == 0.0 && dy == 0.0) || !std::isfinite(dx) || !std::isfinite(dy))
        return std::nullopt;
    double sx = kEmptyBoxLimit;
    double sy = kEmptyBoxLimit;
    if (dx > 0)
        sx = (device.right - device.left) / (dx * 1.1);
    if (dy > 0)
        sy = (device.bottom - device.top) * aspect / (dy * 1.1);
    const double s = std::min(sx, sy);

    ViewMapping mapping;
    mapping.window = window;
    mapping.scaleX = s;
    mapping.scaleY = s / aspect;
    if (s != 0) {
        mapping.offsetX =
            (device.left + device.right) * 0.5 / s - (window.minX + window.maxX) * 0.5;
        mapping.offsetY =
            (device.top + device.bottom) * 0.5 / mapping.scaleY - (window.minY + window.maxY) * 0.5;
    }
    return mapping;
}

int ToDevice(double value) {
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::clamp(value, -kDeviceLimit, kDeviceLimit));
}

Vec2 SceneToDeviceExact(const ViewMapping& mapping, Vec2 p) {
    return {(p.x + mapping.offsetX) * mapping.scaleX, (p.y + mapping.offsetY) * mapping.scaleY};
}

DevicePoint SceneToDevice(const ViewMapping& mapping, double x, double y) {
    const Vec2 exact = SceneToDeviceExact(mapping, {x, y});
    return {ToDevice(exact.x), ToDevice(exact.y)};
}

Vec2 DeviceToScene(const ViewMapping& mapping, int X, int Y) {
    if (mapping.scaleX == 0 || mapping.scaleY == 0)
        return {0.0, 0.0};
    return {X / mapping.scaleX - mapping.offsetX, Y / mapping.scaleY - mapping.offsetY};
}
