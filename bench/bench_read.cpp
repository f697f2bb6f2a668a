// Reading data files against the plainest way of getting the same numbers in
// the same run: for binary files one read of the whole file into memory, for
// text one read of the whole file and std::from_chars on every number. The
// files (100 MB each) are made in the temporary folder on the first run and
// kept. At the end the ratio of each reader to its baseline is printed.
#include "datafiles/data_file.h"
#include "datafiles/file_types.h"
#include "expr/evaluate.h"
#include "graph/dataset.h"
#include "graph/graph_scale.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr size_t kFileSize = 100000000;

std::string BenchPath(const char* name) {
    return std::string("/tmp/tamsolo_bench_") + name;
}

bool HasSize(const std::string& path, size_t atLeast) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && static_cast<size_t>(info.st_size) >= atLeast;
}

// Random bytes: every binary type reads the same file.
std::string BinaryFile() {
    const std::string path = BenchPath("binary.bin");
    if (HasSize(path, kFileSize)) return path;
    std::mt19937_64 random(1);
    std::string bytes(kFileSize, '\0');
    for (size_t i = 0; i + 8 <= kFileSize; i += 8) {
        uint64_t bits = random();
        // Keep the doubles finite and ordinary, as measured data would be.
        if (i % 8 == 0) bits &= ~(uint64_t{0x40} << 56);
        std::memcpy(&bytes[i], &bits, 8);
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    return path;
}

// Lines of perLine numbers as the writer makes them ("%.6f"), blank separated.
std::string TextFile(int perLine) {
    const std::string path = BenchPath(perLine == 1 ? "one.txt" : "three.txt");
    if (HasSize(path, kFileSize)) return path;
    std::mt19937_64 random(perLine);
    std::uniform_real_distribution<double> value(-100000, 100000);
    FILE* file = std::fopen(path.c_str(), "wb");
    size_t written = 0;
    while (written < kFileSize) {
        char line[128];
        int length = 0;
        for (int i = 0; i < perLine; ++i)
            length += std::snprintf(line + length, sizeof line - length, i ? " %.6f" : "%.6f",
                                    value(random));
        length += std::snprintf(line + length, sizeof line - length, "\r\n");
        std::fwrite(line, 1, length, file);
        written += length;
    }
    std::fclose(file);
    return path;
}

// The whole file in one read into fresh memory.
char* ReadWhole(const std::string& path, size_t& size) {
    const int fd = open(path.c_str(), O_RDONLY);
    struct stat info;
    fstat(fd, &info);
    size = static_cast<size_t>(info.st_size);
    char* bytes = static_cast<char*>(std::malloc(size));
    size_t got = 0;
    while (got < size) {
        const ssize_t n = read(fd, bytes + got, size - got);
        if (n <= 0) break;
        got += static_cast<size_t>(n);
    }
    close(fd);
    return bytes;
}

void BM_BinaryBaseline(benchmark::State& state) {
    const std::string path = BinaryFile();
    for (auto _ : state) {
        size_t size;
        char* bytes = ReadWhole(path, size);
        benchmark::DoNotOptimize(bytes);
        std::free(bytes);
    }
}

void BM_ReadBinary(benchmark::State& state, uint32_t code) {
    const std::string path = BinaryFile();
    for (auto _ : state) benchmark::DoNotOptimize(ReadDataFile(path.c_str(), code, nullptr));
    InstallDataSet(nullptr, 0);
}

// What any reader of the binary file into the data set must at least do: the
// one read, fresh storage for the doubles (8, 4 or 1 bytes of it per byte of
// the file), a conversion of each element, and the graph scale's pass.
void BM_BinaryFloor(benchmark::State& state, int width) {
    const std::string path = BinaryFile();
    for (auto _ : state) {
        size_t size;
        char* bytes = ReadWhole(path, size);
        const size_t count = size / width;
        double* values = AllocateDataValues(count);
        const unsigned char* b = reinterpret_cast<const unsigned char*>(bytes);
        if (width == 1)
            for (size_t i = 0; i < count; ++i) values[i] = b[i];
        else if (width == 2)
            for (size_t i = 0; i < count; ++i) values[i] = int16_t(b[2 * i] | b[2 * i + 1] << 8);
        else
            std::memcpy(values, bytes, count * 8);
        graphScale.SetData(values, static_cast<int>(count), 8);
        benchmark::DoNotOptimize(values);
        FreeDataValues(values);
        std::free(bytes);
    }
}

// Only fresh storage for the doubles and one write to each of them, with no
// file at all: the part of the floor that no way of reading can avoid.
void BM_FreshStorage(benchmark::State& state, int width) {
    const size_t count = kFileSize / static_cast<size_t>(width);
    for (auto _ : state) {
        double* values = AllocateDataValues(count);
        std::fill(values, values + count, 0.0);
        benchmark::DoNotOptimize(values);
        FreeDataValues(values);
    }
}

void BM_TextBaseline(benchmark::State& state, int perLine) {
    const std::string path = TextFile(perLine);
    size_t numbers = 0;
    for (auto _ : state) {
        size_t size;
        char* bytes = ReadWhole(path, size);
        double* values = static_cast<double*>(std::malloc((size / 2 + 4) * sizeof(double)));
        const char* p = bytes;
        const char* end = bytes + size;
        size_t n = 0;
        while (p < end) {
            const char c = *p;
            if ((c >= '0' && c <= '9') || c == '-' || c == '.') {
                const std::from_chars_result result = std::from_chars(p, end, values[n]);
                if (result.ec == std::errc()) {
                    ++n;
                    p = result.ptr;
                    continue;
                }
            }
            ++p;
        }
        numbers = n;
        benchmark::DoNotOptimize(values);
        std::free(values);
        std::free(bytes);
    }
    state.counters["numbers"] = static_cast<double>(numbers);
}

void BM_ReadText(benchmark::State& state, int perLine, uint32_t code, const char* equation) {
    const std::string path = TextFile(perLine);
    int count = 0;
    for (auto _ : state) count = ReadDataFile(path.c_str(), code, equation);
    state.counters["values"] = count;
    InstallDataSet(nullptr, 0);
}

// The evaluations alone that a column equation costs on the three-per-line file.
void BM_EquationOnly(benchmark::State& state) {
    const std::string path = TextFile(3);
    const int lines = ReadDataFile(path.c_str(), kTypeText | ColumnEquationFlag, "a+b+c");
    InstallDataSet(nullptr, 0);
    const double numbers[3] = {-12345.678901, 23456.789012, 34567.890123};
    for (auto _ : state)
        for (int i = 0; i < lines; ++i)
            benchmark::DoNotOptimize(EvaluateExpression("a+b+c", numbers, 3, 10));
    state.counters["lines"] = lines;
}

// Prints, after the usual table, each reader's time over its baseline's.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        // With --benchmark_repetitions the median, which is reported after
        // the single runs, is the figure kept; the other aggregates are not.
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
            std::string name = run.run_name.str();
            const size_t suffix = name.find("/real_time");
            if (suffix != std::string::npos) name.erase(suffix);
            seconds[name] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\nTime over baseline (binary target <= 2.0; text: throughput >= 0.8x, "
                    "that is time <= 1.25):\n");
        for (const auto& [name, time] : seconds) {
            const std::string baseline = BaselineOf(name);
            if (baseline.empty() || !seconds.count(baseline)) continue;
            std::printf("  %-40s %.2f\n", name.c_str(), time / seconds[baseline]);
        }
    }

  private:
    static std::string BaselineOf(const std::string& name) {
        if (name.rfind("BM_ReadBinary", 0) == 0 || name.rfind("BM_BinaryFloor", 0) == 0 ||
            name.rfind("BM_FreshStorage", 0) == 0)
            return "BM_BinaryBaseline";
        if (name.rfind("BM_ReadText/One", 0) == 0) return "BM_TextBaseline/One";
        if (name.rfind("BM_ReadText/Three", 0) == 0) return "BM_TextBaseline/Three";
        return "";
    }
    std::map<std::string, double> seconds;
};

} // namespace

template <typename... Args>
void Register(const char* name, Args... args) {
    benchmark::RegisterBenchmark(name, args...)->Unit(benchmark::kMillisecond)->UseRealTime();
}

int main(int argc, char** argv) {
    Register("BM_BinaryBaseline", BM_BinaryBaseline);
    Register("BM_ReadBinary/Bytes", BM_ReadBinary, kTypeUnsignedBytes);
    Register("BM_ReadBinary/Shorts", BM_ReadBinary, kTypeSignedShorts);
    Register("BM_ReadBinary/Doubles", BM_ReadBinary, kTypeDoubles);
    Register("BM_BinaryFloor/Bytes", BM_BinaryFloor, 1);
    Register("BM_BinaryFloor/Shorts", BM_BinaryFloor, 2);
    Register("BM_BinaryFloor/Doubles", BM_BinaryFloor, 8);
    Register("BM_FreshStorage/Bytes", BM_FreshStorage, 1);
    Register("BM_FreshStorage/Shorts", BM_FreshStorage, 2);
    Register("BM_FreshStorage/Doubles", BM_FreshStorage, 8);
    Register("BM_TextBaseline/One", BM_TextBaseline, 1);
    Register("BM_ReadText/One", BM_ReadText, 1, kTypeText, nullptr);
    Register("BM_ReadText/OneMultipliers", BM_ReadText, 1, kTypeText | MultiplierFlag, nullptr);
    Register("BM_TextBaseline/Three", BM_TextBaseline, 3);
    Register("BM_ReadText/Three", BM_ReadText, 3, kTypeText, nullptr);
    Register("BM_ReadText/ThreeMultipliers", BM_ReadText, 3, kTypeText | MultiplierFlag, nullptr);
    Register("BM_ReadText/ThreeEquation", BM_ReadText, 3, kTypeText | ColumnEquationFlag, "a+b+c");
    Register("BM_EquationOnly", BM_EquationOnly);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
