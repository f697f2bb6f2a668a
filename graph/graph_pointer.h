#pragma once
// Pointer arithmetic of the graph: which point lies under a pixel column, the
// zoom steps of the pixels per point, and the scroll positions that keep a
// point under the pointer or move the graph by a wheel turn.
#include "graph/graph_geometry.h"
#include "graph/graph_settings.h"

// How the shown points lie across the plot area: point first + i is centred
// on column plot.left + offset + i * pitch, for i from 0 to shown - 1.
struct PointColumns {
    double offset;
    double pitch;
    int first;
    int shown;
};

// The columns of count points drawn from first as RenderGraph draws them with
// settings (a line graph or bars).
PointColumns ShownPointColumns(const PlotRect& plot, const GraphSettings& settings, int count,
                               int first);

// The index of the point whose centre lies nearest to column x, or -1 when x
// lies outside the plot area or no point is shown.
int PointUnderColumn(const PlotRect& plot, const PointColumns& columns, int x);

// The zoom factor of one wheel step.
constexpr double kZoomFactor = 1.25;

// Changes the pixels per point of settings by one zoom step, in (about 1.25
// times, at least one pixel more, at most the plot width) or out (about 1.25
// times less, at most the plot width; the step that would show no more than
// fitting shows is fitting itself, the last step out). columns are those
// shown now. Bars keep the share of the bar in each step. Returns whether
// settings changed.
bool ZoomGraphSettings(GraphSettings& settings, const PlotRect& plot, const PointColumns& columns,
                       int count, bool zoomIn);

// The first index that puts point index nearest to column x, for columns laid
// out as after (whose own first is not used).
int FirstIndexKeeping(int index, int x, const PlotRect& plot, const PointColumns& after);

// The scroll position after a wheel turn of delta (120 a notch, positive away
// from the user, which moves toward the first point): a tenth of a page a
// notch, or a page a notch when byPage. A turn smaller than a notch still
// moves by one. Not limited to the scroll range: the scroll bar does that.
int WheelScrollPosition(int position, int page, int delta, bool byPage);

// The whole notches (120 each, positive away from the user) of a wheel turn of
// delta added to the part of a notch turned before (turned, kept between
// calls): finer wheels send parts of a notch. A turn the other way starts
// afresh.
int WholeWheelNotches(int& turned, int delta);
