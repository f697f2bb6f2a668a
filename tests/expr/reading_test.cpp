#include "expr/reading.h"

#include "expr/evaluate.h"
#include "expr/random.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ReadingCase {
    const char* text;
    int base;
    const char* described; // "" when the text is read whole
};

std::string Described(const char* text, int base, const double* variables = nullptr,
                      int count = 0) {
    char out[160];
    DescribeReading(DiagnoseExpression(text, variables, count, base), text, out, sizeof out);
    return out;
}

TEST(DiagnoseExpression, SaysWhereReadingStoppedAndWhy) {
    const ReadingCase cases[] = {
        // Read whole.
        {"1+2*3", 10, ""},
        {"(1+2)*3", 10, ""},
        {"max(1,2,3)", 10, ""},
        {"rand(1,6)", 10, ""},
        {"1 ? 2 : 3", 10, ""},
        {"\"abc\" < \"abd\"", 10, ""},
        {"1,000 + 1", 10, ""},
        {"ff", 16, ""},
        {"  7  ", 10, ""},
        {"pow(2,8)", 10, ""},
        {"cond(1,2,3)", 10, ""},
        {"(1+2]", 10, ""},
        {"0/0", 10, ""},
        {"fact 0.5", 10, ""},
        // Text after a complete expression.
        {"2pi", 10, "2; ignored from column 2: 'pi'"},
        {"2(3)", 10, "2; ignored from column 2: '(3)'"},
        {"3!", 10, "3; ignored from column 2: '!'"},
        {"2 3", 10, "2; ignored from column 3: '3'"},
        {"2)", 10, "2; ignored from column 2: ')'"},
        {"(1+2)3", 10, "(1+2); ignored from column 6: '3'"},
        {"1.2.3", 10, "1.2; ignored from column 4: '.3'"},
        {"102", 2, "10; ignored from column 3: '2'"},
        {"79", 8, "7; ignored from column 2: '9'"},
        {"1 2 + $", 10, "1; ignored from column 3: '2 + $'"},
        {"2 x", 10, "2; ignored from column 3: 'x'"},
        {"1:2", 10, "1; ignored from column 2: ':2'"},
        {"5 \"abc", 10, "5; ignored from column 3: '\"abc'"},
        {"1+1 then some more words here", 10,
         "1+1; ignored from column 5: 'then some more words her...'"},
        // A value is due and none starts there.
        {"", 10, "nothing to read"},
        {"   ", 10, "nothing to read"},
        {"1+", 10, "missing operand after '+' (column 2)"},
        {"2*", 10, "missing operand after '*' (column 2)"},
        {"-", 10, "missing operand after '-' (column 1)"},
        {"1 <= ", 10, "missing operand after '<=' (column 3)"},
        {"1 and", 10, "missing operand after 'and' (column 3)"},
        {"sqrt", 10, "missing operand after 'sqrt' (column 1)"},
        {"2^", 10, "missing operand after '^' (column 2)"},
        {"1 ^| ", 10, "missing operand after '^|' (column 3)"},
        {")", 10, "unexpected ')' at column 1"},
        {"1 + $", 10, "unexpected '$' at column 5"},
        {"*2", 10, "unexpected '*' at column 1"},
        {"1+)", 10, "unexpected ')' at column 3"},
        {"()", 10, "unexpected ')' at column 2"},
        {"1+?", 10, "unexpected '?' at column 3"},
        {"max(,1)", 10, "unexpected ',' at column 5"},
        {"1 + \xE9", 10, "unexpected '\xE9' at column 5"},
        {"foo(3)", 10, "unknown name 'FOO' at column 1"},
        {"2*abc1+1", 10, "unknown name 'ABC1' at column 3"},
        {"ABS x", 10, "unknown name 'X' at column 5"},
        {"sin( x ) ", 10, "unknown name 'X' at column 6"},
        {"x+1", 10, "unknown name 'X' at column 1"},
        {"ga", 16, "unknown name 'GA' at column 1"},
        // Punctuation the language supplies by itself.
        {"((((", 10, "missing closing bracket at the end"},
        {"(", 10, "missing closing bracket at the end"},
        {"sin(", 10, "missing closing bracket at the end"},
        {"(1+2", 10, "missing closing bracket at the end"},
        {"max(1,2", 10, "missing closing bracket at the end"},
        {"(2;*3", 10, "missing closing bracket before ';' (column 3)"},
        {"(2 3)", 10, "missing closing bracket before '3' (column 4)"},
        {"max 3", 10, "missing opening bracket before '3' (column 5)"},
        {"pow(2 8)", 10, "missing ',' before '8' (column 7)"},
        {"pow(2)", 10, "missing ',' before ')' (column 6)"},
        {"1 ? 10 ; 20", 10, "missing ':' before ';' (column 8)"},
        {"0 ? 1", 10, "missing ':' at the end"},
        {"cond(1,2", 10, "missing ',' at the end"},
        // The first problem is the one told.
        {"(1+) 2pi", 10, "unexpected ')' at column 4"},
        {"1+$+)", 10, "unexpected '$' at column 3"},
        // String literals.
        {"\"abc", 10, "unterminated string from column 1"},
        {"\"a\" = \"abc", 10, "unterminated string from column 7"},
        {"1 + \"", 10, "unterminated string from column 5"},
    };
    for (const ReadingCase& c : cases) EXPECT_EQ(Described(c.text, c.base), c.described) << c.text;
}

TEST(DiagnoseExpression, NestingPastTheLimitWinsOverEveryOtherProblem) {
    const std::string deep = "(1+) * " + std::string(kMaxNestingDepth + 10, '(');
    EXPECT_EQ(Described(deep.c_str(), 10), "nested deeper than 256 levels at column 264");
    std::string minus(kMaxNestingDepth + 1, '-');
    EXPECT_EQ(Described((minus + "1").c_str(), 10), "nested deeper than 256 levels at column 257");
    EXPECT_EQ(Described((minus.substr(1) + "1").c_str(), 10), "");
}

TEST(DiagnoseExpression, VariablesAreValuesWhenATableIsGiven) {
    const double table[26] = {};
    EXPECT_EQ(Described("sin( x ) ", 10, table, 26), "");
    EXPECT_EQ(Described("x y", 10, table, 26), "x; ignored from column 3: 'y'");
    EXPECT_EQ(Described("x+", 10, table, 26), "missing operand after '+' (column 2)");
}

TEST(DiagnoseExpression, DrawsNothingFromTheRandomGenerator) {
    SeedRandom(77);
    const double first = EvaluateExpression("rand(0,1000000)", nullptr, 0, 10);
    SeedRandom(77);
    DiagnoseExpression("rand(0,1000000) + rand(0,5)", nullptr, 0, 10);
    EXPECT_EQ(EvaluateExpression("rand(0,1000000)", nullptr, 0, 10), first);
}

TEST(DiagnoseExpression, EndsLenientlyOnlyForPunctuationMissingAtTheEnd) {
    const struct {
        const char* text;
        bool lenient;
    } cases[] = {{"(1+2", true}, {"0 ? 1", true}, {"((((", true}, {"(2 3)", false},
                 {"1+", false},  {"2pi", false},  {"1", false}};
    for (const auto& c : cases)
        EXPECT_EQ(EndsLeniently(DiagnoseExpression(c.text, nullptr, 0, 10)), c.lenient) << c.text;
}

TEST(DescribeReading, CutsToTheBufferAndToleratesNothing) {
    const ReadingReport report = DiagnoseExpression("1 + $", nullptr, 0, 10);
    char small[8];
    DescribeReading(report, "1 + $", small, sizeof small);
    EXPECT_STREQ(small, "unexpec");
    char out[8] = "x";
    DescribeReading(report, nullptr, out, sizeof out);
    EXPECT_STREQ(out, "");
    DescribeReading(report, "1 + $", nullptr, 0); // no buffer: nothing written
    EXPECT_EQ(DiagnoseExpression(nullptr, nullptr, 0, 10).problem, ReadingProblem::None);
}

} // namespace
