// Fuzzes the graph's pixel arithmetic with any values, any spacings and widths
// the Graph Configuration dialog takes (every int), and plot areas from empty
// to large, with the axis either from the graph scale or from raw bits. Checks
// what must hold for every call: point counts within the capacities, every
// coordinate within reach of GDI (2^26 of the plot area, or the markers of
// values that are not finite), x never going back, the stop at the right edge,
// and grid rows inside the plot height.
#include "graph/graph_geometry.h"
#include "graph/graph_scale.h"
#include "fuzz_input.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr long long kReach = kFarPixels + kNotFiniteOffset; // held offsets and the marker

// A spacing or width: mostly small, sometimes any int.
int Spacing(FuzzInput& in) {
    const uint32_t v = in.Bits32();
    return v >> 31 ? static_cast<int>(v) : static_cast<int>(v % 40) - 2;
}

bool Near(long long coordinate, int edge) {
    return coordinate >= edge - kReach && coordinate <= edge + kReach;
}

void CheckLine(const PlotRect& plot, const std::vector<double>& values, double axisMin,
               double axisMax, int lineSpacing, bool merge) {
    const int n = static_cast<int>(values.size());
    const int capacity =
        merge ? MergedLinePointCapacity(plot) : LinePointCapacity(plot, n, lineSpacing);
    if (capacity < 3) return;
    std::vector<PixelPoint> points(static_cast<size_t>(capacity));
    const int m = ComputeLinePoints(plot, values.data(), n, axisMin, axisMax, lineSpacing,
                                    points.data(), capacity, merge);
    Check(m >= 0 && m <= capacity - 2);
    if (m == 0) return;
    const bool forward = plot.right >= plot.left;
    Check(points[0].x == plot.left);
    for (int i = 0; i < m + 2; ++i) {
        Check(Near(points[i].x, plot.left));
        Check(Near(points[i].y, plot.bottom));
        if (i > 0 && i < m && forward) Check(points[i].x >= points[i - 1].x);
    }
    // Only the last point may reach the right edge.
    if (forward)
        for (int i = 0; i + 1 < m; ++i)
            Check(points[i].x < plot.right || points[i].x == points[m - 1].x);
    Check(points[m].y == plot.bottom && points[m + 1].y == plot.bottom);
}

void CheckBars(const PlotRect& plot, const std::vector<double>& values, double axisMin,
               double axisMax, int barWidth, int barSpacing) {
    const int n = static_cast<int>(values.size());
    const BarLayout layout = ComputeBarLayout(plot.right - plot.left, n, barWidth, barSpacing);
    const int zero = ComputeZeroRow(plot, axisMin, axisMax);
    Check(Near(zero, plot.bottom));
    for (int i = 0; i < n; ++i) {
        const PlotRect bar = ComputeBarRect(plot, layout, axisMin, axisMax, zero, i, values[i]);
        Check(Near(bar.left, plot.left) && Near(bar.right, plot.left));
        Check(Near(bar.top, plot.bottom) && bar.bottom == zero);
        if (bar.left >= plot.right) break;
    }
}

void CheckGrid(int height, double axisMin, double axisMax, double step) {
    GridRow rows[64];
    const int count = ComputeGridRows(height, axisMin, axisMax, step, rows, 64);
    Check(count >= 0 && count <= 64);
    for (int i = 0; i < count; ++i) {
        Check(rows[i].offset >= 0 && rows[i].offset <= (height > 0 ? height : 0));
        if (i > 0) Check(rows[i].offset >= rows[i - 1].offset);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 16) return 0;
    FuzzInput in{data, size};
    const uint32_t shape = in.Bits32();
    const int left = static_cast<int>(shape & 0x3FF);
    const int top = static_cast<int>(shape >> 10 & 0x3FF);
    const int width = static_cast<int>(shape >> 20 & 0x7FF) - 20;
    const int height = static_cast<int>(in.Bits32() % 1200) - 10;
    const PlotRect plot = {left, top, left + width, top + height};
    const uint32_t choices = in.Bits32();
    const int lineSpacing = Spacing(in);
    const int barWidth = Spacing(in);
    const int barSpacing = Spacing(in);

    std::vector<double> values;
    const int n = 1 + static_cast<int>(choices % 600);
    for (int i = 0; i < n && !in.Done(); ++i) {
        // Mostly a walk of small steps scaled by one of the input's doubles,
        // so that ranges far from zero with small spreads come up too.
        values.push_back(in.Double());
    }
    if (values.empty()) return 0;
    if (choices >> 31) {
        const double base = values[0];
        for (size_t i = 1; i < values.size(); ++i)
            values[i] =
                std::isfinite(base) ? base + static_cast<double>(i % 7) * 1e-3 * base : values[i];
    }

    double axisMin, axisMax, step;
    if (choices >> 30 & 1) { // raw axis bits
        axisMin = in.Double();
        axisMax = in.Double();
        step = in.Double();
    } else {
        GraphScale scale;
        scale.SetData(values.data(), static_cast<int>(values.size()), 8);
        axisMin = scale.axisMin;
        axisMax = scale.axisMax;
        step = scale.step;
    }

    CheckLine(plot, values, axisMin, axisMax, lineSpacing, false);
    if (lineSpacing < 0) CheckLine(plot, values, axisMin, axisMax, lineSpacing, true);
    CheckBars(plot, values, axisMin, axisMax, barWidth, barSpacing);
    CheckGrid(plot.bottom - plot.top, axisMin, axisMax, step);
    return 0;
}
