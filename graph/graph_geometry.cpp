#include "graph/graph_geometry.h"

#include "numtext/format_number.h"
#include "text/convert.h"

#include <climits>
#include <cmath>
#include <cstdio>

namespace {

// base + offset and base - offset without overflow, saturated to the int range.
int ClampToInt(long long value) {
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}
int AddPixels(int base, int offset) {
    return ClampToInt(static_cast<long long>(base) + offset);
}
int SubtractPixels(int base, int offset) {
    return ClampToInt(static_cast<long long>(base) - offset);
}

double VerticalScale(const PlotRect& plot, double axisMin, double axisMax) {
    return (plot.bottom - plot.top) / (axisMax - axisMin);
}

} // namespace

GridFrame ComputeGridFrame(const PlotRect& r, int labelChars, int averageCharWidth, int textHeight,
                           int internalLeading, bool withLabels) {
    GridFrame frame;
    frame.labelMargin = withLabels ? labelChars * averageCharWidth : 0;
    frame.half = (textHeight + internalLeading + 1) / 2;
    frame.plot = r;
    frame.plot.bottom -= frame.half;
    frame.plot.left += frame.labelMargin != 0 ? frame.labelMargin : frame.half;
    frame.plot.top += frame.half;
    frame.plot.right -= frame.half;
    return frame;
}

int ComputeGridRows(int plotHeight, double axisMin, double axisMax, double step, GridRow* rows,
                    int capacity) {
    if (!(step > 0) || capacity <= 0 || plotHeight < 0) return 0;
    const double yScale = plotHeight / (axisMax - axisMin);
    const bool offsetsGrow = std::isfinite(yScale) && yScale > 0;
    double k = 0;
    int offset = 0;
    int count = 0;
    while (offset <= plotHeight && count < capacity) {
        rows[count++] = {offset, axisMin + k};
        if (!offsetsGrow) break;
        k += step;
        offset = TruncateToInt32(k * yScale + 0.5);
        if (offset < 0) break; // past the int range: far above the plot area
    }
    return count;
}

void FormatGridLabel(double value, char* text, int size) {
    std::snprintf(text, static_cast<size_t>(size), " %.5g ", value);
}

int LinePointCapacity(const PlotRect& plot, int n, int lineSpacing) {
    if (n <= 0) return 0;
    long long points = n;
    if (lineSpacing >= 0) {
        // x = left + round(i * (lineSpacing + 1)) reaches the right edge once
        // i * (lineSpacing + 1) >= width - 0.5, so no more points are stored.
        const long long width = static_cast<long long>(plot.right) - plot.left;
        const long long reach =
            width > 0 ? width / (static_cast<long long>(lineSpacing) + 1) + 2 : 1;
        if (reach < points) points = reach;
    }
    return static_cast<int>(points + 2 > INT_MAX ? INT_MAX : points + 2);
}

int ComputeLinePoints(const PlotRect& plot, const double* values, int n, double axisMin,
                      double axisMax, int lineSpacing, PixelPoint* points, int capacity) {
    if (n <= 0 || capacity < 3) return 0;
    const double dx =
        lineSpacing >= 0
            ? lineSpacing
            : static_cast<double>(plot.right - plot.left) / (n - 1 > 1 ? n - 1 : 1) - 1.0;
    const double yScale = VerticalScale(plot, axisMin, axisMax);
    const int lineCapacity = capacity - 2;
    int m = 0;
    for (int i = 0; i < n && m < lineCapacity; ++i) {
        const int x = AddPixels(plot.left, RoundToInt(i * (dx + 1)));
        const int y = SubtractPixels(plot.bottom, RoundToInt((values[i] - axisMin) * yScale));
        points[m++] = {x, y};
        if (x >= plot.right) break;
    }
    points[m] = {points[m - 1].x, plot.bottom};
    points[m + 1] = {plot.left, plot.bottom};
    return m;
}

int MergeColumnRuns(PixelPoint* points, int lineCount) {
    const PixelPoint closeRight = points[lineCount];
    const PixelPoint closeLeft = points[lineCount + 1];
    int out = 0;
    auto push = [&](PixelPoint p) {
        if (out == 0 || points[out - 1].x != p.x || points[out - 1].y != p.y) points[out++] = p;
    };
    int i = 0;
    while (i < lineCount) {
        int end = i + 1;
        int low = points[i].y, high = points[i].y;
        while (end < lineCount && points[end].x == points[i].x) {
            if (points[end].y < low) low = points[end].y;
            if (points[end].y > high) high = points[end].y;
            ++end;
        }
        const PixelPoint first = points[i], last = points[end - 1];
        const int x = first.x;
        // Visit the extreme farther from the last point first, so that the
        // run ends moving toward its last point as the original line did.
        const bool lowFirst = (last.y - low) >= (high - last.y);
        push(first);
        push({x, lowFirst ? low : high});
        push({x, lowFirst ? high : low});
        push(last);
        i = end;
    }
    points[out] = closeRight;
    points[out + 1] = closeLeft;
    return out;
}

BarLayout ComputeBarLayout(int plotWidth, int n, int barWidth, int barSpacing) {
    double width = barWidth;
    double spacing = barSpacing;
    const double room = plotWidth;
    if (spacing < 0 && width <= 0) {
        width = spacing = room / (2.0 * n + 1);
    } else if (spacing < 0) {
        spacing = (room - n * width) / (n + 1.0);
    } else if (width <= 0) {
        width = (room - (n + 1.0) * spacing) / n;
    }
    return {width, spacing};
}

int ComputeZeroRow(const PlotRect& plot, double axisMin, double axisMax) {
    return SubtractPixels(plot.bottom,
                          RoundToInt((0 - axisMin) * VerticalScale(plot, axisMin, axisMax)));
}

PlotRect ComputeBarRect(const PlotRect& plot, const BarLayout& layout, double axisMin,
                        double axisMax, int zeroRow, int i, double value) {
    const double x0 = (i + 1.0) * layout.spacing + i * layout.width;
    const double x1 = (i + 1.0) * layout.spacing + (i + 1.0) * layout.width;
    const double yScale = VerticalScale(plot, axisMin, axisMax);
    return {AddPixels(plot.left, RoundToInt(x0)),
            SubtractPixels(zeroRow, RoundToInt(value * yScale)),
            AddPixels(plot.left, RoundToInt(x1)), zeroRow};
}
