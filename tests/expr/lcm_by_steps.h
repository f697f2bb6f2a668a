#pragma once
// The least common multiple search written out one sum at a time: the larger
// argument is added up until the smaller one divides the sum exactly. NaN
// when no multiple turns up within limit sums.
#include <cmath>
#include <limits>

inline double LcmBySteps(double a, double b, int limit) {
    if (a == 0 || b == 0) return 0;
    const double hi = a > b ? a : b, lo = a > b ? b : a;
    double m = hi;
    for (int i = 0; i < limit; ++i, m += hi)
        if (std::fmod(m, lo) == 0) return m;
    return std::numeric_limits<double>::quiet_NaN();
}

// LcmOf gives the search's value wherever it ends within this many sums.
constexpr int kLcmStepBound = 100000;
