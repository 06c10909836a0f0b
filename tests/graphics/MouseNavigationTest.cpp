#include "graphics/MouseNavigation.h"

#include "GraphicsTestSupport.h"

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace {

using M = MouseMode;
using B = MouseButton;

// A window without a window: it notes what the machine asks for.
class FakeHost : public NavigationHost {
public:
    DeviceRect PaintBoxRect() const override { return {0, 0, 110, 110}; }
    void SetPaintBoxPenWidth(int pixels) override { Note("pen" + std::to_string(pixels)); }
    void ShowRubberBand(DevicePoint a, DevicePoint b) override {
        Note("band " + std::to_string(a.x) + "," + std::to_string(a.y) + " " + std::to_string(b.x) +
             "," + std::to_string(b.y));
    }
    void HideRubberBand() override { Note("hide"); }
    void RebuildScene() override { Note("rebuild"); }
    void Repaint() override { Note("repaint"); }
    DisplayFlags GetDisplayFlags() const override { return flags; }
    void SetDisplayFlags(DisplayFlags f) override {
        flags = f;
        Note("flags " + std::to_string(f));
    }
    void ToolsChanged() override { Note("tools"); }

    void Note(const std::string& what) { log += (log.empty() ? "" : "; ") + what; }

    DisplayFlags flags = ShowStructure | ShowLoads | ShowValues; // 8 | 128 | 8192
    std::string log;
};

struct Window {
    Window() { view.SetWindow({0, 0, 10, 5}); } // scale 10 in the 110 × 110 box

    ViewState view;
    PaintContainer list;
    FakeHost host;
    MouseModeMachine machine{view, list, host};
};

// Brings a fresh machine into a mode the way a user does.
void Enter(Window& w, M mode) {
    switch (mode) {
    case M::Idle:
        break;
    case M::ZoomArmed:
        w.machine.ZoomWindowButton(true);
        break;
    case M::ZoomDragging:
        w.machine.ZoomWindowButton(true);
        w.machine.Press({30, 40}, B::Left);
        break;
    case M::PanArmed:
        w.machine.PanButton(true);
        break;
    case M::Panning:
        w.machine.Press({30, 40}, B::Left);
        break;
    case M::RotateArmed:
        w.machine.RotateButton(true);
        break;
    case M::Tilting:
        w.machine.RotateButton(true);
        w.machine.Press({30, 40}, B::Left);
        break;
    case M::Spinning:
        w.machine.RotateButton(true);
        w.machine.Press({30, 40}, B::Right);
        break;
    }
    ASSERT_EQ(w.machine.Mode(), mode);
    w.host.log.clear();
}

enum class Event { LeftPress, RightPress, MiddlePress, Move, Release, DoubleClick };

void Send(Window& w, Event event) {
    const DevicePoint p{80, 20};
    switch (event) {
    case Event::LeftPress:
        return w.machine.Press(p, B::Left);
    case Event::RightPress:
        return w.machine.Press(p, B::Right);
    case Event::MiddlePress:
        return w.machine.Press(p, B::Middle);
    case Event::Move:
        return w.machine.Move(p);
    case Event::Release:
        return w.machine.Release(p, B::Left);
    case Event::DoubleClick:
        return w.machine.DoubleClick(p, B::Left);
    }
}

struct Transition {
    M from;
    Event event;
    M to;
    const char* log; // what the window was asked to do, in order
};

// Every mode with every event (the press point of a drag is (30, 40), the
// event's point (80, 20); display flags 8 | 128 | 8192 = 8328).
const Transition kTransitions[] = {
    {M::Idle, Event::LeftPress, M::Panning, "pen1"},
    {M::Idle, Event::RightPress, M::Idle, "pen1; repaint"},
    {M::Idle, Event::MiddlePress, M::Idle, "pen1"},
    {M::Idle, Event::Move, M::Idle, ""},
    {M::Idle, Event::Release, M::Idle, ""},
    {M::Idle, Event::DoubleClick, M::Panning, "pen1"},

    {M::ZoomArmed, Event::LeftPress, M::ZoomDragging, "pen1"},
    {M::ZoomArmed, Event::RightPress, M::ZoomArmed, "pen1; repaint"},
    {M::ZoomArmed, Event::MiddlePress, M::ZoomArmed, "pen1"},
    {M::ZoomArmed, Event::Move, M::ZoomArmed, ""},
    {M::ZoomArmed, Event::Release, M::ZoomArmed, ""},
    {M::ZoomArmed, Event::DoubleClick, M::ZoomDragging, "pen1"},

    {M::ZoomDragging, Event::LeftPress, M::ZoomDragging, "pen1"},
    {M::ZoomDragging, Event::RightPress, M::ZoomDragging, "pen1; repaint"},
    {M::ZoomDragging, Event::MiddlePress, M::ZoomDragging, "pen1"},
    {M::ZoomDragging, Event::Move, M::ZoomDragging, "band 30,40 80,20"},
    // released without a drag: corners equal, back to the armed mode
    {M::ZoomDragging, Event::Release, M::ZoomArmed, "hide; repaint"},
    {M::ZoomDragging, Event::DoubleClick, M::ZoomDragging, "pen1"},

    {M::PanArmed, Event::LeftPress, M::Panning, "pen1"},
    {M::PanArmed, Event::RightPress, M::PanArmed, "pen1; repaint"},
    {M::PanArmed, Event::MiddlePress, M::PanArmed, "pen1"},
    {M::PanArmed, Event::Move, M::PanArmed, ""},
    {M::PanArmed, Event::Release, M::PanArmed, ""},
    {M::PanArmed, Event::DoubleClick, M::Panning, "pen1"},

    {M::Panning, Event::LeftPress, M::Panning, "pen1"},
    {M::Panning, Event::RightPress, M::Panning, "pen1; repaint"},
    {M::Panning, Event::MiddlePress, M::Panning, "pen1"},
    {M::Panning, Event::Move, M::Panning, "repaint"},
    {M::Panning, Event::Release, M::PanArmed, "repaint"},
    {M::Panning, Event::DoubleClick, M::Panning, "pen1"},

    {M::RotateArmed, Event::LeftPress, M::Tilting, "pen1; flags 8"},
    {M::RotateArmed, Event::RightPress, M::Spinning, "pen1; flags 8"},
    {M::RotateArmed, Event::MiddlePress, M::RotateArmed, "pen1"},
    {M::RotateArmed, Event::Move, M::RotateArmed, ""},
    {M::RotateArmed, Event::Release, M::RotateArmed, ""},
    {M::RotateArmed, Event::DoubleClick, M::Tilting, "pen1; flags 8"},

    {M::Tilting, Event::LeftPress, M::Tilting, "pen1"},
    {M::Tilting, Event::RightPress, M::Tilting, "pen1; repaint"},
    {M::Tilting, Event::MiddlePress, M::Tilting, "pen1"},
    {M::Tilting, Event::Move, M::Tilting, "rebuild"},
    {M::Tilting, Event::Release, M::RotateArmed, "flags 8328; rebuild; repaint"},
    {M::Tilting, Event::DoubleClick, M::Tilting, "pen1"},

    {M::Spinning, Event::LeftPress, M::Spinning, "pen1"},
    {M::Spinning, Event::RightPress, M::Spinning, "pen1; repaint"},
    {M::Spinning, Event::MiddlePress, M::Spinning, "pen1"},
    {M::Spinning, Event::Move, M::Spinning, "rebuild"},
    {M::Spinning, Event::Release, M::RotateArmed, "flags 8328; rebuild; repaint"},
    {M::Spinning, Event::DoubleClick, M::Spinning, "pen1"},
};

TEST(MouseModes, EveryModeWithEveryEvent) {
    for (const Transition& t : kTransitions) {
        Window w;
        Enter(w, t.from);
        Send(w, t.event);
        EXPECT_EQ(w.machine.Mode(), t.to)
            << "from " << static_cast<int>(t.from) << " event " << static_cast<int>(t.event);
        EXPECT_EQ(w.host.log, t.log)
            << "from " << static_cast<int>(t.from) << " event " << static_cast<int>(t.event);
    }
}

TEST(MouseModes, RightPressOutsideTheRotateModesZoomsOut) {
    for (M mode : {M::Idle, M::ZoomArmed, M::PanArmed, M::Panning, M::Tilting}) {
        Window w;
        Enter(w, mode);
        w.machine.Press({1, 1}, B::Right);
        EXPECT_EQ(w.view.Window(), (SceneBox{-1, -0.5, 11, 5.5})) << static_cast<int>(mode);
    }
}

TEST(MouseModes, DoubleClickZoomsInAndTheFollowingReleaseRepaints) {
    for (M mode : {M::Idle, M::ZoomArmed, M::PanArmed, M::RotateArmed}) {
        Window w;
        Enter(w, mode);
        w.machine.DoubleClick({80, 20}, B::Left);
        EXPECT_EQ(w.view.Window(), (SceneBox{1, 0.5, 9, 4.5})) << static_cast<int>(mode);
        w.host.log.clear();
        w.machine.Release({80, 20}, B::Left);
        EXPECT_NE(w.host.log.find("repaint"), std::string::npos) << static_cast<int>(mode);
        EXPECT_EQ(w.host.log.find("repaint"), w.host.log.rfind("repaint")) << "repaint once";
    }
    Window w; // a right double click is only a press
    w.machine.DoubleClick({80, 20}, B::Right);
    EXPECT_EQ(w.view.Window(), (SceneBox{-1, -0.5, 11, 5.5}));
}

TEST(MouseModes, ReleaseOfAZoomWindowTakesItKeepsTheViewAndReleasesTheButton) {
    Window w;
    w.machine.ZoomWindowButton(true);
    w.machine.Press({55, 80}, B::Left);
    w.machine.Move({70, 50});
    w.machine.Move({105, 30});
    w.host.log.clear();
    w.machine.Release({105, 30}, B::Left);
    EXPECT_EQ(w.machine.Mode(), M::Idle);
    EXPECT_EQ(w.view.Window(), (SceneBox{5, 0, 10, 5}));
    EXPECT_EQ(w.view.KeepView(), 1);
    EXPECT_FALSE(w.machine.ZoomWindowDown());
    EXPECT_EQ(w.machine.Cursor(), NavigationCursor::Default);
    EXPECT_EQ(w.host.log, "hide; tools; repaint");
}

// The new window is tested, not the old one: a click without a drag, or a
// window one pixel high, leaves the view as it was and zoom mode armed.
TEST(MouseModes, TooSmallZoomWindowChangesNothing) {
    for (DevicePoint end : {DevicePoint{30, 40}, DevicePoint{90, 41}, DevicePoint{31, 90}}) {
        Window w;
        w.machine.ZoomWindowButton(true);
        w.machine.Press({30, 40}, B::Left);
        w.machine.Move(end);
        w.machine.Release(end, B::Left);
        EXPECT_EQ(w.machine.Mode(), M::ZoomArmed);
        EXPECT_EQ(w.view.Window(), (SceneBox{0, 0, 10, 5}));
        EXPECT_EQ(w.view.KeepView(), 0);
        EXPECT_TRUE(w.machine.ZoomWindowDown());
    }
}

TEST(MouseModes, PanFollowsThePointerAndKeepsTheView) {
    Window w;
    w.machine.Press({50, 50}, B::Left);
    w.machine.Move({60, 45});
    EXPECT_EQ(w.view.Window(), (SceneBox{-1, 0.5, 9, 5.5}));
    EXPECT_EQ(w.machine.Corner1(), (DevicePoint{60, 45}));
    w.machine.Move({60, 45});
    EXPECT_EQ(w.view.Window(), (SceneBox{-1, 0.5, 9, 5.5}));
    EXPECT_EQ(w.view.KeepView(), 0);
    w.machine.Release({60, 45}, B::Left);
    EXPECT_EQ(w.view.KeepView(), 1);
}

TEST(MouseModes, TiltingDrawsTheBareStructureAndRestoresTheFlags) {
    Window w;
    w.machine.RotateButton(true);
    const ViewMatrix before = w.view.Matrix();
    w.machine.Press({30, 40}, B::Left);
    EXPECT_EQ(w.host.flags, ShowStructure);
    EXPECT_EQ(w.machine.SavedFlags(), ShowStructure | ShowLoads | ShowValues);
    w.machine.Move({130, 40}); // 100 pixels right: 0.2 radian about the view's y axis
    EXPECT_EQ(w.machine.RotationReference(), (DevicePoint{130, 40}));
    ViewState expected;
    expected.Tilt(100, 0);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_NEAR(w.view.Matrix().R(i, j), expected.Matrix().R(i, j), 1e-15);
    EXPECT_NE(w.view.Matrix().R(0, 0), before.R(0, 0));
    w.machine.Release({130, 40}, B::Left);
    EXPECT_EQ(w.host.flags, ShowStructure | ShowLoads | ShowValues);
}

TEST(MouseModes, SpinningAFullCircleReturnsTheMatrixToItsStart) {
    Window w;
    w.machine.RotateButton(true);
    const ViewMatrix start = w.view.Matrix();
    const double r = 40;
    auto at = [&](int k) {
        const double a = 2 * std::numbers::pi * k / 72;
        return DevicePoint{55 + static_cast<int>(std::lround(r * std::cos(a))),
                           55 + static_cast<int>(std::lround(r * std::sin(a)))};
    };
    w.machine.Press(at(0), B::Right);
    ASSERT_EQ(w.machine.Mode(), M::Spinning);
    for (int k = 1; k <= 72; ++k)
        w.machine.Move(at(k));
    // The angles are summed in single precision: the start again within 1e-6.
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_NEAR(w.view.Matrix().R(i, j), start.R(i, j), 1e-6);

    // A quarter circle turns the view by a quarter about the screen normal.
    w.machine.Move(at(18));
    EXPECT_NEAR(w.view.Matrix().R(1, 0), start.R(0, 0), 1e-6);
}

// --- Toolbar buttons --------------------------------------------------------

enum class Button { ZoomDown, ZoomUp, PanDown, PanUp, RotateDown, RotateUp, FitAll };

void Click(MouseModeMachine& m, Button button) {
    switch (button) {
    case Button::ZoomDown:
        return m.ZoomWindowButton(true);
    case Button::ZoomUp:
        return m.ZoomWindowButton(false);
    case Button::PanDown:
        return m.PanButton(true);
    case Button::PanUp:
        return m.PanButton(false);
    case Button::RotateDown:
        return m.RotateButton(true);
    case Button::RotateUp:
        return m.RotateButton(false);
    case Button::FitAll:
        return m.FitAllButton();
    }
}

struct ButtonRow {
    std::vector<Button> clicks;
    M mode;
    bool zoom, pan, rotate; // "Ausschnitt", "Verschieben", "Rotieren" down
    NavigationCursor cursor;
};

using enum Button;
constexpr auto kDefault = NavigationCursor::Default;
constexpr auto kCross = NavigationCursor::Cross;
constexpr auto kSizeAll = NavigationCursor::SizeAll;

// clang-format off
const ButtonRow kButtons[] = {
    {{ZoomDown},             M::ZoomArmed,   true,  false, false, kCross},
    {{ZoomDown, ZoomUp},     M::Idle,        false, false, false, kDefault},
    {{PanUp},                M::Idle,        false, false, false, kDefault},
    {{PanUp, PanDown},       M::PanArmed,    false, true,  false, kSizeAll},
    {{ZoomDown, PanDown},    M::PanArmed,    false, true,  false, kSizeAll},
    {{RotateDown},           M::RotateArmed, false, false, true,  kSizeAll},
    {{RotateDown, RotateUp}, M::Idle,        false, true,  false, kSizeAll},
    {{RotateDown, ZoomDown}, M::ZoomArmed,   true,  false, false, kCross},
    {{ZoomDown, FitAll},     M::Idle,        false, false, false, kDefault},
    {{RotateDown, FitAll},   M::RotateArmed, false, false, true,  kSizeAll},
};
// clang-format on

TEST(NavigationButtons, ModesButtonStatesAndCursors) {
    Window fresh;
    EXPECT_EQ(fresh.machine.Mode(), M::Idle);
    EXPECT_TRUE(fresh.machine.PanDown()); // "Verschieben" starts down
    EXPECT_FALSE(fresh.machine.ZoomWindowDown());
    EXPECT_FALSE(fresh.machine.RotateDown());
    EXPECT_EQ(fresh.machine.Cursor(), NavigationCursor::Default);
    for (size_t i = 0; i < std::size(kButtons); ++i) {
        const ButtonRow& row = kButtons[i];
        Window w;
        for (Button button : row.clicks)
            Click(w.machine, button);
        SCOPED_TRACE("row " + std::to_string(i));
        EXPECT_EQ(w.machine.Mode(), row.mode);
        EXPECT_EQ(w.machine.ZoomWindowDown(), row.zoom);
        EXPECT_EQ(w.machine.PanDown(), row.pan);
        EXPECT_EQ(w.machine.RotateDown(), row.rotate);
        EXPECT_EQ(w.machine.Cursor(), row.cursor);
        EXPECT_NE(w.host.log.find("tools"), std::string::npos);
    }
}

TEST(NavigationButtons, FitAllTakesTheListsBoxAndRefitsLaterRebuilds) {
    Window w;
    w.view.SetKeepView(1);
    w.list.AddLine({-3, -4}, {30, 40});
    w.machine.FitAllButton();
    EXPECT_EQ(w.view.Window(), (SceneBox{-3, -4, 30, 40}));
    EXPECT_EQ(w.view.KeepView(), 0);
    EXPECT_EQ(w.host.log, "repaint");
}

// "Ansicht zurücksetzen" from every mode: the initial rotation, keep-view 0,
// a rebuild; a rotation under way gives its flags back, "Ausschnitt" is up.
TEST(NavigationButtons, ResetViewUndoesTheRotationFromEveryMode) {
    const struct {
        M mode;
        M after;
    } rows[] = {{M::Idle, M::Idle},           {M::ZoomArmed, M::Idle},
                {M::ZoomDragging, M::Idle},   {M::PanArmed, M::PanArmed},
                {M::Panning, M::PanArmed},    {M::RotateArmed, M::RotateArmed},
                {M::Tilting, M::RotateArmed}, {M::Spinning, M::RotateArmed}};
    ViewMatrix initial;
    InitialView(initial);
    for (const auto& row : rows) {
        Window w;
        const DisplayFlags flags = w.host.flags;
        w.view.Tilt(40, -25);
        Enter(w, row.mode);
        w.view.SetKeepView(1);
        w.machine.ResetViewButton();
        EXPECT_EQ(w.machine.Mode(), row.after) << int(row.mode);
        EXPECT_FALSE(w.machine.ZoomWindowDown()) << int(row.mode);
        EXPECT_EQ(w.host.flags, flags) << int(row.mode);
        EXPECT_EQ(w.view.KeepView(), 0);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                EXPECT_EQ(w.view.Matrix().m[r][c], initial.m[r][c]) << int(row.mode);
        EXPECT_NE(w.host.log.find("rebuild"), std::string::npos);
    }
}

} // namespace
