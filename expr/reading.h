#pragma once
// Why an expression was not read whole: where the lenient reading of
// EvaluateExpression met something it could not use, and from where it
// ignored the rest of the text. The evaluator itself never tells; this reads
// the text the same way (with the same parser) and reports what it met.

enum class ReadingProblem {
    None,               // every token was used as the language means it
    UnexpectedToken,    // a token where a value is due (at offset)
    MissingOperand,     // the text ended where a value was due (after the token at offset)
    MissingPunctuation, // expected was due: at the end, or the token at offset stood there
    UnknownName,        // a letter that names nothing, where a value is due (at offset)
    TooDeep,            // nesting went past kMaxNestingDepth at the token at offset
    UnterminatedString, // the string literal opened at offset has no closing quote
    IgnoredText,        // nothing else went wrong, but the text from ignoredFrom was ignored
};

struct ReadingReport {
    ReadingProblem problem = ReadingProblem::None;
    int offset = -1;   // the token the problem is about, from the start of the text
    int length = 0;    // that token's length in the text (0 at the end of the text)
    char expected = 0; // MissingPunctuation: '(' or ')' for brackets, ':' or ','
    // Where the text after a complete expression starts, or -1 when the
    // reading went to the end of the text.
    int ignoredFrom = -1;
};

// Reads text as EvaluateExpression(text, variables, variableCount, base) does
// and reports the first problem it met (a too deep nesting wins over any
// other, since it ends the reading). Leaves the random generator as it was.
ReadingReport DiagnoseExpression(const char* text, const double* variables, int variableCount,
                                 int base);

// Whether the only problem is punctuation missing at the very end, which the
// language supplies by itself: "(1+2" is 3.
bool EndsLeniently(const ReadingReport& report);

// A short text for the user about report, into out (size bytes, always
// terminated). text is the text whose offsets the report holds (a caller may
// map them onto the text the user typed); columns count from 1. Empty when
// there is no problem.
void DescribeReading(const ReadingReport& report, const char* text, char* out, int size);
