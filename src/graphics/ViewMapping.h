#pragma once

#include "graphics/GraphicsTypes.h"

#include <optional>

// How a window of scene coordinates lies in a device rectangle:
// X = trunc((x + offsetX) × scaleX), Y = trunc((y + offsetY) × scaleY).
struct ViewMapping {
    SceneBox window;
    double scaleX = 0.0;
    double scaleY = 0.0;
    double offsetX = 0.0;
    double offsetY = 0.0;
};

// Fits the window into the device rectangle: centred, filling 1/1.1 of the
// rectangle along the limiting direction, with the same physical scale in
// both directions. aspect is the device's horizontal ÷ vertical resolution
// (1 for the screen). A window with zero width but some height (or the
// reverse) is fitted by the other direction alone. A window of zero width and
// zero height, or one with a coordinate that is not finite, cannot be mapped:
// the result is empty and the caller draws nothing.
std::optional<ViewMapping> FitMapping(const SceneBox& window, const DeviceRect& device,
                                      double aspect);

// Device coordinates are kept within ±kDeviceLimit: a point further out (a
// deep zoom, a huge model) is clamped to the limit in double before it is
// truncated, so the conversion to int is always defined. 2^24 is far beyond
// any screen or page and still exact in single precision.
inline constexpr double kDeviceLimit = 16777216.0;

// Truncates a device coordinate toward zero after clamping it to
// ±kDeviceLimit; a NaN becomes 0.
int ToDevice(double value);

// The pixel of a scene point: truncation toward zero, as every conversion of
// a real coordinate to a device integer in the graphic view.
DevicePoint SceneToDevice(const ViewMapping& mapping, double x, double y);
inline DevicePoint SceneToDevice(const ViewMapping& mapping, Vec2 p) {
    return SceneToDevice(mapping, p.x, p.y);
}
// The unclamped device position of a scene point, before truncation.
Vec2 SceneToDeviceExact(const ViewMapping& mapping, Vec2 p);

// The scene point of a pixel; (0, 0) when a scale is 0.
Vec2 DeviceToScene(const ViewMapping& mapping, int X, int Y);
