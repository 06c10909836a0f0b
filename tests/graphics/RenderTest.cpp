#include "graphics/Render.h"

#include "GraphicsTestSupport.h"
#include "graphics/RecordingCanvas.h"
#include "graphics/SvgCanvas.h"

#include <algorithm>
#include <limits>

namespace {

using Op = RecordingCanvas::Op;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int kLimit = 16777216;

ViewMapping Fit(const SceneBox& window, const DeviceRect& device, double aspect = 1.0) {
    const auto mapping = FitMapping(window, device, aspect);
    EXPECT_TRUE(mapping.has_value());
    return mapping.value_or(ViewMapping{});
}

ViewMapping Plain(double scale) {
    ViewMapping mapping;
    mapping.scaleX = mapping.scaleY = scale;
    return mapping;
}

TEST(FitMapping, CentresTheWindowAndFillsOneOverOnePointOne) {
    const struct {
        SceneBox window;
        DeviceRect device;
        double aspect;
        double scaleX, scaleY, offsetX, offsetY;
    } rows[] = {
        // sx = 110 / 11 = 10, sy = 110 / 5.5 = 20: the width limits
        {{0, 0, 10, 5}, {0, 0, 110, 110}, 1, 10, 10, 0.5, 3},
        // a printer with twice the horizontal resolution: vertical scale s / 2
        {{0, 0, 10, 5}, {0, 0, 110, 110}, 2, 10, 5, 0.5, 8.5},
        // zero width: fitted by the height alone
        {{3, 0, 3, 10}, {0, 0, 110, 110}, 1, 10, 10, 2.5, 0.5},
        // zero height: fitted by the width alone
        {{0, 7, 20, 7}, {10, 20, 120, 60}, 1, 5, 5, 3, 1},
    };
    for (const auto& row : rows) {
        const ViewMapping m = Fit(row.window, row.device, row.aspect);
        EXPECT_DOUBLE_EQ(m.scaleX, row.scaleX);
        EXPECT_DOUBLE_EQ(m.scaleY, row.scaleY);
        EXPECT_DOUBLE_EQ(m.offsetX, row.offsetX);
        EXPECT_DOUBLE_EQ(m.offsetY, row.offsetY);
        EXPECT_EQ(m.window, row.window);
    }
}

TEST(FitMapping, WindowOfNoExtentOrNoNumberCannotBeMapped) {
    EXPECT_FALSE(FitMapping({4, 4, 4, 4}, {0, 0, 100, 100}, 1).has_value());
    EXPECT_FALSE(FitMapping({0, 0, kNaN, 4}, {0, 0, 100, 100}, 1).has_value());
}

TEST(FitMapping, EmptyListGivesTheInvertedWindowWithTheLargestScale) {
    const ViewMapping m = Fit(PaintContainer().BoundingBox(), {0, 0, 100, 100});
    EXPECT_EQ(m.scaleX, 3.4028234663852886e38);
    EXPECT_EQ(m.window.minX, 3.4028234663852886e38);
}

TEST(SceneToDevice, WindowIntoSquareDevice) {
    const ViewMapping m = Fit({0, 0, 10, 5}, {0, 0, 110, 110});
    EXPECT_EQ(SceneToDevice(m, 0, 0), (DevicePoint{5, 30}));
    EXPECT_EQ(SceneToDevice(m, 10, 5), (DevicePoint{105, 80}));
    EXPECT_EQ(SceneToDevice(m, 5, 2.5), (DevicePoint{55, 55}));
    EXPECT_EQ(SceneToDevice(m, 0.09, 0.09), (DevicePoint{5, 30})); // 5.9, 30.9
}

TEST(SceneToDevice, TruncatesTowardZero) {
    const ViewMapping m = Plain(1.0);
    const struct {
        double x, y;
        DevicePoint expected;
    } rows[] = {
        {2.7, 3.9, {2, 3}},
        {-2.7, -3.9, {-2, -3}},
        {-0.5, 0.5, {0, 0}},
        {-1.0, 1.0, {-1, 1}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(SceneToDevice(m, row.x, row.y), row.expected) << row.x << " " << row.y;
}

// A deep zoom must not overflow int: the value is clamped in double first.
TEST(SceneToDevice, ClampsFarPointsBeforeTruncating) {
    const ViewMapping m = Plain(1e20);
    EXPECT_EQ(SceneToDevice(m, 1.0, -1.0), (DevicePoint{kLimit, -kLimit}));
    EXPECT_EQ(SceneToDevice(m, 1e300, 0.0), (DevicePoint{kLimit, 0}));
    EXPECT_EQ(ToDevice(kNaN), 0);
    EXPECT_EQ(ToDevice(16777215.9), 16777215);
    EXPECT_EQ(ToDevice(-3e9), -kLimit);
}

TEST(DeviceToScene, InvertsTheMapping) {
    const ViewMapping m = Fit({0, 0, 10, 5}, {0, 0, 110, 110});
    EXPECT_VEC2_NEAR(DeviceToScene(m, 5, 30), 0, 0, 1e-12);
    EXPECT_VEC2_NEAR(DeviceToScene(m, 105, 80), 10, 5, 1e-12);
    EXPECT_VEC2_NEAR(DeviceToScene(m, 55, 55), 5, 2.5, 1e-12);
    ViewMapping zero = m;
    zero.scaleY = 0;
    EXPECT_EQ(DeviceToScene(zero, 55, 55), (Vec2{0, 0}));
}

TEST(Render, ReplaysEachRecordOntoTheCanvas) {
    PaintContainer list;
    list.SetPen(0x0000FF, 0.25);
    list.SetBrush(0x00FF00);
    list.AddLine({0, 0}, {10, 5});
    const Vec2 triangle[] = {{0, 0}, {10, 0}, {5, 5}};
    list.AddPolygon(0x0000FF, 0.05, triangle);

    RecordingCanvas canvas;
    Render(list, canvas, Fit({0, 0, 10, 5}, {0, 0, 110, 110}));
    const auto& calls = canvas.Calls();
    ASSERT_EQ(calls.size(), 7u);
    EXPECT_EQ(calls[0].op, Op::PenColour);
    EXPECT_EQ(calls[0].Value(), 0x0000FF);
    EXPECT_EQ(calls[1].op, Op::PenWidth);
    EXPECT_EQ(calls[1].Value(), 2); // trunc(0.25 × 10)
    EXPECT_EQ(calls[2].op, Op::BrushColour);
    EXPECT_EQ(calls[2].Value(), 0x00FF00);
    EXPECT_EQ(calls[3].op, Op::MoveTo);
    EXPECT_EQ(calls[3].Point(), (DevicePoint{5, 30}));
    EXPECT_EQ(calls[4].op, Op::LineTo);
    EXPECT_EQ(calls[4].Point(), (DevicePoint{105, 80}));
    EXPECT_EQ(calls[5].op, Op::PenWidth);
    EXPECT_EQ(calls[5].Value(), 0); // 0.5 pixel: the thinnest pen
    EXPECT_EQ(calls[6].op, Op::Polygon);
    const auto points = canvas.PolygonPoints(calls[6]);
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[0], (DevicePoint{5, 30}));
    EXPECT_EQ(points[1], (DevicePoint{105, 30}));
    EXPECT_EQ(points[2], (DevicePoint{55, 80}));
}

TEST(Render, EmptyListDrawsNothingAndThePenIsNotReset) {
    RecordingCanvas canvas;
    PaintContainer empty;
    Render(empty, canvas, Fit(empty.BoundingBox(), {0, 0, 100, 100}));
    EXPECT_TRUE(canvas.Calls().empty());

    PaintContainer list;
    list.AddLine({0, 0}, {1, 1});
    Render(list, canvas, Plain(1.0));
    ASSERT_EQ(canvas.Calls().size(), 2u);
    EXPECT_EQ(canvas.Calls()[0].op, Op::MoveTo);
}

TEST(Render, FittedReplayNeedsAWindowThatCanBeMapped) {
    PaintContainer list;
    list.AddLine({0, 0}, {10, 5});
    RecordingCanvas canvas;
    EXPECT_FALSE(RenderFitted(list, canvas, {2, 2, 2, 2}, {0, 0, 110, 110}, 1.0));
    EXPECT_TRUE(canvas.Calls().empty());
    EXPECT_TRUE(RenderFitted(list, canvas, list.BoundingBox(), {0, 0, 110, 110}, 2.0));
    ASSERT_EQ(canvas.Calls().size(), 2u);
    EXPECT_EQ(canvas.Calls()[0].Point(), (DevicePoint{5, 42})); // vertical scale 5
}

TEST(Render, PenWidthUsesTheSmallerScale) {
    const struct {
        double width;
        double aspect;
        int pixels;
    } rows[] = {
        {0.25, 1, 2}, {0.25, 2, 1}, {0.05, 1, 0}, {-3, 1, 0}, {kNaN, 1, 0}, {1e30, 1, kLimit},
    };
    for (const auto& row : rows) {
        const ViewMapping m = Fit({0, 0, 10, 5}, {0, 0, 110, 110}, row.aspect);
        EXPECT_EQ(DevicePenWidth(m, row.width), row.pixels) << row.width << " " << row.aspect;
    }
}

// A line through a deeply zoomed view keeps its course: it is clipped to the
// square of ±2^24 pixels in double, not clamped point by point.
TEST(Render, FarLinesAreClippedOnTheirCourse) {
    PaintContainer list;
    list.AddLine({-1, -0.5}, {1, 0.5}); // ±1e9, ±5e8 pixels
    list.AddLine({1, 1}, {2, 2});       // wholly outside
    list.AddLine({0, 0}, {0.001, 0});   // inside: 1e6 pixels long
    RecordingCanvas canvas;
    Render(list, canvas, Plain(1e9));
    const auto& calls = canvas.Calls();
    ASSERT_EQ(calls.size(), 4u);
    // The cut ends lie on the sides; the other coordinate within a pixel of
    // the true course (half of x).
    EXPECT_EQ(calls[0].Point().x, -kLimit);
    EXPECT_NEAR(calls[0].Point().y, -kLimit / 2, 1);
    EXPECT_EQ(calls[1].Point().x, kLimit);
    EXPECT_NEAR(calls[1].Point().y, kLimit / 2, 1);
    EXPECT_EQ(calls[2].Point(), (DevicePoint{0, 0}));
    EXPECT_EQ(calls[3].Point(), (DevicePoint{1000000, 0}));
}

TEST(Render, FarPolygonsAreClippedToTheSquare) {
    PaintContainer list;
    const Vec2 square[] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    list.AddPolygon(0, 0, square);
    const Vec2 outside[] = {{2, 2}, {3, 2}, {3, 3}};
    list.AddPolygon(0, 0, outside);
    RecordingCanvas canvas;
    Render(list, canvas, Plain(1e9));
    const auto& calls = canvas.Calls();
    ASSERT_EQ(calls.back().op, Op::Polygon);
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                            [](const auto& c) { return c.op == Op::Polygon; }),
              1);
    auto points = canvas.PolygonPoints(calls.back());
    std::vector<std::pair<int, int>> corners;
    for (DevicePoint p : points)
        corners.emplace_back(p.x, p.y);
    std::sort(corners.begin(), corners.end());
    EXPECT_EQ(corners,
              (std::vector<std::pair<int, int>>{
                  {-kLimit, -kLimit}, {-kLimit, kLimit}, {kLimit, -kLimit}, {kLimit, kLimit}}));
}

// --- SVG canvas ----------------------------------------------------------

size_t CountOf(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

TEST(SvgCanvas, DocumentOfTheDeviceRectangleOnWhite) {
    SvgCanvas canvas({10, 20, 120, 80});
    const std::string svg = canvas.Finish();
    EXPECT_EQ(svg.rfind("<?xml version=\"1.0\"", 0), 0u);
    EXPECT_NE(svg.find("<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"110\" "
                       "height=\"60\" viewBox=\"10 20 110 60\">"),
              std::string::npos);
    EXPECT_NE(svg.find("<rect x=\"10\" y=\"20\" width=\"110\" height=\"60\" fill=\"#ffffff\"/>"),
              std::string::npos);
    EXPECT_NE(svg.find("</svg>\n"), std::string::npos);
}

TEST(SvgCanvas, ConnectedLinesOfOnePenFormOnePath) {
    SvgCanvas canvas({0, 0, 100, 100});
    canvas.SetPenColour(Rgb(255, 128, 0));
    canvas.SetPenWidth(3);
    canvas.MoveTo({1, 2});
    canvas.LineTo({3, 4});
    canvas.MoveTo({3, 4}); // continues: only the end point is added
    canvas.LineTo({5, -6});
    canvas.MoveTo({7, 8}); // a gap: a move inside the same path
    canvas.LineTo({9, 10});
    canvas.SetPenWidth(3); // unchanged: the path goes on
    canvas.MoveTo({9, 10});
    canvas.LineTo({11, 12});
    canvas.SetPenWidth(0); // a new pen: a new path, width 0 drawn 1 wide
    canvas.MoveTo({0, 0});
    canvas.LineTo({1, 1});
    const std::string svg = canvas.Finish();
    EXPECT_NE(svg.find("<path d=\"M1 2 3 4 5 -6M7 8 9 10 11 12\" stroke=\"#ff8000\" "
                       "stroke-width=\"3\"/>"),
              std::string::npos)
        << svg;
    EXPECT_NE(svg.find("<path d=\"M0 0 1 1\" stroke=\"#ff8000\" stroke-width=\"1\"/>"),
              std::string::npos)
        << svg;
    EXPECT_EQ(CountOf(svg, "<path"), 2u);
}

TEST(SvgCanvas, PolygonIsFilledWithTheBrushAndOutlinedWithThePen) {
    SvgCanvas canvas({0, 0, 100, 100});
    canvas.SetBrushColour(Rgb(0, 0, 255));
    canvas.SetPenColour(Rgb(255, 255, 255));
    const DevicePoint points[] = {{1, 2}, {30, 2}, {15, 40}};
    canvas.Polygon(points);
    const std::string svg = canvas.Finish();
    EXPECT_NE(svg.find("<polygon points=\"1,2 30,2 15,40\" fill=\"#0000ff\" stroke=\"#ffffff\" "
                       "stroke-width=\"1\"/>"),
              std::string::npos)
        << svg;
}

TEST(SvgCanvas, RenderedListUsesTheTruncatedDeviceCoordinates) {
    PaintContainer list;
    list.SetPen(0, 0.0);
    list.AddLine({0.09, 0.09}, {10, 5});
    list.AddLine({-0.09, 0.0}, {0, -0.38}); // 4.1, 30 → 5, 26.2
    const std::string svg = RenderSvg(list, {0, 0, 10, 5}, {0, 0, 110, 110});
    EXPECT_NE(svg.find("M5 30 105 80M4 30 5 26\""), std::string::npos) << svg;

    const std::string blank = RenderSvg(list, {1, 1, 1, 1}, {0, 0, 110, 110});
    EXPECT_EQ(blank.find("<path"), std::string::npos);
}

} // namespace
