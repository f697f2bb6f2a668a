#pragma once
// Pixel arithmetic of the graph: where the frame, grid rows, line points and
// bars go in a target rectangle. The GDI drawing in render_gui only connects
// these positions.

// Pixel offsets are held within this distance of the plot area's edges: GDI
// calls fail on coordinates beyond about 2^26, and nothing so far out shows.
constexpr long long kFarPixels = 1 << 26;
// The offset of a value that is not finite, as RoundToInt gives it: outside
// the plot area, yet within reach of GDI.
constexpr long long kNotFiniteOffset = 999999;

struct PlotRect {
    int left;
    int top;
    int right;
    int bottom;
};

struct PixelPoint {
    int x;
    int y;
};

inline bool operator==(const PlotRect& a, const PlotRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline bool operator==(const PixelPoint& a, const PixelPoint& b) {
    return a.x == b.x && a.y == b.y;
}

// ---- frame, grid and labels ----

struct GridFrame {
    PlotRect plot;   // the rectangle shrunk to the plot area
    int labelMargin; // room left of the plot area for the value labels; 0 without labels
    int half;        // half a text line: the margin at the other edges
};

// Shrinks r to the plot area for text of the given metrics.
GridFrame ComputeGridFrame(const PlotRect& r, int labelChars, int averageCharWidth, int textHeight,
                           int internalLeading, bool withLabels);

struct GridRow {
    int offset;   // pixels above the plot area's bottom edge
    double value; // value that the row's label shows
};

// Rows of the horizontal grid, from the bottom one (offset 0) upward, each
// step apart in value, while the offset stays within the plot height. Writes
// at most capacity rows and returns how many. Stops as well when the scale
// gives no growing offsets (zero height or an empty axis range).
int ComputeGridRows(int plotHeight, double axisMin, double axisMax, double step, GridRow* rows,
                    int capacity);

// The label text of a grid row (" %.5g ").
void FormatGridLabel(double value, char* text, int size);

// ---- line graph ----

// Points a line graph of n values needs at most in plot, stop at the right
// edge included, plus the two points that close the filled area.
int LinePointCapacity(const PlotRect& plot, int n, int lineSpacing);

// Computes the line's points into points (capacity from LinePointCapacity),
// followed by the two points that close the area below it, and returns the
// number of points of the line itself (not counting those two). With
// mergeColumns each run of points in one pixel column is merged as it is
// computed into at most four points (first, the two extremes, last), which a
// one-pixel line draws identically; MergedLinePointCapacity points then
// always suffice.
int ComputeLinePoints(const PlotRect& plot, const double* values, int n, double axisMin,
                      double axisMax, int lineSpacing, PixelPoint* points, int capacity,
                      bool mergeColumns = false);

// The distance between neighbouring points of a line of n values in plot:
// lineSpacing + 1, or for a negative lineSpacing the spacing that spreads the
// points over the whole width.
double LinePointSpacing(const PlotRect& plot, int n, int lineSpacing);

// Where ComputeLinePoints puts point i of value, spacing apart.
PixelPoint LinePointAt(const PlotRect& plot, double axisMin, double axisMax, double spacing, int i,
                       double value);

// Points a merged line needs at most in plot: four per pixel column.
int MergedLinePointCapacity(const PlotRect& plot);

// ---- bar graph ----

struct BarLayout {
    double width;
    double spacing;
};

// Bar width and gap for n bars over plotWidth pixels; a negative spacing or a
// width of 0 or less is fitted to the room.
BarLayout ComputeBarLayout(int plotWidth, int n, int barWidth, int barSpacing);

// Pixel row of the value 0, held within kFarPixels of the plot area.
int ComputeZeroRow(const PlotRect& plot, double axisMin, double axisMax);

// Rectangle of bar i of value in plot: left, top, right, bottom (the zero row,
// from ComputeZeroRow). The top is worked out from the unlimited zero row, so
// bars of values far from 0 still stand at their place in the plot area.
PlotRect ComputeBarRect(const PlotRect& plot, const BarLayout& layout, double axisMin,
                        double axisMax, int zeroRow, int i, double value);
