#pragma once
// The grammar of the expression language, shared between the operator levels
// and the built-in functions. It is written once, over a back end that says
// what a value is and what happens to it:
//   Evaluator (below) computes each double as the text is read;
//   the compiler of compiled_expression.cpp writes a program that will.
// Because both read the text through these same functions, they agree on
// every token, every order of evaluation and every leniency of the language.
//
// A back end B has a type B::Value, a member EvalContext ctx, and
//   Number()        the current number token (numeral, pi or variable)
//   Literal()       the current string literal token
//   Constant(v)     a value known as it stands
//   Apply(op, a, b) and Apply(op, x)   an Operation on its operands
//   Select(c, t, e) t when c is true, else e
//   Random(low, high, step, target, count)   one "rand"
//   IsLiteral(v)    whether v is a string literal's handle
//   CompareTexts(op, a, b)   a comparison on the texts of two literals
#include "expr/evaluate.h"
#include "expr/operations.h"
#include "expr/tokenizer.h"

// The loosest level: a whole expression.
template <class B>
typename B::Value ParseCondition(B& b);

// The tightest level: one value with its prefix operators.
template <class B>
typename B::Value ParsePrimary(B& b);

// Whether token is the word of a built-in function (other than "neg" and "not").
bool IsFunctionWord(int32_t token);

// The built-in function whose word is the current token.
template <class B>
typename B::Value ParseFunction(B& b);

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

// The result of an operation on operands a (and b): a string literal's handle
// is no number, so any operand that is one makes the result ErrorValue.
template <class B>
typename B::Value GuardLiteral(B& b, typename B::Value a, typename B::Value result) {
    return b.IsLiteral(a) ? b.Constant(ErrorValue) : result;
}
template <class B>
typename B::Value GuardLiteral(B& b, typename B::Value a, typename B::Value c,
                               typename B::Value result) {
    return b.IsLiteral(a) || b.IsLiteral(c) ? b.Constant(ErrorValue) : result;
}

// A comparison of two string literals' texts; ErrorValue when a side is no
// literal or a literal lacks its closing quote.
double CompareLiterals(const EvalContext& ctx, int32_t op, double left, double right);

// The back end of EvaluateExpression: every value is computed at once.
struct Evaluator {
    using Value = double;
    EvalContext ctx{};

    double Number() const { return ctx.tokenValue; }
    double Literal() const { return ctx.tokenValue; }
    static double Constant(double value) { return value; }
    static double Apply(Operation op, double a, double b) { return ApplyBinary(op, a, b); }
    static double Apply(Operation op, double x) { return ApplyUnary(op, x); }
    static double Select(double c, double t, double e) { return IsTrue(c) ? t : e; }
    static double Random(double low, double high, double step, double target, double count) {
        return DrawNearestOrFarthest(low, high, step, target, RandomCount(count));
    }
    static bool IsLiteral(double value) { return IsLiteralHandle(value); }
    double CompareTexts(int32_t op, double a, double b) const {
        return CompareLiterals(ctx, op, a, b);
    }
};
