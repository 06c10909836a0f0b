// One analysis run: input checks, model, degrees of freedom, assembly,
// solution and evaluation, reported stage by stage.

#include "analysis/DriverSteps.h"
#include "analysis/EquationSolver.h"
#include "analysis/KMatrix.h"
#include "analysis/SolutionsCont.h"
#include "model/Checks.h"
#include "model/Tables.h"

#include <cmath>
#include <memory>

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
    std::vector<KeptElement>().swap(kept_);
    std::vector<double>().swap(caseForces_);
    largestFlexibility_ = 0.0;
    framesProper_ = false;
    springs_.clear();
    springOf_.clear();
    stageThreeSets_.reset();
    scales_ = {};
    divisionNodes_.clear();
    counters.loadCases = 1;
    counters.factorisations = 1;
    resultsValid = 0;
}

void SolutionsCont::ReportCounters(CalcStatus* status) {
    if (status)
        status->CountersChanged(counters);
}

CalcResult SolutionsCont::Calculate(CalcStatus* status) {
    CalcResult result;
    FinishRun(PrepareModel(status, result) == kStageOk && SolveModel(status, result) == kStageOk,
              status, result);
    return result;
}

void SolutionsCont::FinishRun(bool ok, CalcStatus* status, CalcResult& result) {
    resultsValid = ok ? 1 : 0;
    if (!ok)
        return;
    result.ok = true;
    if (status)
        status->StageFinished(kStageEvaluate, true);
}

void SolutionsCont::ReportSolver(const EquationSolver& solver, CalcStatus* status) {
    const SolverFigures figures = solver.Figures();
    counters.sparse = solver.Kind() == SolverKind::kSparse;
    counters.memoryBytes = figures.memoryBytes;
    counters.bandwidth = figures.bandwidth;
    counters.factorNonZeros = figures.factorNonZeros;
    ReportCounters(status);
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
    // The sparse solver orders the equations itself.
    solverKind_ = ChooseSolver(dofs.freeCount);
    if (solverKind_ == SolverKind::kProfile)
        OptimizeEquations();
    StartStage(status, kStageStiffness);
    return kStageOk;
}

int SolutionsCont::SolveModel(CalcStatus* status, CalcResult& result) {
    const int n = dofs.freeCount;
    std::unique_ptr<EquationSolver> solver = MakeSolver(solverKind_, n);
    Matrix F(n, 1);
    solver->Assemble(*this, F);
    ReportSolver(*solver, status);

    for (int d = 0; d < dofs.Count(); ++d)
        dofs.Dof(d).nodeForce = 0.0;
    StartStage(status, kStageLoads);
    AssembleLoads(F);

    StartStage(status, kStageSolve);
    if (solver->Factorise() != kSolveSolved) {
        FailStage(status, kStageSolve, result, kSingularMessage);
        return kStageFailed;
    }
    const Matrix loads = F;
    solver->Solve(F);
    StartStage(status, kStageEvaluate);
    StoreDisplacements(F);
    Evaluate();
    if (!ResultsFinite()) {
        FailStage(status, kStageEvaluate, result, kNonFiniteMessage);
        return kStageFailed;
    }
    if (!SolutionBalanced(loads, F)) {
        FailStage(status, kStageEvaluate, result, kUnbalancedMessage);
        return kStageFailed;
    }
    return kStageOk;
}

namespace {

// The residual K q − F of a sound solution is rounding: of the order of the
// machine precision times the stiffness contrast of the structure (1e-5 of
// the loads for parts 1e11 times stiffer than others). A mechanism solved
// through a noise pivot leaves loads that nothing balances.
constexpr double kEquilibriumTolerance = 1e-3;

} // namespace

bool SolutionsCont::SolutionBalanced(const Matrix& loads, const Matrix& q) const {
    Matrix Kq(loads.rows, 1);
    MultiplyStiffness(q, Kq);
    return LoadsBalanced(loads, Kq);
}

bool LoadsBalanced(const Matrix& loads, const Matrix& Kq) {
    return LoadsBalanced(loads.data, Kq.data, loads.rows, 1);
}

bool LoadsBalanced(const double* loads, const double* Kq, int n, size_t stride) {
    double unbalanced = 0.0;
    double largestLoad = 0.0;
    for (int r = 0; r < n; ++r) {
        unbalanced =
            std::fmax(unbalanced, std::fabs(Kq[static_cast<size_t>(r) * stride] - loads[r]));
        largestLoad = std::fmax(largestLoad, std::fabs(loads[r]));
    }
    return unbalanced <= kEquilibriumTolerance * largestLoad;
}

bool SolutionsCont::ResultsFinite() const {
    if (!EndValuesFinite())
        return false;
    const bool unloadedFinite = UnloadedSpansFinite();
    // The values between the element ends, which the protocols and the
    // drawings compute from the displacements and the element loads.
    for (int e = 0; e < elements.Count(); ++e) {
        const ElementLoads* loads = elementLoads_.Find(e);
        if (unloadedFinite && loads && !loads->sums.any && loads->temperatures == 0)
            continue;
        for (double t : {0.0, 0.5, 1.0}) {
            if (!std::isfinite(Deflection(e, t)))
                return false;
            for (int kind = 1; kind <= 3; ++kind)
                if (!std::isfinite(SectionForce(e, t, kind)))
                    return false;
        }
    }
    return true;
}

// Measured with the scales: every displacement, node force and end force.
bool SolutionsCont::EndValuesFinite() const {
    return scales_.finite;
}

// With finite end values, the section forces of an element without span and
// temperature loads are finite (at t = 0, 1/2, 1 an end value or the mean of
// two). Its deflection at those t is at most |w1| + |w2| + g (|Ms| + |Me|)
// in magnitude, g its bending flexibility; when that bound is far from
// overflow for the largest values of the run, the samples of all such
// elements are finite without taking them.
bool SolutionsCont::UnloadedSpansFinite() const {
    if (kept_.empty())
        return false;
    const double bound = 2.0 * scales_.deflection + largestFlexibility_ * 2.0 * scales_.moment;
    return bound <= 1e300;
}
