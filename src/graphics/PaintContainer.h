#pragma once

#include "graphics/GraphicsTypes.h"
#include "model/UContainer.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

// The byte-stream base of the drawing list: a UContainer of 1-byte elements
// that grows by at least 1000 bytes at a time.
class PContainer : public UContainer {
public:
    PContainer(int elementSize, int growth) : UContainer(elementSize, growth) {}
};

// Kinds of the records of a drawing list. Each record is the 32-bit kind
// followed by its payload, packed without gaps:
//   line       x1, y1, x2, y2 (4 doubles, scene coordinates)
//   polygon    n (int32), then n points (x, y doubles)
//   brush      colour (int32)
//   pen colour colour (int32)
//   pen width  width (double, scene units)
enum PaintRecordKind : std::int32_t {
    kPaintLine = 0,
    kPaintPolygon = 1,
    kPaintBrush = 2,
    kPaintPenColour = 3,
    kPaintPenWidth = 4,
};

// Byte sizes of the records.
inline constexpr int kLineRecordSize = 4 + 4 * 8;
inline constexpr int kColourRecordSize = 4 + 4;
inline constexpr int kPenWidthRecordSize = 4 + 8;
inline constexpr int PolygonRecordSize(int n) {
    return 4 + 4 + n * 16;
}

// Growth of the stream: when an append does not fit, the capacity grows by
// the largest of the appended size, this many bytes and half the capacity.
// The half keeps the reallocations of a large scene few (a grid of 20,000
// beams records some 100 MB; steps of 1000 bytes were 100,000 reallocations,
// each moving the block's pages), while small lists grow as in 1000 bytes.
inline constexpr int kPaintGrowth = 1000;

// Placement of a text relative to its anchor (DrawText). Horizontally: left
// of it, right of it or centred on it; vertically: above it, below it, or
// (neither flag) centred on it.
enum TextPlacement : unsigned {
    kTextLeft = 0x02,
    kTextRight = 0x04,
    kTextCentre = 0x08,
    kTextAbove = 0x10,
    kTextBelow = 0x20,
};

// The text's angle turned by π, with the placement mirrored about the anchor,
// when the text would otherwise read upside down (running leftward on the
// screen): the turned text covers the same place.
struct TextDirection {
    double angle;
    unsigned placement;
};
TextDirection ReadableDirection(double angle, unsigned placement);

// The place a text covers: a rectangle from its origin along the angle's
// direction, width long and height high above the baseline.
struct TextBox {
    Vec2 corners[4];
};
TextBox TextBoxOf(double size, Vec2 anchor, double angle, double gap, double height,
                  std::string_view text, unsigned placement);
// The same for a text of that width in stroke-font units (TextWidth).
TextBox TextBoxOf(double size, Vec2 anchor, double angle, double gap, double height, int fontWidth,
                  unsigned placement);

// Ranks of the labels when they are untangled (LabelLayout): lower ranks are
// placed first and so keep their place.
enum LabelRankKind : int {
    kExtremumLabel = 0,
    kEndValueLabel = 1,
    kOtherLabel = 2,
};

class LabelLayout;

// What a part of a drawing shows, for outputs that keep the parts apart (the
// layers of a DXF drawing). The marks lie beside the records, so that the
// records, and every replay of them, stay as they are.
enum DrawingLayer : int {
    kLayerStructure = 0, // beams, hinges, nodes, the axis cross
    kLayerLoads = 1,     // the load case
    kLayerSupports = 2,  // supports, springs and the reactions
    kLayerDiagram = 3,   // the deflection line and the section-force diagrams
    kLayerTexts = 4,     // every text
};
inline constexpr int kDrawingLayerCount = 5;

// From byte offset on, the records belong to layer.
struct LayerMark {
    int offset;
    int layer;
};

// The pen cache and the bounding box after Clear.
inline constexpr double kNoPenWidth = -1.0;
inline constexpr Colour kNoPenColour = -1;
inline constexpr double kEmptyBoxLimit = 3.4028234663852886e38; // largest float

// A graphics window's drawing list: everything a scene draws, recorded in
// scene coordinates as line segments, filled polygons and pen and brush
// changes (texts become strokes of the stroke font). Painting, printing and
// copying replay it with Render; a scene rebuild clears it and records anew.
//
// Records are only appended. The bounding box covers every point of every
// line and polygon record. A pen colour or width record is written only when
// the value differs from the last one recorded. Records with a coordinate
// that is not a finite number are not recorded, so that odd input can
// neither widen the bounding box nor reach the conversion to pixels.
class PaintContainer : public PContainer {
public:
    static constexpr int kSlotCount = 5;

    PaintContainer();

    // Empties the stream, forgets the pen and resets the bounding box to the
    // inverted box (min = +kEmptyBoxLimit, max = −kEmptyBoxLimit). The block
    // stays for the next fill: a window rebuilds its list on every view
    // change, mostly to the same size, and growing a list of a hundred
    // megabytes anew each time costs more than building its records.
    void Clear();

    // Appends a pen colour record if the colour differs from the current one,
    // then a pen width record if the width differs from the current one. A
    // width that is not a finite number is not recorded: the pen keeps its
    // width.
    void SetPen(Colour colour, double width);
    // Appends a brush colour record (not cached).
    void SetBrush(Colour colour);
    // Appends a line record and widens the bounding box by both ends.
    void AddLine(Vec2 p1, Vec2 p2);
    // Current points: MoveTo stores p in the slot (0 … 4) and records nothing;
    // LineTo adds a line from the slot's point to p and stores p.
    void MoveTo(int slot, Vec2 p);
    void LineTo(int slot, Vec2 p);
    // SetPen, then a polygon record filled with the current brush colour.
    void AddPolygon(Colour colour, double width, std::span<const Vec2> points);

    // Records a text as strokes of the stroke font. size multiplies gap and
    // height; angle (radians) turns the text about the anchor; placement is a
    // set of TextPlacement flags. The strokes are one tenth of the text height
    // wide; the pen recorded before the text is set again after it (a list
    // that had no pen yet keeps the text's pen).
    void DrawText(double size, Vec2 anchor, double angle, double gap, double height, Colour colour,
                  std::string_view text, unsigned placement);

    // While a layout is set, DrawText hands its texts to it with the current
    // label rank instead of recording them (null: record at once).
    void DeferTexts(LabelLayout* layout) { labels_ = layout; }
    // The layout the texts go to, null while they are recorded at once.
    LabelLayout* TextLayout() const { return labels_; }
    int LabelRank() const { return labelRank_; }
    void SetLabelRank(int rank) { labelRank_ = rank; }

    // The records appended from now on belong to layer (until the next
    // call); texts are always kLayerTexts. A cleared list starts with
    // kLayerStructure.
    void SetLayer(int layer);
    int Layer() const { return layer_; }
    const std::vector<LayerMark>& LayerMarks() const { return layerMarks_; }

    int RecordCount() const { return recordCount_; }
    // How often the list was cleared: a list filled anew counts as another
    // picture even when it has the same size.
    std::uint64_t Fills() const { return fills_; }
    const SceneBox& BoundingBox() const { return box_; }
    Colour PenColour() const { return penColour_; }
    double PenWidth() const { return penWidth_; }
    Vec2 CurrentPoint(int slot) const { return current_[slot]; }

    // The recorded stream, for Render and for inspection.
    const unsigned char* Bytes() const { return static_cast<const unsigned char*>(At(0)); }
    int ByteCount() const { return Count(); }

    // Grows the stream (see kPaintGrowth) when bytes more do not fit.
    void MakeRoom(int bytes);

private:
    // Appends a pen or brush record: the kind and one value.
    template <class T> void AppendState(std::int32_t kind, const T& value);

    void RecordText(double size, Vec2 anchor, double angle, double gap, double height,
                    Colour colour, std::string_view text, unsigned placement);
    void RecordTextStrokes(double size, Vec2 anchor, double angle, double gap, double height,
                           Colour colour, std::string_view text, unsigned placement);

    LabelLayout* labels_ = nullptr;
    int layer_ = kLayerStructure;
    std::vector<LayerMark> layerMarks_;
    int labelRank_ = kOtherLabel;
    std::int32_t recordCount_ = 0;
    std::uint64_t fills_ = 0;
    Vec2 current_[kSlotCount];
    double penWidth_ = kNoPenWidth;
    Colour penColour_ = kNoPenColour;
    SceneBox box_;
};

// Width of a text in stroke-font units (1000 units = one text height): the
// sum of the advances of its glyphs. The text is UTF-8; a character outside
// the font counts as a space (500 units).
int TextWidth(std::string_view text);

// The rank of the labels drawn while it lives.
class LabelRank {
public:
    LabelRank(PaintContainer& list, int rank) : list_(list), before_(list.LabelRank()) {
        list.SetLabelRank(rank);
    }
    ~LabelRank() { list_.SetLabelRank(before_); }
    LabelRank(const LabelRank&) = delete;
    LabelRank& operator=(const LabelRank&) = delete;

private:
    PaintContainer& list_;
    int before_;
};
