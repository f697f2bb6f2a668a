#pragma once
// The text rules behind the menu's commands: sample equations and unit
// conversions carry their formulas in their menu texts, and the number base
// commands name the window title.
#include "text/growable_text.h"

#include <cstddef>

// Menu texts are read into buffers of this size (255 characters).
constexpr int kMenuTextSize = 256;

// Ends text at its first tab: a menu text is "label<tab>note".
void CutAtTab(char* text);

// What a conversion item types into the line.
struct ConversionPattern {
    bool found = false;
    // "[_" patterns first wrap the line's text as "[text" before typing.
    bool wrapsLine = false;
    // Where the text to type starts in the menu text.
    size_t start = 0;
};

// "*[" in the menu text: the text to type starts at its "*". Otherwise "[_":
// the line is wrapped and the text starts two characters after the "[".
// Neither: found is false.
ConversionPattern FindConversionPattern(const char* menuText);

// The part of the menu text to type. With the caret at the very start of the
// line and nothing selected, the pattern's first character (the "*" of a
// multiplication) is skipped, since there is nothing to multiply.
const char* ConversionTextToType(const char* menuText, const ConversionPattern& pattern,
                                 bool caretAtLineStart);

// The text to type in base: the patterns' numbers are decimal, so outside
// base 10 each becomes the digits of base that read back as exactly the
// value that evaluate (an expression without variables) reads in base 10.
GrowableText ConversionTextInBase(const char* typed, int base,
                                  double (*evaluate)(const char* text, int base));

// The base of a number base command (40004 to 40007), or 0 for any other id.
int BaseForCommand(int id);

// The main window's title for a number base.
const char* TitleForBase(int base);
