#pragma once
// Little-endian fields of the bitmap block and the channels of a colour value,
// shared by the bitmap itself and the palette reduction.
#include <cstdint>

constexpr int kQuadBytes = 4;               // one colour-table entry
constexpr uint32_t kColorMask = 0x00FFFFFF; // the 24-bit colour without its top byte

inline uint16_t ReadU16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}
inline uint32_t ReadU32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline void WriteU16(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
inline void WriteU32(uint8_t* p, uint32_t v) {
    WriteU16(p, v);
    WriteU16(p + 2, v >> 16);
}

inline uint32_t MakeColor(uint32_t red, uint32_t green, uint32_t blue) {
    return red | green << 8 | blue << 16;
}
inline uint32_t RedOf(uint32_t color) {
    return color & 0xFF;
}
inline uint32_t GreenOf(uint32_t color) {
    return color >> 8 & 0xFF;
}
inline uint32_t BlueOf(uint32_t color) {
    return color >> 16 & 0xFF;
}
