#include "window/startup_gui.h"

#include "gdi/dpi_gui.h"
#include "gdi/dpi_scale.h"
#include "graph/render_gui.h"
#include "graph/statusbar_gui.h"
#include "window/settings_path.h"
#include "text/convert.h"
#include "window/snap.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int fontMode = -1;
HFONT lineFont = nullptr;
int lineFontDpi = 0;
const char* settingsFile = "win.ini";

namespace {

constexpr char kFontSection[] = "TamsoloSoftware";
constexpr char kFontModeKey[] = "FontMode";
constexpr char kFoldersSection[] = "Folders";
constexpr char kFoldersKey[] = "TamsoloTools";
constexpr char kFolderSettingsFile[] = ".\\TamsoloTools.ini";
constexpr char kSystemSettingsFile[] = "win.ini";

void DestroyStatisticsBar() {
    statisticsBar.Destroy();
}

} // namespace

HFONT CreatePointFont(const char* faceName, int fixedPitch, int points, int weight, int dpi) {
    const int height = -MulDivRound(points, dpi, 72);
    return CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       fixedPitch ? FIXED_PITCH : VARIABLE_PITCH, faceName);
}

HFONT CreateLineFont(int dpi) {
    if (fontMode >= 0) return CreatePointFont("Courier New", 1, fontMode, FW_NORMAL, dpi);
    HFONT stock = static_cast<HFONT>(GetStockObject(ANSI_FIXED_FONT));
    if (dpi <= 0 || dpi == kDefaultDpi) return stock; // the stock font is made for 96 dpi
    HFONT font = CreateStockFontForDpi(ANSI_FIXED_FONT, dpi, DEFAULT_QUALITY);
    return font ? font : stock;
}

void PrepareStartup() {
    fontMode = GetProfileIntA(kFontSection, kFontModeKey, -1);
    lineFontDpi = ScreenDpi();
    lineFont = CreateLineFont(lineFontDpi);
    char folder[kPathBufferSize] = "";
    settingsFile = GetProfileStringA(kFoldersSection, kFoldersKey, "", folder, kPathBufferSize) != 0
                       ? kFolderSettingsFile
                       : kSystemSettingsFile;
    InitCommonControls();
    static bool cleanupRegistered = false;
    if (!cleanupRegistered) std::atexit(DestroyStatisticsBar);
    cleanupRegistered = true;
    backBrush = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
}

void EnterSettingsFolder(const char* spec, char* saveTo) {
    if (saveTo) GetCurrentDirectoryA(kPathBufferSize, saveTo);
    if (!spec) spec = GetCommandLineA();
    char target[kPathBufferSize] = "";
    char key[kPathBufferSize];
    if (ExtractFolderKey(spec, key, sizeof key)) {
        GetProfileStringA(kFoldersSection, key, "", target, kPathBufferSize);
        if (target[0] == '\0') CopyBounded(target, sizeof target, GetCommandLineA());
    } else {
        CopyBounded(target, sizeof target, spec);
    }
    if (SetCurrentDirectoryA(target)) return;
    char folder[kPathBufferSize];
    DeriveFolderFromCommandLine(target, folder, sizeof folder);
    SetCurrentDirectoryA(folder);
}

int WriteProfileIntIfChanged(const char* file, const char* section, const char* key, int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    const size_t length = std::strlen(text);
    char stored[sizeof text + 2] = "";
    GetPrivateProfileStringA(section, key, "", stored, static_cast<DWORD>(length + 2), file);
    if (std::strcmp(stored, text) == 0) return 1;
    return WritePrivateProfileStringA(section, key, text, file);
}

void SnapWindowToWorkArea(HWND window, const int* sizePercent, BOOL repaint) {
    RECT current = {};
    RECT area = {};
    GetWindowRect(window, &current);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    const SnapRect r = {current.left, current.top, current.right, current.bottom};
    const SnapRect snapped =
        SnapRectToWorkArea(r, {area.left, area.top, area.right, area.bottom}, sizePercent);
    if (snapped == r) return;
    MoveWindow(window, snapped.left, snapped.top, snapped.right - snapped.left,
               snapped.bottom - snapped.top, repaint);
}

namespace {

SnapRect ToSnapRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// The work area of the monitor nearest to r, or r itself when there is none.
SnapRect NearestWorkArea(const SnapRect& r) {
    const RECT rect = {r.left, r.top, r.right, r.bottom};
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info)) return r;
    return ToSnapRect(info.rcWork);
}

// The window's rectangle in its normal state, also while it is minimised or
// maximised, in screen coordinates. The placement gives it in workspace
// coordinates, which are offset from the screen's by where the work area
// starts on the monitor.
RECT NormalWindowRect(HWND window) {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    RECT r = {};
    if (!GetWindowPlacement(window, &placement)) {
        GetWindowRect(window, &r);
        return r;
    }
    r = placement.rcNormalPosition;
    if (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) return r;
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info))
        OffsetRect(&r, info.rcWork.left - info.rcMonitor.left,
                   info.rcWork.top - info.rcMonitor.top);
    return r;
}

} // namespace

void RestoreWindowPosition(HWND mainWindow) {
    const int x = GetPrivateProfileIntA(kSettingsSection, kWindowPosXKey, -1, settingsFile);
    const int y = GetPrivateProfileIntA(kSettingsSection, kWindowPosYKey, -1, settingsFile);
    if (x < 0 || y < 0) return;
    RECT current = {};
    GetWindowRect(mainWindow, &current);
    const int width = current.right - current.left;
    const int height = current.bottom - current.top;
    // A place saved on a monitor that is gone, or beyond a smaller screen,
    // comes back onto the nearest work area.
    const SnapRect saved = {x, y, x + width, y + height};
    const SnapRect placed = MoveOntoWorkArea(saved, NearestWorkArea(saved));
    const int placedWidth = placed.right - placed.left;
    const int placedHeight = placed.bottom - placed.top;
    const UINT keepSize = placedWidth == width && placedHeight == height ? SWP_NOSIZE : 0;
    SetWindowPos(mainWindow, nullptr, placed.left, placed.top, placedWidth, placedHeight,
                 keepSize | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FitWindowIntoWorkArea(HWND mainWindow) {
    RECT current = {};
    GetWindowRect(mainWindow, &current);
    const SnapRect r = ToSnapRect(current);
    const SnapRect fitted = FitIntoWorkArea(r, NearestWorkArea(r));
    if (fitted == r) return;
    SetWindowPos(mainWindow, nullptr, fitted.left, fitted.top, fitted.right - fitted.left,
                 fitted.bottom - fitted.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void SaveWindowPosition(HWND mainWindow) {
    const RECT r = NormalWindowRect(mainWindow);
    EnterSettingsFolder(kSettingsFolderSpec, nullptr);
    WriteProfileIntIfChanged(settingsFile, kSettingsSection, kWindowPosXKey, r.left);
    WriteProfileIntIfChanged(settingsFile, kSettingsSection, kWindowPosYKey, r.top);
}
