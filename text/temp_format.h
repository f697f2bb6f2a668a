#pragma once
// printf-style formatting into one of four static 2048-byte buffers used in
// turn, so that a text returned survives the next three calls.

constexpr int kTempFormatSize = 2048;

// Returns the buffer written: the formatted text cut to kTempFormatSize - 1
// characters, or the empty text for a null format or a formatting error.
#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
const char*
TempFormat(const char* format, ...);
