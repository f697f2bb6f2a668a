#include "text/convert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(TruncateToInt32, TruncatesTowardZeroInsideTheRange) {
    const struct {
        double value;
        int32_t expected;
    } cases[] = {
        {0.0, 0},
        {-0.0, 0},
        {2.9, 2},
        {-2.9, -2},
        {2147483647.0, 2147483647},
        {2147483647.9, 2147483647},
        {-2147483648.0, INT32_MIN},
        {-2147483648.9, INT32_MIN},
    };
    for (const auto& c : cases) EXPECT_EQ(TruncateToInt32(c.value), c.expected) << c.value;
}

TEST(TruncateToInt32, OutOfRangeAndNonFiniteGiveTheMostNegativeInt) {
    const double cases[] = {
        2147483648.0,
        -2147483649.0,
        3e9,
        -3e9,
        1e300,
        std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity(),
        std::nan(""),
    };
    for (double v : cases) EXPECT_EQ(TruncateToInt32(v), INT32_MIN) << v;
}

TEST(CopyBounded, CutsToTheBufferAndAlwaysTerminates) {
    char buffer[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(CopyBounded(buffer, sizeof buffer, "abcdef"), 3u);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(CopyBounded(buffer, sizeof buffer, "ab"), 2u);
    EXPECT_STREQ(buffer, "ab");
    EXPECT_EQ(CopyBounded(buffer, sizeof buffer, nullptr), 0u);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(CopyBounded(buffer, 0, "abc"), 0u);
}
