#include "window/graph_pointer_gui.h"

#include "gdi/scopes_gui.h"
#include "graph/dataset.h"
#include "graph/graph_pointer.h"
#include "graph/graph_scale.h"
#include "graph/graph_settings.h"
#include "graph/render_gui.h"
#include "graph/statusbar_parts.h"
#include "resources/resource_ids.h"
#include "window/graph_scroller_gui.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cstdlib>
#include <cstring>

namespace {

constexpr int kMarkArm = 4;    // pixels of the cross on each side of the point
constexpr int kTipOffset = 16; // the tooltip's distance right of and below the pointer
constexpr int kPointTextSize = 160;

// The pointer over the graph area: the point it marks, where the mark is
// drawn, and the tooltip that reads the point out.
struct Hover {
    HWND area = nullptr;
    HWND tip = nullptr;
    bool tracking = false; // a leave message is asked for
    bool marked = false;   // the mark is drawn at mark
    POINT mark = {};
    POINT pointer = {};
    int index = -1; // the point the tooltip reads out; -1 when hidden
    char text[kPointTextSize] = "";
    char shown[kPointTextSize] = ""; // the text the tooltip took when placed last
    POINT tipAt = {};                // where the tooltip was placed last, in screen coordinates
    int zoomTurn = 0; // the part of a notch the wheel turned with Ctrl held, not yet zoomed
};
Hover hover;

PlotRect ToPlotRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// The plot area of the graph area, where the points are drawn.
PlotRect PlotAreaOf(HWND area) {
    RECT client = {};
    GetClientRect(area, &client);
    tamsolo::WindowDC dc(area);
    return ToPlotRect(GraphPlotArea(client, dc.dc));
}

int Clamp(int value, int low, int high) {
    return value < low ? low : value > high ? high : value;
}

// The pixel the mark goes on for point index: the line's point, or the middle
// of the bar's top; held inside the plot area.
POINT MarkOf(const PlotRect& plot, const PointColumns& columns, int index) {
    const int i = index - columns.first;
    const double value = dataSet.values[index];
    PixelPoint p;
    if (graphSettings.graphType == 'L') {
        p = LinePointAt(plot, graphScale.axisMin, graphScale.axisMax, columns.pitch, i, value);
    } else {
        const BarLayout layout = ComputeBarLayout(plot.right - plot.left, columns.shown,
                                                  graphSettings.barWidth, graphSettings.barSpacing);
        const int zeroRow = ComputeZeroRow(plot, graphScale.axisMin, graphScale.axisMax);
        const PlotRect bar =
            ComputeBarRect(plot, layout, graphScale.axisMin, graphScale.axisMax, zeroRow, i, value);
        p = {bar.left + (bar.right - bar.left) / 2, bar.top};
    }
    return {Clamp(p.x, plot.left, plot.right), Clamp(p.y, plot.top, plot.bottom)};
}

// The point under the pointer and where its mark goes; false when the pointer
// is over no point.
bool FindPointUnder(HWND area, POINT pointer, int& index, POINT& mark) {
    if (!dataSet.values || dataSet.count <= 0 || !(graphScale.axisMin < graphScale.axisMax))
        return false;
    RECT client = {};
    GetClientRect(area, &client);
    if (!PtInRect(&client, pointer)) return false;
    const PlotRect plot = PlotAreaOf(area);
    const PointColumns columns =
        ShownPointColumns(plot, graphSettings, dataSet.count, graphScroller.GetPosition().x);
    index = PointUnderColumn(plot, columns, pointer.x);
    if (index < 0) return false;
    mark = MarkOf(plot, columns, index);
    return true;
}

// A small cross of inverted pixels: it contrasts with any back colour, and
// drawing it a second time takes it away again, so that moving it repaints no
// part of the graph.
void DrawMark(HDC dc, POINT p) {
    tamsolo::GdiObjectScope pen(dc, nullptr, GetStockObject(WHITE_PEN));
    const int mode = SetROP2(dc, R2_NOT);
    MoveToEx(dc, p.x - kMarkArm, p.y, nullptr);
    LineTo(dc, p.x + kMarkArm + 1, p.y);
    // The vertical arm leaves out the middle, which the horizontal one inverted.
    MoveToEx(dc, p.x, p.y - kMarkArm, nullptr);
    LineTo(dc, p.x, p.y);
    MoveToEx(dc, p.x, p.y + 1, nullptr);
    LineTo(dc, p.x, p.y + kMarkArm + 1);
    SetROP2(dc, mode);
}

// Takes the mark away and draws it at to (null: nowhere).
void MoveMark(HWND area, const POINT* to) {
    if (hover.marked && to && to->x == hover.mark.x && to->y == hover.mark.y) return;
    tamsolo::WindowDC dc(area);
    if (hover.marked) DrawMark(dc.dc, hover.mark);
    hover.marked = to != nullptr;
    if (to) {
        hover.mark = *to;
        DrawMark(dc.dc, *to);
    }
}

TTTOOLINFOA ToolOf(HWND area) {
    TTTOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    // Transparent: a pointer that runs onto the tooltip stays over the graph.
    tool.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE | TTF_TRANSPARENT;
    tool.hwnd = GetParent(area);
    tool.uId = reinterpret_cast<UINT_PTR>(area);
    return tool;
}

// The tooltip, made when first needed; owned by the main window, which takes
// it along when it goes.
HWND TipFor(HWND area) {
    if (hover.tip && IsWindow(hover.tip)) return hover.tip;
    hover.tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, GetParent(area),
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!hover.tip) return nullptr;
    // The tooltip asks for its text each time it shows or moves, so that a
    // new point costs one placing of the tooltip, not a second for its text.
    TTTOOLINFOA tool = ToolOf(area);
    tool.lpszText = LPSTR_TEXTCALLBACKA;
    SendMessageA(hover.tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    return hover.tip;
}

void HideTip(HWND area) {
    if (hover.index < 0 || !hover.tip || !IsWindow(hover.tip)) return;
    TTTOOLINFOA tool = ToolOf(area);
    SendMessageA(hover.tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
    hover.index = -1;
}

// Reads point index out in the tooltip beside the pointer.
void ShowTip(HWND area, int index) {
    HWND tip = TipFor(area);
    if (!tip) return;
    TTTOOLINFOA tool = ToolOf(area);
    // Composed on every move: the values may have changed under a pointer
    // that stayed on its point (a DATA line).
    ComposePointText(hover.text, kPointTextSize, index, DataSetHasX(), DataSetX(index),
                     dataSet.values[index]);
    POINT at = hover.pointer;
    ClientToScreen(area, &at);
    // Placing a top-level window is the dearest part of a move: a tooltip that
    // reads out the same text at the same place (a zoom keeps both) stays.
    if (hover.index == index && at.x == hover.tipAt.x && at.y == hover.tipAt.y &&
        std::strcmp(hover.text, hover.shown) == 0)
        return;
    hover.tipAt = at;
    std::memcpy(hover.shown, hover.text, sizeof hover.shown);
    SendMessageA(tip, TTM_TRACKPOSITION, 0, MAKELPARAM(at.x + kTipOffset, at.y + kTipOffset));
    if (hover.index < 0)
        SendMessageA(tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    hover.index = index;
}

// Marks and reads out the point under the last pointer position, or hides
// both when it is over none.
void ShowPointUnderPointer(HWND area) {
    int index = -1;
    POINT mark = {};
    if (FindPointUnder(area, hover.pointer, index, mark)) {
        MoveMark(area, &mark);
        ShowTip(area, index);
    } else {
        MoveMark(area, nullptr);
        HideTip(area);
    }
}

void ZoomAt(HWND mainWindow, HWND area, POINT at, bool zoomIn) {
    if (!dataSet.values || dataSet.count <= 0) return;
    const PlotRect plot = PlotAreaOf(area);
    const int x = Clamp(at.x, plot.left, plot.right);
    const PointColumns before =
        ShownPointColumns(plot, graphSettings, dataSet.count, graphScroller.GetPosition().x);
    const int index = PointUnderColumn(plot, before, x);
    if (index < 0 || !ZoomGraphSettings(graphSettings, plot, before, dataSet.count, zoomIn)) return;
    UpdateGraphScrollRange(mainWindow);
    const PointColumns after = ShownPointColumns(plot, graphSettings, dataSet.count, 0);
    graphScroller.SetPosition(FirstIndexKeeping(index, x, plot, after),
                              graphScroller.GetPosition().y);
}

void ScrollByWheel(HWND area, int delta, bool byPage) {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_PAGE | SIF_POS;
    if (!GetScrollInfo(area, SB_HORZ, &info)) return;
    graphScroller.SetPosition(
        WheelScrollPosition(info.nPos, static_cast<int>(info.nPage), delta, byPage),
        graphScroller.GetPosition().y);
}

// How the graph area's scroll bars are drawn: where each lies, its arrows'
// and thumb's states, and where its thumb is.
struct BarsLook {
    SCROLLBARINFO bars[2] = {};
    bool known = false;
};

BarsLook LookOfBars(HWND area) {
    BarsLook look;
    look.known = true;
    const LONG objects[2] = {OBJID_HSCROLL, OBJID_VSCROLL};
    for (int i = 0; i < 2; ++i) {
        look.bars[i].cbSize = sizeof look.bars[i];
        look.known = look.known && GetScrollBarInfo(area, objects[i], &look.bars[i]);
    }
    return look;
}

bool SameLook(const BarsLook& a, const BarsLook& b) {
    if (!a.known || !b.known) return false;
    for (int i = 0; i < 2; ++i) {
        const SCROLLBARINFO &x = a.bars[i], &y = b.bars[i];
        if (!EqualRect(&x.rcScrollBar, &y.rcScrollBar) || x.dxyLineButton != y.dxyLineButton ||
            x.xyThumbTop != y.xyThumbTop || x.xyThumbBottom != y.xyThumbBottom)
            return false;
        for (int state = 0; state <= CCHILDREN_SCROLLBAR; ++state)
            if (x.rgstate[state] != y.rgstate[state]) return false;
    }
    return true;
}

} // namespace

void TrackGraphPointer(HWND area, int x, int y) {
    if (hover.area != area) {
        hover.marked = false;
        hover.index = -1;
        hover.tracking = false;
    }
    hover.area = area;
    hover.pointer = {x, y};
    if (!hover.tracking) {
        TRACKMOUSEEVENT track = {};
        track.cbSize = sizeof track;
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = area;
        hover.tracking = TrackMouseEvent(&track) != FALSE;
    }
    ShowPointUnderPointer(area);
}

void EndGraphPointer(HWND area) {
    hover.tracking = false;
    if (hover.area != area) return;
    MoveMark(area, nullptr);
    HideTip(area);
}

void RedrawPointerMark(HWND area, HDC dc) {
    if (hover.area != area || !(hover.marked || hover.index >= 0)) return;
    int index = -1;
    POINT mark = {};
    const bool found = FindPointUnder(area, hover.pointer, index, mark);
    const bool moved = hover.marked && (!found || mark.x != hover.mark.x || mark.y != hover.mark.y);
    RECT client = {}, painted = {};
    GetClientRect(area, &client);
    // A paint of part of the area cannot take the old mark away outside that
    // part: the whole area is painted again after this paint.
    if (moved && (GetClipBox(dc, &painted) == ERROR || !EqualRect(&painted, &client)))
        InvalidateRect(area, nullptr, FALSE);
    hover.marked = found;
    if (found) {
        hover.mark = mark;
        DrawMark(dc, mark);
        ShowTip(area, index);
    } else {
        HideTip(area);
    }
}

BOOL OnGraphWheel(HWND mainWindow, WPARAM first, LPARAM second) {
    HWND area = GetDlgItem(mainWindow, IDC_GRAPH_AREA);
    if (!area) return FALSE;
    POINT at = {GET_X_LPARAM(second), GET_Y_LPARAM(second)};
    ScreenToClient(area, &at);
    RECT client = {};
    GetClientRect(area, &client);
    if (!PtInRect(&client, at)) return FALSE;
    if (hover.area == area) hover.pointer = at;
    const int keys = GET_KEYSTATE_WPARAM(first);
    const int delta = GET_WHEEL_DELTA_WPARAM(first);
    // The bars are set without being drawn, and drawn once with the graph when
    // every setting is made, and only when they then look different: a notch
    // of a long graph seldom moves the thumb by a pixel, and drawing a bar
    // costs more than repainting the graph.
    const BarsLook before = LookOfBars(area);
    graphScroller.deferRedraw = true;
    if (keys & MK_CONTROL) {
        const int notches = WholeWheelNotches(hover.zoomTurn, delta);
        for (int step = 0; step < std::abs(notches); ++step)
            ZoomAt(mainWindow, area, at, notches > 0);
    } else {
        ScrollByWheel(area, delta, (keys & MK_SHIFT) != 0);
    }
    graphScroller.deferRedraw = false;
    const UINT frame = SameLook(before, LookOfBars(area)) ? 0 : RDW_FRAME;
    // Painted at once, so that the mark then moves over the graph as it now is.
    RedrawWindow(area, nullptr, nullptr, RDW_INVALIDATE | frame | RDW_UPDATENOW);
    if (hover.area == area && (hover.marked || hover.index >= 0)) ShowPointUnderPointer(area);
    return TRUE;
}

void ForgetGraphPointer() {
    hover = Hover();
}

BOOL OnGraphTipNotify(const NMHDR* header) {
    if (!header || header->hwndFrom != hover.tip || header->code != TTN_GETDISPINFOA) return FALSE;
    NMTTDISPINFOA* info = reinterpret_cast<NMTTDISPINFOA*>(const_cast<NMHDR*>(header));
    info->lpszText = hover.text;
    return TRUE;
}

HWND GraphPointerTip() {
    return hover.tip;
}
