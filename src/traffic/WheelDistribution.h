#pragma once

#include "traffic/Lane.h"

#include <vector>

struct InputModel;

// A share of a wheel load: a point load on a beam (beam > 0, at xi) or a
// load on a node (node > 0). Numbers are those of the tables (row + 1).
struct LoadShare {
    int beam = 0;
    double xi = 0.0;
    int node = 0;
    double load = 0.0;
};

// How a wheel reached the grillage.
enum class WheelPlace { kOnBeam, kInCell, kNearestBeam, kOff };

// The beams of a system as a map of the deck plane: where each wheel goes.
//  - within kOnBeamTolerance × the beam's length of a beam's axis: a point
//    load on that beam (the first such beam in the table);
//  - inside a cell bounded by exactly four beams: on its four corner nodes
//    by the bilinear shape functions of the quadrilateral;
//  - inside another closed cell of beams: on the nearest beam, at the foot
//    of the perpendicular;
//  - outside every closed cell and off every beam: left out.
class DeckMap {
public:
    static constexpr double kOnBeamTolerance = 1e-3;

    explicit DeckMap(InputModel& input);
    ~DeckMap();
    DeckMap(const DeckMap&) = delete;
    DeckMap& operator=(const DeckMap&) = delete;

    // Appends the shares of load P at (x, y) to shares.
    WheelPlace Distribute(double x, double y, double P, std::vector<LoadShare>& shares) const;

    int CellCount() const; // closed cells, quadrilateral or not
    int QuadrilateralCount() const;

private:
    struct Impl;
    Impl* impl_;
};

// The shares of every wheel of every position, and how the wheels landed.
struct PositionShares {
    std::vector<std::vector<LoadShare>> positions;
    long onBeam = 0, inCell = 0, nearestBeam = 0, off = 0;
};
PositionShares DistributePositions(const DeckMap& deck,
                                   const std::vector<VehiclePosition>& positions);
