#pragma once

#include "graphics/DisplayFlags.h"
#include "graphics/GraphicsTypes.h"
#include "graphics/PaintContainer.h"
#include "graphics/ViewTransform.h"

// Mouse navigation of a graphics window without the window: the mode machine
// that the paint box's mouse events and the navigation buttons of the toolbar
// drive. The window (a NavigationHost) maps its events onto it and carries out
// what the machine asks for: rubber band, rebuild, repaint, button states and
// cursor.

enum class MouseMode : int {
    Idle = 0,         // left press starts panning
    ZoomArmed = 1,    // "Ausschnitt" down: left press starts a zoom window
    ZoomDragging = 2, // dragging the zoom window
    PanArmed = 3,     // "Verschieben", or a pan finished: left press pans
    Panning = 4,      // dragging the picture
    RotateArmed = 5,  // "Rotieren …" down: left press tilts, right press spins
    Tilting = 6,
    Spinning = 7,
};

enum class MouseButton { Left, Right, Middle };

enum class NavigationCursor { Default, Cross, SizeAll };

// What the mode machine needs from its window.
class NavigationHost {
public:
    virtual ~NavigationHost() = default;

    // The paint box's client rectangle, into which the view window is fitted.
    virtual DeviceRect PaintBoxRect() const = 0;
    // Sets the pen width of the paint box's canvas (every press sets 1).
    virtual void SetPaintBoxPenWidth(int pixels) = 0;
    // Shows the zoom window being dragged as a rectangle with the corners c1
    // and c2 over the picture (replacing the one shown before), and removes it.
    virtual void ShowRubberBand(DevicePoint c1, DevicePoint c2) = 0;
    virtual void HideRubberBand() = 0;
    // Records the scene anew from the current view state and display flags
    // (which includes invalidating the paint box).
    virtual void RebuildScene() = 0;
    // Paints the drawing list again.
    virtual void Repaint() = 0;
    virtual DisplayFlags GetDisplayFlags() const = 0;
    virtual void SetDisplayFlags(DisplayFlags flags) = 0;
    // The state of the navigation buttons or the cursor changed.
    virtual void ToolsChanged() = 0;
};

// The mouse modes:
//
// | mode | left press            | move                  | release                    |
// |------|-----------------------|-----------------------|----------------------------|
// | 0, 3 | corners = point, → 4  |                       |                            |
// | 1    | corners = point, → 2  |                       |                            |
// | 2    |                       | corner 2, rubber band | zoom window → 0 (else → 1) |
// | 4    |                       | pan                   | keep view, → 3             |
// | 5    | save flags, → 6       |                       |                            |
// | 6, 7 |                       | tilt / spin, rebuild  | restore flags, rebuild, →5 |
//
// A right press in mode 5 does what a left press does but enters mode 7 (spin);
// in every other mode it zooms out. Every press first sets the pen width 1.
// A left double click zooms in and then acts as a press; the release after it
// always repaints.
class MouseModeMachine {
public:
    // The window's view state and drawing list, and the window itself. At
    // creation: mode 0, "Verschieben" down, the default cursor.
    MouseModeMachine(ViewState& view, const PaintContainer& list, NavigationHost& host);

    void Press(DevicePoint p, MouseButton button);
    void Move(DevicePoint p);
    void Release(DevicePoint p, MouseButton button);
    // The second press of a double click (instead of Press).
    void DoubleClick(DevicePoint p, MouseButton button);

    // The navigation buttons of the toolbar, as the user sets them.
    void ZoomWindowButton(bool down); // "Ausschnitt"
    void PanButton(bool down);        // "Verschieben"
    void RotateButton(bool down);     // "Rotieren (linke ode rechte Maustaste)"
    void FitAllButton();              // "Alles zeigen"
    // "Ansicht zurücksetzen": the view of a new window again, the initial
    // rotation with the whole scene fitted; "Ausschnitt" is released, and a
    // drag under way ends as if the button had been released.
    void ResetViewButton();

    MouseMode Mode() const { return mode_; }
    bool ZoomWindowDown() const { return zoomDown_; }
    bool PanDown() const { return panDown_; }
    bool RotateDown() const { return rotateDown_; }
    NavigationCursor Cursor() const { return cursor_; }
    // The zoom window's corners; corner 1 is also the last pointer position
    // while panning.
    DevicePoint Corner1() const { return corner1_; }
    DevicePoint Corner2() const { return corner2_; }
    // The last pointer position while tilting or spinning.
    DevicePoint RotationReference() const { return reference_; }
    // The display flags saved for the time of a rotation.
    DisplayFlags SavedFlags() const { return savedFlags_; }

private:
    void StartRotation(DevicePoint p, MouseMode mode);
    void EndRotation();
    void FinishZoomWindow();
    void ReleaseZoomWindowButton();
    void SetTools(bool zoom, bool pan, bool rotate, NavigationCursor cursor);

    ViewState& view_;
    const PaintContainer& list_;
    NavigationHost& host_;
    MouseMode mode_ = MouseMode::Idle;
    DevicePoint corner1_, corner2_, reference_;
    DisplayFlags savedFlags_ = 0;
    bool zoomDown_ = false;
    bool panDown_ = true;
    bool rotateDown_ = false;
    NavigationCursor cursor_ = NavigationCursor::Default;
    bool repaintOnRelease_ = false;
};
