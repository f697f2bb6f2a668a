#include "expr/double2.h"
#include "expr/parser.h"
#include "expr/portable_math.h"
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

double ApplyPrefixFunction(int32_t word, double x) {
    switch (word) {
    case kTokenSqrt: return std::sqrt(x);
    case kTokenInv: return 1 / x;
    case kTokenAbs: return std::fabs(x);
    case kTokenCos: return PortableCos(x);
    case kTokenSin: return PortableSin(x);
    case kTokenTan: return PortableTan(x);
    case kTokenAcos: return PortableAcos(x);
    case kTokenAsin: return PortableAsin(x);
    case kTokenAtan: return PortableAtan(x);
    case kTokenLog: return PortableLog10(x);
    case kTokenLn: return PortableLog(x);
    case kTokenExp: return PortableExp(x);
    case kTokenInt: return TruncateToInt32(x);
    default: return Factorial(x); // "fact"
    }
}

// The reading of one bracketed argument list. The brackets and the separators
// between required arguments are consumed without being examined.
class ArgumentList {
  public:
    // The current token is the function word.
    explicit ArgumentList(EvalContext& ctx) : ctx_(ctx) {
        ++ctx_.argumentListDepth;
        NextToken(ctx_);            // the word
        TakePunctuation(ctx_, '('); // the opening bracket
    }
    ArgumentList(const ArgumentList&) = delete;
    ArgumentList& operator=(const ArgumentList&) = delete;

    double Read() {
        const double value = ParseCondition(ctx_);
        sawLiteral_ = sawLiteral_ || IsLiteralHandle(value);
        return value;
    }
    void SkipSeparator() { TakePunctuation(ctx_, ','); }
    bool TakeComma() {
        if (ctx_.token != ',') return false;
        NextToken(ctx_);
        return true;
    }
    // Consumes the closing bracket, read at the enclosing depth.
    double Close(double result) {
        --ctx_.argumentListDepth;
        TakePunctuation(ctx_, ')');
        return sawLiteral_ ? ErrorValue : result;
    }

  private:
    EvalContext& ctx_;
    bool sawLiteral_ = false;
};

// Reads one or more arguments and folds them from the left with combine.
template <class Combine>
double FoldArguments(EvalContext& ctx, Combine combine) {
    ArgumentList list(ctx);
    double result = list.Read();
    while (list.TakeComma()) result = combine(result, list.Read());
    return list.Close(result);
}

double ParseAverage(EvalContext& ctx) {
    ArgumentList list(ctx);
    double sum = list.Read();
    double count = 1;
    while (list.TakeComma()) {
        sum += list.Read();
        count += 1;
    }
    return list.Close(sum / count);
}

// rnd(value [, step]): the nearest multiple of |step| (default 1), halves away
// from zero.
double ParseRound(EvalContext& ctx) {
    ArgumentList list(ctx);
    const double v = list.Read();
    const double s = list.TakeComma() ? std::fabs(list.Read()) : 1.0;
    double result;
    if (v < 0) {
        const double t = v - s * 0.5;
        result = t + std::fmod(-t, s);
    } else {
        const double t = v + s * 0.5;
        result = t - std::fmod(t, s);
    }
    return list.Close(result);
}

template <class Apply>
double ParseTwoArguments(EvalContext& ctx, Apply apply) {
    ArgumentList list(ctx);
    const double a = list.Read();
    list.SkipSeparator();
    const double b = list.Read();
    return list.Close(apply(a, b));
}

double ParseConditional(EvalContext& ctx) {
    ArgumentList list(ctx);
    const double condition = list.Read();
    list.SkipSeparator();
    const double thenValue = list.Read();
    list.SkipSeparator();
    const double elseValue = list.Read();
    return list.Close(IsTrue(condition) ? thenValue : elseValue);
}

// The count of extra draws: NaN and values outside the signed 32-bit range
// give 0, and the magnitude is cut to kMaxRandomCount.
int32_t RandomCount(double value) {
    int32_t count = TruncateToInt32(value);
    if (count == kInt32Invalid) return 0;
    if (count > kMaxRandomCount) return kMaxRandomCount;
    if (count < -kMaxRandomCount) return -kMaxRandomCount;
    return count;
}

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

// rand(low, high [, step [, target, count]]). With only four arguments the
// count is 0: the closing bracket is not taken for the separator.
double ParseRandom(EvalContext& ctx) {
    ArgumentList list(ctx);
    const double low = list.Read();
    list.SkipSeparator();
    const double high = list.Read();
    double step = 1, target = 0;
    int32_t count = 0;
    if (list.TakeComma()) {
        step = list.Read();
        if (list.TakeComma()) {
            target = list.Read();
            if (list.TakeComma()) count = RandomCount(list.Read());
        }
    }
    return list.Close(DrawNearestOrFarthest(low, high, step, target, count));
}

double ParsePrefixFunction(EvalContext& ctx) {
    const int32_t word = ctx.token;
    NextToken(ctx);
    const double x = ParsePrimary(ctx);
    return GuardLiteral(x, ApplyPrefixFunction(word, x));
}

} // namespace

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
        if (std::fmod(m, lo) == 0) return m;
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

double ParseFunction(EvalContext& ctx) {
    switch (ctx.token) {
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
    case kTokenFact: return ParsePrefixFunction(ctx);
    case kTokenSum: return FoldArguments(ctx, [](double s, double v) { return s + v; });
    case kTokenProd: return FoldArguments(ctx, [](double p, double v) { return p * v; });
    case kTokenAvg: return ParseAverage(ctx);
    case kTokenMin: return FoldArguments(ctx, [](double m, double v) { return m < v ? m : v; });
    case kTokenMax: return FoldArguments(ctx, [](double m, double v) { return m > v ? m : v; });
    case kTokenGcd: return FoldArguments(ctx, GcdOf);
    case kTokenLcm: return FoldArguments(ctx, LcmOf);
    case kTokenRnd: return ParseRound(ctx);
    case kTokenRem:
    case kTokenMod:
        return ParseTwoArguments(ctx, [](double a, double b) { return std::fmod(a, b); });
    case kTokenPow:
        return ParseTwoArguments(ctx, [](double a, double b) { return PortablePow(a, b); });
    case kTokenCond: return ParseConditional(ctx);
    case kTokenRand: return ParseRandom(ctx);
    default: return ErrorValue; // not reached: IsFunctionWord said it is one
    }
}
