#pragma once
// A bitmap's rows, top row first, in the pixel layouts image encoders take:
// 1, 2, 4 or 8 bits of colour-table index a pixel (the leftmost pixel in the
// top bits of the first byte), or 24 bits as blue, green, red. The PNG export
// hands such rows to the system's encoder in whichever of these it accepts.
#include <cstdint>

#include "bitmap/tbitmap.h"

// Bytes of a row of width pixels at depth, not padded.
int64_t PackedRowBytes(int width, int depth);

// Writes row y (0 is the top) of bitmap at depth into out, PackedRowBytes
// long. An indexed bitmap goes to any index depth that holds its indices, or
// to 24 bits through its colour table; other bitmaps only to 24 bits. False,
// with nothing written, for an empty or compressed bitmap, a row outside it or
// a depth the bitmap cannot be written at.
bool PackRow(const TBitmap& bitmap, int y, int depth, uint8_t* out);
