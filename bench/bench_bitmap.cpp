// Palette reduction of a graph-sized capture: 1,500 x 400 pixels at 24 bits
// with three colours (black back, white grid, green curve). The *Scaling
// cases vary the width (400 rows) and report the complexity in the pixel
// count, which should come out linear.
#include "bitmap/tbitmap.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kWidth = 1500;
constexpr int kHeight = 400;

void FillGraph(TBitmap& bitmap) {
    int width, height, depth, rowBytes;
    bitmap.GetInfo(&width, &height, &depth, &rowBytes);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint32_t c = 0x000000;
            if (x % 50 == 25 || y % 50 == 25) c = 0xFFFFFF;
            if (y == (x * 7 / 3) % height) c = 0x00FF00;
            bitmap.SetPixelRaw(x, y, c, width, height, depth, rowBytes);
        }
    }
}

void BM_CountColors(benchmark::State& state) {
    TBitmap bitmap(kWidth, kHeight, 24);
    FillGraph(bitmap);
    for (auto _ : state) benchmark::DoNotOptimize(bitmap.CountColors());
}
BENCHMARK(BM_CountColors)->Unit(benchmark::kMillisecond);

void BM_BuildPalette(benchmark::State& state) {
    TBitmap bitmap(kWidth, kHeight, 24);
    FillGraph(bitmap);
    uint32_t table[16];
    for (auto _ : state) benchmark::DoNotOptimize(bitmap.BuildPalette(table, 16, 0x82, nullptr));
}
BENCHMARK(BM_BuildPalette)->Unit(benchmark::kMillisecond);

void BM_ConvertTo4(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        TBitmap bitmap(kWidth, kHeight, 24);
        FillGraph(bitmap);
        state.ResumeTiming();
        benchmark::DoNotOptimize(bitmap.ConvertTo(4));
    }
}
BENCHMARK(BM_ConvertTo4)->Unit(benchmark::kMillisecond);

// The same work over exports of growing width.
void BM_CountColorsScaling(benchmark::State& state) {
    TBitmap bitmap(static_cast<int>(state.range(0)), kHeight, 24);
    FillGraph(bitmap);
    for (auto _ : state) benchmark::DoNotOptimize(bitmap.CountColors());
    state.SetComplexityN(state.range(0) * kHeight);
}
BENCHMARK(BM_CountColorsScaling)
    ->RangeMultiplier(4)
    ->Range(1500, 96000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_ConvertTo4Scaling(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        TBitmap bitmap(width, kHeight, 24);
        FillGraph(bitmap);
        state.ResumeTiming();
        benchmark::DoNotOptimize(bitmap.ConvertTo(4));
    }
    state.SetComplexityN(state.range(0) * kHeight);
}
BENCHMARK(BM_ConvertTo4Scaling)
    ->RangeMultiplier(4)
    ->Range(1500, 96000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace

BENCHMARK_MAIN();
