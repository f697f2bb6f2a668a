// Plotting against the fastest expression libraries: for each of the menu's
// sample equations, PlotEquation of a million points against muparser's
// evaluation of the same formula over the same points (x stepping as the plot
// steps it, y the previous value), and, for reference, the same points
// through EvaluateExpression, which reads the text again for every point.
// Then the DATA transform of ten million values, compiled once against
// today's reading of the text with each value written into it.
// A table of nanoseconds per point and the ratios follows the results.
#include <benchmark/benchmark.h>
#include <muParser.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "expr/evaluate.h"
#include "expr/random.h"
#include "graph/dataset.h"
#include "text/growable_text.h"
#include "window/calc_line.h"

namespace {

constexpr int kPoints = 1000000;

struct Sample {
    const char* name;
    const char* text;     // as the plot reads it
    const char* muparser; // the same formula for muparser
    double start, end;    // the range, {start,end,0,kPoints}
};

// muparser's log is the natural one; its log10 is ours.
const Sample kSamples[] = {
    {"sin", "sin( x )", "sin( x )", -10, 10},
    {"abs", "abs( x )", "abs( x )", -10, 10},
    {"square", "x^2", "x^2", -10, 10},
    {"cube", "x^3", "x^3", -10, 10},
    {"inverse", "1 / x", "1 / x", -10, 10},
    {"log", "log( x )", "log10( x )", -10, 10},
    {"random_walk", "y * rand(0.99,1.01,0.0001)", "y * rand(0.99,1.01,0.0001)", 100, 10},
};

// rand(low, high, step) as the expression language draws it: a multiple of
// step from low to high, through the same generator.
double MuparserRandom(double low, double high, double step) {
    const double a = low / step, b = high / step;
    const double bottom = a < b ? a : b;
    const double span = std::fabs(b - a) + 1;
    return (std::fmod(DrawRandom(), span) + bottom) * step;
}

void BM_PlotEquation(benchmark::State& state, const Sample& sample) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(PlotEquation(sample.text, sample.start, sample.end, 0, kPoints));
        benchmark::DoNotOptimize(dataSet.values);
    }
}

void BM_Muparser(benchmark::State& state, const Sample& sample) {
    double x = 0, y = 0;
    mu::Parser parser;
    parser.DefineVar("x", &x);
    parser.DefineVar("y", &y);
    parser.DefineFun("rand", MuparserRandom, false);
    parser.SetExpr(sample.muparser);
    std::vector<double> values(kPoints);
    const double step = std::fabs(sample.end - sample.start) / kPoints;
    for (auto _ : state) {
        SeedRandom(1);
        x = y = sample.start;
        for (int i = 0; i < kPoints; ++i) {
            values[i] = parser.Eval();
            x += step;
            y = values[i];
        }
        benchmark::DoNotOptimize(values.data());
    }
}

void BM_EvaluateExpression(benchmark::State& state, const Sample& sample) {
    std::vector<double> values(kPoints);
    const double step = std::fabs(sample.end - sample.start) / kPoints;
    for (auto _ : state) {
        SeedRandom(1);
        double table[26] = {};
        table[23] = table[24] = sample.start;
        for (int i = 0; i < kPoints; ++i) {
            values[i] = EvaluateExpression(sample.text, table, 26, 10);
            table[23] += step;
            table[24] = values[i];
        }
        benchmark::DoNotOptimize(values.data());
    }
}

constexpr int kDataValues = 10000000;
constexpr const char* kDataText = "DATA*2+1"; // the working copy of data*2+1

double EvaluateWithoutVariables(const char* text, int base) {
    return EvaluateExpression(text, nullptr, 0, base);
}

void BM_Data(benchmark::State& state, bool compiled) {
    std::vector<double> values(kDataValues);
    const GrowableText working(kDataText);
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < kDataValues; ++i) values[i] = i * 0.001 - 5000;
        state.ResumeTiming();
        if (compiled)
            TransformDataValuesCompiled(working, values.data(), kDataValues,
                                        EvaluateWithoutVariables, 10);
        else
            TransformDataValues(working, values.data(), kDataValues, EvaluateWithoutVariables, 10);
        benchmark::DoNotOptimize(values.data());
    }
}

// Keeps the CPU time per iteration of every run for the table: on a shared
// machine the wall-clock time mostly measures the other processes. With
// repetitions, the median of each.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Iteration || median)
                seconds[run.run_name.function_name] =
                    run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> seconds;
};

double NanosecondsPerPoint(const RatioReporter& reporter, const std::string& name) {
    const auto found = reporter.seconds.find(name);
    return found == reporter.seconds.end() ? NAN : found->second * 1e9 / kPoints;
}

void PrintPlotTable(const RatioReporter& reporter) {
    std::printf("\n%-28s %14s %14s %8s %18s\n", "ns per point", "PlotEquation", "muparser", "ratio",
                "EvaluateExpression");
    for (const Sample& s : kSamples) {
        const double plot = NanosecondsPerPoint(reporter, std::string("BM_PlotEquation/") + s.name);
        const double mu = NanosecondsPerPoint(reporter, std::string("BM_Muparser/") + s.name);
        const double read =
            NanosecondsPerPoint(reporter, std::string("BM_EvaluateExpression/") + s.name);
        std::printf("%-28s %14.1f %14.1f %8.2f %18.1f\n", s.text, plot, mu, plot / mu, read);
    }
}

void PrintDataLine(const RatioReporter& reporter) {
    const auto compiled = reporter.seconds.find("BM_Data/compiled");
    const auto byText = reporter.seconds.find("BM_Data/text");
    if (compiled == reporter.seconds.end() || byText == reporter.seconds.end()) return;
    std::printf("\nDATA %s over %d values: %.1f ns per value compiled, %.1f through the text: "
                "%.1f times faster\n",
                kDataText, kDataValues, compiled->second * 1e9 / kDataValues,
                byText->second * 1e9 / kDataValues, byText->second / compiled->second);
}

} // namespace

int main(int argc, char** argv) {
    for (const Sample& s : kSamples) {
        benchmark::RegisterBenchmark((std::string("BM_PlotEquation/") + s.name).c_str(),
                                     BM_PlotEquation, s)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("BM_Muparser/") + s.name).c_str(), BM_Muparser, s)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("BM_EvaluateExpression/") + s.name).c_str(),
                                     BM_EvaluateExpression, s)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("BM_Data/compiled", BM_Data, true)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
    benchmark::RegisterBenchmark("BM_Data/text", BM_Data, false)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintPlotTable(reporter);
    PrintDataLine(reporter);
    benchmark::Shutdown();
    return 0;
}
