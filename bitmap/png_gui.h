#pragma once
// Saving a TBitmap as a PNG file through the Windows Imaging Component, the
// image codecs every Windows has.
#include <cstdint>

#include "bitmap/tbitmap.h"

// Encodes picture as PNG in memory and writes the bytes through the safe save
// (datafiles/safe_save.h). An indexed picture is written indexed at its own
// depth with its whole colour table, in the same order; should the encoder
// not take that depth, at the nearest it offers instead (a larger index depth,
// else 24-bit colour). Returns the size of the file, or 0 with any existing
// file left as it was (an empty picture, an encoder that fails or takes no
// layout this can give, an unwritable path).
uint32_t SavePngFile(const TBitmap& picture, const char* path);
