#include "traffic/Lane.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

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
        const double travel = LaneLength(lane) + front - rear;
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
            const double length = LaneLength(lane);
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
