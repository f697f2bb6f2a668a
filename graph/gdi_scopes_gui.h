#pragma once
// Selection scopes for GDI objects: each selects its object into a device
// context on creation and, at its end, selects the previous object back into
// that same context and deletes what it created. NO_COLOR selects the stock
// null pen or brush, which is never deleted.
#include "graph/graph_settings.h"

#include <windows.h>

class PenScope {
  public:
    PenScope(HDC dc, COLORREF colour, int width)
        : dc(dc), pen(colour == NO_COLOR ? nullptr : CreatePen(PS_SOLID, width, colour)),
          previous(SelectObject(dc, pen ? static_cast<HGDIOBJ>(pen) : GetStockObject(NULL_PEN))) {}
    ~PenScope() {
        SelectObject(dc, previous);
        if (pen) DeleteObject(pen);
    }
    PenScope(const PenScope&) = delete;
    PenScope& operator=(const PenScope&) = delete;

  private:
    HDC dc;
    HPEN pen; // null when the stock null pen is selected
    HGDIOBJ previous;
};

class BrushScope {
  public:
    BrushScope(HDC dc, COLORREF colour)
        : dc(dc), brush(colour == NO_COLOR ? nullptr : CreateSolidBrush(colour)),
          previous(
              SelectObject(dc, brush ? static_cast<HGDIOBJ>(brush) : GetStockObject(NULL_BRUSH))) {}
    ~BrushScope() {
        SelectObject(dc, previous);
        if (brush) DeleteObject(brush);
    }
    BrushScope(const BrushScope&) = delete;
    BrushScope& operator=(const BrushScope&) = delete;

  private:
    HDC dc;
    HBRUSH brush; // null when the stock null brush is selected
    HGDIOBJ previous;
};

// Takes over font: it is deleted at the end (a no-op for stock fonts).
class TextScope {
  public:
    TextScope(HDC dc, COLORREF textColour, HFONT font, int backgroundMode)
        : dc(dc), font(font), previousFont(SelectObject(dc, font)),
          previousMode(SetBkMode(dc, backgroundMode)),
          previousColour(SetTextColor(dc, textColour)) {}
    ~TextScope() {
        SetBkMode(dc, previousMode);
        SetTextColor(dc, previousColour);
        SelectObject(dc, previousFont);
        DeleteObject(font);
    }
    TextScope(const TextScope&) = delete;
    TextScope& operator=(const TextScope&) = delete;

  private:
    HDC dc;
    HFONT font;
    HGDIOBJ previousFont;
    int previousMode;
    COLORREF previousColour;
};
