// Factorisation and solution of a banded symmetric positive definite system
// in profile storage, the size of a large grillage.

#include "analysis/KMatrix.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstring>
#include <vector>

namespace {

// Column heights min(c + 1, band); off-diagonal entries of varying sign and a
// dominant diagonal keep the system positive definite.
void BuildBandedSystem(KMatrix& K, int n, int band) {
    K.Create(n);
    for (int c = 0; c < n; ++c)
        K.RaiseHeight(c, std::min(c + 1, band));
    K.FinishProfile();
    for (int c = 0; c < n; ++c) {
        for (int m = 1; m < K.Height(c); ++m)
            K.Entry(c - m, c) = ((c * 7 + m * 13) % 11 - 5) * 0.01;
        K.Entry(c, c) = 4.0 * band;
    }
}

void FillLoad(Vektor& F, int n) {
    for (int r = 0; r < n; ++r)
        F[r] = 1.0 + (r % 5);
}

// Arguments: equations, band, threads of the factorisation (0: automatic).
void BM_FactorAndSolve(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const int band = static_cast<int>(state.range(1));
    const int threads = static_cast<int>(state.range(2));
    KMatrix K;
    BuildBandedSystem(K, n, band);
    const std::vector<double> assembled(K.values, K.values + K.EntryCount());
    Vektor F(n);
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(K.values, assembled.data(), sizeof(double) * assembled.size());
        FillLoad(F, n);
        state.ResumeTiming();
        K.ScaleSystem(F);
        int code = K.DecomposeLDL(threads);
        if (code == kSolveSolved)
            K.Substitute(F, 1.0);
        if (code != kSolveSolved)
            state.SkipWithError("system not solved");
        benchmark::DoNotOptimize(F.data);
    }
    state.counters["equations"] = n;
    state.counters["bandwidth"] = K.bandwidth;
    state.counters["MB"] = K.MemoryBytes() / 1e6;
}

BENCHMARK(BM_FactorAndSolve)
    ->ArgsProduct({{30000}, {300}, {1, 2, 0}})
    ->ArgNames({"n", "band", "threads"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_FactorAndSolve)
    ->ArgsProduct({{10000}, {100}, {1, 2}})
    ->ArgNames({"n", "band", "threads"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_Substitute(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const int band = static_cast<int>(state.range(1));
    KMatrix K;
    BuildBandedSystem(K, n, band);
    Vektor F(n);
    FillLoad(F, n);
    K.ScaleSystem(F);
    if (K.DecomposeLDL() != kSolveSolved) {
        state.SkipWithError("system not decomposed");
        return;
    }
    for (auto _ : state) {
        FillLoad(F, n);
        K.Substitute(F, 1.0);
        benchmark::DoNotOptimize(F.data);
    }
}

BENCHMARK(BM_Substitute)->Args({30000, 300})->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
