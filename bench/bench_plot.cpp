// The cost of plotting: PlotEquation of a million points against a million
// bare evaluations of the same text. The plot should add little beyond the
// evaluations (allocation, the variable table, SetData); the ratio of the two
// is printed after the results.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "expr/evaluate.h"
#include "graph/dataset.h"

namespace {

constexpr int kPoints = 1000000;
constexpr const char* kText = "sin( x )";
constexpr double kStart = 0;
constexpr double kEnd = 100;

void BM_EvaluateExpression(benchmark::State& state) {
    for (auto _ : state) {
        double table[26] = {};
        const double step = (kEnd - kStart) / kPoints;
        table[23] = kStart;
        double sum = 0;
        for (int i = 0; i < kPoints; ++i) {
            sum += EvaluateExpression(kText, table, 26, 10);
            table[23] += step;
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_EvaluateExpression)->Unit(benchmark::kMillisecond);

void BM_PlotEquation(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(PlotEquation(kText, kStart, kEnd, 0, kPoints));
        benchmark::DoNotOptimize(dataSet.values);
    }
}
BENCHMARK(BM_PlotEquation)->Unit(benchmark::kMillisecond);

// Keeps the CPU time per iteration of every run for the ratio: on a shared
// machine the wall-clock time mostly measures the other processes.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration)
                seconds[run.benchmark_name()] = run.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> seconds;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto evaluate = reporter.seconds.find("BM_EvaluateExpression");
    const auto plot = reporter.seconds.find("BM_PlotEquation");
    if (evaluate != reporter.seconds.end() && plot != reporter.seconds.end() &&
        evaluate->second > 0)
        std::printf("PlotEquation / EvaluateExpression CPU time ratio: %.3f (target at most 1.2)\n",
                    plot->second / evaluate->second);
    benchmark::Shutdown();
    return 0;
}
