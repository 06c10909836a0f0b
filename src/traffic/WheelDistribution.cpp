#include "traffic/WheelDistribution.h"

#include "model/Tables.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>

namespace {

struct Segment {
    int beam; // number
    double ax, ay, bx, by;
    double length;
};

struct Cell {
    std::vector<int> nodes; // input node numbers, anticlockwise
    std::vector<double> x, y;
    double minX, minY, maxX, maxY;
};

// A uniform grid of buckets over the plane holding item indices by their
// bounding boxes: the few candidates near a point.
class Buckets {
public:
    void Build(double minX, double minY, double maxX, double maxY, size_t items) {
        minX_ = minX;
        minY_ = minY;
        const double w = std::max(maxX - minX, 1e-9), h = std::max(maxY - minY, 1e-9);
        const double side = std::sqrt(w * h / static_cast<double>(std::max<size_t>(items, 1)));
        nx_ = std::clamp(static_cast<long>(w / side) + 1, 1L, 2048L);
        ny_ = std::clamp(static_cast<long>(h / side) + 1, 1L, 2048L);
        cw_ = w / static_cast<double>(nx_);
        ch_ = h / static_cast<double>(ny_);
        buckets_.assign(static_cast<size_t>(nx_ * ny_), {});
    }
    void Add(int item, double x0, double y0, double x1, double y1) {
        const long i0 = Column(x0), i1 = Column(x1), j0 = Row(y0), j1 = Row(y1);
        for (long j = j0; j <= j1; ++j)
            for (long i = i0; i <= i1; ++i)
                buckets_[static_cast<size_t>(j * nx_ + i)].push_back(item);
    }
    const std::vector<int>& At(double x, double y) const {
        static const std::vector<int> none;
        const double fx = (x - minX_) / cw_, fy = (y - minY_) / ch_;
        if (!(fx >= 0 && fy >= 0 && fx <= static_cast<double>(nx_) &&
              fy <= static_cast<double>(ny_)))
            return none;
        return buckets_[static_cast<size_t>(Row(y) * nx_ + Column(x))];
    }

private:
    long Column(double x) const {
        return std::clamp(static_cast<long>(std::floor((x - minX_) / cw_)), 0L, nx_ - 1);
    }
    long Row(double y) const {
        return std::clamp(static_cast<long>(std::floor((y - minY_) / ch_)), 0L, ny_ - 1);
    }
    double minX_ = 0, minY_ = 0, cw_ = 1, ch_ = 1;
    long nx_ = 1, ny_ = 1;
    std::vector<std::vector<int>> buckets_;
};

// Distance of (x, y) from the segment and the relative position of the foot.
double Distance(const Segment& s, double x, double y, double& t) {
    const double dx = s.bx - s.ax, dy = s.by - s.ay;
    t = std::clamp(((x - s.ax) * dx + (y - s.ay) * dy) / (s.length * s.length), 0.0, 1.0);
    return std::hypot(x - (s.ax + t * dx), y - (s.ay + t * dy));
}

bool InsidePolygon(const Cell& cell, double x, double y) {
    bool inside = false;
    const size_t n = cell.x.size();
    for (size_t i = 0, j = n - 1; i < n; j = i++)
        if ((cell.y[i] > y) != (cell.y[j] > y) &&
            x < (cell.x[j] - cell.x[i]) * (y - cell.y[i]) / (cell.y[j] - cell.y[i]) + cell.x[i])
            inside = !inside;
    return inside;
}

// The parameters (r, s) of (x, y) in the bilinear quadrilateral, by Newton's
// method from its centre; false when it does not converge.
bool Bilinear(const Cell& c, double x, double y, double& r, double& s) {
    r = s = 0.5;
    for (int it = 0; it < 50; ++it) {
        const double n[4] = {(1 - r) * (1 - s), r * (1 - s), r * s, (1 - r) * s};
        double fx = -x, fy = -y;
        for (int i = 0; i < 4; ++i) {
            fx += n[i] * c.x[static_cast<size_t>(i)];
            fy += n[i] * c.y[static_cast<size_t>(i)];
        }
        const double dr[4] = {-(1 - s), 1 - s, s, -s}, ds[4] = {-(1 - r), -r, r, 1 - r};
        double a = 0, b = 0, cc = 0, d = 0;
        for (int i = 0; i < 4; ++i) {
            a += dr[i] * c.x[static_cast<size_t>(i)];
            b += ds[i] * c.x[static_cast<size_t>(i)];
            cc += dr[i] * c.y[static_cast<size_t>(i)];
            d += ds[i] * c.y[static_cast<size_t>(i)];
        }
        const double det = a * d - b * cc;
        if (!(std::fabs(det) > 0))
            return false;
        const double deltaR = (d * fx - b * fy) / det, deltaS = (a * fy - cc * fx) / det;
        r -= deltaR;
        s -= deltaS;
        if (std::fabs(deltaR) + std::fabs(deltaS) < 1e-15)
            return true;
    }
    return std::isfinite(r) && std::isfinite(s);
}

} // namespace

struct DeckMap::Impl {
    std::vector<Segment> segments;
    std::vector<Cell> cells;
    int quadrilaterals = 0;
    Buckets beamBuckets, cellBuckets;

    void Build(InputModel& input);
    void FindCells(InputModel& input);
};

void DeckMap::Impl::Build(InputModel& input) {
    double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
    for (int k = 0; k < input.beams.ValidCount(); ++k) {
        const BeamRec& beam = *input.beams.ValidRow(k);
        if (beam.start < 1 || beam.end < 1 || beam.start > input.nodes.Count() ||
            beam.end > input.nodes.Count() || !input.nodes.IsRowUsed(beam.start - 1) ||
            !input.nodes.IsRowUsed(beam.end - 1))
            continue;
        const NodeRec& a = *input.nodes.RowRecord(beam.start - 1);
        const NodeRec& b = *input.nodes.RowRecord(beam.end - 1);
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        if (!(length > 0))
            continue;
        segments.push_back({input.beams.IndexOf(&beam) + 1, a.x, a.y, b.x, b.y, length});
        minX = std::min({minX, a.x, b.x});
        maxX = std::max({maxX, a.x, b.x});
        minY = std::min({minY, a.y, b.y});
        maxY = std::max({maxY, a.y, b.y});
    }
    if (segments.empty())
        return;
    beamBuckets.Build(minX, minY, maxX, maxY, segments.size());
    for (size_t k = 0; k < segments.size(); ++k) {
        const Segment& s = segments[k];
        const double tol = kOnBeamTolerance * s.length;
        beamBuckets.Add(static_cast<int>(k), std::min(s.ax, s.bx) - tol, std::min(s.ay, s.by) - tol,
                        std::max(s.ax, s.bx) + tol, std::max(s.ay, s.by) + tol);
    }
    FindCells(input);
    cellBuckets.Build(minX, minY, maxX, maxY, std::max<size_t>(cells.size(), 1));
    for (size_t k = 0; k < cells.size(); ++k)
        cellBuckets.Add(static_cast<int>(k), cells[k].minX, cells[k].minY, cells[k].maxX,
                        cells[k].maxY);
}

// The closed cells are the bounded faces of the plane graph of the beams:
// each directed beam side is followed, at its end node, by the next beam
// clockwise, which walks every face with the face on the left.
void DeckMap::Impl::FindCells(InputModel& input) {
    std::map<int, std::vector<std::pair<double, int>>> around; // node -> (angle, neighbour)
    std::map<std::pair<int, int>, bool> seen;
    auto nodeXY = [&input](int number) {
        const NodeRec& n = *input.nodes.RowRecord(number - 1);
        return std::pair{n.x, n.y};
    };
    std::map<std::pair<int, int>, int> sides;
    std::vector<char> mapped(static_cast<size_t>(input.beams.Count()) + 1, 0);
    for (const Segment& s : segments)
        mapped[static_cast<size_t>(s.beam)] = 1;
    for (int k = 0; k < input.beams.ValidCount(); ++k) {
        const BeamRec& beam = *input.beams.ValidRow(k);
        if (beam.start == beam.end)
            continue;
        if (!mapped[static_cast<size_t>(input.beams.IndexOf(&beam) + 1)] ||
            sides.count({beam.start, beam.end}))
            continue; // a second beam between the same nodes adds no cell
        sides[{beam.start, beam.end}] = 1;
        sides[{beam.end, beam.start}] = 1;
        const auto [ax, ay] = nodeXY(beam.start);
        const auto [bx, by] = nodeXY(beam.end);
        around[beam.start].push_back({std::atan2(by - ay, bx - ax), beam.end});
        around[beam.end].push_back({std::atan2(ay - by, ax - bx), beam.start});
    }
    for (auto& [node, list] : around)
        std::sort(list.begin(), list.end());
    for (const auto& [side, unused] : sides) {
        if (seen[side])
            continue;
        Cell cell;
        std::pair<int, int> h = side;
        bool closed = false;
        for (size_t guard = 0; guard <= sides.size(); ++guard) {
            seen[h] = true;
            cell.nodes.push_back(h.first);
            const auto& list = around[h.second];
            // The side back to h.first in the anticlockwise order at h.second;
            // the face continues with the one before it (clockwise next).
            size_t at = 0;
            for (size_t i = 0; i < list.size(); ++i)
                if (list[i].second == h.first)
                    at = i;
            const int next = list[(at + list.size() - 1) % list.size()].second;
            h = {h.second, next};
            if (h == side) {
                closed = true;
                break;
            }
        }
        if (!closed || cell.nodes.size() < 3)
            continue;
        double area = 0.0;
        for (int number : cell.nodes) {
            const auto [x, y] = nodeXY(number);
            cell.x.push_back(x);
            cell.y.push_back(y);
        }
        for (size_t i = 0, j = cell.x.size() - 1; i < cell.x.size(); j = i++)
            area += cell.x[j] * cell.y[i] - cell.x[i] * cell.y[j];
        if (!(area > 0))
            continue; // the outer border, walked clockwise
        cell.minX = *std::min_element(cell.x.begin(), cell.x.end());
        cell.maxX = *std::max_element(cell.x.begin(), cell.x.end());
        cell.minY = *std::min_element(cell.y.begin(), cell.y.end());
        cell.maxY = *std::max_element(cell.y.begin(), cell.y.end());
        quadrilaterals += cell.nodes.size() == 4;
        cells.push_back(std::move(cell));
    }
}

DeckMap::DeckMap(InputModel& input) : impl_(new Impl) {
    impl_->Build(input);
}

DeckMap::~DeckMap() {
    delete impl_;
}

int DeckMap::CellCount() const {
    return static_cast<int>(impl_->cells.size());
}

int DeckMap::QuadrilateralCount() const {
    return impl_->quadrilaterals;
}

WheelPlace DeckMap::Distribute(double x, double y, double P, std::vector<LoadShare>& shares) const {
    if (impl_->segments.empty())
        return WheelPlace::kOff;
    int onBeam = -1;
    double onT = 0.0;
    for (int k : impl_->beamBuckets.At(x, y)) {
        const Segment& s = impl_->segments[static_cast<size_t>(k)];
        double t = 0.0;
        if (Distance(s, x, y, t) <= kOnBeamTolerance * s.length &&
            (onBeam < 0 || s.beam < impl_->segments[static_cast<size_t>(onBeam)].beam)) {
            onBeam = k;
            onT = t;
        }
    }
    if (onBeam >= 0) {
        shares.push_back({impl_->segments[static_cast<size_t>(onBeam)].beam, onT, 0, P});
        return WheelPlace::kOnBeam;
    }
    const Cell* inside = nullptr;
    for (int k : impl_->cellBuckets.At(x, y)) {
        const Cell& cell = impl_->cells[static_cast<size_t>(k)];
        if (x >= cell.minX && x <= cell.maxX && y >= cell.minY && y <= cell.maxY &&
            InsidePolygon(cell, x, y)) {
            inside = &cell;
            break;
        }
    }
    if (!inside)
        return WheelPlace::kOff;
    double r = 0, s = 0;
    if (inside->nodes.size() == 4 && Bilinear(*inside, x, y, r, s) && r >= -1e-9 && r <= 1 + 1e-9 &&
        s >= -1e-9 && s <= 1 + 1e-9) {
        const double n[4] = {(1 - r) * (1 - s), r * (1 - s), r * s, (1 - r) * s};
        for (int i = 0; i < 4; ++i)
            shares.push_back({0, 0.0, inside->nodes[static_cast<size_t>(i)], n[i] * P});
        return WheelPlace::kInCell;
    }
    double best = INFINITY, bestT = 0.0;
    int bestBeam = 0;
    for (const Segment& seg : impl_->segments) {
        double t = 0.0;
        const double d = Distance(seg, x, y, t);
        if (d < best) {
            best = d;
            bestT = t;
            bestBeam = seg.beam;
        }
    }
    shares.push_back({bestBeam, bestT, 0, P});
    return WheelPlace::kNearestBeam;
}

PositionShares DistributePositions(const DeckMap& deck,
                                   const std::vector<VehiclePosition>& positions) {
    PositionShares result;
    result.positions.reserve(positions.size());
    for (const VehiclePosition& position : positions) {
        std::vector<LoadShare> shares;
        for (const PlacedWheel& wheel : position.wheels)
            switch (deck.Distribute(wheel.x, wheel.y, wheel.load, shares)) {
            case WheelPlace::kOnBeam:
                ++result.onBeam;
                break;
            case WheelPlace::kInCell:
                ++result.inCell;
                break;
            case WheelPlace::kNearestBeam:
                ++result.nearestBeam;
                break;
            case WheelPlace::kOff:
                ++result.off;
                break;
            }
        result.positions.push_back(std::move(shares));
    }
    return result;
}
