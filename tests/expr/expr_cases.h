#pragma once

#include <vector>
// Table-driven checks of EvaluateExpression: one row per expression.
#include "expr/compiled_expression.h"
#include "expr/evaluate.h"
#include "expr/random.h"

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

// For each entry the compiled text reads (and the first), a run of values
// along that entry, many at a time, against the same values one by one.
inline void ExpectSameAlongX(CompiledExpression& compiled, const double* variables,
                             int variableCount, const char* shown) {
    constexpr int kValues = CompiledExpression::kLanes + 6; // past one block
    constexpr double kStep = 0.375;
    for (int slot = 0; variables && slot < variableCount; ++slot) {
        if (slot > 0 && compiled.VariableReads(slot) == 0) continue;
        std::vector<double> table(variables, variables + variableCount), alongX(kValues);
        if (!compiled.EvaluateAlongX(table.data(), slot, kStep, alongX.data(), kValues)) continue;
        std::vector<double> oneByOne(variables, variables + variableCount);
        for (int k = 0; k < kValues; ++k, oneByOne[slot] += kStep) {
            const double value = compiled.Evaluate(oneByOne.data());
            EXPECT_TRUE(SameBits(alongX[k], value))
                << shown << " along entry " << slot << ", value " << k << ": " << alongX[k]
                << " for " << value;
        }
        EXPECT_TRUE(SameBits(table[slot], oneByOne[slot])) << shown << " left x elsewhere";
    }
}

// The value of text through EvaluateExpression with the random generator
// seeded with seed, after checking that the compiled form of text gives the
// same bits and makes as many draws. The generator is left just after the
// draws of the text.
inline double EvaluateBothWays(const char* text, const double* variables, int variableCount,
                               int base, unsigned seed = 7) {
    const char* shown = text ? text : "(null)";
    CompiledExpression compiled;
    compiled.Compile(text, variables != nullptr, variableCount, base);
    SeedRandom(seed);
    const double compiledValue = compiled.Evaluate(variables);
    const int compiledNextDraw = DrawRandom();
    SeedRandom(seed);
    const double value = EvaluateExpression(text, variables, variableCount, base);
    EXPECT_EQ(DrawRandom(), compiledNextDraw)
        << shown << " compiled drew a different number of times";
    EXPECT_TRUE(SameBits(compiledValue, value))
        << shown << " compiled gave " << compiledValue << " for " << value;
    ExpectSameAlongX(compiled, variables, variableCount, shown);
    SeedRandom(seed);
    return EvaluateExpression(text, variables, variableCount, base);
}

template <size_t N>
void ExpectCases(const ExprCase (&cases)[N], const double* variables = nullptr,
                 int variableCount = 0) {
    for (const ExprCase& c : cases)
        ExpectValue(EvaluateBothWays(c.text, variables, variableCount, c.base), c.expected, c.text);
}
