#pragma once
// Pixel sizes on displays of any density: sizes are designed for 96 dpi, the
// system's default, and grow in proportion with a display's DPI.

constexpr int kDefaultDpi = 96;

// a * b / c rounded half away from zero, as the system's MulDiv rounds; -1
// when c is 0 or the result does not fit in 32 bits.
int MulDivRound(int a, int b, int c);

// pixels, a size (or a negative font height) at 96 dpi, at dpi. 96 dpi, and a
// dpi of 0 or less (not known), keep pixels exactly.
int ScaleForDpi(int pixels, int dpi);
