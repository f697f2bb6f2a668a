#pragma once
// Colours as COLORREF values, shared by the graph settings and the GDI scopes.
#include <cstdint>

// Colours are COLORREF values: red in the lowest byte.
constexpr uint32_t MakeColor(unsigned red, unsigned green, unsigned blue) {
    return (red & 0xFFu) | (green & 0xFFu) << 8 | (blue & 0xFFu) << 16;
}
// Reserved colour: no pen or brush.
constexpr uint32_t NO_COLOR = 1;
