#include "graphics/LabelLayout.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <unordered_map>

namespace {

// Boxes are kept this part of their height apart.
constexpr double kLabelMargin = 0.1;

// The extent of a box along an axis.
struct Extent {
    double low, high;
};

Extent Along(const TextBox& box, Vec2 axis) {
    Extent e{INFINITY, -INFINITY};
    for (Vec2 p : box.corners) {
        const double d = p.x * axis.x + p.y * axis.y;
        e.low = std::min(e.low, d);
        e.high = std::max(e.high, d);
    }
    return e;
}

// The box grown by the margin on every side.
TextBox WithMargin(const TextBox& box) {
    const Vec2 along = box.corners[1] - box.corners[0];
    const Vec2 up = box.corners[3] - box.corners[0];
    const double height = std::hypot(up.x, up.y);
    const double length = std::hypot(along.x, along.y);
    if (height == 0.0 || length == 0.0)
        return box;
    const double m = kLabelMargin * height;
    const Vec2 a = along * (m / length), u = up * (m / height);
    return {{box.corners[0] - a - u, box.corners[1] + a - u, box.corners[2] + a + u,
             box.corners[3] - a + u}};
}

// The placements to try around the anchor: the label's own first, then those
// that change one of its two sides, then both.
std::vector<unsigned> Placements(unsigned own) {
    const unsigned horizontal = own & (kTextLeft | kTextRight | kTextCentre);
    const unsigned vertical = own & (kTextAbove | kTextBelow);
    std::vector<unsigned> hs{horizontal}, vs{vertical};
    for (unsigned h : {unsigned(kTextRight), unsigned(kTextLeft), unsigned(kTextCentre)})
        if (h != horizontal)
            hs.push_back(h);
    for (unsigned v : {unsigned(kTextAbove), unsigned(kTextBelow), 0u})
        if (v != vertical)
            vs.push_back(v);
    std::vector<unsigned> placements;
    for (size_t changes = 0; changes <= 4; ++changes)
        for (size_t i = 0; i < hs.size(); ++i)
            for (size_t j = 0; j < vs.size(); ++j)
                if (i + j == changes && !(hs[i] == kTextCentre && vs[j] == 0 && changes > 0))
                    placements.push_back(hs[i] | vs[j]);
    return placements;
}

// The placed boxes in the cells of a square grid, for finding the neighbours
// of a box without testing every box placed.
class BoxGrid {
public:
    explicit BoxGrid(double cell) : cell_(cell > 0 && std::isfinite(cell) ? cell : 1.0) {}

    bool Free(const TextBox& box, const std::vector<TextBox>& boxes) const {
        const auto clear = [&](const std::vector<int>& indices) {
            return std::none_of(indices.begin(), indices.end(), [&](int index) {
                return BoxesOverlap(box, boxes[static_cast<size_t>(index)]);
            });
        };
        if (Oversized(box)) {
            std::vector<int> all(boxes.size());
            for (size_t i = 0; i < all.size(); ++i)
                all[i] = static_cast<int>(i);
            return clear(all);
        }
        bool free = clear(oversized_);
        ForEachCell(box, [&](long long key) {
            const auto found = cells_.find(key);
            free = free && (found == cells_.end() || clear(found->second));
        });
        return free;
    }
    void Insert(const TextBox& box, int index) {
        if (Oversized(box))
            oversized_.push_back(index);
        else
            ForEachCell(box, [&](long long key) { cells_[key].push_back(index); });
    }

private:
    struct CellRange {
        long long x0, x1, y0, y1;
    };
    CellRange Cells(const TextBox& box) const {
        const Extent x = Along(box, {1, 0}), y = Along(box, {0, 1});
        return {Cell(x.low), Cell(x.high), Cell(y.low), Cell(y.high)};
    }
    bool Oversized(const TextBox& box) const {
        const CellRange r = Cells(box);
        return (r.x1 - r.x0 + 1) * (r.y1 - r.y0 + 1) > kMaxCells;
    }
    template <class Visit> void ForEachCell(const TextBox& box, Visit visit) const {
        const CellRange r = Cells(box);
        for (long long i = r.x0; i <= r.x1; ++i)
            for (long long j = r.y0; j <= r.y1; ++j)
                visit(i * 0x100000000LL + j);
    }
    long long Cell(double v) const {
        return static_cast<long long>(std::clamp(std::floor(v / cell_), -1e9, 1e9));
    }

    // A box over more cells than this is tested against every box placed.
    static constexpr long long kMaxCells = 4096;
    double cell_;
    std::unordered_map<long long, std::vector<int>> cells_;
    std::vector<int> oversized_;
};

} // namespace

bool BoxesOverlap(const TextBox& a, const TextBox& b) {
    // Separating axes: the edge directions of both rectangles.
    const std::array<Vec2, 4> axes{a.corners[1] - a.corners[0], a.corners[3] - a.corners[0],
                                   b.corners[1] - b.corners[0], b.corners[3] - b.corners[0]};
    for (Vec2 axis : axes) {
        if (axis.x == 0.0 && axis.y == 0.0)
            continue;
        const Extent ea = Along(a, axis), eb = Along(b, axis);
        if (!(ea.high > eb.low && eb.high > ea.low))
            return false;
    }
    return true;
}

void LabelLayout::PlaceInto(PaintContainer& list) {
    std::stable_sort(labels_.begin(), labels_.end(),
                     [](const TextLabel& a, const TextLabel& b) { return a.rank < b.rank; });
    double heights = 0.0;
    for (const TextLabel& label : labels_)
        if (std::isfinite(label.height * label.size))
            heights += std::fabs(label.height * label.size);
    BoxGrid grid(labels_.empty() ? 1.0 : 4 * heights / static_cast<double>(labels_.size()));
    std::vector<TextBox> withMargins;
    // The label with that text at its first free placement, if it has one.
    const auto place = [&](const TextLabel& label, const std::string& text) {
        const int width = TextWidth(text);
        for (const unsigned placement : Placements(label.placement)) {
            const TextBox box = TextBoxOf(label.size, label.anchor, label.angle, label.gap,
                                          label.height, width, placement);
            const TextBox padded = WithMargin(box);
            if (!grid.Free(padded, withMargins))
                continue;
            list.DrawText(label.size, label.anchor, label.angle, label.gap, label.height,
                          label.colour, text, placement);
            grid.Insert(padded, static_cast<int>(withMargins.size()));
            withMargins.push_back(padded);
            placed_.push_back(box);
            placedTexts_.push_back(text);
            return true;
        }
        return false;
    };
    for (const TextLabel& label : labels_) {
        if (!IsFinite(label.anchor) || !std::isfinite(label.angle) ||
            !std::isfinite(label.height * label.size) || !std::isfinite(label.gap * label.size))
            continue;
        if (label.longer.empty() || !place(label, label.longer))
            place(label, label.text);
    }
    labels_.clear();
}
