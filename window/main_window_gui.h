#pragma once
// The main window: dialog 100 and its procedure.
#include <windows.h>

// The first popup of menu 104, the main popup menu; null when the menu could
// not be loaded.
extern HMENU mainPopupMenu;

INT_PTR CALLBACK MainWindowProc(HWND window, UINT message, WPARAM first, LPARAM second);

// Lays out the line, the Menu button, the graph area and the statistics bar
// for a client area of cx x cy pixels.
void LayoutMainWindow(HWND window, int cx, int cy);

// Clears rect of dc with the back brush and draws the graph area's graph into
// it from the scroll position, as the window shows it.
void DrawGraphArea(HWND area, HDC dc, const RECT& rect);

// Clears the graph area and draws the graph; only for the graph area's
// request (returns FALSE for any other control).
BOOL PaintGraphArea(const DRAWITEMSTRUCT* item);
