#include "graph/dataset.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

DataSet dataSet;

namespace {

AllocationGate allocationGate = nullptr;

bool AllocationPasses(size_t count) {
    return !allocationGate || allocationGate(count);
}

struct PlotX {
    std::vector<double> marks;
    double step = 0;
    bool known = false;
};
PlotX plotX;

void ForgetPlotX() {
    plotX.known = false;
    plotX.marks.clear();
}

} // namespace

AllocationGate SetAllocationGate(AllocationGate gate) {
    const AllocationGate previous = allocationGate;
    allocationGate = gate;
    return previous;
}

void RecordPlotX(std::vector<double> marks, double step) {
    ForgetPlotX();
    if (dataSet.count <= 0 ||
        marks.size() != static_cast<size_t>((dataSet.count - 1) / kPlotXStride + 1))
        return;
    plotX.marks = std::move(marks);
    plotX.step = step;
    plotX.known = true;
}

bool DataSetHasX() {
    return plotX.known;
}

double DataSetX(int index) {
    if (!plotX.known || index < 0 || index >= dataSet.count) return std::nan("");
    double x = plotX.marks[static_cast<size_t>(index / kPlotXStride)];
    for (int i = 0; i < index % kPlotXStride; ++i) x += plotX.step;
    return x;
}

double* AllocateDataValues(size_t count) {
    if (count == 0 || count > kMaxDataValues || count > SIZE_MAX / sizeof(double)) return nullptr;
    if (!AllocationPasses(count)) return nullptr;
    return static_cast<double*>(std::malloc(count * sizeof(double)));
}

double* ReallocateDataValues(double* values, size_t count) {
    if (count == 0 || count > kMaxDataValues || !AllocationPasses(count)) return nullptr;
    return static_cast<double*>(std::realloc(values, count * sizeof(double)));
}

void InstallDataSet(double* values, int count) {
    ForgetPlotX();
    if (dataSet.values != values) std::free(dataSet.values);
    dataSet.values = values;
    dataSet.count = values ? count : 0;
}

void FreeDataValues(double* values) {
    std::free(values);
}

int CompareValues(const void* a, const void* b) {
    const double first = *static_cast<const double*>(a);
    const double second = *static_cast<const double*>(b);
    if (first > second) return 1;
    if (first < second) return -1;
    return 0;
}

void SortData() {
    ForgetPlotX();
    if (dataSet.count <= 0 || !dataSet.values) return;
    std::qsort(dataSet.values, static_cast<size_t>(dataSet.count), sizeof(double), CompareValues);
}

void ReverseData() {
    ForgetPlotX();
    if (!dataSet.values) return;
    for (int i = 0; i < dataSet.count / 2; ++i) {
        double& front = dataSet.values[i];
        double& back = dataSet.values[dataSet.count - 1 - i];
        const double kept = front;
        front = back;
        back = kept;
    }
}
