// Traffic on the N x N grillage: a tandem (LM1-TS1) driven along a lane
// across the deck in as many positions as asked, each a right-hand side of
// the one factorisation, with the extremes at every evaluation point (end to
// end: model, factorisation, wheels onto the grillage, solves, evaluation);
// and one influence surface of a mid-span moment on the factorised model.
// Arguments: N and the number of positions.

#include "Grillage.h"
#include "model/Tables.h"
#include "traffic/Lane.h"
#include "traffic/TrafficAnalysis.h"
#include "traffic/Vehicle.h"
#include "traffic/WheelDistribution.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <stdexcept>

namespace {

constexpr double kSpacing = 2.5; // GrillageOptions' default

std::vector<VehiclePosition> Positions(int n, int count) {
    Vehicle tandem;
    std::string error;
    if (!ResolveVehicle("LM1-TS1", tandem, error))
        throw std::runtime_error(error);
    const double width = n * kSpacing, y = 0.5 * width + 0.3 * kSpacing;
    const Lane lane{{{0.0, y}, {width, y}}};
    std::vector<VehiclePosition> positions;
    if (!PlaceVehicle(tandem, {lane}, (width + 1.2) / (count - 1), false, positions, error))
        throw std::runtime_error(error);
    positions.resize(std::min(positions.size(), static_cast<size_t>(count)));
    return positions;
}

void BM_TrafficPositions(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0)), count = static_cast<int>(state.range(1));
    const std::vector<VehiclePosition> positions = Positions(n, count);
    size_t bytes = 0;
    for (auto _ : state) {
        auto input = std::make_unique<InputModel>();
        BuildGrillage(*input, GrillageOptions{n, n});
        TrafficAnalysis traffic(*input);
        if (!traffic.Prepare().ok)
            throw std::runtime_error("analysis failed");
        const PositionShares shares = DistributePositions(DeckMap(*input), positions);
        const TrafficExtremes extremes = traffic.Run(shares.positions);
        bytes = extremes.Bytes();
        benchmark::DoNotOptimize(extremes.max.data());
    }
    state.counters["positions"] = static_cast<double>(positions.size());
    state.counters["extremesBytes"] = static_cast<double>(bytes);
}

void BM_InfluenceSurface(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    auto input = std::make_unique<InputModel>();
    BuildGrillage(*input, GrillageOptions{n, n});
    TrafficAnalysis traffic(*input);
    if (!traffic.Prepare().ok)
        throw std::runtime_error("analysis failed");
    InfluenceTarget target;
    std::string error;
    // A beam near the middle of the deck, at its mid-span.
    ParseInfluenceTarget("M:beam=" + std::to_string(n * (n / 2) + n / 2) + ":xi=0.5", target,
                         error);
    for (auto _ : state) {
        InfluenceSurface surface;
        if (!traffic.Influence(target, surface, error))
            throw std::runtime_error(error);
        benchmark::DoNotOptimize(surface.beamValues.data());
    }
}

} // namespace

BENCHMARK(BM_TrafficPositions)
    ->Args({20, 100})
    ->Args({50, 250})
    ->Args({100, 1000})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_InfluenceSurface)->Arg(20)->Arg(100)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
