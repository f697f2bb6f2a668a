#include "main_window_fixture.h"

#include "graph/statusbar_gui.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string TempFolder(const char* name) {
    char base[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, base);
    const std::string folder = std::string(base) + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

TEST(WriteProfileIntIfChanged, WritesOnlyWhenTheStoredTextDiffers) {
    const std::string file = TempFolder("tamsolo_profile") + "\\changed.ini";
    const std::string original = "[S]\r\nK = 12\r\nL=120\r\n";
    WriteFile(file, original);
    EXPECT_EQ(WriteProfileIntIfChanged(file.c_str(), "S", "K", 12), 1);
    EXPECT_EQ(ReadFile(file), original); // untouched, its spacing kept
    EXPECT_NE(WriteProfileIntIfChanged(file.c_str(), "S", "L", 12), 0);
    EXPECT_EQ(GetPrivateProfileIntA("S", "L", -1, file.c_str()), 12);
    EXPECT_NE(WriteProfileIntIfChanged(file.c_str(), "S", "K", -2147483647 - 1), 0);
    EXPECT_EQ(GetPrivateProfileIntA("S", "K", 0, file.c_str()), -2147483647 - 1);
    EXPECT_NE(WriteProfileIntIfChanged(file.c_str(), "S", "New", 7), 0);
    EXPECT_EQ(GetPrivateProfileIntA("S", "New", -1, file.c_str()), 7);
    DeleteFileA(file.c_str());
}

using StartupTest = MainWindowTest;

RECT WorkArea() {
    RECT area = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

TEST_F(StartupTest, ClosingWritesThePositionIntoTheSystemProfile) {
    // Minimised or maximised, the window's place in its normal state is kept.
    const struct {
        int show; // 0: left as it is
        int x, y;
    } cases[] = {{0, 123, 77}, {SW_MINIMIZE, 131, 85}, {SW_MAXIMIZE, 142, 96}};
    for (const auto& c : cases) {
        SetWindowPos(window, nullptr, c.x, c.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        if (c.show) ShowWindow(window, c.show);
        SendMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(GetProfileIntA("TamsoloCalc", "WindowPosX", -99), c.x) << c.show;
        EXPECT_EQ(GetProfileIntA("TamsoloCalc", "WindowPosY", -99), c.y) << c.show;
        ShowWindow(window, SW_RESTORE);
        ShowWindow(window, SW_HIDE);
    }
}

TEST_F(StartupTest, TheStatisticsBarIsForgottenWithTheWindow) {
    ASSERT_NE(statisticsBar(), nullptr);
    EXPECT_EQ(::statisticsBar.Window(), statisticsBar());
    DestroyWindow(window);
    window = nullptr;
    // The exit clean-up then finds no handle to destroy, which could by now
    // name another window.
    EXPECT_EQ(::statisticsBar.Window(), nullptr);
}

TEST_F(StartupTest, TheSavedPositionIsRestoredAtCreation) {
    RECT centred = {};
    GetWindowRect(window, &centred);
    const int w = centred.right - centred.left, h = centred.bottom - centred.top;
    const RECT area = WorkArea();
    const struct {
        const char* x;
        const char* y;
        POINT expected;
    } cases[] = {
        {"40", "30", {40, 30}},
        // Off the screen (a monitor since removed): back onto the work area,
        // as near as it goes to the saved place.
        {"5000", "4000", {area.right - w, area.bottom - h}},
        {"40", "4000", {40, area.bottom - h}},
        {"32000", "30", {area.right - w, 30}},
        // A negative coordinate leaves the window where the template centres it.
        {"-1", "30", {centred.left, centred.top}},
    };
    for (const auto& c : cases) {
        DestroyWindow(window);
        WriteProfileStringA("TamsoloCalc", "WindowPosX", c.x);
        WriteProfileStringA("TamsoloCalc", "WindowPosY", c.y);
        window = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN), nullptr,
                                    MainWindowProc, reinterpret_cast<LPARAM>(""));
        RECT r = {};
        GetWindowRect(window, &r);
        EXPECT_EQ(r.left, c.expected.x) << c.x << "," << c.y;
        EXPECT_EQ(r.top, c.expected.y) << c.x << "," << c.y;
        EXPECT_EQ(r.right - r.left, w);
        EXPECT_EQ(r.bottom - r.top, h);
    }
}

TEST_F(StartupTest, ASettingsFolderHoldsItsOwnSettingsFile) {
    const std::string folder = TempFolder("tamsolo_settings");
    const std::string file = folder + "\\TamsoloTools.ini";
    DeleteFileA(file.c_str());
    char previous[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, previous);
    {
        SavedProfileEntry savedFolder("Folders", "TamsoloTools");
        WriteProfileStringA("Folders", "TamsoloTools", folder.c_str());
        PrepareStartup();
        EXPECT_STREQ(settingsFile, ".\\TamsoloTools.ini");
        SetWindowPos(window, nullptr, 61, 52, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        SendMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(GetPrivateProfileIntA("TamsoloCalc", "WindowPosX", -1, file.c_str()), 61);
        EXPECT_EQ(GetPrivateProfileIntA("TamsoloCalc", "WindowPosY", -1, file.c_str()), 52);
        EXPECT_EQ(GetProfileIntA("TamsoloCalc", "WindowPosX", -99), -99);

        // Closing at the same place again writes nothing: the file keeps its bytes.
        const std::string marked = "[TamsoloCalc]\r\nWindowPosX = 61\r\nWindowPosY= 52\r\n";
        WriteFile(file, marked);
        SendMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(ReadFile(file), marked);

        // A folder that does not exist falls back to its parent.
        WriteProfileStringA("Folders", "TamsoloTools", (folder + "\\missing").c_str());
        EnterSettingsFolder("<TamsoloTools>", nullptr);
        char current[MAX_PATH] = "";
        GetCurrentDirectoryA(MAX_PATH, current);
        EXPECT_EQ(std::string(current), folder);
    }
    PrepareStartup();
    EXPECT_STREQ(settingsFile, "win.ini");
    char saved[MAX_PATH] = "";
    EnterSettingsFolder(previous, saved);
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_STREQ(current, previous);
    DeleteFileA(file.c_str());
}

// The height a font was made with, and the height of its characters in
// pixels, which TrueType fonts round to whole pixels per em.
struct FontHeights {
    int requested, cell;
};
FontHeights HeightsOf(HFONT font) {
    LOGFONTA description = {};
    GetObjectA(font, sizeof description, &description);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, previous);
    DeleteDC(dc);
    return {description.lfHeight, metrics.tmHeight};
}

TEST(StartupFont, FontModeSetsTheLineFont) {
    SavedProfileEntry savedFontMode("TamsoloSoftware", "FontMode");
    PrepareStartup();
    EXPECT_EQ(fontMode, -1);
    EXPECT_EQ(lineFont, static_cast<HFONT>(GetStockObject(ANSI_FIXED_FONT)));

    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    // Without a FontMode a denser display gets the stock font made larger.
    HFONT denser = CreateLineFont(144);
    EXPECT_NEAR(HeightsOf(denser).requested, HeightsOf(lineFont).requested * 3 / 2, 1);
    EXPECT_GE(HeightsOf(denser).cell, HeightsOf(lineFont).cell * 4 / 3);
    DeleteObject(denser);

    // fontDpi 0: the font made at start for the screen; else one made for that DPI.
    const struct {
        const char* mode;
        int fontDpi;
        int height;
    } cases[] = {{"12", 0, -MulDiv(12, dpi, 72)},
                 {"0", 0, 0},
                 {"30", 0, -MulDiv(30, dpi, 72)},
                 {"12", 144, -24},
                 {"9", 120, -15}};
    for (const auto& c : cases) {
        WriteProfileStringA("TamsoloSoftware", "FontMode", c.mode);
        PrepareStartup();
        HFONT made = c.fontDpi ? CreateLineFont(c.fontDpi) : lineFont;
        LOGFONTA font = {};
        ASSERT_EQ(GetObjectA(made, sizeof font, &font), static_cast<int>(sizeof font));
        if (made != lineFont) DeleteObject(made);
        EXPECT_STREQ(font.lfFaceName, "Courier New") << c.mode;
        EXPECT_EQ(font.lfHeight, c.height) << c.mode;
        EXPECT_EQ(font.lfWeight, 400);
        EXPECT_EQ(font.lfPitchAndFamily & 3, FIXED_PITCH);
        EXPECT_EQ(font.lfCharSet, DEFAULT_CHARSET);
    }
    WriteProfileStringA("TamsoloSoftware", "FontMode", nullptr);
    PrepareStartup();
}

TEST_F(StartupTest, MoveFromTheSystemMenuCentresTheWindow) {
    SetWindowPos(window, nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT before = {};
    GetWindowRect(window, &before);
    SendMessageA(window, WM_SYSCOMMAND, SC_MOVE, 0);
    const RECT area = WorkArea();
    RECT r = {};
    GetWindowRect(window, &r);
    const int w = before.right - before.left, h = before.bottom - before.top;
    EXPECT_EQ(r.right - r.left, w);
    EXPECT_EQ(r.bottom - r.top, h);
    EXPECT_EQ(r.left, area.left + (area.right - area.left - w) / 2);
    EXPECT_EQ(r.top, area.top + (area.bottom - area.top - h) / 2);
}

TEST_F(StartupTest, SizeFromTheSystemMenuMakesRoomForTheGraph) {
    RECT before = {};
    GetWindowRect(window, &before);
    SendMessageA(window, WM_SYSCOMMAND, SC_SIZE, 0);
    RECT r = {};
    GetWindowRect(window, &r);
    const int w = before.right - before.left;
    EXPECT_EQ(r.right - r.left, w);
    EXPECT_EQ(r.bottom - r.top, std::min(w / 2 + 73, 512));
    const RECT area = WorkArea();
    EXPECT_EQ(r.left, area.left + (area.right - area.left - w) / 2);
    EXPECT_GE(Client(graph).bottom, 20);
}

TEST_F(StartupTest, ADragEndedWithCtrlSnapsToTheEdge) {
    const RECT area = WorkArea();
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    BYTE held[256];
    std::copy(keys, keys + 256, held);
    const struct {
        int x, y;
        BYTE key;
        RECT expected;
    } cases[] = {
        {area.left - 30,
         area.top + 100,
         VK_CONTROL,
         {area.left, area.top, area.left + (area.right - area.left) / 2, area.bottom}},
        {area.left - 30,
         area.top - 5,
         VK_MENU,
         {area.left, area.top, area.left + (area.right - area.left) / 2,
          area.top + (area.bottom - area.top) / 2}},
        {area.left + 50,
         area.bottom - 20,
         VK_CONTROL,
         {area.left, area.bottom - (area.bottom - area.top) / 2, area.right, area.bottom}},
    };
    for (const auto& c : cases) {
        SetWindowPos(window, nullptr, c.x, c.y, 300, 120, SWP_NOZORDER);
        held[c.key] = 0x80;
        SetKeyboardState(held);
        SendMessageA(window, WM_EXITSIZEMOVE, 0, 0);
        held[c.key] = 0;
        SetKeyboardState(held);
        RECT r = {};
        GetWindowRect(window, &r);
        EXPECT_TRUE(EqualRect(&r, &c.expected)) << c.x << "," << c.y << ": " << r.left << ","
                                                << r.top << "," << r.right << "," << r.bottom;
    }
    // Without Ctrl or Alt the window stays where it was dropped.
    SetWindowPos(window, nullptr, area.left - 30, area.top + 100, 300, 120, SWP_NOZORDER);
    SendMessageA(window, WM_EXITSIZEMOVE, 0, 0);
    RECT r = {};
    GetWindowRect(window, &r);
    EXPECT_EQ(r.left, area.left - 30);
    SetKeyboardState(keys);
}

TEST_F(StartupTest, ADpiChangeTakesTheSuggestedRectangleAndRemakesTheFonts) {
    const HFONT before = lineFont;
    const FontHeights heights = HeightsOf(before);
    const int dpi = graphDpi;
    RECT original = {};
    GetWindowRect(window, &original);
    const RECT lineAt = ChildRect(line), buttonAt = ChildRect(button);
    const struct {
        int dpi;
        RECT suggested;
    } cases[] = {{dpi * 3 / 2, {40, 30, 40 + 700, 30 + 110}},
                 {dpi * 2, {40, 30, 40 + 900, 30 + 150}},
                 {dpi * 5 / 4, {40, 30, 40 + 600, 30 + 100}},
                 {dpi, original}};
    for (const auto& c : cases) {
        SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(c.dpi, c.dpi),
                     reinterpret_cast<LPARAM>(&c.suggested));
        RECT r = {};
        GetWindowRect(window, &r);
        EXPECT_TRUE(EqualRect(&r, &c.suggested)) << c.dpi;
        EXPECT_EQ(graphDpi, c.dpi);
        const HFONT font = reinterpret_cast<HFONT>(SendMessageA(line, WM_GETFONT, 0, 0));
        EXPECT_EQ(font, lineFont);
        EXPECT_NEAR(HeightsOf(font).requested, heights.requested * c.dpi / dpi, 1) << c.dpi;
        EXPECT_GE(HeightsOf(font).cell, heights.cell * c.dpi / dpi * 9 / 10) << c.dpi;
        // The line holds its font's letters, and it and the button grow with the DPI.
        EXPECT_GE(Client(line).bottom, HeightsOf(font).cell) << c.dpi;
        const RECT l = ChildRect(line), b = ChildRect(button);
        EXPECT_NEAR(l.bottom - l.top, (lineAt.bottom - lineAt.top) * c.dpi / dpi, 1) << c.dpi;
        EXPECT_NEAR(b.right - b.left, (buttonAt.right - buttonAt.left) * c.dpi / dpi, 1) << c.dpi;
        EXPECT_NEAR(b.bottom - b.top, (buttonAt.bottom - buttonAt.top) * c.dpi / dpi, 1) << c.dpi;
        EXPECT_LE(l.right, b.left) << c.dpi;
    }
    // Back at the first DPI, the line has its first font again, and the line and
    // the button their first places.
    EXPECT_EQ(lineFont, before);
    const RECT lineBack = ChildRect(line), buttonBack = ChildRect(button);
    EXPECT_TRUE(EqualRect(&lineBack, &lineAt));
    EXPECT_TRUE(EqualRect(&buttonBack, &buttonAt));
}

TEST_F(StartupTest, AWindowLargerThanTheWorkAreaIsMadeToFit) {
    const RECT area = WorkArea();
    SetWindowPos(window, nullptr, area.left - 100, area.top + 20, area.right - area.left + 300,
                 area.bottom - area.top + 10, SWP_NOZORDER);
    FitWindowIntoWorkArea(window);
    RECT r = {};
    GetWindowRect(window, &r);
    EXPECT_TRUE(EqualRect(&r, &area))
        << r.left << "," << r.top << "," << r.right << "," << r.bottom;
}

} // namespace
