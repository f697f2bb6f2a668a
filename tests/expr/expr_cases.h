#pragma once
// Table-driven checks of EvaluateExpression: one row per expression.
#include "expr/evaluate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

struct ExprCase {
    const char* text;
    int base;
    double expected; // kAnyNaN: any NaN; ErrorValue: exactly its bits
};

inline constexpr double kAnyNaN = std::numeric_limits<double>::quiet_NaN();
inline constexpr double kInf = std::numeric_limits<double>::infinity();

inline bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

inline void ExpectValue(double actual, double expected, const char* text) {
    if (SameBits(expected, ErrorValue))
        EXPECT_TRUE(SameBits(actual, ErrorValue)) << text << " gave " << actual;
    else if (std::isnan(expected))
        EXPECT_TRUE(std::isnan(actual)) << text << " gave " << actual;
    else
        EXPECT_EQ(actual, expected) << text;
}

template <size_t N>
void ExpectCases(const ExprCase (&cases)[N], const double* variables = nullptr,
                 int variableCount = 0) {
    for (const ExprCase& c : cases)
        ExpectValue(EvaluateExpression(c.text, variables, variableCount, c.base), c.expected,
                    c.text);
}
