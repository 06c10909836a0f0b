#include "GraphicsTestSupport.h"

#include <cmath>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(PaintContainer, ClearedListHasNoRecordsNoPenAndTheInvertedBox) {
    PaintContainer list;
    list.AddLine({1, 2}, {3, 4});
    list.SetPen(5, 0.5);
    list.Clear();
    EXPECT_EQ(list.RecordCount(), 0);
    EXPECT_EQ(list.ByteCount(), 0);
    EXPECT_EQ(list.PenWidth(), -1.0);
    EXPECT_EQ(list.PenColour(), -1);
    const SceneBox expected{3.4028234663852886e38, 3.4028234663852886e38, -3.4028234663852886e38,
                            -3.4028234663852886e38};
    EXPECT_EQ(list.BoundingBox(), expected);
    EXPECT_EQ(list.ElementSize(), 1);
    EXPECT_EQ(list.Growth(), 1000);
}

// A window rebuilds its list on every view change: the block stays, and the
// next fill starts at the first byte.
TEST(PaintContainer, ClearKeepsTheBlockForTheNextFill) {
    PaintContainer list;
    for (int i = 0; i < 100; ++i)
        list.AddLine({0, 0}, {1, double(i)});
    const int capacity = list.Capacity();
    list.Clear();
    EXPECT_EQ(list.Capacity(), capacity);
    list.AddLine({5, 6}, {7, 8});
    ASSERT_EQ(list.ByteCount(), kLineRecordSize);
    size_t at = 4;
    EXPECT_EQ(ReadAt<double>(list.Bytes(), at), 5.0);
}

TEST(PaintContainer, RecordsAreTheKindFollowedByThePackedPayload) {
    PaintContainer list;
    list.SetPen(0x123456, 0.25);
    list.SetBrush(0x00FF00);
    list.AddLine({1, 2}, {3, 4});
    const Vec2 triangle[] = {{5, 6}, {7, 8}, {9, 10}};
    list.AddPolygon(0x123456, 0.25, triangle);

    // pen colour 8, pen width 12, brush 8, line 36, polygon 4 + 4 + 3 × 16
    ASSERT_EQ(list.ByteCount(), 8 + 12 + 8 + 36 + 56);
    EXPECT_EQ(list.RecordCount(), 5);
    const unsigned char* b = list.Bytes();
    size_t at = 0;
    EXPECT_EQ(ReadAt<std::int32_t>(b, at), 3);
    EXPECT_EQ(ReadAt<std::int32_t>(b, at), 0x123456);
    EXPECT_EQ(ReadAt<std::int32_t>(b, at), 4);
    EXPECT_EQ(ReadAt<double>(b, at), 0.25);
    EXPECT_EQ(ReadAt<std::int32_t>(b, at), 2);
    EXPECT_EQ(ReadAt<std::int32_t>(b, at), 0x00FF00);
    EXPECT_EQ(ReadAt<std::int32_t>(b, at), 0);
    for (double v : {1.0, 2.0, 3.0, 4.0})
        EXPECT_EQ(ReadAt<double>(b, at), v);
    EXPECT_EQ(ReadAt<std::int32_t>(b, at), 1);
    EXPECT_EQ(ReadAt<std::int32_t>(b, at), 3);
    for (double v : {5.0, 6.0, 7.0, 8.0, 9.0, 10.0})
        EXPECT_EQ(ReadAt<double>(b, at), v);
    EXPECT_EQ(at, 120u);
}

TEST(PaintContainer, RecordSizes) {
    EXPECT_EQ(kLineRecordSize, 36);
    EXPECT_EQ(kColourRecordSize, 8);
    EXPECT_EQ(kPenWidthRecordSize, 12);
    EXPECT_EQ(PolygonRecordSize(0), 8);
    EXPECT_EQ(PolygonRecordSize(5), 88);
}

// SetPen writes the colour before the width, and only what changed.
TEST(PaintContainer, PenCacheWritesOnlyChangesColourFirst) {
    struct Step {
        Colour colour;
        double width;
        std::vector<int> kinds; // records appended by this call
    };
    const Step steps[] = {
        {7, 1.0, {3, 4}}, // first pen: colour, then width
        {7, 1.0, {}},     // unchanged: nothing
        {7, 2.0, {4}},    // new width only
        {8, 2.0, {3}},    // new colour only
        {9, 3.0, {3, 4}}, // both, colour first
        {9, 3.0, {}},
    };
    PaintContainer list;
    size_t before = 0;
    for (const Step& step : steps) {
        list.SetPen(step.colour, step.width);
        const std::vector<int> kinds = Kinds(list);
        EXPECT_EQ(std::vector<int>(kinds.begin() + static_cast<long>(before), kinds.end()),
                  step.kinds)
            << step.colour << " " << step.width;
        before = kinds.size();
        EXPECT_EQ(list.PenColour(), step.colour);
        EXPECT_EQ(list.PenWidth(), step.width);
    }
}

// A width that is not a number would reach the conversion to pixels.
TEST(PaintContainer, NonFiniteWidthsAreNotRecorded) {
    PaintContainer list;
    list.SetPen(7, 1.5);
    for (double width : {kNaN, kInf, -kInf}) {
        list.SetPen(8, width);
        EXPECT_EQ(list.PenWidth(), 1.5);
    }
    list.DrawText(kNaN, {0, 0}, 0, 1, 1, 9, "AB", 0); // text height NaN: no strokes, no width
    for (const DecodedRecord& r : Decode(list))
        EXPECT_TRUE(r.kind != 4 || r.width == 1.5);
    EXPECT_EQ(Lines(list).size(), 0u);
}

TEST(PaintContainer, BrushIsNotCachedAndPolygonSetsThePenFirst) {
    PaintContainer list;
    list.SetBrush(4);
    list.SetBrush(4);
    const Vec2 points[] = {{0, 0}, {1, 0}, {0, 1}};
    list.AddPolygon(2, 0.5, points);
    list.AddPolygon(2, 0.5, points);
    EXPECT_EQ(Kinds(list), (std::vector<int>{2, 2, 3, 4, 1, 1}));
}

TEST(PaintContainer, BoundingBoxCoversLinesAndPolygonsButNotStateRecords) {
    PaintContainer list;
    list.SetPen(1, 100.0);
    list.SetBrush(2);
    EXPECT_EQ(list.BoundingBox(), PaintContainer().BoundingBox());
    list.AddLine({1, 5}, {-2, 3});
    EXPECT_EQ(list.BoundingBox(), (SceneBox{-2, 3, 1, 5}));
    const Vec2 points[] = {{0, 0}, {4, -1}, {2, 7}};
    list.AddPolygon(1, 100.0, points);
    EXPECT_EQ(list.BoundingBox(), (SceneBox{-2, -1, 4, 7}));
}

TEST(PaintContainer, MoveToAndLineToUseTheirOwnSlots) {
    PaintContainer list;
    list.MoveTo(1, {0, 0});
    list.MoveTo(2, {10, 10});
    list.LineTo(1, {1, 0});
    list.LineTo(2, {11, 10});
    list.LineTo(1, {1, 1});
    EXPECT_EQ(list.RecordCount(), 3);
    const auto lines = Lines(list);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], std::make_pair(Vec2{0, 0}, Vec2{1, 0}));
    EXPECT_EQ(lines[1], std::make_pair(Vec2{10, 10}, Vec2{11, 10}));
    EXPECT_EQ(lines[2], std::make_pair(Vec2{1, 0}, Vec2{1, 1}));
    EXPECT_EQ(list.CurrentPoint(1), (Vec2{1, 1}));
}

// The stream grows by the larger of the appended size and 1000 bytes.
TEST(PaintContainer, StreamGrowsByAtLeastOneThousandBytes) {
    PaintContainer list;
    EXPECT_EQ(list.Capacity(), 0);
    list.AddLine({0, 0}, {1, 1});
    EXPECT_EQ(list.Capacity(), 1000);
    for (int i = 1; i < 27; ++i)
        list.AddLine({0, 0}, {1, 1});
    EXPECT_EQ(list.ByteCount(), 972);
    EXPECT_EQ(list.Capacity(), 1000);
    list.AddLine({0, 0}, {1, 1}); // 1008 bytes do not fit
    EXPECT_EQ(list.Capacity(), 2000);

    PaintContainer polygons;
    std::vector<Vec2> many(100, Vec2{1, 2});
    polygons.SetBrush(0);
    polygons.AddPolygon(0, 1.0, many); // 8 + 12 + 1608 bytes
    EXPECT_EQ(polygons.ByteCount(), 8 + 8 + 12 + 1608);
    EXPECT_EQ(polygons.Capacity(), 1000 + 1608);
}

// Beyond 2000 bytes the stream grows by half its capacity: a scene of 100 MB
// needs some forty reallocations, not a hundred thousand.
TEST(PaintContainer, LargeStreamsGrowByHalfTheirCapacity) {
    PaintContainer list;
    std::vector<int> capacities;
    while (capacities.size() < 6) {
        list.AddLine({0, 0}, {1, 1});
        if (capacities.empty() || capacities.back() != list.Capacity())
            capacities.push_back(list.Capacity());
    }
    EXPECT_EQ(capacities, (std::vector<int>{1000, 2000, 3000, 4500, 6750, 10125}));
}

// Odd input must reach neither the box nor the conversion to pixels.
TEST(PaintContainer, RecordsWithNonFiniteCoordinatesAreDropped) {
    const Vec2 bad[] = {{kNaN, 0}, {0, kNaN}, {kInf, 0}, {0, -kInf}};
    for (Vec2 p : bad) {
        PaintContainer list;
        list.AddLine({0, 0}, p);
        list.AddLine(p, {0, 0});
        const Vec2 polygon[] = {{0, 0}, p, {1, 1}};
        list.AddPolygon(3, 1.0, polygon);
        EXPECT_EQ(Kinds(list), (std::vector<int>{3, 4})) << p.x << " " << p.y;
        EXPECT_EQ(list.BoundingBox(), PaintContainer().BoundingBox());

        list.MoveTo(0, p);
        list.LineTo(0, {1, 1}); // dropped, but the slot moves on
        list.LineTo(0, {2, 2});
        EXPECT_EQ(list.RecordCount(), 3);
        EXPECT_EQ(list.BoundingBox(), (SceneBox{1, 1, 2, 2}));
    }
}

} // namespace
