#pragma once
// A test fixture that creates the real main dialog from resource 100 with
// MainWindowProc and drives it through messages as a user's actions arrive.
#include "graph/dataset.h"
#include "graph/graph_scale.h"
#include "graph/graph_settings.h"
#include "graph/render_gui.h"
#include "numtext/display_state.h"
#include "resources/resource_ids.h"
#include "window/main_window_gui.h"
#include "window/startup_gui.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

// Keeps a profile entry of the system profile as it was before a test.
class SavedProfileEntry {
  public:
    SavedProfileEntry(const char* section, const char* key) : section(section), key(key) {
        char text[512];
        GetProfileStringA(section, key, "\x01", text, sizeof text);
        existed = std::string(text) != "\x01";
        value = text;
        WriteProfileStringA(section, key, nullptr);
    }
    ~SavedProfileEntry() { WriteProfileStringA(section, key, existed ? value.c_str() : nullptr); }
    SavedProfileEntry(const SavedProfileEntry&) = delete;
    SavedProfileEntry& operator=(const SavedProfileEntry&) = delete;

  private:
    const char* section;
    const char* key;
    bool existed = false;
    std::string value;
};

// A 32-bit top-down DIB section selected into a memory device context.
class MemorySurface {
  public:
    MemorySurface(int width, int height, COLORREF fill) : width(width), height(height) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits),
                                  nullptr, 0);
        previous = SelectObject(dc, bitmap);
        Fill(fill);
    }
    ~MemorySurface() {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    MemorySurface(const MemorySurface&) = delete;
    MemorySurface& operator=(const MemorySurface&) = delete;

    void Fill(COLORREF colour) {
        GdiFlush();
        for (int i = 0; i < width * height; ++i) bits[i] = ToPixel(colour);
    }
    // The pixel as a COLORREF.
    COLORREF At(int x, int y) const {
        GdiFlush();
        const DWORD p = bits[y * width + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    int Count(COLORREF colour, const RECT* within = nullptr) const {
        int n = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const bool inside = !within || (x >= within->left && x < within->right &&
                                                y >= within->top && y < within->bottom);
                if (inside && At(x, y) == colour) ++n;
            }
        return n;
    }
    std::vector<DWORD> Pixels() const {
        GdiFlush();
        return std::vector<DWORD>(bits, bits + width * height);
    }

    const int width;
    const int height;
    HDC dc = nullptr;

  private:
    static DWORD ToPixel(COLORREF c) {
        return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    }
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    DWORD* bits = nullptr;
};

constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// Puts values into the data set and the scale, as a file read would.
inline void InstallValues(const std::vector<double>& values) {
    double* storage = values.empty() ? nullptr : AllocateDataValues(values.size());
    for (size_t i = 0; i < values.size(); ++i) storage[i] = values[i];
    InstallDataSet(storage, static_cast<int>(values.size()));
    graphScale.SetData(dataSet.values, dataSet.count, 8);
}

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetProgramState();
        window = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN), nullptr,
                                    MainWindowProc, reinterpret_cast<LPARAM>(""));
        ASSERT_NE(window, nullptr);
        line = GetDlgItem(window, IDC_CALC_LINE);
        graph = GetDlgItem(window, IDC_GRAPH_AREA);
        button = GetDlgItem(window, IDC_MENU_BUTTON);
    }
    void TearDown() override {
        if (window) DestroyWindow(window);
        ResetProgramState();
    }
    static void ResetProgramState() {
        InstallDataSet(nullptr, 0);
        graphScale = GraphScale();
        graphSettings = GraphSettings();
        numberBase = 10;
        pendingDisplayBase = 0;
        digitGrouping = 1;
        exponentialNotation = 0;
    }

    void Type(const std::string& text) {
        for (char c : text) SendMessageA(line, WM_CHAR, static_cast<unsigned char>(c), 1);
    }
    void Enter() { SendMessageA(window, WM_COMMAND, IDOK, 0); }
    // A key pressed on the line as the keyboard delivers it: WM_KEYDOWN with
    // Ctrl held or not (as the thread's key state says), the character that
    // the key produces (none for 0), then WM_KEYUP.
    void PressKey(UINT key, bool control = false, char character = 0) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_CONTROL] = keys[VK_LCONTROL] = control ? 0x80 : 0;
        SetKeyboardState(keys);
        SendMessageA(line, WM_KEYDOWN, key, 1);
        if (character) SendMessageA(line, WM_CHAR, static_cast<unsigned char>(character), 1);
        SendMessageA(line, WM_KEYUP, key, 0xC0000001);
        keys[VK_CONTROL] = keys[VK_LCONTROL] = 0;
        SetKeyboardState(keys);
    }
    // The key pressed with Ctrl and Shift held.
    void PressShiftedControlKey(UINT key) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_SHIFT] = 0x80;
        SetKeyboardState(keys);
        PressKey(key, true);
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
    }
    void Escape() { SendMessageA(window, WM_COMMAND, IDCANCEL, 0); }
    std::string LineText() const {
        std::vector<char> text(GetWindowTextLengthA(line) + 1);
        GetWindowTextA(line, text.data(), static_cast<int>(text.size()));
        return text.data();
    }
    std::pair<int, int> Selection() const {
        DWORD start = 0, end = 0;
        SendMessageA(line, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        return {static_cast<int>(start), static_cast<int>(end)};
    }
    std::string StatusText(int part) const {
        char text[256] = "";
        SendMessageA(statisticsBar(), SB_GETTEXTA, part, reinterpret_cast<LPARAM>(text));
        return text;
    }
    // Whether a control is shown. The dialog itself stays hidden: under Xvfb
    // without a window manager every hidden top-level window costs a wait.
    static bool IsShown(HWND control) {
        return (GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0;
    }
    // The notice as the user sees it under Wine, whose edit control shows no
    // balloon tips: the statistics bar in its simple mode; empty when none.
    std::string Notice() const {
        HWND bar = statisticsBar();
        if (!SendMessageA(bar, SB_ISSIMPLE, 0, 0) || !IsShown(bar)) return "";
        char text[256] = "";
        SendMessageA(bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text)); // the one simple part
        return text;
    }
    HWND statisticsBar() const { return FindWindowExA(window, nullptr, STATUSCLASSNAMEA, nullptr); }
    // Whether part of the statistics bar is wide enough for its whole text in
    // the bar's own font, with the part's one-pixel edges and the three pixels
    // the bar insets its texts by.
    bool PartHoldsItsText(int part) const {
        HWND bar = statisticsBar();
        const std::string text = StatusText(part);
        HDC dc = GetDC(bar);
        HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(bar, WM_GETFONT, 0, 0));
        HGDIOBJ previous = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
        SIZE extent = {};
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        SelectObject(dc, previous);
        ReleaseDC(bar, dc);
        RECT r = {};
        SendMessageA(bar, SB_GETRECT, part, reinterpret_cast<LPARAM>(&r));
        return r.right - r.left >= extent.cx + 1 + 3 + 1;
    }
    // A child's rectangle in the main window's client coordinates.
    RECT ChildRect(HWND child) const {
        RECT r = {};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    RECT Client(HWND w) const {
        RECT r = {};
        GetClientRect(w, &r);
        return r;
    }
    // Resizes the main window so that its client area is cx x cy.
    void SetClientSize(int cx, int cy) {
        RECT outer = {}, client = {};
        GetWindowRect(window, &outer);
        GetClientRect(window, &client);
        SetWindowPos(window, nullptr, 0, 0, cx + (outer.right - outer.left) - client.right,
                     cy + (outer.bottom - outer.top) - client.bottom, SWP_NOMOVE | SWP_NOZORDER);
    }
    // Paints the graph area through the main window's owner-draw handler into surface.
    BOOL PaintInto(MemorySurface& surface) {
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_BUTTON;
        item.CtlID = IDC_GRAPH_AREA;
        item.itemAction = ODA_DRAWENTIRE;
        item.hwndItem = graph;
        item.hDC = surface.dc;
        item.rcItem = Client(graph);
        return static_cast<BOOL>(
            SendMessageA(window, WM_DRAWITEM, IDC_GRAPH_AREA, reinterpret_cast<LPARAM>(&item)));
    }

    // The saved position is restored for each test, so that tests do not
    // depend on each other's window positions.
    SavedProfileEntry savedX{kSettingsSection, kWindowPosXKey};
    SavedProfileEntry savedY{kSettingsSection, kWindowPosYKey};
    HWND window = nullptr;
    HWND line = nullptr;
    HWND graph = nullptr;
    HWND button = nullptr;
};
