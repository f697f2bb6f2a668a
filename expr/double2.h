#pragma once
// Exact sums and products of two doubles as unevaluated pairs hi + lo, built
// from IEEE additions and multiplications only, so that they round the same
// on every platform.

struct Double2 {
    double hi, lo;
};

inline Double2 TwoSum(double a, double b) {
    const double s = a + b;
    const double bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

// As TwoSum, when |a| >= |b|.
inline Double2 FastTwoSum(double a, double b) {
    const double s = a + b;
    return {s, b - (s - a)};
}

inline Double2 SplitHalves(double a) {
    const double t = 134217729.0 * a; // 2^27 + 1
    const double hi = t - (t - a);
    return {hi, a - hi};
}

// a * b exactly as hi + lo (for |a|, |b| below about 2^995).
inline Double2 TwoProduct(double a, double b) {
    const double p = a * b;
    const Double2 as = SplitHalves(a), bs = SplitHalves(b);
    return {p, ((as.hi * bs.hi - p) + as.hi * bs.lo + as.lo * bs.hi) + as.lo * bs.lo};
}
