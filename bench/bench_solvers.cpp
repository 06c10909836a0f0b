// The two solvers of the global system side by side on generated grillages:
// assembly into the solver's storage, factorisation, and one more
// right-hand side with the factor kept. Arguments: N (an N x N grid), the
// variant (0 plain, 1 point loads at mid-span and a bending hinge in every
// 10th beam) and the solver (0 profile, 1 sparse). Counters: equations, the
// memory of the matrix or factor, and for the sparse solver CHOLMOD's flop
// count of the factorisation with the rate it reached.

#include "Grillage.h"
#include "analysis/EquationSolver.h"
#include "analysis/KMatrix.h"
#include "analysis/Matrix.h"
#include "analysis/SolutionsCont.h"
#include "model/Tables.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>
#include <stdexcept>

namespace {

enum Phase { kAssemble, kFactorise, kSolveOne };

// The model of one run up to the solution, numbered for the solver.
struct Prepared {
    Prepared(int n, int variant, SolverKind kind) : solutions(input) {
        GrillageOptions o;
        o.n = o.m = n;
        if (variant == 1) {
            o.pointLoads = true;
            o.hingeEvery = 10;
        }
        BuildGrillage(input, o);
        solutions.Clear();
        solutions.BuildModel();
        solutions.AddLoadCaseRows();
        if (solutions.NumberDofs() != kEliminationOk)
            throw std::runtime_error("contradiction");
        if (kind == SolverKind::kProfile)
            solutions.OptimizeEquations();
        equations = solutions.dofs.freeCount;
        solver = MakeSolver(kind, equations);
        F.Allocate(equations, 1);
    }

    void Assemble() {
        solver->Assemble(solutions, F);
        for (int d = 0; d < solutions.dofs.Count(); ++d)
            solutions.dofs.Dof(d).nodeForce = 0.0;
        solutions.AssembleLoads(F);
    }

    void Factorise() {
        if (solver->Factorise() != kSolveSolved)
            throw std::runtime_error("singular");
    }

    InputModel input;
    SolutionsCont solutions;
    int equations = 0;
    std::unique_ptr<EquationSolver> solver;
    Matrix F;
};

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void BM_Solver(benchmark::State& state, Phase phase) {
    const int n = static_cast<int>(state.range(0)), variant = static_cast<int>(state.range(1));
    const SolverKind kind = state.range(2) ? SolverKind::kSparse : SolverKind::kProfile;
    std::unique_ptr<Prepared> run;
    double factorSeconds = 0.0;
    if (phase == kSolveOne) {
        run = std::make_unique<Prepared>(n, variant, kind);
        run->Assemble();
        run->Factorise();
        Matrix B(run->equations, 1);
        for (auto _ : state) {
            B.CopyFrom(run->F);
            run->solver->Solve(B);
            benchmark::DoNotOptimize(B.data);
        }
    } else {
        for (auto _ : state) {
            state.PauseTiming();
            run.reset();
            run = std::make_unique<Prepared>(n, variant, kind);
            if (phase == kFactorise)
                run->Assemble();
            state.ResumeTiming();
            if (phase == kAssemble) {
                run->Assemble();
            } else {
                const auto start = std::chrono::steady_clock::now();
                run->Factorise();
                factorSeconds = Seconds(start);
            }
        }
    }
    const SolverFigures figures = run->solver->Figures();
    state.counters["equations"] = run->equations;
    state.counters["MB"] = static_cast<double>(figures.memoryBytes) / 1e6;
    if (kind == SolverKind::kSparse) {
        state.counters["factorNnz"] = static_cast<double>(figures.factorNonZeros);
        state.counters["GFlop"] = figures.factorFlops / 1e9;
        if (phase == kFactorise && factorSeconds > 0)
            state.counters["GFlop/s"] = figures.factorFlops / 1e9 / factorSeconds;
    }
}

void Sizes(benchmark::internal::Benchmark* b) {
    for (int variant : {0, 1})
        for (int n : {10, 15, 20, 25, 30, 40, 50, 70, 100, 200, 400})
            for (int solver : {0, 1})
                b->Args({n, variant, solver});
    b->Unit(benchmark::kMillisecond)->ArgNames({"N", "variant", "sparse"});
}

} // namespace

BENCHMARK_CAPTURE(BM_Solver, assemble, kAssemble)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Solver, factorise, kFactorise)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Solver, solve_one, kSolveOne)->Apply(Sizes);

BENCHMARK_MAIN();
