#include "expr/parser.h"
#include "expr/random.h"
#include "expr/tick_count.h"

#include "expr_cases.h"
#include "graph/graph_test_support.h"
#include "lcm_by_steps.h"
#include "text/convert.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <set>
#include <utility>
#include <vector>

namespace {

const double kPi = 3.141592653589793;

TEST(EvaluateFunctions, PrefixFunctions) {
    const ExprCase cases[] = {
        {"sqrt 16", 10, 4},
        {"sqrt(-1)", 10, kAnyNaN},
        {"inv 4", 10, 0.25},
        {"inv 0", 10, kInf},
        {"abs -3", 10, 3},
        {"neg 3", 10, -3},
        {"log 1000", 10, 3},
        {"log 0", 10, -kInf},
        {"ln 1", 10, 0},
        {"ln 0", 10, -kInf},
        {"exp 0", 10, 1},
        {"cos 0", 10, 1},
        {"sin(pi/2)", 10, 1},
        {"4*atan 1", 10, kPi},
        {"acos 2", 10, kAnyNaN},
        {"asin 1", 10, kPi / 2},
        {"tan 0", 10, 0},
        {"sin[0]", 10, 0},
        {"int 3.9", 10, 3},
        {"int -3.9", 10, -3},
        {"int 1/0", 10, kInf},
        {"int (1/0)", 10, -2147483648},
        {"int 3e", 16, 62},
        {"int 2147483648", 10, -2147483648},
        {"fact 5", 10, 120},
        {"fact -5", 10, 120},
        {"fact 0", 10, 1},
        {"fact 1", 10, 1},
        {"fact 2.5", 10, ErrorValue},
        {"fact 170", 10, 7.257415615308004e306},
        {"fact 171", 10, kInf},
        {"fact 20", 10, 2432902008176640000.0},
        {"fact 1e", 16, 2.652528598121911e32},
        {"fact(10^300)", 10, kInf},
        {"fact 9007199254740993", 10, kInf},
        {"fact(1/0)", 10, ErrorValue},
        {"fact (0/0)", 10, ErrorValue},
        {"sqrt sqrt 16", 10, 2},
        {"sqrt", 10, ErrorValue},
        {"abs", 10, kAnyNaN},
    };
    ExpectCases(cases);
}

TEST(EvaluateFunctions, ListReductions) {
    const ExprCase cases[] = {
        {"sum(1,2,3)", 10, 6},       {"prod(2,3,4)", 10, 24},   {"avg(1,2,3,4)", 10, 2.5},
        {"ave[5]", 10, 5},           {"min(3,1,2)", 10, 1},     {"max(3,1,2)", 10, 3},
        {"min(1,0/0)", 10, kAnyNaN}, {"min(0/0,1)", 10, 1},     {"min(1,0/0,2)", 10, 2},
        {"max(1,0/0)", 10, kAnyNaN}, {"max(0/0,1)", 10, 1},     {"sum(max(1,2),3,4)", 10, 9},
        {"sum(1,000)", 10, 1},       {"sum{1;2}", 10, 1},       {"sum(1,2", 10, 3},
        {"sum(1,2)*2", 10, 6},       {"sum(1,(2,3))", 10, 3},   {"sum(1,2),3", 10, 3},
        {"pow(2)", 10, kAnyNaN},     {"sum()", 10, ErrorValue}, {"sum", 10, ErrorValue},
    };
    ExpectCases(cases);
}

TEST(EvaluateFunctions, GcdLcmAndRounding) {
    const ExprCase cases[] = {
        {"gcd(12,18)", 10, 6},       {"gcd(-12,8)", 10, 4},     {"gcd(0,5)", 10, 0},
        {"gcd(12,18,8)", 10, 2},     {"gcd(2.5,5)", 10, 2.5},   {"gcd(1.5,2.5)", 10, 0.5},
        {"gcd(7)", 10, 7},           {"gcd(5,7.5)", 10, 1},     {"gcd(17,13)", 10, 1},
        {"lcm(4,6)", 10, 12},        {"lcm(4,6,10)", 10, 60},   {"lcm(0,3)", 10, 0},
        {"lcm(-4,6)", 10, 12},       {"lcm(-4,-6)", 10, -12},   {"lcm(1.5,2.5)", 10, 7.5},
        {"lcm(2.5,1)", 10, 5},       {"lcm(3,1.5)", 10, 3},     {"lcm(24,8871.6)", 10, 1242024},
        {"lcm(2.5,3.36)", 10, 4620}, {"lcm(1,1.1)", 3, 4},      {"rnd(2.5)", 10, 3},
        {"rnd(-2.5)", 10, -3},       {"rnd(2.4)", 10, 2},       {"rnd(-2.4)", 10, -2},
        {"rnd(1.3,0.25)", 10, 1.25}, {"rnd(7,5)", 10, 5},       {"rnd(7.5,5)", 10, 10},
        {"rnd(7,-5)", 10, 5},        {"rnd(3,0)", 10, kAnyNaN}, {"rem(7,3)", 10, 1},
        {"mod(-7,3)", 10, -1},       {"pow(2,8)", 10, 256},     {"2^8", 10, 256},
        {"rem(7;3)", 10, 1},         {"cond(1,10,20)", 10, 10}, {"ifte(0,10,20)", 10, 20},
        {"cond(0/0,10,20)", 10, 10},
    };
    ExpectCases(cases);
}

TEST(GcdOf, EndsOnEveryInput) {
    const double big = 9007199254740992.0; // 2^53
    const struct {
        double a, b, expected;
    } cases[] = {
        {kInf, 5, kAnyNaN},
        {5, -kInf, kAnyNaN},
        {kAnyNaN, 3, kAnyNaN},
        {0, kAnyNaN, 0},
        {big * 4, big * 6, big * 2},
        {1e300, 1e300, 1e300},
        {big * 3, 3, 3},
        {1234567.5, 7654321.5, 1.5},        // 823045 and 5102881 times 1.5
        {123456789.25, 987654321.25, 0.25}, // no candidate above 1 divides both
        {4501.5, 7502.5, 1500.5},           // 3001 candidates below the first
        {-10503.5, 16505.5, 1500.5},        // 7 and 11 times 1500.5
        {2.5, 5.25, 0.5},                   // 5.25 has finer bits: the last candidate
    };
    for (const auto& c : cases) {
        const double g = GcdOf(c.a, c.b);
        if (std::isnan(c.expected))
            EXPECT_TRUE(std::isnan(g)) << c.a << " " << c.b;
        else
            EXPECT_EQ(g, c.expected) << c.a << " " << c.b;
    }
}

// The divisor search written out one step at a time, for inputs where it
// ends soon enough to run in a test.
double GcdBySearch(double a, double b) {
    if (a == 0 || b == 0) return 0;
    const double big = std::fabs(a > b ? a : b), start = std::fabs(a > b ? b : a);
    for (double d = start;; d -= 1)
        if (d <= 1 || (std::fmod(big, d) == 0 && std::fmod(start, d) == 0)) return d;
}

TEST(GcdLcm, FractionsGiveWhatTheSearchesGive) {
    std::vector<std::pair<double, double>> pairs;
    // Multiples of a common fraction, whose greatest divisor lies far below
    // the smaller one, and pairs of plain fractions of a few bits.
    const double commons[] = {1500.5, 2.25, 33.125, 7.75, 1.5, 100.5};
    const int factors[][2] = {{7, 11}, {3, 5}, {9, 4}, {13, 1}, {1, 1}, {15, 21}};
    for (double c : commons)
        for (const auto& f : factors) pairs.push_back({c * f[0], -c * f[1]});
    uint32_t state = 12345;
    auto next = [&state](int range) {
        state = state * 1103515245u + 12345u;
        return static_cast<int>((state >> 8) % static_cast<uint32_t>(range));
    };
    for (int i = 0; i < 200; ++i) {
        const double scale = 1.0 / (1 << (1 + next(3))); // halves, quarters, eighths
        pairs.push_back({(next(20000) + 1) * scale, (next(20000) + 1) * scale});
    }
    int compared = 0;
    for (const auto& [a, b] : pairs) {
        EXPECT_EQ(GcdOf(a, b), GcdBySearch(a, b)) << "gcd " << a << " " << b;
        // Wherever the multiple search ends within its bound.
        const double bySearch = LcmBySteps(a, b, kLcmStepBound);
        if (!std::isnan(bySearch)) {
            ++compared;
            EXPECT_EQ(LcmOf(a, b), bySearch) << "lcm " << a << " " << b;
        }
    }
    EXPECT_GT(compared, 100);
    // Fractions that no double holds exactly: the sums round, and the first
    // rounded sum that the other divides is the result.
    const struct {
        double a, b, expected;
    } rounded[] = {
        {1024.5, 512.5, 1050112.5}, // 1025 exact steps of 1024.5
        {-1024.5, -512.5, -1050112.5},
        {24, 8871.6, 1242024},          // 140 sums
        {2.5, 3.36, 4620},              // 1375 sums
        {1, 4.0 / 3, 4},                // 1.1 in base 3
        {2.2, 3.3, 26.400000000000002}, // 6.6 is no exact multiple of the 2.2 read
        {0.2, 0.1, 0.2},
        {12.34, 5.6, kAnyNaN}, // no multiple within the bound
        {-3.36, -2.5, kAnyNaN},
    };
    for (const auto& c : rounded) {
        const double m = LcmOf(c.a, c.b), bySteps = LcmBySteps(c.a, c.b, kLcmStepBound);
        if (std::isnan(c.expected)) {
            EXPECT_TRUE(std::isnan(m) && std::isnan(bySteps)) << c.a << " " << c.b;
        } else {
            EXPECT_EQ(m, c.expected) << c.a << " " << c.b;
            EXPECT_EQ(bySteps, c.expected) << c.a << " " << c.b;
        }
    }
}

TEST(LcmOf, EndsOnEveryInput) {
    const double big = 9007199254740992.0;
    const struct {
        double a, b, expected;
    } cases[] = {
        {kInf, 3, kAnyNaN},     {3, -kInf, kAnyNaN},
        {kAnyNaN, 2, kAnyNaN},  {0, kInf, 0},
        {0.1, 0.3, kAnyNaN}, // no sum of 0.3 is ever an exact multiple of 0.1
        {big, 3, big * 3},      {1e300, 1e300, 1e300},
        {1e300, 47.1, kAnyNaN}, {1e-300, 1e300, kAnyNaN},
    };
    for (const auto& c : cases) {
        const double m = LcmOf(c.a, c.b);
        if (std::isnan(c.expected))
            EXPECT_TRUE(std::isnan(m)) << c.a << " " << c.b;
        else
            EXPECT_EQ(m, c.expected) << c.a << " " << c.b;
    }
}

// The significands' test of a whole multiple against the remainder it
// replaces: random pairs over every exponent, subnormals and signs, and many
// exact multiples, so that both answers occur often.
TEST(LcmOf, WholeMultipleTestAgreesWithTheRemainder) {
    std::vector<std::pair<double, double>> pairs = {{0.0, 3},
                                                    {-0.0, 0.1},
                                                    {kInf, 3},
                                                    {-kInf, 5e-324},
                                                    {5e-324, 5e-324},
                                                    {1e-320, 5e-324},
                                                    {5 * 0x1p-1024, 0x1p-1023},
                                                    {5e-324, 1e-320},
                                                    {1.7976931348623157e308, 0.5},
                                                    {1e300, 47.1},
                                                    {6, 1.5},
                                                    {6, -4}};
    uint64_t state = 99;
    auto next = [&state] {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return state;
    };
    auto randomDouble = [&next] {
        const uint64_t bits = next();
        // Exponents spread over the whole range, small significands often.
        const uint64_t significand = (bits & 3) == 0 ? (bits >> 20 & 0xFF) << 44 : bits >> 12;
        return FromBits((bits & 0x8000000000000000ull) | ((bits >> 2) % 2047) << 52 | significand);
    };
    for (int i = 0; i < 200000; ++i) {
        const double d = randomDouble();
        if (d == 0) continue;
        pairs.push_back({randomDouble(), d});
        pairs.push_back({d * static_cast<double>(next() % 1000 + 1), d});
        pairs.push_back({d * static_cast<double>(next() % 1000 + 1), -d / 8});
    }
    int multiples = 0;
    for (const auto& [m, d] : pairs) {
        const bool byRemainder = std::fmod(m, d) == 0;
        multiples += byRemainder;
        ASSERT_EQ(IsWholeMultiple(m, d), byRemainder) << m << " " << d;
    }
    EXPECT_GT(multiples, 10000);
}

TEST(Random, SequenceIsTheSameEverywhere) {
    SeedRandom(1);
    // The linear congruential generator 214013 x + 2531011, bits 16 to 30.
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
    for (int e : expected) EXPECT_EQ(DrawRandom(), e);
    SeedRandom(12345);
    const int first = DrawRandom();
    SeedRandom(12345);
    EXPECT_EQ(DrawRandom(), first);
}

TEST(TickCount, AdvancesByMillisecondsNotWildly) {
    const uint32_t first = TickCount();
    SpinForMilliseconds(100);
    // Unsigned difference: correct across the wrap at 2^32. The system tick
    // may lag by one period of its timer (about 16 ms).
    const uint32_t elapsed = TickCount() - first;
    EXPECT_GE(elapsed, 80u);
    EXPECT_LT(elapsed, 1000u);
}

TEST(Random, DrawsStayInTheirRange) {
    SeedRandom(7);
    std::set<double> seen;
    for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(EvaluateExpression("rand(5,5)", nullptr, 0, 10), 5);
        const double bit = EvaluateExpression("rand(0,1)", nullptr, 0, 10);
        EXPECT_TRUE(bit == 0 || bit == 1) << bit;
        const double r = EvaluateExpression("rand(10,0)", nullptr, 0, 10);
        EXPECT_TRUE(r >= 0 && r <= 10 && r == std::floor(r)) << r;
        seen.insert(r);
        const double stepped = EvaluateExpression("rand(-1,1,0.5)", nullptr, 0, 10);
        EXPECT_TRUE(stepped == -1 || stepped == -0.5 || stepped == 0 || stepped == 0.5 ||
                    stepped == 1)
            << stepped;
    }
    EXPECT_EQ(seen.size(), 11u); // every value of 0 to 10 is reached
}

// The result of a rand with a count against the same draws made by hand.
double Nearest(int seed, int count, double target, bool farthest) {
    SeedRandom(seed);
    double best = DrawRandom() % 101;
    for (int i = 0; i < count; ++i) {
        const double r = DrawRandom() % 101;
        const bool better = farthest ? std::fabs(r - target) > std::fabs(best - target)
                                     : std::fabs(r - target) < std::fabs(best - target);
        if (better) best = r;
    }
    return best;
}

// Evaluates text right after seeding the generator with seed.
double EvaluateSeeded(int seed, const char* text) {
    return EvaluateBothWays(text, nullptr, 0, 10, seed);
}

TEST(Random, CountPicksNearestOrFarthest) {
    double result = EvaluateSeeded(3, "rand(0,100,1,50,10)");
    EXPECT_EQ(result, Nearest(3, 10, 50, false));
    result = EvaluateSeeded(3, "rand(0,100,1,50,-10)");
    EXPECT_EQ(result, Nearest(3, 10, 50, true));
    // Four arguments, a NaN count and a count beyond 32 bits: no extra draws.
    const char* noCount[] = {"rand(0,100,1,50)", "rand(0,100,1,50,0/0)", "rand(0,100,1,50,9^99)",
                             "rand(0,100,1,50,-9^99)"};
    for (const char* text : noCount) {
        result = EvaluateSeeded(3, text);
        const int next = DrawRandom();
        EXPECT_EQ(result, Nearest(3, 0, 50, false)) << text;
        SeedRandom(3);
        DrawRandom();
        EXPECT_EQ(next, DrawRandom()) << text;
    }
    // A huge count is cut to kMaxRandomCount extra draws.
    result = EvaluateSeeded(3, "rand(0,100,1,50,2000000000)");
    const int next = DrawRandom();
    EXPECT_EQ(result, Nearest(3, kMaxRandomCount, 50, false));
    SeedRandom(3);
    for (int i = 0; i <= kMaxRandomCount; ++i) DrawRandom();
    EXPECT_EQ(next, DrawRandom());
}

TEST(Random, FourArgumentsLeaveTheFollowingTextAlone) {
    SeedRandom(9);
    const double plain = EvaluateExpression("rand(5,5,1,0)", nullptr, 0, 10);
    EXPECT_EQ(plain, 5);
    EXPECT_EQ(EvaluateExpression("rand(5,5,1,0) + 3", nullptr, 0, 10), 8);
}

} // namespace

namespace {

TEST(Random, FractionalSpanDrawsMatchTheRemainder) {
    // A step that does not divide the range leaves a span with a fraction;
    // the remainder of each draw must be fmod's exactly.
    const double a = 0.99 / 0.0001, b = 1.01 / 0.0001;
    const double span = std::fabs(b - a) + 1;
    for (int seed = 0; seed < 300; ++seed) {
        const double value = EvaluateSeeded(seed, "rand(0.99,1.01,0.0001)");
        SeedRandom(seed);
        const double expected = (std::fmod(DrawRandom(), span) + a) * 0.0001;
        EXPECT_EQ(value, expected) << seed;
    }
}

} // namespace
