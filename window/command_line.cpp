#include "window/command_line.h"

#include <climits>
#include <cstring>

namespace {

constexpr char kCommandPrefix[] = "/cmd=";

bool IsWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

bool TakeCommandLineArgument(const char* commandLine, GrowableText& argument) {
    argument.Assign(commandLine);
    const size_t quote = argument.Find('"', 1);
    if (quote != GrowableText::kNotFound) argument.Erase(0, quote + 1);
    if (argument.Length() <= 1 || argument.At(0) != ' ') {
        argument.Assign("");
        return false;
    }
    argument.TrimEnd(" ");
    argument.TrimStart(" ");
    argument.DeleteEvery("\"");
    return !argument.IsEmpty();
}

bool ReadCommandArgument(const char* parameter, int& id) {
    const size_t prefixLength = sizeof kCommandPrefix - 1;
    if (!parameter || std::strncmp(parameter, kCommandPrefix, prefixLength) != 0) return false;
    id = ParseCommandNumber(parameter + prefixLength);
    return true;
}

int ParseCommandNumber(const char* text) {
    while (IsWhiteSpace(*text)) ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    // Accumulated as a negative number, whose range holds INT_MIN.
    long long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 - (*text - '0');
        if (value < INT_MIN) {
            value = INT_MIN;
            if (!negative) return INT_MAX;
        }
    }
    if (negative) return static_cast<int>(value);
    return value < -INT_MAX ? INT_MAX : static_cast<int>(-value);
}
