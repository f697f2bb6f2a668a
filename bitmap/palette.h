#pragma once
// The colour arithmetic of the palette reduction: bucketing colours by their
// top bits, the centre colour of a bucket, colour distances and the nearest
// table entry. TBitmap's CountColors, BuildPalette and ConvertTo build on it.
#include <cstdint>

#include "bitmap/tbitmap.h"

// Distance metrics of ColorDistance, four-character constants.
constexpr uint32_t FourCharCode(char a, char b, char c, char d) {
    return uint32_t(uint8_t(a)) << 24 | uint32_t(uint8_t(b)) << 16 | uint32_t(uint8_t(c)) << 8 |
           uint32_t(uint8_t(d));
}
constexpr uint32_t kMetricSquared = FourCharCode('s', 'q', 'r', 'd'); // sum of squares
constexpr uint32_t kMetricSum = FourCharCode('s', 'u', 'm', ' ');     // sum of absolute values
// The same metric written as the three-character constant 'sum' (0x0073756D).
constexpr uint32_t kMetricSumShort = 0x0073756D;
constexpr uint32_t kMetricRoot = FourCharCode('s', 'q', 'r', 't'); // root of the squares

// Quantize methods: bits 0-2 are the bits kept of red and blue, bit 7 gives
// green one bit more.
constexpr int kQuantizeGreenExtra = 0x80;
constexpr int kQuantize16Buckets = 0x81;  // red, blue 1 bit, green 2 bits
constexpr int kQuantize128Buckets = 0x82; // red, blue 2 bits, green 3 bits
constexpr int kQuantize8192Buckets = 0x84;

// Bucket index of a colour's top bits under method.
int Quantize(uint32_t color, int method);
// The centre colour of a bucket.
uint32_t BucketColor(int index, int method);
// Distance of the low three bytes of a and b; 0 for an unknown metric.
int ColorDistance(uint32_t a, uint32_t b, uint32_t metric);
// Index of the quad of table nearest to colour (earliest on ties); 0 for n < 1.
int NearestColor(uint32_t color, const uint32_t* table, int n);
