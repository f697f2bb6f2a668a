#include "main_window_fixture.h"

#include "graph/statusbar_gui.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using LayoutTest = MainWindowTest;

TEST_F(LayoutTest, AtStartOnlyTheLineAndTheMenuButtonShow) {
    char title[64] = "";
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "TamsoloCalc");
    EXPECT_TRUE(IsShown(line));
    const RECT g = ChildRect(graph);
    EXPECT_LE(g.bottom - g.top, 0); // no room for the graph area yet
    ASSERT_NE(statisticsBar(), nullptr);
    EXPECT_FALSE(IsShown(statisticsBar()));
    EXPECT_EQ(GetFocus(), line);
    const LONG exStyle = GetWindowLongA(window, GWL_EXSTYLE);
    EXPECT_NE(exStyle & WS_EX_ACCEPTFILES, 0);
    const DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    const DWORD flags[] = {WS_POPUP,      WS_CAPTION,     WS_SYSMENU,
                           WS_THICKFRAME, WS_MINIMIZEBOX, WS_MAXIMIZEBOX};
    for (DWORD flag : flags) EXPECT_EQ(style & flag, flag);
    EXPECT_EQ(GetWindowLongA(graph, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(line, WM_GETFONT, 0, 0)), lineFont);
    char buttonText[32] = "";
    GetWindowTextA(button, buttonText, sizeof buttonText);
    EXPECT_STREQ(buttonText, "Menu...");
    // The class icon is icon 103 of the program, in both sizes.
    EXPECT_NE(GetClassLongPtrA(window, GCLP_HICON), 0);
    for (int size : {16, 32}) {
        HANDLE icon = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON,
                                 size, size, 0);
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(static_cast<HICON>(icon), &info)) << size;
        BITMAP colour = {};
        GetObjectA(info.hbmColor, sizeof colour, &colour);
        EXPECT_EQ(colour.bmWidth, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(static_cast<HICON>(icon));
    }
}

TEST_F(LayoutTest, ResizingKeepsTheGapsAndGivesTheGraphTheRest) {
    for (const SIZE size : {SIZE{700, 400}, SIZE{420, 300}, SIZE{1000, 200}}) {
        SetClientSize(size.cx, size.cy);
        const RECT client = Client(window);
        const RECT m = ChildRect(button);
        const RECT e = ChildRect(line);
        const RECT g = ChildRect(graph);
        EXPECT_EQ(m.right, client.right - 2) << size.cx;
        EXPECT_EQ(e.right, m.left - 10) << size.cx;
        EXPECT_EQ(g.left, e.left);
        EXPECT_EQ(g.top, e.bottom + 4);
        EXPECT_EQ(g.right, client.right);
        RECT bar = {};
        GetWindowRect(statisticsBar(), &bar);
        EXPECT_TRUE(IsShown(statisticsBar()));
        EXPECT_EQ(g.bottom, client.bottom - (bar.bottom - bar.top));
        EXPECT_TRUE(IsShown(graph));

        int edges[8] = {};
        ASSERT_EQ(SendMessageA(statisticsBar(), SB_GETPARTS, 8, reinterpret_cast<LPARAM>(edges)),
                  4);
        HDC dc = GetDC(statisticsBar());
        TEXTMETRICA metrics = {};
        GetTextMetricsA(dc, &metrics);
        ReleaseDC(statisticsBar(), dc);
        const int share = (client.right - 15 * metrics.tmAveCharWidth) / 3;
        EXPECT_EQ(edges[0], 15 * metrics.tmAveCharWidth);
        EXPECT_EQ(edges[1], edges[0] + share);
        EXPECT_EQ(edges[2], edges[1] + share);
        EXPECT_EQ(edges[3], -1);
    }
    // Back to a strip: the graph area and the bar go out of sight again.
    const RECT e = ChildRect(line);
    SetClientSize(500, e.bottom + 2);
    EXPECT_FALSE(IsShown(statisticsBar()));
    const RECT g = ChildRect(graph);
    EXPECT_LE(g.bottom - g.top, 0);
}

TEST_F(LayoutTest, TheLineIsGreenOnBlack) {
    HDC dc = CreateCompatibleDC(nullptr);
    const INT_PTR brush = SendMessageA(window, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(line));
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(brush), GetStockObject(BLACK_BRUSH));
    EXPECT_EQ(GetTextColor(dc), kGreen);
    EXPECT_EQ(GetBkColor(dc), kBlack);
    DeleteDC(dc);
}

// What reaches the main window, recorded before its own procedure runs.
struct Arrival {
    UINT message;
    WPARAM first;
    LPARAM second;
    bool operator==(const Arrival& other) const {
        return message == other.message && first == other.first && second == other.second;
    }
};
std::vector<Arrival> arrivals;
WNDPROC mainWindowProc = nullptr;

LRESULT CALLBACK RecordArrival(HWND window, UINT message, WPARAM first, LPARAM second) {
    arrivals.push_back({message, first, second});
    return CallWindowProcA(mainWindowProc, window, message, first, second);
}

TEST_F(LayoutTest, TheGraphAreaHandsMouseMessagesToTheMainWindow) {
    const Arrival handedOn[] = {
        {WM_MOUSEMOVE, 0, MAKELPARAM(7, 9)},
        {WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(7, 9)},
        {WM_MOUSEHWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(7, 9)},
        {WM_XBUTTONDOWN, MAKEWPARAM(MK_XBUTTON1, XBUTTON1), MAKELPARAM(7, 9)},
        {WM_XBUTTONUP, MAKEWPARAM(0, XBUTTON2), MAKELPARAM(7, 9)},
        {WM_XBUTTONDBLCLK, MAKEWPARAM(MK_XBUTTON2, XBUTTON2), MAKELPARAM(7, 9)},
    };
    mainWindowProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordArrival)));
    for (const Arrival& sent : handedOn) {
        arrivals.clear();
        SendMessageA(graph, sent.message, sent.first, sent.second);
        const bool arrived = std::find(arrivals.begin(), arrivals.end(), sent) != arrivals.end();
        EXPECT_TRUE(arrived) << std::hex << sent.message;
    }
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(mainWindowProc));

    MSG stale;
    while (PeekMessageA(&stale, window, 0, 0, PM_REMOVE)) {
    }
    SendMessageA(graph, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    MSG message = {};
    ASSERT_TRUE(PeekMessageA(&message, window, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(message.wParam, static_cast<WPARAM>(IDM_GRAPHING_OPTIONS));
    // A click does not make the graph area take the focus like a button would.
    SetFocus(line);
    SendMessageA(graph, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(graph, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_NE(GetFocus(), graph);
}

struct LineCase {
    const char* typed;
    const char* shown;
    int selectionStart;
    int selectionEnd;
};

using CalculationLineTest = MainWindowTest;

TEST_F(CalculationLineTest, TypedLinesEndingInEquals) {
    const LineCase cases[] = {
        {"2+3=", "5", 1, 1},
        {"===", "", 0, 0},
        {"1234567=", "1,234,567", 9, 9},
        {"1E+3=", "1,000", 5, 5},
        {"1e-3*1000=", "1", 1, 1},
        {"max(1,2)=", "2", 1, 1},
        {"(=", "INVALID", 0, 7},
        {"10^400=", "+INFINITY", 0, 9},
        {"-1*10^400=", "-INFINITY", 0, 9},
        {"1,234+1==", "1,235", 5, 5},
        {"2 + 3 ===", "5", 1, 1},
        {"3<=", "3<=", 3, 3}, // the "=" after "<", ">" or "!" belongs to the operator
        {"2e3=", "2,000", 5, 5},
        {"1.5e10*2=", "30,000,000,000", 14, 14},
        {"1e300*1e300=", "+INFINITY", 0, 9},
    };
    for (const auto& c : cases) {
        Escape();
        Type(c.typed);
        EXPECT_EQ(LineText(), c.shown) << c.typed;
        EXPECT_EQ(Selection(), std::make_pair(c.selectionStart, c.selectionEnd)) << c.typed;
        EXPECT_EQ(dataSet.count, 0) << c.typed;
    }
}

TEST_F(CalculationLineTest, AnEqualsSignBeforeTheEndStartsNothing) {
    Type("23");
    SendMessageA(line, EM_SETSEL, 1, 1);
    Type("=");
    EXPECT_EQ(LineText(), "2=3");
    EXPECT_EQ(Selection(), std::make_pair(2, 2));
    SetWindowTextA(line, "1=2=3");
    EXPECT_EQ(LineText(), "1=2=3");
}

TEST_F(CalculationLineTest, GoingOnTypingAfterAResult) {
    Type("2+3=");
    Type("*2=");
    EXPECT_EQ(LineText(), "10");
    Type("0000=");
    EXPECT_EQ(LineText(), "100,000");
    Type("*2=");
    EXPECT_EQ(LineText(), "200,000");
}

TEST_F(CalculationLineTest, EnterAndEscape) {
    Type("2+3");
    SendMessageA(line, EM_SETSEL, 0, 0); // caret at the start: Enter still appends
    Enter();
    EXPECT_EQ(LineText(), "5");
    EXPECT_EQ(Selection(), std::make_pair(1, 1));
    Escape();
    EXPECT_EQ(LineText(), "");
    EXPECT_TRUE(IsWindow(window));
    Enter(); // an empty line: "=" alone is cleared
    EXPECT_EQ(LineText(), "");
    for (const char* comparison : {"3<=4", "3>=4", "3!=4"}) {
        Escape();
        Type(comparison);
        Enter();
        EXPECT_EQ(LineText(), comparison[1] == '>' ? "0" : "1") << comparison;
    }
}

TEST_F(CalculationLineTest, TheBaseAndTheDisplayFlagsSteerTheResult) {
    numberBase = 16;
    Type("1E+3=");
    EXPECT_EQ(LineText(), "21");
    Escape();
    numberBase = 10;
    pendingDisplayBase = 16;
    Type("255=");
    EXPECT_EQ(LineText(), "FF");
    pendingDisplayBase = 0;
    Escape();
    digitGrouping = 0;
    Type("1234567=");
    EXPECT_EQ(LineText(), "1234567");
}

TEST_F(CalculationLineTest, APlotKeepsTheEquationAndGrowsTheWindow) {
    RECT before = {};
    GetWindowRect(window, &before);
    Type("x^2");
    Enter();
    EXPECT_EQ(LineText(), "x^2");
    EXPECT_EQ(Selection(), std::make_pair(3, 3));
    RECT after = {};
    GetWindowRect(window, &after);
    const int width = before.right - before.left;
    EXPECT_EQ(after.bottom - after.top, std::min(width / 2 + 73, 512));
    const RECT area = Client(graph);
    EXPECT_GE(area.bottom, 20);
    // One point per pixel column from -10 toward 10.
    EXPECT_GE(dataSet.count, area.right - 1);
    EXPECT_LE(dataSet.count, area.right);
    EXPECT_EQ(dataSet.values[0], 100);
    EXPECT_TRUE(IsShown(statisticsBar()));
    EXPECT_EQ(StatusText(0), "Data Points:" + std::to_string(dataSet.count));
    EXPECT_EQ(StatusText(2), "Max Value:100");
    EXPECT_EQ(StatusText(1).rfind("Min Value:", 0), 0u);
    EXPECT_EQ(StatusText(3).rfind("Avg Value:33.", 0), 0u);
}

TEST_F(CalculationLineTest, SampleEquationsWithRanges) {
    Type("sin( x ) {0,6*pi}=");
    EXPECT_EQ(LineText(), "sin( x ) {0,6*pi}");
    ASSERT_GT(dataSet.count, 100);
    EXPECT_EQ(dataSet.values[0], 0);
    const int width = Client(graph).right;
    EXPECT_GE(dataSet.count, width - 1);
    EXPECT_LE(dataSet.count, width);

    Escape();
    Type("y * rand(0.99,1.01,0.0001) {100}=");
    EXPECT_EQ(LineText(), "y * rand(0.99,1.01,0.0001) {100}");
    ASSERT_GT(dataSet.count, 1);
    EXPECT_GE(dataSet.values[0], 99); // y starts at 100
    EXPECT_LE(dataSet.values[0], 101);

    Escape();
    Type("x {0,1,0,5}=");
    ASSERT_EQ(dataSet.count, 5);
    EXPECT_EQ(dataSet.values[1], 0.2);
}

TEST_F(CalculationLineTest, DataTransformsTheValues) {
    SetClientSize(500, 300);
    InstallValues({1, 2, 3});
    Type("data*2=");
    EXPECT_EQ(LineText(), "data*2");
    ASSERT_EQ(dataSet.count, 3);
    EXPECT_EQ(dataSet.values[0], 2);
    EXPECT_EQ(dataSet.values[1], 4);
    EXPECT_EQ(dataSet.values[2], 6);
    EXPECT_EQ(graphScale.dataMax, 6);
    EXPECT_EQ(StatusText(0), "Data Points:3");
    EXPECT_EQ(StatusText(1), "Min Value:2");
    EXPECT_EQ(StatusText(2), "Max Value:6");
    EXPECT_EQ(StatusText(3), "Avg Value:4");
    EXPECT_TRUE(IsShown(statisticsBar()));

    Type("-1="); // the line now reads data*2-1
    EXPECT_EQ(dataSet.values[2], 11);
}

// DATA stands for exactly each value in every base; the rest of the line is
// read in the base.
TEST_F(CalculationLineTest, DataKeepsTheValuesItDoesNotChangeInEveryBase) {
    const std::vector<double> values = {1e-7, 1e300, -0.5, 123.4567891, 36028797018963976.0, 10, 3};
    std::vector<double> doubled;
    for (double v : values) doubled.push_back(v * 2);
    const struct {
        int base;
        const char* two;
    } bases[] = {{2, "10"}, {8, "2"}, {10, "2"}, {16, "2"}};
    for (const auto& b : bases) {
        numberBase = b.base;
        InstallValues(values);
        Escape();
        Type("data*1=");
        EXPECT_EQ(std::vector<double>(dataSet.values, dataSet.values + dataSet.count), values)
            << b.base;
        Escape();
        Type(std::string("data*") + b.two + "=");
        EXPECT_EQ(std::vector<double>(dataSet.values, dataSet.values + dataSet.count), doubled)
            << b.base;
    }
    InstallValues({1, 2});
    Escape();
    Type("data+a="); // base 16
    EXPECT_EQ(std::vector<double>(dataSet.values, dataSet.values + dataSet.count),
              (std::vector<double>{11, 12}));
}

TEST_F(CalculationLineTest, XAndYWinOverData) {
    InstallValues({1, 2, 3});
    Type("x*data=");
    EXPECT_EQ(LineText(), "x*data");
    EXPECT_GT(dataSet.count, 3);
}

} // namespace

namespace {

// Where the main popup menu showed, read from inside its own loop by a timer,
// which then closes it (after two seconds in any case, so no test can hang).
POINT popupCorner = {-1, -1};
int popupTicks = 0;
void CALLBACK ClosePopup(HWND, UINT, UINT_PTR id, DWORD) {
    HWND popup = FindWindowA("#32768", nullptr);
    if (++popupTicks > 40) EndMenu();
    if (!popup || !IsWindowVisible(popup)) return;
    RECT r = {};
    GetWindowRect(popup, &r);
    popupCorner = {r.left, r.top};
    KillTimer(nullptr, id);
    EndMenu();
}

using PopupMenuTest = MainWindowTest;

TEST_F(PopupMenuTest, TheMenuButtonOpensThePopupBelowItself) {
    ASSERT_NE(mainPopupMenu, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    SetWindowPos(window, nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    popupCorner = {-1, -1};
    popupTicks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, ClosePopup);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_MENU_BUTTON, BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
    KillTimer(nullptr, timer);
    RECT b = {};
    GetWindowRect(button, &b);
    EXPECT_EQ(popupCorner.x, b.left);
    EXPECT_EQ(popupCorner.y, b.bottom);
    EXPECT_EQ(GetFocus(), line);
}

TEST_F(PopupMenuTest, ARightClickOverTheGraphAreaOpensThePopupAtThePointer) {
    ASSERT_NE(mainPopupMenu, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    SetWindowPos(window, nullptr, 100, 100, 600, 300, SWP_NOZORDER);
    SetCursorPos(400, 250);
    popupCorner = {-1, -1};
    popupTicks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, ClosePopup);
    // Posted, as the mouse's own message arrives, so that the message position is the pointer's.
    PostMessageA(graph, WM_RBUTTONUP, 0, MAKELPARAM(20, 20));
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
        if (message.message == WM_RBUTTONUP) break;
    }
    KillTimer(nullptr, timer);
    EXPECT_EQ(popupCorner.x, 400);
    EXPECT_EQ(popupCorner.y, 250);
    EXPECT_EQ(GetFocus(), line);
}

} // namespace
