#include "expr/evaluate.h"

#include "expr/parser.h"
#include "expr/portable_math.h"
#include "expr/random.h"
#include "expr/reading.h"
#include "text/convert.h"

#include <cmath>
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

double Truth(bool value) {
    return value ? 1.0 : 0.0;
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

INLINE_LEVEL double ParseXor(EvalContext& ctx);
OUTLINE_LEVEL double ParseXorOperand(EvalContext& ctx);
INLINE_LEVEL double ParseAnd(EvalContext& ctx);
OUTLINE_LEVEL double ParseAndOperand(EvalContext& ctx);
INLINE_LEVEL double ParseBitOr(EvalContext& ctx);
OUTLINE_LEVEL double ParseBitOrOperand(EvalContext& ctx);
INLINE_LEVEL double ParseBitXor(EvalContext& ctx);
OUTLINE_LEVEL double ParseBitXorOperand(EvalContext& ctx);
INLINE_LEVEL double ParseBitAnd(EvalContext& ctx);
OUTLINE_LEVEL double ParseBitAndOperand(EvalContext& ctx);
INLINE_LEVEL double ParseEquality(EvalContext& ctx);
OUTLINE_LEVEL double ParseEqualityOperand(EvalContext& ctx);
INLINE_LEVEL double ParseRelation(EvalContext& ctx);
OUTLINE_LEVEL double ParseRelationOperand(EvalContext& ctx);
INLINE_LEVEL double ParseSum(EvalContext& ctx);
OUTLINE_LEVEL double ParseSumOperand(EvalContext& ctx);
INLINE_LEVEL double ParseProduct(EvalContext& ctx);
OUTLINE_LEVEL double ParseProductOperand(EvalContext& ctx);
INLINE_LEVEL double ParsePower(EvalContext& ctx);
OUTLINE_LEVEL double ParsePowerOperand(EvalContext& ctx);

// xor -> and { "xor" and }
INLINE_LEVEL double ParseXor(EvalContext& ctx) {
    double left = ParseAnd(ctx);
    while (ctx.token == kTokenXor) {
        NextToken(ctx);
        const double right = ParseAndOperand(ctx);
        left = GuardLiteral(left, right, Truth(IsTrue(left) != IsTrue(right)));
    }
    return left;
}

// and -> bitor { "and" bitor }
INLINE_LEVEL double ParseAnd(EvalContext& ctx) {
    double left = ParseBitOr(ctx);
    while (ctx.token == kTokenAnd) {
        NextToken(ctx);
        const double right = ParseBitOrOperand(ctx);
        left = GuardLiteral(left, right, Truth(IsTrue(left) && IsTrue(right)));
    }
    return left;
}

// bitor -> bitxor { "|" bitxor }
INLINE_LEVEL double ParseBitOr(EvalContext& ctx) {
    double left = ParseBitXor(ctx);
    while (ctx.token == '|') {
        NextToken(ctx);
        const double right = ParseBitXorOperand(ctx);
        const int32_t bits = TruncateToInt32(left) | TruncateToInt32(right);
        left = GuardLiteral(left, right, bits);
    }
    return left;
}

// bitxor -> bitand { "^|" bitand }
INLINE_LEVEL double ParseBitXor(EvalContext& ctx) {
    double left = ParseBitAnd(ctx);
    while (ctx.token == kTokenBitXor) {
        NextToken(ctx);
        const double right = ParseBitAndOperand(ctx);
        const int32_t bits = TruncateToInt32(left) ^ TruncateToInt32(right);
        left = GuardLiteral(left, right, bits);
    }
    return left;
}

// bitand -> equality { "&" equality }
INLINE_LEVEL double ParseBitAnd(EvalContext& ctx) {
    double left = ParseEquality(ctx);
    while (ctx.token == '&') {
        NextToken(ctx);
        const double right = ParseEqualityOperand(ctx);
        const int32_t bits = TruncateToInt32(left) & TruncateToInt32(right);
        left = GuardLiteral(left, right, bits);
    }
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

// A comparison of two string literals' texts; ErrorValue when a side is no
// literal or a literal lacks its closing quote.
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
    switch (op) {
    case kTokenEqual: return Truth(order == 0);
    case kTokenNotEqual: return Truth(order != 0);
    case '<': return Truth(order < 0);
    case '>': return Truth(order > 0);
    case kTokenLessEqual: return Truth(order <= 0);
    default: return Truth(order >= 0); // ">="
    }
}

double CompareNumbers(int32_t op, double left, double right) {
    switch (op) {
    case kTokenEqual: return Truth(left == right);
    case kTokenNotEqual:
    case kTokenContains: return Truth(!(left == right));
    case '<': return Truth(left < right);
    case '>': return Truth(left > right);
    case kTokenLessEqual: return Truth(left <= right);
    default: return Truth(left >= right); // ">="
    }
}

// Reads the right operand of a comparison with next and compares: on texts
// when that operand starts with a string literal, else on numbers.
double ParseComparison(EvalContext& ctx, double left, double (*next)(EvalContext&)) {
    const int32_t op = ctx.token;
    NextToken(ctx);
    const bool onTexts = ctx.token == kTokenString;
    const double right = next(ctx);
    if (onTexts) return CompareLiterals(ctx, op, left, right);
    return GuardLiteral(left, right, CompareNumbers(op, left, right));
}

// equality -> relation { ("==" | "=" | "!=" | "<>") relation }
INLINE_LEVEL double ParseEquality(EvalContext& ctx) {
    double left = ParseRelation(ctx);
    while (ctx.token == kTokenEqual || ctx.token == kTokenNotEqual || ctx.token == kTokenContains)
        left = ParseComparison(ctx, left, ParseRelationOperand);
    return left;
}

// relation -> sum { ("<" | ">" | "<=" | ">=") sum }
INLINE_LEVEL double ParseRelation(EvalContext& ctx) {
    double left = ParseSum(ctx);
    while (ctx.token == '<' || ctx.token == '>' || ctx.token == kTokenLessEqual ||
           ctx.token == kTokenGreaterEqual)
        left = ParseComparison(ctx, left, ParseSumOperand);
    return left;
}

// sum -> product { ("+" | "-") product }
INLINE_LEVEL double ParseSum(EvalContext& ctx) {
    double left = ParseProduct(ctx);
    while (ctx.token == '+' || ctx.token == '-') {
        const bool add = ctx.token == '+';
        NextToken(ctx);
        const double right = ParseProductOperand(ctx);
        left = GuardLiteral(left, right, add ? left + right : left - right);
    }
    return left;
}

// product -> power { ("*" | "/" | "%") power }
INLINE_LEVEL double ParseProduct(EvalContext& ctx) {
    double left = ParsePower(ctx);
    while (ctx.token == '*' || ctx.token == '/' || ctx.token == '%') {
        const int32_t op = ctx.token;
        NextToken(ctx);
        const double right = ParsePowerOperand(ctx);
        const double result =
            op == '*' ? left * right : (op == '/' ? left / right : std::fmod(left, right));
        left = GuardLiteral(left, right, result);
    }
    return left;
}

// power -> primary { "^" primary }
INLINE_LEVEL double ParsePower(EvalContext& ctx) {
    double left = ParsePrimary(ctx);
    while (ctx.token == '^') {
        NextToken(ctx);
        const double right = ParsePrimary(ctx);
        left = GuardLiteral(left, right, PortablePow(left, right));
    }
    return left;
}

double ParseXorOperand(EvalContext& ctx) {
    return ParseXor(ctx);
}
double ParseAndOperand(EvalContext& ctx) {
    return ParseAnd(ctx);
}
double ParseBitOrOperand(EvalContext& ctx) {
    return ParseBitOr(ctx);
}
double ParseBitXorOperand(EvalContext& ctx) {
    return ParseBitXor(ctx);
}
double ParseBitAndOperand(EvalContext& ctx) {
    return ParseBitAnd(ctx);
}
double ParseEqualityOperand(EvalContext& ctx) {
    return ParseEquality(ctx);
}
double ParseRelationOperand(EvalContext& ctx) {
    return ParseRelation(ctx);
}
double ParseSumOperand(EvalContext& ctx) {
    return ParseSum(ctx);
}
double ParseProductOperand(EvalContext& ctx) {
    return ParseProduct(ctx);
}
double ParsePowerOperand(EvalContext& ctx) {
    return ParsePower(ctx);
}

// A primary that needs one more level of nesting: brackets, prefix operators
// and functions.
double ParseNestedPrimary(EvalContext& ctx) {
    double value;
    switch (ctx.token) {
    case '(':
    case '[':
    case '{':
        NextToken(ctx);
        value = ParseCondition(ctx);
        TakePunctuation(ctx, ')'); // a closing bracket of any kind, or whatever stands there
        return value;
    case '-':
    case kTokenNeg:
        NextToken(ctx);
        value = ParsePrimary(ctx);
        return GuardLiteral(value, -value);
    case '+': NextToken(ctx); return ParsePrimary(ctx);
    case '!':
    case kTokenNot:
        NextToken(ctx);
        value = ParsePrimary(ctx);
        return GuardLiteral(value, Truth(value == 0));
    default: return ParseFunction(ctx);
    }
}

} // namespace

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
double ParseCondition(EvalContext& ctx) {
    double left = ParseXor(ctx);
    while (ctx.token == kTokenOr) {
        NextToken(ctx);
        const double right = ParseXorOperand(ctx);
        left = GuardLiteral(left, right, Truth(IsTrue(left) || IsTrue(right)));
    }
    if (ctx.token != '?') return left;
    if (!EnterNesting(ctx)) return ErrorValue;
    NextToken(ctx);
    const double thenValue = ParseCondition(ctx);
    TakePunctuation(ctx, ':'); // the ":", or whatever stands there
    const double elseValue = ParseCondition(ctx);
    LeaveNesting(ctx);
    return GuardLiteral(left, IsTrue(left) ? thenValue : elseValue);
}

// primary -> number | literal | "(" condition any | ("-" | "+" | "!") primary | function
double ParsePrimary(EvalContext& ctx) {
    switch (ctx.token) {
    case kTokenString:
        if (ctx.report) NoteLiteral(ctx);
        [[fallthrough]];
    case kTokenNumber: {
        const double value = ctx.tokenValue;
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
        if (!IsFunctionWord(ctx.token)) return MissingValue(ctx); // the token stays
    }
    if (!EnterNesting(ctx)) return ErrorValue;
    const double value = ParseNestedPrimary(ctx);
    LeaveNesting(ctx);
    return value;
}

namespace {

EvalContext StartReading(const char* text, const double* variables, int variableCount, int base) {
    EvalContext ctx{};
    ctx.text = text;
    ctx.position = text;
    ctx.variables = variables;
    ctx.variableCount = variables ? variableCount : 0;
    ctx.base = base;
    return ctx;
}

double ReadWholeExpression(EvalContext& ctx) {
    NextToken(ctx);
    const double value = ParseCondition(ctx);
    // A literal's handle means nothing outside the expression.
    if (ctx.tooDeep || IsLiteralHandle(value)) return ErrorValue;
    return value;
}

} // namespace

double EvaluateExpression(const char* text, const double* variables, int variableCount, int base) {
    if (!text) return ErrorValue;
    EvalContext ctx = StartReading(text, variables, variableCount, base);
    return ReadWholeExpression(ctx);
}

ReadingReport DiagnoseExpression(const char* text, const double* variables, int variableCount,
                                 int base) {
    ReadingReport report;
    if (!text) return report;
    EvalContext ctx = StartReading(text, variables, variableCount, base);
    ctx.report = &report;
    // The reading evaluates as it goes; "rand" must not draw for it.
    const unsigned randomState = CurrentRandomState();
    ReadWholeExpression(ctx);
    SeedRandom(randomState);
    if (ctx.token == kTokenEnd) return report;
    report.ignoredFrom = OffsetOf(ctx, ctx.tokenStart);
    NoteProblem(ctx, ReadingProblem::IgnoredText, ctx.tokenStart, ctx.position);
    return report;
}
