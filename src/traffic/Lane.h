#pragma once

#include "project/Project.h"
#include "traffic/Vehicle.h"

#include <string>
#include <vector>

// A lane: a polyline in the deck plane (m), the vehicle's centre line on
// it; the project's lanes are these (ParseLane and LaneText in
// project/Project.h read and write them).
using LanePoint = TrafficPoint;
using Lane = TrafficLane;

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
