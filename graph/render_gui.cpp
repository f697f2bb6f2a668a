#include "graph/render_gui.h"

#include "gdi/dpi_gui.h"
#include "gdi/dpi_scale.h"
#include "gdi/scopes_gui.h"
#include "graph/dataset.h"
#include "graph/graph_geometry.h"
#include "graph/graph_scale.h"
#include "graph/graph_settings.h"

#include <new>

HBRUSH backBrush = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
int graphDpi = kDefaultDpi;

using tamsolo::BrushScope;
using tamsolo::PenScope;
using tamsolo::TextScope;

namespace {

// More grid rows than any scale of 8 divisions gives.
constexpr int kMaxGridRows = 256;
constexpr int kLabelSize = 64;

PlotRect ToPlotRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// The labels' font: the stock variable-pitch font at graphDpi, drawn without
// antialiasing, so that a graph holds only its three colours and the bitmap
// export keeps them exactly. Where the stock font is a bitmap font this changes
// nothing at 96 dpi; the scope deletes the font (deleting a stock object is
// harmless).
HFONT CreateLabelFont() {
    HFONT font = CreateStockFontForDpi(ANSI_VAR_FONT, graphDpi, NONANTIALIASED_QUALITY);
    return font ? font : static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
}

// A pen width at graphDpi.
int PenWidth(int pixels) {
    return ScaleForDpi(pixels, graphDpi);
}

bool HasAxisRange() {
    return graphScale.axisMin < graphScale.axisMax;
}

bool DrawsGrid() {
    return graphScale.step > 0 && graphSettings.gridColor != graphSettings.backColor;
}

// The frame of the plot area in rect for the label font selected into dc.
GridFrame FrameForSelectedFont(const RECT& rect, HDC dc, bool withLabels) {
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    return ComputeGridFrame(ToPlotRect(rect), graphScale.labelChars, metrics.tmAveCharWidth,
                            metrics.tmHeight, metrics.tmInternalLeading, withLabels);
}

} // namespace

RECT GraphPlotArea(const RECT& rect, HDC dc) {
    if (!DrawsGrid()) return rect;
    TextScope text(dc, graphSettings.gridColor, CreateLabelFont(), TRANSPARENT);
    const PlotRect plot = FrameForSelectedFont(rect, dc, true).plot;
    return {plot.left, plot.top, plot.right, plot.bottom};
}

int DrawGridAndLabels(RECT* rect, HDC dc, COLORREF colour, int penWidth, int withLabels) {
    if (!(graphScale.step > 0)) return 0;
    PenScope pen(dc, colour, PenWidth(penWidth));
    BrushScope hollow(dc, NO_COLOR);
    TextScope text(dc, colour, CreateLabelFont(), TRANSPARENT);
    const GridFrame frame = FrameForSelectedFont(*rect, dc, withLabels != 0);
    const PlotRect& plot = frame.plot;
    *rect = {plot.left, plot.top, plot.right, plot.bottom};
    Rectangle(dc, plot.left, plot.top, plot.right, plot.bottom + 1);

    GridRow rows[kMaxGridRows];
    const int rowCount = ComputeGridRows(plot.bottom - plot.top, graphScale.axisMin,
                                         graphScale.axisMax, graphScale.step, rows, kMaxGridRows);
    for (int i = 0; i < rowCount; ++i) {
        const int y = plot.bottom - rows[i].offset;
        MoveToEx(dc, plot.left, y, nullptr);
        LineTo(dc, plot.right, y);
        if (frame.labelMargin != 0) {
            char label[kLabelSize];
            FormatGridLabel(rows[i].value, label, kLabelSize);
            RECT box = {plot.left - frame.labelMargin, y - frame.half, plot.left, y + frame.half};
            DrawTextA(dc, label, -1, &box, DT_RIGHT | DT_VCENTER);
        }
    }
    return 1;
}

int DrawLineGraph(const RECT* rect, HDC dc, const double* values, int n, COLORREF colour,
                  int lineWidth, int lineSpacing) {
    if (!rect || n <= 0 || !HasAxisRange()) return 0;
    const PlotRect plot = ToPlotRect(*rect);
    // Far more points than pixel columns: each column's run is merged as the
    // points are computed, which draws the same pixels with a few thousand
    // points instead of millions.
    const bool merge =
        lineSpacing < 0 && static_cast<long long>(n) > 2LL * (plot.right - plot.left) + 2;
    const int capacity =
        merge ? MergedLinePointCapacity(plot) : LinePointCapacity(plot, n, lineSpacing);
    PixelPoint* points = new (std::nothrow) PixelPoint[capacity];
    if (!points) return 0;
    const int m = ComputeLinePoints(plot, values, n, graphScale.axisMin, graphScale.axisMax,
                                    lineSpacing, points, capacity, merge);
    static_assert(sizeof(PixelPoint) == sizeof(POINT), "PixelPoint is laid out as POINT");
    const POINT* gdiPoints = reinterpret_cast<const POINT*>(points);
    {
        PenScope pen(dc, colour, lineWidth > 0 ? PenWidth(lineWidth) : 0);
        BrushScope brush(dc, colour);
        if (lineWidth > 0)
            Polyline(dc, gdiPoints, m);
        else
            Polygon(dc, gdiPoints, m + 2);
    }
    delete[] points;
    return 1;
}

int DrawBarGraph(const RECT* rect, HDC dc, const double* values, int n, COLORREF colour,
                 int barWidth, int barSpacing) {
    if (!rect || n <= 0 || !HasAxisRange()) return 0;
    const PlotRect plot = ToPlotRect(*rect);
    const BarLayout layout = ComputeBarLayout(plot.right - plot.left, n, barWidth, barSpacing);
    const int zeroRow = ComputeZeroRow(plot, graphScale.axisMin, graphScale.axisMax);
    PenScope pen(dc, colour, PenWidth(1));
    BrushScope brush(dc, colour);
    for (int i = 0; i < n; ++i) {
        const PlotRect bar = ComputeBarRect(plot, layout, graphScale.axisMin, graphScale.axisMax,
                                            zeroRow, i, values[i]);
        Rectangle(dc, bar.left, bar.top, bar.right, bar.bottom);
        if (bar.left >= plot.right) break;
    }
    return 1;
}

int RenderGraph(const RECT* rect, HDC dc, const int* firstIndex) {
    if (!rect || !dataSet.values || dataSet.count <= 0) return 0;
    RECT plot = *rect;
    int first = firstIndex ? *firstIndex : 0;
    if (first < 0) first = 0;
    if (first > dataSet.count) first = dataSet.count;
    if (DrawsGrid()) DrawGridAndLabels(&plot, dc, graphSettings.gridColor, 1, 1);
    const int n = dataSet.count - first;
    if (graphSettings.graphType == 'L')
        return DrawLineGraph(&plot, dc, dataSet.values + first, n, graphSettings.graphColor,
                             graphSettings.lineWidth, graphSettings.lineSpacing);
    return DrawBarGraph(&plot, dc, dataSet.values + first, n, graphSettings.graphColor,
                        graphSettings.barWidth, graphSettings.barSpacing);
}

void PaintGraph(HWND window, HDC dc, const int* scrollPosition) {
    RECT client = {};
    GetClientRect(window, &client);
    RenderGraph(&client, dc, scrollPosition);
}
