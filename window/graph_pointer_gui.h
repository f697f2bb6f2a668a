#pragma once
// Reading values off the graph and the wheel over it: the point under the
// pointer is marked and its index, x and value show in a tracking tooltip; the
// wheel scrolls the graph and Ctrl+wheel zooms it.
#include <windows.h>

// The pointer moved to (x, y) of the graph area's client area.
void TrackGraphPointer(HWND area, int x, int y);
// The pointer left the graph area: the mark and the tooltip go.
void EndGraphPointer(HWND area);
// Draws the mark into dc of area, just repainted, while the pointer marks a
// point: the point under the pointer is found again, since the graph may have
// changed under a pointer that rested (a new plot, a sort, new options), and
// the tooltip reads it out or goes.
void RedrawPointerMark(HWND area, HDC dc);
// A wheel turn with WM_MOUSEWHEEL's parameters (the pointer in screen
// coordinates). Returns TRUE when it was over the graph area and handled.
BOOL OnGraphWheel(HWND mainWindow, WPARAM first, LPARAM second);
// The readout's tooltip asking for its text (WM_NOTIFY); FALSE for any other
// notification.
BOOL OnGraphTipNotify(const NMHDR* header);
// Forgets the pointer and the tooltip, as at start (a new main window).
void ForgetGraphPointer();
// The readout's tooltip; null until the pointer first marks a point.
HWND GraphPointerTip();
