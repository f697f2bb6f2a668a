#include "expr_cases.h"

#include <cmath>

namespace {

TEST(EvaluateLevels, PrecedenceAndAssociativity) {
    const ExprCase cases[] = {
        {"1+2*3", 10, 7},         {"(1+2)*3", 10, 9},      {"2^3^2", 10, 64},
        {"-2^2", 10, 4},          {"2^-1", 10, 0.5},       {"2*-3", 10, -6},
        {"not 0 + 1", 10, 2},     {"10%3", 10, 1},         {"-7%3", 10, -1},
        {"7/2", 10, 3.5},         {"10-4-3", 10, 3},       {"64/4/2", 10, 8},
        {"2*3%4", 10, 2},         {"--3", 10, 3},          {"+-+3", 10, -3},
        {"neg neg 2", 10, 2},     {"1+2<4", 10, 1},        {"1<2==1", 10, 1},
        {"1==1==1", 10, 1},       {"3==3==2", 10, 0},      {"6&3==3", 10, 0}, // 6 & (3==3)
        {"1|2^|3", 10, 1},        {"1|2&3", 10, 3},        {"3 and 2|0", 10, 1},
        {"1 or 0 and 0", 10, 1},  {"0 and 0 or 1", 10, 1}, {"1 xor 1 or 1", 10, 1},
        {"1 xor 1 xor 1", 10, 1}, {"sin 0^2", 10, 0},      {"sqrt 4*4", 10, 8},
    };
    ExpectCases(cases);
}

TEST(EvaluateLevels, LogicalAndBitwise) {
    const ExprCase cases[] = {
        {"1 or 0", 10, 1},
        {"0 or 0", 10, 0},
        {"2 and 3", 10, 1},
        {"2 and 0", 10, 0},
        {"1 xor 1", 10, 0},
        {"1 xor 0", 10, 1},
        {"0 xor 0", 10, 0},
        {"0/0 or 0", 10, 1},
        {"0/0 and 1", 10, 1},
        {"6|3", 10, 7},
        {"6&3", 10, 2},
        {"6^|3", 10, 5},
        {"2.9|0", 10, 2},
        {"-2.9|0", 10, -2},
        {"-1&255", 10, 255},
        {"0/0|0", 10, -2147483648},
        {"1/0|0", 10, -2147483648},
        {"4294967296|1", 10, -2147483647},
        {"2147483647|0", 10, 2147483647},
        {"-2147483648|0", 10, -2147483648},
        {"!0", 10, 1},
        {"!5", 10, 0},
        {"!(0/0)", 10, 0},
        {"not 0/0", 10, kInf}, // (not 0) / 0
    };
    ExpectCases(cases);
}

TEST(EvaluateLevels, Comparisons) {
    const ExprCase cases[] = {
        {"1<2", 10, 1},   {"2<1", 10, 0},      {"2<=2", 10, 1},     {"3>=4", 10, 0},
        {"3>2", 10, 1},   {"3=3", 10, 1},      {"3==4", 10, 0},     {"3<>4", 10, 1},
        {"3!=3", 10, 0},  {"0/0==0/0", 10, 0}, {"0/0!=0/0", 10, 1}, {"0/0<>1", 10, 1},
        {"0/0<1", 10, 0}, {"0/0>1", 10, 0},    {"0/0<=1", 10, 0},   {"1>=0/0", 10, 0},
        {"1<2<3", 10, 1}, {"3>2>1", 10, 0},
    };
    ExpectCases(cases);
}

TEST(EvaluateLevels, Conditional) {
    const ExprCase cases[] = {
        {"1 ? 10 : 20", 10, 10},      {"0 ? 10 : 20", 10, 20},    {"0 ? 1 : 0 ? 2 : 3", 10, 3},
        {"1 ? 1 : 0 ? 2 : 3", 10, 1}, {"0/0 ? 10 : 20", 10, 10},  {"1 ? 10 ; 20", 10, 10},
        {"0 ? 10 : 20 + 1", 10, 21},  {"1 or 0 ? 5 : 6", 10, 5},  {"1 ? 2 ? 3 : 4 : 5", 10, 3},
        {"0 ? 1", 10, ErrorValue},    {"(1 ? 2 : 3) * 2", 10, 4},
    };
    ExpectCases(cases);
}

TEST(EvaluateLevels, BracketsAndLeniency) {
    const ExprCase cases[] = {
        {"(((2)))", 10, 2},   {"[1+1]*{2}", 10, 4},   {"(1+2]", 10, 3},          {"(1+2", 10, 3},
        {"", 10, ErrorValue}, {")", 10, ErrorValue},  {"1+", 10, ErrorValue},    {"2 3", 10, 2},
        {"2)", 10, 2},        {"2(3)", 10, 2},        {"1 + $", 10, ErrorValue}, {"(1+2)3", 10, 3},
        {"(2;*3", 10, 6},     {"()", 10, ErrorValue}, {"1 2 + $", 10, 1},
    };
    ExpectCases(cases);
}

TEST(EvaluateLevels, IeeeArithmetic) {
    const ExprCase cases[] = {
        {"1/0", 10, kInf},
        {"-1/0", 10, -kInf},
        {"0/0", 10, kAnyNaN},
        {"5%0", 10, kAnyNaN},
        {"0.1+0.2", 10, 0.1 + 0.2},
        {"2^0.5", 10, std::sqrt(2.0)},
        {"(0-8)^(1/3)", 10, kAnyNaN},
        {"10^-2", 10, 0.01},
        {"2^1024", 10, kInf},
        {"0^0", 10, 1},
        // Of two NaNs the left one goes on, whichever it is.
        {"fact 0.5 + 0/0", 10, ErrorValue},
        {"fact 0.5 * (0/0)", 10, ErrorValue},
        {"fact 0.5 - ln(0-1)", 10, ErrorValue},
        {"fact 0.5 / (0/0)", 10, ErrorValue},
        {"fact 0.5 % (0/0)", 10, ErrorValue},
        {"sum(fact 0.5, 0/0)", 10, ErrorValue},
    };
    ExpectCases(cases);
}

TEST(EvaluateStrings, ComparisonsOnTexts) {
    const ExprCase cases[] = {
        {"\"abc\"==\"abc\"", 10, 1},   {"\"abc\"=\"abd\"", 10, 0},    {"\"abc\"!=\"abc\"", 10, 0},
        {"\"abc\"!=\"ABC\"", 10, 1},   {"\"abc\"==\"ABC\"", 10, 0},   {"\"ab\"<\"abc\"", 10, 1},
        {"\"abc\"<\"ab\"", 10, 0},     {"\"b\">\"abc\"", 10, 1},      {"\"ab\"<=\"ab\"", 10, 1},
        {"\"ab\">=\"ac\"", 10, 0},     {"\"\"<\"a\"", 10, 1},         {"\"\"==\"\"", 10, 1},
        {"\"a\xE9\">\"az\"", 10, 1},   {"\"hello\"<>\"ell\"", 10, 1}, {"\"ell\"<>\"hello\"", 10, 1},
        {"\"hello\"<>\"xyz\"", 10, 0}, {"\"\"<>\"a\"", 10, 0},        {"\"a\"<>\"\"", 10, 0},
        {"\"a\"<>\"a\"", 10, 1},       {"( \"a\" )==\"a\"", 10, 1},
    };
    ExpectCases(cases);
}

TEST(EvaluateStrings, UnclosedAndOneSidedLiteralsAreErrorValue) {
    const ExprCase cases[] = {
        {"\"abc\"==\"abc", 10, ErrorValue},
        {"1 == \"abc\"", 10, ErrorValue},
        {"\"abc\" == 1", 10, ErrorValue},
        {"\"abc\" < 1", 10, ErrorValue},
        {"\"abc\"", 10, ErrorValue},
        {"\"abc\" + 1", 10, ErrorValue},
        {"\"a\" == \"a\" + 1", 10, ErrorValue},
        {"-\"abc\"", 10, ErrorValue},
        {"--\"abc\" == \"abc\"", 10, ErrorValue},
        {"(\"abc\" + 0) == \"abc\"", 10, ErrorValue},
        {"sin \"abc\"", 10, ErrorValue},
        {"sum(\"a\", 1)", 10, ErrorValue},
        {"min(\"a\", 1)", 10, ErrorValue},
        {"cond(1, \"a\", 2)", 10, ErrorValue},
        {"\"a\" or 0", 10, ErrorValue},
        {"\"a\" ? 1 : 2", 10, ErrorValue},
        {"\"a\" | 0", 10, ErrorValue},
        {"(\"a\"==\"a\") + 1", 10, 2},
        {"\"a\" == \"b\" == \"c\"", 10, ErrorValue}, // the left of the second is 0, no literal
    };
    ExpectCases(cases);
}

TEST(EvaluateStrings, ForgedHandleFromAVariableReadsNothing) {
    // A NaN in the table with the bit pattern of a literal handle; its offset
    // points far beyond the text. b becomes one when negated, c when negated
    // and made quiet by an addition.
    const uint64_t bits[] = {0xFFFA00000000FFFFull, 0x7FFA000000000001ull, 0x7FF2000000000001ull};
    double table[26] = {};
    std::memcpy(table, bits, sizeof bits);
    const ExprCase cases[] = {
        {"a == \"x\"", 10, ErrorValue}, {"a", 10, ErrorValue},  {"\"x\" == a", 10, ErrorValue},
        {"-b == 1", 10, ErrorValue},    {"-b", 10, ErrorValue}, {"b == 1", 10, 0},
        {"-c + 0 < 1", 10, ErrorValue}, {"-c < 1", 10, 0},
    };
    ExpectCases(cases, table, 26);
}

} // namespace
