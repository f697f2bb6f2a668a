#include "window/menu_text.h"

#include "resources/resource_ids.h"
#include "window/exact_number.h"

#include <cstring>

namespace {

constexpr char kDecimalChars[] = "0123456789.";

} // namespace

void CutAtTab(char* text) {
    if (char* tab = std::strchr(text, '\t')) *tab = '\0';
}

ConversionPattern FindConversionPattern(const char* menuText) {
    ConversionPattern pattern;
    if (const char* multiply = std::strstr(menuText, "*[")) {
        pattern.found = true;
        pattern.start = static_cast<size_t>(multiply - menuText);
    } else if (const char* wrap = std::strstr(menuText, "[_")) {
        pattern.found = true;
        pattern.wrapsLine = true;
        pattern.start = static_cast<size_t>(wrap - menuText) + 2;
    }
    return pattern;
}

const char* ConversionTextToType(const char* menuText, const ConversionPattern& pattern,
                                 bool caretAtLineStart) {
    if (!pattern.found) return "";
    const char* text = menuText + pattern.start;
    if (caretAtLineStart && *text) ++text;
    return text;
}

GrowableText ConversionTextInBase(const char* typed, int base,
                                  double (*evaluate)(const char* text, int base)) {
    if (base == 10) return GrowableText(typed);
    GrowableText text;
    while (*typed) {
        const size_t other = std::strcspn(typed, kDecimalChars);
        text.Append(GrowableText(typed, other).Text());
        typed += other;
        const size_t number = std::strspn(typed, kDecimalChars);
        if (number == 0) break;
        const double value = evaluate(GrowableText(typed, number).Text(), 10);
        text.Append(ExactNumberText(value, base).Text());
        typed += number;
    }
    return text;
}

int BaseForCommand(int id) {
    switch (id) {
    case IDM_BASE_2: return 2;
    case IDM_BASE_8: return 8;
    case IDM_BASE_10: return 10;
    case IDM_BASE_16: return 16;
    default: return 0;
    }
}

const char* TitleForBase(int base) {
    switch (base) {
    case 2: return "TamsoloCalc [BINARY]";
    case 8: return "TamsoloCalc [OCTAL]";
    case 16: return "TamsoloCalc [HEX]";
    default: return "TamsoloCalc";
    }
}
