#include "expr/double2.h"
#include "expr/expression_compiler.h"
#include "expr/parser.h"
#include "expr/random.h"
#include "text/convert.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// How many candidates the divisor search of GcdOf tries one by one for
// fractions before it turns to the divisors of their common measure.
constexpr int kMaxFractionSearch = 1024;

// How many sums of the larger argument LcmOf tries when they round; past
// them it gives NaN.
constexpr int kMaxLcmSteps = 100000;

bool IsWhole(double value) {
    return std::fmod(value, 1.0) == 0;
}

// Greatest common divisor of two positive whole numbers. The remainders are
// exact, so this also holds above 2^53, where every double is whole.
double Euclid(double a, double b) {
    while (b != 0) {
        const double rest = std::fmod(a, b);
        a = b;
        b = rest;
    }
    return a;
}

// 2^53: below it every whole number is a double and sums of them are exact.
constexpr double kExactLimit = 9007199254740992.0;
// GreatestFractionDivisor takes apart odd numbers up to this squared (2^36),
// in at most half this many remainders.
constexpr uint64_t kMaxDivisorTrial = 262144; // 2^18

// The significand of a finite non-zero x without its trailing zero bits: an
// odd whole number below 2^53.
double OddSignificand(double x) {
    uint64_t bits = BitsOf(x) & 0x000FFFFFFFFFFFFFull;
    if ((BitsOf(x) >> 52 & 0x7FF) != 0) bits |= uint64_t{1} << 52;
    while (bits != 0 && (bits & 1) == 0) bits >>= 1;
    return static_cast<double>(bits);
}

// The divisor search of GcdOf for a fraction start (> 1) and big >= start,
// carried out without trying every candidate. The candidates are start,
// start - 1, ... down to the first at or below 1. With 2^-t the lowest bit of
// start, a candidate d is D 2^-t for an odd D with D = S (mod 2^t), S = start
// 2^t; d divides both exactly when D divides the odd part of Euclid(big,
// start) 2^t. So the result is the greatest such D above 2^t, found from the
// divisor pairs of that odd part; failing one, the last candidate,
// fmod(start, 1). When the odd part is too large to take apart quickly, the
// last candidate is given as well.
double GreatestFractionDivisor(double big, double start) {
    double unit = 1; // 2^t
    while (!IsWhole(start * unit)) unit *= 2;
    const double last = std::fmod(start, 1.0);
    const double common = Euclid(big, start) * unit;
    if (!IsWhole(common)) return last;            // no candidate divides big exactly
    uint64_t odd = static_cast<uint64_t>(common); // below 2^53: common <= start 2^t
    while (odd % 2 == 0) odd /= 2;
    if (odd > kMaxDivisorTrial * kMaxDivisorTrial) return last;
    const uint64_t modulus = static_cast<uint64_t>(unit);
    const uint64_t residue = static_cast<uint64_t>(start * unit) % modulus;
    uint64_t best = 0;
    const auto consider = [&](uint64_t divisor) {
        if (divisor > modulus && divisor > best && divisor % modulus == residue) best = divisor;
    };
    for (uint64_t q = 1; q * q <= odd; q += 2) {
        if (odd % q != 0) continue;
        consider(q);
        consider(odd / q);
    }
    return best > 0 ? static_cast<double>(best) / unit : last;
}

} // namespace

double Factorial(double x) {
    double n = std::fabs(x);
    if (!IsWhole(n)) return ErrorValue; // fractions, infinities and NaN
    double product = 1;
    // Once the product is infinite it stays so; stopping there also ends the
    // loop for n of 2^53 and more, where n - 1 is n again.
    while (n > 1 && !std::isinf(product)) {
        product *= n;
        n -= 1;
    }
    return product;
}

double RoundToStep(double v, double s) {
    if (v < 0) {
        const double t = v - s * 0.5;
        return t + std::fmod(-t, s);
    }
    const double t = v + s * 0.5;
    return t - std::fmod(t, s);
}

int32_t RandomCount(double value) {
    int32_t count = TruncateToInt32(value);
    if (count == kInt32Invalid) return 0;
    if (count > kMaxRandomCount) return kMaxRandomCount;
    if (count < -kMaxRandomCount) return -kMaxRandomCount;
    return count;
}

namespace {

// fmod(r, span) for a draw r of 0 to 32767, without the library's division
// loop when the quotient is found at once: r - q span is then exact and in
// [0, span), which is what fmod gives; otherwise fmod decides.
double DrawRemainder(int r, double span) {
    if (!(span >= 1 && span < 2147483648.0)) return std::fmod(static_cast<double>(r), span);
    const int32_t q = TruncateToInt32(r / span);
    const Double2 p = TwoProduct(q, span);
    const double rest = (r - p.hi) - p.lo;
    if (rest >= 0 && rest < span) return rest;
    return std::fmod(static_cast<double>(r), span);
}

} // namespace

double DrawNearestOrFarthest(double low, double high, double step, double target, int32_t count) {
    const double a = low / step, b = high / step;
    const double bottom = a < b ? a : b;
    const double span = std::fabs(b - a) + 1;
    auto draw = [&] { return (DrawRemainder(DrawRandom(), span) + bottom) * step; };
    double best = draw();
    for (int32_t i = 0; i < count; ++i) {
        const double r = draw();
        if (std::fabs(r - target) < std::fabs(best - target)) best = r;
    }
    for (int32_t i = 0; i < -count; ++i) {
        const double r = draw();
        if (std::fabs(r - target) > std::fabs(best - target)) best = r;
    }
    return best;
}

double GcdOf(double a, double b) {
    if (a == 0 || b == 0) return 0;
    if (!std::isfinite(a) || !std::isfinite(b)) return kNaN;
    const double big = std::fabs(a > b ? a : b);
    const double start = std::fabs(a > b ? b : a);
    if (IsWhole(start)) {
        if (IsWhole(big)) return Euclid(big, start);
        return 1; // a whole divisor of a fraction is never exact; 1 ends the search
    }
    double d = start;
    for (int i = 0; i < kMaxFractionSearch; ++i, d -= 1) {
        if (d <= 1) return d;
        // start / d is small, so this remainder is cheap; the one of big is
        // taken only when it passes.
        if (std::fmod(start, d) == 0 && std::fmod(big, d) == 0) return d;
    }
    return GreatestFractionDivisor(big, start);
}

bool IsWholeMultiple(double m, double d) {
    if (m == 0) return true;
    if (!std::isfinite(m)) return false;
    // |x| = X 2^e with X odd: the significand's bits without their trailing
    // zeros, and the exponent of its lowest bit.
    const auto oddPart = [](double x, int* exponent) {
        const uint64_t bits = BitsOf(x);
        const int biased = static_cast<int>(bits >> 52 & 0x7FF);
        uint64_t odd = bits & 0x000FFFFFFFFFFFFFull;
        if (biased != 0) odd |= uint64_t{1} << 52;
        const int zeros = __builtin_ctzll(odd);
        *exponent = (biased != 0 ? biased : 1) - 1075 + zeros;
        return odd >> zeros;
    };
    // m / d = (M / D) 2^(b - a) with M and D odd: whole exactly when no
    // power of two is left below the line (b >= a) and D divides M.
    int a, b;
    const uint64_t divisor = oddPart(d, &a), multiple = oddPart(m, &b);
    return b >= a && multiple % divisor == 0;
}

double LcmOf(double a, double b) {
    if (a == 0 || b == 0) return 0;
    if (!std::isfinite(a) || !std::isfinite(b)) return kNaN;
    const double hi = a > b ? a : b;
    const double lo = a > b ? b : a;
    // Euclid's remainders are exact for fractions too: g is the largest
    // number of which both are whole multiples, and |lo| / g the fewest
    // steps of hi that reach a multiple of lo.
    const double steps = std::fabs(lo) / Euclid(std::fabs(hi), std::fabs(lo));
    // While each sum k hi up to that many steps fits in 53 bits, every sum of
    // the search is exact and the first that lo divides is the last of them:
    // the search's own value, without running it.
    const double exact = hi * steps;
    if (steps * OddSignificand(hi) < kExactLimit && std::isfinite(exact)) return exact;
    // Otherwise the sums round, and where they land decides: run the search.
    double m = hi;
    for (int i = 0; i < kMaxLcmSteps; ++i, m += hi)
        if (IsWholeMultiple(m, lo)) return m;
    return kNaN;
}

bool IsFunctionWord(int32_t token) {
    switch (token) {
    case kTokenSqrt:
    case kTokenInv:
    case kTokenAbs:
    case kTokenCos:
    case kTokenSin:
    case kTokenTan:
    case kTokenAcos:
    case kTokenAsin:
    case kTokenAtan:
    case kTokenLog:
    case kTokenLn:
    case kTokenExp:
    case kTokenInt:
    case kTokenFact:
    case kTokenSum:
    case kTokenProd:
    case kTokenAvg:
    case kTokenMin:
    case kTokenMax:
    case kTokenGcd:
    case kTokenLcm:
    case kTokenRnd:
    case kTokenRem:
    case kTokenMod:
    case kTokenPow:
    case kTokenCond:
    case kTokenRand: return true;
    default: return false;
    }
}

namespace {

template <class B>
using Value = typename B::Value;

// The reading of one bracketed argument list. The brackets and the separators
// between required arguments are consumed without being examined.
template <class B>
class ArgumentList {
  public:
    // The current token is the function word.
    explicit ArgumentList(B& b) : b_(b) {
        ++b_.ctx.argumentListDepth;
        NextToken(b_.ctx);            // the word
        TakePunctuation(b_.ctx, '('); // the opening bracket
    }
    ArgumentList(const ArgumentList&) = delete;
    ArgumentList& operator=(const ArgumentList&) = delete;

    Value<B> Read() {
        const Value<B> value = ParseCondition(b_);
        sawLiteral_ = sawLiteral_ || b_.IsLiteral(value);
        return value;
    }
    // A required argument after the one before: the token between them
    // stands for the comma.
    Value<B> ReadNext() {
        TakePunctuation(b_.ctx, ',');
        return Read();
    }
    bool TakeComma() {
        if (b_.ctx.token != ',') return false;
        NextToken(b_.ctx);
        return true;
    }
    // Consumes the closing bracket, read at the enclosing depth.
    Value<B> Close(Value<B> result) {
        --b_.ctx.argumentListDepth;
        TakePunctuation(b_.ctx, ')');
        return sawLiteral_ ? b_.Constant(ErrorValue) : result;
    }

  private:
    B& b_;
    bool sawLiteral_ = false;
};

// Reads one or more arguments and folds them from the left with op.
template <class B>
Value<B> FoldArguments(B& b, Operation op) {
    ArgumentList<B> list(b);
    Value<B> result = list.Read();
    while (list.TakeComma()) result = b.Apply(op, result, list.Read());
    return list.Close(result);
}

template <class B>
Value<B> ParseAverage(B& b) {
    ArgumentList<B> list(b);
    Value<B> sum = list.Read();
    double count = 1;
    while (list.TakeComma()) {
        sum = b.Apply(Operation::Add, sum, list.Read());
        count += 1;
    }
    return list.Close(b.Apply(Operation::Divide, sum, b.Constant(count)));
}

// rnd(value [, step]): the nearest multiple of |step| (default 1), halves away
// from zero.
template <class B>
Value<B> ParseRound(B& b) {
    ArgumentList<B> list(b);
    const Value<B> v = list.Read();
    const Value<B> s = list.TakeComma() ? b.Apply(Operation::Abs, list.Read()) : b.Constant(1.0);
    return list.Close(b.Apply(Operation::Round, v, s));
}

// Two arguments, as for rem, mod and pow.
template <class B>
Value<B> ParseTwoArguments(B& b, Operation op) {
    ArgumentList<B> list(b);
    const Value<B> a = list.Read();
    const Value<B> c = list.ReadNext();
    return list.Close(b.Apply(op, a, c));
}

template <class B>
Value<B> ParseConditional(B& b) {
    ArgumentList<B> list(b);
    const Value<B> condition = list.Read();
    const Value<B> thenValue = list.ReadNext();
    const Value<B> elseValue = list.ReadNext();
    return list.Close(b.Select(condition, thenValue, elseValue));
}

// rand(low, high [, step [, target, count]]). With only four arguments the
// count is 0: the closing bracket is not taken for the separator.
template <class B>
Value<B> ParseRandom(B& b) {
    ArgumentList<B> list(b);
    const Value<B> low = list.Read();
    const Value<B> high = list.ReadNext();
    Value<B> step = b.Constant(1), target = b.Constant(0), count = b.Constant(0);
    if (list.TakeComma()) {
        step = list.Read();
        if (list.TakeComma()) {
            target = list.Read();
            if (list.TakeComma()) count = list.Read();
        }
    }
    return list.Close(b.Random(low, high, step, target, count));
}

template <class B>
Value<B> ParsePrefixFunction(B& b, Operation op) {
    NextToken(b.ctx);
    const Value<B> x = ParsePrimary(b);
    return GuardLiteral(b, x, b.Apply(op, x));
}

} // namespace

template <class B>
Value<B> ParseFunction(B& b) {
    switch (b.ctx.token) {
    case kTokenSqrt: return ParsePrefixFunction(b, Operation::Sqrt);
    case kTokenInv: return ParsePrefixFunction(b, Operation::Inverse);
    case kTokenAbs: return ParsePrefixFunction(b, Operation::Abs);
    case kTokenCos: return ParsePrefixFunction(b, Operation::Cos);
    case kTokenSin: return ParsePrefixFunction(b, Operation::Sin);
    case kTokenTan: return ParsePrefixFunction(b, Operation::Tan);
    case kTokenAcos: return ParsePrefixFunction(b, Operation::Acos);
    case kTokenAsin: return ParsePrefixFunction(b, Operation::Asin);
    case kTokenAtan: return ParsePrefixFunction(b, Operation::Atan);
    case kTokenLog: return ParsePrefixFunction(b, Operation::Log10);
    case kTokenLn: return ParsePrefixFunction(b, Operation::Ln);
    case kTokenExp: return ParsePrefixFunction(b, Operation::Exp);
    case kTokenInt: return ParsePrefixFunction(b, Operation::Int);
    case kTokenFact: return ParsePrefixFunction(b, Operation::Fact);
    case kTokenSum: return FoldArguments(b, Operation::Add);
    case kTokenProd: return FoldArguments(b, Operation::Multiply);
    case kTokenAvg: return ParseAverage(b);
    case kTokenMin: return FoldArguments(b, Operation::Minimum);
    case kTokenMax: return FoldArguments(b, Operation::Maximum);
    case kTokenGcd: return FoldArguments(b, Operation::Gcd);
    case kTokenLcm: return FoldArguments(b, Operation::Lcm);
    case kTokenRnd: return ParseRound(b);
    case kTokenRem:
    case kTokenMod: return ParseTwoArguments(b, Operation::Remainder);
    case kTokenPow: return ParseTwoArguments(b, Operation::Power);
    case kTokenCond: return ParseConditional(b);
    case kTokenRand: return ParseRandom(b);
    default: return b.Constant(ErrorValue); // not reached: IsFunctionWord said it is one
    }
}

template double ParseFunction(Evaluator&);
template ExpressionCompiler::Value ParseFunction(ExpressionCompiler&);
