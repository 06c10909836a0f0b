#pragma once

#include "traffic/Vehicle.h"

#include <string>
#include <vector>

struct LanePoint {
    double x = 0.0;
    double y = 0.0;
};

// A lane: a polyline in the deck plane (m), the vehicle's centre line on it.
struct Lane {
    std::vector<LanePoint> points;
};

// "x1,y1;x2,y2;...": at least two points, finite numbers, a length > 0.
// False with a German message naming the position (from 1) in the text.
bool ParseLane(const std::string& text, Lane& lane, std::string& error);

// One wheel of a placed vehicle: where it stands and its load.
struct PlacedWheel {
    double x = 0.0;
    double y = 0.0;
    double load = 0.0;
};

// One position of a vehicle on a lane.
struct VehiclePosition {
    int lane = 0;                    // from 0
    bool reverse = false;            // travelling from the lane's end to its start
    double station = 0.0;            // of the vehicle's origin along the lane, m
    std::vector<PlacedWheel> wheels; // those on the lane's length
};

// The most positions of one run.
inline constexpr long kMaxPositions = 1000000;
// The most wheels of all positions of one run together.
inline constexpr long kMaxPlacedWheels = 20000000;

// The positions of the vehicle along each lane in steps of step (m): from
// the one where its foremost wheel reaches the lane's start to the one where
// its rearmost wheel reaches its end; with bothDirections also from the end
// back to the start. Each wheel stands on the lane at its own station
// (origin's station + along) and its "across" off it to the left; a wheel
// before the start or beyond the end is not yet, or no more, on the lane and
// is left out. False with a German message for a step that is not > 0 or
// too many positions or wheels.
bool PlaceVehicle(const Vehicle& vehicle, const std::vector<Lane>& lanes, double step,
                  bool bothDirections, std::vector<VehiclePosition>& positions, std::string& error);
