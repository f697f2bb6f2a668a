#pragma once
// The About box's logo: the maker's name over a glow and a turning, tiled
// solid, painted whole into a memory surface and then copied out in one go.
#include <windows.h>

// The maker, whose name the logo shows.
extern const char kMakerName[];

// Draws one frame of the logo into logo's device context (dc null: its own,
// obtained and released here) at rect (null: the client rectangle).
void PaintLogo(HWND logo, HDC dc, int angle, int shade, const RECT* rect);

// Fills a polygon with diamond tiles of random shades (one shade when
// tileSize <= 1), a fixed pattern with a sparkle that changes every frame.
void FillFaceTiles(HDC dc, const POINT* points, int count, int shades, int tileSize);
