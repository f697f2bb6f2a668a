#pragma once
// The text work of the calculation line: when a line is evaluated, how its
// working copy is normalised and classified, how a plot range in braces is
// read, how DATA values are written into an expression, and which results stay
// selected. The Win32 side is EvaluateLine in calc_line_gui.
#include "expr/reading.h"
#include "text/growable_text.h"

// The line is read into this many bytes (1535 characters and the terminator).
constexpr int kLineBufferSize = 1536;

// A change of the line starts an evaluation only when its text ends with "=",
// and that "=" is not the second character of "<=", ">=" or "!=".
bool EndsWithEquals(const char* text);

// The working copy of line text (its "=" already trimmed): spaces deleted,
// upper-cased, exponents (1E+3, 2E-3, 2E3) made evaluable in base 10, and the
// words that contain X or Y (xor, exp, max, INFINITY) kept from looking like
// variables.
GrowableText NormaliseLine(const char* lineText, int base);

// The reading report of a working copy made by NormaliseLine from lineText,
// with its positions moved onto lineText, so that the user is told columns
// and texts of the line as typed.
ReadingReport MapReadingToLine(const ReadingReport& report, const char* lineText,
                               const char* working);

// How the expression that a line evaluates is made from it, for telling the
// user how that expression was read.
struct LineExpression {
    const char* lineText = ""; // the line as typed, without its "="
    const char* working = "";  // its copy made by NormaliseLine
    // The expression is working with every word in it written as
    // replacement: a plot's range text deleted (replacement ""), DATA as the
    // text of a value. Null when the expression is working itself.
    const char* word = nullptr;
    const char* replacement = "";
    const double* variables = nullptr; // the evaluation's variable table
    int variableCount = 0;
    int base = 10;
};

// Why that expression was not read whole, into out (size bytes, always
// terminated), in the columns and texts of the line as typed, a deleted range
// left out of them. Empty when it was read whole, or when all it missed was
// punctuation at the end, which the language supplies, and result (what it
// gave) is a number.
void DescribeLineExpression(const LineExpression& line, double result, char* out, int size);

enum class LineKind { Plot, DataTransform, Evaluate };
LineKind ClassifyLine(const GrowableText& working);

// Evaluates one expression without variables in base.
using FieldEvaluator = double (*)(const char* text, int base);

struct PlotRange {
    double from = -10;
    double to = 10;
    double step = 0;
    double count = 0;
};

// The range text of a working copy: from its first "{" to the first "}"
// after it, both included; empty when either is missing.
GrowableText PlotRangeText(const GrowableText& working);

// Reads the range in braces of the working copy into range (fields from, to,
// step, count; an empty field keeps its default) and deletes the range text
// from the working copy, which leaves the equation. Returns false, changing
// nothing, when there is no range.
bool TakePlotRange(GrowableText& working, PlotRange& range, FieldEvaluator evaluate, int base);

// Without a step or a count, one point per pixel column of width.
void ApplyDefaultStep(PlotRange& range, int width);

// Replaces each of the count values by the working copy evaluated with DATA
// standing for the value, written so that base reads it back exactly.
void TransformDataValues(const GrowableText& working, double* values, int count,
                         FieldEvaluator evaluate, int base);

// The same as TransformDataValues with evaluate reading a text without
// variables (EvaluateExpression), value for value and bit for bit, but with
// the expression compiled once and each value put in as it is. Where that
// could differ (DATA run into a number, taken for punctuation, or too deep;
// NaN values) the values are transformed through their text.
void TransformDataValuesCompiled(const GrowableText& working, double* values, int count,
                                 FieldEvaluator evaluate, int base);

// The formatter's option string for a result.
const char* MakeResultOptions(int digitGrouping, int exponentialNotation);

// A written-back line stays wholly selected when it holds an upper-case "I"
// ("INVALID", "+INFINITY", "-INFINITY"), so the next keystroke replaces it.
bool KeepsLineSelected(const char* text);
