#pragma once
// Drawing the data set with GDI. The same RenderGraph paints the graph area
// and the off-screen surface of the bitmap export.
#include <windows.h>

// Solid brush of graphSettings.backColor that clears the graph area; the stock
// black brush until the Graph Configuration dialog replaces it.
extern HBRUSH backBrush;

// Draws frame, grid, labels and the data set into rect of dc, from the point
// *firstIndex (null: 0). Returns 1 when something was drawn, 0 otherwise.
int RenderGraph(const RECT* rect, HDC dc, const int* firstIndex);

// RenderGraph over window's client rectangle; scrollPosition points to the
// (horizontal, vertical) scroll positions, of which the horizontal one is the
// first index.
void PaintGraph(HWND window, HDC dc, const int* scrollPosition);
