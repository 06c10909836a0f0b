#include "graphics/MouseNavigation.h"

MouseModeMachine::MouseModeMachine(ViewState& view, const PaintContainer& list,
                                   NavigationHost& host)
    : view_(view), list_(list), host_(host) {}

void MouseModeMachine::SetTools(bool zoom, bool pan, bool rotate, NavigationCursor cursor) {
    zoomDown_ = zoom;
    panDown_ = pan;
    rotateDown_ = rotate;
    cursor_ = cursor;
    host_.ToolsChanged();
}

void MouseModeMachine::Press(DevicePoint p, MouseButton button) {
    host_.SetPaintBoxPenWidth(1);
    if (button == MouseButton::Right) {
        if (mode_ == MouseMode::RotateArmed) {
            StartRotation(p, MouseMode::Spinning);
        } else {
            view_.ZoomOut();
            host_.Repaint();
        }
        return;
    }
    if (button != MouseButton::Left)
        return;
    switch (mode_) {
    case MouseMode::Idle:
    case MouseMode::PanArmed:
        corner1_ = corner2_ = p;
        mode_ = MouseMode::Panning;
        break;
    case MouseMode::ZoomArmed:
        corner1_ = corner2_ = p;
        mode_ = MouseMode::ZoomDragging;
        break;
    case MouseMode::RotateArmed:
        StartRotation(p, MouseMode::Tilting);
        break;
    default: // a drag is under way
        break;
    }
}

void MouseModeMachine::StartRotation(DevicePoint p, MouseMode mode) {
    // While rotating, each rebuild draws the bare structure.
    savedFlags_ = host_.GetDisplayFlags();
    host_.SetDisplayFlags(ShowStructure);
    reference_ = p;
    mode_ = mode;
}

void MouseModeMachine::Move(DevicePoint p) {
    switch (mode_) {
    case MouseMode::ZoomDragging:
        corner2_ = p;
        host_.ShowRubberBand(corner1_, corner2_);
        break;
    case MouseMode::Panning:
        view_.Pan(corner1_, p, host_.PaintBoxRect());
        corner1_ = p;
        host_.Repaint();
        break;
    case MouseMode::Tilting:
        view_.Tilt(p.x - reference_.x, p.y - reference_.y);
        reference_ = p;
        host_.RebuildScene();
        break;
    case MouseMode::Spinning: {
        const DeviceRect box = host_.PaintBoxRect();
        const Vec2 centre{static_cast<double>(static_cast<int>((box.left + box.right) * 0.5)),
                          static_cast<double>(static_cast<int>((box.top + box.bottom) * 0.5))};
        const double before = PolarAngle(Vec2{double(reference_.x), double(reference_.y)} - centre);
        const double after = PolarAngle(Vec2{double(p.x), double(p.y)} - centre);
        view_.Spin(static_cast<float>(after - before));
        reference_ = p;
        host_.RebuildScene();
        break;
    }
    default:
        break;
    }
}

void MouseModeMachine::Release(DevicePoint /*p*/, MouseButton /*button*/) {
    bool repainted = true;
    switch (mode_) {
    case MouseMode::ZoomDragging:
        FinishZoomWindow();
        break;
    case MouseMode::Panning:
        mode_ = MouseMode::PanArmed;
        view_.SetKeepView(1);
        host_.Repaint();
        break;
    case MouseMode::Tilting:
    case MouseMode::Spinning:
        EndRotation();
        break;
    default:
        repainted = false;
        break;
    }
    if (repaintOnRelease_ && !repainted)
        host_.Repaint();
    repaintOnRelease_ = false;
}

void MouseModeMachine::FinishZoomWindow() {
    host_.HideRubberBand();
    if (view_.ZoomWindow(corner1_, corner2_, host_.PaintBoxRect())) {
        mode_ = MouseMode::Idle;
        view_.SetKeepView(1);
        SetTools(false, panDown_, rotateDown_, NavigationCursor::Default);
    } else {
        // A click without a drag, or a window too small: ready for the next try.
        mode_ = MouseMode::ZoomArmed;
    }
    host_.Repaint();
}

void MouseModeMachine::EndRotation() {
    mode_ = MouseMode::RotateArmed;
    host_.SetDisplayFlags(savedFlags_);
    host_.RebuildScene();
    host_.Repaint();
}

void MouseModeMachine::DoubleClick(DevicePoint p, MouseButton button) {
    if (button == MouseButton::Left) {
        view_.ZoomIn();
        repaintOnRelease_ = true;
    }
    Press(p, button);
}

void MouseModeMachine::ZoomWindowButton(bool down) {
    if (down) {
        mode_ = MouseMode::ZoomArmed;
        SetTools(true, false, false, NavigationCursor::Cross);
    } else {
        mode_ = MouseMode::Idle;
        SetTools(false, panDown_, rotateDown_, NavigationCursor::Default);
    }
}

void MouseModeMachine::PanButton(bool down) {
    if (down) {
        mode_ = MouseMode::PanArmed;
        SetTools(false, true, false, NavigationCursor::SizeAll);
    } else {
        mode_ = MouseMode::Idle;
        SetTools(zoomDown_, false, rotateDown_, NavigationCursor::Default);
    }
}

void MouseModeMachine::RotateButton(bool down) {
    if (down) {
        mode_ = MouseMode::RotateArmed;
        SetTools(false, false, true, NavigationCursor::SizeAll);
    } else {
        mode_ = MouseMode::Idle;
        SetTools(zoomDown_, true, false, cursor_);
    }
}

void MouseModeMachine::ReleaseZoomWindowButton() {
    if (!zoomDown_)
        return;
    // The released "Ausschnitt" button leaves its mode as well.
    if (mode_ == MouseMode::ZoomArmed)
        mode_ = MouseMode::Idle;
    SetTools(false, panDown_, rotateDown_, NavigationCursor::Default);
}

void MouseModeMachine::FitAllButton() {
    ReleaseZoomWindowButton();
    view_.FitAll(list_);
    view_.SetKeepView(0);
    host_.Repaint();
}

void MouseModeMachine::ResetViewButton() {
    switch (mode_) {
    case MouseMode::Tilting:
    case MouseMode::Spinning:
        mode_ = MouseMode::RotateArmed;
        host_.SetDisplayFlags(savedFlags_);
        break;
    case MouseMode::Panning:
        mode_ = MouseMode::PanArmed;
        break;
    case MouseMode::ZoomDragging:
        host_.HideRubberBand();
        mode_ = MouseMode::ZoomArmed;
        break;
    default:
        break;
    }
    ReleaseZoomWindowButton();
    InitialView(view_.Matrix());
    view_.SetKeepView(0);
    host_.RebuildScene();
    host_.Repaint();
}
