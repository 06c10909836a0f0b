#include "traffic/Lane.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

bool Number(const std::string& text, size_t from, size_t to, double& value) {
    while (from < to && text[from] == ' ')
        ++from;
    while (to > from && text[to - 1] == ' ')
        --to;
    const char* begin = text.data() + from;
    const char* end = text.data() + to;
    if (begin != end && *begin == '+')
        ++begin;
    const auto result = std::from_chars(begin, end, value);
    return begin != end && result.ec == std::errc() && result.ptr == end && std::isfinite(value);
}

double Length(const Lane& lane) {
    double length = 0.0;
    for (size_t k = 1; k < lane.points.size(); ++k)
        length += std::hypot(lane.points[k].x - lane.points[k - 1].x,
                             lane.points[k].y - lane.points[k - 1].y);
    return length;
}

// The point at station s (0 … length) and the unit direction there.
void PointAt(const Lane& lane, double s, double& x, double& y, double& dx, double& dy) {
    double passed = 0.0;
    for (size_t k = 1; k < lane.points.size(); ++k) {
        const LanePoint& a = lane.points[k - 1];
        const LanePoint& b = lane.points[k];
        const double l = std::hypot(b.x - a.x, b.y - a.y);
        if (l <= 0.0)
            continue;
        if (s <= passed + l || k + 1 == lane.points.size()) {
            const double t = std::clamp((s - passed) / l, 0.0, 1.0);
            dx = (b.x - a.x) / l;
            dy = (b.y - a.y) / l;
            x = a.x + t * (b.x - a.x);
            y = a.y + t * (b.y - a.y);
            return;
        }
        passed += l;
    }
}

} // namespace

bool ParseLane(const std::string& text, Lane& lane, std::string& error) {
    lane = Lane();
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(';', start);
        if (end == std::string::npos)
            end = text.size();
        const size_t comma = text.find(',', start);
        LanePoint p;
        if (comma == std::string::npos || comma > end || !Number(text, start, comma, p.x) ||
            !Number(text, comma + 1, end, p.y)) {
            error = "Ungültige Fahrspur bei Zeichen " + std::to_string(start + 1) + ": \"" + text +
                    "\" (Punkte x,y in m, durch ; getrennt, z. B. \"0,1.5;20,1.5\")";
            return false;
        }
        lane.points.push_back(p);
        start = end + 1;
    }
    if (lane.points.size() < 2 || !(Length(lane) > 0.0)) {
        error = "Ungültige Fahrspur: \"" + text + "\" (mindestens zwei verschiedene Punkte)";
        return false;
    }
    return true;
}

bool PlaceVehicle(const Vehicle& vehicle, const std::vector<Lane>& lanes, double step,
                  bool bothDirections, std::vector<VehiclePosition>& positions,
                  std::string& error) {
    positions.clear();
    if (!(step > 0.0) || !std::isfinite(step)) {
        error = "Die Schrittweite muss größer als 0 sein (m)";
        return false;
    }
    double front = -INFINITY, rear = INFINITY;
    for (const Wheel& w : vehicle.wheels) {
        front = std::max(front, w.along);
        rear = std::min(rear, w.along);
    }
    long count = 0;
    for (const Lane& lane : lanes) {
        const double travel = Length(lane) + front - rear;
        count += (static_cast<long>(std::min(travel / step, 2.0 * kMaxPositions)) + 1) *
                 (bothDirections ? 2 : 1);
    }
    if (count > kMaxPositions ||
        count * static_cast<long>(vehicle.wheels.size()) > kMaxPlacedWheels) {
        error = "Zu viele Laststellungen: " + std::to_string(count) + " (höchstens " +
                std::to_string(kMaxPositions) + " Laststellungen und " +
                std::to_string(kMaxPlacedWheels) + " Räder; größere Schrittweite wählen)";
        return false;
    }
    for (size_t l = 0; l < lanes.size(); ++l)
        for (int direction = 0; direction < (bothDirections ? 2 : 1); ++direction) {
            Lane lane = lanes[l];
            if (direction == 1)
                std::reverse(lane.points.begin(), lane.points.end());
            const double length = Length(lane);
            const double first = -front, last = length - rear;
            // Stations as multiples of the step, so that a step that divides
            // the lane meets its points exactly.
            const long steps = static_cast<long>(std::floor((last - first) / step + 1e-9));
            for (long k = 0; k <= steps; ++k) {
                VehiclePosition position;
                position.lane = static_cast<int>(l);
                position.reverse = direction == 1;
                position.station = first + static_cast<double>(k) * step;
                for (const Wheel& w : vehicle.wheels) {
                    const double s = position.station + w.along;
                    const double tolerance = 1e-9 * std::max(1.0, length);
                    if (s < -tolerance || s > length + tolerance)
                        continue;
                    double x = 0, y = 0, dx = 1, dy = 0;
                    PointAt(lane, std::clamp(s, 0.0, length), x, y, dx, dy);
                    position.wheels.push_back({x - dy * w.across, y + dx * w.across, w.load});
                }
                positions.push_back(std::move(position));
            }
        }
    return true;
}
