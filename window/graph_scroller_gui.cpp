#include "window/graph_scroller_gui.h"

#include "graph/dataset.h"
#include "graph/graph_settings.h"
#include "graph/render_gui.h"
#include "resources/resource_ids.h"
#include "window/graph_pointer_gui.h"

#include <windowsx.h>

#include <algorithm>

tamsolo::GraphScroller graphScroller;
WNDPROC previousGraphAreaProc = nullptr;

namespace {

// Thumb messages carry only 16 bits of position; longer ranges take the
// tracked position from the bar itself.
constexpr int kMaxMessagePosition = 0xFFFF;

// The bar's present range, page and position.
SCROLLINFO BarInfo(HWND window, int bar) {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    if (!GetScrollInfo(window, bar, &info)) info.fMask = 0;
    return info;
}

// Each setting below leaves out a change that changes nothing: redrawing a bar
// costs more than the whole rest of a zoom step or a wheel scroll.
void SetBarRange(HWND window, int bar, int count, unsigned extraMask, BOOL redraw) {
    const SCROLLINFO now = BarInfo(window, bar);
    if (now.fMask && extraMask == 0 && now.nMin == 0 && now.nMax == std::max(count - 1, 0)) return;
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | extraMask;
    info.nMin = 0;
    info.nMax = std::max(count - 1, 0);
    SetScrollInfo(window, bar, &info, redraw);
}

void SetBarPage(HWND window, int bar, int length, int unit, unsigned extraMask, BOOL redraw) {
    const UINT page = static_cast<UINT>(std::max(length / std::max(unit, 1), 0));
    const SCROLLINFO now = BarInfo(window, bar);
    if (now.fMask && extraMask == 0 && now.nPage == page) return;
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_PAGE | extraMask;
    info.nPage = page;
    SetScrollInfo(window, bar, &info, redraw);
}

int NewPosition(const SCROLLINFO& info, WPARAM first) {
    const int page = static_cast<int>(info.nPage);
    switch (LOWORD(first)) {
    case SB_LINELEFT: return std::max(info.nPos - 1, info.nMin);
    case SB_LINERIGHT: return std::min(info.nPos + 1, info.nMax);
    case SB_PAGELEFT: return std::max(info.nPos - page, info.nMin);
    case SB_PAGERIGHT: return std::min(info.nPos + page, info.nMax);
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: return info.nMax > kMaxMessagePosition ? info.nTrackPos : HIWORD(first);
    case SB_LEFT: return info.nMin;
    case SB_RIGHT: return info.nMax;
    default: return info.nPos;
    }
}

// The pixels of the graph area's width that RenderGraph keeps for the value
// labels and the frame, which no point is drawn in.
int ReservedWidth(HWND area) {
    RECT client = {};
    GetClientRect(area, &client);
    HDC dc = GetDC(area);
    const RECT plot = GraphPlotArea(client, dc);
    ReleaseDC(area, dc);
    return (client.right - client.left) - (plot.right - plot.left);
}

void SetBarPosition(HWND window, int bar, int position, BOOL redraw) {
    const SCROLLINFO now = BarInfo(window, bar);
    if (now.fMask && now.nPos == position) return;
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    info.nPos = position;
    SetScrollInfo(window, bar, &info, redraw);
}

} // namespace

namespace tamsolo {

void GraphScroller::SetRange(HWND newWindow, const ScrollPair* range, const ScrollPair* units) {
    window = newWindow;
    if (units) {
        unitX = units->x;
        unitY = units->y;
    }
    SetBarRange(window, SB_HORZ, range ? range->x : 0, extraMaskX, !deferRedraw);
    SetBarRange(window, SB_VERT, range ? range->y : 0, extraMaskY, !deferRedraw);
    UpdatePages();
    const ScrollPair position = GetPosition();
    SetPosition(position.x, position.y);
}

void GraphScroller::UpdatePages() {
    if (!window) return;
    // Twice: the first pass may show or hide a bar and so change the client size.
    for (int pass = 0; pass < 2; ++pass) {
        RECT client = {};
        GetClientRect(window, &client);
        SetBarPage(window, SB_HORZ, client.right - client.left - reservedX, unitX, extraMaskX,
                   !deferRedraw);
        SetBarPage(window, SB_VERT, client.bottom - client.top, unitY, extraMaskY, !deferRedraw);
    }
}

ScrollPair GraphScroller::GetPosition() const {
    if (!window) return {0, 0};
    return {GetScrollPos(window, SB_HORZ), GetScrollPos(window, SB_VERT)};
}

ScrollPair GraphScroller::SetPosition(int x, int y) {
    if (window) {
        // Positions are set directly rather than through a thumb message,
        // whose 16 bits would cut positions past 65535.
        SetBarPosition(window, SB_HORZ, x, !deferRedraw);
        SetBarPosition(window, SB_VERT, y, !deferRedraw);
    }
    return GetPosition();
}

ScrollPair GraphScroller::HandleScroll(UINT message, WPARAM first, LPARAM second) {
    if (!window || (message != WM_HSCROLL && message != WM_VSCROLL)) return GetPosition();
    const int bar = message == WM_HSCROLL ? SB_HORZ : SB_VERT;
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(window, bar, &info);
    SetBarPosition(window, bar, NewPosition(info, first), !deferRedraw);
    return GetPosition();
}

} // namespace tamsolo

void UpdateGraphScrollRange(HWND mainWindow) {
    tamsolo::ScrollPair units = {0, 0};
    tamsolo::ScrollPair range = {0, 0};
    if (graphSettings.graphType == 'L') {
        // PixelsPerPoint forms the unit without overflow: the dialog takes any int.
        units.x = graphSettings.PixelsPerPoint();
        range.x = graphSettings.lineSpacing < 0 ? 1 : dataSet.count;
    } else if (graphSettings.graphType == 'B') {
        units.x = graphSettings.PixelsPerPoint();
        range.x = graphSettings.barSpacing >= 0 && graphSettings.barWidth > 0 ? dataSet.count : 1;
    }
    HWND area = GetDlgItem(mainWindow, IDC_GRAPH_AREA);
    graphScroller.reservedX = ReservedWidth(area);
    graphScroller.SetRange(area, &range, &units);
}

LRESULT CALLBACK GraphAreaProc(HWND window, UINT message, WPARAM first, LPARAM second) {
    // The readout follows the pointer over the graph area itself; the main
    // window still gets every mouse message.
    if (message == WM_MOUSEMOVE)
        TrackGraphPointer(window, GET_X_LPARAM(second), GET_Y_LPARAM(second));
    if (message == WM_MOUSELEAVE) {
        EndGraphPointer(window);
        return 0;
    }
    if ((message >= WM_MOUSEFIRST && message <= 0x20E) || message == WM_HSCROLL)
        return SendMessageA(GetParent(window), message, first, second);
    return CallWindowProcA(previousGraphAreaProc, window, message, first, second);
}
