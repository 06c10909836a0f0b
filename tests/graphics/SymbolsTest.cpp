#include "graphics/Symbols.h"

#include "GraphicsTestSupport.h"
#include "graphics/SymbolShapes.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;
const double kSin120 = std::sqrt(3.0) / 2;

// --- Styled lines ------------------------------------------------------------

TEST(StyledLine, SolidIsOneLine) {
    PaintContainer list;
    StyledLine(list, {0, 0}, {3, 4}, 0.5, 9, kLineSolid);
    EXPECT_EQ(Kinds(list), (std::vector<int>{3, 4, 0}));
    EXPECT_EQ(Lines(list)[0], std::make_pair(Vec2{0, 0}, Vec2{3, 4}));
}

// Dashes of 10 × width with gaps of 5 × width, starting at p1, while the
// start of a period lies on the line.
TEST(StyledLine, DashesAreTenWidthsGapsFive) {
    const struct {
        double length, width;
        std::vector<double> starts; // dash starts; each dash is 10 × width long
    } rows[] = {
        {100, 1, {0, 15, 30, 45, 60, 75, 90}},
        {95, 1, {0, 15, 30, 45, 60, 75, 90}}, // the last dash runs 5 beyond p2
        {90, 1, {0, 15, 30, 45, 60, 75}},
        {100, 2, {0, 30, 60, 90}},
        {5, 1, {0}},
    };
    for (const auto& row : rows) {
        PaintContainer list;
        StyledLine(list, {10, 7}, {10 + row.length, 7}, row.width, 9, kLineDashed);
        const auto lines = Lines(list);
        ASSERT_EQ(lines.size(), row.starts.size()) << row.length << " " << row.width;
        for (size_t i = 0; i < lines.size(); ++i) {
            EXPECT_VEC2_NEAR(lines[i].first, 10 + row.starts[i], 7, 1e-9);
            EXPECT_VEC2_NEAR(lines[i].second, 10 + row.starts[i] + 10 * row.width, 7, 1e-9);
        }
    }
}

TEST(StyledLine, DashesFollowTheDirection) {
    PaintContainer list;
    StyledLine(list, {0, 0}, {0, -30}, 1, 9, kLineDashed);
    const auto lines = Lines(list);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_VEC2_NEAR(lines[1].first, 0, -15, 1e-9);
    EXPECT_VEC2_NEAR(lines[1].second, 0, -25, 1e-9);
}

TEST(StyledLine, DashDotIsADashAndADot) {
    PaintContainer list;
    StyledLine(list, {0, 0}, {19, 0}, 1, 9, kLineDashDot);
    const auto lines = Lines(list);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_VEC2_NEAR(lines[0].second, 10, 0, 1e-12);
    EXPECT_VEC2_NEAR(lines[1].first, 14, 0, 1e-12);
    EXPECT_VEC2_NEAR(lines[1].second, 15, 0, 1e-12);
}

TEST(StyledLine, ZeroLengthDashedLineDrawsNothing) {
    PaintContainer list;
    StyledLine(list, {4, 4}, {4, 4}, 1, 9, kLineDashed);
    EXPECT_TRUE(Lines(list).empty());
}

// The dash length is a multiple of the width: at width 0 the dashes would
// never move on. Such a line ends, drawn solid with the thinnest pen.
TEST(StyledLine, DashedLineOfWidthZeroEnds) {
    for (double width : {0.0, -1.0, 1e-12}) {
        PaintContainer list;
        StyledLine(list, {0, 0}, {100, 0}, width, 9, kLineDashed);
        const auto lines = Lines(list);
        ASSERT_EQ(lines.size(), 1u) << width;
        EXPECT_EQ(lines[0], std::make_pair(Vec2{0, 0}, Vec2{100, 0}));
    }
}

// --- Arrows --------------------------------------------------------------------

TEST(Arrow2D, ShaftAndHeadWithItsTipAtTheEnd) {
    PaintContainer list;
    Arrow2D(list, {0, 0}, {0, 10}, 2.0, 0.1, 9, 0);
    PaintContainer expected;
    StyledLine(expected, {0, 0}, {0, 10}, 0.1, 9, kLineSolid);
    ArrowHead.DrawShape(expected, 2.0, 0.1, 9, kPi / 2, {0, 10}, 0);
    EXPECT_TRUE(SameStream(list, expected));
}

TEST(Arrow2D, ShortShaftLosesItsHeadOnlyWithFlagTwo) {
    const struct {
        unsigned flags;
        double length;
        size_t lines;
    } rows[] = {
        {kArrowHideShortHead, 1.5, 1}, {kArrowHideShortHead, 2.5, 4}, {0, 1.5, 4}, {0, 0, 4}};
    for (const auto& row : rows) {
        PaintContainer list;
        Arrow2D(list, {0, 0}, {row.length, 0}, 2.0, 0.1, 9, row.flags);
        EXPECT_EQ(Lines(list).size(), row.lines) << row.flags << " " << row.length;
    }
}

TEST(Arrow3D, ProjectedShaftAndPyramidAtB) {
    ViewMatrix view;
    InitialView(view);
    PaintContainer list;
    Arrow3D(list, view, {0, 0, 0}, {1, 2, 3}, {0.1, 0.2, 0}, 0.5, 0.01, 9, 0);
    PaintContainer expected;
    StyledLine(expected, Project(view, {0, 0, 0}), Project(view, {1, 2, 3}), 0.01, 9, kLineSolid);
    ArrowHead3D.DrawShape3D(expected, 0.5, 0.01, {0.1, 0.2, 0}, view, 9, {1, 2, 3});
    EXPECT_TRUE(SameStream(list, expected));

    PaintContainer shortArrow; // seen from above, z has no length
    Arrow3D(shortArrow, TopView(), {0, 0, 0}, {0, 0, 3}, {0, 0, 0}, 0.5, 0.01, 9,
            kArrowHideShortHead);
    EXPECT_EQ(Lines(shortArrow).size(), 1u);
}

TEST(ForceHeadAxis, TurnsPlusZIntoTheDirection) {
    const Vec3 directions[] = {{1, 0, 0},     {0, 1, 0}, {-1, 0, 0}, {0, -1, 0},
                               {0.6, 0.8, 0}, {0, 0, 1}, {0, 0, -1}};
    for (Vec3 u : directions) {
        const Vec3 turned = Rotate({0, 0, 1}, ForceHeadAxis(u));
        EXPECT_NEAR(turned.x, u.x, 1e-12) << u.x << " " << u.y << " " << u.z;
        EXPECT_NEAR(turned.y, u.y, 1e-12);
        EXPECT_NEAR(turned.z, u.z, 1e-12);
    }
    EXPECT_EQ(ForceHeadAxis({0, 0, 1}), (Vec3{0, 0, 0}));    // unrotated head
    EXPECT_EQ(ForceHeadAxis({0, 0, -1}), (Vec3{kPi, 0, 0})); // half a turn about x
    EXPECT_EQ(ForceHeadAxis({1, 0, 0}), (Vec3{0, kPi / 2, 0}));
}

ArrowStyle Style(unsigned flags) {
    return {1.5, 0.4, 0.05, 2.0, 77, flags};
}

// The arrow composed of the documented parts, as the expectation.
void ExpectedForce(PaintContainer& list, const ViewMatrix& view, const ArrowStyle& s, Vec3 a,
                   Vec3 b, Vec3 axis, Vec2 anchor, const char* text, unsigned placement) {
    Arrow3D(list, view, a, b, axis, s.headSize, s.width, s.colour, s.flags);
    if (text)
        list.DrawText(s.textSize, anchor, 0, 0.2 * s.textHeight, s.textHeight, s.colour, text,
                      placement);
}

TEST(ForceArrow, EndsAtThePointOrStartsThereWithFlagFour) {
    const ViewMatrix top = TopView();
    const struct {
        const char* name;
        unsigned flags;
        Vec3 direction;
        double value;
        Vec3 a, b;
        Vec3 axis;
        Vec2 anchor;
        const char* text;
        unsigned placement;
    } rows[] = {
        // clang-format off
        // length factor 2: offset 2 × value × direction
        {"+x ends at P", kArrowLabel, {1, 0, 0}, 3,
         {4, 5, 0}, {10, 5, 0}, {0, kPi / 2, 0}, {4, 5}, "3", kTextLeft | kTextBelow},
        {"+x from P", kArrowLabel | kArrowFromPoint, {1, 0, 0}, 3,
         {10, 5, 0}, {16, 5, 0}, {0, kPi / 2, 0}, {16, 5}, "3", kTextRight | kTextBelow},
        {"negative value turns it", kArrowLabel, {1, 0, 0}, -3,
         {16, 5, 0}, {10, 5, 0}, {0, -kPi / 2, 0}, {16, 5}, "-3", kTextRight | kTextBelow},
        {"absolute label", kArrowLabel | kArrowAbsolute, {1, 0, 0}, -2.5,
         {15, 5, 0}, {10, 5, 0}, {0, -kPi / 2, 0}, {15, 5}, "2.5", kTextRight | kTextBelow},
        {"-y from P: label above", kArrowLabel | kArrowFromPoint, {0, -1, 0}, 1,
         {10, 5, 0}, {10, 3, 0}, {kPi / 2, 0, 0}, {10, 3}, "1", kTextRight | kTextAbove},
        {"no label", 0, {0, 1, 0}, 1234.5,
         {10, -2464, 0}, {10, 5, 0}, {-kPi / 2, 0, 0}, {10, -2464}, nullptr, 0},
        {"three digits", kArrowLabel, {0, 1, 0}, 1234.5,
         {10, -2464, 0}, {10, 5, 0}, {-kPi / 2, 0, 0}, {10, -2464}, "1.23e+03",
         kTextRight | kTextAbove},
        {"value 0: head at P", kArrowLabel, {0, 0, 1}, 0,
         {10, 5, 0}, {10, 5, 0}, {kPi, 0, 0}, {10, 5}, "0", kTextRight | kTextBelow},
        // clang-format on
    };
    for (const auto& row : rows) {
        const ArrowStyle s = Style(row.flags);
        PaintContainer list;
        ForceArrow(list, top, s, {10, 5, 0}, row.direction, 2.0, row.value);
        PaintContainer expected;
        ExpectedForce(expected, top, s, row.a, row.b, row.axis, row.anchor, row.text,
                      row.placement);
        EXPECT_TRUE(SameStream(list, expected)) << row.name;
    }
}

TEST(ForceArrow, GivenTextReplacesTheValue) {
    ViewMatrix view;
    InitialView(view);
    const ArrowStyle s = Style(0x14);
    PaintContainer list;
    ForceArrow(list, view, s, {0, 0, 0}, {0, 0, 1}, 3.0, 1.0, "z");
    const Vec2 anchor = Project(view, {0, 0, 3});
    // z points down on the screen: the label below, and right as x is not left
    PaintContainer expected;
    ExpectedForce(expected, view, s, {0, 0, 0}, {0, 0, 3}, {0, 0, 0}, anchor, "z",
                  kTextRight | kTextBelow);
    EXPECT_TRUE(SameStream(list, expected));
}

// A moment of value 2 at P = (10, 5) with length factor 10 and head size 0.4.
TEST(MomentArrow, LineWithTwoHeadsOneHeadSizeApart) {
    const ViewMatrix top = TopView();
    const struct {
        const char* name;
        unsigned flags;
        double value, phi;
        Vec3 a, b, c, axis;
        Vec2 anchor;
        const char* text;
        unsigned placement;
    } rows[] = {
        // clang-format off
        {"along x", kArrowLabel, 2, 0,
         {-10, 5, 0}, {10, 5, 0}, {9.6, 5, 0}, {0, kPi / 2, 0},
         {-10, 5}, "2", kTextLeft | kTextBelow},
        {"negative", kArrowLabel, -2, 0,
         {30, 5, 0}, {10, 5, 0}, {10.4, 5, 0}, {0, -kPi / 2, 0},
         {30, 5}, "-2", kTextRight | kTextBelow},
        {"from P", kArrowLabel | kArrowFromPoint | kArrowAbsolute, -2, 0,
         {10, 5, 0}, {-10, 5, 0}, {-9.6, 5, 0}, {0, -kPi / 2, 0},
         {10, 5}, "2", kTextRight | kTextBelow},
        // at 120°: the tail lies right of and above the tip
        {"at 120 degrees", kArrowLabel, 2, 2 * kPi / 3,
         {20, 5 - 20 * kSin120, 0}, {10, 5, 0}, {10.2, 5 - 0.4 * kSin120, 0},
         {-kPi / 2 * kSin120, -kPi / 4, 0},
         {20, 5 - 20 * kSin120}, "2", kTextRight | kTextAbove},
        {"value 0: heads on one point", 0, 0, 0,
         {10, 5, 0}, {10, 5, 0}, {10, 5, 0}, {0, kPi / 2, 0},
         {10, 5}, nullptr, 0},
        // clang-format on
    };
    for (const auto& row : rows) {
        const ArrowStyle s = Style(row.flags);
        PaintContainer list;
        MomentArrow(list, top, s, {10, 5, 0}, 10.0, row.value, row.phi);
        PaintContainer expected;
        StyledLine(expected, Project(top, row.a), Project(top, row.b), s.width, s.colour,
                   kLineSolid);
        ArrowHead3D.DrawShape3D(expected, s.headSize, s.width, row.axis, top, s.colour, row.b);
        ArrowHead3D.DrawShape3D(expected, s.headSize, s.width, row.axis, top, s.colour, row.c);
        if (row.text)
            expected.DrawText(s.textSize, row.anchor, 0, 0.2 * s.textHeight, s.textHeight, s.colour,
                              row.text, row.placement);
        // Compare the drawn lines (the axis and C may differ in the last bits).
        const auto got = Lines(list), want = Lines(expected);
        ASSERT_EQ(got.size(), want.size()) << row.name;
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_VEC2_NEAR(got[i].first, want[i].first.x, want[i].first.y, 1e-9) << row.name;
            EXPECT_VEC2_NEAR(got[i].second, want[i].second.x, want[i].second.y, 1e-9) << row.name;
        }
    }
}

// --- Ordinate labels -------------------------------------------------------------

TEST(OrdinateLabel, TinyValuesAreNotWritten) {
    PaintContainer list;
    OrdinateLabel(list, 1, 100, 10, 0, {0, 0}, {0, 5}, {1, 0}, 9.9e-5, true, false);
    EXPECT_EQ(list.ByteCount(), 0);
    OrdinateLabel(list, 1, 100, 10, 0, {0, 0}, {0, 5}, {1, 0}, -9.9e-5, true, false);
    EXPECT_EQ(list.ByteCount(), 0);
    OrdinateLabel(list, 1, 100, 10, 0, {0, 0}, {0, 5}, {1, 0}, 1e-4, true, false);
    EXPECT_GT(list.ByteCount(), 0);
}

// Ordinate from e = (0, 0) down to g = (0, 5) (polar angle of e − g: −π/2).
TEST(OrdinateLabel, SideTextAndAngle) {
    const double S = 200;
    const struct {
        const char* name;
        Vec2 q;
        double value;
        bool side, absolute;
        unsigned placement;
        double angle;
        const char* text;
    } rows[] = {
        // clang-format off
        // (q − e) × (g − e): q to the right gives 1·5 − 0 = 5 > 0
        {"right, side",       {1, 0},  12.5,   true,  false, kTextCentre | kTextAbove, -kPi / 2, "12.50"},
        {"right, other side", {1, 0},  12.5,   false, false, kTextCentre | kTextBelow, -kPi / 2, "12.50"},
        {"left inverts",      {-1, 0}, 12.5,   true,  false, kTextCentre | kTextBelow, -kPi / 2, "12.50"},
        {"negative inverts and turns",
                              {1, 0},  -3,     true,  false, kTextCentre | kTextBelow, kPi / 2,  "-3.000"},
        {"both invert",       {-1, 0}, -3,     true,  true,  kTextCentre | kTextAbove, kPi / 2,  "3.000"},
        {"four digits",       {1, 0},  123456, true,  false, kTextCentre | kTextAbove, -kPi / 2, "1.235e+05"},
        // clang-format on
    };
    for (const auto& row : rows) {
        PaintContainer list;
        OrdinateLabel(list, 1.5, S, 1, 42, {0, 0}, {0, 5}, row.q, row.value, row.side,
                      row.absolute);
        PaintContainer expected;
        expected.DrawText(1.5, {0, 2.5}, row.angle, S * 0.001, S * 0.01, 42, row.text,
                          row.placement);
        const auto got = Lines(list), want = Lines(expected);
        ASSERT_EQ(got.size(), want.size()) << row.name;
        for (size_t i = 0; i < got.size(); ++i)
            EXPECT_VEC2_NEAR(got[i].first, want[i].first.x, want[i].first.y, 1e-12) << row.name;
    }
}

TEST(ArrowStyle, ScaledMultipliesTheSettingsBySceneSize) {
    const ArrowStyle s = ArrowStyle::Scaled(200, 1.5, 0.02, 0.003, 0.02, 5, 0x24);
    EXPECT_DOUBLE_EQ(s.headSize, 4);
    EXPECT_DOUBLE_EQ(s.width, 0.6);
    EXPECT_DOUBLE_EQ(s.textHeight, 4);
    EXPECT_EQ(s.textSize, 1.5);
    EXPECT_EQ(s.colour, 5);
    EXPECT_EQ(s.flags, 0x24u);
}

} // namespace
