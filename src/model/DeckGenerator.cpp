#include "model/DeckGenerator.h"

#include "model/Format.h"
#include "model/SectionType.h"
#include "model/Tables.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

namespace {

constexpr double kDegree = 3.14159265358979323846 / 180.0;

bool Positive(double value) {
    return std::isfinite(value) && value > 0.0;
}

// ---- checks ------------------------------------------------------------------

std::string CheckSection(const DeckSection& section, const char* name) {
    const std::pair<const char*, double> positive[] = {
        {"E", section.E}, {"G", section.G}, {"Iy", section.Iy}, {"It", section.It}};
    for (const auto& [key, value] : positive)
        if (!Positive(value))
            return Format("\"sections.%s.%s\": Der Wert muss größer als 0 sein (%g)", name, key,
                          value);
    if (!(std::isfinite(section.alphaT) && section.alphaT >= 0.0))
        return Format("\"sections.%s.alphaT\": Der Wert darf nicht negativ sein (%g)", name,
                      section.alphaT);
    return {};
}

std::string CheckSections(const DeckDescription& deck) {
    const std::pair<const char*, const DeckSection*> sections[] = {
        {"girder", &deck.girder},
        {"edgeGirder", deck.edgeGirder ? &*deck.edgeGirder : nullptr},
        {"crossBeam", &deck.crossBeam},
        {"endCrossBeam", deck.endCrossBeam ? &*deck.endCrossBeam : nullptr}};
    for (const auto& [name, section] : sections)
        if (section)
            if (std::string error = CheckSection(*section, name); !error.empty())
                return error;
    return {};
}

std::string CheckCrossBeams(const DeckDescription& deck) {
    const bool bySpacing = deck.crossBeamSpacing != 0.0;
    if (bySpacing == !deck.crossBeamCounts.empty())
        return "\"crossBeams\": Entweder \"spacing\" oder \"count\" angeben";
    if (bySpacing && !Positive(deck.crossBeamSpacing))
        return Format("\"crossBeams.spacing\": Der Abstand muss größer als 0 sein (%g)",
                      deck.crossBeamSpacing);
    if (bySpacing)
        return {};
    if (deck.crossBeamCounts.size() != deck.spans.size())
        return Format("\"crossBeams.count\": Eine Anzahl für alle Felder oder eine je Feld "
                      "angeben (%zu Felder, %zu Anzahlen)",
                      deck.spans.size(), deck.crossBeamCounts.size());
    for (size_t i = 0; i < deck.crossBeamCounts.size(); ++i)
        if (deck.crossBeamCounts[i] < 0 || deck.crossBeamCounts[i] > kDeckMaxNodes)
            return Format("\"crossBeams.count\": Die Anzahl in Feld %zu muss zwischen 0 und %d "
                          "liegen (%d)",
                          i + 1, kDeckMaxNodes, deck.crossBeamCounts[i]);
    return {};
}

std::string CheckSupports(const DeckDescription& deck) {
    if (deck.supports.empty())
        return {};
    if (deck.supports.size() != deck.spans.size() + 1)
        return Format("\"supports\": %zu Auflagerlinien erwartet, eine mehr als Felder (%zu "
                      "angegeben)",
                      deck.spans.size() + 1, deck.supports.size());
    for (size_t j = 0; j < deck.supports.size(); ++j)
        if (deck.supports[j].size() != static_cast<size_t>(deck.girders))
            return Format("\"supports\": Auflagerlinie %zu: %d Angaben erwartet, eine je "
                          "Längsträger (%zu angegeben)",
                          j + 1, deck.girders, deck.supports[j].size());
    return {};
}

std::string CheckShape(const DeckDescription& deck) {
    if (deck.spans.empty())
        return "\"spans\": Mindestens ein Feld angeben";
    for (size_t i = 0; i < deck.spans.size(); ++i)
        if (!Positive(deck.spans[i]))
            return Format("\"spans\": Die Länge von Feld %zu muss größer als 0 sein (%g)", i + 1,
                          deck.spans[i]);
    if (!Positive(deck.width))
        return Format("\"width\": Die Breite muss größer als 0 sein (%g)", deck.width);
    if (deck.girders < 2 || deck.girders > kDeckMaxGirders)
        return Format("\"girders\": Zwischen 2 und %d Längsträger angeben (%d)", kDeckMaxGirders,
                      deck.girders);
    if (!(deck.skew >= 0.0 && deck.skew <= kDeckMaxSkew))
        return Format("\"skew\": Die Schiefe muss zwischen 0 und %g Grad liegen (%g)", kDeckMaxSkew,
                      deck.skew);
    if (deck.intervals < 1 || deck.intervals > kDeckMaxIntervals)
        return Format("\"intervals\": Zwischen 1 und %d Intervalle je Stab angeben (%d)",
                      kDeckMaxIntervals, deck.intervals);
    return {};
}

// ---- layout ------------------------------------------------------------------

// A place along the deck where every girder that reaches it gets a node.
struct Station {
    double key;  // where the station crosses the deck's centre line
    int span;    // skew mesh: the span and the field boundary in it
    double step; // skew mesh: distance from the span's support line
};

class DeckLayout {
public:
    explicit DeckLayout(const DeckDescription& deck)
        : deck_(deck), tanSkew_(std::tan(deck.skew * kDegree)) {
        lines_.push_back(0.0);
        for (double span : deck.spans)
            lines_.push_back(lines_.back() + span);
        tolerance_ = 1e-9 * (lines_.back() + deck.width);
        if (deck.mesh == DeckMesh::kSkew)
            BuildSkewStations();
        else
            BuildOrthogonalStations();
    }

    int Girders() const { return deck_.girders; }
    int Lines() const { return static_cast<int>(lines_.size()); }
    int Stations() const { return static_cast<int>(stations_.size()); }
    const Station& StationAt(int s) const { return stations_[s]; }
    double GirderY(int g) const { return g * deck_.width / (deck_.girders - 1); }
    double SupportX(int line, int g) const { return lines_[line] - GirderY(g) * tanSkew_; }
    // Where support line j crosses the deck's centre line.
    double LineKey(int line) const { return lines_[line] - deck_.width / 2 * tanSkew_; }

    // The x of station s on girder g.
    double StationX(int s, int g) const {
        const Station& st = stations_[s];
        return IsSkew() ? SupportX(st.span, g) + st.step : st.key;
    }
    bool GirderReaches(int s, int g) const {
        const double x = StationX(s, g);
        return x >= SupportX(0, g) - tolerance_ && x <= SupportX(Lines() - 1, g) + tolerance_;
    }
    // The station of girder g's support node on a support line.
    int SupportStation(int line, int g) const {
        if (IsSkew())
            return skewLineStations_[line];
        const double x = SupportX(line, g);
        const auto it = std::lower_bound(stations_.begin(), stations_.end(), x - tolerance_,
                                         [](const Station& st, double v) { return st.key < v; });
        return static_cast<int>(it - stations_.begin());
    }

private:
    bool IsSkew() const { return deck_.mesh == DeckMesh::kSkew; }

    int FieldCount(size_t span, double length) const {
        if (!deck_.crossBeamCounts.empty())
            return deck_.crossBeamCounts[span] + 1;
        return std::max(1, static_cast<int>(std::ceil(length / deck_.crossBeamSpacing - 1e-9)));
    }

    void BuildSkewStations() {
        const double centre = deck_.width / 2 * tanSkew_;
        for (size_t j = 0; j < deck_.spans.size(); ++j) {
            const int fields = FieldCount(j, deck_.spans[j]);
            skewLineStations_.push_back(Stations());
            for (int k = 0; k < fields; ++k) {
                const double step = deck_.spans[j] * k / fields;
                stations_.push_back({lines_[j] + step - centre, static_cast<int>(j), step});
            }
        }
        skewLineStations_.push_back(Stations());
        stations_.push_back({lines_.back() - centre, static_cast<int>(deck_.spans.size()), 0.0});
    }

    // Stations through every support node, then the fields between the fans;
    // stations closer than the tolerance are one.
    void BuildOrthogonalStations() {
        std::vector<double> xs;
        for (int j = 0; j < Lines(); ++j)
            for (int g = 0; g < deck_.girders; ++g)
                xs.push_back(SupportX(j, g));
        for (size_t j = 0; j < deck_.spans.size(); ++j) {
            const double start = lines_[j];
            const double length = lines_[j + 1] - deck_.width * tanSkew_ - start;
            if (length <= tolerance_)
                continue;
            const int fields = FieldCount(j, length);
            for (int k = 1; k < fields; ++k)
                xs.push_back(start + length * k / fields);
        }
        std::sort(xs.begin(), xs.end());
        for (double x : xs)
            if (stations_.empty() || x - stations_.back().key > tolerance_)
                stations_.push_back({x, 0, 0.0});
    }

    const DeckDescription& deck_;
    double tanSkew_;
    double tolerance_ = 0.0;
    std::vector<double> lines_;
    std::vector<Station> stations_;
    std::vector<int> skewLineStations_;
};

// ---- tables ------------------------------------------------------------------

void AddSection(MatClass& mats, const DeckSection& s) {
    AppendSectionType(mats, {s.E, s.G, s.Iy, s.It, s.alphaT});
}

void AddBeam(BeamClass& beams, int start, int end, int section, int intervals) {
    const int row = beams.Count();
    beams.EnsureRows(row + 1);
    BeamRec* rec = beams.RowRecord(row);
    rec->flag = kFlagUser;
    rec->start = start;
    rec->end = end;
    rec->section = section;
    rec->intervals = intervals;
}

DeckSupport SupportOf(const DeckDescription& deck, int line, int g) {
    return deck.supports.empty() ? DeckSupport::kPinned : deck.supports[line][g];
}

// Node numbers by girder and station; 0 where the girder has no node.
using NodeGrid = std::vector<std::vector<int>>;

NodeGrid AddNodes(const DeckDescription& deck, const DeckLayout& layout, NodeClass& nodes) {
    NodeGrid numbers(layout.Girders(), std::vector<int>(layout.Stations(), 0));
    for (int g = 0; g < layout.Girders(); ++g)
        for (int s = 0; s < layout.Stations(); ++s)
            if (layout.GirderReaches(s, g)) {
                const int row = nodes.Count();
                nodes.EnsureRows(row + 1);
                NodeRec* rec = nodes.RowRecord(row);
                rec->flag = kFlagUser;
                rec->x = layout.StationX(s, g);
                rec->y = layout.GirderY(g);
                numbers[g][s] = row + 1;
            }
    for (int line = 0; line < layout.Lines(); ++line)
        for (int g = 0; g < layout.Girders(); ++g) {
            NodeRec* rec = nodes.RowRecord(numbers[g][layout.SupportStation(line, g)] - 1);
            rec->fixZ = 1;
            rec->fixRy = SupportOf(deck, line, g) == DeckSupport::kFixed ? 1 : 0;
            rec->skew = deck.skew;
        }
    return numbers;
}

void AddGirders(const DeckDescription& deck, const NodeGrid& numbers, BeamClass& beams) {
    const int last = deck.girders - 1;
    for (int g = 0; g <= last; ++g) {
        const int section = g == 0 || g == last ? kDeckEdgeGirder : kDeckGirder;
        int previous = 0;
        for (int node : numbers[g]) {
            if (node == 0)
                continue;
            if (previous != 0)
                AddBeam(beams, previous, node, section, deck.intervals);
            previous = node;
        }
    }
}

// A line of cross beams: node pairs from girder 1 on.
struct CrossLine {
    double key;
    bool supportLine; // first among lines at the same place
    int section;
    std::vector<std::pair<int, int>> pairs;
};

std::vector<CrossLine> CrossLines(const DeckLayout& layout, const NodeGrid& numbers) {
    std::vector<CrossLine> lines;
    const int last = layout.Lines() - 1;
    for (int j = 0; j <= last; ++j) {
        CrossLine line{
            layout.LineKey(j), true, j == 0 || j == last ? kDeckEndCrossBeam : kDeckCrossBeam, {}};
        for (int g = 0; g + 1 < layout.Girders(); ++g)
            line.pairs.emplace_back(numbers[g][layout.SupportStation(j, g)],
                                    numbers[g + 1][layout.SupportStation(j, g + 1)]);
        lines.push_back(std::move(line));
    }
    for (int s = 0; s < layout.Stations(); ++s) {
        CrossLine line{layout.StationAt(s).key, false, kDeckCrossBeam, {}};
        for (int g = 0; g + 1 < layout.Girders(); ++g)
            if (numbers[g][s] != 0 && numbers[g + 1][s] != 0)
                line.pairs.emplace_back(numbers[g][s], numbers[g + 1][s]);
        lines.push_back(std::move(line));
    }
    std::stable_sort(lines.begin(), lines.end(), [](const CrossLine& a, const CrossLine& b) {
        return a.key < b.key || (a.key == b.key && a.supportLine && !b.supportLine);
    });
    return lines;
}

// A cross beam on a support line may also be a station's: it is made once,
// with the support line's section.
void AddCrossBeams(const DeckDescription& deck, const DeckLayout& layout, const NodeGrid& numbers,
                   BeamClass& beams) {
    std::set<std::pair<int, int>> made;
    for (const CrossLine& line : CrossLines(layout, numbers))
        for (const auto& [a, b] : line.pairs)
            if (made.insert(std::minmax(a, b)).second)
                AddBeam(beams, a, b, line.section, deck.intervals);
}

// An upper bound of the node count, found before anything is allocated.
double NodeEstimate(const DeckDescription& deck) {
    double perGirder = 1.0;
    for (size_t j = 0; j < deck.spans.size(); ++j)
        perGirder += deck.crossBeamCounts.empty()
                         ? std::ceil(deck.spans[j] / deck.crossBeamSpacing) + 1.0
                         : deck.crossBeamCounts[j] + 1.0;
    if (deck.mesh == DeckMesh::kOrthogonal)
        perGirder += static_cast<double>(deck.spans.size() + 1) * deck.girders;
    return perGirder * deck.girders;
}

} // namespace

std::string CheckDeck(const DeckDescription& deck) {
    for (auto check : {CheckShape, CheckCrossBeams, CheckSections, CheckSupports})
        if (std::string error = check(deck); !error.empty())
            return error;
    if (const double nodes = NodeEstimate(deck); !(nodes <= kDeckMaxNodes))
        return Format("\"crossBeams\": Der Trägerrost hätte bis zu %.0f Knoten, höchstens %d",
                      nodes, kDeckMaxNodes);
    return {};
}

void GenerateDeck(const DeckDescription& deck, InputModel& model) {
    model.ResetSystem();
    const DeckLayout layout(deck);
    const NodeGrid numbers = AddNodes(deck, layout, model.nodes);
    AddGirders(deck, numbers, model.beams);
    AddCrossBeams(deck, layout, numbers, model.beams);
    AddSection(model.mats, deck.girder);
    AddSection(model.mats, deck.edgeGirder.value_or(deck.girder));
    AddSection(model.mats, deck.crossBeam);
    AddSection(model.mats, deck.endCrossBeam.value_or(deck.crossBeam));
    for (InputContainer* table : model.systemFileTables)
        table->Refresh();
    model.nodes.NotifyChanged();
}
