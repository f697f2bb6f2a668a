#include "gdi/dpi_scale.h"

#include <gtest/gtest.h>

namespace {

TEST(MulDivRound, RoundsHalfAwayFromZeroLikeTheSystem) {
    const struct {
        int a, b, c, expected;
    } cases[] = {
        {3, 1, 2, 2},  {-3, 1, 2, -2},         {5, 1, -2, -3},
        {7, 1, 3, 2},  {8, 8, 4, 16},          {2032, 1, 7, 290},
        {1, 1, 0, -1}, {2147483647, 2, 1, -1}, {2147483647, 2, 2, 2147483647},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MulDivRound(c.a, c.b, c.c), c.expected) << c.a << "*" << c.b << "/" << c.c;
}

TEST(ScaleForDpi, GrowsInProportionAndKeeps96DpiExactly) {
    const struct {
        int pixels, dpi, expected;
    } cases[] = {
        // 96 dpi, and an unknown DPI, change nothing, also sizes that would
        // overflow a scaling.
        {1, 96, 1},
        {-12, 96, -12},
        {2147483647, 96, 2147483647},
        {7, 0, 7},
        {7, -144, 7},
        // 150 %: a one-pixel pen becomes two, font heights keep their sign.
        {1, 144, 2},
        {12, 144, 18},
        {-11, 144, -17},
        {480, 144, 720},
        {0, 144, 0},
        // 125 % and 200 %, and a display less dense than 96 dpi.
        {1, 120, 1},
        {2, 120, 3},
        {-16, 120, -20},
        {5, 192, 10},
        {10, 72, 8},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ScaleForDpi(c.pixels, c.dpi), c.expected) << c.pixels << " at " << c.dpi;
}

} // namespace
