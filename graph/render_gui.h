#pragma once
// Drawing the data set with GDI. The same RenderGraph paints the graph area
// and the off-screen surface of the bitmap export.
#include <windows.h>

// Solid brush of graphSettings.backColor that clears the graph area; the stock
// black brush until the Graph Configuration dialog replaces it.
extern HBRUSH backBrush;

// The DPI the graph is drawn for: the main window's, also in the bitmap export,
// so that the file shows what the screen shows. The labels' font and every pen
// grow with it; 96 until the main window sets it.
extern int graphDpi;

// Draws frame, grid, labels and the data set into rect of dc, from the point
// *firstIndex (null: 0). Returns 1 when something was drawn, 0 otherwise.
int RenderGraph(const RECT* rect, HDC dc, const int* firstIndex);

// RenderGraph over window's client rectangle; scrollPosition points to the
// (horizontal, vertical) scroll positions, of which the horizontal one is the
// first index.
void PaintGraph(HWND window, HDC dc, const int* scrollPosition);

// The part of rect in which RenderGraph draws the data: rect less the frame's
// margins and the value labels when the grid is drawn, else rect itself.
RECT GraphPlotArea(const RECT& rect, HDC dc);

// Frame, grid and labels of graphScale in colour, with the pen width given
// (at 96 dpi);
// shrinks rect in place to the plot area. Returns 0 without drawing when the
// scale has no step.
int DrawGridAndLabels(RECT* rect, HDC dc, COLORREF colour, int penWidth, int withLabels);

// n values from values as a line (lineWidth > 0) or as the filled area below it
// (lineWidth <= 0), and as bars. Each returns 0 without drawing when rect is
// null, n <= 0 or the scale's axis range is empty, else 1.
int DrawLineGraph(const RECT* rect, HDC dc, const double* values, int n, COLORREF colour,
                  int lineWidth, int lineSpacing);
int DrawBarGraph(const RECT* rect, HDC dc, const double* values, int n, COLORREF colour,
                 int barWidth, int barSpacing);
