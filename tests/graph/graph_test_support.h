#pragma once
// Helpers shared by the graph tests: installing a data set and reading it
// back, and letting time pass.
#include <chrono>
#include <cstring>
#include <vector>

#include "graph/dataset.h"

inline void InstallValues(const std::vector<double>& values) {
    if (values.empty()) return InstallDataSet(nullptr, 0);
    double* copy = AllocateDataValues(values.size());
    std::memcpy(copy, values.data(), values.size() * sizeof(double));
    InstallDataSet(copy, static_cast<int>(values.size()));
}

inline std::vector<double> InstalledValues() {
    if (!dataSet.values) return {};
    return std::vector<double>(dataSet.values, dataSet.values + dataSet.count);
}

// Returns after milliseconds have passed on the standard library's steady
// clock, a clock independent of the tick count under test.
inline void SpinForMilliseconds(int milliseconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
    }
}
