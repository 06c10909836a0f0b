#include "exchange/DxfImport.h"

#include "model/Format.h"
#include "model/SafeFile.h"
#include "model/SectionFile.h"
#include "model/SectionType.h"
#include "model/Tables.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <dl_creationadapter.h>
#include <dl_dxf.h>
#include <map>
#include <set>
#include <sstream>
#include <unordered_map>

namespace {

constexpr const char* kUnreadable = "Die DXF-Datei kann nicht gelesen werden";

// --- Reading ------------------------------------------------------------------

// dxflib sizes its vertex, knot and edge arrays by the counts a file states;
// a count from a damaged file could ask for gigabytes. No count of a grid
// drawing comes near this.
constexpr long kMaxStatedCount = 1000000;

bool IsCountCode(long code) {
    return (code >= 70 && code <= 79) || (code >= 90 && code <= 99);
}

// The file's text with every stated count above kMaxStatedCount lowered to it.
std::string WithBoundedCounts(const std::string& text) {
    std::istringstream in(text);
    std::string out, code, value;
    out.reserve(text.size());
    while (std::getline(in, code)) {
        out += code + '\n';
        if (!std::getline(in, value))
            break;
        char* end = nullptr;
        const long number = std::strtol(code.c_str(), &end, 10);
        const long count = std::strtol(value.c_str(), nullptr, 10);
        if (IsCountCode(number) && (count > kMaxStatedCount || count < -kMaxStatedCount))
            value = std::to_string(count > 0 ? kMaxStatedCount : -kMaxStatedCount);
        out += value + '\n';
    }
    return out;
}

bool ReadText(const std::string& path, std::string& text, std::string& error) {
    std::FILE* file = OpenRegularFile(path);
    if (!file) {
        error = std::string(kUnreadable) + ": " + path;
        return false;
    }
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        text.append(buffer, n);
        if (static_cast<long long>(text.size()) > kMaxDxfBytes) {
            std::fclose(file);
            error = Format("Die DXF-Datei ist zu groß (höchstens %lld MB): %s",
                           kMaxDxfBytes / (1024 * 1024), path.c_str());
            return false;
        }
    }
    const bool failed = std::ferror(file);
    std::fclose(file);
    if (failed)
        error = std::string(kUnreadable) + ": " + path;
    return !failed;
}

struct Point3 {
    double x, y, z;
};

// Collects the lines of the model space as dxflib reports them.
class LineCollector : public DL_CreationAdapter {
public:
    void addLine(const DL_LineData& d) override {
        if (inBlock_)
            return;
        FinishPolyline();
        Add({d.x1, d.y1, d.z1}, {d.x2, d.y2, d.z2}, getAttributes().getLayer());
    }
    void addPolyline(const DL_PolylineData& d) override {
        FinishPolyline();
        if (inBlock_)
            return;
        inPolyline_ = true;
        // The polyline ends when the next entity begins, whose layer is
        // current by then.
        polylineLayer_ = getAttributes().getLayer();
        closed_ = (d.flags & 1) != 0;
        // A 3-D polyline (flag 8) or a mesh lies in world coordinates; the
        // others in the coordinates of their own plane.
        planar_ = (d.flags & (8 | 16 | 64)) == 0;
        elevation_ = d.elevation;
        mirrored_ = false;
        const double* n = getExtrusion()->getDirection();
        if (planar_ && (std::fabs(n[0]) > 1e-9 || std::fabs(n[1]) > 1e-9))
            tilted_ = true;
        else if (planar_ && n[2] < 0)
            mirrored_ = true; // seen from below: x runs the other way
        if ((d.flags & (16 | 64)) != 0)
            ++otherEntities_;
    }
    void addVertex(const DL_VertexData& d) override {
        if (!inPolyline_)
            return;
        const double z = planar_ ? (d.z != 0.0 ? d.z : elevation_) : d.z;
        vertices_.push_back({mirrored_ ? -d.x : d.x, d.y, z});
        if (d.bulge != 0.0)
            ++arcs_;
    }
    void endSequence() override { FinishPolyline(); }
    void endEntity() override {}
    void addBlock(const DL_BlockData&) override {
        FinishPolyline();
        inBlock_ = true;
    }
    void endBlock() override {
        FinishPolyline();
        inBlock_ = false;
    }
    void addInsert(const DL_InsertData&) override {
        FinishPolyline();
        if (!inBlock_)
            ++inserts_;
    }
    void addArc(const DL_ArcData&) override { Other(); }
    void addCircle(const DL_CircleData&) override { Other(); }
    void addEllipse(const DL_EllipseData&) override { Other(); }
    void addSpline(const DL_SplineData&) override { Other(); }
    void addPoint(const DL_PointData&) override { FinishPolyline(); }
    void addText(const DL_TextData&) override { FinishPolyline(); }
    void addMText(const DL_MTextData&) override { FinishPolyline(); }

    // Ends a polyline still open: dxflib reports an LWPOLYLINE without an
    // end of sequence.
    void FinishPolyline() {
        if (!inPolyline_)
            return;
        inPolyline_ = false;
        for (size_t i = 1; i < vertices_.size(); ++i)
            Add(vertices_[i - 1], vertices_[i], polylineLayer_);
        if (closed_ && vertices_.size() > 2)
            Add(vertices_.back(), vertices_.front(), polylineLayer_);
        vertices_.clear();
    }

    DxfDrawing drawing;
    std::vector<std::pair<Point3, Point3>> ends; // with z, parallel to drawing.segments
    std::vector<std::string> segmentLayers;
    int inserts_ = 0;
    int arcs_ = 0;
    int otherEntities_ = 0;
    bool tilted_ = false;

private:
    void Other() {
        FinishPolyline();
        if (!inBlock_)
            ++otherEntities_;
    }
    int LayerIndex(const std::string& name) {
        const auto found = layerIndex_.find(name);
        if (found != layerIndex_.end())
            return found->second;
        drawing.layers.push_back(name);
        return layerIndex_[name] = static_cast<int>(drawing.layers.size()) - 1;
    }
    void Add(Point3 a, Point3 b, const std::string& layerName) {
        const int layer = LayerIndex(layerName);
        drawing.segments.push_back({{a.x, a.y}, {b.x, b.y}, layer});
        ends.emplace_back(a, b);
    }

    std::map<std::string, int> layerIndex_;
    std::vector<Point3> vertices_;
    std::string polylineLayer_;
    bool inBlock_ = false;
    bool inPolyline_ = false;
    bool closed_ = false;
    bool planar_ = true;
    bool mirrored_ = false;
    double elevation_ = 0.0;
};

bool Finite(const DxfSegment& s) {
    return std::isfinite(s.a.x) && std::isfinite(s.a.y) && std::isfinite(s.b.x) &&
           std::isfinite(s.b.y);
}

// A grid lies in one plane: every z the same (within a part of the extent).
// A plane z = c ≠ 0 is taken as z = 0 with a warning.
bool CheckPlane(const LineCollector& c, double extent, std::vector<std::string>& warnings,
                std::string& error) {
    const double z0 = c.ends.front().first.z;
    const double limit = 1e-9 * std::max(extent, 1.0);
    for (size_t i = 0; i < c.ends.size(); ++i)
        for (const Point3& p : {c.ends[i].first, c.ends[i].second})
            if (!(std::fabs(p.z - z0) <= limit)) {
                const DxfSegment& s = c.drawing.segments[i];
                error = Format("Die Zeichnung ist dreidimensional: die Linie von (%g, %g) nach "
                               "(%g, %g) auf der Ebene \"%s\" hat z = %g und %g; ein Trägerrost "
                               "liegt in einer Ebene",
                               s.a.x, s.a.y, s.b.x, s.b.y, c.drawing.layers[s.layer].c_str(),
                               c.ends[i].first.z, c.ends[i].second.z);
                return false;
            }
    if (z0 != 0.0)
        warnings.push_back(Format("Die Zeichnung liegt in der Höhe z = %g; sie wird in die "
                                  "Ebene z = 0 gelegt",
                                  z0));
    return true;
}

void CountWarnings(const LineCollector& c, std::vector<std::string>& warnings) {
    if (c.inserts_ > 0)
        warnings.push_back(Format("%d Blockreferenzen werden nicht übernommen", c.inserts_));
    if (c.arcs_ > 0)
        warnings.push_back(
            Format("%d Bögen in Polylinien werden als gerade Stäbe übernommen", c.arcs_));
    if (c.otherEntities_ > 0)
        warnings.push_back(Format("%d Objekte, die keine Linien sind (Bögen, Kreise, Splines), "
                                  "werden nicht übernommen",
                                  c.otherEntities_));
}

} // namespace

double DxfDrawing::Extent() const {
    if (segments.empty())
        return 0.0;
    double minX = segments[0].a.x, maxX = minX, minY = segments[0].a.y, maxY = minY;
    for (const DxfSegment& s : segments)
        for (const DxfPoint& p : {s.a, s.b}) {
            minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
        }
    return std::hypot(maxX - minX, maxY - minY);
}

bool ReadDxfDrawing(const std::string& path, DxfDrawing& drawing, std::string& error) {
    std::string text;
    if (!ReadText(path, text, error))
        return false;
    LineCollector collector;
    try {
        std::istringstream stream(WithBoundedCounts(text));
        text.clear();
        DL_Dxf dxf;
        if (!dxf.in(stream, &collector)) {
            error = std::string(kUnreadable) + ": " + path;
            return false;
        }
        collector.FinishPolyline();
    } catch (const std::exception&) {
        error = std::string(kUnreadable) + ": " + path;
        return false;
    }
    DxfDrawing& read = collector.drawing;
    if (read.segments.empty()) {
        error = "Die Zeichnung enthält keine Linien (LINE, LWPOLYLINE, POLYLINE): " + path;
        return false;
    }
    if (!std::all_of(read.segments.begin(), read.segments.end(), Finite)) {
        error = std::string(kUnreadable) + " (Koordinate ist keine Zahl): " + path;
        return false;
    }
    if (collector.tilted_) {
        error = "Die Zeichnung ist dreidimensional: eine Polylinie liegt in einer geneigten "
                "Ebene; ein Trägerrost liegt in einer Ebene: " +
                path;
        return false;
    }
    if (!CheckPlane(collector, read.Extent(), read.warnings, error))
        return false;
    CountWarnings(collector, read.warnings);
    drawing = std::move(read);
    return true;
}

// --- The grid -----------------------------------------------------------------

namespace {

// Division of lines at crossings costs a test per pair of lines whose boxes
// overlap; a drawing of more lines than this is not divided.
constexpr size_t kMaxSplitSegments = 100000;

DxfPoint Minus(DxfPoint a, DxfPoint b) {
    return {a.x - b.x, a.y - b.y};
}
double CrossOf(DxfPoint a, DxfPoint b) {
    return a.x * b.y - a.y * b.x;
}
double DotOf(DxfPoint a, DxfPoint b) {
    return a.x * b.x + a.y * b.y;
}
double LengthOf(const DxfSegment& s) {
    return std::hypot(s.b.x - s.a.x, s.b.y - s.a.y);
}
DxfPoint At(const DxfSegment& s, double t) {
    return {s.a.x + t * (s.b.x - s.a.x), s.a.y + t * (s.b.y - s.a.y)};
}

bool Interior(double t, double margin) {
    return t > margin && t < 1.0 - margin;
}

// Where the end points of other lie on the inside of s (within the
// tolerance): the places to divide s.
void EndsOnSegment(const DxfSegment& s, const DxfSegment& other, double tol,
                   std::vector<double>& cuts) {
    const DxfPoint d = Minus(s.b, s.a);
    const double length = LengthOf(s);
    for (const DxfPoint& p : {other.a, other.b}) {
        const double t = DotOf(Minus(p, s.a), d) / (length * length);
        const DxfPoint foot = At(s, t);
        if (Interior(t, tol / length) && std::hypot(p.x - foot.x, p.y - foot.y) <= tol)
            cuts.push_back(t);
    }
}

// The places where lines i and j divide each other: at their crossing, or
// where an end of one lies on the other.
void Crossing(const std::vector<DxfSegment>& lines, size_t i, size_t j, double tol,
              std::vector<std::vector<double>>& cuts) {
    const DxfSegment& p = lines[i];
    const DxfSegment& q = lines[j];
    const DxfPoint d1 = Minus(p.b, p.a), d2 = Minus(q.b, q.a);
    const double l1 = LengthOf(p), l2 = LengthOf(q);
    const double denominator = CrossOf(d1, d2);
    if (std::fabs(denominator) <= 1e-12 * l1 * l2) {
        EndsOnSegment(p, q, tol, cuts[i]);
        EndsOnSegment(q, p, tol, cuts[j]);
        return;
    }
    const DxfPoint w = Minus(q.a, p.a);
    const double s = CrossOf(w, d2) / denominator;
    const double u = CrossOf(w, d1) / denominator;
    const double e1 = tol / l1, e2 = tol / l2;
    if (s < -e1 || s > 1 + e1 || u < -e2 || u > 1 + e2)
        return;
    if (Interior(s, e1))
        cuts[i].push_back(s);
    if (Interior(u, e2))
        cuts[j].push_back(u);
}

struct Box {
    double minX, maxX, minY, maxY;
};
Box BoxOf(const DxfSegment& s) {
    return {std::min(s.a.x, s.b.x), std::max(s.a.x, s.b.x), std::min(s.a.y, s.b.y),
            std::max(s.a.y, s.b.y)};
}

// The lines divided where they cross or where one ends on another; pieces
// closer than the tolerance along a line are one.
bool SplitAtCrossings(std::vector<DxfSegment>& lines, double tol, std::string& error) {
    if (lines.size() > kMaxSplitSegments) {
        error = Format("Die Zeichnung hat %zu Linien; an Kreuzungen geteilt werden höchstens %zu",
                       lines.size(), kMaxSplitSegments);
        return false;
    }
    std::vector<Box> boxes(lines.size());
    std::transform(lines.begin(), lines.end(), boxes.begin(), BoxOf);
    std::vector<size_t> order(lines.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](size_t a, size_t b) { return boxes[a].minX < boxes[b].minX; });
    std::vector<std::vector<double>> cuts(lines.size());
    size_t pieces = lines.size();
    for (size_t a = 0; a < order.size(); ++a)
        for (size_t b = a + 1; b < order.size(); ++b) {
            const Box &p = boxes[order[a]], &q = boxes[order[b]];
            if (q.minX > p.maxX + tol)
                break;
            if (q.minY > p.maxY + tol || q.maxY < p.minY - tol)
                continue;
            const size_t before = cuts[order[a]].size() + cuts[order[b]].size();
            Crossing(lines, order[a], order[b], tol, cuts);
            pieces += cuts[order[a]].size() + cuts[order[b]].size() - before;
            if (pieces > static_cast<size_t>(kMaxRecordNumber)) {
                error = Format("Die geteilten Linien ergäben mehr als %ld Stäbe", kMaxRecordNumber);
                return false;
            }
        }
    std::vector<DxfSegment> divided;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::vector<double>& t = cuts[i];
        std::sort(t.begin(), t.end());
        const double margin = tol / LengthOf(lines[i]);
        double from = 0.0;
        for (double cut : t) {
            if (cut - from <= margin)
                continue;
            divided.push_back({At(lines[i], from), At(lines[i], cut), lines[i].layer});
            from = cut;
        }
        divided.push_back({At(lines[i], from), lines[i].b, lines[i].layer});
    }
    lines = std::move(divided);
    return true;
}

// The nodes of the grid: a point within the tolerance of a node is that node.
// The points are sorted into square cells as wide as the tolerance, so that
// only the nine cells around a point are searched.
class NodeMerger {
public:
    NodeMerger(double tolerance, double extent, DxfPoint origin)
        : tolerance_(tolerance), cell_(std::max(tolerance, 1e-9 * extent)), origin_(origin) {}

    int NodeAt(DxfPoint p, std::vector<DxfPoint>& nodes) {
        const long long cx = Cell(p.x - origin_.x), cy = Cell(p.y - origin_.y);
        int best = -1;
        double bestDistance = tolerance_;
        for (long long dx = -1; dx <= 1; ++dx)
            for (long long dy = -1; dy <= 1; ++dy) {
                const auto found = cells_.find(Key(cx + dx, cy + dy));
                if (found == cells_.end())
                    continue;
                for (int node : found->second) {
                    const double d = std::hypot(nodes[node].x - p.x, nodes[node].y - p.y);
                    if (d <= bestDistance)
                        best = node, bestDistance = d;
                }
            }
        if (best >= 0)
            return best;
        nodes.push_back(p);
        cells_[Key(cx, cy)].push_back(static_cast<int>(nodes.size()) - 1);
        return static_cast<int>(nodes.size()) - 1;
    }

private:
    long long Cell(double offset) const {
        return static_cast<long long>(std::floor(offset / cell_));
    }
    static unsigned long long Key(long long x, long long y) {
        return (static_cast<unsigned long long>(x) << 32) ^ static_cast<unsigned long long>(y);
    }

    double tolerance_;
    double cell_;
    DxfPoint origin_;
    std::unordered_map<unsigned long long, std::vector<int>> cells_;
};

DxfPoint LowerLeft(const std::vector<DxfSegment>& lines) {
    DxfPoint corner = lines.front().a;
    for (const DxfSegment& s : lines)
        for (const DxfPoint& p : {s.a, s.b})
            corner = {std::min(corner.x, p.x), std::min(corner.y, p.y)};
    return corner;
}

bool SameValues(const LayerSection& a, const LayerSection& b) {
    return a.E == b.E && a.G == b.G && a.Iy == b.Iy && a.It == b.It && a.alphaT == b.alphaT;
}

} // namespace

double DefaultTolerance(const DxfDrawing& drawing) {
    return 0.001 * drawing.Extent();
}

bool BuildGrid(const DxfDrawing& drawing, const GridOptions& options, ImportedGrid& grid,
               std::string& error) {
    const double tol = options.tolerance > 0 ? options.tolerance : DefaultTolerance(drawing);
    if (!(options.tolerance >= 0) || !std::isfinite(options.tolerance) || !(tol > 0)) {
        error = "Die Toleranz für gemeinsame Knoten muss eine Zahl größer als 0 sein";
        return false;
    }
    std::vector<DxfSegment> lines = drawing.segments;
    if (options.splitAtCrossings && !SplitAtCrossings(lines, tol, error))
        return false;
    ImportedGrid result;
    result.tolerance = tol;
    result.intervals = options.intervals;
    result.warnings = drawing.warnings;
    result.layerSections.resize(drawing.layers.size());
    for (size_t layer = 0; layer < drawing.layers.size() && layer < options.sections.size();
         ++layer)
        result.layerSections[layer] = options.sections[layer];
    NodeMerger merger(tol, drawing.Extent(), LowerLeft(lines));
    std::set<std::pair<int, int>> made;
    int shortLines = 0, repeated = 0;
    for (const DxfSegment& s : lines) {
        const int a = merger.NodeAt(s.a, result.nodes), b = merger.NodeAt(s.b, result.nodes);
        if (a == b) {
            ++shortLines;
        } else if (!made.insert(std::minmax(a, b)).second) {
            ++repeated;
        } else {
            result.beams.push_back({a + 1, b + 1, s.layer});
        }
        if (result.nodes.size() > static_cast<size_t>(kMaxRecordNumber) ||
            result.beams.size() > static_cast<size_t>(kMaxRecordNumber)) {
            error = Format("Die Zeichnung ergäbe mehr als %ld Knoten oder Stäbe", kMaxRecordNumber);
            return false;
        }
    }
    if (shortLines > 0)
        result.warnings.push_back(
            Format("%d Linien sind kürzer als die Toleranz %g und werden nicht übernommen",
                   shortLines, tol));
    if (repeated > 0)
        result.warnings.push_back(
            Format("%d Linien liegen doppelt und werden einmal übernommen", repeated));
    if (result.beams.empty()) {
        error = Format(
            "Die Zeichnung ergibt keinen Stab: alle Linien sind kürzer als die Toleranz %g", tol);
        return false;
    }
    grid = std::move(result);
    return true;
}

std::string CheckLayerSections(const ImportedGrid& grid, const DxfDrawing& drawing,
                               const std::vector<MatRec>& types) {
    for (size_t layer = 0; layer < grid.layerSections.size(); ++layer) {
        const int number = grid.layerSections[layer].typeNumber;
        if (number > 0 && (number > static_cast<int>(types.size()) || types[number - 1].flag <= 0))
            return Format("Ebene \"%s\": den Querschnittstyp %d gibt es nicht",
                          drawing.layers[layer].c_str(), number);
    }
    return {};
}

namespace {

// The type number of every layer: the one named, else a new type, shared by
// the layers with the same values. Types only for layers with beams.
std::vector<int> LayerTypes(const ImportedGrid& grid, MatClass& mats) {
    std::vector<bool> used(grid.layerSections.size(), false);
    for (const GridBeam& beam : grid.beams)
        used[beam.layer] = true;
    std::vector<int> types(grid.layerSections.size(), 0);
    std::vector<std::pair<LayerSection, int>> made;
    for (size_t layer = 0; layer < types.size(); ++layer) {
        const LayerSection& section = grid.layerSections[layer];
        if (section.typeNumber > 0 || !used[layer]) {
            types[layer] = section.typeNumber;
            continue;
        }
        const auto same = std::find_if(made.begin(), made.end(),
                                       [&](const auto& m) { return SameValues(m.first, section); });
        if (same != made.end()) {
            types[layer] = same->second;
            continue;
        }
        types[layer] =
            AppendSectionType(mats, {section.E, section.G, section.Iy, section.It, section.alphaT});
        made.emplace_back(section, types[layer]);
    }
    return types;
}

} // namespace

std::vector<MatRec> CurrentTypes(InputModel& model) {
    std::vector<MatRec> types;
    for (int row = 0; row < model.mats.Count(); ++row)
        types.push_back(*model.mats.RowRecord(row));
    return types;
}

void ApplyGrid(const ImportedGrid& grid, const std::vector<MatRec>& kept, InputModel& model) {
    model.ResetSystem();
    model.mats.EnsureRows(static_cast<int>(kept.size()));
    for (size_t row = 0; row < kept.size(); ++row)
        *model.mats.RowRecord(static_cast<int>(row)) = kept[row];
    const std::vector<int> types = LayerTypes(grid, model.mats);
    model.nodes.EnsureRows(static_cast<int>(grid.nodes.size()));
    for (size_t i = 0; i < grid.nodes.size(); ++i) {
        NodeRec* rec = model.nodes.RowRecord(static_cast<int>(i));
        rec->flag = kFlagUser;
        rec->x = grid.nodes[i].x;
        rec->y = grid.nodes[i].y;
    }
    model.beams.EnsureRows(static_cast<int>(grid.beams.size()));
    for (size_t i = 0; i < grid.beams.size(); ++i) {
        BeamRec* rec = model.beams.RowRecord(static_cast<int>(i));
        rec->flag = kFlagUser;
        rec->start = grid.beams[i].start;
        rec->end = grid.beams[i].end;
        rec->section = types[grid.beams[i].layer];
        rec->intervals = grid.intervals;
    }
    for (InputContainer* table : model.systemFileTables)
        table->Refresh();
    model.nodes.NotifyChanged();
}
