#include "window/calc_line.h"

#include "expr/evaluate.h"
#include "expr/random.h"
#include "graph/dataset.h"
#include "window/exact_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <string>
#include <vector>

namespace {

TEST(EndsWithEquals, OnlyAnEqualsSignAtTheVeryEndCounts) {
    const struct {
        const char* text;
        bool ends;
    } cases[] = {
        {"2+3=", true},
        {"=", true},
        {"x^2 {0,1}==", true},
        {"2=3", false},
        {"", false},
        {"2+3", false},
        {"2+3= ", false},
        {"=\t", false},
        // The "=" of "<=", ">=" and "!=" is part of the operator.
        {"3<=", false},
        {"3>=", false},
        {"3!=", false},
        {"<=", false},
        {"3<==", true},
        {"3<=4=", true},
        {"3=<=", false},
        {"!=", false},
    };
    for (const auto& c : cases) EXPECT_EQ(EndsWithEquals(c.text), c.ends) << c.text;
    EXPECT_FALSE(EndsWithEquals(nullptr));
}

TEST(NormaliseLine, WorkingCopyOfTheLine) {
    const struct {
        const char* line;
        int base;
        const char* working;
    } cases[] = {
        {"sin( x ) {0,6*pi}", 10, "SIN(X){0,6*PI}"},
        {"1 2\t3", 10, "12\t3"}, // only spaces are deleted; tabs stay
        {"1e+3", 10, "1*10^+3"},
        {"2.5E-7+1e+3", 10, "2.5*10^-7+1*10^+3"},
        {"1e+3", 16, "1E+3"}, // E is a digit in base 16
        {"1e-3", 2, "1E-3"},
        // An exponent without a sign follows a number and is followed by a digit.
        {"2e3", 10, "2*10^3"},
        {"1.5e10*2", 10, "1.5*10^10*2"},
        {"1e300*1e300", 10, "1*10^300*1*10^300"},
        {"5.e2+.5e1", 10, "5.*10^2+.5*10^1"},
        {"max(1,2e3)", 10, "max(1,2*10^3)"},
        {"1,000e3", 10, "1,000*10^3"},
        {"sqrt 4e6", 10, "SQRT4*10^6"}, // after a word the digits are a number
        {"a12e3", 10, "A12*10^3"},      // a1 is the name, 2 the number
        {"x*e1+a1e2", 10, "X*E1+A1E2"}, // variable names, not exponents
        {"2e3", 16, "2E3"},
        {"2e3", 8, "2E3"},
        {"2exp1", 10, "2exp1"},
        {"2e", 10, "2E"},
        {"2ex", 10, "2EX"},
        {"e2", 10, "E2"},
        {"max(1,2)", 10, "max(1,2)"},
        {"exp(1)", 10, "exp(1)"},
        {"3 xor 5", 16, "3xor5"},
        {"Xor(x,1)", 10, "xor(X,1)"},
        {"-INFINITY", 10, "-"},
        {"+infinity*2", 10, "+*2"},
        {"data*2", 10, "DATA*2"},
        {"áb", 10, "áB"}, // only a to z are upper-cased
        {"", 10, ""},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(NormaliseLine(c.line, c.base).Text(), c.working) << c.line << " " << c.base;
}

// The expression a test line evaluates, as the calculation line makes it: a
// plot's equation without its range, read with a table of x and y; a DATA
// line with DATA written as the value -2.5.
struct TestedLine {
    GrowableText working;
    GrowableText rangeText;
    GrowableText dataText;
    LineExpression expression;

    TestedLine(const char* line, int base)
        : working(NormaliseLine(line, base)), rangeText(PlotRangeText(working)),
          dataText(ExactNumberText(-2.5, base)) {
        static const double variables[kPlotVariableCount] = {};
        expression.lineText = line;
        expression.working = working.Text();
        expression.base = base;
        switch (ClassifyLine(working)) {
        case LineKind::Plot:
            expression.word = rangeText.IsEmpty() ? nullptr : rangeText.Text();
            expression.variables = variables;
            expression.variableCount = kPlotVariableCount;
            break;
        case LineKind::DataTransform:
            expression.word = "DATA";
            expression.replacement = dataText.Text();
            break;
        case LineKind::Evaluate: break;
        }
    }
    double Evaluate() const {
        GrowableText text(working);
        if (expression.word) text.ReplaceEvery(expression.word, expression.replacement);
        return EvaluateExpression(text.Text(), expression.variables, expression.variableCount,
                                  expression.base);
    }
};

TEST(DescribeLineExpression, ReasonsNameTheLineAsTyped) {
    const struct {
        const char* line;
        int base;
        const char* described;
    } cases[] = {
        {"2pi", 10, "2; ignored from column 2: 'pi'"},
        {"foo(3)", 10, "unknown name 'FOO' at column 1"},
        {"1 +", 10, "missing operand after '+' (column 3)"},
        {"1 + 2 $ 3", 10, "1 + 2; ignored from column 7: '$ 3'"},
        {"1e+3 $", 10, "1e+3; ignored from column 6: '$'"},
        {"1e+", 10, "missing operand after '+' (column 3)"},
        {"1 e + 3 e", 10, "1 e + 3; ignored from column 9: 'e'"},
        {"1e+3 $", 16, "1e+3; ignored from column 6: '$'"},
        {"-infinity $", 10, "unexpected '$' at column 11"},
        {"2 * -INFINITY ab", 10, "unknown name 'AB' at column 15"},
        {"( 1 + 2 ) 3", 10, "( 1 + 2 ); ignored from column 11: '3'"},
        {"  ((  ", 10, "missing closing bracket at the end"},
        {"1 + q", 10, "unknown name 'Q' at column 5"},
        {"(1+2", 10, ""}, // the language closes the bracket
        {"1+2", 10, ""},
        // Plots: the equation without its range, wherever the range stands;
        // the range is never quoted as ignored.
        {"x^2 {0,1}", 10, ""},
        {"x^2 pi {0,1}", 10, "x^2; ignored from column 5: 'pi'"},
        {"x^2 {0,1} pi", 10, "x^2; ignored from column 11: 'pi'"},
        {"{0,1} x^2 $", 10, "x^2; ignored from column 11: '$'"},
        {"x^2 {0,1} {2,3}", 10, "x^2; ignored from column 11: '{2,3}'"},
        {"x^ {0,1}", 10, "missing operand after '^' (column 2)"},
        {"x $ {0,1}", 10, "x; ignored from column 3: '$'"},
        {"(x {0,1}", 10, ""},
        {"y * rand(0.99,1.01,0.0001) {100}", 10, ""},
        {"x^2 pi", 10, "x^2; ignored from column 5: 'pi'"},
        // DATA lines, read as for a value whose text is longer than DATA.
        {"data*2", 10, ""},
        {"data*2 foo", 10, "data*2; ignored from column 8: 'foo'"},
        {"data *", 10, "missing operand after '*' (column 6)"},
        {"foo(data)", 10, "unknown name 'FOO' at column 1"},
        {"2*data $", 16, "2*data; ignored from column 8: '$'"},
        {"(data*2", 10, ""},
        {"2 data", 10, "2; ignored from column 3: 'data'"}, // at the value's bracket
    };
    for (const auto& c : cases) {
        const TestedLine tested(c.line, c.base);
        char text[160];
        DescribeLineExpression(tested.expression, tested.Evaluate(), text, sizeof text);
        EXPECT_STREQ(text, c.described) << c.line;
    }
}

TEST(ClassifyLine, XAndYPlotBeforeDataTransforms) {
    const struct {
        const char* line;
        LineKind kind;
    } cases[] = {
        {"x^2", LineKind::Plot},          {"y*2", LineKind::Plot},
        {"x*data", LineKind::Plot},       {"data*2", LineKind::DataTransform},
        {"max(1,2)", LineKind::Evaluate}, {"exp(1)", LineKind::Evaluate},
        {"6 xor 3", LineKind::Evaluate},  {"+INFINITY", LineKind::Evaluate},
        {"1E+3", LineKind::Evaluate},     {"dat", LineKind::Evaluate},
        {"max(x,1)", LineKind::Plot},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClassifyLine(NormaliseLine(c.line, 10)), c.kind) << c.line;
}

// A field evaluator that records the texts it was given and answers from a table.
std::vector<std::string> fieldTexts;
std::map<std::string, double> fieldValues;
int fieldBase = 0;
double RecordField(const char* text, int base) {
    fieldTexts.push_back(text);
    fieldBase = base;
    const auto found = fieldValues.find(text);
    return found == fieldValues.end() ? std::nan("") : found->second;
}

struct RangeCase {
    const char* working;
    bool hasRange;
    const char* equation;
    std::vector<std::string> fields;
    PlotRange expected;
};

TEST(TakePlotRange, FieldsInBraces) {
    fieldValues = {{"0", 0},     {"6*PI", 18.85}, {"100", 100}, {"1", 1},  {"2", 2},
                   {"0.5", 0.5}, {"7", 7},        {",5", 55},   {"-1", -1}};
    const RangeCase cases[] = {
        {"SIN(X){0,6*PI}", true, "SIN(X)", {"0", "6*PI"}, {0, 18.85, 0, 0}},
        {"Y*RAND(0.99,1.01,0.0001){100}",
         true,
         "Y*RAND(0.99,1.01,0.0001)",
         {"100"},
         {100, 10, 0, 0}},
        {"X{1,2,0.5,7}", true, "X", {"1", "2", "0.5", "7"}, {1, 2, 0.5, 7}},
        {"X{1,1}", true, "X", {"1", "1"}, {1, 1, 0, 0}},
        {"X{,5}", true, "X", {",5"}, {55, 10, 0, 0}}, // nothing before the comma
        {"X{}", true, "X", {}, {-10, 10, 0, 0}},
        {"X{-1,1}+{-1,1}", true, "X+", {"-1", "1"}, {-1, 1, 0, 0}},
        {"{0,1}X", true, "X", {"0", "1"}, {0, 1, 0, 0}},
        {"X{0,1", false, "X{0,1", {}, {-10, 10, 0, 0}},
        {"X}{0,1", false, "X}{0,1", {}, {-10, 10, 0, 0}},
        {"X^2", false, "X^2", {}, {-10, 10, 0, 0}},
    };
    for (const auto& c : cases) {
        fieldTexts.clear();
        GrowableText working(c.working);
        PlotRange range;
        EXPECT_EQ(TakePlotRange(working, range, RecordField, 16), c.hasRange) << c.working;
        EXPECT_STREQ(working.Text(), c.equation) << c.working;
        EXPECT_EQ(fieldTexts, c.fields) << c.working;
        EXPECT_EQ(range.from, c.expected.from) << c.working;
        EXPECT_EQ(range.to, c.expected.to) << c.working;
        EXPECT_EQ(range.step, c.expected.step) << c.working;
        EXPECT_EQ(range.count, c.expected.count) << c.working;
    }
    EXPECT_EQ(fieldBase, 16);
}

TEST(TakePlotRange, AFieldThatCannotBeEvaluatedIsNaN) {
    fieldValues = {{"1", 1}};
    GrowableText working("X{1,?}");
    PlotRange range;
    ASSERT_TRUE(TakePlotRange(working, range, RecordField, 10));
    EXPECT_EQ(range.from, 1);
    EXPECT_TRUE(std::isnan(range.to));
}

TEST(ApplyDefaultStep, OnePointPerPixelColumnWithoutStepOrCount) {
    PlotRange range;
    ApplyDefaultStep(range, 400);
    EXPECT_EQ(range.step, 20.0 / 400);

    PlotRange downward;
    downward.from = 100;
    ApplyDefaultStep(downward, 300);
    EXPECT_EQ(downward.step, -90.0 / 300);

    PlotRange counted;
    counted.count = 5;
    ApplyDefaultStep(counted, 400);
    EXPECT_EQ(counted.step, 0);

    PlotRange stepped;
    stepped.step = 0.25;
    ApplyDefaultStep(stepped, 400);
    EXPECT_EQ(stepped.step, 0.25);
}

TEST(TransformDataValues, EveryValueReplacesDataInAFreshCopy) {
    fieldValues = {{"1*2+1", 3}, {"(-2.4)*2+(-2.4)", -7.5}};
    double values[] = {1, -2.5, 4};
    fieldTexts.clear();
    TransformDataValues(GrowableText("DATA*2+DATA"), values, 3, RecordField, 8);
    EXPECT_EQ(fieldTexts, (std::vector<std::string>{"1*2+1", "(-2.4)*2+(-2.4)", "4*2+4"}));
    EXPECT_EQ(values[0], 3);
    EXPECT_EQ(values[1], -7.5);
    EXPECT_TRUE(std::isnan(values[2]));
    EXPECT_EQ(fieldBase, 8);

    fieldTexts.clear();
    TransformDataValues(GrowableText("DATA"), nullptr, 0, RecordField, 10);
    EXPECT_TRUE(fieldTexts.empty());
}

double EvaluateWithoutVariables(const char* text, int base) {
    return EvaluateExpression(text, nullptr, 0, base);
}

// The compiled transform against the text of every value, bit for bit and
// draw for draw, in every base: texts where DATA runs into a number, stands
// beside letters, is taken for a bracket or a separator, or meets a minus
// sign, and values whose text is digits, a bracket, or not finite.
TEST(TransformDataValues, CompiledGivesWhatTheTextsGive) {
    const char* texts[] = {
        "DATA*2",      "2*DATA",      "-DATA",         "DATA^2",           "2^DATA",
        "2DATA",       "DATA5",       "SQRT(DATA)",    "DATA+DATA",        "max(DATA,0)",
        "1,DATA",      "ADATA",       "DATAB",         "\"A\"<\"B\"+DATA", "rand(0,DATA)",
        "PIDATA",      "DATA.5",      "Z9+DATA",       "DATA*2+maxA1$)",   "DATADATA",
        "(DATA",       "(1)DATA",     "DATA?1:2",      "LNDATA",           "DATA<>1",
        "DATA,5",      "sum(1,DATA)", "DATA*Q",        "int DATA | 1",     "!DATA",
        "DATA%3-DATA", "DATA ^| 6",   "rnd(DATA,0.5)", "DATA==DATA",       "1-DATA",
        "fact DATA",   "((1)DATA)*2", "maxDATA*2",     "1?2DATA-1",
    };
    const double values[] = {0,          -0.0,      1,         -1.5,   0.0078125,
                             -0.0078125, 255.75,    1e-7,      -4e-7,  123456.789,
                             1e9 + 0.5,  2e9,       1e300,     -1e300, std::nan(""),
                             INFINITY,   -INFINITY, 7.0000005, 0.1,    -3.25e-3};
    const size_t count = sizeof values / sizeof values[0];
    for (const char* text : texts)
        for (int base : {2, 8, 10, 16}) {
            double byText[count], compiled[count];
            std::memcpy(byText, values, sizeof values);
            std::memcpy(compiled, values, sizeof values);
            SeedRandom(5);
            TransformDataValues(GrowableText(text), byText, count, EvaluateWithoutVariables, base);
            const int nextDraw = DrawRandom();
            SeedRandom(5);
            TransformDataValuesCompiled(GrowableText(text), compiled, count,
                                        EvaluateWithoutVariables, base);
            EXPECT_EQ(DrawRandom(), nextDraw) << text << " base " << base;
            for (size_t i = 0; i < count; ++i)
                EXPECT_EQ(std::memcmp(&byText[i], &compiled[i], sizeof(double)), 0)
                    << text << " base " << base << " value " << values[i] << ": " << byText[i]
                    << " and " << compiled[i];
        }
}

TEST(MakeResultOptions, GroupingAndExponentFlags) {
    EXPECT_STREQ(MakeResultOptions(1, 0), "c , E=24 e=8");
    EXPECT_STREQ(MakeResultOptions(0, 0), "c  E=24 e=8");
    EXPECT_STREQ(MakeResultOptions(1, 1), "c , E=0 e=0");
    EXPECT_STREQ(MakeResultOptions(0, 1), "c  E=0 e=0");
}

TEST(KeepsLineSelected, AnUpperCaseIKeepsTheSelection) {
    EXPECT_TRUE(KeepsLineSelected("INVALID"));
    EXPECT_TRUE(KeepsLineSelected("+INFINITY"));
    EXPECT_TRUE(KeepsLineSelected("-INFINITY"));
    EXPECT_TRUE(KeepsLineSelected("Int(x)"));
    EXPECT_FALSE(KeepsLineSelected("int(x)"));
    EXPECT_FALSE(KeepsLineSelected("1,234,567"));
    EXPECT_FALSE(KeepsLineSelected(""));
}

} // namespace
