#include "window/menu_text.h"

#include "expr/evaluate.h"
#include "resources/resource_ids.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

TEST(CutAtTab, KeepsTheLabelOfAMenuText) {
    const struct {
        const char* text;
        const char* label;
    } cases[] = {
        {"sin( x ) {0,6*pi}\tsin function", "sin( x ) {0,6*pi}"},
        {"x^2", "x^2"},
        {"\tnote", ""},
        {"a\tb\tc", "a"},
        {"", ""},
    };
    for (const auto& c : cases) {
        char text[kMenuTextSize];
        std::snprintf(text, sizeof text, "%s", c.text);
        CutAtTab(text);
        EXPECT_EQ(std::string(text), c.label) << c.text;
    }
}

// What a conversion item types: from its menu text, with the caret at the start
// of the line or elsewhere.
TEST(ConversionPattern, TheTextToTypeAndWhetherTheLineIsWrapped) {
    const struct {
        const char* menuText;
        bool found;
        bool wrapsLine;
        const char* typedElsewhere;
        const char* typedAtStart;
    } cases[] = {
        {"From Feet\t*[12]", true, false, "*[12]", "[12]"},
        {"From Celsius\t*[9/5]+32", true, false, "*[9/5]+32", "[9/5]+32"},
        {"From Sq. Feet\t*[(1/43560)]", true, false, "*[(1/43560)]", "[(1/43560)]"},
        {"From Fahrenheit\t[_-32]*5/9", true, true, "-32]*5/9", "32]*5/9"},
        {"From Kelvin\t[_-273.15]", true, true, "-273.15]", "273.15]"},
        {"From Fahrenheit\t[_+459.67]*5/9", true, true, "+459.67]*5/9", "459.67]*5/9"},
        // "*[" wins over a later "[_".
        {"odd\t[_1]*[2]", true, false, "*[2]", "[2]"},
        // A pattern at the very end leaves nothing to type, and nothing to skip.
        {"end\t[_", true, true, "", ""},
        {"end\t*[", true, false, "*[", "["},
        {"From Feet\t*12", false, false, "", ""},
        {"From Feet\t[12]", false, false, "", ""},
        {"", false, false, "", ""},
    };
    for (const auto& c : cases) {
        const ConversionPattern pattern = FindConversionPattern(c.menuText);
        EXPECT_EQ(pattern.found, c.found) << c.menuText;
        EXPECT_EQ(pattern.wrapsLine, c.wrapsLine) << c.menuText;
        EXPECT_EQ(std::string(ConversionTextToType(c.menuText, pattern, false)), c.typedElsewhere)
            << c.menuText;
        EXPECT_EQ(std::string(ConversionTextToType(c.menuText, pattern, true)), c.typedAtStart)
            << c.menuText;
    }
}

double ReadDecimal(const char* text, int base) {
    return EvaluateExpression(text, nullptr, 0, base);
}

// The decimal numbers of a pattern are written in the line's base, so that
// they read back as exactly what base 10 reads.
TEST(ConversionTextInBase, NumbersInTheDigitsOfTheBase) {
    const struct {
        const char* typed;
        int base;
        const char* text;
    } cases[] = {
        {"*[25.4]", 10, "*[25.4]"},
        {"*[25.4]", 16, "*[19.666666666666]"},
        {"*[12]", 16, "*[C]"},
        {"*[1609344]", 16, "*[188E80]"},
        {"[9/5]+32", 2, "[1001/101]+100000"},
        {"-32]*5/9", 8, "-40]*5/11"},
        {"*[0.5]", 2, "*[0.1]"},
        {"*[(1/43560)]", 16, "*[(1/AA28)]"},
        {"*[1/160934.4]", 8, "*[1/472246.314631463146]"},
        {"*[", 16, "*["},
        {"", 2, ""},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(ConversionTextInBase(c.typed, c.base, ReadDecimal).Text(), c.text)
            << c.typed << " " << c.base;
}

TEST(NumberBaseCommands, BaseAndTitleOfEachCommand) {
    const struct {
        int id;
        int base;
        const char* title;
    } cases[] = {
        {IDM_BASE_2, 2, "TamsoloCalc [BINARY]"},
        {IDM_BASE_8, 8, "TamsoloCalc [OCTAL]"},
        {IDM_BASE_10, 10, "TamsoloCalc"},
        {IDM_BASE_16, 16, "TamsoloCalc [HEX]"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BaseForCommand(c.id), c.base) << c.id;
        EXPECT_EQ(std::string(TitleForBase(c.base)), c.title) << c.id;
    }
    for (int other : {IDM_DIGIT_GROUPING, IDM_REVERSE_DATA + 2, IDM_BASE_2 - 1, 0, 1})
        EXPECT_EQ(BaseForCommand(other), 0) << other;
}

} // namespace
