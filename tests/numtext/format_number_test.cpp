#include "numtext/format_number.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {

// What the calculation line passes: "c %s %s" filled with "," or "" and with
// "E=24 e=8" or "E=0 e=0".
constexpr const char* kLineOptions = "c , E=24 e=8";
constexpr const char* kLineOptionsUngrouped = "c  E=24 e=8";
constexpr const char* kLineOptionsExponential = "c , E=0 e=0";
constexpr const char* kStatisticsOptions = ",E=6 e=6";

const double kInfinity = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

std::string Format(double value, int fractionDigits, int base, const char* options) {
    char buffer[kFormatBufferSize];
    const char* text = FormatNumber(value, buffer, fractionDigits, base, options);
    EXPECT_EQ(text, buffer);
    return text ? std::string(text) : std::string("<null>");
}

struct Case {
    double value;
    int base;
    const char* expected;
};

TEST(FormatNumber, CalculationLineOptions) {
    const Case cases[] = {
        {0.0, 10, "0"},
        {-0.0, 10, "0"},
        {1234567, 10, "1,234,567"},
        {1234567, 16, "12 D687"},
        {1234567, 2, "1 0010 1101 0110 1000 0111"},
        {342391, 8, "1 234 567"},
        {255, 16, "FF"},
        {-255, 16, "-FF"},
        {1.0 / 3, 10, "0.333333333333"},
        {2.0 / 3, 10, "0.666666666667"},
        {-2.0 / 3, 10, "-0.666666666667"},
        {65535.5, 16, "FFFF.8"},
        {0.1, 16, "0.19999999999A"},
        {0.1, 10, "0.1"},
        {0.000000005, 10, "5e-9"},
        {1.5e24, 10, "1.5e+24"},
        {1e15, 16, "3 8D7E A4C6 8000"},
        {1e15, 10, "1,000,000,000,000,000"},
        {-1e-13, 2, "-0"},
        {123, 10, "123"},
        {1234, 10, "1,234"},
        {4095, 16, "FFF"},
        {65535, 16, "FFFF"},
        {65536, 16, "1 0000"},
        // Low digits beyond 2^53 come from fmod and division.
        {1e23, 10, "100,000,000,000,000,000,000,002"},
        // The thresholds: 10^24 - 1 and 10^-8 themselves stay positional.
        {1e24, 10, "1,000,000,000,000,000,000,000,024"},
        {std::nextafter(1e24, kInfinity), 10, "1e+24"},
        {1e-8, 10, "0.00000001"},
        // Just below 10^-8 the mantissa is scaled to 9.99... and rounds to 10.
        {std::nextafter(1e-8, 0.0), 10, "10e-9"},
        {-1e-8, 10, "-0.00000001"},
        {9.999e-9, 10, "9.999e-9"},
        // No exponent outside base 10, however large or small.
        {1e30, 16, "C 9F2C 9CD0 4675 0000 0000 0000"},
        {1e-16, 16, "0"},
        // The rounding place: half a unit of the 12th digit.
        {0.12345678901249, 10, "0.123456789012"},
        {0.12345678901251, 10, "0.123456789013"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Format(c.value, 12, c.base, kLineOptions), c.expected)
            << c.value << " base " << c.base;
}

TEST(FormatNumber, CalculationLineWithoutGrouping) {
    const Case cases[] = {
        {1234567, 10, "1234567"},  {1234567, 16, "12D687"}, {1234567, 2, "100101101011010000111"},
        {-65535.5, 16, "-FFFF.8"}, {1.5e24, 10, "1.5e+24"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Format(c.value, 12, c.base, kLineOptionsUngrouped), c.expected) << c.value;
}

TEST(FormatNumber, ExponentialNotationOn) {
    const Case cases[] = {
        {0.0, 10, "0"},
        {-0.0, 10, "0"},
        {7, 10, "7e+0"},
        {123.456, 10, "1.23456e+2"},
        {-42, 10, "-4.2e+1"},
        {0.000123, 10, "1.23e-4"},
        {1, 10, "1e+0"},
        {0.5, 10, "5e-1"},
        {1234567, 10, "1.234567e+6"},
        // The mantissa is rounded after scaling, so it can reach 10.
        {9.9999999999999, 10, "10e+0"},
        {1e300, 10, "1e+300"},
        {-0.00042, 10, "-4.2e-4"},
        {DBL_MAX, 10, "1.797693134862e+308"},
        {-DBL_MAX, 10, "-1.797693134862e+308"},
        {std::numeric_limits<double>::denorm_min(), 10, "4.940656458412e-324"},
        // Only base 10 has an exponent.
        {7, 16, "7"},
        {1234567, 2, "1 0010 1101 0110 1000 0111"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Format(c.value, 12, c.base, kLineOptionsExponential), c.expected) << c.value;
}

TEST(FormatNumber, StatisticsOptions) {
    const struct {
        double value;
        const char* expected;
    } cases[] = {
        {1234567, "1.2346e+6"},
        {65535.5, "65,535.5"},
        {99999.99999999999, "100,000"},
        {0.000123, "0.0001"},
        {0.000000001, "1e-9"},
        {3.14159265358979, "3.1416"},
        {-3.14159265358979, "-3.1416"},
        {999999, "999,999"},
        {1000000, "1e+6"},
        {999999.5, "10e+5"},
        // 10^-6 itself is not below the threshold; pow(10, -6) of some C
        // runtimes is, which would make this 1e-6.
        {0.000001, "0"},
        {std::nextafter(0.000001, 0.0), "10e-7"},
        {-0.0000009, "-9e-7"},
        {0.0000015, "0"},
        {0.0, "0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Format(c.value, 4, 10, kStatisticsOptions), c.expected) << c.value;
}

TEST(FormatNumber, StatisticsUseTheSharedBuffer) {
    const char* first = FormatNumber(1234567, nullptr, 4, 10, kStatisticsOptions);
    ASSERT_NE(first, nullptr);
    EXPECT_STREQ(first, "1.2346e+6");
    const char* second = FormatNumber(65535.5, nullptr, 4, 10, kStatisticsOptions);
    EXPECT_EQ(second, first);
    EXPECT_STREQ(first, "65,535.5");
}

TEST(FormatNumber, FractionDigits) {
    const struct {
        double value;
        int fractionDigits;
        int base;
        const char* options;
        std::string expected;
    } cases[] = {
        // Negative: all digits stay.
        {3, -4, 10, "", "3.0000"},
        {3.25, -4, 10, "", "3.2500"},
        {-3.25, -4, 10, "", "-3.2500"},
        {0.5, -3, 2, "", "0.100"},
        // No fraction is worked out once fmod(a, 1) is exactly 0.
        {9007199254740992.0, -2, 10, "", "9007199254740992"},
        // 0: no fraction, halves rounded away from zero.
        {1234.5, 0, 10, ",", "1,235"},
        {-1234.5, 0, 10, ",", "-1,235"},
        {1234.49, 0, 10, ",", "1,234"},
        {0.4, 0, 10, "", "0"},
        {-0.4, 0, 10, "", "-0"},
        // Positive: trailing zeros and a bare point go.
        {2.5, 3, 10, "", "2.5"},
        {2.0004, 3, 10, "", "2"},
        {2.00051, 3, 10, "", "2.001"},
        {0.75, 1, 2, "", "1"},
        {0.625, 2, 2, "", "0.11"},
        // Magnitudes beyond what is worked out count as the most.
        {0.5, INT_MIN, 10, "", "0.5" + std::string(kMaxFractionDigits - 1, '0')},
        {0.5, -kMaxFractionDigits - 1, 2, "", "0.1" + std::string(kMaxFractionDigits - 1, '0')},
        {std::numeric_limits<double>::denorm_min(), INT_MAX, 2, "",
         "0." + std::string(kMaxFractionDigits - 1, '0') + "1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Format(c.value, c.fractionDigits, c.base, c.options), c.expected)
            << c.value << " digits " << c.fractionDigits;
}

TEST(FormatNumber, OptionLanguage) {
    const struct {
        double value;
        int fractionDigits;
        int base;
        const char* options;
        const char* expected;
    } cases[] = {
        {1234.5, 2, 16, "+", "+4d2.8"},
        {0, 2, 16, "+", "+0"},
        {-0.0, 2, 16, "+", "+0"},
        {-1, 2, 16, "+", "-1"},
        {12345678, 0, 10, ",=4", "1234,5678"},
        {12345678, 0, 10, ",=0", "12345678"},
        {100, 0, 10, ",=2", "1,00"},
        {100, 0, 10, ",= 2", "1,00"},
        {1234567, 0, 10, ",=-3", "1,234,567"},
        {12345, 0, 10, ",=x", "12345"},
        {12345, 0, 10, ",=99999999999", "12345"},
        {12345, 0, 10, ",=-99999999999", "12345"},
        {12345, 0, 16, ",=1", "3 0 3 9"},
        {1234567, 0, 10, "E=24 e=8 , c", "1,234,567"},
        {1234567, 0, 8, ",", "4 553 207"},
        {1234567, 0, 2, ",=8", "10010 11010110 10000111"},
        {35, 0, 36, "c", "Z"},
        {35, 0, 36, "", "z"},
        {1295, 0, 36, ",", "zz"},
        {8, 0, 3, "", "22"},
        {5, 12, 10, "E", "5e+0"},
        {0.5, 12, 10, "e", "5e-1"},
        {5, 12, 10, "e", "5"},
        {10, 12, 10, "E=1", "1e+1"},
        {9, 12, 10, "E=1", "9"},
        {9, 12, 10, "E=-1", "9"},
        {0.5, 12, 10, "e=-1", "0.5"},
        {5, 12, 16, "E", "5"},
        // Only the first "E=" counts, and its integer ends at the first
        // other character.
        {50, 0, 10, "E=1x E=5", "5e+1"},
        // Blanks and a sign before the figures are read; the "+" is also the
        // plus flag.
        {50, 0, 10, "E=  +2", "+50"},
        {500, 0, 10, "E=  +2", "+5e+2"},
        {1234.5, 2, 10, nullptr, "1234.5"},
        {1234.5, 2, 10, "", "1234.5"},
        // "+" anywhere, also in "E=+5", turns the plus flag on.
        {7, 0, 10, "E=+5", "+7"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Format(c.value, c.fractionDigits, c.base, c.options), c.expected)
            << c.value << " options " << (c.options ? c.options : "null");
}

TEST(FormatNumber, WordsForNonFiniteValuesIgnoreTheOptions) {
    const char* optionSets[] = {"", "+", "c , E=0 e=0", ",=1 c +", "E e"};
    const int bases[] = {2, 10, 16, 36};
    for (const char* options : optionSets)
        for (int base : bases) {
            EXPECT_EQ(Format(kNaN, 12, base, options), "INVALID");
            EXPECT_EQ(Format(-kNaN, 12, base, options), "INVALID");
            EXPECT_EQ(Format(kInfinity, 12, base, options), "+INFINITY");
            EXPECT_EQ(Format(-kInfinity, 12, base, options), "-INFINITY");
        }
}

TEST(FormatNumber, BadBasesGiveNullAndWriteNothing) {
    const int bases[] = {1, 37, 0, -10, INT_MIN, INT_MAX};
    for (int base : bases) {
        char buffer[kFormatBufferSize];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(FormatNumber(1234, buffer, 12, base, kLineOptions), nullptr) << base;
        EXPECT_EQ(FormatNumber(kNaN, buffer, 12, base, kLineOptions), nullptr) << base;
        EXPECT_EQ(std::string(buffer, sizeof buffer), std::string(sizeof buffer, 'x')) << base;
        EXPECT_EQ(FormatNumber(1234, nullptr, 12, base, nullptr), nullptr) << base;
    }
    char buffer[kFormatBufferSize];
    EXPECT_EQ(FormatNumber(35, buffer, 0, 36, "c"), buffer);
    EXPECT_EQ(FormatNumber(1, buffer, 0, 2, ""), buffer);
}

// The binary digits of DBL_MAX: 53 ones, then 971 zeros, grouped from the
// units digit.
std::string LargestDoubleInBinary(int groupSize, char sign) {
    const std::string digits = std::string(53, '1') + std::string(971, '0');
    std::string text(sign ? 1 : 0, sign);
    for (size_t i = 0; i < digits.size(); ++i) {
        const size_t fromUnits = digits.size() - i;
        text += digits[i];
        if (groupSize && fromUnits > 1 && (fromUnits - 1) % groupSize == 0) text += ' ';
    }
    return text;
}

TEST(FormatNumber, LongestTextsFitTheBuffer) {
    const std::string longest = Format(-DBL_MAX, 12, 2, kLineOptions);
    EXPECT_EQ(longest.size(), 1280u);
    EXPECT_EQ(longest, LargestDoubleInBinary(4, '-'));
    EXPECT_EQ(Format(DBL_MAX, 12, 2, ",=3"), LargestDoubleInBinary(3, 0));
    // 1535 characters with groups of 2 still fit; a sign more or groups of 1
    // would not, and those come out ungrouped.
    EXPECT_EQ(Format(DBL_MAX, 12, 2, ",=2"), LargestDoubleInBinary(2, 0));
    EXPECT_EQ(Format(-DBL_MAX, 12, 2, ",=2"), LargestDoubleInBinary(0, '-'));
    EXPECT_EQ(Format(DBL_MAX, 12, 2, ",=1 +"), LargestDoubleInBinary(0, '+'));
    EXPECT_EQ(Format(DBL_MAX, 0, 2, ",=-1"), LargestDoubleInBinary(0, 0));
}

TEST(RoundToInt, RoundsHalfAwayFromZero) {
    const struct {
        double value;
        int expected;
    } cases[] = {
        {2.5, 3},
        {-2.5, -3},
        {2.4999, 2},
        {-2.4999, -2},
        {0.0, 0},
        {-0.4, 0},
        {0.5, 1},
        {-0.5, -1},
        {2147483647.4, 2147483647},
        {-2147483647.6, INT_MIN},
        {2147483647.5, INT_MIN},
        {3e9, INT_MIN},
        {-3e9, INT_MIN},
        {1e300, INT_MIN},
        {kInfinity, 999999},
        {kNaN, 999999},
        {-kNaN, 999999},
        {-kInfinity, -999999},
    };
    for (const auto& c : cases) EXPECT_EQ(RoundToInt(c.value), c.expected) << c.value;
}

} // namespace
