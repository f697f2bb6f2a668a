#pragma once
// The expression language: one entry that turns the text of an expression into
// a double. It never reports a syntax error; what cannot be read is NaN.
#include <cstdint>

// The NaN with all 64 bits set, the value of anything that cannot be read.
constexpr double MakeErrorValue() {
    return __builtin_bit_cast(double, ~uint64_t{0});
}
inline constexpr double ErrorValue = MakeErrorValue();

// How deeply brackets, argument lists, prefix operators, prefix functions and
// conditionals may nest. Deeper text evaluates to ErrorValue. Each level costs
// one chain of parser frames; the limit keeps that well inside a 1 MiB stack.
constexpr int kMaxNestingDepth = 256;

// The most extra draws one "rand" call makes for its count argument; a larger
// count is cut to this, so that a line full of such calls stays fast. With at
// most 32768 distinct draws, more would rarely change the result.
constexpr int kMaxRandomCount = 4096;

// Evaluates text (NUL-terminated, unchanged) with numbers in base (2 to 16).
// variables may be null; letters A to Z (optionally followed by one digit) then
// read entries of it (see the tokenizer). Text after a complete expression is
// ignored. Allocates nothing.
double EvaluateExpression(const char* text, const double* variables, int variableCount, int base);
