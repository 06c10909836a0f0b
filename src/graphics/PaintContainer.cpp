#include "graphics/PaintContainer.h"

#include "graphics/LabelLayout.h"
#include "graphics/StrokeFont.h"
#include "model/BalkorError.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

namespace {

// Packs a record into a small buffer so that it is appended in one step.
class RecordWriter {
public:
    explicit RecordWriter(std::int32_t kind) { Put(kind); }
    template <class T> void Put(const T& value) {
        std::memcpy(buffer_ + size_, &value, sizeof value);
        size_ += static_cast<int>(sizeof value);
    }
    void AppendTo(PaintContainer& stream) const {
        stream.MakeRoom(size_);
        stream.Append(buffer_, size_);
    }

private:
    unsigned char buffer_[kLineRecordSize];
    int size_ = 0;
};

bool AllFinite(std::span<const Vec2> points) {
    return std::all_of(points.begin(), points.end(), [](Vec2 p) { return IsFinite(p); });
}

} // namespace

PaintContainer::PaintContainer() : PContainer(1, kPaintGrowth) {
    Clear();
}

void PaintContainer::Clear() {
    Empty();
    ++fills_;
    recordCount_ = 0;
    penWidth_ = kNoPenWidth;
    penColour_ = kNoPenColour;
    box_ = {kEmptyBoxLimit, kEmptyBoxLimit, -kEmptyBoxLimit, -kEmptyBoxLimit};
    layer_ = kLayerStructure;
    layerMarks_.clear();
}

void PaintContainer::SetLayer(int layer) {
    if (layer == layer_)
        return;
    layer_ = layer;
    // A mark without records after it is replaced.
    if (!layerMarks_.empty() && layerMarks_.back().offset == ByteCount())
        layerMarks_.back().layer = layer;
    else
        layerMarks_.push_back({ByteCount(), layer});
}

void PaintContainer::MakeRoom(int bytes) {
    if (Capacity() - Count() < bytes)
        Grow(std::max(bytes, Capacity() / 2));
}

template <class T> void PaintContainer::AppendState(std::int32_t kind, const T& value) {
    RecordWriter record(kind);
    record.Put(value);
    record.AppendTo(*this);
    ++recordCount_;
}

void PaintContainer::SetPen(Colour colour, double width) {
    if (colour != penColour_) {
        AppendState(kPaintPenColour, colour);
        penColour_ = colour;
    }
    if (width != penWidth_ && std::isfinite(width)) {
        AppendState(kPaintPenWidth, width);
        penWidth_ = width;
    }
}

void PaintContainer::SetBrush(Colour colour) {
    AppendState(kPaintBrush, colour);
}

void PaintContainer::AddLine(Vec2 p1, Vec2 p2) {
    if (!IsFinite(p1) || !IsFinite(p2))
        return;
    RecordWriter record(kPaintLine);
    record.Put(p1.x);
    record.Put(p1.y);
    record.Put(p2.x);
    record.Put(p2.y);
    record.AppendTo(*this);
    ++recordCount_;
    box_.Extend(p1);
    box_.Extend(p2);
}

void PaintContainer::MoveTo(int slot, Vec2 p) {
    if (slot >= 0 && slot < kSlotCount)
        current_[slot] = p;
}

void PaintContainer::LineTo(int slot, Vec2 p) {
    if (slot < 0 || slot >= kSlotCount)
        return;
    AddLine(current_[slot], p);
    current_[slot] = p;
}

void PaintContainer::AddPolygon(Colour colour, double width, std::span<const Vec2> points) {
    SetPen(colour, width);
    if (!AllFinite(points))
        return;
    if (points.size() > static_cast<size_t>(INT_MAX - 8) / sizeof(Vec2))
        throw BalkorError("Nicht genug Speicher"); // as the stream itself when it cannot grow
    const auto n = static_cast<std::int32_t>(points.size());
    // The record grows the stream as one append, though it is written in two.
    MakeRoom(PolygonRecordSize(n));
    RecordWriter head(kPaintPolygon);
    head.Put(n);
    head.AppendTo(*this);
    if (n > 0)
        Append(points.data(), n * static_cast<int>(sizeof(Vec2)));
    ++recordCount_;
    for (Vec2 p : points)
        box_.Extend(p);
}

namespace {

// Where a text starts: its anchor moved by the placement, turned by the angle.
Vec2 TextOrigin(Vec2 anchor, double angle, double gap, double height, double width,
                unsigned placement) {
    Vec2 offset;
    if (placement & kTextLeft)
        offset.x = -(width + gap);
    if (placement & kTextRight)
        offset.x += gap;
    if (placement & kTextCentre)
        offset.x -= 0.5 * width;
    if (placement & kTextAbove)
        offset.y -= gap;
    else if (placement & kTextBelow)
        offset.y += height + gap;
    else
        offset.y += 0.5 * height;
    return anchor + Rotated(offset, angle);
}

constexpr double kPi = 3.14159265358979323846;
// A text at a right angle to the screen's x axis reads as it is.
constexpr double kUprightLimit = 1e-9;

unsigned Swapped(unsigned placement, unsigned a, unsigned b) {
    const unsigned both = a | b;
    if ((placement & both) == a || (placement & both) == b)
        placement ^= both;
    return placement;
}

} // namespace

TextDirection ReadableDirection(double angle, unsigned placement) {
    if (!(std::cos(angle) < -kUprightLimit))
        return {angle, placement};
    placement = Swapped(placement, kTextLeft, kTextRight);
    placement = Swapped(placement, kTextAbove, kTextBelow);
    return {angle + kPi, placement};
}

TextBox TextBoxOf(double size, Vec2 anchor, double angle, double gap, double height,
                  std::string_view text, unsigned placement) {
    return TextBoxOf(size, anchor, angle, gap, height, TextWidth(text), placement);
}

TextBox TextBoxOf(double size, Vec2 anchor, double angle, double gap, double height, int fontWidth,
                  unsigned placement) {
    gap *= size;
    height *= size;
    const double width = 0.001 * height * fontWidth;
    const TextDirection direction = ReadableDirection(angle, placement);
    const Vec2 origin =
        TextOrigin(anchor, direction.angle, gap, height, width, direction.placement);
    const Vec2 along = Rotated({width, 0.0}, direction.angle);
    const Vec2 up = Rotated({0.0, -height}, direction.angle);
    return {{origin, origin + along, origin + along + up, origin + up}};
}

void PaintContainer::DrawText(double size, Vec2 anchor, double angle, double gap, double height,
                              Colour colour, std::string_view text, unsigned placement) {
    if (labels_)
        labels_->Add(
            {labelRank_, size, anchor, angle, gap, height, colour, std::string(text), placement});
    else
        RecordText(size, anchor, angle, gap, height, colour, text, placement);
}

void PaintContainer::RecordText(double size, Vec2 anchor, double angle, double gap, double height,
                                Colour colour, std::string_view text, unsigned placement) {
    const int layer = layer_;
    SetLayer(kLayerTexts);
    RecordTextStrokes(size, anchor, angle, gap, height, colour, text, placement);
    SetLayer(layer);
}

void PaintContainer::RecordTextStrokes(double size, Vec2 anchor, double angle, double gap,
                                       double height, Colour colour, std::string_view text,
                                       unsigned placement) {
    gap *= size;
    height *= size;
    const double glyphScale = 0.001 * height;
    const double width = glyphScale * TextWidth(text);
    const TextDirection direction = ReadableDirection(angle, placement);
    angle = direction.angle;
    const Vec2 origin = TextOrigin(anchor, angle, gap, height, width, direction.placement);

    const Colour callerColour = penColour_;
    const double callerWidth = penWidth_;
    SetPen(colour, 0.1 * height);

    const StrokeFont& font = TheStrokeFont();
    const double c = std::cos(angle), s = std::sin(angle);
    const auto turn = [c, s](double x, double y) { return Vec2{x * c - y * s, x * s + y * c}; };
    double advance = 0.0;
    ForEachCharacter(text, [&](char32_t character) {
        const StrokeGlyph& glyph = font.Glyph(character);
        const Vec2 glyphOrigin = origin + turn(advance, 0.0);
        for (const GlyphStroke& stroke : glyph.strokes) {
            for (size_t k = 0; k < stroke.points.size(); ++k) {
                const GlyphPoint q = stroke.points[k];
                const Vec2 p = glyphOrigin + turn(q.x * glyphScale, q.y * glyphScale);
                if (k == 0)
                    MoveTo(0, p);
                else
                    LineTo(0, p);
            }
        }
        advance += glyphScale * glyph.Advance();
    });

    // A list that has no pen yet keeps the text's pen: the cleared cache
    // values are no pen that could be set again.
    SetPen(callerColour == kNoPenColour ? penColour_ : callerColour,
           callerWidth == kNoPenWidth ? penWidth_ : callerWidth);
}

int TextWidth(std::string_view text) {
    const StrokeFont& font = TheStrokeFont();
    int width = 0;
    ForEachCharacter(text, [&](char32_t character) { width += font.Glyph(character).Advance(); });
    return width;
}
