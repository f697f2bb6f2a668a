#pragma once
// The text work on the program's command line: the one argument (a data file
// or an expression) after the program path, and the "/cmd=" command id.
#include "text/growable_text.h"

// The argument of a full command line as the system keeps it, program path
// included. Everything up to the first double quote after the first character
// (the end of a quoted program path) is dropped; what is left is an argument
// only when it is longer than one character and begins with a space. The
// argument is then freed of its outer spaces and of every double quote.
// Returns false, with argument empty, when there is none (also when nothing
// but spaces and quotes follows the program path).
bool TakeCommandLineArgument(const char* commandLine, GrowableText& argument);

// The command id of a creation parameter that begins with "/cmd=". Returns
// false when parameter is null or does not begin so.
bool ReadCommandArgument(const char* parameter, int& id);

// Reads a decimal number as atoi does: leading white space, an optional sign,
// then digits up to the first other character; no digits give 0. Numbers
// beyond the signed 32-bit range give its nearest end (atoi's overflow is
// undefined).
int ParseCommandNumber(const char* text);
