#pragma once
// File type codes: two ASCII letters for the element type in the low 16 bits
// (first letter in the high byte), two flag bytes for text files. 0 means the
// File Type dialog was cancelled.
#include <cstdint>

constexpr uint32_t kTypeText = 0x6174;           // "at"
constexpr uint32_t kTypeUnsignedBytes = 0x7562;  // "ub"
constexpr uint32_t kTypeSignedBytes = 0x7362;    // "sb"
constexpr uint32_t kTypeUnsignedShorts = 0x7573; // "us"
constexpr uint32_t kTypeSignedShorts = 0x7373;   // "ss"
constexpr uint32_t kTypeUnsignedLongs = 0x756C;  // "ul"
constexpr uint32_t kTypeSignedLongs = 0x736C;    // "sl"
constexpr uint32_t kTypeFloats = 0x6670;         // "fp"
constexpr uint32_t kTypeDoubles = 0x6466;        // "df"

// Flags of a text code, each a byte of its own.
constexpr uint32_t MultiplierFlag = 0x00610000;     // K, M, B, T after numbers
constexpr uint32_t ColumnEquationFlag = 0x63000000; // combine each line's numbers
constexpr uint32_t kMultiplierFlagMask = 0x00FF0000;
constexpr uint32_t kColumnEquationFlagMask = 0xFF000000;

inline bool HasMultiplierFlag(uint32_t code) {
    return (code & kMultiplierFlagMask) == MultiplierFlag;
}
inline bool HasColumnEquationFlag(uint32_t code) {
    return (code & kColumnEquationFlagMask) == ColumnEquationFlag;
}

// Bytes per element of a binary code (compared as the whole 32-bit value), or
// 0 for every other code, which is text.
inline int BinaryElementSize(uint32_t code) {
    switch (code) {
    case kTypeUnsignedBytes:
    case kTypeSignedBytes: return 1;
    case kTypeUnsignedShorts:
    case kTypeSignedShorts: return 2;
    case kTypeUnsignedLongs:
    case kTypeSignedLongs:
    case kTypeFloats: return 4;
    case kTypeDoubles: return 8;
    default: return 0;
    }
}
