#include "graph/statusbar_gui.h"

#include "graph/dataset.h"
#include "graph/graph_scale.h"
#include "graph/statusbar_parts.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <vector>

tamsolo::StatusBar statisticsBar;
const int kStatisticsWidths[kStatisticsParts] = {15, -1, -1, -1};

namespace {

constexpr int kStatisticsTextSize = 64;

int AverageCharWidth(HWND window) {
    HDC dc = GetDC(window);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    ReleaseDC(window, dc);
    return metrics.tmAveCharWidth;
}

// The pixels the text of each of the bar's first n parts needs in the bar's own
// font: the text's width and an average character either side for the part's
// edges and the inset the bar draws its texts with.
void MeasurePartTexts(HWND window, int n, int averageCharWidth, int* textWidths) {
    HDC dc = GetDC(window);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0));
    HGDIOBJ previous = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    for (int i = 0; i < n; ++i) {
        const int length = LOWORD(SendMessageA(window, SB_GETTEXTLENGTHA, i, 0));
        std::vector<char> text(length + 1);
        SendMessageA(window, SB_GETTEXTA, i, reinterpret_cast<LPARAM>(text.data()));
        SIZE extent = {};
        GetTextExtentPoint32A(dc, text.data(), length, &extent);
        textWidths[i] = length > 0 ? extent.cx + 2 * averageCharWidth : 0;
    }
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
}

} // namespace

namespace tamsolo {

void StatusBar::Create(HWND parent, int parts, const int* widths, int show) {
    Destroy();
    window = CreateStatusWindowA(WS_CHILD, "", parent, 0);
    if (window)
        SetWindowSubclass(window, ForgetWhenDestroyed, 0, reinterpret_cast<DWORD_PTR>(this));
    SetParts(parts, widths);
    SetVisible(show);
}

void StatusBar::SetParts(int n, const int* widths) {
    if (!window) return;
    SendMessageA(window, WM_SIZE, 0, 0);
    RECT parent = {};
    GetClientRect(GetParent(window), &parent);
    const int charWidth = AverageCharWidth(window);
    const int measured = std::min(std::max(n, 0), kMaxStatusParts);
    int textWidths[kMaxStatusParts];
    MeasurePartTexts(window, measured, charWidth, textWidths);
    int edges[kMaxStatusParts];
    const int count =
        ComputeStatusPartEdges(parent.right - parent.left, charWidth, n, widths, textWidths, edges);
    SendMessageA(window, SB_SETPARTS, count, reinterpret_cast<LPARAM>(edges));
}

void StatusBar::SetText(const char* text, int part) {
    if (!window) return;
    SendMessageA(window, SB_SETTEXTA, part, reinterpret_cast<LPARAM>(text ? text : ""));
}

void StatusBar::SetVisible(int show) {
    if (!window) return;
    const bool visible = show < 0 ? !IsWindowVisible(window) : show != 0;
    ShowWindow(window, visible ? SW_SHOWNORMAL : SW_HIDE);
}

int StatusBar::GetHeight(bool evenWhenHidden) const {
    if (!window || (!evenWhenHidden && !IsWindowVisible(window))) return 0;
    RECT r = {};
    if (!GetWindowRect(window, &r)) return 0;
    return r.bottom - r.top;
}

void StatusBar::FitToParent(bool extendLastPart) {
    if (!window) return;
    SendMessageA(window, WM_SIZE, 0, 0);
    if (!extendLastPart) return;
    int edges[kMaxStatusParts];
    const int count = static_cast<int>(
        SendMessageA(window, SB_GETPARTS, kMaxStatusParts, reinterpret_cast<LPARAM>(edges)));
    if (count <= 0 || count > kMaxStatusParts) return;
    edges[count - 1] = -1;
    SendMessageA(window, SB_SETPARTS, count, reinterpret_cast<LPARAM>(edges));
}

LRESULT CALLBACK StatusBar::ForgetWhenDestroyed(HWND window, UINT message, WPARAM first,
                                                LPARAM second, UINT_PTR id, DWORD_PTR owner) {
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, ForgetWhenDestroyed, id);
        StatusBar* bar = reinterpret_cast<StatusBar*>(owner);
        if (bar->window == window) bar->window = nullptr;
    }
    return DefSubclassProc(window, message, first, second);
}

void StatusBar::Destroy() {
    if (window) DestroyWindow(window);
    window = nullptr;
}

} // namespace tamsolo

namespace {

// Composes one part's text right after formatting, since the formatter's
// shared buffer is reused by the next value.
void ShowValue(int part, const char* label, double value) {
    char text[kStatisticsTextSize];
    std::snprintf(text, sizeof text, "%s%s", label, FormatStatisticValue(value));
    statisticsBar.SetText(text, part);
}

} // namespace

// The bar's visibility is the layout's: it shows only while the graph area has
// room, so new statistics in a window that is only the line stay out of sight.
void ShowStatistics() {
    char text[kStatisticsTextSize];
    std::snprintf(text, sizeof text, "Data Points:%d", dataSet.count);
    statisticsBar.SetText(text, 0);
    ShowValue(1, "Min Value:", graphScale.dataMin);
    ShowValue(2, "Max Value:", graphScale.dataMax);
    ShowValue(3, "Avg Value:", graphScale.mean);
    statisticsBar.SetParts(kStatisticsParts, kStatisticsWidths);
}
