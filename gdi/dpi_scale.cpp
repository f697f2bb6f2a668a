#include "gdi/dpi_scale.h"

#include <cstdint>

int MulDivRound(int a, int b, int c) {
    if (c == 0) return -1;
    const int64_t product = static_cast<int64_t>(a) * b;
    const int64_t half = (c < 0 ? -static_cast<int64_t>(c) : c) / 2;
    const bool negative = (product < 0) != (c < 0);
    const int64_t magnitude = (product < 0 ? -product : product) + half;
    const int64_t quotient = magnitude / (c < 0 ? -static_cast<int64_t>(c) : c);
    const int64_t result = negative ? -quotient : quotient;
    if (result > INT32_MAX || result < INT32_MIN) return -1;
    return static_cast<int>(result);
}

int ScaleForDpi(int pixels, int dpi) {
    if (dpi <= 0 || dpi == kDefaultDpi) return pixels;
    return MulDivRound(pixels, dpi, kDefaultDpi);
}
