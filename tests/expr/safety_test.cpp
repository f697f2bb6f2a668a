#include "expr_cases.h"

#include <string>

namespace {

std::string Repeat(const std::string& piece, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += piece;
    return text;
}

double Evaluate(const std::string& text) {
    return EvaluateBothWays(text.c_str(), nullptr, 0, 10);
}

TEST(EvaluateSafety, NestingUpToTheLimitEvaluates) {
    const int n = kMaxNestingDepth;
    EXPECT_EQ(Evaluate(Repeat("(", n) + "1" + Repeat(")", n)), 1);
    EXPECT_EQ(Evaluate(Repeat("(", n) + "1"), 1);
    EXPECT_EQ(Evaluate(Repeat("-", n) + "1"), 1);
    EXPECT_EQ(Evaluate(Repeat("sqrt ", n) + "1"), 1);
    EXPECT_EQ(Evaluate(Repeat("sum(", n) + "1" + Repeat(")", n)), 1);
    EXPECT_EQ(Evaluate(Repeat("1?", n) + "7"), 7);
    EXPECT_EQ(Evaluate(Repeat("0?1:", n) + "7"), 7);
    EXPECT_EQ(Evaluate(Repeat("(", n - 1) + "1?2:3"), 2);
    // An unreadable primary at the limit is no further level.
    EXPECT_EQ(Evaluate(Repeat("(", n) + "1==$"), 0);
}

TEST(EvaluateSafety, DeeperThanTheLimitIsErrorValue) {
    const int n = kMaxNestingDepth + 1;
    const std::string cases[] = {
        Repeat("(", n) + "1" + Repeat(")", n),
        Repeat("(", n) + "1",
        Repeat("-", n) + "1",
        Repeat("not ", n) + "1",
        Repeat("sqrt ", n) + "1",
        Repeat("sum(", n) + "1" + Repeat(")", n),
        Repeat("1?", n) + "7",
        Repeat("0?1:", n) + "7",
        Repeat("(", n - 1) + "1?2",
        Repeat("(-", n / 2 + 1) + "1",
        // A comparison above the overflow would otherwise turn the NaN into 0.
        Repeat("(", n) + "1" + Repeat(")", n) + "==1",
        "cond(" + Repeat("(", n) + ",1,2)",
        Repeat("(", 100000),
        Repeat("(", 10000) + "1" + Repeat(")", 10000),
        Repeat("-", 100000) + "1",
        Repeat("1?", 50000) + "1",
        Repeat("sum(", 20000),
    };
    for (const std::string& text : cases) {
        const double value = Evaluate(text);
        EXPECT_TRUE(SameBits(value, ErrorValue)) << text.substr(0, 40) << " gave " << value;
    }
}

TEST(EvaluateSafety, SequentialBracketsDoNotAddUp) {
    EXPECT_EQ(Evaluate(Repeat("(1)+", 2000) + "0"), 2000);
    EXPECT_EQ(Evaluate("sum(" + Repeat("(1),", 999) + "1)"), 1000);
}

TEST(EvaluateSafety, TextIsNeverChangedAndLiteralsStayInside) {
    char text[] = "\"ab\" < \"abc\"";
    const std::string before = text;
    EXPECT_EQ(EvaluateExpression(text, nullptr, 0, 10), 1);
    EXPECT_EQ(before, text);
    EXPECT_TRUE(SameBits(EvaluateBothWays(nullptr, nullptr, 0, 10), ErrorValue));
    // An unclosed literal runs to the end of the text and no further.
    char unclosed[] = "\"ab\" < \"abc";
    EXPECT_TRUE(SameBits(EvaluateExpression(unclosed, nullptr, 0, 10), ErrorValue));
}

} // namespace
