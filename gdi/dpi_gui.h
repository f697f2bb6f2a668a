#pragma once
// The DPI of a window's display, and the stock fonts made for it.
#include <windows.h>

// The DPI of the display that window is on, as the system gives it to a
// program aware of each monitor's DPI; where the system has no such call (before
// Windows 10), the screen's.
int WindowDpi(HWND window);

// The screen's DPI, the one fonts made before any window are sized for.
int ScreenDpi();

// A font like stock font stockFont (ANSI_VAR_FONT and the like), whose sizes
// are those of 96 dpi, at dpi and in quality. Null when it cannot be made.
HFONT CreateStockFontForDpi(int stockFont, int dpi, BYTE quality);

// Leaves the resizing of dialog and the layout of its controls on a DPI change
// to the program, and the font of ownFont (null: none) too: the dialog manager
// of Windows 10 1703 and later would otherwise scale the dialog's template
// positions over the program's layout. Elsewhere (and under Wine) it does nothing.
void KeepDpiChangesToProgram(HWND dialog, HWND ownFont);
