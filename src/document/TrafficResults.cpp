#include "document/TrafficResults.h"

#include "model/Tables.h"

TrafficResults::TrafficResults() = default;
TrafficResults::~TrafficResults() = default;

CalcResult RunTraffic(const ProjectModel& project, InputModel& system, ProjectAnalysis* analysis,
                      TrafficResults& results) {
    CalcResult failed;
    failed.title = kCalcErrorTitle;
    if (!PlaceTraffic(project.traffic, results.run, failed.message))
        return failed;
    results.input = std::make_unique<InputModel>();
    results.input->CopySystemFrom(system);
    results.analysis = std::make_unique<TrafficAnalysis>(*results.input);
    // The status window showed the load cases' run on the same system,
    // which already passed every check and stage this one repeats.
    CalcResult prepared = results.analysis->Prepare(nullptr);
    if (!prepared.ok)
        return prepared;
    EvaluateTraffic(project, *results.input, *results.analysis, analysis, results.run);
    return prepared;
}
