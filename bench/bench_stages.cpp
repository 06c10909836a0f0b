// The stages of one analysis of a generated grillage, each timed alone:
// build the model, eliminate the constraints, number the equations (stage 3),
// set up the profile (heights, zeroed storage), assemble stiffness and loads,
// solve (factorisation and substitution), evaluate, write the results
// protocol. Arguments: N (an N x N grid) and the variant (0 plain,
// 1 point loads at mid-span and a bending hinge in every 10th beam, 2 one
// load record per beam, a hinge in every 50th beam and skewed supports).

#include "Grillage.h"
#include "analysis/KMatrix.h"
#include "analysis/SolutionsCont.h"
#include "model/Tables.h"
#include "protocols/Protocols.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <memory>
#include <stdexcept>

namespace {

enum Stage { kBuild, kEliminate, kNumber, kProfile, kAssemble, kSolve, kEvaluate, kProtocol };

GrillageOptions Variant(int n, int variant) {
    GrillageOptions o;
    o.n = n;
    o.m = n;
    if (variant == 1) {
        o.pointLoads = true;
        o.hingeEvery = 10;
    } else if (variant == 2) {
        o.perBeamLoads = true;
        o.hingeEvery = 50;
        o.skew = 30.0;
    }
    return o;
}

// One analysis, stage by stage, as SolutionsCont::Calculate runs it.
struct Run {
    explicit Run(const GrillageOptions& options) : solutions(input) {
        BuildGrillage(input, options);
    }

    void Do(Stage stage) {
        switch (stage) {
        case kBuild:
            solutions.Clear();
            solutions.BuildModel();
            solutions.AddLoadCaseRows();
            break;
        case kEliminate:
            if (solutions.NumberDofs() != kEliminationOk)
                throw std::runtime_error("contradiction");
            break;
        case kNumber:
            solutions.OptimizeEquations();
            break;
        case kProfile:
            Profile();
            break;
        case kAssemble:
            Assemble();
            break;
        case kSolve:
            if (K.Solve(F) != kSolveSolved)
                throw std::runtime_error("singular");
            break;
        case kEvaluate:
            solutions.StoreDisplacements(F);
            solutions.Evaluate();
            solutions.resultsValid = 1;
            break;
        case kProtocol:
            WriteProtocol();
            break;
        }
    }

    // The column heights and the zeroed storage of the profile. The storage
    // is touched here, so that the system's zero-filling of its pages on
    // first use (proportional to the profile, like the factorisation) is not
    // counted in the assembly.
    void Profile() {
        const int n = solutions.dofs.freeCount;
        K.Create(n);
        F.Allocate(n, 1);
        solutions.ProfileHeights(K);
        K.FinishProfile();
        std::memset(K.values, 0, sizeof(double) * static_cast<size_t>(K.EntryCount()));
    }

    void Assemble() {
        solutions.AssembleStiffness(K, F);
        for (int d = 0; d < solutions.dofs.Count(); ++d)
            solutions.dofs.Dof(d).nodeForce = 0.0;
        solutions.AssembleLoads(F);
    }

    void WriteProtocol() {
        std::FILE* file = std::fopen("/dev/null", "w");
        ProtocolContext context;
        context.clock = [] { return std::tm{}; };
        context.timeLocale = "C";
        WriteResultsProtocol(input, solutions, file, context);
        std::fclose(file);
    }

    InputModel input;
    SolutionsCont solutions;
    KMatrix K;
    Matrix F;
};

void BM_Stage(benchmark::State& state, Stage timed) {
    const GrillageOptions options =
        Variant(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    std::unique_ptr<Run> run;
    for (auto _ : state) {
        state.PauseTiming();
        run.reset(); // not timed: freeing the previous run
        run = std::make_unique<Run>(options);
        for (int stage = kBuild; stage <= kProtocol; ++stage) {
            if (stage == timed)
                state.ResumeTiming();
            run->Do(static_cast<Stage>(stage));
            if (stage == timed)
                state.PauseTiming();
        }
        state.ResumeTiming();
    }
    state.counters["beams"] = run->input.beams.Count();
    state.counters["elements"] = run->solutions.elements.Count();
    state.counters["equations"] = run->solutions.dofs.freeCount;
    state.counters["profileMB"] = run->K.MemoryBytes() / 1e6;
    state.counters["bandwidth"] = run->K.bandwidth;
}

void Sizes(benchmark::internal::Benchmark* b) {
    for (int variant : {0, 1, 2})
        for (int n : {50, 100, 200})
            b->Args({n, variant});
    b->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true);
    b->ArgNames({"N", "variant"});
}

BENCHMARK_CAPTURE(BM_Stage, build, kBuild)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Stage, eliminate, kEliminate)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Stage, number, kNumber)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Stage, profile, kProfile)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Stage, assemble, kAssemble)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Stage, solve, kSolve)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Stage, evaluate, kEvaluate)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Stage, protocol, kProtocol)->Apply(Sizes);

} // namespace

BENCHMARK_MAIN();
