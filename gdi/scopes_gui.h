#pragma once
// Selection scopes for GDI objects: each selects its object into a device
// context on creation and, at its end, selects the previous object back into
// that same context and deletes what it created. NO_COLOR selects the stock
// null pen or brush, which is never deleted.
#include "gdi/color.h"

#include <windows.h>

namespace tamsolo {

// Selects owned (or, when owned is null, fallback; or nothing) into dc, and at
// its end selects the previous object back and deletes owned.
class GdiObjectScope {
  public:
    GdiObjectScope(HDC dc, HGDIOBJ owned, HGDIOBJ fallback = nullptr)
        : dc(dc), owned(owned),
          previous(owned || fallback ? SelectObject(dc, owned ? owned : fallback) : nullptr) {}
    ~GdiObjectScope() {
        if (previous) SelectObject(dc, previous);
        if (owned) DeleteObject(owned);
    }
    GdiObjectScope(const GdiObjectScope&) = delete;
    GdiObjectScope& operator=(const GdiObjectScope&) = delete;

  private:
    HDC dc;
    HGDIOBJ owned; // null when the fallback (a stock object) is selected
    HGDIOBJ previous;
};

class PenScope : public GdiObjectScope {
  public:
    PenScope(HDC dc, COLORREF colour, int width)
        : GdiObjectScope(dc, colour == NO_COLOR ? nullptr : CreatePen(PS_SOLID, width, colour),
                         GetStockObject(NULL_PEN)) {}
};

class BrushScope : public GdiObjectScope {
  public:
    BrushScope(HDC dc, COLORREF colour)
        : GdiObjectScope(dc, colour == NO_COLOR ? nullptr : CreateSolidBrush(colour),
                         GetStockObject(NULL_BRUSH)) {}
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

// The device context of a window, released at the end.
class WindowDC {
  public:
    explicit WindowDC(HWND window) : window(window), dc(GetDC(window)) {}
    ~WindowDC() {
        if (dc) ReleaseDC(window, dc);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HWND window;
    HDC dc;
};

// A memory device context with a compatible bitmap of the given size selected
// into it, released in reverse order. Made like target, or like the device
// context of window, which is released again at once.
class MemorySurface {
  public:
    MemorySurface(HDC target, int width, int height) { Create(target, width, height); }
    MemorySurface(HWND window, int width, int height) {
        const WindowDC screen(window);
        if (screen.dc) Create(screen.dc, width, height);
    }
    ~MemorySurface() {
        if (previous) SelectObject(dc, previous);
        if (bitmap) DeleteObject(bitmap);
        if (dc) DeleteDC(dc);
    }
    MemorySurface(const MemorySurface&) = delete;
    MemorySurface& operator=(const MemorySurface&) = delete;
    bool Ready() const { return previous != nullptr; }
    HDC dc = nullptr;

  private:
    void Create(HDC target, int width, int height) {
        dc = CreateCompatibleDC(target);
        bitmap = CreateCompatibleBitmap(target, width, height);
        if (dc && bitmap) previous = SelectObject(dc, bitmap);
    }
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
};

} // namespace tamsolo
