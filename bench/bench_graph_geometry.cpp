// Speed of the line graph's pixel arithmetic for long data sets: the points of
// a fitted line over 1000 pixel columns, merging each column's run as they are
// computed, and of a line with one point per column.
#include "graph/graph_geometry.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

std::vector<double> Wave(int n) {
    std::vector<double> values(n);
    for (int i = 0; i < n; ++i) values[i] = std::sin(i * 0.001);
    return values;
}

void BM_LinePointsFitted(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<double> values = Wave(n);
    const PlotRect plot = {40, 8, 1040, 300};
    std::vector<PixelPoint> points(MergedLinePointCapacity(plot));
    for (auto _ : state) {
        const int m = ComputeLinePoints(plot, values.data(), n, -1, 1, -1, points.data(),
                                        static_cast<int>(points.size()), true);
        benchmark::DoNotOptimize(m);
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_LinePointsFitted)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_LinePointsOnePerColumn(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<double> values = Wave(n);
    const PlotRect plot = {40, 8, 1040, 300};
    std::vector<PixelPoint> points(LinePointCapacity(plot, n, 0));
    for (auto _ : state) {
        const int m = ComputeLinePoints(plot, values.data(), n, -1, 1, 0, points.data(),
                                        static_cast<int>(points.size()));
        benchmark::DoNotOptimize(m);
    }
}
BENCHMARK(BM_LinePointsOnePerColumn)->Arg(10000000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
