// The scene rebuild of a graphics window on a generated N x N grillage after
// its analysis, per tab with the flags of a new window on that tab: the time
// of one rebuild into the window's list (which keeps its block from the
// rebuild before), of the first one into a new list (a tab change to a larger
// picture: the list grows), the size of its drawing list, and the SVG
// document of a 1200 x 800 window made from it. Arguments: N and the tab (0 Geometrie ...
// 4 Torsionsmoment).

#include "AnalysedGrillage.h"
#include "analysis/SolutionsCont.h"
#include "graphics/SceneRebuild.h"
#include "graphics/SvgCanvas.h"
#include "model/Tables.h"

#include <benchmark/benchmark.h>
#include <map>
#include <memory>
#include <stdexcept>

namespace {

using Analysed = AnalysedGrillage;

Analysed& Grillage(int n) {
    static std::map<int, std::unique_ptr<Analysed>> grillages;
    auto& grillage = grillages[n];
    if (!grillage)
        grillage = std::make_unique<Analysed>(n);
    return *grillage;
}

SceneOptions WindowOn(int tab) {
    SceneOptions options;
    options.tab = tab;
    options.flags = NewWindowFlags(tab);
    return options;
}

void BM_Rebuild(benchmark::State& state) {
    Analysed& grillage = Grillage(static_cast<int>(state.range(0)));
    const SceneOptions options = WindowOn(static_cast<int>(state.range(1)));
    ViewState view;
    PaintContainer list;
    for (auto _ : state) {
        RebuildScene(grillage.input, &grillage.solutions, options, view, list);
        benchmark::DoNotOptimize(list.Bytes());
    }
    state.counters["records"] = list.RecordCount();
    state.counters["list_MB"] = list.Capacity() / 1e6;
}

void BM_RebuildNewList(benchmark::State& state) {
    Analysed& grillage = Grillage(static_cast<int>(state.range(0)));
    const SceneOptions options = WindowOn(static_cast<int>(state.range(1)));
    ViewState view;
    for (auto _ : state) {
        PaintContainer list;
        RebuildScene(grillage.input, &grillage.solutions, options, view, list);
        benchmark::DoNotOptimize(list.Bytes());
    }
}

void BM_Svg(benchmark::State& state) {
    Analysed& grillage = Grillage(static_cast<int>(state.range(0)));
    const SceneOptions options = WindowOn(static_cast<int>(state.range(1)));
    ViewState view;
    PaintContainer list;
    RebuildScene(grillage.input, &grillage.solutions, options, view, list);
    size_t bytes = 0;
    for (auto _ : state) {
        const std::string svg = RenderSvg(list, view.Window(), {0, 0, 1200, 800});
        bytes = svg.size();
        benchmark::DoNotOptimize(svg.data());
    }
    state.counters["svg_MB"] = static_cast<double>(bytes) / 1e6;
}

void Cases(benchmark::internal::Benchmark* b) {
    for (int tab = 0; tab < kSceneTabCount; ++tab)
        b->Args({100, tab});
    b->Args({50, kTabBiegemoment})->Args({200, kTabBiegemoment});
    // Long enough that the list's first growth is a small share.
    b->ArgNames({"N", "tab"})->Unit(benchmark::kMillisecond)->MinTime(2)->Repetitions(3);
    b->ReportAggregatesOnly(true);
}

BENCHMARK(BM_Rebuild)->Apply(Cases);
BENCHMARK(BM_RebuildNewList)
    ->Args({100, kTabBiegemoment})
    ->ArgNames({"N", "tab"})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_Svg)
    ->Args({100, kTabBiegemoment})
    ->ArgNames({"N", "tab"})
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
