// The pointer over the graph area of the real main window: the readout of the
// point under it (mark and tooltip), and the wheel's scrolling and zooming.
#include "main_window_fixture.h"

#include "dialog_driver.h"
#include "window/graph_pointer_gui.h"
#include "window/graph_scroller_gui.h"

#include <cstdio>
#include <cstdlib>

namespace {

class GraphPointerTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        SetClientSize(640, 400);
    }
    void Plot(const std::string& text) {
        Escape();
        Type(text);
        Enter();
    }
    // The graph area's plot area, where the points lie.
    RECT PlotArea() const {
        HDC dc = GetDC(graph);
        const RECT plot = GraphPlotArea(Client(graph), dc);
        ReleaseDC(graph, dc);
        return plot;
    }
    void MoveTo(int x, int y) { SendMessageA(graph, WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }
    void Leave() { SendMessageA(graph, WM_MOUSELEAVE, 0, 0); }
    // A wheel turn over (x, y) of the graph area, as it reaches the graph area
    // under the pointer: keys are MK_ flags, the pointer in screen coordinates.
    void Wheel(int x, int y, int delta, WPARAM keys = 0) {
        POINT at = {x, y};
        ClientToScreen(graph, &at);
        SendMessageA(graph, WM_MOUSEWHEEL, MAKEWPARAM(keys, delta), MAKELPARAM(at.x, at.y));
    }
    // The text the tooltip shows, or "" when it does not show. Its window text,
    // not the text it would ask for now, which may not be the one it shows.
    std::string Readout() const {
        HWND tip = GraphPointerTip();
        if (!tip || !IsWindowVisible(tip)) return "";
        char text[256] = "";
        GetWindowTextA(tip, text, sizeof text);
        return text;
    }
    // The index the readout shows; -1 when none shows.
    int ReadIndex() const {
        int index = -1;
        return std::sscanf(Readout().c_str(), "Point:%d", &index) == 1 ? index : -1;
    }
    SCROLLINFO Scroll() const {
        SCROLLINFO info = {};
        info.cbSize = sizeof info;
        info.fMask = SIF_ALL;
        GetScrollInfo(graph, SB_HORZ, &info);
        return info;
    }
    // Whether the position lies in the range the scroll bar allows.
    static bool InRange(const SCROLLINFO& s) {
        const int last = s.nMax - static_cast<int>(s.nPage) + 1;
        return s.nPos >= s.nMin && s.nPos <= (last > s.nMin ? last : s.nMin);
    }
};

// The pixels where two pictures of the graph area differ.
std::vector<POINT> Differences(const MemorySurface& a, const MemorySurface& b) {
    std::vector<POINT> points;
    const std::vector<DWORD> pa = a.Pixels(), pb = b.Pixels();
    for (int i = 0; i < a.width * a.height; ++i)
        if (pa[i] != pb[i]) points.push_back({i % a.width, i / a.width});
    return points;
}

} // namespace

TEST_F(GraphPointerTest, ThePointUnderThePointerIsMarkedAndReadOut) {
    Plot("x*2 {0,100,1}"); // 100 points, x 0 to 99
    const RECT plot = PlotArea();
    const double spacing = (plot.right - plot.left) / 99.0;
    MemorySurface bare(Client(graph).right, Client(graph).bottom, kBlack);
    PaintInto(bare);

    const struct {
        int index;
        const char* readout;
    } cases[] = {
        {10, "Point:10  x:10  Value:20"},
        {57, "Point:57  x:57  Value:114"},
        {0, "Point:0  x:0  Value:0"},
    };
    for (const auto& c : cases) {
        const int x = plot.left + static_cast<int>(c.index * spacing + 0.5);
        MoveTo(x + 1, (plot.top + plot.bottom) / 2);
        EXPECT_EQ(Readout(), c.readout);
        // The mark: a cross of 17 inverted pixels centred on the point.
        MemorySurface marked(bare.width, bare.height, kBlack);
        PaintInto(marked);
        const double yScale = (plot.bottom - plot.top) / (graphScale.axisMax - graphScale.axisMin);
        const POINT centre = {
            x, plot.bottom - static_cast<int>((2.0 * c.index - graphScale.axisMin) * yScale + 0.5)};
        const std::vector<POINT> changed = Differences(bare, marked);
        EXPECT_EQ(changed.size(), 17u) << c.index;
        for (const POINT& p : changed) {
            EXPECT_TRUE((p.y == centre.y && std::abs(p.x - centre.x) <= 4) ||
                        (p.x == centre.x && std::abs(p.y - centre.y) <= 4))
                << c.index << ": " << p.x << "," << p.y;
            EXPECT_EQ(marked.At(p.x, p.y), RGB(255, 255, 255) ^ bare.At(p.x, p.y));
        }
    }
    // Values changed under a pointer that stays on its point are read out anew.
    Plot("data+1");
    MoveTo(plot.left + 2, (plot.top + plot.bottom) / 2);
    EXPECT_EQ(Readout(), "Point:0  x:0  Value:1");
    // So are values and points changed under a pointer that rests, once the
    // graph is painted again: one mark, on the point now under the pointer.
    const struct {
        const char* line; // a line to evaluate, or "" for Sort
        const char* readout;
    } resting[] = {
        {"", "Point:0  Value:1"}, // sorted values have no x
        {"0-x*3+7 {0,20,1}", "Point:0  x:0  Value:7"},
    };
    for (const auto& r : resting) {
        if (*r.line)
            Plot(r.line);
        else
            SendMessageA(window, WM_COMMAND, IDM_SORT_DATA, 0);
        MemorySurface unmarked(bare.width, bare.height, kBlack);
        DrawGraphArea(graph, unmarked.dc, Client(graph));
        MemorySurface painted(bare.width, bare.height, kBlack);
        PaintInto(painted);
        EXPECT_EQ(Readout(), r.readout) << r.line;
        EXPECT_EQ(Differences(unmarked, painted).size(), 17u) << r.line;
    }
    Plot("x*2 {0,100,1}");
    Leave();
    PaintInto(bare);
    // Off the plot area (over the labels) and out of the graph area: nothing.
    MoveTo(plot.left - 3, plot.top + 5);
    EXPECT_EQ(Readout(), "");
    MoveTo(plot.left + 20, plot.top + 5);
    EXPECT_NE(Readout(), "");
    Leave();
    EXPECT_EQ(Readout(), "");
    MemorySurface after(bare.width, bare.height, kBlack);
    PaintInto(after);
    EXPECT_TRUE(Differences(bare, after).empty());
}

TEST_F(GraphPointerTest, FileDataReadsOutIndexAndValueAndBarsTheBarUnderThePointer) {
    Plot("x {0,10,1}");
    InstallValues({5, -2, 7.25, 1234567}); // as a file read installs them: no x
    UpdateGraphScrollRange(window);
    const RECT plot = PlotArea();
    const double spacing = (plot.right - plot.left) / 3.0;
    MoveTo(plot.left + static_cast<int>(2 * spacing), plot.top + 3);
    EXPECT_EQ(Readout(), "Point:2  Value:7.25");

    graphSettings.graphType = 'B'; // 4 bars and 5 gaps of equal width
    const double pitch = 2 * (plot.right - plot.left) / 9.0;
    const struct {
        double at; // in pitches from the plot area's left edge
        const char* readout;
    } cases[] = {
        {1.8, "Point:1  Value:-2"},
        {0.6, "Point:0  Value:5"},
        {3.6, "Point:3  Value:1.2346e+6"},
    };
    for (const auto& c : cases) {
        MoveTo(plot.left + static_cast<int>(c.at * pitch), plot.bottom - 2);
        EXPECT_EQ(Readout(), c.readout) << c.at;
    }
    Leave();
    EXPECT_EQ(Readout(), "");
}

TEST_F(GraphPointerTest, CtrlWheelZoomsAroundThePointUnderThePointer) {
    Plot("x {0,1000,1}");
    const RECT plot = PlotArea();
    const int x = plot.left + (plot.right - plot.left) * 3 / 5;
    const int y = (plot.top + plot.bottom) / 2;
    MoveTo(x, y);
    const int index = ReadIndex();
    ASSERT_GT(index, 0);
    const int in[] = {0, 1, 2, 3, 4, 5, 7};
    for (int lineSpacing : in) {
        Wheel(x, y, WHEEL_DELTA, MK_CONTROL);
        EXPECT_EQ(graphSettings.lineSpacing, lineSpacing);
        EXPECT_TRUE(InRange(Scroll()));
        MoveTo(x, y);
        EXPECT_EQ(ReadIndex(), index) << "in to " << lineSpacing;
    }
    // The Graphing Options dialog shows the zoomed spacing.
    std::string shown;
    DialogDriver driver({{"Graph Configuration", [&](HWND d) {
                              shown = ItemText(d, IDC_LINE_SPACING);
                              ClickButton(d, IDCANCEL);
                          }}});
    SendMessageA(window, WM_COMMAND, IDM_GRAPHING_OPTIONS, 0);
    EXPECT_TRUE(driver.Finished()) << driver.Report();
    EXPECT_EQ(shown, "7");

    const int out[] = {5, 4, 3, 2, 1, 0, -1};
    for (int lineSpacing : out) {
        Wheel(x, y, -WHEEL_DELTA, MK_CONTROL);
        EXPECT_EQ(graphSettings.lineSpacing, lineSpacing);
        EXPECT_TRUE(InRange(Scroll()));
        MoveTo(x, y);
        if (lineSpacing >= 0) {
            EXPECT_EQ(ReadIndex(), index) << "out to " << lineSpacing;
        }
    }
    // Fitting is the last step out: the whole graph shows from its first point.
    Wheel(x, y, -WHEEL_DELTA, MK_CONTROL);
    EXPECT_EQ(graphSettings.lineSpacing, -1);
    EXPECT_EQ(Scroll().nPos, 0);

    // A turn of two notches zooms two steps; parts of a notch, as finer wheels
    // send them, zoom once they add up to a notch.
    Wheel(x, y, 2 * WHEEL_DELTA, MK_CONTROL);
    EXPECT_EQ(graphSettings.lineSpacing, 1);
    for (int quarter = 0; quarter < 3; ++quarter) Wheel(x, y, -WHEEL_DELTA / 4, MK_CONTROL);
    EXPECT_EQ(graphSettings.lineSpacing, 1);
    Wheel(x, y, -WHEEL_DELTA / 4, MK_CONTROL);
    EXPECT_EQ(graphSettings.lineSpacing, 0);
    Wheel(x, y, -WHEEL_DELTA, MK_CONTROL);
    ASSERT_EQ(graphSettings.lineSpacing, -1);

    // At the end of the graph the position stays in its range.
    MoveTo(plot.right - 1, y);
    const int last = ReadIndex();
    EXPECT_GE(last, 990);
    for (int step = 0; step < 4; ++step) {
        Wheel(plot.right - 1, y, WHEEL_DELTA, MK_CONTROL);
        EXPECT_TRUE(InRange(Scroll())) << step;
        MoveTo(plot.right - 1, y);
        EXPECT_EQ(ReadIndex(), last) << step;
    }
}

TEST_F(GraphPointerTest, BarsZoomByWidthAndGapTogether) {
    graphSettings.graphType = 'B';
    Plot("x {0,500,1}");
    const RECT plot = PlotArea();
    // Above the scroll bar that zooming in brings.
    const int x = (plot.left + plot.right) / 2, y = (plot.top + plot.bottom) / 2;
    MoveTo(x, y);
    const int index = ReadIndex();
    ASSERT_GE(index, 0);
    for (int step = 0; step < 5; ++step) {
        Wheel(x, y, WHEEL_DELTA, MK_CONTROL);
        EXPECT_GT(graphSettings.barWidth, 0);
        EXPECT_GE(graphSettings.barSpacing, 0);
        EXPECT_TRUE(InRange(Scroll()));
        MoveTo(x, y);
        EXPECT_EQ(ReadIndex(), index) << step;
    }
    for (int step = 0; step < 20 && graphSettings.barWidth > 0; ++step)
        Wheel(x, y, -WHEEL_DELTA, MK_CONTROL);
    EXPECT_EQ(graphSettings.barWidth, -1);
    EXPECT_EQ(graphSettings.barSpacing, -1);
}

TEST_F(GraphPointerTest, TheWheelScrollsATenthOfAPageAndShiftWheelAPage) {
    graphSettings.lineSpacing = 1;
    Plot("x {0,1000,1}");
    const RECT plot = PlotArea();
    const int x = (plot.left + plot.right) / 2, y = (plot.top + plot.bottom) / 2;
    const int page = static_cast<int>(Scroll().nPage);
    ASSERT_GT(page, 20);
    const struct {
        int delta;
        WPARAM keys;
        int move;
    } cases[] = {
        {-WHEEL_DELTA, 0, page / 10},   {-2 * WHEEL_DELTA, 0, 2 * (page / 10)},
        {WHEEL_DELTA, 0, -(page / 10)}, {-WHEEL_DELTA, MK_SHIFT, page},
        {WHEEL_DELTA, MK_SHIFT, -page},
    };
    for (const auto& c : cases) {
        const int before = Scroll().nPos;
        Wheel(x, y, c.delta, c.keys);
        EXPECT_EQ(Scroll().nPos, before + c.move) << c.delta << " " << c.keys;
    }
    // The position stays in its range at both ends.
    for (int i = 0; i < 20; ++i) Wheel(x, y, -WHEEL_DELTA, MK_SHIFT);
    EXPECT_TRUE(InRange(Scroll()));
    EXPECT_EQ(Scroll().nPos, 1000 - page);
    MoveTo(plot.right - 1, y);
    EXPECT_EQ(ReadIndex(), 999);
    for (int i = 0; i < 20; ++i) Wheel(x, y, WHEEL_DELTA, MK_SHIFT);
    EXPECT_EQ(Scroll().nPos, 0);
    // A turn outside the graph area leaves the graph alone.
    Wheel(x, -10, -WHEEL_DELTA, MK_SHIFT);
    EXPECT_EQ(Scroll().nPos, 0);
}
