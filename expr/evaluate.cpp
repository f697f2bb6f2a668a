#include "expr/evaluate.h"

#include "expr/expression_compiler.h"
#include "expr/parser.h"
#include "expr/random.h"
#include "expr/reading.h"

#include <cstring>

namespace {

// A level's body is inlined where the level above reads its left operand, so
// that a lone value passes the levels without a call for each; right operands
// call the out-of-line copy (NameOperand).
#if defined(_MSC_VER)
#define INLINE_LEVEL __forceinline
#define OUTLINE_LEVEL __declspec(noinline)
#else
#define INLINE_LEVEL inline __attribute__((always_inline))
#define OUTLINE_LEVEL __attribute__((noinline))
#endif

template <class B>
using Value = typename B::Value;

#define DECLARE_LEVEL(Name)                                                                        \
    template <class B>                                                                             \
    INLINE_LEVEL Value<B> Name(B& b);                                                              \
    template <class B>                                                                             \
    OUTLINE_LEVEL Value<B> Name##Operand(B& b) {                                                   \
        return Name(b);                                                                            \
    }
DECLARE_LEVEL(ParseXor)
DECLARE_LEVEL(ParseAnd)
DECLARE_LEVEL(ParseBitOr)
DECLARE_LEVEL(ParseBitXor)
DECLARE_LEVEL(ParseBitAnd)
DECLARE_LEVEL(ParseEquality)
DECLARE_LEVEL(ParseRelation)
DECLARE_LEVEL(ParseSum)
DECLARE_LEVEL(ParseProduct)
DECLARE_LEVEL(ParsePower)
#undef DECLARE_LEVEL

// Reads the right operand of a two-operand level with next and applies op.
template <class B>
Value<B> ApplyToNext(B& b, Operation op, Value<B> left, Value<B> (*next)(B&)) {
    NextToken(b.ctx);
    const Value<B> right = next(b);
    return GuardLiteral(b, left, right, b.Apply(op, left, right));
}

int OffsetOf(const EvalContext& ctx, const char* p) {
    return static_cast<int>(p - ctx.text);
}

// Notes a problem of a diagnosing reading at the token from start to end;
// the first problem noted stays.
void NoteProblem(EvalContext& ctx, ReadingProblem problem, const char* start, const char* end,
                 char expected = 0) {
    ReadingReport& report = *ctx.report;
    if (report.problem != ReadingProblem::None) return;
    report.problem = problem;
    report.offset = OffsetOf(ctx, start);
    report.length = static_cast<int>(end - start);
    report.expected = expected;
}

bool IsOpeningBracket(int32_t token) {
    return token == '(' || token == '[' || token == '{';
}

bool IsLetterToken(int32_t token) {
    return (token >= 'A' && token <= 'Z') || (token >= 'a' && token <= 'z');
}

// A value was due at the current token and none starts there.
OUTLINE_LEVEL double MissingValue(EvalContext& ctx) {
    if (!ctx.report) return ErrorValue;
    const char* start = ctx.tokenStart;
    if (ctx.token != kTokenEnd) {
        const ReadingProblem problem = IsLetterToken(ctx.token) ? ReadingProblem::UnknownName
                                                                : ReadingProblem::UnexpectedToken;
        NoteProblem(ctx, problem, start, ctx.position);
    } else if (!ctx.previousTokenStart) {
        NoteProblem(ctx, ReadingProblem::MissingOperand, start, start); // nothing at all
    } else if (IsOpeningBracket(static_cast<unsigned char>(*ctx.previousTokenStart))) {
        NoteProblem(ctx, ReadingProblem::MissingPunctuation, start, start, ')');
    } else {
        NoteProblem(ctx, ReadingProblem::MissingOperand, ctx.previousTokenStart,
                    ctx.previousTokenEnd);
    }
    return ErrorValue;
}

// A string literal used as a value: a diagnosing reading notes one that has
// no closing quote.
void NoteLiteral(EvalContext& ctx) {
    const char* open = ctx.tokenStart;
    if (!std::strchr(open + 1, '"'))
        NoteProblem(ctx, ReadingProblem::UnterminatedString, open, ctx.position);
}

// xor -> and { "xor" and }
template <class B>
INLINE_LEVEL Value<B> ParseXor(B& b) {
    Value<B> left = ParseAnd(b);
    while (b.ctx.token == kTokenXor) left = ApplyToNext(b, Operation::Xor, left, ParseAndOperand);
    return left;
}

// and -> bitor { "and" bitor }
template <class B>
INLINE_LEVEL Value<B> ParseAnd(B& b) {
    Value<B> left = ParseBitOr(b);
    while (b.ctx.token == kTokenAnd) left = ApplyToNext(b, Operation::And, left, ParseBitOrOperand);
    return left;
}

// bitor -> bitxor { "|" bitxor }
template <class B>
INLINE_LEVEL Value<B> ParseBitOr(B& b) {
    Value<B> left = ParseBitXor(b);
    while (b.ctx.token == '|') left = ApplyToNext(b, Operation::BitOr, left, ParseBitXorOperand);
    return left;
}

// bitxor -> bitand { "^|" bitand }
template <class B>
INLINE_LEVEL Value<B> ParseBitXor(B& b) {
    Value<B> left = ParseBitAnd(b);
    while (b.ctx.token == kTokenBitXor)
        left = ApplyToNext(b, Operation::BitXor, left, ParseBitAndOperand);
    return left;
}

// bitand -> equality { "&" equality }
template <class B>
INLINE_LEVEL Value<B> ParseBitAnd(B& b) {
    Value<B> left = ParseEquality(b);
    while (b.ctx.token == '&') left = ApplyToNext(b, Operation::BitAnd, left, ParseEqualityOperand);
    return left;
}

// Orders two texts byte by byte as unsigned characters: <0, 0 or >0.
int CompareText(const char* a, size_t aLength, const char* b, size_t bLength) {
    const size_t common = aLength < bLength ? aLength : bLength;
    const int order = common ? std::memcmp(a, b, common) : 0;
    if (order != 0) return order;
    return aLength < bLength ? -1 : (aLength > bLength ? 1 : 0);
}

bool ContainsText(const char* text, size_t length, const char* part, size_t partLength) {
    for (size_t start = 0; start + partLength <= length; ++start)
        if (std::memcmp(text + start, part, partLength) == 0) return true;
    return false;
}

Operation ComparisonOperation(int32_t op) {
    switch (op) {
    case kTokenEqual: return Operation::Equal;
    case kTokenNotEqual:
    case kTokenContains: return Operation::NotEqual;
    case '<': return Operation::Less;
    case '>': return Operation::Greater;
    case kTokenLessEqual: return Operation::LessEqual;
    default: return Operation::GreaterEqual; // ">="
    }
}

// Reads the right operand of a comparison with next and compares: on texts
// when that operand starts with a string literal, else on numbers.
template <class B>
Value<B> ParseComparison(B& b, Value<B> left, Value<B> (*next)(B&)) {
    const int32_t op = b.ctx.token;
    NextToken(b.ctx);
    const bool onTexts = b.ctx.token == kTokenString;
    const Value<B> right = next(b);
    if (onTexts) return b.CompareTexts(op, left, right);
    return GuardLiteral(b, left, right, b.Apply(ComparisonOperation(op), left, right));
}

// equality -> relation { ("==" | "=" | "!=" | "<>") relation }
template <class B>
INLINE_LEVEL Value<B> ParseEquality(B& b) {
    Value<B> left = ParseRelation(b);
    while (b.ctx.token == kTokenEqual || b.ctx.token == kTokenNotEqual ||
           b.ctx.token == kTokenContains)
        left = ParseComparison(b, left, ParseRelationOperand);
    return left;
}

// relation -> sum { ("<" | ">" | "<=" | ">=") sum }
template <class B>
INLINE_LEVEL Value<B> ParseRelation(B& b) {
    Value<B> left = ParseSum(b);
    while (b.ctx.token == '<' || b.ctx.token == '>' || b.ctx.token == kTokenLessEqual ||
           b.ctx.token == kTokenGreaterEqual)
        left = ParseComparison(b, left, ParseSumOperand);
    return left;
}

// sum -> product { ("+" | "-") product }
template <class B>
INLINE_LEVEL Value<B> ParseSum(B& b) {
    Value<B> left = ParseProduct(b);
    while (b.ctx.token == '+' || b.ctx.token == '-') {
        const Operation op = b.ctx.token == '+' ? Operation::Add : Operation::Subtract;
        left = ApplyToNext(b, op, left, ParseProductOperand);
    }
    return left;
}

// product -> power { ("*" | "/" | "%") power }
template <class B>
INLINE_LEVEL Value<B> ParseProduct(B& b) {
    Value<B> left = ParsePower(b);
    while (b.ctx.token == '*' || b.ctx.token == '/' || b.ctx.token == '%') {
        const int32_t token = b.ctx.token;
        const Operation op = token == '*'   ? Operation::Multiply
                             : token == '/' ? Operation::Divide
                                            : Operation::Remainder;
        left = ApplyToNext(b, op, left, ParsePowerOperand);
    }
    return left;
}

// power -> primary { "^" primary }
template <class B>
INLINE_LEVEL Value<B> ParsePower(B& b) {
    Value<B> left = ParsePrimary(b);
    while (b.ctx.token == '^') left = ApplyToNext(b, Operation::Power, left, ParsePrimary<B>);
    return left;
}

// A prefix operator: op applied to the next primary.
template <class B>
Value<B> ParsePrefixOperator(B& b, Operation op) {
    NextToken(b.ctx);
    const Value<B> value = ParsePrimary(b);
    return GuardLiteral(b, value, b.Apply(op, value));
}

// A primary that needs one more level of nesting: brackets, prefix operators
// and functions.
template <class B>
Value<B> ParseNestedPrimary(B& b) {
    EvalContext& ctx = b.ctx;
    switch (ctx.token) {
    case '(':
    case '[':
    case '{': {
        NextToken(ctx);
        const Value<B> value = ParseCondition(b);
        TakePunctuation(ctx, ')'); // a closing bracket of any kind, or whatever stands there
        return value;
    }
    case '-':
    case kTokenNeg: return ParsePrefixOperator(b, Operation::Negate);
    case '+': NextToken(ctx); return ParsePrimary(b);
    case '!':
    case kTokenNot: return ParsePrefixOperator(b, Operation::Not);
    default: return ParseFunction(b);
    }
}

} // namespace

double CompareLiterals(const EvalContext& ctx, int32_t op, double left, double right) {
    const char *a, *b;
    size_t aLength, bLength;
    bool aClosed, bClosed;
    if (!FindLiteralText(ctx, left, &a, &aLength, &aClosed) ||
        !FindLiteralText(ctx, right, &b, &bLength, &bClosed) || !aClosed || !bClosed)
        return ErrorValue;
    if (op == kTokenContains)
        return Truth(aLength && bLength &&
                     (aLength >= bLength ? ContainsText(a, aLength, b, bLength)
                                         : ContainsText(b, bLength, a, aLength)));
    const int order = CompareText(a, aLength, b, bLength);
    return ApplyBinary(ComparisonOperation(op), order, 0);
}

void NoteUnlessPunctuation(EvalContext& ctx, char expected) {
    const int32_t t = ctx.token;
    const bool found = expected == '('   ? IsOpeningBracket(t)
                       : expected == ')' ? (t == ')' || t == ']' || t == '}')
                                         : t == expected;
    if (!found)
        NoteProblem(ctx, ReadingProblem::MissingPunctuation, ctx.tokenStart, ctx.position,
                    expected);
}

bool EnterNesting(EvalContext& ctx) {
    if (++ctx.nestingDepth <= kMaxNestingDepth) return true;
    // Too deep: stop reading, so that every level above returns at once.
    if (ctx.report) {
        ctx.report->problem = ReadingProblem::None; // this one wins: it ends the reading
        NoteProblem(ctx, ReadingProblem::TooDeep, ctx.tokenStart, ctx.position);
    }
    ctx.tooDeep = true;
    ctx.position += std::strlen(ctx.position);
    ctx.token = kTokenEnd;
    ctx.tokenValue = 0;
    return false;
}

// condition -> xor { "or" xor } [ "?" condition ":" condition ]
template <class B>
Value<B> ParseCondition(B& b) {
    EvalContext& ctx = b.ctx;
    Value<B> left = ParseXor(b);
    while (ctx.token == kTokenOr) left = ApplyToNext(b, Operation::Or, left, ParseXorOperand);
    if (ctx.token != '?') return left;
    if (!EnterNesting(ctx)) return b.Constant(ErrorValue);
    NextToken(ctx);
    const Value<B> thenValue = ParseCondition(b);
    TakePunctuation(ctx, ':'); // the ":", or whatever stands there
    const Value<B> elseValue = ParseCondition(b);
    LeaveNesting(ctx);
    return GuardLiteral(b, left, b.Select(left, thenValue, elseValue));
}

// primary -> number | literal | "(" condition any | ("-" | "+" | "!") primary | function
template <class B>
Value<B> ParsePrimary(B& b) {
    EvalContext& ctx = b.ctx;
    switch (ctx.token) {
    case kTokenString:
        if (ctx.report) NoteLiteral(ctx);
        [[fallthrough]];
    case kTokenNumber: {
        const Value<B> value = ctx.token == kTokenNumber ? b.Number() : b.Literal();
        NextToken(ctx);
        return value;
    }
    case '(':
    case '[':
    case '{':
    case '-':
    case kTokenNeg:
    case '+':
    case '!':
    case kTokenNot: break;
    default:
        // No value starts here; the token stays.
        if (!IsFunctionWord(ctx.token)) return b.Constant(MissingValue(ctx));
    }
    if (!EnterNesting(ctx)) return b.Constant(ErrorValue);
    const Value<B> value = ParseNestedPrimary(b);
    LeaveNesting(ctx);
    return value;
}

template double ParseCondition(Evaluator&);
template double ParsePrimary(Evaluator&);
template ExpressionCompiler::Value ParseCondition(ExpressionCompiler&);
template ExpressionCompiler::Value ParsePrimary(ExpressionCompiler&);

namespace {

void StartReading(EvalContext& ctx, const char* text, const double* variables, int variableCount,
                  int base) {
    ctx.text = text;
    ctx.position = text;
    ctx.variables = variables;
    ctx.variableCount = variables ? variableCount : 0;
    ctx.base = base;
}

double ReadWholeExpression(Evaluator& evaluator) {
    EvalContext& ctx = evaluator.ctx;
    NextToken(ctx);
    const double value = ParseCondition(evaluator);
    // A literal's handle means nothing outside the expression.
    if (ctx.tooDeep || IsLiteralHandle(value)) return ErrorValue;
    return value;
}

} // namespace

double EvaluateExpression(const char* text, const double* variables, int variableCount, int base) {
    if (!text) return ErrorValue;
    Evaluator evaluator;
    StartReading(evaluator.ctx, text, variables, variableCount, base);
    return ReadWholeExpression(evaluator);
}

ReadingReport DiagnoseExpression(const char* text, const double* variables, int variableCount,
                                 int base) {
    ReadingReport report;
    if (!text) return report;
    Evaluator evaluator;
    EvalContext& ctx = evaluator.ctx;
    StartReading(ctx, text, variables, variableCount, base);
    ctx.report = &report;
    // The reading evaluates as it goes; "rand" must not draw for it.
    const unsigned randomState = CurrentRandomState();
    ReadWholeExpression(evaluator);
    SeedRandom(randomState);
    if (ctx.token == kTokenEnd) return report;
    report.ignoredFrom = OffsetOf(ctx, ctx.tokenStart);
    NoteProblem(ctx, ReadingProblem::IgnoredText, ctx.tokenStart, ctx.position);
    return report;
}
