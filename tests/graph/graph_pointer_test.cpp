#include "graph/graph_pointer.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

constexpr PlotRect kPlot = {30, 5, 430, 205}; // 400 pixels wide

GraphSettings Line(int lineSpacing) {
    GraphSettings s;
    s.lineSpacing = lineSpacing;
    return s;
}

GraphSettings Bars(int barWidth, int barSpacing) {
    GraphSettings s;
    s.graphType = 'B';
    s.barWidth = barWidth;
    s.barSpacing = barSpacing;
    return s;
}

} // namespace

TEST(PointUnderColumn, TheNearestShownPoint) {
    const struct {
        const char* what;
        GraphSettings settings;
        int width, count, first, x, expected;
    } cases[] = {
        {"fitted line: first point on the left edge", Line(-1), 400, 101, 0, 30, 0},
        {"fitted line: 4 pixels a point", Line(-1), 400, 101, 0, 30 + 41, 10},
        {"fitted line: halfway rounds up", Line(-1), 400, 101, 0, 30 + 42, 11},
        {"fitted line: last point on the right edge", Line(-1), 400, 101, 0, 430, 100},
        {"fixed spacing from the scroll position", Line(4), 400, 1000, 200, 30 + 52, 210},
        {"fixed spacing: the last point before the end", Line(4), 400, 1000, 990, 430, 999},
        {"fitted bars: 3 bars of 10 over 70 pixels", Bars(-1, -1), 70, 3, 0, 30 + 16, 0},
        {"fitted bars: the middle bar", Bars(-1, -1), 70, 3, 0, 30 + 35, 1},
        {"fitted bars: in the gap nearer the last", Bars(-1, -1), 70, 3, 0, 30 + 46, 2},
        {"fixed bars from the scroll position", Bars(6, 2), 400, 500, 40, 30 + 2 + 8 * 3 + 3, 43},
        {"left of the plot area", Line(-1), 400, 101, 0, 29, -1},
        {"right of the plot area", Line(-1), 400, 101, 0, 431, -1},
        {"scrolled past the end", Line(0), 400, 10, 10, 100, -1},
        {"no points", Line(-1), 400, 0, 0, 100, -1},
    };
    for (const auto& c : cases) {
        const PlotRect plot = {30, 5, 30 + c.width, 205};
        const PointColumns columns = ShownPointColumns(plot, c.settings, c.count, c.first);
        EXPECT_EQ(PointUnderColumn(plot, columns, c.x), c.expected) << c.what;
    }
}

TEST(ZoomGraphSettings, StepsOfAQuarterDownToFitting) {
    // 1000 points over 400 pixels fit at 0.4 pixels a point: the first step in
    // is one point a pixel, and the steps out end in fitting.
    GraphSettings s = Line(-1);
    const std::vector<int> in = {0, 1, 2, 3, 4, 5, 7, 9, 12};
    for (int expected : in) {
        const PointColumns shown = ShownPointColumns(kPlot, s, 1000, 0);
        ASSERT_TRUE(ZoomGraphSettings(s, kPlot, shown, 1000, true));
        EXPECT_EQ(s.lineSpacing, expected);
    }
    const std::vector<int> out = {9, 7, 5, 4, 3, 2, 1, 0, -1};
    for (int expected : out) {
        const PointColumns shown = ShownPointColumns(kPlot, s, 1000, 0);
        ASSERT_TRUE(ZoomGraphSettings(s, kPlot, shown, 1000, false));
        EXPECT_EQ(s.lineSpacing, expected);
    }
    EXPECT_FALSE(ZoomGraphSettings(s, kPlot, ShownPointColumns(kPlot, s, 1000, 0), 1000, false));

    // Few points: the step out that would show no more than fitting is fitting.
    GraphSettings few = Line(-1);
    ASSERT_TRUE(ZoomGraphSettings(few, kPlot, ShownPointColumns(kPlot, few, 11, 0), 11, true));
    EXPECT_EQ(few.lineSpacing, 49); // 40 pixels a point, 1.25 times
    ASSERT_TRUE(ZoomGraphSettings(few, kPlot, ShownPointColumns(kPlot, few, 11, 0), 11, false));
    EXPECT_EQ(few.lineSpacing, -1);

    // In no further than one point over the whole plot width.
    GraphSettings wide = Line(380);
    ASSERT_TRUE(ZoomGraphSettings(wide, kPlot, ShownPointColumns(kPlot, wide, 5, 0), 5, true));
    EXPECT_EQ(wide.lineSpacing, 399);
    EXPECT_FALSE(ZoomGraphSettings(wide, kPlot, ShownPointColumns(kPlot, wide, 5, 0), 5, true));
    // Out from a typed spacing far wider than the plot: one point over all of it.
    GraphSettings typed = Line(INT_MAX);
    ASSERT_TRUE(ZoomGraphSettings(typed, kPlot, ShownPointColumns(kPlot, typed, 5, 0), 5, false));
    EXPECT_EQ(typed.lineSpacing, 399);
}

TEST(ZoomGraphSettings, BarsKeepTheirShareOfEachStep) {
    const PlotRect plot = {0, 0, 70, 100};
    const struct {
        const char* what;
        GraphSettings before;
        int count;
        bool zoomIn;
        int barWidth, barSpacing;
    } cases[] = {
        {"fitted bars of 10 and gaps of 10 grow to 25", Bars(-1, -1), 3, true, 13, 12},
        {"back out to fitting", Bars(13, 12), 3, false, -1, -1},
        {"three quarters bar", Bars(6, 2), 100, true, 8, 2},
        {"three quarters bar out", Bars(6, 2), 100, false, 5, 1},
        {"gapless bars stay gapless", Bars(4, 0), 100, true, 5, 0},
        {"at least one pixel of bar", Bars(1, 1), 100, false, 1, 0},
        {"one pixel a bar out is fitting", Bars(1, 0), 100, false, -1, -1},
        {"typed bars wider than the plot out to its width", Bars(2000000000, 2000000000), 100,
         false, 35, 35},
    };
    for (const auto& c : cases) {
        GraphSettings s = c.before;
        EXPECT_TRUE(
            ZoomGraphSettings(s, plot, ShownPointColumns(plot, s, c.count, 0), c.count, c.zoomIn))
            << c.what;
        EXPECT_EQ(s.barWidth, c.barWidth) << c.what;
        EXPECT_EQ(s.barSpacing, c.barSpacing) << c.what;
    }
}

TEST(FirstIndexKeeping, ThePointUnderThePointerStaysUnderItAcrossZoomSteps) {
    const GraphSettings starts[] = {Line(-1), Line(3), Bars(-1, -1), Bars(6, 3)};
    const int count = 5000;
    for (const GraphSettings& start : starts) {
        for (int x = kPlot.left; x <= kPlot.right; x += 7) {
            GraphSettings s = start;
            int first = s.graphType == 'L' && s.lineSpacing < 0 ? 0 : 1000;
            if (s.graphType == 'B' && s.barWidth < 0) first = 0;
            const int index = PointUnderColumn(kPlot, ShownPointColumns(kPlot, s, count, first), x);
            ASSERT_GE(index, 0);
            for (int step = 0; step < 6; ++step) {
                const PointColumns before = ShownPointColumns(kPlot, s, count, first);
                ASSERT_TRUE(ZoomGraphSettings(s, kPlot, before, count, true));
                first = FirstIndexKeeping(index, x, kPlot, ShownPointColumns(kPlot, s, count, 0));
                ASSERT_GE(first, 0);
                const PointColumns after = ShownPointColumns(kPlot, s, count, first);
                EXPECT_EQ(PointUnderColumn(kPlot, after, x), index)
                    << start.graphType << " x " << x << " step " << step;
            }
        }
    }
}

TEST(WheelScrollPosition, ATenthOfAPageANotchOrAPageWithShift) {
    const struct {
        int position, page, delta;
        bool byPage;
        int expected;
    } cases[] = {
        {500, 100, -120, false, 510}, {500, 100, 120, false, 490},
        {500, 100, -360, false, 530}, {500, 100, -120, true, 600},
        {500, 100, 240, true, 300},   {500, 5, -120, false, 501},
        {500, 100, -30, false, 502},  {500, 100, -1, false, 501},
        {500, 100, 1, false, 499},    {500, 100, 0, false, 500},
        {0, 100, 120, false, -10},    {2147483640, 100, -120, true, 2147483647},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WheelScrollPosition(c.position, c.page, c.delta, c.byPage), c.expected)
            << c.position << " " << c.page << " " << c.delta;
}

TEST(WholeWheelNotches, PartsOfANotchAddUpAndATurnBackStartsAfresh) {
    // Turns in order, each with the whole notches it gives and the part kept.
    const struct {
        int delta, notches, kept;
    } turns[] = {
        {120, 1, 0},   {240, 2, 0},     {30, 0, 30}, {30, 0, 60},   {30, 0, 90},   {40, 1, 10},
        {-30, 0, -30}, {-100, -1, -10}, {0, 0, -10}, {-350, -3, 0}, {-60, 0, -60}, {120, 1, 0},
    };
    int turned = 0;
    for (const auto& t : turns) {
        EXPECT_EQ(WholeWheelNotches(turned, t.delta), t.notches) << t.delta;
        EXPECT_EQ(turned, t.kept) << t.delta;
    }
}
