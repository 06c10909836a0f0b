// Several load cases on the N x N grillage: one load case against many on
// one analysis model (one factorisation, many right-hand sides, each load
// case evaluated; no protocol written), and an envelope over many members at
// every evaluation point. Arguments: N and the number of load cases.
// The counter "resultBytes" is the memory of the kept results.

#include "Grillage.h"
#include "model/Tables.h"
#include "project/ProjectAnalysis.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <stdexcept>

namespace {

// Load case 0: the grillage's uniform load; load case k > 0: a node load on
// the k-th interior node along the diagonal band, so that every load case
// is different but the beams are divided the same.
std::unique_ptr<InputModel> LoadCase(InputModel& grillage, int n, int k) {
    auto tables = std::make_unique<InputModel>();
    if (k == 0) {
        tables->CopyLoadCaseFrom(grillage);
        return tables;
    }
    const int columns = n + 1;
    const int i = 1 + k % (n - 1), j = 1 + (k * 7) % (n - 1);
    *tables->nodeLoads.RowRecord(0) =
        NodeLoadRec{kFlagFile, 0, j * columns + i + 1, j * columns + i + 1, 100.0, 0.0, 0.0};
    return tables;
}

// The system of the N x N grillage in input, and a project of count load cases.
std::unique_ptr<ProjectAnalysis> MakeProject(InputModel& input, int n, int count,
                                             ProjectModel model) {
    BuildGrillage(input, GrillageOptions{n, n});
    std::vector<std::unique_ptr<InputModel>> cases;
    for (int k = 0; k < count; ++k) {
        cases.push_back(LoadCase(input, n, k));
        model.loadCases.push_back({"LF" + std::to_string(k + 1), ""});
    }
    input.ResetLoadCase();
    return std::make_unique<ProjectAnalysis>(model, input, std::move(cases));
}

void BM_AnalyseLoadCases(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0)), count = static_cast<int>(state.range(1));
    auto input = std::make_unique<InputModel>();
    auto project = MakeProject(*input, n, count, {});
    for (auto _ : state)
        if (!project->Calculate().ok)
            throw std::runtime_error("analysis failed");
    state.counters["resultBytes"] = static_cast<double>(project->ResultBytes());
    state.counters["factorisations"] =
        static_cast<double>(project->Solutions().counters.factorisations);
}

// The envelope of count members: the first load case with 1.35/1.0, the
// others half as single members, half as one exclusive group (1.5/0).
ProjectModel EnvelopeModel(int count) {
    Envelope envelope{"U", {{{{false, 0}}, false, 1.35, 1.0}}};
    EnvelopeTerm group{{}, true, 1.5, 0.0};
    for (int k = 1; k < count; ++k) {
        if (k % 2)
            envelope.terms.push_back({{{false, k}}, false, 1.5, 0.0});
        else
            group.members.push_back({false, k});
    }
    envelope.terms.push_back(group);
    ProjectModel model;
    model.envelopes.push_back(envelope);
    return model;
}

// The members' values at the evaluation points are taken once; every
// iteration then forms the envelope.
void BM_Envelope(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0)), count = static_cast<int>(state.range(1));
    auto input = std::make_unique<InputModel>();
    auto project = MakeProject(*input, n, count, EnvelopeModel(count));
    if (!project->Calculate().ok)
        throw std::runtime_error("analysis failed");
    project->EvaluateEnvelope(0);
    for (auto _ : state)
        benchmark::DoNotOptimize(project->EvaluateEnvelope(0));
    state.counters["resultBytes"] = static_cast<double>(project->ResultBytes());
}

// The first envelope of a run: the members' values taken at every
// evaluation point, then the envelope.
void BM_FirstEnvelope(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0)), count = static_cast<int>(state.range(1));
    auto input = std::make_unique<InputModel>();
    auto project = MakeProject(*input, n, count, EnvelopeModel(count));
    for (auto _ : state) {
        state.PauseTiming();
        if (!project->Calculate().ok)
            throw std::runtime_error("analysis failed");
        state.ResumeTiming();
        benchmark::DoNotOptimize(project->EvaluateEnvelope(0));
    }
}

} // namespace

BENCHMARK(BM_AnalyseLoadCases)
    ->Args({100, 1})
    ->Args({100, 10})
    ->Args({100, 100})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_Envelope)->Args({100, 100})->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FirstEnvelope)->Args({100, 100})->Unit(benchmark::kMillisecond)->Iterations(2);

BENCHMARK_MAIN();
