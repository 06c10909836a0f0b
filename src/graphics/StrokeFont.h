#pragma once

#include <span>
#include <string_view>
#include <vector>

// The built-in stroke font. Units are 1/1000 of the text height; x grows to
// the right from the glyph origin, y downward: the cap height is y = −1000
// and the baseline y = 0. The font has only upper-case letters, digits, the
// umlauts Ä, Ö, Ü, the space and + - . , ( ) & =.

struct GlyphPoint {
    int x;
    int y;
};

// One polyline of a glyph, with its advance width.
struct GlyphStroke {
    int advance = 0;
    std::vector<GlyphPoint> points;
};

struct StrokeGlyph {
    char16_t code = 0;
    std::vector<GlyphStroke> strokes; // one to three

    // The largest advance of the strokes.
    int Advance() const;
};

class StrokeFont {
public:
    // The glyphs in table order.
    std::span<const StrokeGlyph> Glyphs() const { return glyphs_; }
    // The first glyph whose code equals the character after upper-casing
    // a–z; the space glyph for a character that is not in the font.
    const StrokeGlyph& Glyph(char32_t character) const;
    // The glyph with exactly this code, or none.
    const StrokeGlyph* Find(char32_t code) const;

private:
    friend const StrokeFont& TheStrokeFont();
    StrokeFont();

    std::vector<StrokeGlyph> glyphs_;
    const StrokeGlyph* space_ = nullptr;
};

// The program's stroke font, built at first use.
const StrokeFont& TheStrokeFont();

// Splits UTF-8 text into characters; a byte that does not start a valid
// sequence counts as one character U+FFFD.
template <class Visit> void ForEachCharacter(std::string_view text, Visit visit);

// Implementation of ForEachCharacter.
char32_t NextCharacter(std::string_view text, size_t& i);

template <class Visit> void ForEachCharacter(std::string_view text, Visit visit) {
    for (size_t i = 0; i < text.size();)
        visit(NextCharacter(text, i));
}
