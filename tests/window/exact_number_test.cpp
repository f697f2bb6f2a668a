#include "window/exact_number.h"

#include "expr/evaluate.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

const double kInf = std::numeric_limits<double>::infinity();

// 2^-1074: twenty divisions by 2^52 and one by 2^34, each exact.
const char kTrueMinText[] =
    "(1/4503599627370496/4503599627370496/4503599627370496/4503599627370496/4503599627370496/"
    "4503599627370496/4503599627370496/4503599627370496/4503599627370496/4503599627370496/"
    "4503599627370496/4503599627370496/4503599627370496/4503599627370496/4503599627370496/"
    "4503599627370496/4503599627370496/4503599627370496/4503599627370496/4503599627370496/"
    "17179869184)";

TEST(ExactNumberText, DigitsWhereTheyAreExactAnExpressionElsewhere) {
    const struct {
        double value;
        int base;
        const char* text;
    } cases[] = {
        {10, 16, "A"},
        {10, 2, "1010"},
        {10, 10, "10"},
        {255.5, 16, "FF.8"},
        {0.375, 8, "0.3"},
        {-0.5, 2, "(-0.1)"},
        {0, 10, "0"},
        {-0.0, 16, "(-0)"},
        {0.5, 10, "(1/2)"},
        {-0.1, 10, "(-3602879701896397/4503599627370496/8)"},
        {9007199254740992.0, 10, "9007199254740992"},
        {9007199254740994.0 * 2, 10, "(4503599627370497*4)"},
        {9007199254740994.0 * 2, 16, "40000000000004"},
        {DBL_TRUE_MIN, 10, kTrueMinText},
        {kInf, 2, "(1/0)"},
        {-kInf, 10, "(-1/0)"},
        {std::nan(""), 8, "(0/0)"},
        {1, 1, "(0/0)"}, // no digits in such bases
        {1, 17, "(0/0)"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(ExactNumberText(c.value, c.base).Text(), c.text) << c.value << " " << c.base;
}

TEST(ExactNumberText, ReadsBackBitForBitInEveryBase) {
    const double values[] = {0,
                             -0.0,
                             1,
                             -0.5,
                             0.1,
                             1e-7,
                             1e300,
                             -1e300,
                             123.4567891,
                             9007199254740993.0 * 4,
                             1e17 + 8,
                             1.0 / 3,
                             -3.141592653589793,
                             DBL_TRUE_MIN,
                             DBL_MIN,
                             -DBL_MIN * 0.75,
                             DBL_MAX,
                             -DBL_MAX,
                             1e-300,
                             kInf,
                             -kInf};
    for (int base : {2, 8, 10, 16}) {
        for (double value : values) {
            const GrowableText text = ExactNumberText(value, base);
            const double read = EvaluateExpression(text.Text(), nullptr, 0, base);
            EXPECT_EQ(std::memcmp(&read, &value, sizeof value), 0)
                << value << " in base " << base << ": " << text.Text() << " reads " << read;
        }
        EXPECT_TRUE(std::isnan(
            EvaluateExpression(ExactNumberText(std::nan(""), base).Text(), nullptr, 0, base)));
    }
}

} // namespace
