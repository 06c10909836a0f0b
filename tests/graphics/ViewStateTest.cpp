#include "GraphicsTestSupport.h"
#include "graphics/RecordingCanvas.h"
#include "graphics/Render.h"
#include "model/Tables.h"
#include "support/TableRows.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

void ExpectSameMatrix(const ViewMatrix& a, const ViewMatrix& b, double tolerance) {
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 4; ++j)
            EXPECT_NEAR(a.m[i][j], b.m[i][j], tolerance) << i << "," << j;
}

TEST(InitialView, NineValuesToSixDecimals) {
    ViewMatrix view;
    InitialView(view);
    const double expected[3][3] = {
        {0.921061, 0.389418, 0},
        {-0.141109, 0.333754, 0.932039},
        {0.362953, -0.858465, 0.362358},
    };
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_NEAR(view.R(i, j), expected[i][j], 5e-7) << i << "," << j;
}

TEST(InitialView, NewViewStateHasItAnEmptyWindowAndRefits) {
    const ViewState state;
    ViewMatrix view;
    InitialView(view);
    ExpectSameMatrix(state.Matrix(), view, 0);
    EXPECT_EQ(state.Window(), PaintContainer().BoundingBox());
    EXPECT_EQ(state.KeepView(), 0);
    // z points straight down on the screen, x right and slightly up
    EXPECT_NEAR(state.Project({0, 0, 1}).x, 0, 1e-15);
    EXPECT_GT(state.Project({0, 0, 1}).y, 0.9);
    EXPECT_GT(state.Project({1, 0, 0}).x, 0.9);
    EXPECT_LT(state.Project({1, 0, 0}).y, 0);
}

TEST(Project, SubtractsTheCentreAndUsesRowsZeroAndOne) {
    ViewMatrix view = TopView();
    view.m[0][1] = 2; // X = x + 2y + 3z
    view.m[0][2] = 3;
    view.m[1][2] = -1; // Y = y − z
    view.m[2][0] = 99; // row 2 is not used
    view.SetColumn(3, {1, 1, 1});
    EXPECT_VEC2_NEAR(Project(view, {1, 1, 1}), 0, 0, 0);
    EXPECT_VEC2_NEAR(Project(view, {2, 3, 4}), 1 + 4 + 9, 2 - 3, 1e-15);
}

TEST(PolarAngle, QuadrantsAndTinyVectors) {
    const struct {
        double x, y, angle;
    } rows[] = {
        {1, 0, 0},       {0, 1, kPi / 2},      {-1, 0, kPi},          {0, -1, -kPi / 2},
        {1, 1, kPi / 4}, {-1, 1, 3 * kPi / 4}, {-1, -1, 5 * kPi / 4}, {1, -1, -kPi / 4},
        {1e-9, 1e-9, 0}, {-5e-9, 0, 0},
    };
    for (const auto& row : rows)
        EXPECT_NEAR(PolarAngle(row.x, row.y), row.angle, 1e-12) << row.x << " " << row.y;
}

TEST(Rotate, RodriguesAboutTheAxisByItsLength) {
    const struct {
        Vec3 v, k, expected;
    } rows[] = {
        {{1, 0, 0}, {0, 0, kPi / 2}, {0, 1, 0}},
        {{2, 0, 0}, {0, 0, kPi / 2}, {0, 2, 0}}, // keeps the length
        {{0, 1, 0}, {kPi, 0, 0}, {0, -1, 0}},
        {{0, 0, 1}, {0, kPi / 2, 0}, {1, 0, 0}},
        {{1, 2, 3}, {0, 0, 0}, {1, 2, 3}},       // no axis: unchanged
        {{0, 0, 1}, {0, 0, 0.5}, {0, 0, 1}},     // along the axis: unchanged
        {{1, 1, 0}, {0, 0, 2 * kPi}, {1, 1, 0}}, // a full turn
    };
    for (const auto& row : rows) {
        const Vec3 r = Rotate(row.v, row.k);
        EXPECT_NEAR(r.x, row.expected.x, 1e-12);
        EXPECT_NEAR(r.y, row.expected.y, 1e-12);
        EXPECT_NEAR(r.z, row.expected.z, 1e-12);
    }
}

// --- Scene preparation ----------------------------------------------------

TEST(PrepareScene, NoNodeOrOneNodeDrawsNothing) {
    ViewState state;
    EXPECT_EQ(state.PrepareScene(std::span<const Vec2>()), 0.0f);
    EXPECT_EQ(state.Matrix().Centre(), (Vec3{0, 0, 0}));
    const Vec2 one[] = {{3, 4}};
    EXPECT_EQ(state.PrepareScene(one), 0.0f);
    EXPECT_EQ(state.Matrix().Centre(), (Vec3{3, 4, 0}));
    const Vec2 same[] = {{3, 4}, {3, 4}};
    EXPECT_EQ(state.PrepareScene(same), 0.0f); // all nodes on one point
}

TEST(PrepareScene, CentreIsTheMeanAndSizeTheDiagonalOfTheProjectedNodes) {
    ViewState state;
    const Vec2 nodes[] = {{0, 0}, {10, 0}, {10, 4}, {0, 4}};
    const float size = state.PrepareScene(nodes);
    EXPECT_EQ(state.Matrix().Centre(), (Vec3{5, 2, 0}));
    // The projected rectangle's corners are ±(5 R·x̂ + 2 R·ŷ) and ±(5 R·x̂ − 2 R·ŷ).
    const double r00 = std::cos(-0.4), r01 = -std::sin(-0.4);
    const double r10 = std::sin(-0.4) * std::cos(-1.2), r11 = std::cos(-0.4) * std::cos(-1.2);
    const double halfWidth = std::max(std::fabs(5 * r00 + 2 * r01), std::fabs(5 * r00 - 2 * r01));
    const double halfHeight = std::max(std::fabs(5 * r10 + 2 * r11), std::fabs(5 * r10 - 2 * r11));
    EXPECT_FLOAT_EQ(size, static_cast<float>(2 * std::hypot(halfWidth, halfHeight)));
    EXPECT_EQ(state.SceneSize(), size);
}

TEST(PrepareScene, SizeThatIsNoNumberCountsAsZero) {
    ViewState state;
    const Vec2 huge[] = {{-1e300, 0}, {1e300, 0}};
    EXPECT_EQ(state.PrepareScene(huge), 0.0f); // beyond single precision
    const Vec2 odd[] = {{0, 0}, {std::numeric_limits<double>::quiet_NaN(), 1}};
    EXPECT_EQ(state.PrepareScene(odd), 0.0f);
}

TEST(PrepareScene, ReadsTheValidRowsOfTheNodeTable) {
    InputModel model;
    NodeRec& a = AppendValid(model.nodes);
    a.x = 0, a.y = 0;
    model.nodes.RowRecord(1)->x = 1000; // an empty row does not count
    NodeRec& b = ValidRecord(model.nodes, 2);
    b.x = 10, b.y = 4;
    ViewState fromTable, fromPoints;
    const Vec2 points[] = {{0, 0}, {10, 4}};
    EXPECT_EQ(fromTable.PrepareScene(model.nodes), fromPoints.PrepareScene(points));
    EXPECT_EQ(fromTable.Matrix().Centre(), (Vec3{5, 2, 0}));
}

// --- Rotating the view -----------------------------------------------------

TEST(Tilt, HorizontalDragTurnsAboutTheScreensVerticalAxis) {
    ViewState state;
    const ViewMatrix before = state.Matrix();
    state.Tilt(100, 0); // 0.2 radian about the view's y axis (axis (0, −0.2, 0))
    const ViewMatrix& after = state.Matrix();
    const double c = std::cos(0.2), s = std::sin(0.2);
    for (int j = 0; j < 3; ++j) {
        EXPECT_NEAR(after.R(1, j), before.R(1, j), 1e-15); // screen y unchanged
        EXPECT_NEAR(after.R(0, j), c * before.R(0, j) - s * before.R(2, j), 1e-15);
        EXPECT_NEAR(after.R(2, j), s * before.R(0, j) + c * before.R(2, j), 1e-15);
    }
}

TEST(Tilt, VerticalDragTurnsAboutTheScreensHorizontalAxis) {
    ViewState state;
    const ViewMatrix before = state.Matrix();
    state.Tilt(0, -50); // axis (−0.1, 0, 0)
    for (int j = 0; j < 3; ++j)
        EXPECT_NEAR(state.Matrix().R(0, j), before.R(0, j), 1e-15);
}

TEST(Spin, QuarterTurnAboutTheScreenNormal) {
    ViewState state;
    const ViewMatrix before = state.Matrix();
    state.Spin(kPi / 2);
    for (int j = 0; j < 3; ++j) {
        EXPECT_NEAR(state.Matrix().R(0, j), -before.R(1, j), 1e-15);
        EXPECT_NEAR(state.Matrix().R(1, j), before.R(0, j), 1e-15);
        EXPECT_NEAR(state.Matrix().R(2, j), before.R(2, j), 1e-15);
    }
}

TEST(Spin, FullCircleReturnsTheMatrixToItsStart) {
    ViewState state;
    const ViewMatrix start = state.Matrix();
    for (int i = 0; i < 360; ++i)
        state.Spin(2 * kPi / 360);
    ExpectSameMatrix(state.Matrix(), start, 1e-12);
}

TEST(Rotation, StaysOrthonormalAfterManyTurns) {
    ViewState state;
    for (int i = 0; i < 2000; ++i) {
        state.Tilt(i % 7 - 3, i % 5 - 2);
        state.Spin(0.01 * (i % 3));
    }
    for (int a = 0; a < 3; ++a)
        for (int b = 0; b < 3; ++b)
            EXPECT_NEAR(Dot(state.Matrix().Column(a), state.Matrix().Column(b)), a == b ? 1 : 0,
                        1e-12);
}

// --- View window -----------------------------------------------------------

const DeviceRect kBox{0, 0, 110, 110};

TEST(ViewWindow, RebuildFitsOnlyWithoutKeepView) {
    ViewState state;
    PaintContainer list;
    list.AddLine({1, 2}, {3, 5});
    state.FinishScene(list);
    EXPECT_EQ(state.Window(), (SceneBox{1, 2, 3, 5}));
    state.SetKeepView(1);
    list.AddLine({-10, -10}, {0, 0});
    state.FinishScene(list);
    EXPECT_EQ(state.Window(), (SceneBox{1, 2, 3, 5}));
    state.FitAll(list);
    EXPECT_EQ(state.Window(), (SceneBox{-10, -10, 3, 5}));
}

TEST(ViewWindow, ZoomInThenOutIsPointEightTimesOnePointTwo) {
    ViewState state;
    state.SetWindow({0, 0, 10, 5});
    ASSERT_TRUE(state.ZoomIn());
    EXPECT_EQ(state.Window(), (SceneBox{1, 0.5, 9, 4.5}));
    ASSERT_TRUE(state.ZoomOut());
    const SceneBox& w = state.Window();
    EXPECT_DOUBLE_EQ(w.Width(), 10 * 0.8 * 1.2);
    EXPECT_DOUBLE_EQ(w.Height(), 5 * 0.8 * 1.2);
    EXPECT_DOUBLE_EQ(w.minX, 0.2);
    EXPECT_DOUBLE_EQ(w.maxY, 4.9);
}

TEST(ViewWindow, ZoomInStopsAtAMillionthOfTheSceneSize) {
    ViewState state;
    const Vec2 nodes[] = {{0, 0}, {100, 50}};
    const double size = state.PrepareScene(nodes);
    ASSERT_GT(size, 0);
    state.SetWindow({0, 0, 1.3e-6 * size, 0}); // 0.8 × 1.3 ≥ 1: allowed
    EXPECT_TRUE(state.ZoomIn());
    const SceneBox narrow = state.Window();
    EXPECT_FALSE(state.ZoomIn()); // 1.04e-6 × 0.8 < 1e-6
    EXPECT_EQ(state.Window(), narrow);
}

// About 70 double clicks: the zoom stops in time, and every point of the
// scene still converts to a pixel within the device limit.
TEST(ViewWindow, DeepZoomStopsAndStaysWithinTheDeviceRange) {
    ViewState state;
    const Vec2 nodes[] = {{0, 0}, {30, 0}, {30, 20}, {0, 20}};
    const double size = state.PrepareScene(nodes);
    PaintContainer list;
    for (int i = 0; i < 4; ++i)
        list.AddLine(state.Project({nodes[i].x, nodes[i].y, 0}),
                     state.Project({nodes[(i + 1) % 4].x, nodes[(i + 1) % 4].y, 0}));
    state.FinishScene(list);
    int zooms = 0;
    for (int click = 0; click < 70; ++click)
        zooms += state.ZoomIn();
    EXPECT_LT(zooms, 70);
    EXPECT_GE(std::max(state.Window().Width(), state.Window().Height()), 1e-6 * size);

    const auto mapping = FitMapping(state.Window(), kBox, 1.0);
    ASSERT_TRUE(mapping);
    RecordingCanvas canvas;
    Render(list, canvas, *mapping);
    for (const auto& call : canvas.Calls()) {
        EXPECT_LE(std::abs(call.Point().x), 16777216);
        EXPECT_LE(std::abs(call.Point().y), 16777216);
    }
}

TEST(ViewWindow, ZoomOfAnEmptyWindowChangesNothing) {
    ViewState state; // the inverted window of an empty list
    const SceneBox empty = state.Window();
    EXPECT_FALSE(state.ZoomIn());
    EXPECT_FALSE(state.ZoomOut());
    EXPECT_FALSE(state.Pan({0, 0}, {10, 10}, kBox));
    EXPECT_FALSE(state.ZoomWindow({0, 0}, {50, 50}, kBox));
    EXPECT_EQ(state.Window(), empty);
}

TEST(ViewWindow, PanMovesTheWindowAgainstThePointer) {
    ViewState state;
    state.SetWindow({0, 0, 10, 5}); // scale 10 in the 110 × 110 box
    ASSERT_TRUE(state.Pan({50, 50}, {60, 45}, kBox));
    EXPECT_EQ(state.Window(), (SceneBox{-1, 0.5, 9, 5.5}));
}

TEST(ViewWindow, ZoomWindowTakesTheSceneRectangleUnderTheCorners) {
    const struct {
        DevicePoint c1, c2;
        bool accepted;
        SceneBox window;
    } rows[] = {
        {{5, 30}, {105, 80}, true, {0, 0, 10, 5}},
        {{55, 80}, {105, 30}, true, {5, 0, 10, 5}}, // any two opposite corners
        {{105, 30}, {55, 80}, true, {5, 0, 10, 5}},
        {{50, 50}, {50, 50}, false, {}}, // a click without a drag
        {{50, 50}, {51, 90}, false, {}}, // one pixel wide
        {{50, 50}, {90, 48}, true, {4.5, 1.8, 8.5, 2}},
    };
    for (const auto& row : rows) {
        ViewState state;
        state.SetWindow({0, 0, 10, 5});
        EXPECT_EQ(state.ZoomWindow(row.c1, row.c2, kBox), row.accepted);
        const SceneBox expected = row.accepted ? row.window : SceneBox{0, 0, 10, 5};
        EXPECT_NEAR(state.Window().minX, expected.minX, 1e-12);
        EXPECT_NEAR(state.Window().minY, expected.minY, 1e-12);
        EXPECT_NEAR(state.Window().maxX, expected.maxX, 1e-12);
        EXPECT_NEAR(state.Window().maxY, expected.maxY, 1e-12);
    }
}

TEST(ViewWindow, ZoomWindowBelowTheZoomLimitIsRefused) {
    ViewState state;
    const Vec2 nodes[] = {{0, 0}, {100, 50}};
    const double size = state.PrepareScene(nodes);
    state.SetWindow({0, 0, 2e-6 * size, 1e-6 * size});
    // 40 of 100 pixels of a window 2e-6 × size wide: 0.8e-6 × size
    EXPECT_FALSE(state.ZoomWindow({5, 5}, {45, 45}, {0, 0, 110, 110}));
    EXPECT_TRUE(state.ZoomWindow({5, 5}, {105, 105}, {0, 0, 110, 110}));
}

} // namespace
