#pragma once
// Horizontal paging of the graph area through its standard scroll bars, and
// the graph area's window procedure that hands the mouse to the main window.
#include <windows.h>

namespace tamsolo {

struct ScrollPair {
    int x;
    int y;
};

class GraphScroller {
  public:
    // Attaches to window (kept from then on); range and units are null or
    // (horizontal, vertical) pairs. The positions are brought back into range.
    void SetRange(HWND window, const ScrollPair* range, const ScrollPair* units);
    void UpdatePages();
    ScrollPair GetPosition() const;
    ScrollPair SetPosition(int x, int y);
    // Moves a bar as a scroll message asks; other messages only read the position.
    ScrollPair HandleScroll(UINT message, WPARAM first, LPARAM second);
    // Forgets the window, as at start (a new main window).
    void Reset() { *this = GraphScroller(); }

    HWND window = nullptr;
    // Pixels of the client width that show no points (the value labels and
    // the frame's margins): the horizontal page is what is left of the width.
    int reservedX = 0;
    int unitX = 0;
    int unitY = 0;
    unsigned extraMaskX = 0;
    unsigned extraMaskY = 0;
    // While set, the bars change without being drawn; the caller redraws the
    // window's frame once at the end, where the bars then look different (a
    // bar's drawing costs more than all the rest of a wheel step).
    bool deferRedraw = false;
};

} // namespace tamsolo

extern tamsolo::GraphScroller graphScroller;

// Sets the graph area's horizontal range from the data set and the graph
// settings: one unit per point, as many units as points, and a page of as many
// points as the plot area beside the value labels holds.
void UpdateGraphScrollRange(HWND mainWindow);

// The graph area's previous procedure, kept when GraphAreaProc replaces it.
extern WNDPROC previousGraphAreaProc;
LRESULT CALLBACK GraphAreaProc(HWND window, UINT message, WPARAM first, LPARAM second);
