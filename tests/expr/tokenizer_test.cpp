#include "expr/tokenizer.h"

#include "expr_cases.h"

#include <cmath>

namespace {

const double kPi = 3.141592653589793;

TEST(DigitInBase, DigitsOfEachBase) {
    const struct {
        char c;
        int base;
        int expected;
    } cases[] = {
        {'0', 2, 0},   {'1', 2, 1},   {'2', 2, -1},
        {'7', 8, 7},   {'8', 8, -1},  {'9', 10, 9},
        {'a', 10, -1}, {'a', 11, 10}, {'b', 11, -1},
        {'f', 16, 15}, {'F', 16, 15}, {'A', 16, 10},
        {'g', 16, -1}, {'0', 1, -1},  {'0', 17, -1},
        {'5', 0, -1},  {'/', 10, -1}, {':', 10, -1},
        {'@', 16, -1}, {'G', 16, -1}, {static_cast<char>(0xB9), 16, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DigitInBase(c.c, c.base), c.expected) << c.c << " base " << c.base;
}

TEST(Tokenizer, NumbersInEachBase) {
    const ExprCase cases[] = {
        {"1,000.5", 10, 1000.5},
        {".5", 10, 0.5},
        {".", 10, 0},
        {"1.2.3", 10, 1.2},
        {"1,,2,", 10, 12},
        {"1,000 + 1", 10, 1001},
        {"0.1", 10, 0.1},
        {"123.25", 10, 123.25},
        {"ff", 16, 255},
        {"FF", 16, 255},
        {"Ff", 16, 255},
        {"A.8", 16, 10.5},
        {"ab", 16, 171},
        {"fac", 16, 4012},
        {"dead", 16, 57005},
        {"102", 2, 2},
        {"101.1", 2, 5.5},
        {"79", 8, 7},
        {"17", 8, 15},
        {"12", 3, 5},
        {"1", 1, ErrorValue},
        {"1", 17, ErrorValue},
        {".", 17, 0},
        {"9007199254740993", 10, 9007199254740992.0},
    };
    ExpectCases(cases);
}

TEST(Tokenizer, OperatorsAndWords) {
    const ExprCase cases[] = {
        {"3=3", 10, 1},
        {"3==3", 10, 1},
        {"3=>2", 10, 0}, // 3 == (nothing > 2)
        {"6^|3", 10, 5},
        {"6^ |3", 10, -2147483645}, // 6^(nothing), then | 3
        {"2^3", 10, 8},
        {"3<>4", 10, 1},
        {"3!=3", 10, 0},
        {"!0", 10, 1},
        {"SIN 0", 10, 0},
        {"Pi", 10, kPi},
        {"PI", 10, kPi},
        {"1 AND 1", 10, 1},
        {"1 Or 0", 10, 1},
        {"abs 2", 16, 2},
        {"cos 0", 16, 1},
        {"fact 3", 16, 6},
        {"acos 1", 16, 0},
        {"ave(1,3)", 10, 2},
        {"ifte(0,1,2)", 10, 2},
        {"pie", 10, kPi}, // "pi" then a letter without a table ends the expression
        {" \t\r\n", 10, ErrorValue},
        {"", 10, ErrorValue},
        {"\"unclosed", 10, ErrorValue},
        {"1 _ 2", 10, 1},
        {"\xB5", 10, ErrorValue},
    };
    ExpectCases(cases);
}

TEST(Tokenizer, VariablesThroughTheTable) {
    double table[30] = {};
    for (int i = 0; i < 30; ++i) table[i] = 100 + i;
    const ExprCase cases26[] = {
        {"x", 10, 123},
        {"X", 10, 123},
        {"y", 10, 124},
        {"a", 10, 100},
        {"z", 10, 125},
        {"a1", 10, 0},
        {"a12", 10, 0},
        {"sinh", 10, std::sin(107.0)},
        {"ex", 10, 104},
        {"exp 0", 10, 1},
        {"x+1", 10, 124},
        {"xor", 10, 0},
        {"x xor 0", 10, 1},
        {"a", 16, 10},
        {"x", 16, 123},
        {"3 x", 10, 3},
        {"ifte(x > 125, x^3, -x)", 10, -123}, // along x, both branches within a block
    };
    ExpectCases(cases26, table, 26);
    const ExprCase cases30[] = {{"d1", 10, 129}, {"e1", 10, 0}, {"z9", 10, 0}, {"a12", 10, 126}};
    ExpectCases(cases30, table, 30);
    const ExprCase cases1[] = {{"q", 10, 100}, {"z9", 10, 100}, {"a", 10, 100}};
    ExpectCases(cases1, table, 1);
    const ExprCase cases0[] = {{"x", 10, 0}, {"x+1", 10, 1}};
    ExpectCases(cases0, table, 0);
    const ExprCase noTable[] = {{"x+1", 10, ErrorValue}, {"1+x", 10, ErrorValue}};
    ExpectCases(noTable);
}

TEST(Tokenizer, EndTokenRepeats) {
    const char text[] = "  ";
    EvalContext ctx{};
    ctx.text = ctx.position = text;
    ctx.base = 10;
    NextToken(ctx);
    EXPECT_EQ(ctx.token, kTokenEnd);
    NextToken(ctx);
    EXPECT_EQ(ctx.token, kTokenEnd);
    EXPECT_EQ(ctx.position, text + 2);
}

TEST(Tokenizer, TokenCodes) {
    const struct {
        const char* text;
        int32_t token;
        const char* rest;
    } cases[] = {
        {"==1", 0x3D3D, "1"},
        {"=1", 0x3D3D, "1"},
        {"or", 0x6F72, ""},
        {"sqrt(", 0x73717274, "("},
        {"SQRT", 0x73717274, ""},
        {"^|", 0x5E7C, ""},
        {"=>", 0x3D3D, ">"},
        {"<>", kTokenContains, ""},
        {"<=", kTokenLessEqual, ""},
        {">=", kTokenGreaterEqual, ""},
        {"!x", '!', "x"},
        {"%", '%', ""},
        {"sinx", kTokenSin, "x"},
        {"ave", kTokenAvg, ""},
        {"ifte", kTokenCond, ""},
        {"$", '$', ""},
        {"\"ab\"c", kTokenString, "c"},
        {"\"ab", kTokenString, ""},
        {"12,3)", kTokenNumber, ")"},
    };
    for (const auto& c : cases) {
        EvalContext ctx{};
        ctx.text = ctx.position = c.text;
        ctx.base = 10;
        NextToken(ctx);
        EXPECT_EQ(ctx.token, c.token) << c.text;
        EXPECT_STREQ(ctx.position, c.rest) << c.text;
    }
}

TEST(Tokenizer, CommaEndsANumberInsideAnArgumentList) {
    EvalContext ctx{};
    const char text[] = "1,234";
    ctx.text = ctx.position = text;
    ctx.base = 10;
    ctx.argumentListDepth = 1;
    NextToken(ctx);
    EXPECT_EQ(ctx.token, kTokenNumber);
    EXPECT_EQ(ctx.tokenValue, 1);
    NextToken(ctx);
    EXPECT_EQ(ctx.token, ',');
}

} // namespace
