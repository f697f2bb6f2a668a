#pragma once
// Conversions that every subsystem shares, so that there is exactly one way to
// turn a double into a 32-bit integer and one way to copy into a fixed buffer.
#include <cstddef>
#include <cstdint>
#include <cstring>

constexpr int32_t kInt32Invalid = INT32_MIN;

// Truncates toward zero to a signed 32-bit integer. NaN, the infinities and
// values outside the signed 32-bit range give -2147483648, without undefined
// behaviour.
inline int32_t TruncateToInt32(double value) {
    if (!(value > -2147483649.0 && value < 2147483648.0)) return kInt32Invalid;
    return static_cast<int32_t>(value);
}

// The 64 bits of a double, and the double of 64 bits.
inline uint64_t BitsOf(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}
inline double FromBits(uint64_t bits) {
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Copies src into dst, which holds size bytes, cutting it to size - 1
// characters; dst is always NUL-terminated when size > 0. A null src copies an
// empty text. Returns the number of characters copied.
inline size_t CopyBounded(char* dst, size_t size, const char* src) {
    if (size == 0) return 0;
    size_t n = 0;
    if (src)
        while (n + 1 < size && src[n]) {
            dst[n] = src[n];
            ++n;
        }
    dst[n] = '\0';
    return n;
}
