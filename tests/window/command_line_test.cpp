#include "window/command_line.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

TEST(TakeCommandLineArgument, TheArgumentAfterAQuotedProgramPath) {
    const struct {
        const char* commandLine;
        bool taken;
        const char* argument;
    } cases[] = {
        // A quoted program path, a space and a file or an expression.
        {"\"C:\\Calc\\tamsolocalc.exe\" data.txt", true, "data.txt"},
        {"\"C:\\Calc\\tamsolocalc.exe\" 2+3", true, "2+3"},
        {"\"C:\\Calc\\tamsolocalc.exe\"   2+3   ", true, "2+3"},
        // A quoted file with blanks: the quotes go, the blanks stay.
        {"\"C:\\Calc\\tamsolocalc.exe\" \"C:\\My Data\\a b.txt\"", true, "C:\\My Data\\a b.txt"},
        {"\"C:\\Calc\\tamsolocalc.exe\" \"sin( x ) {0,6*pi}\"", true, "sin( x ) {0,6*pi}"},
        {"\"C:\\Calc\\tamsolocalc.exe\" /cmd=40002", true, "/cmd=40002"},
        // Quotes inside an unquoted argument are removed too.
        {"\"p.exe\" a\"b\"c", true, "abc"},
        // No quoted program path: the text is left whole and begins with no space.
        {"C:\\Calc\\tamsolocalc.exe data.txt", false, ""},
        {"tamsolocalc.exe", false, ""},
        // The quote at the very start is not looked at; one later ends the cut.
        {"tamsolocalc.exe \"a b.txt\"", false, ""},
        // Nothing, or one character, after the program path.
        {"\"C:\\Calc\\tamsolocalc.exe\"", false, ""},
        {"\"C:\\Calc\\tamsolocalc.exe\" ", false, ""},
        {"\"C:\\Calc\\tamsolocalc.exe\"x", false, ""},
        {"\"C:\\Calc\\tamsolocalc.exe\"data.txt", false, ""},
        // Only spaces and quotes after it.
        {"\"C:\\Calc\\tamsolocalc.exe\"    ", false, ""},
        {"\"C:\\Calc\\tamsolocalc.exe\" \"\"", false, ""},
        {"", false, ""},
        {"\"", false, ""},
    };
    for (const auto& c : cases) {
        GrowableText argument("left over");
        EXPECT_EQ(TakeCommandLineArgument(c.commandLine, argument), c.taken) << c.commandLine;
        EXPECT_EQ(std::string(argument.Text()), c.argument) << c.commandLine;
    }
}

TEST(ReadCommandArgument, OnlyAParameterThatBeginsWithTheCommandPrefix) {
    const struct {
        const char* parameter;
        bool read;
        int id;
    } cases[] = {
        {"/cmd=40002", true, 40002},  {"/cmd=40011 more", true, 40011},
        {"/cmd=", true, 0},           {"/cmd=abc", true, 0},
        {"/cmd= 49000", true, 49000}, {" /cmd=40002", false, -1},
        {"/CMD=40002", false, -1},    {"/cmd40002", false, -1},
        {"2+3", false, -1},           {"", false, -1},
        {nullptr, false, -1},
    };
    for (const auto& c : cases) {
        int id = -1;
        const char* shown = c.parameter ? c.parameter : "(null)";
        EXPECT_EQ(ReadCommandArgument(c.parameter, id), c.read) << shown;
        EXPECT_EQ(id, c.id) << shown;
    }
}

TEST(ParseCommandNumber, ReadsLikeAtoiWithoutOverflow) {
    const struct {
        const char* text;
        int value;
    } cases[] = {
        {"40002", 40002},
        {"  \t\n\v\f\r12", 12},
        {"+7", 7},
        {"-7", -7},
        {"12abc", 12},
        {"1 2", 1},
        {"0x10", 0},
        {"", 0},
        {"abc", 0},
        {"-", 0},
        {"+-1", 0},
        {"- 1", 0},
        {"000040012", 40012},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"2147483648", INT_MAX},
        {"-2147483649", INT_MIN},
        {"99999999999999999999999999", INT_MAX},
        {"-99999999999999999999999999", INT_MIN},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseCommandNumber(c.text), c.value) << c.text;
}

} // namespace
