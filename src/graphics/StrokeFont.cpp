#include "graphics/StrokeFont.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>

namespace {

// Point lists as written in the font table: "x,y x,y …".
constexpr const char* kA = "0,0 0,-335 250,-1000 500,-335 0,-335 500,-335 500,0";
constexpr const char* kO = "0,0 0,-1000 500,-1000 500,0 0,0";
constexpr const char* kU = "0,-1000 0,-165 125,0 375,0 500,-165 500,-1000";
constexpr const char* kLeftDot = "120,-1000 120,-1160";
constexpr const char* kRightDot = "380,-1000 380,-1160";
constexpr int kDotAdvance = 500;

struct StrokeSource {
    int advance;
    const char* points;
};

struct GlyphSource {
    char16_t code;
    std::initializer_list<StrokeSource> strokes;
};

std::vector<GlyphPoint> ParsePoints(const char* text) {
    std::vector<GlyphPoint> points;
    char* end = nullptr;
    for (const char* p = text; *p;) {
        const long x = std::strtol(p, &end, 10);
        const long y = std::strtol(end + 1, &end, 10); // skip the comma
        points.push_back({static_cast<int>(x), static_cast<int>(y)});
        p = end;
        while (*p == ' ')
            ++p;
    }
    return points;
}

} // namespace

int StrokeGlyph::Advance() const {
    int advance = 0;
    for (const GlyphStroke& stroke : strokes)
        advance = std::max(advance, stroke.advance);
    return advance;
}

StrokeFont::StrokeFont() {
    const GlyphSource table[] = {
        {u'0',
         {{620, "125,-1000 0,-835 0,-165 125,0 250,0 375,-165 375,-835 250,-1000 125,-1000"}}},
        {u'1', {{500, "0,-835 125,-1000 125,0 0,0 250,0"}}},
        {u'2',
         {{740,
           "0,-835 125,-1000 375,-1000 500,-835 500,-665 375,-500 125,-500 0,-335 0,0 500,0"}}},
        {u'3',
         {{740, "0,-835 125,-1000 375,-1000 500,-835 500,-665 375,-500 250,-500 375,-500 "
                "500,-335 500,-165 375,0 125,0 0,-165"}}},
        {u'4', {{740, "500,-335 0,-335 375,-1000 375,0"}}},
        {u'5', {{740, "0,-165 125,0 375,0 500,-165 500,-500 375,-665 0,-665 0,-1000 500,-1000"}}},
        {u'6',
         {{740,
           "375,-1000 250,-1000 0,-665 0,-165 125,0 375,0 500,-165 500,-335 375,-500 0,-500"}}},
        {u'7', {{740, "125,0 500,-1000 0,-1000"}}},
        {u'8',
         {{740, "125,-1000 0,-835 0,-665 125,-500 0,-335 0,-165 125,0 375,0 500,-165 500,-335 "
                "375,-500 125,-500 375,-500 500,-665 500,-835 375,-1000 125,-1000"}}},
        {u'9',
         {{740,
           "125,0 250,0 500,-335 500,-835 375,-1000 125,-1000 0,-835 0,-665 125,-500 500,-500"}}},
        {u'A', {{750, kA}}},
        {u'Ä', {{750, kA}, {kDotAdvance, kLeftDot}, {kDotAdvance, kRightDot}}},
        {u'B',
         {{750, "0,0 375,0 500,-165 500,-335 375,-500 125,-500 375,-500 500,-665 500,-835 "
                "375,-1000 0,-1000 125,-1000 125,0"}}},
        {u'C', {{750, "500,-165 375,0 125,0 0,-165 0,-835 125,-1000 375,-1000 500,-835"}}},
        {u'D', {{750, "0,0 375,0 500,-165 500,-835 375,-1000 0,-1000 125,-1000 125,0"}}},
        {u'E', {{750, "500,-1000 0,-1000 0,-500 250,-500 0,-500 0,0 500,0"}}},
        {u'F', {{750, "0,0 0,-500 250,-500 0,-500 0,-1000 500,-1000"}}},
        {u'G', {{750, "375,-500 500,-500 500,0 125,0 0,-165 0,-835 125,-1000 500,-1000"}}},
        {u'H', {{750, "0,0 0,-1000 0,-500 500,-500 500,-1000 500,0"}}},
        {u'I', {{500, "0,0 250,0 125,0 125,-1000 250,-1000 0,-1000"}}},
        {u'J', {{750, "0,-165 125,0 375,0 500,-165 500,-1000"}}},
        {u'K', {{750, "0,0 0,-1000 0,-500 125,-500 500,-1000 125,-500 500,0"}}},
        {u'L', {{750, "500,0 0,0 0,-1000"}}},
        {u'M', {{750, "0,0 0,-1000 250,-335 500,-1000 500,0"}}},
        {u'N', {{750, "0,0 0,-1000 500,0 500,-1000"}}},
        {u'O', {{750, kO}}},
        {u'Ö', {{750, kO}, {kDotAdvance, kLeftDot}, {kDotAdvance, kRightDot}}},
        {u'P', {{750, "0,0 0,-1000 375,-1000 500,-835 500,-665 375,-500 0,-500"}}},
        {u'Q',
         {{750, "375,-165 250,0 125,0 0,-165 0,-835 125,-1000 375,-1000 500,-835 500,-335 "
                "375,-165 250,-335 375,-165 500,0"}}},
        {u'R', {{750, "0,0 0,-1000 375,-1000 500,-835 500,-665 375,-500 0,-500 125,-500 500,0"}}},
        {u'S', {{750, "0,-165 125,0 375,0 500,-165 0,-835 125,-1000 375,-1000 500,-835"}}},
        {u'T', {{750, "250,0 250,-1000 0,-1000 500,-1000"}}},
        {u'U', {{750, kU}}},
        {u'Ü', {{750, kU}, {kDotAdvance, kLeftDot}, {kDotAdvance, kRightDot}}},
        {u'V', {{1000, "0,-1000 375,0 750,-1000"}}},
        {u'W', {{1000, "0,-1000 250,0 375,-500 500,0 750,-1000"}}},
        {u'X', {{750, "0,-1000 250,-500 0,0 500,-1000 250,-500 500,0"}}},
        {u'Y', {{750, "0,-1000 250,-500 250,0 250,-500 500,-1000"}}},
        {u'Z', {{750, "0,-1000 500,-1000 0,0 500,0"}}},
        {u' ', {{500, ""}}},
        {u'+', {{740, "0,-500 500,-500 250,-500 250,-830 250,-165"}}},
        {u'-', {{740, "0,-500 500,-500"}}},
        {u'.', {{240, "0,0 0,-165 5,-165 5,0"}}},
        {u',', {{370, "0,165 125,0 125,-165 130,-165 130,5 5,170"}}},
        {u'(', {{500, "250,0 0,-335 0,-665 250,-1000"}}},
        {u')', {{500, "0,0 250,-335 250,-665 0,-1000"}}},
        {u'&',
         {{750, "500,0 0,-670 0,-830 125,-1000 250,-830 250,-670 0,-330 0,-170 125,0 250,0 "
                "500,-330"}}},
        {u'=', {{740, "0,-500 500,-500"}, {740, "0,-300 500,-300"}}},
    };
    glyphs_.reserve(std::size(table));
    for (const GlyphSource& source : table) {
        StrokeGlyph glyph;
        glyph.code = source.code;
        for (const StrokeSource& stroke : source.strokes)
            glyph.strokes.push_back({stroke.advance, ParsePoints(stroke.points)});
        glyphs_.push_back(std::move(glyph));
    }
    space_ = Find(U' ');
}

const StrokeGlyph* StrokeFont::Find(char32_t code) const {
    for (const StrokeGlyph& glyph : glyphs_)
        if (glyph.code == code)
            return &glyph;
    return nullptr;
}

const StrokeGlyph& StrokeFont::Glyph(char32_t character) const {
    if (character >= U'a' && character <= U'z')
        character -= U'a' - U'A';
    const StrokeGlyph* glyph = Find(character);
    return glyph ? *glyph : *space_;
}

const StrokeFont& TheStrokeFont() {
    static const StrokeFont font;
    return font;
}

char32_t NextCharacter(std::string_view text, size_t& i) {
    constexpr char32_t kReplacement = 0xFFFD;
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    int length = 0;
    char32_t code = 0;
    char32_t least = 0;
    if (lead < 0x80) {
        ++i;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07, least = 0x10000;
    } else {
        ++i;
        return kReplacement;
    }
    if (i + length > text.size()) {
        ++i;
        return kReplacement;
    }
    for (int k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            ++i;
            return kReplacement;
        }
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        ++i;
        return kReplacement;
    }
    i += length;
    return code;
}
