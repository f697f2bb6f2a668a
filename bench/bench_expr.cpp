// Speed of EvaluateExpression: the menu's sample equations as the plotter
// evaluates them (26 variables), and the slowest texts of 1535 characters we
// know of.
#include "expr/evaluate.h"
#include "expr/random.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr size_t kLineChars = 1535;

struct PlotTable {
    double values[26] = {};
    PlotTable(double x, double y) {
        values[23] = x;
        values[24] = y;
    }
};

void EvaluateSample(benchmark::State& state, const char* text) {
    PlotTable table(1.2345, 0.75);
    SeedRandom(1);
    for (auto _ : state) {
        double value = EvaluateExpression(text, table.values, 26, 10);
        benchmark::DoNotOptimize(value);
        table.values[23] += 1e-6; // the next abscissa
    }
}

// piece repeated as often as it fits into one calculation line, then tail.
std::string FillLine(const std::string& piece, const std::string& tail = "0") {
    std::string text;
    while (text.size() + piece.size() + tail.size() <= kLineChars) text += piece;
    return text + tail;
}

void EvaluateWorstCase(benchmark::State& state, const std::string& text, double x, double y) {
    PlotTable table(x, y);
    SeedRandom(1);
    for (auto _ : state) {
        double value = EvaluateExpression(text.c_str(), table.values, 26, 10);
        benchmark::DoNotOptimize(value);
    }
    state.SetLabel(std::to_string(text.size()) + " chars");
}

std::string NestedFunctions() {
    std::string text;
    for (int i = 0; i < kMaxNestingDepth - 1; ++i) text += "sqrt(";
    return FillLine("x+", text + "x"); // a long sum at the deepest level
}

std::string LongLiterals() {
    // Every start in the long text matches the short one up to its last byte.
    const size_t shortChars = (kLineChars - 6) / 3;
    const size_t longChars = kLineChars - 6 - shortChars;
    return "\"" + std::string(longChars, 'a') + "\"<>\"" + std::string(shortChars - 1, 'a') + "b\"";
}

} // namespace

BENCHMARK_CAPTURE(EvaluateSample, sin, "sin( x )");
BENCHMARK_CAPTURE(EvaluateSample, abs, "abs( x )");
BENCHMARK_CAPTURE(EvaluateSample, square, "x^2");
BENCHMARK_CAPTURE(EvaluateSample, cube, "x^3");
BENCHMARK_CAPTURE(EvaluateSample, inverse, "1 / x");
BENCHMARK_CAPTURE(EvaluateSample, log, "log( x )");
BENCHMARK_CAPTURE(EvaluateSample, random_walk, "y * rand(0.99,1.01,0.0001)");

BENCHMARK_CAPTURE(EvaluateWorstCase, rand_counts, FillLine("rand(0,1,1,0,99999)+"), 0, 0);
BENCHMARK_CAPTURE(EvaluateWorstCase, gcd_fractions, FillLine("gcd(x,y)+"), 99999.5, 99998.5);
BENCHMARK_CAPTURE(EvaluateWorstCase, lcm_fractions, FillLine("lcm(x,y)+"), 0.1, 0.3);
BENCHMARK_CAPTURE(EvaluateWorstCase, gcd_far_fractions, FillLine("gcd(x,y)+"), 1e15 + 0.5, 4097.5);
BENCHMARK_CAPTURE(EvaluateWorstCase, gcd_huge_and_fraction, FillLine("gcd(x,y)+"), 1e300, 4097.5);
BENCHMARK_CAPTURE(EvaluateWorstCase, lcm_huge_and_fraction, FillLine("lcm(x,y)+"), 1e300, 0.3);
BENCHMARK_CAPTURE(EvaluateWorstCase, gcd_huge_whole, FillLine("gcd(x,y)+"), 1e300, 3);
BENCHMARK_CAPTURE(EvaluateWorstCase, fact, FillLine("fact 9999+"), 0, 0);
BENCHMARK_CAPTURE(EvaluateWorstCase, nested_functions, NestedFunctions(), 2, 0);
BENCHMARK_CAPTURE(EvaluateWorstCase, long_literals, LongLiterals(), 0, 0);
BENCHMARK_CAPTURE(EvaluateWorstCase, pow_chain, FillLine("x^y^"), 1.0001, 1.0001);
BENCHMARK_CAPTURE(EvaluateWorstCase, too_deep, std::string(kLineChars, '('), 0, 0);

BENCHMARK_MAIN();
