#pragma once
// Texts of numbers that the expression language reads back, in a given base,
// as exactly the double they were made from: for values that the calculation
// line puts into an expression (DATA values, the constants of conversions).
#include "text/growable_text.h"

// A primary of the expression language that reads back in base (2, 8, 10 or
// 16) as exactly value, bit for bit (NaN, and anything in a base outside 2
// to 16, as a NaN). Digits in base where they
// are exact: a whole number below 2^53 in any base, and any value in bases 2,
// 8 and 16 whose lowest bit is not too small for the reader's divisor.
// Otherwise, and for negative values, a bracketed expression: the odd
// significand multiplied or divided by powers of two below 2^53, each of
// which is exact, or 1/0, -1/0 and 0/0 for the infinities and NaN.
GrowableText ExactNumberText(double value, int base);
