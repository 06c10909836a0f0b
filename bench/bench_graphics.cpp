// Recording into the drawing list and replaying it: a million line records
// recorded, the same million replayed onto the recording canvas, and the SVG
// document of 100,000 segments.

#include "graphics/PaintContainer.h"
#include "graphics/RecordingCanvas.h"
#include "graphics/Render.h"
#include "graphics/SvgCanvas.h"

#include <benchmark/benchmark.h>

namespace {

// Line i of a scene of n lines: short segments spread over a 1000 × 800 area,
// with a pen change every 100 lines as a scene sets the pen per element.
void RecordScene(PaintContainer& list, int n) {
    for (int i = 0; i < n; ++i) {
        if (i % 100 == 0)
            list.SetPen((i / 100) % 7 * 0x202020, 0.5 + (i / 100) % 3);
        const double x = (i * 37) % 1000;
        const double y = (i * 53) % 800;
        list.AddLine({x, y}, {x + 3.5, y + 2.25});
    }
}

void BM_RecordLines(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        PaintContainer list;
        RecordScene(list, n);
        benchmark::DoNotOptimize(list.Bytes());
    }
    state.SetItemsProcessed(state.iterations() * n);
}

// Replay onto a fresh recording canvas (its storage grows during the replay),
// and onto one that keeps its storage from the previous paint, as a window's
// canvas is painted again and again.
void BM_ReplayLines(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const bool reuse = state.range(1) != 0;
    PaintContainer list;
    RecordScene(list, n);
    const auto mapping = FitMapping(list.BoundingBox(), {0, 0, 1200, 900}, 1.0);
    RecordingCanvas kept;
    for (auto _ : state) {
        RecordingCanvas fresh;
        RecordingCanvas& canvas = reuse ? kept : fresh;
        canvas.Clear();
        Render(list, canvas, *mapping);
        benchmark::DoNotOptimize(canvas.Calls().data());
    }
    state.SetItemsProcessed(state.iterations() * n);
}

void BM_SvgSegments(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    PaintContainer list;
    RecordScene(list, n);
    const DeviceRect device{0, 0, 1200, 900};
    size_t bytes = 0;
    for (auto _ : state) {
        const std::string svg = RenderSvg(list, list.BoundingBox(), device);
        bytes = svg.size();
        benchmark::DoNotOptimize(svg.data());
    }
    state.counters["svg_MB"] = static_cast<double>(bytes) / 1e6;
    state.SetItemsProcessed(state.iterations() * n);
}

BENCHMARK(BM_RecordLines)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplayLines)
    ->ArgNames({"lines", "reuse"})
    ->Args({1000000, 0})
    ->Args({1000000, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SvgSegments)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
