#pragma once
// The mathematical functions of the expression language, written here from
// additions, multiplications, divisions and square roots only, so that the
// Windows and the Linux build give bit-identical results for the same input
// (the C runtimes' own sin, pow and friends differ in their last bits).
// They follow the usual IEEE conventions for zeros, infinities and NaN.

double PortableSin(double x);
double PortableCos(double x);
double PortableTan(double x);
double PortableAsin(double x);
double PortableAcos(double x);
double PortableAtan(double x);
double PortableExp(double x);
double PortableLog(double x);   // natural logarithm
double PortableLog10(double x); // base-10 logarithm
double PortablePow(double x, double y);

// The most a whole exponent has that PortablePow raises by multiplying.
constexpr int kMaxWholePower = 64;
// Whether PortablePow(x, y) is PortableWholePow(x, y) for every x: y is whole
// with 2 <= |y| <= kMaxWholePower.
inline bool IsWholePowerExponent(double y) {
    const double magnitude = y < 0 ? -y : y;
    return magnitude >= 2 && magnitude <= kMaxWholePower && static_cast<int>(y) == y;
}
// PortablePow(x, n) for such an n, faster.
double PortableWholePow(double x, int n);
// Whether cubes use the processor's fused multiply-add, where it has one
// (it does by default): the results are the same either way, only faster.
// Returns whether it is now in use; the tests switch it to compare both.
bool UseFusedMultiplyAdd(bool use);
