#pragma once

// The traffic of a project, run once for balkor-batch and the desktop program.
//
//   ProjectTrafficResults results;
//   std::string error;
//   if (!RunProjectTraffic(project, system, analysis, results, error, status))
//       ... error: the German message (vehicle, lanes, step, or the analysis);
//   results.envelopes[0]       the traffic alone (factors 1/0), named project.traffic.groupName
//   results.envelopes[1 + e]   project.envelopes[e] with the traffic group under its
//                              factors (0/0 for an envelope without a traffic term)
//   results.WorstPosition(q)   the position (index into results.positions and
//                              results.shares.positions) with the largest |value| of
//                              quantity q (0 w, 1 Q, 2 M, 3 T) of the traffic alone;
//                              positions[k].wheels are its wheels on the deck,
//                              shares.positions[k] its loads on the beams and nodes.
//
// system holds the system alone, a model of its own (its load tables are
// emptied); analysis is the calculated project analysis of the project's
// load cases (nullptr when no envelope names one). A vehicle file named
// relatively is read relative to the current folder: LoadProjectFile gives
// it resolved against the project file's folder.
//
// PlaceTraffic and EvaluateTraffic are its two halves, for a caller that
// checks the vehicle before reading the system or keeps the TrafficAnalysis
// (balkor-batch, for influence surfaces on the same factorisation).

#include "analysis/CalcStatus.h"
#include "project/Project.h"
#include "traffic/Lane.h"
#include "traffic/TrafficAnalysis.h"
#include "traffic/TrafficEnvelope.h"
#include "traffic/Vehicle.h"
#include "traffic/WheelDistribution.h"

#include <string>
#include <vector>

class ProjectAnalysis;
struct InputModel;

// One envelope of a traffic run: the traffic group under its factors and
// the envelope's other terms.
struct ProjectTrafficEnvelope {
    std::string name;
    double sup = 1.0; // the traffic group's factors
    double inf = 0.0;
    Envelope others; // the terms of load cases and combinations (traffic not found)
    TrafficEnvelopeResults results;
};

struct ProjectTrafficResults {
    Vehicle vehicle;
    std::vector<VehiclePosition> positions;
    PositionShares shares; // the loads of every position, and how the wheels landed
    TrafficExtremes extremes;
    std::vector<ProjectTrafficEnvelope> envelopes;

    int WorstPosition(int quantity) const;
};

// Resolves the vehicle and places it on the lanes into results (vehicle,
// positions). False with a German message.
bool PlaceTraffic(const TrafficModel& traffic, ProjectTrafficResults& results, std::string& error);

// The placed positions onto the deck of system, through the prepared
// analysis (on system), and the envelopes of the project with them.
void EvaluateTraffic(const ProjectModel& project, InputModel& system, TrafficAnalysis& traffic,
                     ProjectAnalysis* analysis, ProjectTrafficResults& results);

// The loads of one position appended to the load tables of input, as an
// ordinary load case: point loads on the beams, loads on the nodes.
void AppendPositionLoads(const std::vector<LoadShare>& shares, InputModel& input);

// PlaceTraffic, TrafficAnalysis::Prepare and EvaluateTraffic.
bool RunProjectTraffic(const ProjectModel& project, InputModel& system, ProjectAnalysis* analysis,
                       ProjectTrafficResults& results, std::string& error,
                       CalcStatus* status = nullptr);
