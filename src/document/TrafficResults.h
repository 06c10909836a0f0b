#pragma once

#include "analysis/CalcStatus.h"
#include "project/Project.h"
#include "traffic/ProjectTraffic.h"
#include "traffic/TrafficAnalysis.h"

#include <memory>

class ProjectAnalysis;
struct InputModel;

// The traffic of a calculated project (its positions, extremes and
// envelopes, as balkor-batch computes them) and the analysis on the
// factorised system that serves the influence surfaces afterwards.
struct TrafficResults {
    ProjectTrafficResults run;
    std::unique_ptr<InputModel> input;
    std::unique_ptr<TrafficAnalysis> analysis;

    TrafficResults();
    ~TrafficResults();
};

// Runs the project's traffic on a copy of the system of input: every
// position one right-hand side of one factorisation, the envelopes with the
// calculated load cases of analysis. A failure carries a German message and
// the title "Berechnungsfehler" (a vehicle that cannot be read, too many
// positions, a system that cannot be solved).
CalcResult RunTraffic(const ProjectModel& project, InputModel& system, ProjectAnalysis* analysis,
                      TrafficResults& results);
