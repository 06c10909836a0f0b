#include "graphics/SymbolShapes.h"

#include "GraphicsTestSupport.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

TEST(SymbolShapes, ReferenceSizesAndCounts) {
    const struct {
        const char* name;
        const EntityClass& shape;
        int points;
        double reference;
    } shapes2d[] = {
        {"NodeSquare", NodeSquare, 5, std::sqrt(800.0)},
        {"ArrowHead", ArrowHead, 4, std::sqrt(200.0)},
        {"SideArrowHead", SideArrowHead, 5, std::sqrt(200.0)},
        {"HingeCircle", HingeCircle, 16, 2},
        {"DashDotPattern", DashDotPattern, 4, 19},
        {"DashPattern", DashPattern, 2, 15},
    };
    for (const auto& s : shapes2d) {
        EXPECT_EQ(s.shape.PointCount(), s.points) << s.name;
        EXPECT_DOUBLE_EQ(s.shape.ReferenceSize(), s.reference) << s.name;
    }
    const struct {
        const char* name;
        const Entity3Class& shape;
        int vertices, edges;
        double reference;
    } shapes3d[] = {
        {"ArrowHead3D", ArrowHead3D, 5, 4, 10},
        {"HingeBar3D", HingeBar3D, 4, 4, 1.5},
        {"ShearHinge3D", ShearHinge3D, 4, 2, 2},
    };
    for (const auto& s : shapes3d) {
        EXPECT_EQ(s.shape.VertexCount(), s.vertices) << s.name;
        EXPECT_EQ(s.shape.EdgeCount(), s.edges) << s.name;
        EXPECT_DOUBLE_EQ(s.shape.ReferenceSize(), s.reference) << s.name;
    }
}

TEST(SymbolShapes, ComputedReferenceSizeIncludesTheOrigin) {
    const EntityClass away({{3, 4}, {6, 8}}, 0); // box from (0, 0) to (6, 8)
    EXPECT_DOUBLE_EQ(away.ReferenceSize(), 10);
    const EntityClass given({{3, 4}, {6, 8}}, 7);
    EXPECT_DOUBLE_EQ(given.ReferenceSize(), 7);
}

TEST(SymbolShapes, HingeCircleValuesAsWritten) {
    const auto p = HingeCircle.Points();
    EXPECT_EQ(p[1], (Vec2{0.9135, 0.407}));
    EXPECT_EQ(p[4], (Vec2{-0.1045, 0.995}));
    EXPECT_EQ(p[7], (Vec2{-0.9781, 0.208}));
    EXPECT_EQ(p[13], (Vec2{0.6691, -0.743}));
    EXPECT_EQ(p[0], p[15]);
}

TEST(DrawShape, NodeSquareOfSizeItsDiagonal) {
    PaintContainer list;
    NodeSquare.DrawShape(list, std::sqrt(800.0), 0.1, 5, 0.0, {100, 100}, 0);
    const auto lines = Lines(list);
    ASSERT_EQ(lines.size(), 4u);
    for (const auto& [a, b] : lines)
        EXPECT_NEAR(Length(b - a), 20, 1e-12);
    EXPECT_VEC2_NEAR(lines[0].first, 90, 110, 1e-12);

    PaintContainer small;
    NodeSquare.DrawShape(small, 1.0, 0.1, 5, 0.0, {0, 0}, 0);
    EXPECT_NEAR(small.BoundingBox().maxX, 0.354, 5e-4);
    EXPECT_NEAR(small.BoundingBox().minY, -0.354, 5e-4);
}

TEST(DrawShape, ArrowHeadTipAtThePositionCornersBehind) {
    const double h = 3.0;
    PaintContainer list;
    ArrowHead.DrawShape(list, h, 0.1, 5, 0.0, {10, 20}, 0);
    const auto lines = Lines(list);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_VEC2_NEAR(lines[0].first, 10, 20, 1e-12);
    EXPECT_VEC2_NEAR(lines[0].second, 10 - 0.7071 * h, 20 + 0.3536 * h, 1e-3);
    EXPECT_VEC2_NEAR(lines[1].second, 10 - 0.7071 * h, 20 - 0.3536 * h, 1e-3);
    EXPECT_VEC2_NEAR(lines[2].second, 10, 20, 1e-12);

    PaintContainer turned; // pointing along +y: the corners lie above the tip
    ArrowHead.DrawShape(turned, h, 0.1, 5, kPi / 2, {10, 20}, 0);
    EXPECT_VEC2_NEAR(Lines(turned)[0].second, 10 - 0.3536 * h, 20 - 0.7071 * h, 1e-3);
}

TEST(DrawShape, HingeCircleIsARingOfHalfTheSize) {
    PaintContainer list;
    HingeCircle.DrawShape(list, 4.0, 0.1, 5, 0.0, {1, 1}, 0);
    const auto lines = Lines(list);
    ASSERT_EQ(lines.size(), 15u);
    for (const auto& line : lines)
        EXPECT_NEAR(Length(line.first - Vec2{1, 1}), 2.0, 2e-3);
    EXPECT_VEC2_NEAR(lines[0].first, 3, 1, 1e-12);
}

TEST(DrawShape, MaskSelectsSegments) {
    const struct {
        unsigned mask;
        std::vector<int> segments;
    } rows[] = {
        {0, {0, 1, 2, 3}},
        {0b0101, {0, 2}},
        {0b1000, {3}},
        {0b110000, {}}, // bits beyond the segments
    };
    for (const auto& row : rows) {
        PaintContainer list;
        NodeSquare.DrawShape(list, std::sqrt(800.0), 0.1, 5, 0.0, {0, 0}, row.mask);
        const auto lines = Lines(list);
        ASSERT_EQ(lines.size(), row.segments.size()) << row.mask;
        for (size_t i = 0; i < lines.size(); ++i) {
            const Vec2 expected = NodeSquare.Points()[static_cast<size_t>(row.segments[i])];
            EXPECT_VEC2_NEAR(lines[i].first, expected.x, expected.y, 1e-12);
        }
    }
}

TEST(DrawShape, DashPatternWithMaskFiveIsTwoThirdsOfThePeriod) {
    PaintContainer list;
    DashPattern.DrawShape(list, 15.0, 0.1, 5, 0.0, {0, 0}, 5);
    const auto lines = Lines(list);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_VEC2_NEAR(lines[0].second, 10, 0, 1e-12);
}

TEST(FillShape, BrushThenPenThenThePlacedPoints) {
    PaintContainer list;
    NodeSquare.FillShape(list, std::sqrt(800.0) / 10, 0.5, 0.0, 1, 2, {5, 5});
    const auto records = Decode(list);
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].kind, 2);
    EXPECT_EQ(records[0].colour, 2);
    EXPECT_EQ(records[1].colour, 1);
    EXPECT_EQ(records[2].width, 0.5);
    ASSERT_EQ(records[3].points.size(), 5u);
    EXPECT_VEC2_NEAR(records[3].points[0], 4, 6, 1e-12);
    EXPECT_VEC2_NEAR(records[3].points[2], 6, 4, 1e-12);
}

TEST(DrawShape3D, ArrowHeadPyramidTurnedByTheAxis) {
    const ViewMatrix top = TopView();
    PaintContainer up;
    ArrowHead3D.DrawShape3D(up, 5.0, 0.1, {0, 0, 0}, top, 3, {10, 20, 0});
    auto lines = Lines(up);
    ASSERT_EQ(lines.size(), 4u); // 1–2, 1–3, 1–5, 1–4
    for (const auto& line : lines)
        EXPECT_VEC2_NEAR(line.first, 10, 20, 1e-12);
    EXPECT_VEC2_NEAR(lines[0].second, 11, 19, 1e-12); // (2, −2) × 0.5
    EXPECT_VEC2_NEAR(lines[2].second, 11, 21, 1e-12); // vertex 5 (2, 2)

    // Turned by a quarter about y, +z becomes +x: the base lies at −x, 5 long
    // and 2 wide, seen from above.
    PaintContainer along;
    ArrowHead3D.DrawShape3D(along, 5.0, 0.1, {0, kPi / 2, 0}, top, 3, {0, 0, 0});
    lines = Lines(along);
    EXPECT_VEC2_NEAR(lines[0].second, -5, -1, 1e-12);
    EXPECT_VEC2_NEAR(lines[3].second, -5, 1, 1e-12);
}

TEST(FillShape3D, VerticesInTableOrderEdgesUnused) {
    PaintContainer list;
    HingeBar3D.FillShape3D(list, 3.0, 0.2, {0, 0, kPi / 2}, TopView(), 7, 0xFFFFFF, {1, 1, 0});
    const auto records = Decode(list);
    ASSERT_EQ(records.back().kind, 1);
    const auto& p = records.back().points;
    ASSERT_EQ(p.size(), 4u);
    // (−1, −4) × 2 turned by a quarter: (8, −2)
    EXPECT_VEC2_NEAR(p[0], 9, -1, 1e-12);
    EXPECT_VEC2_NEAR(p[2], -7, 3, 1e-12);
    EXPECT_EQ(records[0].kind, 2);
    EXPECT_EQ(records[0].colour, 0xFFFFFF);

    PaintContainer wire;
    ShearHinge3D.DrawShape3D(wire, 2.0, 0.2, {0, 0, 0}, TopView(), 7, {0, 0, 0});
    EXPECT_EQ(Lines(wire).size(), 2u); // two bars
}

} // namespace
