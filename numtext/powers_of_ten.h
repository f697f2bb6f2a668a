#pragma once
// Correctly rounded powers of ten, the same on every C runtime.

// 10^exponent rounded to the nearest double: +infinity above 10^308 and 0
// below 10^-323 (where the nearest double is 0).
double PowerOfTen(int exponent);
