#pragma once
// Number text: a double as text in any base from 2 to 36.

// Size of the formatter's shared result buffer, and the room every caller's own
// buffer must have.
constexpr int kFormatBufferSize = 1536;

// Formats value into buffer (null: the shared result buffer) with
// |fractionDigits| fraction digits in base, steered by the option string
// ("+", ",", ",=N", "c", "E", "E=N", "e", "e=N"). Returns the buffer, or null
// (writing nothing) for a base outside 2 to 36.
char* FormatNumber(double value, char* buffer, int fractionDigits, int base, const char* options);

// Rounds half away from zero to a pixel coordinate: -2147483648 outside the
// 32-bit range, -999999 for negative infinity, 999999 for +infinity and NaN.
int RoundToInt(double value);
