#pragma once
// Pieces of the parser shared between the operator levels and the built-in
// functions.
#include "expr/evaluate.h"
#include "expr/tokenizer.h"

// The loosest level: a whole expression.
double ParseCondition(EvalContext& ctx);

// The tightest level: one value with its prefix operators.
double ParsePrimary(EvalContext& ctx);

// Whether token is the word of a built-in function (other than "neg" and "not").
bool IsFunctionWord(int32_t token);

// The built-in function whose word is the current token.
double ParseFunction(EvalContext& ctx);

// Opens one more level of nesting; false (and the evaluation stopped, with
// ErrorValue as its result) when that goes past kMaxNestingDepth.
bool EnterNesting(EvalContext& ctx);
inline void LeaveNesting(EvalContext& ctx) {
    --ctx.nestingDepth;
}

// For a diagnosing reading: notes that the current token is not the
// punctuation expected ('(' or ')' for a bracket of any kind, ':' or ',').
void NoteUnlessPunctuation(EvalContext& ctx, char expected);

// Consumes the current token in the place of the punctuation expected,
// whatever it is, as the language does.
inline void TakePunctuation(EvalContext& ctx, char expected) {
    if (ctx.report) NoteUnlessPunctuation(ctx, expected);
    NextToken(ctx);
}

// Truth of a value: everything but 0 is true, NaN included.
inline bool IsTrue(double value) {
    return value != 0;
}

// The result of an operation on operands a (and b): a string literal's handle
// is no number, so any operand that is one makes the result ErrorValue.
inline double GuardLiteral(double a, double result) {
    return IsLiteralHandle(a) ? ErrorValue : result;
}
inline double GuardLiteral(double a, double b, double result) {
    return IsLiteralHandle(a) || IsLiteralHandle(b) ? ErrorValue : result;
}

double GcdOf(double a, double b);
// The larger argument added up until the smaller divides the sum exactly:
// the sum where that search ends within 100,000 sums; beyond, the multiple
// when every sum is exact, else NaN.
double LcmOf(double a, double b);
