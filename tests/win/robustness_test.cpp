#include "main_window_fixture.h"

#include "window/graph_scroller_gui.h"

#include <cmath>

namespace {

using RobustnessTest = MainWindowTest;

// The window still evaluates a line and paints after whatever came before.
void ExpectWindowWorks(MainWindowTest& test, HWND window, HWND line) {
    SendMessageA(window, WM_COMMAND, IDCANCEL, 0);
    SetWindowTextA(line, "2+3=");
    char text[16] = "";
    GetWindowTextA(line, text, sizeof text);
    EXPECT_STREQ(text, "5");
}

TEST_F(RobustnessTest, ZeroAndNegativeSizes) {
    SendMessageA(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(0, 0));
    SendMessageA(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(-50, -20));
    SetWindowPos(window, nullptr, 0, 0, -100, -100, SWP_NOMOVE | SWP_NOZORDER);
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER);
    Type("x^2=");
    EXPECT_EQ(LineText(), "x^2");
    ExpectWindowWorks(*this, window, line);
    SetClientSize(500, 300);
    EXPECT_EQ(ChildRect(button).right, 498);
    const RECT area = Client(graph);
    MemorySurface surface(area.right, area.bottom, kBlack);
    EXPECT_TRUE(PaintInto(surface));
}

TEST_F(RobustnessTest, TheLongestLineAndLonger) {
    // 767 times "1+" then "1=": 1535 characters, the most that is read.
    std::string text;
    for (int i = 0; i < 767; ++i) text += "1+";
    text += "1=";
    ASSERT_EQ(text.size(), 1536u);
    text.erase(0, 1); // "+1+1...": still 1535 characters
    SetWindowTextA(line, text.c_str());
    EXPECT_EQ(LineText(), "767");
    // Beyond 1535 characters the "=" at the end is not seen.
    SetWindowTextA(line, (std::string(1600, '1') + "=").c_str());
    EXPECT_EQ(LineText().size(), 1601u);
    ExpectWindowWorks(*this, window, line);
}

TEST_F(RobustnessTest, TenThousandOpeningBrackets) {
    Type(std::string(10000, '('));
    Type("=");
    // Too long to be read to its end: nothing is evaluated, nothing breaks.
    EXPECT_EQ(LineText().size(), 10001u);
    Escape();
    Type(std::string(1500, '(') + "1=");
    EXPECT_EQ(LineText(), "INVALID");
    EXPECT_EQ(Selection(), std::make_pair(0, 7));
    ExpectWindowWorks(*this, window, line);
}

TEST_F(RobustnessTest, APlotOfNothingButNaNOrInfinity) {
    SetClientSize(400, 300);
    for (const char* equation : {"sqrt(-1-x^2)=", "1/(x-x)=", "-1/(x-x)="}) {
        Escape();
        Type(equation);
        ASSERT_GT(dataSet.count, 0) << equation;
        const RECT area = Client(graph);
        MemorySurface surface(area.right, area.bottom, kBlack);
        EXPECT_TRUE(PaintInto(surface));
        EXPECT_EQ(surface.Count(kGreen), 0) << equation;
        EXPECT_EQ(StatusText(0), "Data Points:" + std::to_string(dataSet.count));
    }
    ExpectWindowWorks(*this, window, line);
}

TEST_F(RobustnessTest, TenMillionPoints) {
    SetClientSize(1000, 300);
    Type("x {0,1,0,10000000}=");
    ASSERT_EQ(dataSet.count, 10000000);
    EXPECT_EQ(StatusText(0), "Data Points:10000000");
    for (int part = 0; part < 4; ++part) EXPECT_TRUE(PartHoldsItsText(part)) << part;
    const RECT area = Client(graph);
    MemorySurface surface(area.right, area.bottom, kBlack);
    EXPECT_TRUE(PaintInto(surface));
    EXPECT_GT(surface.Count(kGreen), area.right / 2);
    graphSettings.lineSpacing = 0;
    UpdateGraphScrollRange(window);
    SendMessageA(window, WM_HSCROLL, SB_RIGHT, 0);
    EXPECT_GT(GetScrollPos(graph, SB_HORZ), 9000000);
    EXPECT_TRUE(PaintInto(surface));
    ExpectWindowWorks(*this, window, line);
}

TEST_F(RobustnessTest, APlotThatCannotBeAllocatedKeepsThePreviousGraph) {
    SetClientSize(400, 300);
    InstallValues({1, 2, 3});
    const double* before = dataSet.values;
    Type("x {0,1,0,2000000000}=");
    EXPECT_EQ(LineText(), "x {0,1,0,2000000000}");
    ASSERT_EQ(dataSet.count, 3);
    EXPECT_EQ(dataSet.values, before);
    EXPECT_EQ(dataSet.values[2], 3);
    const RECT area = Client(graph);
    MemorySurface surface(area.right, area.bottom, kBlack);
    PaintInto(surface);
    EXPECT_GT(surface.Count(kGreen), 0);
}

TEST_F(RobustnessTest, DataOnAnEmptyDataSet) {
    Type("data*2=");
    EXPECT_EQ(LineText(), "data*2");
    EXPECT_EQ(dataSet.count, 0);
    EXPECT_EQ(StatusText(0), "Data Points:0");
    // The window is still only the line: the bar stays out of sight with the graph area.
    EXPECT_LE(Client(graph).bottom, 0);
    EXPECT_FALSE(IsShown(statisticsBar()));
    ExpectWindowWorks(*this, window, line);
}

} // namespace
