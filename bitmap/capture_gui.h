#pragma once
// Copying pixels of a device context into a TBitmap with whole-row transfers
// (BitBlt into a compatible bitmap, then GetDIBits) instead of one GetPixel
// call per pixel; the pixels are the same.
#include <windows.h>

#include "bitmap/tbitmap.h"

// Copies the source rectangle of dc into bitmap with its top-left pixel at
// (destX, destY). The bitmap must already hold that region at a depth of 15
// or more. Returns 1, or 0 when nothing was copied (empty or too small
// bitmap, a lower depth, or no memory for the transfer).
int CaptureRegion(TBitmap& bitmap, HDC dc, const RECT& source, int destX, int destY);
