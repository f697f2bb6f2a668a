// FormatNumber as the calculation line calls it: 12 fraction digits, the
// line's options with grouping on and exponential notation off. The target is
// at most 1 microsecond per call at -O2.
#include "numtext/format_number.h"

#include <benchmark/benchmark.h>

namespace {

constexpr const char* kLineOptions = "c , E=24 e=8";

// A spread of results: whole numbers, fractions, large and tiny magnitudes.
constexpr double kValues[] = {5,      1234567, 1.0 / 3,    -2.0 / 3,  65535.5, 0.1,
                              1.5e24, 5e-9,    1e15,       -123.456,  3.14159, 1e23,
                              42,     -1e-13,  987654.321, 2147483647};
constexpr int kValueCount = sizeof kValues / sizeof kValues[0];

void FormatLine(benchmark::State& state) {
    const int base = static_cast<int>(state.range(0));
    char buffer[kFormatBufferSize];
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FormatNumber(kValues[i], buffer, 12, base, kLineOptions));
        benchmark::ClobberMemory();
        i = (i + 1) % kValueCount;
    }
}
BENCHMARK(FormatLine)->Arg(10)->Arg(16);

// The slowest text of the calculation line: the largest double in base 10.
void FormatLargest(benchmark::State& state) {
    char buffer[kFormatBufferSize];
    for (auto _ : state) {
        benchmark::DoNotOptimize(FormatNumber(1.7976931348623157e308, buffer, 12,
                                              static_cast<int>(state.range(0)), "c , E=400"));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(FormatLargest)->Arg(10)->Arg(16);

} // namespace

BENCHMARK_MAIN();
