#include "expr/evaluate.h"

#include "expr/parser.h"
#include "expr/portable_math.h"
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
        NextToken(ctx); // the closing bracket, of any kind, or whatever stands there
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

bool EnterNesting(EvalContext& ctx) {
    if (++ctx.nestingDepth <= kMaxNestingDepth) return true;
    // Too deep: stop reading, so that every level above returns at once.
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
    NextToken(ctx); // the ":", or whatever stands there
    const double elseValue = ParseCondition(ctx);
    LeaveNesting(ctx);
    return GuardLiteral(left, IsTrue(left) ? thenValue : elseValue);
}

// primary -> number | literal | "(" condition any | ("-" | "+" | "!") primary | function
double ParsePrimary(EvalContext& ctx) {
    switch (ctx.token) {
    case kTokenNumber:
    case kTokenString: {
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
        if (!IsFunctionWord(ctx.token)) return ErrorValue; // no value starts here; the token stays
    }
    if (!EnterNesting(ctx)) return ErrorValue;
    const double value = ParseNestedPrimary(ctx);
    LeaveNesting(ctx);
    return value;
}

double EvaluateExpression(const char* text, const double* variables, int variableCount, int base) {
    if (!text) return ErrorValue;
    EvalContext ctx{};
    ctx.text = text;
    ctx.position = text;
    ctx.variables = variables;
    ctx.variableCount = variables ? variableCount : 0;
    ctx.base = base;
    NextToken(ctx);
    const double value = ParseCondition(ctx);
    // A literal's handle means nothing outside the expression.
    if (ctx.tooDeep || IsLiteralHandle(value)) return ErrorValue;
    return value;
}
