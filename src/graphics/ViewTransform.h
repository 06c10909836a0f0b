#pragma once

#include "graphics/GraphicsTypes.h"
#include "graphics/PaintContainer.h"

#include <span>

class NodeClass;

// The rotation and centre of a graphics window's 3-D view: three rows of four
// values; columns 0–2 are the rotation R (row i gives view axis i, column j
// is model axis j in view coordinates), column 3 holds the centre (cx, cy, cz).
struct ViewMatrix {
    double m[3][4] = {};

    double R(int row, int column) const { return m[row][column]; }
    Vec3 Column(int column) const { return {m[0][column], m[1][column], m[2][column]}; }
    void SetColumn(int column, Vec3 v);
    Vec3 Centre() const { return Column(3); }
};

// The initial rotation R = Rx(α)·Ry(β)·Rz(γ) with α = −1.2, β = 0, γ = −0.4:
// x points right and slightly up on the screen, y right and down, z down.
inline constexpr double kInitialAlpha = -1.2;
inline constexpr double kInitialBeta = 0.0;
inline constexpr double kInitialGamma = -0.4;
void InitialView(ViewMatrix& view);

// Orthographic projection of a model point into scene coordinates (row 2 of
// R is not used): d = p − centre, X = R0·d, Y = R1·d.
Vec2 Project(const ViewMatrix& view, Vec3 p);

// Rodrigues rotation of v about the axis k by the angle |k|; v unchanged for
// a zero axis or when v lies along k (v·k̂ = 1). The result keeps the length
// of v.
Vec3 Rotate(Vec3 v, Vec3 k);

// Polar angle of a plane vector, in (−π/2, 3π/2]; 0 for a vector shorter than
// 1e-8. Equals atan2(y, x) up to a multiple of 2π.
double PolarAngle(double x, double y);
inline double PolarAngle(Vec2 v) {
    return PolarAngle(v.x, v.y);
}

// Tilt rotates by 0.002 radian per pixel of pointer travel.
inline constexpr double kTiltPerPixel = 0.002;
// Zoom in and zoom out move every side of the view window by a tenth of its
// extent.
inline constexpr double kZoomStep = 0.1;
// Zoom in and zoom windows stop before the view window's larger extent
// becomes smaller than this fraction of SceneSize.
inline constexpr double kMinimumZoomExtent = 1e-6;
// A zoom window must be at least this many pixels wide and high.
inline constexpr int kMinimumZoomPixels = 2;

// The view state of one graphics window: the view matrix, the view window
// (the part of the scene fitted into the paint box), the keep-view flag and
// the SceneSize of the last rebuild. The mouse modes that drive it are in
// MouseModeMachine.
class ViewState {
public:
    // The initial rotation, centre (0, 0, 0), the view window of an empty list
    // and keep-view 0, as for a new window.
    ViewState();

    const ViewMatrix& Matrix() const { return view_; }
    ViewMatrix& Matrix() { return view_; }
    Vec2 Project(Vec3 p) const { return ::Project(view_, p); }

    // Start of a scene rebuild: the centre becomes the mean of the node
    // coordinates (z = 0; (0, 0, 0) without nodes), and SceneSize the
    // diagonal of the box of the projected nodes and the point (0, 0), kept
    // in single precision. A SceneSize that is not a finite number counts as
    // 0. Nothing is drawn when it is not greater than 0.
    float PrepareScene(std::span<const Vec2> nodes);
    // The same for the valid rows of the node table.
    float PrepareScene(NodeClass& nodes);
    // SceneSize of the last PrepareScene.
    float SceneSize() const { return sceneSize_; }

    const SceneBox& Window() const { return window_; }
    void SetWindow(const SceneBox& window) { window_ = window; }
    // 0: the next rebuild fits the view window to the whole scene; 1: it
    // keeps the view window.
    int KeepView() const { return keepView_; }
    void SetKeepView(int keep) { keepView_ = keep; }
    // End of a scene rebuild: with keep-view 0 the view window becomes the
    // drawing list's bounding box.
    void FinishScene(const PaintContainer& list);

    // The view window becomes the list's bounding box ("Alles zeigen").
    void FitAll(const PaintContainer& list) { window_ = list.BoundingBox(); }
    // Moves the view window so that the picture follows the pointer from
    // `from` to `to` (device pixels in the paint box). False when the view
    // window cannot be mapped.
    bool Pan(DevicePoint from, DevicePoint to, const DeviceRect& paintBox);
    // The view window becomes the scene rectangle under the device rectangle
    // with the corners c1 and c2. Accepted only when that rectangle is at
    // least kMinimumZoomPixels wide and high, the current window can be
    // mapped, and the new window is not smaller than the zoom limit; false
    // (and the view unchanged) otherwise.
    bool ZoomWindow(DevicePoint c1, DevicePoint c2, const DeviceRect& paintBox);
    // Every side moves in by a tenth of the extent (0.8 of it remains);
    // false, and nothing changes, when the window would become smaller than
    // the zoom limit or the window is empty.
    bool ZoomIn();
    // Every side moves out by a tenth of the extent (1.2 of it); false when
    // the window is empty or would not stay finite.
    bool ZoomOut();

    // Turns the view by a pointer motion of dx, dy pixels (y downward): about
    // the in-screen axis perpendicular to the motion, kTiltPerPixel per pixel.
    void Tilt(int dx, int dy);
    // Turns the view about the screen normal by the angle (radians).
    void Spin(double angle);

    // The smallest extent a zoom may leave: kMinimumZoomExtent × SceneSize.
    double MinimumExtent() const { return kMinimumZoomExtent * sceneSize_; }

private:
    void RotateColumns(Vec3 axis);

    ViewMatrix view_;
    SceneBox window_;
    int keepView_ = 0;
    float sceneSize_ = 0.0f;
};

// A view window that can be shown: finite, neither extent negative, not both
// zero.
bool IsViewable(const SceneBox& window);
