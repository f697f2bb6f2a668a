#include "graph/graph_geometry.h"

#include "numtext/format_number.h"
#include "text/convert.h"

#include <climits>
#include <cmath>
#include <cstdio>

namespace {

// base + offset without overflow, saturated to the int range.
int ClampToInt(long long value) {
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

// The limits of the pixel arithmetic, each with its reason:
// - kFarPixels (graph_geometry.h): offsets are held within it of the plot area.
// - kWideLimit: offsets are rounded into a long long, which holds 2^63; below
//   2^62 two rounded offsets, or an offset and a plot edge, add up without
//   overflow, and every offset so large is held at kFarPixels anyway.
// - kExactRows: beyond 2^52 a double no longer holds every half row, so the
//   rounding of two separate offsets no longer keeps their difference.
constexpr double kWideLimit = 4611686018427387904.0; // 2^62
constexpr double kExactRows = 4503599627370496.0;    // 2^52

// RoundToInt's rounding without its 32-bit limit, so that large offsets keep
// their sign and two that nearly cancel still do.
long long RoundWide(double value) {
    if (!std::isfinite(value)) return value < 0 ? -kNotFiniteOffset : kNotFiniteOffset;
    if (value > kWideLimit) value = kWideLimit;
    if (value < -kWideLimit) value = -kWideLimit;
    return static_cast<long long>(value >= 0 ? value + 0.5 : value - 0.5);
}

long long HoldNear(long long offset) {
    return offset < -kFarPixels ? -kFarPixels : offset > kFarPixels ? kFarPixels : offset;
}

// base + round(offset) and base - round(offset), the offset held near.
int AddOffset(int base, double offset) {
    return ClampToInt(base + HoldNear(RoundWide(offset)));
}
int SubtractOffset(int base, double offset) {
    return ClampToInt(base - HoldNear(RoundWide(offset)));
}

double VerticalScale(const PlotRect& plot, double axisMin, double axisMax) {
    return (plot.bottom - plot.top) / (axisMax - axisMin);
}

// The height above the plot area's bottom of a value: (v - axisMin) times the
// vertical scale. When that scale cannot be formed (an axis range too large
// for a double, or so small that the scale is infinite) the height is taken
// from the value's share of the range instead, so such data still spans the
// plot area.
struct RowMap {
    double axisMin = 0, axisMax = 0, height = 0, yScale = 0;
    bool byShare = false;

    RowMap(const PlotRect& plot, double lo, double hi)
        : axisMin(lo), axisMax(hi), height(plot.bottom - plot.top),
          yScale(VerticalScale(plot, lo, hi)) {
        byShare = !(std::isfinite(yScale) && yScale > 0) && lo < hi && height > 0;
    }
    double Offset(double v) const {
        if (!byShare) return (v - axisMin) * yScale;
        const double range = axisMax - axisMin;
        const double share = std::isfinite(range)
                                 ? (v - axisMin) / range
                                 : (v / 2 - axisMin / 2) / (axisMax / 2 - axisMin / 2);
        return share * height;
    }
    // Whether offsets grow with the value, as the merging of dense lines needs.
    bool Grows() const { return byShare || (std::isfinite(yScale) && yScale != 0); }
};

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
    const double range = axisMax - axisMin;
    const double yScale = plotHeight / range;
    // A range so narrow that the scale is infinite takes each row's share of
    // the range instead; so does a range between finite ends that is wider
    // than the largest double, worked out on halved values (k is then the
    // half of the rows' distance from axisMin).
    const bool wide = std::isinf(range) && std::isfinite(axisMin) && std::isfinite(axisMax);
    const bool byShare = (std::isinf(yScale) || wide) && range > 0 && plotHeight > 0;
    const bool offsetsGrow = byShare || (std::isfinite(yScale) && yScale > 0);
    const double halfRange = axisMax / 2 - axisMin / 2;
    double k = 0;
    int offset = 0;
    int count = 0;
    while (offset <= plotHeight && count < capacity) {
        rows[count++] = {offset, wide ? (axisMin / 2 + k) * 2 : axisMin + k};
        if (!offsetsGrow) break;
        k += wide ? step / 2 : step;
        const double share = wide ? k / halfRange : k / range;
        offset = TruncateToInt32((byShare ? share * plotHeight : k * yScale) + 0.5);
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

namespace {

constexpr int kMergedPointsPerColumn = 4;

// One pixel column's run of line points while they are merged: its first and
// last points and its lowest and highest rows.
struct ColumnRun {
    PixelPoint first;
    PixelPoint last;
    int low;
    int high;

    void Start(PixelPoint p) {
        first = last = p;
        low = high = p.y;
    }
    void Add(PixelPoint p) {
        last = p;
        if (p.y < low) low = p.y;
        if (p.y > high) high = p.y;
    }
    // Writes the run as at most four points, and never more than it holds,
    // leaving out repeats of the point before. A first point that is itself
    // an extreme goes straight to the other one; otherwise the extreme
    // farther from the last point comes first, so that the run ends moving
    // toward its last point.
    int Flush(PixelPoint* points, int count) const {
        const int x = first.x;
        PixelPoint run[kMergedPointsPerColumn] = {first, first, first, last};
        if (first.y == low) {
            run[1] = run[2] = {x, high};
        } else if (first.y == high) {
            run[1] = run[2] = {x, low};
        } else {
            const bool lowFirst = (last.y - low) >= (high - last.y);
            run[1] = {x, lowFirst ? low : high};
            run[2] = {x, lowFirst ? high : low};
        }
        for (const PixelPoint& p : run)
            if (count == 0 || !(points[count - 1] == p)) points[count++] = p;
        return count;
    }
};

// Where the line's points go: point i of value v at column left + round(i *
// spacing) and row bottom - round(offset of v), both held near the plot area.
struct LineMap {
    const PlotRect& plot;
    const RowMap& rows;
    double spacing;

    int Column(int i) const { return AddOffset(plot.left, i * spacing); }
    int Row(double v) const { return SubtractOffset(plot.bottom, rows.Offset(v)); }
    PixelPoint Point(int i, double v) const { return {Column(i), Row(v)}; }
};

// The end of the run of points that share column x with point i: the first
// index past i in another column, or n. Columns never go back (the spacing is
// not negative), so the end is estimated from where i * spacing reaches the
// next half pixel and then corrected with the rounding itself.
int ColumnRunEnd(const LineMap& map, int i, int x, int n) {
    int end = i + 1;
    if (x >= map.plot.right || !(map.spacing >= 0)) return end;
    if (map.spacing > 0) {
        const double next = (x - map.plot.left + 0.5) / map.spacing;
        end = next < n ? TruncateToInt32(std::ceil(next)) : n;
        if (end <= i) end = i + 1;
        while (end > i + 1 && map.Column(end - 1) != x) --end;
    }
    while (end < n && map.Column(end) == x) ++end;
    return end;
}

// The merged run of points i to end - 1 in column x. Where the offsets grow
// with the value, only four of them are rounded: the first, the last and
// those of the lowest and highest value, since the rounding, with offsets held
// near the plot area, keeps their order. Otherwise, or with a value that is
// not finite, every point of the run is rounded.
ColumnRun MergeRun(const LineMap& map, const double* values, int i, int end, int x) {
    ColumnRun run;
    run.Start({x, map.Row(values[i])});
    double low = values[i], high = values[i];
    bool ordered = map.rows.Grows() && std::isfinite(values[i]);
    for (int k = i + 1; k < end && ordered; ++k) {
        const double v = values[k];
        if (v < low) low = v;
        if (v > high) high = v;
        ordered = std::isfinite(v);
    }
    if (ordered) {
        run.last = {x, map.Row(values[end - 1])};
        const int a = map.Row(low);
        const int b = map.Row(high);
        run.low = a < b ? a : b;
        run.high = a < b ? b : a;
    } else {
        for (int k = i + 1; k < end; ++k) run.Add({x, map.Row(values[k])});
    }
    return run;
}

// Every point of the line up to the right edge, each run of points in one
// pixel column merged into at most four (first, the two extremes, last),
// which a one-pixel line draws identically.
int ComputeMergedLine(const LineMap& map, const double* values, int n, PixelPoint* points,
                      int lineCapacity) {
    int m = 0;
    for (int i = 0; i < n;) {
        const int x = map.Column(i);
        const int end = ColumnRunEnd(map, i, x, n);
        const ColumnRun run = MergeRun(map, values, i, end, x);
        if (m + kMergedPointsPerColumn > lineCapacity) break;
        m = run.Flush(points, m);
        if (x >= map.plot.right) break;
        i = end;
    }
    return m;
}

// One point for every value up to the right edge.
int ComputeEveryPoint(const LineMap& map, const double* values, int n, PixelPoint* points,
                      int lineCapacity) {
    int m = 0;
    for (int i = 0; i < n && m < lineCapacity; ++i) {
        points[m++] = map.Point(i, values[i]);
        if (points[m - 1].x >= map.plot.right) break;
    }
    return m;
}

} // namespace

double LinePointSpacing(const PlotRect& plot, int n, int lineSpacing) {
    // The spacing is formed from the gap between points, the way the pixels of
    // every graph so far were placed (gap + 1 is not always the fitted width).
    const double gap =
        lineSpacing >= 0
            ? lineSpacing
            : static_cast<double>(plot.right - plot.left) / (n - 1 > 1 ? n - 1 : 1) - 1.0;
    return gap + 1;
}

PixelPoint LinePointAt(const PlotRect& plot, double axisMin, double axisMax, double spacing, int i,
                       double value) {
    const RowMap rows(plot, axisMin, axisMax);
    return LineMap{plot, rows, spacing}.Point(i, value);
}

int ComputeLinePoints(const PlotRect& plot, const double* values, int n, double axisMin,
                      double axisMax, int lineSpacing, PixelPoint* points, int capacity,
                      bool mergeColumns) {
    if (n <= 0 || capacity < 3) return 0;
    const double spacing = LinePointSpacing(plot, n, lineSpacing);
    const RowMap rows(plot, axisMin, axisMax);
    const LineMap map = {plot, rows, spacing};
    const int m = mergeColumns ? ComputeMergedLine(map, values, n, points, capacity - 2)
                               : ComputeEveryPoint(map, values, n, points, capacity - 2);
    if (m == 0) return 0;
    points[m] = {points[m - 1].x, plot.bottom};
    points[m + 1] = {plot.left, plot.bottom};
    return m;
}

int MergedLinePointCapacity(const PlotRect& plot) {
    const long long width = static_cast<long long>(plot.right) - plot.left;
    const long long columns = (width > 0 ? width : 0) + 2;
    const long long points = kMergedPointsPerColumn * columns + 2;
    return static_cast<int>(points > INT_MAX ? INT_MAX : points);
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

namespace {

// The height of the value 0 above the plot area's bottom, unrounded.
double ZeroOffset(const RowMap& rows) {
    return rows.Offset(0);
}

} // namespace

int ComputeZeroRow(const PlotRect& plot, double axisMin, double axisMax) {
    return SubtractOffset(plot.bottom, ZeroOffset(RowMap(plot, axisMin, axisMax)));
}

PlotRect ComputeBarRect(const PlotRect& plot, const BarLayout& layout, double axisMin,
                        double axisMax, int zeroRow, int i, double value) {
    const double x0 = (i + 1.0) * layout.spacing + i * layout.width;
    const double x1 = (i + 1.0) * layout.spacing + (i + 1.0) * layout.width;
    const RowMap rows(plot, axisMin, axisMax);
    // The top is the zero row less the bar's height, each rounded, worked out
    // before either is held near the plot area, so that bars of values far
    // from 0 with a small spread still stand at their place. Once either is
    // beyond kExactRows those two roundings would lose the bar's height, and
    // the top is the value's own row instead.
    const double zeroOffset = ZeroOffset(rows), barOffset = value * rows.yScale;
    const bool far = std::fabs(zeroOffset) >= kExactRows ||
                     (std::isfinite(barOffset) && std::fabs(barOffset) >= kExactRows);
    const long long top = rows.byShare || far ? RoundWide(rows.Offset(value))
                                              : RoundWide(zeroOffset) + RoundWide(barOffset);
    return {AddOffset(plot.left, x0), ClampToInt(plot.bottom - HoldNear(top)),
            AddOffset(plot.left, x1), zeroRow};
}
