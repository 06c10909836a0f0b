#include "GraphicsTestSupport.h"
#include "graphics/StrokeFont.h"

#include <cmath>
#include <numbers>

namespace {

// Every glyph of the font: its advance, the point count of each stroke, and
// the first and last point of its first stroke.
struct GlyphRow {
    char16_t code;
    int advance;
    std::vector<size_t> pointCounts;
    GlyphPoint first;
    GlyphPoint last;
};

const GlyphRow kGlyphRows[] = {
    {u'0', 620, {9}, {125, -1000}, {125, -1000}},
    {u'1', 500, {5}, {0, -835}, {250, 0}},
    {u'2', 740, {10}, {0, -835}, {500, 0}},
    {u'3', 740, {13}, {0, -835}, {0, -165}},
    {u'4', 740, {4}, {500, -335}, {375, 0}},
    {u'5', 740, {9}, {0, -165}, {500, -1000}},
    {u'6', 740, {10}, {375, -1000}, {0, -500}},
    {u'7', 740, {3}, {125, 0}, {0, -1000}},
    {u'8', 740, {17}, {125, -1000}, {125, -1000}},
    {u'9', 740, {10}, {125, 0}, {500, -500}},
    {u'A', 750, {7}, {0, 0}, {500, 0}},
    {u'Ä', 750, {7, 2, 2}, {0, 0}, {500, 0}},
    {u'B', 750, {13}, {0, 0}, {125, 0}},
    {u'C', 750, {8}, {500, -165}, {500, -835}},
    {u'D', 750, {8}, {0, 0}, {125, 0}},
    {u'E', 750, {7}, {500, -1000}, {500, 0}},
    {u'F', 750, {6}, {0, 0}, {500, -1000}},
    {u'G', 750, {8}, {375, -500}, {500, -1000}},
    {u'H', 750, {6}, {0, 0}, {500, 0}},
    {u'I', 500, {6}, {0, 0}, {0, -1000}},
    {u'J', 750, {5}, {0, -165}, {500, -1000}},
    {u'K', 750, {7}, {0, 0}, {500, 0}},
    {u'L', 750, {3}, {500, 0}, {0, -1000}},
    {u'M', 750, {5}, {0, 0}, {500, 0}},
    {u'N', 750, {4}, {0, 0}, {500, -1000}},
    {u'O', 750, {5}, {0, 0}, {0, 0}},
    {u'Ö', 750, {5, 2, 2}, {0, 0}, {0, 0}},
    {u'P', 750, {7}, {0, 0}, {0, -500}},
    {u'Q', 750, {13}, {375, -165}, {500, 0}},
    {u'R', 750, {9}, {0, 0}, {500, 0}},
    {u'S', 750, {8}, {0, -165}, {500, -835}},
    {u'T', 750, {4}, {250, 0}, {500, -1000}},
    {u'U', 750, {6}, {0, -1000}, {500, -1000}},
    {u'Ü', 750, {6, 2, 2}, {0, -1000}, {500, -1000}},
    {u'V', 1000, {3}, {0, -1000}, {750, -1000}},
    {u'W', 1000, {5}, {0, -1000}, {750, -1000}},
    {u'X', 750, {6}, {0, -1000}, {500, 0}},
    {u'Y', 750, {5}, {0, -1000}, {500, -1000}},
    {u'Z', 750, {4}, {0, -1000}, {500, 0}},
    {u' ', 500, {0}, {0, 0}, {0, 0}}, // no points
    {u'+', 740, {5}, {0, -500}, {250, -165}},
    {u'-', 740, {2}, {0, -500}, {500, -500}},
    {u'.', 240, {4}, {0, 0}, {5, 0}},
    {u',', 370, {6}, {0, 165}, {5, 170}},
    {u'(', 500, {4}, {250, 0}, {250, -1000}},
    {u')', 500, {4}, {0, 0}, {0, -1000}},
    {u'&', 750, {11}, {500, 0}, {500, -330}},
    {u'=', 740, {2, 2}, {0, -500}, {500, -500}},
};

TEST(StrokeFont, HoldsEveryGlyphOfTheTableInOrder) {
    const auto glyphs = TheStrokeFont().Glyphs();
    ASSERT_EQ(glyphs.size(), std::size(kGlyphRows));
    for (size_t i = 0; i < glyphs.size(); ++i) {
        const GlyphRow& row = kGlyphRows[i];
        const StrokeGlyph& glyph = glyphs[i];
        SCOPED_TRACE(static_cast<int>(row.code));
        EXPECT_EQ(glyph.code, row.code);
        EXPECT_EQ(glyph.Advance(), row.advance);
        ASSERT_EQ(glyph.strokes.size(), row.pointCounts.size());
        for (size_t s = 0; s < glyph.strokes.size(); ++s)
            EXPECT_EQ(glyph.strokes[s].points.size(), row.pointCounts[s]) << "stroke " << s;
        if (row.pointCounts[0] > 0) {
            EXPECT_EQ(glyph.strokes[0].points.front().x, row.first.x);
            EXPECT_EQ(glyph.strokes[0].points.front().y, row.first.y);
            EXPECT_EQ(glyph.strokes[0].points.back().x, row.last.x);
            EXPECT_EQ(glyph.strokes[0].points.back().y, row.last.y);
        }
    }
}

TEST(StrokeFont, UmlautsAreTheLetterWithTwoDotStrokes) {
    const StrokeFont& font = TheStrokeFont();
    for (const auto& [umlaut, letter] : {std::pair{U'Ä', U'A'}, {U'Ö', U'O'}, {U'Ü', U'U'}}) {
        const StrokeGlyph& glyph = font.Glyph(umlaut);
        ASSERT_EQ(glyph.strokes.size(), 3u);
        EXPECT_EQ(glyph.strokes[0].points.size(), font.Glyph(letter).strokes[0].points.size());
        EXPECT_EQ(glyph.strokes[1].advance, 500);
        EXPECT_EQ(glyph.strokes[2].advance, 500);
        EXPECT_EQ(glyph.strokes[1].points[1].x, 120);
        EXPECT_EQ(glyph.strokes[1].points[1].y, -1160);
        EXPECT_EQ(glyph.strokes[2].points[0].x, 380);
        EXPECT_EQ(glyph.strokes[2].points[0].y, -1000);
    }
}

TEST(StrokeFont, LowerCaseLettersUseTheUpperCaseGlyphsOthersTheSpace) {
    const StrokeFont& font = TheStrokeFont();
    EXPECT_EQ(&font.Glyph(U'e'), &font.Glyph(U'E'));
    EXPECT_EQ(&font.Glyph(U'z'), &font.Glyph(U'Z'));
    EXPECT_EQ(font.Glyph(U'E').code, u'E');
    const StrokeGlyph& space = font.Glyph(U' ');
    for (char32_t outside : {U'§', U'ä', U'*', U'/', U'\u20AC', U'\uFFFD', char32_t(0x1F600)})
        EXPECT_EQ(&font.Glyph(outside), &space) << static_cast<long>(outside);
    EXPECT_EQ(font.Find(U'a'), nullptr);
}

TEST(TextWidth, SumsTheAdvancesInFontUnits) {
    const struct {
        const char* text;
        int width;
    } rows[] = {
        {"", 0},
        {"S12", 750 + 500 + 740},
        {"1.5E-3", 500 + 240 + 740 + 750 + 740 + 740},
        {"1.5e-3", 500 + 240 + 740 + 750 + 740 + 740},
        {"ÄÖÜ", 3 * 750}, // two-byte characters count once
        {"§", 500},       // outside the font: a space
        {"§§§", 1500},    // 500 units per character
        {"\xff", 500},    // a stray byte is one character
        {"W,", 1000 + 370},
        {"(M=1)", 500 + 750 + 740 + 500 + 500},
    };
    for (const auto& row : rows)
        EXPECT_EQ(TextWidth(row.text), row.width) << row.text;
}

// "N" starts at its glyph origin, so the first stroke of a text "N" begins at
// the text origin: (0, 0) → (0, −1000) → (500, 0) → (500, −1000).
struct PlacementRow {
    unsigned flags;
    double ox, oy; // expected origin − anchor, with gap 2, height 10, width 7.5
};

TEST(DrawText, PlacementFlagsMoveTheOriginAsDescribed) {
    const PlacementRow rows[] = {
        {0, 0, 5},
        {kTextLeft, -9.5, 5},
        {kTextRight, 2, 5},
        {kTextCentre, -3.75, 5},
        {kTextAbove, 0, -2},
        {kTextBelow, 0, 12},
        {kTextLeft | kTextBelow, -9.5, 12}, // ends a gap left, top a gap below
        {kTextRight | kTextAbove, 2, -2},
        {kTextCentre | kTextAbove, -3.75, -2},
        {kTextCentre | kTextBelow, -3.75, 12},
        {kTextLeft | kTextRight, -7.5, 5}, // applied in order
        {kTextLeft | kTextCentre, -13.25, 5},
        {kTextAbove | kTextBelow, 0, -2}, // above wins
    };
    const Vec2 anchor{100, 200};
    for (const PlacementRow& row : rows) {
        PaintContainer list;
        list.DrawText(1.0, anchor, 0.0, 2.0, 10.0, 0, "N", row.flags);
        const auto lines = Lines(list);
        ASSERT_EQ(lines.size(), 3u);
        EXPECT_VEC2_NEAR(lines[0].first, 100 + row.ox, 200 + row.oy, 1e-12) << row.flags;
        EXPECT_VEC2_NEAR(lines[0].second, 100 + row.ox, 200 + row.oy - 10, 1e-12);
        EXPECT_VEC2_NEAR(lines[1].second, 100 + row.ox + 5, 200 + row.oy, 1e-12);
    }
}

TEST(DrawText, LeftBelowEndsAGapLeftOfTheAnchorWithItsTopAGapBelow) {
    PaintContainer list;
    list.DrawText(1.0, {0, 0}, 0.0, 1.0, 10.0, 0, "L", kTextLeft | kTextBelow);
    // "L" is 750 units: 7.5 wide; its strokes reach x = 5 and y = −10.
    const SceneBox& box = list.BoundingBox();
    EXPECT_DOUBLE_EQ(box.minX, -8.5);
    EXPECT_DOUBLE_EQ(box.maxX, -8.5 + 5);
    EXPECT_DOUBLE_EQ(box.minY, 1.0); // top a gap below the anchor
    EXPECT_DOUBLE_EQ(box.maxY, 11.0);
}

TEST(DrawText, SizeMultipliesGapAndHeight) {
    PaintContainer list;
    list.DrawText(2.0, {0, 0}, 0.0, 2.0, 10.0, 0, "N", kTextLeft | kTextAbove);
    const auto lines = Lines(list);
    // height 20, gap 4, width 15
    EXPECT_VEC2_NEAR(lines[0].first, -19, -4, 1e-12);
    EXPECT_VEC2_NEAR(lines[0].second, -19, -24, 1e-12);
    EXPECT_EQ(Decode(list)[1].width, 2.0); // strokes are a tenth of the height
}

TEST(DrawText, AngleTurnsTheOffsetAndTheGlyphs) {
    PaintContainer list;
    list.DrawText(1.0, {10, 20}, std::numbers::pi / 2, 2.0, 10.0, 0, "NN", kTextRight | kTextAbove);
    const auto lines = Lines(list);
    ASSERT_EQ(lines.size(), 6u);
    // offset (2, −2) turned by a quarter: (2, 2); the stroke (0, −10) becomes (10, 0)
    EXPECT_VEC2_NEAR(lines[0].first, 12, 22, 1e-12);
    EXPECT_VEC2_NEAR(lines[0].second, 22, 22, 1e-12);
    // the second glyph starts 7.5 further along the turned baseline
    EXPECT_VEC2_NEAR(lines[3].first, 12, 29.5, 1e-12);
}

TEST(DrawText, AdvancesByEachGlyphAndByFiveHundredOutsideTheFont) {
    PaintContainer list;
    list.DrawText(1.0, {0, 0}, 0.0, 0.0, 10.0, 0, "N§N1N", kTextAbove);
    const auto lines = Lines(list);
    ASSERT_EQ(lines.size(), 3u + 0u + 3u + 4u + 3u);
    EXPECT_VEC2_NEAR(lines[0].first, 0, 0, 1e-12);
    EXPECT_VEC2_NEAR(lines[3].first, 7.5 + 5, 0, 1e-12);
    EXPECT_VEC2_NEAR(lines[10].first, 7.5 + 5 + 7.5 + 5, 0, 1e-12);

    PaintContainer outside;
    outside.DrawText(1.0, {0, 0}, 0.0, 0.0, 10.0, 0, "§§", 0);
    EXPECT_TRUE(Lines(outside).empty());
}

TEST(DrawText, LowerCaseDrawsLikeUpperCase) {
    PaintContainer lower, upper;
    lower.DrawText(1.0, {1, 2}, 0.3, 1.0, 5.0, 9, "1.5e-3 kn", kTextCentre);
    upper.DrawText(1.0, {1, 2}, 0.3, 1.0, 5.0, 9, "1.5E-3 KN", kTextCentre);
    EXPECT_TRUE(SameStream(lower, upper));
}

TEST(DrawText, SetsTheTextPenAndThenTheCallersPenAgain) {
    PaintContainer list;
    list.SetPen(1, 0.5);
    list.DrawText(1.0, {0, 0}, 0.0, 0.0, 10.0, 7, "-", 0);
    const auto records = Decode(list);
    ASSERT_EQ(records.size(), 2u + 2u + 1u + 2u);
    EXPECT_EQ(records[2].kind, 3);
    EXPECT_EQ(records[2].colour, 7);
    EXPECT_EQ(records[3].kind, 4);
    EXPECT_EQ(records[3].width, 1.0);
    EXPECT_EQ(records[4].kind, 0);
    EXPECT_EQ(records[5].colour, 1);
    EXPECT_EQ(records[6].width, 0.5);
    EXPECT_EQ(list.PenColour(), 1);
    EXPECT_EQ(list.PenWidth(), 0.5);

    // With the caller's pen equal to the text's pen nothing is set twice.
    PaintContainer same;
    same.SetPen(7, 1.0);
    same.DrawText(1.0, {0, 0}, 0.0, 0.0, 10.0, 7, "-", 0);
    EXPECT_EQ(Kinds(same), (std::vector<int>{3, 4, 0}));
}

// A list without a pen has none to set again: the text's pen stays, instead of
// a colour −1 and a width −1 that would reach the canvas.
TEST(DrawText, FreshListKeepsTheTextPen) {
    PaintContainer list;
    list.DrawText(1.0, {0, 0}, 0.0, 0.0, 10.0, 7, "-", 0);
    EXPECT_EQ(Kinds(list), (std::vector<int>{3, 4, 0}));
    EXPECT_EQ(list.PenColour(), 7);
    EXPECT_EQ(list.PenWidth(), 1.0);
}

} // namespace
