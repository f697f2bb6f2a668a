#include "expr/portable_math.h"

#include "expr_cases.h"
#include "text/convert.h"

#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct MathCase {
    const char* name;
    double value;
    double expected; // NaN: any NaN; zeros compared with their sign
};

void ExpectMath(const MathCase& c) {
    if (std::isnan(c.expected)) {
        EXPECT_TRUE(std::isnan(c.value)) << c.name << " gave " << c.value;
    } else {
        EXPECT_EQ(c.value, c.expected) << c.name;
        EXPECT_EQ(std::signbit(c.value), std::signbit(c.expected)) << c.name;
    }
}

TEST(PortableMath, ExactValuesAndLimits) {
    const MathCase cases[] = {
        {"sin 0", PortableSin(0), 0},
        {"sin -0", PortableSin(-0.0), -0.0},
        {"sin pi/2", PortableSin(kPi / 2), 1},
        {"sin pi", PortableSin(kPi), 1.2246467991473532e-16},
        {"cos 0", PortableCos(0), 1},
        {"cos pi", PortableCos(kPi), -1},
        {"tan 0", PortableTan(0), 0},
        {"sin inf", PortableSin(kInf), kNaN},
        {"cos nan", PortableCos(kNaN), kNaN},
        {"atan 1", PortableAtan(1), kPi / 4},
        {"atan -1", PortableAtan(-1), -kPi / 4},
        {"atan inf", PortableAtan(kInf), kPi / 2},
        {"atan -inf", PortableAtan(-kInf), -kPi / 2},
        {"atan -0", PortableAtan(-0.0), -0.0},
        {"asin 1", PortableAsin(1), kPi / 2},
        {"asin -1", PortableAsin(-1), -kPi / 2},
        {"asin 1.5", PortableAsin(1.5), kNaN},
        {"acos -1", PortableAcos(-1), kPi},
        {"acos 1", PortableAcos(1), 0},
        {"acos 0", PortableAcos(0), kPi / 2},
        {"acos 2", PortableAcos(2), kNaN},
        {"exp 0", PortableExp(0), 1},
        {"exp 1", PortableExp(1), 2.718281828459045},
        {"exp -inf", PortableExp(-kInf), 0},
        {"exp inf", PortableExp(kInf), kInf},
        {"exp 710", PortableExp(710), kInf},
        {"exp -746", PortableExp(-746), 0},
        {"exp -745", PortableExp(-745), 4.9406564584124654e-324},
        {"exp 709.78", PortableExp(709.78), 1.7928227943945155e308},
        {"ln 1", PortableLog(1), 0},
        {"ln e", PortableLog(2.718281828459045), 1},
        {"ln 0", PortableLog(0), -kInf},
        {"ln -1", PortableLog(-1), kNaN},
        {"ln inf", PortableLog(kInf), kInf},
        {"ln 2", PortableLog(2), 0.6931471805599453},
        {"ln smallest", PortableLog(4.9406564584124654e-324), -744.4400719213812},
        {"log 1000", PortableLog10(1000), 3},
        {"log 1e-5", PortableLog10(1e-5), -5},
        {"log 1e15", PortableLog10(1e15), 15},
        {"log 1e300", PortableLog10(1e300), 300},
        {"log 0", PortableLog10(0), -kInf},
        {"log 2", PortableLog10(2), 0.3010299956639812},
    };
    for (const MathCase& c : cases) ExpectMath(c);
}

TEST(PortableMath, PowerSpecialCasesAndExactResults) {
    const MathCase cases[] = {
        {"nan^0", PortablePow(kNaN, 0), 1},
        {"1^nan", PortablePow(1, kNaN), 1},
        {"2^nan", PortablePow(2, kNaN), kNaN},
        {"-8^(1/3)", PortablePow(-8, 1.0 / 3), kNaN},
        {"-2^3", PortablePow(-2, 3), -8},
        {"-2^4", PortablePow(-2, 4), 16},
        {"-2^-1", PortablePow(-2, -1), -0.5},
        {"0^-1", PortablePow(0, -1), kInf},
        {"-0^-1", PortablePow(-0.0, -1), -kInf},
        {"-0^-2", PortablePow(-0.0, -2), kInf},
        {"-0^3", PortablePow(-0.0, 3), -0.0},
        {"0^2.5", PortablePow(0, 2.5), 0},
        {"-inf^3", PortablePow(-kInf, 3), -kInf},
        {"-inf^-3", PortablePow(-kInf, -3), -0.0},
        {"-inf^2", PortablePow(-kInf, 2), kInf},
        {"inf^-0.5", PortablePow(kInf, -0.5), 0},
        {"0.5^inf", PortablePow(0.5, kInf), 0},
        {"0.5^-inf", PortablePow(0.5, -kInf), kInf},
        {"2^inf", PortablePow(2, kInf), kInf},
        {"-1^inf", PortablePow(-1, kInf), 1},
        {"-1^1e308", PortablePow(-1, 1e308), 1},
        {"-1^-1e308", PortablePow(-1, -1e308), 1},
        {"-1^(2^53-1)", PortablePow(-1, 9007199254740991.0), -1},
        {"-1^-3", PortablePow(-1, -3), -1},
        {"2^8", PortablePow(2, 8), 256},
        {"3^3", PortablePow(3, 3), 27},
        {"10^-2", PortablePow(10, -2), 0.01},
        {"10^15", PortablePow(10, 15), 1e15},
        {"10^22", PortablePow(10, 22), 1e22},
        {"10^-5", PortablePow(10, -5), 1e-5},
        {"2^0.5", PortablePow(2, 0.5), std::sqrt(2.0)},
        {"4^0.5", PortablePow(4, 0.5), 2},
        {"2^-1074", PortablePow(2, -1074), 4.9406564584124654e-324},
        {"2^-1075", PortablePow(2, -1075), 0},
        {"2^1023", PortablePow(2, 1023), 8.98846567431158e307},
        {"2^1024", PortablePow(2, 1024), kInf},
        {"1.0000001^1e10", PortablePow(1.0000001, 1e10), kInf},
        {"7^0.5^2", PortablePow(PortablePow(7, 0.5), 2), 7.000000000000001},
    };
    for (const MathCase& c : cases) ExpectMath(c);
}

// How many doubles lie between a and b (0 when equal).
uint64_t UlpsApart(double a, double b) {
    auto ordered = [](double v) {
        uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        return (bits >> 63) ? uint64_t{0x8000000000000000} - (bits & 0x7FFFFFFFFFFFFFFF)
                            : uint64_t{0x8000000000000000} + bits;
    };
    const uint64_t x = ordered(a), y = ordered(b);
    return x > y ? x - y : y - x;
}

// Far angles against the true values (worked out to thousands of digits and
// rounded once): a reduction by 2 pi rounded to a double would be wrong in
// the first digit for all but the smallest of them.
TEST(PortableMath, FarAnglesAreReducedByTheTruePi) {
    struct FarCase {
        const char* name;
        double x, sine, cosine, tangent;
    };
    const FarCase cases[] = {
        {"2^20", 1048576.0, 0.3304931400217347, 0.943808393901312, 0.350169740126609},
        {"1.5e6", 1500000.0, 0.5109987142462677, -0.8595814760909295, -0.5944738555443376},
        {"3e9", 3000000000.0, 0.9870048864743554, -0.16069024262768705, -6.14228263231394},
        {"1e15", 1e15, 0.8582727931702359, -0.5131937377869703, -1.672414782127583},
        {"1e16", 1e16, 0.7796880066069788, -0.6261681981330862, -1.2451734357184063},
        {"2^53-1", 9007199254740991.0, -0.013949324588032911, -0.9999027034384584,
         0.013950681941416972},
        {"1e22", 1e22, -0.8522008497671888, 0.523214785395139, -1.6287782256068988},
        {"-1e22", -1e22, 0.8522008497671888, 0.523214785395139, 1.6287782256068988},
        {"1e100", 1e100, -0.3806377310050287, 0.9247242387519338, -0.4116229628832498},
        {"1e300", 1e300, -0.8178819121159085, -0.5753861119575491, 1.4214488238747245},
        {"-1e300", -1e300, 0.8178819121159085, -0.5753861119575491, -1.4214488238747245},
        {"5*2^1000", 5.357543035931337e301, -0.716944875215704, 0.6971298630111455,
         -1.028423703037151},
        {"2^1023", 8.98846567431158e307, 0.563127779850884, -0.826369834614148,
         -0.6814476476066215},
        {"largest", 1.7976931348623157e308, 0.004961954789184062, -0.9999876894265599,
         -0.004962015874444895},
        // The double closest to a multiple of pi/2: the cosine is all cancellation.
        {"6381956970095103*2^797", 5.319372648326541e255, 1.0, -4.687165924254628e-19,
         -2.133485385753704e18},
    };
    for (const FarCase& c : cases) {
        EXPECT_LE(UlpsApart(PortableSin(c.x), c.sine), 1u) << "sin " << c.name;
        EXPECT_LE(UlpsApart(PortableCos(c.x), c.cosine), 1u) << "cos " << c.name;
        EXPECT_LE(UlpsApart(PortableTan(c.x), c.tangent), 1u) << "tan " << c.name;
    }
}

TEST(PortableMath, HugeAnglesStayInRange) {
    const double inputs[] = {1e15, 1e16, 1e100, 1.7976931348623157e308, -1e300};
    for (double x : inputs) {
        const double s = PortableSin(x), c = PortableCos(x);
        EXPECT_TRUE(s >= -1 && s <= 1) << x << " gave " << s;
        EXPECT_TRUE(c >= -1 && c <= 1) << x << " gave " << c;
        EXPECT_FALSE(std::isnan(PortableTan(x))) << x;
    }
}

TEST(PortableMath, OddAndEvenSymmetryIsExact) {
    const double inputs[] = {0.1, 0.5, 0.7853981633974483, 1, 2.5, 10, 123.456, 1e6, 3e9};
    for (double x : inputs) {
        EXPECT_EQ(PortableSin(-x), -PortableSin(x)) << x;
        EXPECT_EQ(PortableCos(-x), PortableCos(x)) << x;
        EXPECT_EQ(PortableTan(-x), -PortableTan(x)) << x;
        EXPECT_EQ(PortableAtan(-x), -PortableAtan(x)) << x;
        EXPECT_EQ(PortablePow(-x, 3), -PortablePow(x, 3)) << x;
    }
}

// Whole powers are multiplied out: against x^n worked out in long double
// (64 significant bits, which leaves the reference within about 2^-60 of the
// true value), each result is the true value rounded, to within 2^-58 of it.
TEST(PortableMath, WholePowersAreRoundedCorrectly) {
    std::vector<std::pair<double, int>> cases = {
        {3, 3},
        {-3, 3},
        {10, 15},
        {10, -5},
        {0.1, 3},
        {1.0000001, 64},
        {-1.5, 7},
        {2.5, -3},
        {1e-20, 3},
        {1e20, -3},
        {7.000000000000001, 2},
        {1e90, 3},
        {1e-89, 3},
        {123.456, -4},
        {0.3, 10},
        {-0.999999, -63},
        {5e-324, 3},
        {1e100, 3},
        {1e-100, -3},
        {2, 64},
        {-2, -64},
        {1.5, 50},
        {3.3, -17},
    };
    uint64_t state = 14;
    for (int i = 0; i < 20000; ++i) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        const double x = FromBits((state >> 12) | (uint64_t{1019 + (state >> 60)} << 52));
        const int n = static_cast<int>(state % 127) - 63;
        if (n < -1 || n > 1) cases.push_back({(i & 1) ? -x : x, n});
    }
    for (const auto& c : cases) {
        const double x = c.first;
        const int n = c.second;
        long double reference = 1, base = x;
        for (int k = n < 0 ? -n : n; k > 0; k >>= 1, base *= base)
            if (k & 1) reference *= base;
        if (n < 0) reference = 1 / reference;
        const double value = PortablePow(x, n);
        if (std::isinf(static_cast<double>(reference)) || reference == 0 ||
            std::fabs(reference) < 2.3e-308L) {
            EXPECT_EQ(value, static_cast<double>(reference)) << x << "^" << n;
            continue;
        }
        const long double ulp = std::nextafter(std::fabs(value), kInf) - std::fabs(value);
        const long double error = std::fabs(static_cast<long double>(value) - reference);
        EXPECT_LE(error, 0.5L * ulp + std::fabs(reference) * 0x1p-58L) << x << "^" << n;
    }
}

// Cubes through the processor's fused multiply-add have the bits of cubes
// through split halves, over the whole range where cubes are multiplied out
// (x^-3 included) and at its ends.
TEST(PortableMath, FusedCubesKeepTheirBits) {
    if (!UseFusedMultiplyAdd(true)) GTEST_SKIP() << "this processor has no fused multiply-add";
    std::vector<double> xs = {0x1p-299,
                              -0x1p-299,
                              std::nextafter(0x1p299, 0),
                              0x1p299,
                              std::nextafter(0x1p-299, 0),
                              0x1p300,
                              1,
                              3,
                              0.1,
                              -1.5,
                              1e90,
                              1e-89};
    uint64_t state = 7;
    for (int i = 0; i < 400000; ++i) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        const uint64_t exponent = 1023 - 299 + (state >> 32) % 599;
        xs.push_back(FromBits((state & 0x800FFFFFFFFFFFFFull) | exponent << 52));
    }
    std::vector<double> fused;
    for (double x : xs) fused.insert(fused.end(), {PortablePow(x, 3), PortablePow(x, -3)});
    UseFusedMultiplyAdd(false);
    for (size_t i = 0; i < xs.size(); ++i) {
        ASSERT_TRUE(SameBits(fused[2 * i], PortablePow(xs[i], 3))) << xs[i];
        ASSERT_TRUE(SameBits(fused[2 * i + 1], PortablePow(xs[i], -3))) << xs[i];
    }
    UseFusedMultiplyAdd(true);
}

// x^2 is x * x for every x, NaN bits, zeros and infinities included, and
// the whole-number tests on the exponent agree with the fmod they replace.
TEST(PortableMath, SquareAndExponentTestsKeepTheirBits) {
    std::vector<double> xs = {0.0,
                              -0.0,
                              1,
                              -1,
                              kInf,
                              -kInf,
                              kNaN,
                              ErrorValue,
                              FromBits(0x7FF0000000000001ull),
                              5e-324,
                              1.7976931348623157e308};
    std::vector<double> ys = {kInf,
                              -kInf,
                              kNaN,
                              0.5,
                              -0.5,
                              1e300,
                              -1e300,
                              2.5,
                              4503599627370495.5,
                              4503599627370497.0,
                              9007199254740991.0,
                              9007199254740992.0,
                              9007199254740994.0,
                              -9007199254740991.0,
                              65,
                              64.5};
    uint64_t state = 2;
    for (int i = 0; i < 5000; ++i) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        xs.push_back(FromBits(state));
        ys.push_back(FromBits((state >> 12) | (uint64_t{1023 + (state >> 58)} << 52)) *
                     ((i & 1) ? -1 : 1));
    }
    for (double x : xs) EXPECT_TRUE(SameBits(PortablePow(x, 2), x * x)) << x;
    for (double y : ys) {
        const double value = PortablePow(-1.5, y);
        if (std::isnan(y)) continue;
        const bool whole = std::fmod(y, 1.0) == 0;
        EXPECT_EQ(std::isnan(value), !whole && !std::isinf(y)) << y;
        if (whole) {
            EXPECT_EQ(std::signbit(value), std::fabs(std::fmod(y, 2.0)) == 1) << y;
        }
    }
}

} // namespace

namespace {

constexpr uint64_t kHashStart = 14695981039346656037ull;

// One result's eight bytes folded into the hash (FNV-1a).
uint64_t FoldBits(uint64_t hash, double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    for (int i = 0; i < 8; ++i) hash = (hash ^ ((bits >> (8 * i)) & 0xFF)) * 1099511628211ull;
    return hash;
}

// Folds the bits of many results into one number. The same value on Windows
// and Linux shows that both give bit-identical results; the constant was
// taken from this implementation, so a deliberate change of a function's
// rounding changes it too.
TEST(PortableMath, SameBitsOnEveryPlatform) {
    uint64_t hash = kHashStart;
    auto fold = [&hash](double v) { hash = FoldBits(hash, v); };
    for (int i = -2000; i <= 2000; ++i) {
        const double x = i * 0.0137 + i * i * 1e-5;
        fold(PortableSin(x));
        fold(PortableCos(x));
        fold(PortableTan(x));
        fold(PortableAtan(x));
        fold(PortableAsin(x / 2100));
        fold(PortableAcos(x / 2100));
        fold(PortableExp(x / 4));
        fold(PortableLog(std::fabs(x) + 1e-3));
        fold(PortableLog10(std::fabs(x) + 1e-3));
        fold(PortablePow(std::fabs(x) + 0.5, x / 300));
        fold(PortablePow(x, i % 7));
    }
    EXPECT_EQ(hash, 9606216657732102177ull);
}

// The same for far angles, one for every binary exponent from 2^20 up.
TEST(PortableMath, FarAnglesSameBitsOnEveryPlatform) {
    uint64_t hash = kHashStart;
    auto fold = [&hash](double v) { hash = FoldBits(hash, v); };
    uint64_t mantissa = 0x000F1E2D3C4B5A69ull;
    for (int exponent = 1023 + 20; exponent <= 2046; ++exponent) {
        mantissa = (mantissa * 6364136223846793005ull + 1442695040888963407ull) >> 12;
        const double x = FromBits((uint64_t(exponent) << 52) | mantissa);
        fold(PortableSin(x));
        fold(PortableCos(-x));
        fold(PortableTan(x));
    }
    EXPECT_EQ(hash, 3815577174138171514ull);
}

} // namespace
