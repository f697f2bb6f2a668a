#include "main_window_fixture.h"

#include "graph/graph_geometry.h"
#include "window/graph_scroller_gui.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <limits>

namespace {

std::vector<double> Ramp(int n) {
    std::vector<double> values(n);
    for (int i = 0; i < n; ++i) values[i] = i;
    return values;
}

// The plot area RenderGraph uses inside rect, from the same text metrics.
RECT PlotArea(HDC dc, RECT rect) {
    HGDIOBJ previous = SelectObject(dc, GetStockObject(ANSI_VAR_FONT));
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, previous);
    const GridFrame frame =
        ComputeGridFrame({rect.left, rect.top, rect.right, rect.bottom}, graphScale.labelChars,
                         metrics.tmAveCharWidth, metrics.tmHeight, metrics.tmInternalLeading, true);
    return {frame.plot.left, frame.plot.top, frame.plot.right, frame.plot.bottom};
}

using RenderTest = MainWindowTest;

struct Spacings {
    char type;
    int lineSpacing, barWidth, barSpacing;

    void Apply() const {
        graphSettings.graphType = type;
        graphSettings.lineSpacing = lineSpacing;
        graphSettings.barWidth = barWidth;
        graphSettings.barSpacing = barSpacing;
    }
};

TEST_F(RenderTest, LineGraphFrameGridAndCurve) {
    InstallValues(Ramp(50));
    MemorySurface surface(300, 200, kBlack);
    const RECT rect = {0, 0, 300, 200};
    ASSERT_EQ(RenderGraph(&rect, surface.dc, nullptr), 1);
    const RECT plot = PlotArea(surface.dc, rect);

    // The frame: both vertical edges and the bottom edge in the grid colour.
    for (int y = plot.top + 1; y < plot.bottom; ++y) {
        EXPECT_EQ(surface.At(plot.left, y), kWhite) << y;
        const COLORREF right = surface.At(plot.right - 1, y); // the curve may end on it
        EXPECT_TRUE(right == kWhite || right == kGreen) << y;
    }
    for (int x = plot.left; x < plot.right; ++x) EXPECT_EQ(surface.At(x, plot.top), kWhite) << x;
    // Every grid row is a full white line between the frame's edges.
    GridRow rows[64];
    const int rowCount = ComputeGridRows(plot.bottom - plot.top, graphScale.axisMin,
                                         graphScale.axisMax, graphScale.step, rows, 64);
    ASSERT_GE(rowCount, 5);
    for (int i = 0; i < rowCount; ++i)
        for (int x = plot.left; x < plot.right; x += 7) {
            const COLORREF c = surface.At(x, plot.bottom - rows[i].offset);
            EXPECT_TRUE(c == kWhite || c == kGreen) << x << " row " << i;
        }
    // The value labels, "0" to "50", all end in one column near the frame.
    std::vector<int> labelEnds;
    for (int i = 0; i < rowCount; ++i) {
        int rightmost = -1;
        const int y = plot.bottom - rows[i].offset;
        for (int dy = -6; dy <= 6; ++dy)
            for (int x = 0; x < plot.left; ++x)
                if (y + dy >= 0 && y + dy < 200 && surface.At(x, y + dy) == kWhite)
                    rightmost = std::max(rightmost, x);
        labelEnds.push_back(rightmost);
    }
    EXPECT_EQ(labelEnds, std::vector<int>(rowCount, labelEnds[0]));
    EXPECT_GT(labelEnds[0], plot.left / 2);
    // Each point of the line but the last is drawn in the graph colour (the
    // grid may lie over it only where it crosses a grid row).
    std::vector<PixelPoint> points(60);
    const int m =
        ComputeLinePoints({plot.left, plot.top, plot.right, plot.bottom}, dataSet.values, 50,
                          graphScale.axisMin, graphScale.axisMax, -1, points.data(), 60);
    ASSERT_EQ(m, 50);
    for (int i = 0; i + 1 < m; ++i) EXPECT_EQ(surface.At(points[i].x, points[i].y), kGreen) << i;
    // The curve stays inside the frame; its last point lies on the right edge
    // of the plot area, one column right of the frame.
    const int green = surface.Count(kGreen);
    EXPECT_GT(green, 200);
    const RECT withEdges = {plot.left, plot.top, plot.right + 1, plot.bottom + 1};
    EXPECT_EQ(surface.Count(kGreen, &withEdges), green);
    EXPECT_EQ(surface.At(points[49].x, points[49].y), kBlack); // a polyline stops short of it
    EXPECT_GT(surface.Count(kWhite), 0);
}

// Spacings and widths of 2^31 - 1 pixels and data far from 0: what GDI gets
// is held near the plot area, so nothing is drawn over the value labels left
// of it, and what is drawn is where the data say.
TEST_F(RenderTest, FarSpacingsAndFarDataDrawInsideThePlotArea) {
    const struct {
        Spacings spacings;
        std::vector<double> values;
        int minimumDrawn; // pixels of the graph colour at least
    } cases[] = {
        {{'L', INT_MAX, -1, -1}, {0, 10, 5}, 50},            // a line to far right
        {{'L', 2, -1, -1}, {1e9, 1e9 + 50, 1e9 + 100}, 5},   // three points, small spread
        {{'B', -1, INT_MAX, 1}, {1, 2, 3}, 500},             // one bar to the right edge
        {{'B', -1, 10, 5}, {1e9, 1e9 + 50, 1e9 + 100}, 200}, // bars far from 0
        {{'B', -1, -1, -1}, {-1e308, 0, 1e308}, 200},        // a range beyond the scale
        {{'L', -1, -1, -1}, {-1e308, 0, 1e308}, 100},
        {{'L', -1, -1, -1}, {-1.79e308, 0, 1.79e308}, 100},
        {{'L', 2, -1, -1}, {-DBL_MAX, DBL_MAX, 0}, 10},
    };
    for (const auto& c : cases) {
        c.spacings.Apply();
        InstallValues(c.values);
        MemorySurface surface(300, 200, kBlack);
        const RECT rect = {0, 0, 300, 200};
        ASSERT_EQ(RenderGraph(&rect, surface.dc, nullptr), 1);
        // Every finite data set has a value axis, with its labels left of the plot area.
        ASSERT_GT(graphScale.step, 0) << c.spacings.type << c.values[0];
        const RECT plot = PlotArea(surface.dc, rect);
        const RECT labels = {0, 0, plot.left, 200};
        EXPECT_EQ(surface.Count(kGreen, &labels), 0) << c.spacings.type << c.values[0];
        EXPECT_GT(surface.Count(kWhite, &labels), 0) << c.spacings.type << c.values[0];
        EXPECT_GE(surface.Count(kGreen), c.minimumDrawn) << c.spacings.type << c.values[0];
    }
}

// White pixels of column x.
int WhiteInColumn(const MemorySurface& surface, int x) {
    int n = 0;
    for (int y = 0; y < surface.height; ++y) n += surface.At(x, y) == kWhite;
    return n;
}

TEST_F(RenderTest, OnADenserDisplayTheLabelsTheirMarginAndThePensGrow) {
    InstallValues(Ramp(50));
    const RECT rect = {0, 0, 300, 200};
    const int dpi = graphDpi;
    struct Drawn {
        int margin, half, gridPixels;
    };
    const auto draw = [&](int at) {
        graphDpi = at;
        MemorySurface surface(300, 200, kBlack);
        const RECT plot = GraphPlotArea(rect, surface.dc);
        RECT grid = rect;
        DrawGridAndLabels(&grid, surface.dc, kWhite, 1, 0);
        return Drawn{plot.left - rect.left, plot.top - rect.top, WhiteInColumn(surface, 150)};
    };
    const Drawn normal = draw(dpi);
    const Drawn denser = draw(dpi * 3 / 2);
    graphDpi = dpi;
    // Half a label line (the label font's height) and the labels' margin grow
    // by half, as far as whole pixels allow.
    EXPECT_NEAR(denser.half, normal.half * 3 / 2, 1);
    EXPECT_NEAR(denser.margin, normal.margin * 3 / 2, graphScale.labelChars);
    EXPECT_GT(denser.margin, normal.margin);
    // Every grid line and the frame are drawn with a pen twice as wide.
    EXPECT_EQ(denser.gridPixels, 2 * normal.gridPixels);
}

TEST_F(RenderTest, NothingIsDrawnOutsideTheTargetRectangle) {
    InstallValues({3, -1, 4, 1, -5, 9, 2, 6});
    const COLORREF blue = RGB(0, 0, 255);
    for (char type : {'L', 'B'}) {
        graphSettings.graphType = type;
        MemorySurface surface(300, 200, blue);
        const RECT rect = {40, 30, 240, 170};
        EXPECT_EQ(RenderGraph(&rect, surface.dc, nullptr), 1);
        const int outside = surface.width * surface.height - (200 * 140);
        EXPECT_EQ(surface.Count(blue) - surface.Count(blue, &rect), outside) << type;
        EXPECT_GT(surface.Count(kGreen, &rect), 0) << type;
    }
}

TEST_F(RenderTest, FilledLineAndWideLine) {
    InstallValues(Ramp(20));
    const RECT rect = {0, 0, 200, 150};
    graphSettings.lineWidth = 0;
    MemorySurface filled(200, 150, kBlack);
    RenderGraph(&rect, filled.dc, nullptr);
    const RECT plot = PlotArea(filled.dc, rect);
    // Below the rising line is filled, above it is background.
    EXPECT_EQ(filled.At(plot.right - 3, plot.bottom - 3), kGreen);
    EXPECT_EQ(filled.At(plot.left + 5, plot.top + 5), kBlack);
    graphSettings.lineWidth = 1;
    MemorySurface thin(200, 150, kBlack);
    RenderGraph(&rect, thin.dc, nullptr);
    EXPECT_EQ(thin.At(plot.right - 3, plot.bottom - 3), kBlack);
    graphSettings.lineWidth = 3;
    MemorySurface wide(200, 150, kBlack);
    RenderGraph(&rect, wide.dc, nullptr);
    EXPECT_GT(wide.Count(kGreen), 2 * thin.Count(kGreen));
    EXPECT_LT(wide.Count(kGreen), filled.Count(kGreen));
}

TEST_F(RenderTest, BarsOfTheFittedWidth) {
    InstallValues({1, 2, 3});
    graphSettings.graphType = 'B';
    MemorySurface surface(200, 150, kBlack);
    const RECT rect = {0, 0, 200, 150};
    RenderGraph(&rect, surface.dc, nullptr);
    const RECT plot = PlotArea(surface.dc, rect);
    const BarLayout layout = ComputeBarLayout(plot.right - plot.left, 3, -1, -1);
    const PlotRect p = {plot.left, plot.top, plot.right, plot.bottom};
    const int zero = ComputeZeroRow(p, graphScale.axisMin, graphScale.axisMax);
    for (int i = 0; i < 3; ++i) {
        const PlotRect bar =
            ComputeBarRect(p, layout, graphScale.axisMin, graphScale.axisMax, zero, i, i + 1.0);
        const int midX = (bar.left + bar.right) / 2;
        const int midY =
            (std::max<int>(bar.top, plot.top) + std::min<int>(bar.bottom, plot.bottom)) / 2;
        EXPECT_EQ(surface.At(midX, midY), kGreen) << i;
        EXPECT_NE(surface.At(bar.left - 2, midY), kGreen) << i; // the gaps around the bar
        EXPECT_NE(surface.At(bar.right + 1, midY), kGreen) << i;
    }
}

TEST_F(RenderTest, GridInTheBackColourLeavesTheWholeAreaToTheGraph) {
    InstallValues({0, 10});
    graphSettings.gridColor = graphSettings.backColor;
    MemorySurface surface(100, 80, kBlack);
    const RECT rect = {0, 0, 100, 80};
    RenderGraph(&rect, surface.dc, nullptr);
    EXPECT_EQ(surface.Count(kWhite), 0);
    PixelPoint points[4];
    ASSERT_EQ(ComputeLinePoints({0, 0, 100, 80}, dataSet.values, 2, graphScale.axisMin,
                                graphScale.axisMax, -1, points, 4),
              2);
    EXPECT_EQ(points[0].x, 0);   // the first point on the left edge
    EXPECT_EQ(points[1].x, 100); // the last on the right edge
    // The diagonal between them crosses every pixel column; its first point
    // lies on the bottom edge, just below the surface.
    EXPECT_EQ(points[0].y, 80);
    for (int x = 1; x < 100; ++x) {
        const RECT column = {x, 0, x + 1, 80};
        EXPECT_GT(surface.Count(kGreen, &column), 0) << x;
    }
}

TEST_F(RenderTest, NoColourAndUnusableDataDrawNothing) {
    const RECT rect = {0, 0, 100, 80};
    InstallValues(Ramp(10));
    graphSettings.graphColor = NO_COLOR;
    for (char type : {'L', 'B'}) {
        graphSettings.graphType = type;
        MemorySurface surface(100, 80, kBlack);
        RenderGraph(&rect, surface.dc, nullptr);
        EXPECT_EQ(surface.Count(kGreen), 0) << type;
        EXPECT_GT(surface.Count(kWhite), 0) << type; // the grid is still drawn
    }
    graphSettings = GraphSettings();
    const double nan = std::nan("");
    InstallValues({nan, nan, nan});
    MemorySurface surface(100, 80, kBlack);
    EXPECT_EQ(RenderGraph(&rect, surface.dc, nullptr), 0);
    EXPECT_EQ(surface.Count(kBlack), 100 * 80);
    InstallValues({});
    EXPECT_EQ(RenderGraph(&rect, surface.dc, nullptr), 0);
}

TEST_F(RenderTest, PaintingTheGraphAreaClearsItWithTheBackBrush) {
    SetClientSize(400, 260);
    InstallValues(Ramp(30));
    const RECT area = Client(graph);
    const COLORREF navy = RGB(0, 0, 128);
    graphSettings.backColor = navy;
    const HBRUSH kept = backBrush;
    backBrush = CreateSolidBrush(navy);
    MemorySurface surface(area.right, area.bottom, RGB(255, 0, 255));
    EXPECT_TRUE(PaintInto(surface));
    DeleteObject(backBrush);
    backBrush = kept;
    EXPECT_EQ(surface.Count(RGB(255, 0, 255)), 0);
    EXPECT_GT(surface.Count(kGreen), 0);
    // Within the outline that the clearing rectangle draws with the context's
    // pen, the area is the back colour with the graph over it.
    MemorySurface direct(area.right, area.bottom, navy);
    RenderGraph(&area, direct.dc, nullptr);
    int differing = 0;
    for (int y = 1; y + 1 < area.bottom; ++y)
        for (int x = 1; x + 1 < area.right; ++x) differing += surface.At(x, y) != direct.At(x, y);
    EXPECT_EQ(differing, 0);

    DRAWITEMSTRUCT other = {};
    other.CtlID = IDC_MENU_BUTTON;
    other.hDC = surface.dc;
    EXPECT_FALSE(
        SendMessageA(window, WM_DRAWITEM, IDC_MENU_BUTTON, reinterpret_cast<LPARAM>(&other)));
}

TEST_F(RenderTest, ScrollingPagesThroughAWideDataSet) {
    graphSettings.lineSpacing = 2;
    const RECT e = ChildRect(line);
    SetClientSize(300 + e.left, 260);
    InstallValues(Ramp(1000));
    UpdateGraphScrollRange(window);
    ASSERT_EQ(Client(graph).right, 300);
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(graph, SB_HORZ, &info));
    EXPECT_EQ(info.nMin, 0);
    EXPECT_EQ(info.nMax, 999);
    // The page is as many points as the plot area beside the value labels
    // holds, one every 3 pixels.
    const MemorySurface probe(1, 1, kBlack); // a device context for the label font's metrics
    const RECT plot = PlotArea(probe.dc, Client(graph));
    const int page = (plot.right - plot.left) / 3;
    ASSERT_LT(page, 100);
    EXPECT_EQ(info.nPage, static_cast<UINT>(page));

    SendMessageA(graph, WM_HSCROLL, SB_PAGERIGHT, 0); // as the graph area's own bar sends it
    EXPECT_EQ(graphScroller.GetPosition().x, page);
    SendMessageA(window, WM_HSCROLL, SB_LINERIGHT, 0);
    EXPECT_EQ(graphScroller.GetPosition().x, page + 1);
    SendMessageA(window, WM_HSCROLL, SB_LINELEFT, 0);
    EXPECT_EQ(graphScroller.GetPosition().x, page);

    const RECT area = Client(graph);
    MemorySurface painted(area.right, area.bottom, kBlack);
    PaintInto(painted);
    MemorySurface expected(area.right, area.bottom, kBlack);
    const int first = page;
    RenderGraph(&area, expected.dc, &first);
    EXPECT_EQ(painted.Pixels(), expected.Pixels());
    MemorySurface unscrolled(area.right, area.bottom, kBlack);
    RenderGraph(&area, unscrolled.dc, nullptr);
    EXPECT_NE(painted.Pixels(), unscrolled.Pixels());

    // Scrolled to the end, the last point is drawn: every point from the
    // position on fits the plot area.
    SendMessageA(window, WM_HSCROLL, SB_RIGHT, 0);
    const int last = graphScroller.GetPosition().x;
    EXPECT_EQ(last, 1000 - page); // the range less the page
    std::vector<PixelPoint> points(1002);
    EXPECT_EQ(ComputeLinePoints({plot.left, plot.top, plot.right, plot.bottom},
                                dataSet.values + last, 1000 - last, graphScale.axisMin,
                                graphScale.axisMax, 2, points.data(), 1002),
              1000 - last);
    SendMessageA(window, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 250), 0);
    EXPECT_EQ(graphScroller.GetPosition().x, 250);
    SendMessageA(window, WM_HSCROLL, SB_LEFT, 0);
    EXPECT_EQ(graphScroller.GetPosition().x, 0);
    SendMessageA(window, WM_HSCROLL, SB_PAGELEFT, 0);
    EXPECT_EQ(graphScroller.GetPosition().x, 0);

    // A new, shorter data set brings the position back into range.
    SendMessageA(window, WM_HSCROLL, SB_RIGHT, 0);
    InstallValues(Ramp(150));
    UpdateGraphScrollRange(window);
    const RECT shorter = PlotArea(probe.dc, Client(graph));
    EXPECT_EQ(graphScroller.GetPosition().x, 150 - (shorter.right - shorter.left) / 3);

    // A DATA transform whose values need wider labels narrows the page with them.
    Type("data*100000=");
    const RECT narrower = PlotArea(probe.dc, Client(graph));
    ASSERT_LT(narrower.right - narrower.left, shorter.right - shorter.left);
    GetScrollInfo(graph, SB_HORZ, &info);
    EXPECT_EQ(info.nPage, static_cast<UINT>((narrower.right - narrower.left) / 3));
}

TEST_F(RenderTest, NothingToScrollWithFittedSpacing) {
    const Spacings cases[] = {
        {'L', -1, -1, -1}, {'B', -1, -1, 2}, {'B', -1, 5, -1}, {'B', -1, 0, 0}};
    SetClientSize(300, 260);
    InstallValues(Ramp(1000));
    for (const auto& c : cases) {
        c.Apply();
        UpdateGraphScrollRange(window);
        SCROLLINFO info = {};
        info.cbSize = sizeof info;
        info.fMask = SIF_RANGE;
        GetScrollInfo(graph, SB_HORZ, &info);
        EXPECT_EQ(info.nMax, 0) << c.type << c.barWidth << c.barSpacing;
        SendMessageA(window, WM_HSCROLL, SB_PAGERIGHT, 0);
        EXPECT_EQ(graphScroller.GetPosition().x, 0);
    }
    graphSettings.graphType = 'B';
    graphSettings.barWidth = 4;
    graphSettings.barSpacing = 1;
    UpdateGraphScrollRange(window);
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    GetScrollInfo(graph, SB_HORZ, &info);
    EXPECT_EQ(info.nMax, 999);
    const MemorySurface probe(1, 1, kBlack); // a device context for the label font's metrics
    const RECT plot = PlotArea(probe.dc, Client(graph));
    const int page = (plot.right - plot.left) / 5;
    EXPECT_EQ(info.nPage, static_cast<UINT>(page));
    // Scrolled to the end, the last bar stands whole inside the plot area.
    SendMessageA(window, WM_HSCROLL, SB_RIGHT, 0);
    const int n = 1000 - graphScroller.GetPosition().x;
    EXPECT_EQ(n, page);
    const PlotRect plotRect = {plot.left, plot.top, plot.right, plot.bottom};
    const PlotRect lastBar = ComputeBarRect(
        plotRect, ComputeBarLayout(plot.right - plot.left, n, 4, 1), graphScale.axisMin,
        graphScale.axisMax, ComputeZeroRow(plotRect, graphScale.axisMin, graphScale.axisMax), n - 1,
        dataSet.values[999]);
    EXPECT_LE(lastBar.right, plot.right);

    // The dialog takes any int: a unit of 2^31 - 1 pixels and more shows no
    // whole point on the page, rather than wrapping round to a negative unit.
    const Spacings huge[] = {{'L', INT_MAX, -1, -1}, {'B', -1, INT_MAX, INT_MAX}};
    for (const auto& c : huge) {
        c.Apply();
        UpdateGraphScrollRange(window);
        GetScrollInfo(graph, SB_HORZ, &info);
        EXPECT_EQ(info.nMax, 999) << c.type;
        EXPECT_EQ(info.nPage, 0u) << c.type;
    }
}

} // namespace
