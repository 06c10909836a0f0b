#pragma once

#include "analysis/CalcStatus.h"
#include "project/Project.h"
#include "traffic/Lane.h"
#include "traffic/TrafficAnalysis.h"
#include "traffic/TrafficEnvelope.h"
#include "traffic/Vehicle.h"
#include "traffic/WheelDistribution.h"

#include <memory>
#include <string>
#include <vector>

struct InputModel;

// The traffic of a calculated project: the vehicle's positions along the
// lanes, how their wheels reached the grillage, the extremes over all
// positions, the envelope of the traffic alone, and the analysis on the
// factorised system that serves the influence surfaces afterwards.
struct TrafficResults {
    Vehicle vehicle;
    std::vector<VehiclePosition> positions;
    PositionShares shares;
    TrafficExtremes extremes;
    TrafficEnvelopeResults alone; // the group under the factors 1 and 0
    std::unique_ptr<InputModel> input;
    std::unique_ptr<TrafficAnalysis> analysis;

    TrafficResults();
    ~TrafficResults();
};

// Runs the project's traffic on a copy of the system of input: every position
// one right-hand side of one factorisation. A failure carries a German
// message and the title "Berechnungsfehler" (a vehicle that cannot be read,
// too many positions, a system that cannot be solved).
CalcResult RunTraffic(const TrafficModel& model, InputModel& system, TrafficResults& results);

// The loads of one position as an ordinary load case: point loads on the
// beams and loads on the nodes appended to the input's load tables.
void LoadPosition(const std::vector<LoadShare>& shares, InputModel& input);

// The position whose value of the beam quantity (0 w, 1 Q, 2 M, 3 T) is the
// largest in magnitude anywhere, −1 when no position acts.
int WorstPosition(const TrafficEnvelopeResults& traffic, int quantity);
