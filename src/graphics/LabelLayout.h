#pragma once

#include "graphics/PaintContainer.h"

#include <string>
#include <string_view>
#include <vector>

// "Beschriftung entzerren": the labels of a scene collected while it is drawn
// and then placed so that none covers another. In the order of their ranks
// (extrema, end values, the rest; within a rank as drawn), each label takes
// the first of its placements around its anchor — its own, then the other
// sides — whose box keeps clear of the boxes placed before; a label with a
// longer text offered takes the longer text where one of its placements is
// free, else its own; a label without a free side is left out.
struct TextLabel {
    int rank = kOtherLabel;
    double size = 1.0;
    Vec2 anchor;
    double angle = 0.0;
    double gap = 0.0;
    double height = 0.0;
    Colour colour = 0;
    std::string text;
    unsigned placement = 0;
    // Tried before text, when not empty: the same label with more to say.
    std::string longer = {};
};

class LabelLayout {
public:
    void Add(TextLabel label) { labels_.push_back(std::move(label)); }
    size_t Count() const { return labels_.size(); }
    // Offers label index (in the order added) a longer text: its own
    // followed by more.
    void OfferLonger(size_t index, std::string_view more) {
        TextLabel& label = labels_.at(index);
        label.longer = label.text + std::string(more);
    }
    // Records the labels that find a place into the list (whose texts must
    // no longer be deferred) and forgets them all.
    void PlaceInto(PaintContainer& list);
    // The boxes of the labels placed, in the order they were placed.
    const std::vector<TextBox>& Placed() const { return placed_; }
    // Their texts, in the same order.
    const std::vector<std::string>& PlacedTexts() const { return placedTexts_; }

private:
    std::vector<TextLabel> labels_;
    std::vector<TextBox> placed_;
    std::vector<std::string> placedTexts_;
};

// Whether two boxes share more than their edges.
bool BoxesOverlap(const TextBox& a, const TextBox& b);

// Hands the texts of a list to a layout while it lives (when untangling),
// and places them when it ends.
class DeferredLabels {
public:
    DeferredLabels(PaintContainer& list, bool untangle) : list_(list), untangle_(untangle) {
        if (untangle_)
            list_.DeferTexts(&layout_);
    }
    ~DeferredLabels() { list_.DeferTexts(nullptr); }
    DeferredLabels(const DeferredLabels&) = delete;
    DeferredLabels& operator=(const DeferredLabels&) = delete;

    // Stops deferring and places the labels collected.
    void Place() {
        list_.DeferTexts(nullptr);
        if (untangle_)
            layout_.PlaceInto(list_);
    }
    const LabelLayout& Layout() const { return layout_; }

private:
    PaintContainer& list_;
    bool untangle_;
    LabelLayout layout_;
};
