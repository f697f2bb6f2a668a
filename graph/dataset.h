#pragma once
// The one series of numbers the calculator holds: what the graph shows, the
// statistics bar summarises, and the file commands save and export.
#include <cstddef>
#include <vector>

struct DataSet {
    double* values = nullptr; // owned, exactly count doubles; null when empty
    int count = 0;
};
extern DataSet dataSet;

// The most points a data set may hold (2 GiB of doubles). The point count of a
// plot or a file is the user's choice; beyond this the allocation is refused
// rather than left to exhaust the memory of the machine.
constexpr size_t kMaxDataValues = size_t{1} << 28;

// Storage for a new data set: an array of count doubles that InstallDataSet
// can take over, or null when it cannot be allocated (count 0, above
// kMaxDataValues, or more than the system can give). Never throws.
double* AllocateDataValues(size_t count);
// Releases the current values and installs the new array and count (values may
// be null with count 0: the data set becomes empty).
void InstallDataSet(double* values, int count);
// Moves storage from AllocateDataValues to count doubles, keeping the values
// that fit; null when it cannot (count 0 or above kMaxDataValues, or no
// memory), and the old storage is then left as it was.
double* ReallocateDataValues(double* values, size_t count);
// Releases storage from AllocateDataValues that was never installed.
void FreeDataValues(double* values);

// Asked before AllocateDataValues and ReallocateDataValues ask the system for
// count doubles; false makes the request fail as the system's own failure
// would. The tests put theirs here to run out of memory on purpose; the
// program leaves it null, which lets every request pass.
using AllocationGate = bool (*)(size_t count);
// Installs gate (null for none) and returns the one it replaces.
AllocationGate SetAllocationGate(AllocationGate gate);

// Replaces the data set with the values of text over a range of x, evaluated
// in numberBase. Returns 1 when the data set was replaced, 0 when the
// arguments describe no points or the points cannot be allocated (the data set
// and the graph scale are then left exactly as they were).
int PlotEquation(const char* text, double start, double end, double step, int count);
// The variable table of a plot: one entry per letter a to z.
constexpr int kPlotVariableCount = 26;
// How many points PlotEquation makes of these arguments when memory allows:
// 0 or less when they describe none.
int PlotPointCount(double start, double end, double step, int count);

// The x of each point when the data set came from an equation, exactly as the
// plot stepped it: start plus the steps added one by one. Every new data set
// forgets it, and so do Sort and Reverse, which part the values from their x.
// A plot keeps the x of every kPlotXStride-th point as it steps them (marks:
// points 0, kPlotXStride, 2 kPlotXStride, ...) and records them after
// installing its values; any other x is a mark plus the steps after it.
constexpr int kPlotXStride = 256;
void RecordPlotX(std::vector<double> marks, double step);
bool DataSetHasX();
// The x of point index; NaN when the data set has none or index is out of range.
double DataSetX(int index);

// qsort comparator on doubles: 1 when the first is greater, -1 when smaller, else 0.
int CompareValues(const void* a, const void* b);

// Reorder the data set in place; the window repaints afterwards.
void SortData();
void ReverseData();
