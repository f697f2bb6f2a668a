#include "datafiles/decimal_scan.h"
#include "text/convert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

namespace {

DecimalScan Scan(const std::string& text) {
    return ScanDecimalNumber(text.data(), text.size());
}

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(ScanDecimalNumber, ReadsTheDecimalGrammarAndStopsWhereItEnds) {
    const struct {
        const char* text;
        size_t length;
        double value;
    } cases[] = {
        {"0", 1, 0.0},
        {"42", 2, 42.0},
        {"-5", 2, -5.0},
        {"+5", 2, 5.0},
        {"1.", 2, 1.0},
        {".5", 2, 0.5},
        {"-.5", 3, -0.5},
        {"1.25x", 4, 1.25},
        {"1e3", 3, 1000.0},
        {"1E3", 3, 1000.0},
        {"2.5e-3", 6, 0.0025},
        {"2.5e+3", 6, 2500.0},
        {"1e", 1, 1.0}, // no exponent digits: the letter is not taken
        {"1e+", 1, 1.0},
        {"1e-x", 1, 1.0},
        {"1ex", 1, 1.0},
        {"3K", 1, 3.0},
        {"1-2", 1, 1.0}, // the minus starts the next number
        {"1.5.5", 3, 1.5},
        {"0x10", 1, 0.0}, // no hexadecimal
        {"007", 3, 7.0},
        {"1,234", 1, 1.0},
        {"12345678901234567890", 20, 12345678901234567890.0},
        {"0.1", 3, 0.1},
        {"123456.789e-2", 13, 1234.56789},
        {"1e22", 4, 1e22},
        {"1e23", 4, 1e23},
        {"9007199254740993", 16, 9007199254740993.0}, // halfway: rounds to even
        {"2.2250738585072011e-308", 23, 2.2250738585072011e-308},
        {"2.2250738585072012e-308", 23, 2.2250738585072012e-308},
        {"4.9406564584124654e-324", 23, 4.9406564584124654e-324},
        {"2.4703282292062328e-324", 23, 4.9406564584124654e-324},
        {"1.7976931348623157e308", 22, 1.7976931348623157e308},
        {"0.000000000000000000000000000001", 32, 1e-30},
        {"1e400", 5, kInf},
        {"-1e400", 6, -kInf},
        {"1.8e308", 7, kInf},
        {"1e-400", 6, 0.0},
        {"2.4703282292062327e-324", 23, 0.0},
        {"0e999999999999999999999", 23, 0.0},
        {"1e999999999999999999999", 23, kInf},
        {"1e-999999999999999999999", 24, 0.0},
    };
    for (const auto& c : cases) {
        const DecimalScan scan = Scan(c.text);
        EXPECT_EQ(scan.length, c.length) << c.text;
        EXPECT_EQ(BitsOf(scan.value), BitsOf(c.value)) << c.text << " gave " << scan.value;
    }
}

TEST(ScanDecimalNumber, NegativeZeroKeepsItsSign) {
    EXPECT_EQ(BitsOf(Scan("-0").value), BitsOf(-0.0));
    EXPECT_EQ(BitsOf(Scan("-0.000").value), BitsOf(-0.0));
    EXPECT_EQ(BitsOf(Scan("-1e-400").value), BitsOf(-0.0));
}

TEST(ScanDecimalNumber, ConvertsNothingWithoutFigures) {
    for (const char* text :
         {"-", ".", "-.", "+", "-x", ".e5", "-.e5", "e5", "inf", "-inf", "nan", ""}) {
        const DecimalScan scan = Scan(text);
        EXPECT_EQ(scan.length, 0u) << text;
    }
}

TEST(ScanDecimalNumber, TellsWhenTheTextEndedInsideTheNumber) {
    const struct {
        const char* text;
        bool atDataEnd;
    } cases[] = {
        {"12", true}, {"12 ", false}, {"-", true},     {"-x", false},   {"1.", true},
        {"1e", true}, {"1e+", true},  {"1e5", true},   {"1e5x", false}, {"1ex", false},
        {".", true},  {".x", false},  {"1.5.", false},
    };
    for (const auto& c : cases) EXPECT_EQ(Scan(c.text).atDataEnd, c.atDataEnd) << c.text;
}

TEST(ScanDecimalNumber, LongDigitStringsRoundCorrectly) {
    // 0.1 with 800 more zeros and a final 1 is still the double nearest 0.1.
    std::string text = "0.1" + std::string(800, '0') + "1";
    EXPECT_EQ(BitsOf(Scan(text).value), BitsOf(0.1));
    EXPECT_EQ(Scan(text).length, text.size());
    // Exactly halfway between 1 and the next double, then a hair above it.
    const std::string half = "1.00000000000000011102230246251565404236316680908203125";
    EXPECT_EQ(BitsOf(Scan(half).value), BitsOf(1.0));
    EXPECT_EQ(BitsOf(Scan(half + "000000000000000000001").value), BitsOf(1.0000000000000002));
    const std::string many(400, '9');
    EXPECT_EQ(Scan(many).value, kInf);
    EXPECT_EQ(Scan("0." + many).value, 1.0);
}

TEST(ScanDecimalNumber, SeventeenDigitsGiveBackEveryDouble) {
    // Deterministic pseudo-random bit patterns of finite doubles.
    uint64_t state = 0x9E3779B97F4A7C15u;
    for (int i = 0; i < 20000; ++i) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        double value;
        std::memcpy(&value, &state, sizeof value);
        if (!std::isfinite(value)) continue;
        char text[40];
        const int length = std::snprintf(text, sizeof text, "%.17g", value);
        const DecimalScan scan = ScanDecimalNumber(text, static_cast<size_t>(length));
        ASSERT_EQ(scan.length, static_cast<size_t>(length)) << text;
        ASSERT_EQ(BitsOf(scan.value), BitsOf(value)) << text;
    }
}

} // namespace
