#include "window/main_window_gui.h"

#include "gdi/dpi_gui.h"
#include "gdi/dpi_scale.h"
#include "graph/render_gui.h"
#include "graph/statusbar_gui.h"
#include "resources/resource_ids.h"
#include "window/calc_line_gui.h"
#include "window/command_line_gui.h"
#include "window/commands_gui.h"
#include "window/graph_pointer_gui.h"
#include "window/graph_scroller_gui.h"
#include "window/line_keys_gui.h"
#include "window/notice_gui.h"
#include "window/startup_gui.h"

#include <windowsx.h>

HMENU mainPopupMenu = nullptr;

namespace {

constexpr COLORREF kLineTextColour = RGB(0, 255, 0);
constexpr COLORREF kLineBackColour = RGB(0, 0, 0);
constexpr int kMenuButtonMargin = 2;
constexpr int kLineToButtonGap = 10;
constexpr int kGraphGap = 4;

// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND parent, HWND child) {
    RECT r = {};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The line's and the menu button's places as the dialog made them, and the DPI
// it made them for. A DPI change scales these rather than the present ones, so
// that moving between monitors back and forth does not wear them down by
// rounding.
struct ControlPlaces {
    RECT line;
    RECT button;
    int dpi;
};
ControlPlaces madePlaces = {};

// Puts the line and the button where the dialog made them, scaled to dpi; the
// layout then stretches them over the window's width.
void PlaceControlsForDpi(HWND window, int dpi) {
    if (madePlaces.dpi <= 0 || dpi <= 0) return;
    const auto scale = [&](int pixels) { return MulDivRound(pixels, dpi, madePlaces.dpi); };
    const struct {
        int id;
        const RECT& made;
    } controls[] = {{IDC_CALC_LINE, madePlaces.line}, {IDC_MENU_BUTTON, madePlaces.button}};
    for (const auto& c : controls)
        MoveWindow(GetDlgItem(window, c.id), scale(c.made.left), scale(c.made.top),
                   scale(c.made.right - c.made.left), scale(c.made.bottom - c.made.top), FALSE);
}

// The line's font and the graph for a display of dpi: the font is made anew
// when it was made for another DPI, and the one it replaces is deleted once the
// line no longer uses it.
void ApplyWindowDpi(HWND window, int dpi, BOOL redraw) {
    graphDpi = dpi;
    HFONT previous = lineFont;
    if (!lineFont || dpi != lineFontDpi) {
        lineFont = CreateLineFont(dpi);
        lineFontDpi = dpi;
    }
    SendDlgItemMessageA(window, IDC_CALC_LINE, WM_SETFONT, reinterpret_cast<WPARAM>(lineFont),
                        redraw);
    if (previous && previous != lineFont) DeleteObject(previous);
}

BOOL OnInitDialog(HWND window, const char* argument) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    SetClassLongPtrA(window, GCLP_HICON,
                     reinterpret_cast<LONG_PTR>(LoadIconA(instance, MAKEINTRESOURCEA(IDI_APP))));
    ApplyWindowDpi(window, WindowDpi(window), FALSE);
    madePlaces = {ChildRect(window, GetDlgItem(window, IDC_CALC_LINE)),
                  ChildRect(window, GetDlgItem(window, IDC_MENU_BUTTON)), graphDpi};
    KeepDpiChangesToProgram(window, GetDlgItem(window, IDC_CALC_LINE));
    statisticsBar.Create(window, kStatisticsParts, kStatisticsWidths, 0);
    HMENU menu = LoadMenuA(instance, MAKEINTRESOURCEA(IDM_MAIN));
    mainPopupMenu = menu ? GetSubMenu(menu, 0) : nullptr;
    SubclassCalculationLine(window);
    graphScroller.Reset();
    ForgetGraphPointer();
    ForgetShownResult();
    previousGraphAreaProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(GetDlgItem(window, IDC_GRAPH_AREA), GWLP_WNDPROC,
                          reinterpret_cast<LONG_PTR>(GraphAreaProc)));
    // The folder the program was started in, for a relative file argument.
    char launchFolder[MAX_PATH] = "";
    EnterSettingsFolder(kSettingsFolderSpec, launchFolder);
    RestoreWindowPosition(window);
    FitWindowIntoWorkArea(window);
    TakeFileOrExpressionArgument(window, launchFolder);
    RECT client = {};
    GetClientRect(window, &client);
    SendMessageA(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    PostCommandArgument(window, argument);
    return TRUE; // the default focus: the calculation line
}

void OnClose(HWND window) {
    SaveWindowPosition(window);
    EndDialog(window, 0);
}

// Exactly the system menu's Move and Size commands snap the window; a title
// bar drag (another command value) moves normally.
BOOL OnSysCommand(HWND window, WPARAM command) {
    static const int kKeepSize[2] = {0, 0};
    if (command == SC_SIZE) EnsureGraphVisible(window);
    if (command != SC_MOVE && command != SC_SIZE) return FALSE;
    SnapWindowToWorkArea(window, kKeepSize, TRUE);
    SetWindowLongPtrA(window, DWLP_MSGRESULT, 0);
    return TRUE;
}

void OnExitSizeMove(HWND window) {
    if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0)
        SnapWindowToWorkArea(window, nullptr, TRUE);
}

// Moved to another monitor, or the display's scale changed: the window takes
// the rectangle the system suggests for the new DPI, with fonts made for it
// and the line and the button in proportion.
void OnDpiChanged(HWND window, WPARAM dpis, const RECT* suggested) {
    ApplyWindowDpi(window, HIWORD(dpis), FALSE);
    PlaceControlsForDpi(window, HIWORD(dpis));
    if (suggested)
        SetWindowPos(window, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    // Laid out here as well: a suggested rectangle of the same size sends no
    // size message.
    RECT client = {};
    GetClientRect(window, &client);
    LayoutMainWindow(window, client.right, client.bottom);
    SetWindowLongPtrA(window, DWLP_MSGRESULT, 0);
}

void OnTimer(HWND window, WPARAM timer) {
    if (timer == kNoticeTimer) HideNotice(window);
}

void OnHScroll(HWND window, WPARAM first, LPARAM second) {
    graphScroller.HandleScroll(WM_HSCROLL, first, second);
    InvalidateRect(GetDlgItem(window, IDC_GRAPH_AREA), nullptr, FALSE);
}

INT_PTR OnCtlColorEdit(HDC dc) {
    SetTextColor(dc, kLineTextColour);
    SetBkColor(dc, kLineBackColour);
    return reinterpret_cast<INT_PTR>(GetStockObject(BLACK_BRUSH));
}

void OnLButtonDblClk(HWND window) {
    PostMessageA(window, WM_COMMAND, IDM_GRAPHING_OPTIONS, 0);
}

void OnRButtonUp(HWND window) {
    const DWORD position = GetMessagePos();
    OpenMainPopupMenu(window, GET_X_LPARAM(position), GET_Y_LPARAM(position));
}

} // namespace

void LayoutMainWindow(HWND window, int cx, int cy) {
    HWND line = GetDlgItem(window, IDC_CALC_LINE);
    HWND button = GetDlgItem(window, IDC_MENU_BUTTON);
    HWND graph = GetDlgItem(window, IDC_GRAPH_AREA);
    if (!line || !button || !graph) return; // a size message before the controls exist
    const RECT e = ChildRect(window, line);
    const RECT m = ChildRect(window, button);
    const int mw = m.right - m.left;
    const int mh = m.bottom - m.top;
    MoveWindow(button, cx - mw - kMenuButtonMargin, m.top, mw, mh, TRUE);
    MoveWindow(line, e.left, e.top, cx - mw - e.left - kLineToButtonGap - kMenuButtonMargin,
               e.bottom - e.top, TRUE);
    const int sb = statisticsBar.GetHeight(true);
    MoveWindow(graph, e.left, e.bottom + kGraphGap, cx - e.left, cy - e.bottom - sb - kGraphGap,
               TRUE);
    ShowWindow(graph, SW_SHOWNA);
    statisticsBar.SetVisible(cy - e.bottom - statisticsBar.GetHeight(true) - kGraphGap > 0);
    UpdateGraphScrollRange(window);
    statisticsBar.FitToParent(true);
    statisticsBar.SetParts(kStatisticsParts, kStatisticsWidths);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void DrawGraphArea(HWND area, HDC dc, const RECT& rect) {
    const tamsolo::ScrollPair p = graphScroller.GetPosition();
    HGDIOBJ previous = SelectObject(dc, backBrush);
    Rectangle(dc, 0, 0, rect.right, rect.bottom);
    SelectObject(dc, previous);
    const int position[2] = {p.x, p.y};
    PaintGraph(area, dc, position);
}

BOOL PaintGraphArea(const DRAWITEMSTRUCT* item) {
    if (!item || item->CtlID != IDC_GRAPH_AREA) return FALSE;
    DrawGraphArea(item->hwndItem, item->hDC, item->rcItem);
    RedrawPointerMark(item->hwndItem, item->hDC);
    SetWindowLongPtrA(GetParent(item->hwndItem), DWLP_MSGRESULT, TRUE);
    return TRUE;
}

INT_PTR CALLBACK MainWindowProc(HWND window, UINT message, WPARAM first, LPARAM second) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(window, reinterpret_cast<const char*>(second));
    case WM_SIZE: LayoutMainWindow(window, GET_X_LPARAM(second), GET_Y_LPARAM(second)); return TRUE;
    case WM_CLOSE: OnClose(window); return TRUE;
    case WM_COMMAND: OnCommand(window, LOWORD(first), HIWORD(first)); return TRUE;
    case WM_SYSCOMMAND: return OnSysCommand(window, first);
    case WM_EXITSIZEMOVE: OnExitSizeMove(window); return TRUE;
    case WM_INITMENUPOPUP: OnInitMenuPopup(window, reinterpret_cast<HMENU>(first)); return TRUE;
    case WM_HSCROLL: OnHScroll(window, first, second); return TRUE;
    case WM_TIMER: OnTimer(window, first); return TRUE;
    case WM_DPICHANGED:
        OnDpiChanged(window, first, reinterpret_cast<const RECT*>(second));
        return TRUE;
    case WM_DRAWITEM: return PaintGraphArea(reinterpret_cast<const DRAWITEMSTRUCT*>(second));
    case WM_CTLCOLOREDIT: return OnCtlColorEdit(reinterpret_cast<HDC>(first));
    case WM_LBUTTONDBLCLK: OnLButtonDblClk(window); return TRUE;
    case WM_RBUTTONUP: OnRButtonUp(window); return TRUE;
    case WM_NOTIFY: return OnGraphTipNotify(reinterpret_cast<const NMHDR*>(second));
    case WM_MOUSEWHEEL: return OnGraphWheel(window, first, second);
    case WM_DROPFILES: OnDropFiles(window, reinterpret_cast<HDROP>(first)); return TRUE;
    default: return FALSE;
    }
}
