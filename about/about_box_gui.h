#pragma once
// The About box: a dialog built in memory with the program's name, version
// and build date, a link to the maker's web address and a turning logo.
#include <windows.h>

// The maker, drawn in the logo and opened by the link button.
extern const char kMakerName[];
extern const char kMakerAddress[];

// The logo's turn in degrees; carries over from one showing to the next.
extern int logoAngle;

// Shows the box modally. logoSize: the logo area in pixels, or null for the
// default from the dialog base units. value is handed on to the dialog
// unused. Returns the dialog's result (0 on Close), -1 when it cannot be shown.
INT_PTR ShowAboutBox(HWND owner, const char* programName, int version, HICON icon,
                     const SIZE* logoSize, LPARAM value);

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Draws one frame of the logo into logo's device context (dc null: its own,
// obtained and released here) at rect (null: the client rectangle).
void PaintLogo(HWND logo, HDC dc, int angle, int shade, const RECT* rect);

// Fills a polygon with diamond tiles of random shades (one shade when
// tileSize <= 1), a fixed pattern with a sparkle that changes every frame.
void FillFaceTiles(HDC dc, const POINT* points, int count, int shades, int tileSize);
