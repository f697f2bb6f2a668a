#pragma once
// The expression language: one entry that turns the text of an expression into
// a double. It never reports a syntax error; what cannot be read is NaN.
#include <cstdint>
#include <cstring>

// The NaN with all 64 bits set, the value of anything that cannot be read.
inline double MakeErrorValue() {
    const uint64_t bits = ~uint64_t{0};
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}
inline const double ErrorValue = MakeErrorValue();

// Evaluates text (NUL-terminated, unchanged) with numbers in base (2 to 16).
// variables may be null; letters A to Z (optionally followed by one digit) then
// read entries of it (see the tokenizer). Text after a complete expression is
// ignored. Allocates nothing.
double EvaluateExpression(const char* text, const double* variables, int variableCount, int base);
