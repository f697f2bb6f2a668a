#pragma once
// The binary element types of data files: little-endian bytes to doubles and
// back, the same on every host.
#include "datafiles/file_types.h"
#include "text/convert.h"

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

// Truncates toward zero to an unsigned 32-bit integer. NaN and values at or
// below -1 give 0, values of 2^32 and more (+infinity too) give 4294967295:
// the nearest value the type holds, without undefined behaviour.
inline uint32_t TruncateToUint32(double value) {
    if (!(value > -1.0)) return 0;
    if (!(value < 4294967296.0)) return UINT32_MAX;
    return static_cast<uint32_t>(value);
}

// Rounds to the nearest single-precision value as IEEE arithmetic does,
// finite values beyond the float range included (the language leaves that
// conversion undefined): they become the largest float or an infinity.
inline float RoundToFloat(double value) {
    // Halfway between FLT_MAX and 2^128: from here on the rounding is infinite.
    constexpr double kOverflowEdge = 340282356779733661637539395458142568448.0;
    if (std::isnan(value)) return static_cast<float>(value);
    if (value >= kOverflowEdge) return HUGE_VALF;
    if (value <= -kOverflowEdge) return -HUGE_VALF;
    if (value > FLT_MAX) return FLT_MAX;
    if (value < -FLT_MAX) return -FLT_MAX;
    return static_cast<float>(value);
}

inline uint32_t LoadLittle16(const unsigned char* b) {
    return b[0] | (uint32_t{b[1]} << 8);
}
inline uint32_t LoadLittle32(const unsigned char* b) {
    return b[0] | (uint32_t{b[1]} << 8) | (uint32_t{b[2]} << 16) | (uint32_t{b[3]} << 24);
}
inline uint64_t LoadLittle64(const unsigned char* b) {
    return LoadLittle32(b) | (uint64_t{LoadLittle32(b + 4)} << 32);
}
inline void StoreLittle(unsigned char* b, uint64_t bits, int bytes) {
    for (int i = 0; i < bytes; ++i) b[i] = static_cast<unsigned char>(bits >> (8 * i));
}

// Converts count elements of the binary type code from bytes into values.
void DecodeElements(uint32_t code, const unsigned char* bytes, size_t count, double* values);

// Writes value as one element of the binary type code into bytes (room for
// BinaryElementSize(code) bytes): integers truncated toward zero, FLOATs
// rounded to the nearest float, doubles unchanged.
void EncodeElement(uint32_t code, double value, unsigned char* bytes);
