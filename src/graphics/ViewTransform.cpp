#include "graphics/ViewTransform.h"

#include "graphics/ViewMapping.h"
#include "model/Geometry.h"
#include "model/Tables.h"

#include <algorithm>
#include <vector>

void ViewMatrix::SetColumn(int column, Vec3 v) {
    m[0][column] = v.x;
    m[1][column] = v.y;
    m[2][column] = v.z;
}

void InitialView(ViewMatrix& view) {
    const double sa = std::sin(kInitialAlpha), ca = std::cos(kInitialAlpha);
    const double sb = std::sin(kInitialBeta), cb = std::cos(kInitialBeta);
    const double sc = std::sin(kInitialGamma), cc = std::cos(kInitialGamma);
    const double rows[3][3] = {
        {cc * cb, -sc * cb, sb},
        {sc * ca + cc * sb * sa, cc * ca - sc * sb * sa, -cb * sa},
        {sc * sa - cc * sb * ca, cc * sa + sc * sb * ca, cb * ca},
    };
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            view.m[i][j] = rows[i][j];
}

Vec2 Project(const ViewMatrix& view, Vec3 p) {
    const Vec3 d = p - view.Centre();
    const auto& m = view.m;
    return {m[0][0] * d.x + m[0][1] * d.y + m[0][2] * d.z,
            m[1][0] * d.x + m[1][1] * d.y + m[1][2] * d.z};
}

Vec3 Rotate(Vec3 v, Vec3 k) {
    const double theta = Length(k);
    if (theta == 0.0)
        return v;
    const Vec3 axis = k * (1.0 / theta);
    const double along = Dot(v, axis);
    if (along == 1.0)
        return v;
    const Vec3 p = axis * along;
    const Vec3 r = v - p;
    const Vec3 w = Cross(axis, r);
    Vec3 turned = p + r * std::cos(theta) + w * std::sin(theta);
    const double length = Length(turned);
    if (length != 0.0)
        turned = turned * (Length(v) / length);
    return turned;
}

double PolarAngle(double x, double y) {
    return DirectionAngle(x, y);
}

bool IsViewable(const SceneBox& window) {
    const double w = window.Width(), h = window.Height();
    return std::isfinite(w) && std::isfinite(h) && w >= 0 && h >= 0 && (w > 0 || h > 0);
}

ViewState::ViewState() {
    InitialView(view_);
    window_ = PaintContainer().BoundingBox();
}

float ViewState::PrepareScene(std::span<const Vec2> nodes) {
    Vec3 centre;
    if (!nodes.empty()) {
        for (Vec2 node : nodes) {
            centre.x += node.x;
            centre.y += node.y;
        }
        centre = centre * (1.0 / static_cast<double>(nodes.size()));
    }
    view_.SetColumn(3, centre);

    SceneBox box; // the box that holds only (0, 0)
    for (Vec2 node : nodes)
        box.Extend(Project({node.x, node.y, 0.0}));
    const auto size = static_cast<float>(box.Diagonal());
    sceneSize_ = std::isfinite(size) ? size : 0.0f;
    return sceneSize_;
}

float ViewState::PrepareScene(NodeClass& nodes) {
    std::vector<Vec2> points;
    const int count = nodes.ValidCount();
    points.reserve(static_cast<size_t>(count));
    for (int k = 0; k < count; ++k) {
        const NodeRec& node = *nodes.ValidRow(k);
        points.push_back({node.x, node.y});
    }
    return PrepareScene(points);
}

void ViewState::FinishScene(const PaintContainer& list) {
    if (keepView_ == 0)
        window_ = list.BoundingBox();
}

bool ViewState::Pan(DevicePoint from, DevicePoint to, const DeviceRect& paintBox) {
    if (!IsViewable(window_))
        return false;
    const auto mapping = FitMapping(window_, paintBox, 1.0);
    if (!mapping || mapping->scaleX == 0 || mapping->scaleY == 0)
        return false;
    const double dx = (from.x - to.x) / mapping->scaleX;
    const double dy = (from.y - to.y) / mapping->scaleY;
    window_.minX += dx;
    window_.maxX += dx;
    window_.minY += dy;
    window_.maxY += dy;
    return true;
}

bool ViewState::ZoomWindow(DevicePoint c1, DevicePoint c2, const DeviceRect& paintBox) {
    if (std::abs(c2.x - c1.x) < kMinimumZoomPixels || std::abs(c2.y - c1.y) < kMinimumZoomPixels)
        return false;
    if (!IsViewable(window_))
        return false;
    const auto mapping = FitMapping(window_, paintBox, 1.0);
    if (!mapping)
        return false;
    const Vec2 low = DeviceToScene(*mapping, std::min(c1.x, c2.x), std::min(c1.y, c2.y));
    const Vec2 high = DeviceToScene(*mapping, std::max(c1.x, c2.x), std::max(c1.y, c2.y));
    const SceneBox zoomed{low.x, low.y, high.x, high.y};
    if (!IsViewable(zoomed) || zoomed.Width() <= 0 || zoomed.Height() <= 0 ||
        std::max(zoomed.Width(), zoomed.Height()) < MinimumExtent())
        return false;
    window_ = zoomed;
    return true;
}

bool ViewState::ZoomIn() {
    if (!IsViewable(window_))
        return false;
    const double w = window_.Width(), h = window_.Height();
    if ((1 - 2 * kZoomStep) * std::max(w, h) < MinimumExtent())
        return false;
    window_ = {window_.minX + kZoomStep * w, window_.minY + kZoomStep * h,
               window_.maxX - kZoomStep * w, window_.maxY - kZoomStep * h};
    return true;
}

bool ViewState::ZoomOut() {
    if (!IsViewable(window_))
        return false;
    const double w = window_.Width(), h = window_.Height();
    const SceneBox wider{window_.minX - kZoomStep * w, window_.minY - kZoomStep * h,
                         window_.maxX + kZoomStep * w, window_.maxY + kZoomStep * h};
    if (!IsViewable(wider))
        return false;
    window_ = wider;
    return true;
}

void ViewState::RotateColumns(Vec3 axis) {
    for (int column = 0; column < 3; ++column)
        view_.SetColumn(column, Rotate(view_.Column(column), axis));
}

void ViewState::Tilt(int dx, int dy) {
    RotateColumns({kTiltPerPixel * dy, -kTiltPerPixel * dx, 0.0});
}

void ViewState::Spin(double angle) {
    RotateColumns({0.0, 0.0, angle});
}
