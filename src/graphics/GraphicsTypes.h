#pragma once

#include "settings/SettingsVariables.h"

#include <algorithm>
#include <cmath>

// Small value types of the graphic view. Scene coordinates are the projected
// model, x to the right and y downward, in model length units; device
// coordinates are integer pixels of a canvas, with the same orientation.

struct Vec2 {
    double x = 0.0;
    double y = 0.0;
};

inline Vec2 operator+(Vec2 a, Vec2 b) {
    return {a.x + b.x, a.y + b.y};
}
inline Vec2 operator-(Vec2 a, Vec2 b) {
    return {a.x - b.x, a.y - b.y};
}
inline Vec2 operator*(Vec2 a, double s) {
    return {a.x * s, a.y * s};
}
inline bool operator==(Vec2 a, Vec2 b) {
    return a.x == b.x && a.y == b.y;
}
inline double Length(Vec2 a) {
    return std::sqrt(a.x * a.x + a.y * a.y);
}
// The z part of the cross product of two plane vectors.
inline double Cross(Vec2 a, Vec2 b) {
    return a.x * b.y - a.y * b.x;
}
// a turned by the angle (radians): (x cos − y sin, x sin + y cos).
inline Vec2 Rotated(Vec2 a, double angle) {
    const double c = std::cos(angle), s = std::sin(angle);
    return {a.x * c - a.y * s, a.x * s + a.y * c};
}
inline bool IsFinite(Vec2 a) {
    return std::isfinite(a.x) && std::isfinite(a.y);
}

// A point or vector of the model: x and y in the plane of the grillage, z
// perpendicular to it.
struct Vec3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 operator-(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3 operator*(Vec3 a, double s) {
    return {a.x * s, a.y * s, a.z * s};
}
inline bool operator==(Vec3 a, Vec3 b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}
inline double Dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Vec3 Cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double Length(Vec3 a) {
    return std::sqrt(Dot(a, a));
}

// A pixel of a canvas.
struct DevicePoint {
    int x = 0;
    int y = 0;
};

inline bool operator==(DevicePoint a, DevicePoint b) {
    return a.x == b.x && a.y == b.y;
}

// A device rectangle (a client rectangle, a printer cell): right and bottom
// are one past the last pixel, as in a window's client rectangle.
struct DeviceRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// An axis-parallel box in scene coordinates: the bounding box of a drawing
// list and the view window of a graphics window.
struct SceneBox {
    double minX = 0.0;
    double minY = 0.0;
    double maxX = 0.0;
    double maxY = 0.0;

    double Width() const { return maxX - minX; }
    double Height() const { return maxY - minY; }
    double Diagonal() const { return std::hypot(Width(), Height()); }
    // Widens the box to hold p.
    void Extend(Vec2 p) {
        minX = std::min(minX, p.x);
        minY = std::min(minY, p.y);
        maxX = std::max(maxX, p.x);
        maxY = std::max(maxY, p.y);
    }
};

inline bool operator==(const SceneBox& a, const SceneBox& b) {
    return a.minX == b.minX && a.minY == b.minY && a.maxX == b.maxX && a.maxY == b.maxY;
}
