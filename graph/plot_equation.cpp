#include "graph/dataset.h"

#include <cmath>
#include <utility>
#include <vector>

#include "expr/compiled_expression.h"
#include "expr/random.h"
#include "expr/tick_count.h"
#include "graph/graph_scale.h"
#include "numtext/display_state.h"
#include "text/convert.h"

namespace {

constexpr int kVariableX = 'x' - 'a';
constexpr int kVariableY = 'y' - 'a';
constexpr int kScaleDivisions = 8;

} // namespace

int PlotPointCount(double start, double end, double step, int count) {
    if (count != 0) return count;
    return step == 0 ? 0 : TruncateToInt32((end - start) / step);
}

int PlotEquation(const char* text, double start, double end, double step, int count) {
    count = PlotPointCount(start, end, step, count);
    if (count <= 0) return 0;
    // With a given count the derived step is positive, so x always runs upward.
    if (step == 0) step = std::fabs(end - start) / count;

    double table[kPlotVariableCount] = {};
    table[kVariableX] = start;
    table[kVariableY] = start;

    // The new array is in hand before the old one goes, so that a count the
    // memory cannot hold leaves the graph on screen as it was.
    double* values = AllocateDataValues(static_cast<size_t>(count));
    if (!values) return 0;

    // Compiled once, evaluated per point, with the results of EvaluateExpression.
    CompiledExpression equation;
    equation.Compile(text, true, kPlotVariableCount, numberBase);
    // A fresh seed on every plot, so that rand gives a new sequence each time.
    SeedRandom(TickCount());
    std::vector<double> xMarks;
    xMarks.reserve(static_cast<size_t>((count - 1) / kPlotXStride + 1));
    // A text that does not read y is worked out many points at a time.
    const bool alongX = equation.VariableReads(kVariableY) == 0;
    for (int i = 0; i < count; i += kPlotXStride) {
        const int n = count - i < kPlotXStride ? count - i : kPlotXStride;
        xMarks.push_back(table[kVariableX]);
        if (alongX && equation.EvaluateAlongX(table, kVariableX, step, values + i, n)) continue;
        for (int k = i; k < i + n; ++k) {
            values[k] = equation.Evaluate(table);
            table[kVariableX] += step; // repeated addition, as the points are stepped
            table[kVariableY] = values[k];
        }
    }
    InstallDataSet(values, count);
    RecordPlotX(std::move(xMarks), step);
    graphScale.SetData(dataSet.values, dataSet.count, kScaleDivisions);
    return 1;
}
