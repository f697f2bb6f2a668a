#include "graph/graph_pointer.h"

#include "text/convert.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr int kWheelNotch = 120;
constexpr int kWheelSteps = 10; // a tenth of a page a notch

int PlotWidth(const PlotRect& plot) {
    return plot.right - plot.left;
}

// The pixels per point of a zoom step from pitch: about kZoomFactor times
// more (at least one more) or less (at least one less).
long long ZoomedPitch(double pitch, bool zoomIn) {
    if (zoomIn) {
        const long long more = static_cast<long long>(std::floor(pitch)) + 1;
        const long long scaled = std::llround(pitch * kZoomFactor);
        return scaled > more ? scaled : more;
    }
    const long long less = static_cast<long long>(std::ceil(pitch)) - 1;
    const long long scaled = std::llround(pitch / kZoomFactor);
    return scaled < less ? scaled : less;
}

bool Fits(const GraphSettings& settings) {
    if (settings.graphType == 'L') return settings.lineSpacing < 0;
    return !(settings.barSpacing >= 0 && settings.barWidth > 0);
}

void SetFit(GraphSettings& settings) {
    if (settings.graphType == 'L') {
        settings.lineSpacing = -1;
    } else {
        settings.barWidth = -1;
        settings.barSpacing = -1;
    }
}

// Sets pitch pixels per point; a bar keeps its share of the pitch it had in
// columns (the centre of a bar lies half its width past the gap before it),
// and stays at least one pixel wide.
void SetPitch(GraphSettings& settings, const PointColumns& columns, int pitch) {
    if (settings.graphType == 'L') {
        settings.lineSpacing = pitch - 1;
        return;
    }
    const double share = 2 * (columns.pitch - columns.offset) / columns.pitch;
    long long width = std::llround(pitch * (share > 0 && share <= 1 ? share : 0.5));
    if (width < 1) width = 1;
    if (width > pitch) width = pitch;
    settings.barWidth = static_cast<int>(width);
    settings.barSpacing = static_cast<int>(pitch - width);
}

// The pixels per point that fitting gives count points in plot.
double FitPitch(const GraphSettings& settings, const PlotRect& plot, int count) {
    GraphSettings fit = settings;
    SetFit(fit);
    return ShownPointColumns(plot, fit, count, 0).pitch;
}

} // namespace

PointColumns ShownPointColumns(const PlotRect& plot, const GraphSettings& settings, int count,
                               int first) {
    if (first < 0) first = 0;
    const int n = count > first ? count - first : 0;
    if (n == 0) return {0, 1, first, 0};
    if (settings.graphType == 'L')
        return {0, LinePointSpacing(plot, n, settings.lineSpacing), first, n};
    const BarLayout layout =
        ComputeBarLayout(PlotWidth(plot), n, settings.barWidth, settings.barSpacing);
    return {layout.spacing + layout.width / 2, layout.width + layout.spacing, first, n};
}

int PointUnderColumn(const PlotRect& plot, const PointColumns& columns, int x) {
    if (columns.shown <= 0 || x < plot.left || x > plot.right || !(columns.pitch > 0)) return -1;
    const double i = std::round((x - plot.left - columns.offset) / columns.pitch);
    if (!(i > 0)) return columns.first;
    if (i >= columns.shown - 1) return columns.first + columns.shown - 1;
    return columns.first + static_cast<int>(i);
}

bool ZoomGraphSettings(GraphSettings& settings, const PlotRect& plot, const PointColumns& columns,
                       int count, bool zoomIn) {
    if (count <= 0 || PlotWidth(plot) <= 0) return false;
    const bool fits = Fits(settings);
    if (!zoomIn && fits) return false;
    long long pitch = ZoomedPitch(columns.pitch, zoomIn);
    if (zoomIn) {
        if (pitch > PlotWidth(plot)) pitch = PlotWidth(plot);
        if (!fits && pitch <= columns.pitch) return false;
    } else if (pitch < 1 || pitch <= FitPitch(settings, plot, count)) {
        SetFit(settings);
        return true;
    } else if (pitch > PlotWidth(plot)) {
        // From a typed spacing wider than the plot, out to one point over all of it.
        pitch = PlotWidth(plot);
    }
    SetPitch(settings, columns, static_cast<int>(pitch));
    return true;
}

int FirstIndexKeeping(int index, int x, const PlotRect& plot, const PointColumns& after) {
    // A pointer left of the first point's centre keeps the point first.
    const double steps = std::max(0.0, std::round((x - plot.left - after.offset) / after.pitch));
    return TruncateToInt32(static_cast<double>(index) - steps);
}

int WheelScrollPosition(int position, int page, int delta, bool byPage) {
    const long long amount = byPage ? page : page / kWheelSteps;
    long long move = -static_cast<long long>(delta) * (amount > 1 ? amount : 1) / kWheelNotch;
    if (move == 0 && delta != 0) move = delta > 0 ? -1 : 1;
    const long long target = position + move;
    return target > INT_MAX ? INT_MAX : target < INT_MIN ? INT_MIN : static_cast<int>(target);
}

int WholeWheelNotches(int& turned, int delta) {
    if ((turned < 0 && delta > 0) || (turned > 0 && delta < 0)) turned = 0;
    turned += delta;
    const int notches = turned / kWheelNotch;
    turned -= notches * kWheelNotch;
    return notches;
}
