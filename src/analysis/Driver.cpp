// One analysis run: input checks, model, degrees of freedom, assembly,
// solution and evaluation, reported stage by stage.

#include "analysis/KMatrix.h"
#include "analysis/SolutionsCont.h"
#include "model/Checks.h"
#include "model/Tables.h"

SolutionsCont::SolutionsCont(InputModel& input) : input_(input) {}

SolutionsCont& Solutions() {
    static SolutionsCont solutions(Input());
    return solutions;
}

void SolutionsCont::Clear() {
    elements.Release();
    nodes.Clear();
    bcRows.Release();
    dofs.Release();
    elementLoads_.Clear();
    stageThreeSets_.reset();
    resultsValid = 0;
}

void SolutionsCont::ReportCounters(CalcStatus* status) {
    if (status)
        status->CountersChanged(counters);
}

namespace {

void StartStage(CalcStatus* status, int stage) {
    if (status)
        status->StageStarted(stage);
}

void FailStage(CalcStatus* status, int stage, CalcResult& result, const char* message) {
    result.message = message;
    result.title = kCalcErrorTitle;
    result.failedStage = stage;
    if (status)
        status->StageFinished(stage, false);
}

bool InputFailed(const CheckReport& report, CalcResult& result) {
    if (report.ok)
        return false;
    result.inputError = true;
    result.check = report;
    result.message = report.message;
    result.title = kCheckFailedCaption;
    return true;
}

} // namespace

CalcResult SolutionsCont::Calculate(CalcStatus* status) {
    CalcResult result;
    if (PrepareModel(status, result) != kStageOk || SolveModel(status, result) != kStageOk)
        return result;
    resultsValid = 1;
    result.ok = true;
    if (status)
        status->StageFinished(kStageEvaluate, true);
    return result;
}

int SolutionsCont::PrepareModel(CalcStatus* status, CalcResult& result) {
    Clear();
    if (InputFailed(CheckSystem(input_), result) || InputFailed(CheckLoads(input_), result))
        return kStageFailed;

    StartStage(status, kStageElements);
    BuildModel();
    counters.nodes = nodes.Count();
    counters.elements = elements.Count();
    ReportCounters(status);
    AddLoadCaseRows();

    StartStage(status, kStageDofs);
    if (NumberDofs() != kEliminationOk) {
        FailStage(status, kStageDofs, result, kContradictionMessage);
        return kStageFailed;
    }
    counters.dofs = dofs.Count();
    counters.conditions = dofs.Count() - dofs.freeCount;
    ReportCounters(status);
    StartStage(status, kStageOptimize);
    OptimizeEquations();
    StartStage(status, kStageStiffness);
    return kStageOk;
}

int SolutionsCont::SolveModel(CalcStatus* status, CalcResult& result) {
    const int n = dofs.freeCount;
    KMatrix K;
    K.Create(n);
    Matrix F(n, 1);
    ProfileHeights(K);
    K.FinishProfile();
    counters.memoryBytes = static_cast<long>(K.MemoryBytes());
    counters.bandwidth = K.bandwidth;
    ReportCounters(status);
    AssembleStiffness(K, F);

    for (int d = 0; d < dofs.Count(); ++d)
        dofs.Dof(d).nodeForce = 0.0;
    StartStage(status, kStageLoads);
    AssembleLoads(F);

    StartStage(status, kStageSolve);
    if (K.Solve(F) != kSolveSolved) {
        FailStage(status, kStageSolve, result, kSingularMessage);
        return kStageFailed;
    }
    StartStage(status, kStageEvaluate);
    StoreDisplacements(F);
    Evaluate();
    return kStageOk;
}
