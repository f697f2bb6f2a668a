#include "graph/graph_geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <vector>

namespace {

struct LineResult {
    std::vector<PixelPoint> line;
    PixelPoint closeRight;
    PixelPoint closeLeft;
};

LineResult Line(const PlotRect& plot, const std::vector<double>& values, double axisMin,
                double axisMax, int lineSpacing) {
    const int n = static_cast<int>(values.size());
    const int capacity = LinePointCapacity(plot, n, lineSpacing);
    std::vector<PixelPoint> points(capacity);
    const int m = ComputeLinePoints(plot, values.data(), n, axisMin, axisMax, lineSpacing,
                                    points.data(), capacity);
    return {std::vector<PixelPoint>(points.begin(), points.begin() + m), points[m], points[m + 1]};
}

// The merging of a finished line, point by point, as the merged computation
// must give it: each run of points in one pixel column becomes its first
// point, the two extremes (the one farther from the last point first, unless
// the first point is an extreme itself) and its last point, without repeats;
// the two closing points follow. Returns the new count of line points.
int MergeColumnRuns(PixelPoint* points, int lineCount) {
    const PixelPoint closeRight = points[lineCount];
    const PixelPoint closeLeft = points[lineCount + 1];
    std::vector<PixelPoint> merged;
    for (int i = 0; i < lineCount;) {
        const PixelPoint first = points[i];
        const int x = first.x;
        int end = i, low = first.y, high = first.y;
        for (; end < lineCount && points[end].x == x; ++end) {
            low = std::min(low, points[end].y);
            high = std::max(high, points[end].y);
        }
        const PixelPoint last = points[end - 1];
        PixelPoint a = {x, low}, b = {x, high};
        if (first.y == low)
            a = b;
        else if (first.y == high)
            b = a;
        else if (last.y - low < high - last.y)
            std::swap(a, b);
        for (const PixelPoint p : {first, a, b, last})
            if (merged.empty() || !(merged.back() == p)) merged.push_back(p);
        i = end;
    }
    std::copy(merged.begin(), merged.end(), points);
    const int m = static_cast<int>(merged.size());
    points[m] = closeRight;
    points[m + 1] = closeLeft;
    return m;
}

TEST(ComputeGridFrame, ShrinksToThePlotArea) {
    const GridFrame labelled = ComputeGridFrame({0, 0, 400, 300}, 8, 6, 13, 3, true);
    EXPECT_EQ(labelled.labelMargin, 48);
    EXPECT_EQ(labelled.half, 8); // (13 + 3 + 1) / 2
    EXPECT_EQ(labelled.plot, (PlotRect{48, 8, 392, 292}));

    const GridFrame plain = ComputeGridFrame({10, 20, 400, 300}, 8, 6, 16, 2, false);
    EXPECT_EQ(plain.labelMargin, 0);
    EXPECT_EQ(plain.half, 9);
    EXPECT_EQ(plain.plot, (PlotRect{19, 29, 391, 291}));

    // Labels of no characters leave the left margin at half a line.
    EXPECT_EQ(ComputeGridFrame({0, 0, 100, 100}, 0, 6, 13, 3, true).plot, (PlotRect{8, 8, 92, 92}));
}

std::vector<int> Offsets(int height, double axisMin, double axisMax, double step,
                         std::vector<double>* values = nullptr, int capacity = 256) {
    std::vector<GridRow> rows(capacity);
    const int n = ComputeGridRows(height, axisMin, axisMax, step, rows.data(), capacity);
    std::vector<int> offsets;
    for (int i = 0; i < n; ++i) {
        offsets.push_back(rows[i].offset);
        if (values) values->push_back(rows[i].value);
    }
    return offsets;
}

TEST(ComputeGridRows, RowsFromTheBottomEdgeUpward) {
    std::vector<double> values;
    EXPECT_EQ(Offsets(200, 0, 8, 1, &values),
              (std::vector<int>{0, 25, 50, 75, 100, 125, 150, 175, 200}));
    EXPECT_EQ(values, (std::vector<double>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    // Offsets are truncated after adding a half.
    EXPECT_EQ(Offsets(100, -1, 1, 0.25), (std::vector<int>{0, 13, 25, 38, 50, 63, 75, 88, 100}));
    // The last row above the plot height is left out.
    EXPECT_EQ(Offsets(99, -1, 1, 0.25), (std::vector<int>{0, 12, 25, 37, 50, 62, 74, 87, 99}));
    EXPECT_EQ(Offsets(98, -1, 1, 0.25), (std::vector<int>{0, 12, 25, 37, 49, 61, 74, 86, 98}));
    EXPECT_EQ(Offsets(97, 0, 1, 0.5), (std::vector<int>{0, 49, 97}));
    // A range so narrow that 100 / range overflows still has its rows.
    EXPECT_EQ(Offsets(100, 0, 1e-310, 2.5e-311), (std::vector<int>{0, 25, 50, 75, 100}));
    // So does a range between finite ends that is wider than the largest double.
    const double top = std::ldexp(1.0, 1023);
    values.clear();
    EXPECT_EQ(Offsets(100, -top, top, top / 4, &values),
              (std::vector<int>{0, 13, 25, 38, 50, 63, 75, 88, 100}));
    EXPECT_EQ(values, (std::vector<double>{-top, -top / 4 * 3, -top / 2, -top / 4, 0, top / 4,
                                           top / 2, top / 4 * 3, top}));
}

TEST(ComputeGridRows, UnusableScalesGiveAtMostTheBottomRow) {
    EXPECT_EQ(Offsets(100, 0, 8, 0), (std::vector<int>{}));
    EXPECT_EQ(Offsets(100, 0, 8, std::nan("")), (std::vector<int>{}));
    EXPECT_EQ(Offsets(100, 5, 5, 1), (std::vector<int>{0})); // empty axis range
    EXPECT_EQ(Offsets(100, 8, 0, 1), (std::vector<int>{0})); // reversed axis range
    EXPECT_EQ(Offsets(0, 0, 8, 1), (std::vector<int>{0}));   // no height
    EXPECT_EQ(Offsets(-5, 0, 8, 1), (std::vector<int>{}));
    EXPECT_EQ(Offsets(1000000, 0, 1, 1e-9, nullptr, 16).size(), 16u); // bounded
}

TEST(FormatGridLabel, FiveSignificantDigitsBetweenSpaces) {
    const struct {
        double value;
        const char* text;
    } cases[] = {{0, " 0 "}, {2.5, " 2.5 "}, {-123456, " -1.2346e+05 "}, {1.0 / 3, " 0.33333 "}};
    for (const auto& c : cases) {
        char text[64];
        FormatGridLabel(c.value, text, sizeof text);
        EXPECT_STREQ(text, c.text);
    }
}

TEST(ComputeLinePoints, FittedSpacingRunsFromTheLeftToTheRightEdge) {
    std::vector<double> values(100);
    for (int i = 0; i < 100; ++i) values[i] = i;
    const LineResult r = Line({0, 0, 400, 99}, values, 0, 99, -1);
    ASSERT_EQ(r.line.size(), 100u);
    EXPECT_EQ(r.line[0], (PixelPoint{0, 99}));
    EXPECT_EQ(r.line[1], (PixelPoint{4, 98}));    // 400 / 99 = 4.04 pixels apart
    EXPECT_EQ(r.line[50], (PixelPoint{202, 49})); // 202.02
    EXPECT_EQ(r.line[74], (PixelPoint{299, 25})); // 298.99
    EXPECT_EQ(r.line[99], (PixelPoint{400, 0}));
    EXPECT_EQ(r.closeRight, (PixelPoint{400, 99}));
    EXPECT_EQ(r.closeLeft, (PixelPoint{0, 99}));
}

TEST(ComputeLinePoints, FixedSpacingStopsAtTheRightEdge) {
    std::vector<double> values(1000, 5);
    const LineResult tight = Line({10, 0, 310, 100}, values, 0, 10, 0);
    ASSERT_EQ(tight.line.size(), 301u);
    EXPECT_EQ(tight.line.front(), (PixelPoint{10, 50}));
    EXPECT_EQ(tight.line.back(), (PixelPoint{310, 50}));
    EXPECT_EQ(tight.closeRight, (PixelPoint{310, 100}));
    EXPECT_EQ(tight.closeLeft, (PixelPoint{10, 100}));

    const LineResult spaced = Line({0, 0, 10, 100}, {1, 2, 3, 4, 5, 6}, 0, 10, 2);
    std::vector<PixelPoint> expected = {{0, 90}, {3, 80}, {6, 70}, {9, 60}, {12, 50}};
    EXPECT_EQ(spaced.line, expected);

    // Fewer points than room: all of them, the last left of the edge.
    const LineResult shortLine = Line({0, 0, 100, 100}, {0, 10}, 0, 10, 4);
    EXPECT_EQ(shortLine.line, (std::vector<PixelPoint>{{0, 100}, {5, 0}}));
    EXPECT_EQ(shortLine.closeRight, (PixelPoint{5, 100}));
}

TEST(ComputeLinePoints, NonFiniteValuesLeaveThePlotArea) {
    const double inf = std::numeric_limits<double>::infinity();
    const LineResult r = Line({0, 0, 30, 100}, {std::nan(""), inf, -inf, 1e300}, 0, 10, 9);
    EXPECT_EQ(r.line, (std::vector<PixelPoint>{{0, 100 - 999999},
                                               {10, 100 - 999999},
                                               {20, 100 + 999999},
                                               {30, 100 - (1 << 26)}})); // far above: held 2^26 out
}

TEST(ComputeLinePoints, OnePointAndNoPoints) {
    const LineResult one = Line({0, 0, 100, 100}, {3}, 0, 10, -1);
    EXPECT_EQ(one.line, (std::vector<PixelPoint>{{0, 70}}));
    EXPECT_EQ(one.closeRight, (PixelPoint{0, 100}));
    PixelPoint points[4];
    EXPECT_EQ(ComputeLinePoints({0, 0, 100, 100}, nullptr, 0, 0, 1, -1, points, 4), 0);
    EXPECT_EQ(LinePointCapacity({0, 0, 100, 100}, 0, -1), 0);
}

TEST(LinePointCapacity, FixedSpacingNeedsOnlyTheVisiblePoints) {
    EXPECT_EQ(LinePointCapacity({0, 0, 1000, 10}, 10000000, 0), 1004);
    EXPECT_EQ(LinePointCapacity({0, 0, 1000, 10}, 10000000, 9), 104);
    EXPECT_EQ(LinePointCapacity({0, 0, 1000, 10}, 50, 0), 52);
    EXPECT_EQ(LinePointCapacity({0, 0, 1000, 10}, 10000000, -1), 10000002);
    EXPECT_EQ(LinePointCapacity({50, 0, 10, 10}, 100, 0), 3); // right of left: one point
    // Every spacing and width: the computed line fits the capacity.
    for (int spacing = 0; spacing < 7; ++spacing)
        for (int width = -3; width < 40; ++width) {
            const PlotRect plot = {5, 0, 5 + width, 10};
            const std::vector<double> values(200, 1);
            const int capacity = LinePointCapacity(plot, 200, spacing);
            std::vector<PixelPoint> points(capacity + 8);
            const int m = ComputeLinePoints(plot, values.data(), 200, 0, 2, spacing, points.data(),
                                            static_cast<int>(points.size()));
            EXPECT_LE(m + 2, capacity) << spacing << " " << width;
        }
}

TEST(MergeColumnRuns, KeepsFirstExtremesAndLastOfEachColumn) {
    std::vector<PixelPoint> points = {{0, 5}, {0, 3}, {0, 9}, {0, 6}, {1, 4}, {1, 4},
                                      {2, 7}, {2, 1}, {2, 8}, {2, 2}, {9, 0}, {0, 9}};
    const int m = MergeColumnRuns(points.data(), 10);
    const std::vector<PixelPoint> merged(points.begin(), points.begin() + m + 2);
    EXPECT_EQ(merged, (std::vector<PixelPoint>{{0, 5},
                                               {0, 3},
                                               {0, 9},
                                               {0, 6},
                                               {1, 4},
                                               {2, 7},
                                               {2, 8},
                                               {2, 1},
                                               {2, 2},
                                               {9, 0},
                                               {0, 9}}));
}

TEST(MergeColumnRuns, AFirstPointAtAnExtremeNeverOverrunsTheNextColumn) {
    std::vector<PixelPoint> points = {{0, 45}, {0, -9}, {0, 19}, {1, 10}, {1, 26},
                                      {1, 12}, {2, 5},  {2, 5},  {0, 90}, {3, 90}};
    const int m = MergeColumnRuns(points.data(), 8);
    const std::vector<PixelPoint> merged(points.begin(), points.begin() + m + 2);
    EXPECT_EQ(merged,
              (std::vector<PixelPoint>{
                  {0, 45}, {0, -9}, {0, 19}, {1, 10}, {1, 26}, {1, 12}, {2, 5}, {0, 90}, {3, 90}}));
}

TEST(ComputeLinePoints, MergingWhileComputingMatchesMergingAfterwards) {
    for (int n : {1, 2, 50, 999, 5000, 100000}) {
        std::vector<double> values(n);
        for (int i = 0; i < n; ++i) values[i] = std::sin(i * 0.37) * 40 + (i % 7);
        // Values that are not finite, or far beyond the axis, in a few columns.
        const double inf = std::numeric_limits<double>::infinity();
        const double odd[] = {std::nan(""), inf, -inf, 1e300, -1e300, 50, -50};
        for (int k = 0; k < 7 && 3 * k * k + 1 < n; ++k) values[3 * k * k + 1] = odd[k];
        // An axis upward, and one downward, whose rows grow with the value.
        const struct { double lo, hi; } lines[] = {{-50, 50}, {50, -50}};
        for (const PlotRect plot : {PlotRect{3, 0, 203, 90}, PlotRect{0, 0, 1, 50},
                                    PlotRect{10, 0, 10, 50}, PlotRect{0, 0, 997, 300}}) {
            for (const auto& l : lines) {
                const int fullCapacity = LinePointCapacity(plot, n, -1);
                std::vector<PixelPoint> full(fullCapacity);
                int m = ComputeLinePoints(plot, values.data(), n, l.lo, l.hi, -1, full.data(),
                                          fullCapacity);
                m = MergeColumnRuns(full.data(), m);
                const int mergedCapacity = MergedLinePointCapacity(plot);
                std::vector<PixelPoint> merged(mergedCapacity);
                const int k = ComputeLinePoints(plot, values.data(), n, l.lo, l.hi, -1,
                                                merged.data(), mergedCapacity, true);
                ASSERT_EQ(k, m) << n << " " << plot.right << " " << l.lo;
                EXPECT_TRUE(std::equal(full.begin(), full.begin() + m + 2, merged.begin()))
                    << n << " " << plot.right << " " << l.lo;
            }
        }
    }
}

TEST(ComputeBarLayout, FittedAndFixedWidthsAndGaps) {
    const struct {
        int room, n, width, spacing;
        double expectedWidth, expectedSpacing;
    } cases[] = {
        {70, 3, -1, -1, 10, 10}, {100, 5, 5, -1, 5, 12.5}, {100, 4, 0, 4, 20, 4},
        {100, 4, -2, 0, 25, 0},  {100, 4, 7, 3, 7, 3},     {10, 4, -1, -1, 10.0 / 9, 10.0 / 9},
    };
    for (const auto& c : cases) {
        const BarLayout layout = ComputeBarLayout(c.room, c.n, c.width, c.spacing);
        EXPECT_EQ(layout.width, c.expectedWidth) << c.room << " " << c.n;
        EXPECT_EQ(layout.spacing, c.expectedSpacing) << c.room << " " << c.n;
    }
}

TEST(ComputeBarRect, BarsStandOnTheZeroRow) {
    const PlotRect plot = {20, 0, 90, 100};
    const BarLayout layout = ComputeBarLayout(70, 3, -1, -1);
    const int zero = ComputeZeroRow(plot, -10, 10);
    EXPECT_EQ(zero, 50);
    EXPECT_EQ(ComputeBarRect(plot, layout, -10, 10, zero, 0, 5), (PlotRect{30, 25, 40, 50}));
    EXPECT_EQ(ComputeBarRect(plot, layout, -10, 10, zero, 1, -10), (PlotRect{50, 100, 60, 50}));
    EXPECT_EQ(ComputeBarRect(plot, layout, -10, 10, zero, 2, 10), (PlotRect{70, 0, 80, 50}));

    // Gaps of 12.5 pixels round half away from zero.
    const BarLayout gaps = ComputeBarLayout(100, 5, 5, -1);
    EXPECT_EQ(ComputeBarRect({0, 0, 100, 10}, gaps, 0, 10, 10, 0, 10), (PlotRect{13, 0, 18, 10}));
    EXPECT_EQ(ComputeBarRect({0, 0, 100, 10}, gaps, 0, 10, 10, 1, 10), (PlotRect{30, 0, 35, 10}));

    // An axis of 5 to 7 puts the zero row far below the plot area.
    const PlotRect tall = {0, 0, 70, 100};
    const int below = ComputeZeroRow(tall, 5, 7);
    EXPECT_EQ(below, 350);
    EXPECT_EQ(ComputeBarRect(tall, layout, 5, 7, below, 0, 6), (PlotRect{10, 50, 20, 350}));
}

// Data far from 0 with a small spread: the zero row lies billions of rows
// away, yet each bar's top is still its place in the plot area.
TEST(ComputeBarRect, ValuesFarFromZeroStillShow) {
    const PlotRect plot = {0, 0, 70, 256};
    const BarLayout layout = ComputeBarLayout(70, 3, -1, -1);
    // The zero row is held 2^26 rows beyond the plot area's bottom.
    constexpr int kBelow = 256 + (1 << 26), kAbove = 256 - (1 << 26);
    struct FarCase {
        double axisMin, axisMax, value;
        int zeroRow, top;
    };
    const FarCase cases[] = {
        {2147483648.0, 2147483776.0, 2147483712.0, kBelow, 128},    // 2^31 .. 2^31 + 128
        {2147483648.0, 2147483776.0, 2147483776.0, kBelow, 0},      // the top of the axis
        {-2147483776.0, -2147483648.0, -2147483712.0, kAbove, 128}, // hanging from far above
        {1e15, 1e15 + 128, 1e15 + 32, kBelow, 192},
    };
    for (const FarCase& c : cases) {
        const int zero = ComputeZeroRow(plot, c.axisMin, c.axisMax);
        EXPECT_EQ(zero, c.zeroRow) << c.value;
        EXPECT_EQ(ComputeBarRect(plot, layout, c.axisMin, c.axisMax, zero, 0, c.value),
                  (PlotRect{10, c.top, 20, c.zeroRow}))
            << c.value;
    }
}

} // namespace

namespace {

constexpr int kFar = 1 << 26; // how far out pixel offsets are held

// Spacings and widths up to the largest int that the dialog takes: the far
// point or bar edge lies to the right, held 2^26 pixels out, and the line or
// the bars stop there.
TEST(FarPixels, HugeSpacingsStayToTheRight) {
    const LineResult line = Line({10, 0, 110, 100}, {0, 10, 5}, 0, 10, INT_MAX);
    EXPECT_EQ(line.line, (std::vector<PixelPoint>{{10, 100}, {10 + kFar, 0}}));
    EXPECT_EQ(line.closeRight, (PixelPoint{10 + kFar, 100}));

    const PlotRect plot = {10, 0, 110, 100};
    const BarLayout wide = {2147483647.0, 1.0};
    const int zero = ComputeZeroRow(plot, 0, 10);
    EXPECT_EQ(ComputeBarRect(plot, wide, 0, 10, zero, 0, 5), (PlotRect{11, 50, 10 + kFar, 100}));
    EXPECT_GE(ComputeBarRect(plot, wide, 0, 10, zero, 1, 5).left, plot.right);
    const BarLayout halves = {1073741824.0, 1073741824.0};
    EXPECT_EQ(ComputeBarRect(plot, halves, 0, 10, zero, 0, 5).left, 10 + kFar);
}

// Axis ranges whose scale cannot be formed: wider than the largest double,
// or so narrow that the plot height over it is infinite. The data still span
// the plot area from bottom to top.
TEST(FarPixels, RangesBeyondTheScaleStillSpanThePlotArea) {
    const struct {
        double lo, mid, hi;
    } cases[] = {
        {-1e308, 0, 1e308}, // hi - lo overflows
        {-1.7976931348623157e308, 0, 1.7976931348623157e308},
        {0, 5e-311, 1e-310}, // 100 / 1e-310 overflows
        {1e-310, 1.5e-310, 2e-310},
    };
    const PlotRect plot = {0, 0, 20, 100};
    for (const auto& c : cases) {
        const LineResult line = Line(plot, {c.lo, c.mid, c.hi}, c.lo, c.hi, 9);
        EXPECT_EQ(line.line, (std::vector<PixelPoint>{{0, 100}, {10, 50}, {20, 0}})) << c.hi;

        // Dense data merged per column reach both edges too.
        std::vector<double> dense(200);
        for (size_t i = 0; i < dense.size(); ++i) dense[i] = i % 2 ? c.hi : c.lo;
        std::vector<PixelPoint> points(MergedLinePointCapacity(plot) + 2);
        const int m = ComputeLinePoints(plot, dense.data(), 200, c.lo, c.hi, -1, points.data(),
                                        static_cast<int>(points.size()), true);
        ASSERT_GT(m, 0) << c.hi;
        int top = INT_MAX, bottom = INT_MIN;
        for (int i = 0; i < m; ++i) {
            top = std::min(top, points[i].y);
            bottom = std::max(bottom, points[i].y);
        }
        EXPECT_EQ(top, 0) << c.hi;
        EXPECT_EQ(bottom, 100) << c.hi;
    }
    // Bars stand on the zero row in the middle of the widest axis.
    const PlotRect bars = {0, 0, 70, 100};
    const BarLayout layout = ComputeBarLayout(70, 3, -1, -1);
    const int zero = ComputeZeroRow(bars, -1e308, 1e308);
    EXPECT_EQ(zero, 50);
    EXPECT_EQ(ComputeBarRect(bars, layout, -1e308, 1e308, zero, 0, 1e308),
              (PlotRect{10, 0, 20, 50}));
    EXPECT_EQ(ComputeBarRect(bars, layout, -1e308, 1e308, zero, 1, -5e307),
              (PlotRect{30, 75, 40, 50}));

    // 2^53 to 2^53 + 4 in a tall plot: the zero row and the bar's height are
    // each beyond 2^52 rows; the bars still stand at their place.
    const PlotRect tall = {0, 0, 70, 1100};
    const double low = 9007199254740992.0, high = low + 4;
    const int far = ComputeZeroRow(tall, low, high);
    EXPECT_EQ(far, 1100 + kFar);
    EXPECT_EQ(ComputeBarRect(tall, layout, low, high, far, 0, high), (PlotRect{10, 0, 20, far}));
    EXPECT_EQ(ComputeBarRect(tall, layout, low, high, far, 1, low + 2),
              (PlotRect{30, 550, 40, far}));
}

} // namespace
