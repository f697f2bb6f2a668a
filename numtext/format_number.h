#pragma once
// Number text: a double as text in any base from 2 to 36.

// Size of the formatter's shared result buffer, and the room every caller's own
// buffer must have: no arguments give a longer text than kFormatBufferSize - 1
// characters.
constexpr int kFormatBufferSize = 1536;

// The most fraction digits worked out; a larger |fractionDigits| counts as this
// many. In base 2 every binary place of a double lies within it, and the
// longest text with a fraction (52 integer digits grouped by 1, sign, point,
// these digits, exponent) stays well inside kFormatBufferSize.
constexpr int kMaxFractionDigits = 1074;

// Formats value into buffer (null: the shared result buffer, overwritten by the
// next call that passes null) with |fractionDigits| fraction digits in base,
// steered by the option string:
//   "+"    a plus sign in front of non-negative results;
//   ",=N"  digit groups of N; else ","  groups of 4 in bases 2 and 16, else 3;
//   "c"    upper-case digit letters;
//   "E=N"  exponent notation (base 10 only) above 10^N - 1; else "E": N = 0;
//   "e=N"  exponent notation below 10^-N; else "e": N = 0.
// Each token is the first occurrence of that substring anywhere in options
// (null counts as empty); N is read like atoi, saturating at the int range.
// fractionDigits > 0 trims trailing zeros, < 0 keeps them, 0 gives no
// fraction. NaN gives "INVALID", the infinities "+INFINITY" and "-INFINITY".
//
// A caller's buffer must hold kFormatBufferSize bytes; the text and its NUL
// always fit. The one text that would not fit (base 2, groups of 1 or 2, more
// than about 760 integer digits) is written without grouping.
//
// Returns the buffer, or null (writing nothing) for a base outside 2 to 36.
char* FormatNumber(double value, char* buffer, int fractionDigits, int base, const char* options);

// Rounds half away from zero to a pixel coordinate: -2147483648 outside the
// 32-bit range, -999999 for negative infinity, 999999 for +infinity and NaN.
int RoundToInt(double value);
