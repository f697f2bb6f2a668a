#include "expr/portable_math.h"

#include "expr/double2.h"

#include "text/convert.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <limits>

// Intermediate results are carried as unevaluated sums of two doubles (hi + lo)
// where a single double would lose the last bits; only exact IEEE operations
// are used, so every platform rounds the same way. Range reduction of sin, cos
// and tan is exact enough for every finite double: far angles are reduced with
// the binary digits of 2/pi in whole-number arithmetic.

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// ln 2 with its high part cut to 42 bits, so that k * kLn2Hi is exact for every
// binary exponent k.
constexpr double kLn2Hi = 0.6931471805598903;
constexpr double kLn2Lo = 5.497923018708371e-14;
constexpr double kInvLn2 = 1.4426950408889634;
constexpr double kInvLn10Hi = 0.4342944819032518;
constexpr double kInvLn10Lo = 1.098319650216765e-17;
// pi/2 in three parts, the first two of 33 bits.
constexpr double kPio2Part1 = 1.5707963267341256;
constexpr double kPio2Part2 = 6.077100506303966e-11;
constexpr double kPio2Part3 = 2.0222662487959506e-21;
constexpr double kTwoOverPi = 0.6366197723675814;
constexpr double kPio2Hi = 1.5707963267948966, kPio2Lo = 6.123233995736766e-17;
constexpr double kPio4 = 0.7853981633974483;
// From here on x is reduced with the digits of 2/pi; below it k stays under
// 2^20, where the three-part pi/2 is exact enough.
constexpr double kFarAngle = 1048576.0; // 2^20
// 2^-27: below it sin, tan, asin and atan of x round to x itself.
constexpr double kTiny = 1.0 / 134217728;

// x * 2^k, rounded once.
double ScaleByPowerOfTwo(double x, int k) {
    while (k > 1000) {
        x *= FromBits(uint64_t{1023 + 1000} << 52);
        k -= 1000;
    }
    while (k < -1000) {
        x *= FromBits(uint64_t{1023 - 1000} << 52);
        k += 1000;
    }
    return x * FromBits(static_cast<uint64_t>(1023 + k) << 52);
}

// Natural logarithm of a positive finite x, to about 2^-60 relative.
Double2 LogExtended(double x) {
    int exponent = 0;
    if (x < 2.2250738585072014e-308) { // subnormal: make it normal first
        x *= 18014398509481984.0;      // 2^54
        exponent = -54;
    }
    const uint64_t bits = BitsOf(x);
    exponent += static_cast<int>((bits >> 52) & 0x7FF) - 1023;
    double m = FromBits((bits & 0x000FFFFFFFFFFFFFull) | (uint64_t{1023} << 52)); // [1, 2)
    if (m > 1.4142135623730951) {
        m *= 0.5;
        ++exponent;
    }
    const double f = m - 1; // exact
    // log(1 + f) = 2 atanh(s) with s = f / (2 + f), s carried as sh + sl.
    const Double2 d = FastTwoSum(2.0, f);
    const double sh = f / d.hi;
    const Double2 p = TwoProduct(sh, d.hi);
    const double sl = (((f - p.hi) - p.lo) - sh * d.lo) / d.hi;
    const double z = sh * sh;
    const double series =
        1.0 / 3 +
        z * (1.0 / 5 +
             z * (1.0 / 7 +
                  z * (1.0 / 9 +
                       z * (1.0 / 11 +
                            z * (1.0 / 13 +
                                 z * (1.0 / 15 +
                                      z * (1.0 / 17 +
                                           z * (1.0 / 19 +
                                                z * (1.0 / 21 + z * (1.0 / 23 + z / 25))))))))));
    const double tail = 2 * sh * z * series;
    const double e = exponent;
    Double2 sum = TwoSum(e * kLn2Hi, 2 * sh);
    sum.lo += (e * kLn2Lo + 2 * sl) + tail;
    return FastTwoSum(sum.hi, sum.lo);
}

// e^(hi + lo), rounded once at the end.
double ExpExtended(double hi, double lo) {
    if (hi != hi) return hi;
    if (hi > 709.8) return kInf;
    if (hi < -745.2) return 0;
    const double k = std::floor(hi * kInvLn2 + 0.5);
    const Double2 r = TwoSum(hi - k * kLn2Hi, lo - k * kLn2Lo); // |r| <= about ln2 / 2
    // e^r = 1 + r + r^2/2 + r^3/6 + ...
    const Double2 square = TwoProduct(r.hi, r.hi);
    const double x = r.hi;
    const double cube =
        x * square.hi *
        (1.6666666666666666e-01 +
         x * (4.1666666666666664e-02 +
              x * (8.333333333333333e-03 +
                   x * (1.388888888888889e-03 +
                        x * (1.984126984126984e-04 +
                             x * (2.48015873015873e-05 +
                                  x * (2.7557319223985893e-06 +
                                       x * (2.755731922398589e-07 +
                                            x * (2.505210838544172e-08 +
                                                 x * (2.08767569878681e-09 +
                                                      x * (1.6059043836821613e-10 +
                                                           x * (1.1470745597729725e-11 +
                                                                x * (7.647163731819816e-13 +
                                                                     x * 4.779477332387385e-14)))))))))))));
    const Double2 s = TwoSum(x, square.hi * 0.5);
    const double low = s.lo + square.lo * 0.5 + cube + r.lo * (1 + x);
    const Double2 total = FastTwoSum(1.0, s.hi);
    const double value = total.hi + (total.lo + low);
    return ScaleByPowerOfTwo(value, TruncateToInt32(k));
}

// The first 1280 binary digits of 2/pi after the point, 32 to a word.
constexpr uint32_t kTwoOverPiBits[] = {
    0xA2F9836E, 0x4E441529, 0xFC2757D1, 0xF534DDC0, 0xDB629599, 0x3C439041, 0xFE5163AB, 0xDEBBC561,
    0xB7246E3A, 0x424DD2E0, 0x06492EEA, 0x09D1921C, 0xFE1DEB1C, 0xB129A73E, 0xE88235F5, 0x2EBB4484,
    0xE99C7026, 0xB45F7E41, 0x3991D639, 0x835339F4, 0x9C845F8B, 0xBDF9283B, 0x1FF897FF, 0xDE05980F,
    0xEF2F118B, 0x5A0A6D1F, 0x6D367ECF, 0x27CB09B7, 0x4F463F66, 0x9E5FEA2D, 0x7527BAC7, 0xEBE5F17B,
    0x3D0739F7, 0x8A5292EA, 0x6BFB5FB1, 0x1F8D5D08, 0x56033046, 0xFC7B6BAB, 0xF0CFBC20, 0x9AF4361D,
};

// Word w of the digits of 2/pi; the digits before the point and past the
// table are 0 (the table reaches well beyond what the largest double needs).
uint32_t TwoOverPiWord(int w) {
    return w >= 0 && w < static_cast<int>(std::size(kTwoOverPiBits)) ? kTwoOverPiBits[w] : 0;
}

// The 32 digits of 2/pi from digit `first` on (digit 1 is the first after
// the point; digits at 0 and before are 0).
uint32_t TwoOverPiDigits(int first) {
    const int zeroBased = first - 1;
    const int w = zeroBased >= 0 ? zeroBased / 32 : -((31 - zeroBased) / 32);
    const int shift = zeroBased - 32 * w;
    const uint64_t pair = (uint64_t{TwoOverPiWord(w)} << 32) | TwoOverPiWord(w + 1);
    return static_cast<uint32_t>(pair >> (32 - shift));
}

// Far x (|x| >= 2^20, finite) reduced by the nearest multiple k of pi/2.
// With x = m 2^e (m a whole number of 53 bits), x 2/pi modulo 4 only needs
// the digits of 2/pi from digit e - 1 on: the earlier ones add multiples of
// 4. 192 of them times m, in 32-bit pieces, give the quadrant in two bits and
// the fraction to about 2^-137, enough for the closest that any double comes
// to a multiple of pi/2 (about 2^-61 of it).
Double2 ReduceFarAngle(double x, int* quadrant) {
    const uint64_t bits = BitsOf(x);
    const int e = static_cast<int>((bits >> 52) & 0x7FF) - 1075;
    const uint64_t m = (bits & ((uint64_t{1} << 52) - 1)) | (uint64_t{1} << 52);
    const uint64_t mPart[2] = {m & 0xFFFFFFFF, m >> 32}; // least significant first
    uint32_t digits[6];                                  // least significant first
    for (int i = 0; i < 6; ++i) digits[5 - i] = TwoOverPiDigits(e - 1 + 32 * i);
    // product = m * digits, kept to its low 192 bits; x 2/pi is product / 2^190
    // modulo 4.
    uint32_t product[6] = {};
    for (int i = 0; i < 2; ++i) {
        uint64_t carry = 0;
        for (int j = 0; i + j < 6; ++j) {
            const uint64_t t = mPart[i] * digits[j] + product[i + j] + carry;
            product[i + j] = static_cast<uint32_t>(t);
            carry = t >> 32;
        }
    }
    int k = static_cast<int>(product[5] >> 30);
    // The fraction, as a 128-bit whole number over 2^128: bits 62 to 189.
    uint64_t high = (uint64_t{product[5]} << 34) | (uint64_t{product[4]} << 2) | (product[3] >> 30);
    uint64_t low = (uint64_t{product[3]} << 34) | (uint64_t{product[2]} << 2) | (product[1] >> 30);
    bool negative = false;
    if (high >> 63) { // past one half: the nearest multiple is the next one
        ++k;
        negative = true;
        high = ~high + (low == 0 ? 1 : 0);
        low = ~low + 1;
    }
    int zeros = 0;
    while (zeros < 64 && !(high >> 63)) {
        high = (high << 1) | (low >> 63);
        low <<= 1;
        ++zeros;
    }
    // The leading 106 bits as two whole numbers that doubles hold exactly.
    const double fractionHi = ScaleByPowerOfTwo(static_cast<double>(high >> 11), -53 - zeros);
    const double fractionLo =
        ScaleByPowerOfTwo(static_cast<double>(((high & 0x7FF) << 42) | (low >> 22)), -106 - zeros);
    // r = fraction * pi/2.
    const Double2 p = TwoProduct(fractionHi, kPio2Hi);
    Double2 r = FastTwoSum(p.hi, p.lo + fractionHi * kPio2Lo + fractionLo * kPio2Hi);
    if (negative) r = {-r.hi, -r.lo};
    if (x < 0) {
        r = {-r.hi, -r.lo};
        k = -k;
    }
    *quadrant = k & 3;
    return r;
}

// x reduced by the nearest multiple k of pi/2: x - k pi/2 as hi + lo, and k
// modulo 4.
Double2 ReduceByHalfPi(double x, int* quadrant) {
    if (std::fabs(x) <= kPio4) {
        *quadrant = 0;
        return {x, 0};
    }
    if (std::fabs(x) >= kFarAngle) return ReduceFarAngle(x, quadrant);
    // Here |k| < 2^20, so k times each 33-bit part of pi/2 is exact.
    const double k = std::floor(x * kTwoOverPi + 0.5);
    *quadrant = (TruncateToInt32(k) + 4) & 3;
    const double a = x - k * kPio2Part1;
    Double2 r = TwoSum(a, -k * kPio2Part2);
    r.lo -= k * kPio2Part3;
    return FastTwoSum(r.hi, r.lo);
}

// sin(hi + lo) for |hi + lo| <= about pi/4, unrounded as hi + lo.
Double2 SinKernelExtended(Double2 r) {
    const double x = r.hi, z = x * x;
    const double poly =
        -1.6666666666666666e-01 +
        z * (8.333333333333333e-03 +
             z * (-1.984126984126984e-04 +
                  z * (2.7557319223985893e-06 +
                       z * (-2.505210838544172e-08 +
                            z * (1.6059043836821613e-10 +
                                 z * (-7.647163731819816e-13 + z * 2.8114572543455206e-15))))));
    return FastTwoSum(x, x * z * poly + r.lo * (1 - z * 0.5));
}

double SinKernel(Double2 r) {
    const Double2 s = SinKernelExtended(r);
    return s.hi + s.lo;
}

// cos(hi + lo) for |hi + lo| <= about pi/4, unrounded as hi + lo.
Double2 CosKernelExtended(Double2 r) {
    const double x = r.hi, z = x * x;
    const double poly =
        4.1666666666666664e-02 +
        z * (-1.388888888888889e-03 +
             z * (2.48015873015873e-05 +
                  z * (-2.755731922398589e-07 +
                       z * (2.08767569878681e-09 +
                            z * (-1.1470745597729725e-11 +
                                 z * (4.779477332387385e-14 + z * -1.5619206968586225e-16))))));
    const double half = 0.5 * z;
    const double w = 1 - half;
    return FastTwoSum(w, ((1 - w) - half) + (z * z * poly - x * r.lo));
}

double CosKernel(Double2 r) {
    const Double2 c = CosKernelExtended(r);
    return c.hi + c.lo;
}

// (a.hi + a.lo) / (b.hi + b.lo), rounded once.
double DivideExtended(Double2 a, Double2 b) {
    const double q = a.hi / b.hi;
    const Double2 p = TwoProduct(q, b.hi);
    return q + (((a.hi - p.hi) - p.lo) + a.lo - q * b.lo) / b.hi;
}

constexpr double kAtanHalfHi = 0.4636476090008061, kAtanHalfLo = 2.2698777452961687e-17;
constexpr double kAtanOneHi = 0.7853981633974483, kAtanOneLo = 3.061616997868383e-17;
constexpr double kAtanThreeHalvesHi = 0.982793723247329,
                 kAtanThreeHalvesLo = 1.3903311031230998e-17;
constexpr double kPiHi = 3.141592653589793, kPiLo = 1.2246467991473532e-16;

struct AtanSeries {
    double coefficient[22]; // 1/3, 1/5, 1/7, ...
};
constexpr AtanSeries MakeAtanSeries() {
    AtanSeries series{};
    for (int n = 0; n < 22; ++n) series.coefficient[n] = 1.0 / (2 * n + 3);
    return series;
}
constexpr AtanSeries kAtanSeries = MakeAtanSeries();

// t - atan(t) for |t| <= 7/16: t^3 (1/3 - t^2 (1/5 - t^2 (1/7 - ...))).
double AtanTail(double t) {
    const double z = t * t;
    double series = 0;
    for (int n = 21; n >= 0; --n) series = kAtanSeries.coefficient[n] - z * series;
    return t * z * series;
}

// The series of asin: x (1 + z (1/6 + z (3/40 + ...))) with z = x^2.
constexpr double kAsinSeries[] = {0.16666666666666666,   0.075,
                                  0.044642857142857144,  0.030381944444444444,
                                  0.022372159090909092,  0.017352764423076924,
                                  0.01396484375,         0.011551800896139705,
                                  0.009761609529194078,  0.008390335809616815,
                                  0.0073125258735988454, 0.006447210311889649,
                                  0.005740037670841924,  0.005153309682319905,
                                  0.004660143486915096,  0.004240907093679363,
                                  0.003880964558837669,  0.0035692053938259347,
                                  0.003297059503473485,  0.0030578216492580306,
                                  0.002846178401108942,  0.00265787063820729,
                                  0.0024894486782468836, 0.002338091892111975,
                                  0.0022014739737101384, 0.0020776610325181676};

// asin(s) for |s| <= 1/2, unrounded as hi + lo.
Double2 AsinSmall(double s) {
    const double z = s * s;
    double series = 0;
    for (int n = static_cast<int>(std::size(kAsinSeries)) - 1; n >= 0; --n)
        series = kAsinSeries[n] + z * series;
    return FastTwoSum(s, s * z * series);
}

// asin(sqrt(t)) for 0 <= t <= 1/4, with the rounding of the square root put
// back, unrounded as hi + lo.
Double2 AsinOfRoot(double t) {
    const double s = std::sqrt(t);
    if (s == 0) return {0, 0};
    const Double2 square = TwoProduct(s, s);
    const double sLo = ((t - square.hi) - square.lo) / (2 * s);
    Double2 a = AsinSmall(s);
    a.lo += sLo / std::sqrt(1 - t);
    return a;
}

// c + k (a.hi + a.lo), rounded once, for c = hi + lo and a small k.
double AddScaled(double cHi, double cLo, double k, Double2 a) {
    const Double2 h = TwoSum(cHi, k * a.hi);
    return h.hi + (h.lo + (cLo + k * a.lo));
}

} // namespace

double PortableExp(double x) {
    return ExpExtended(x, 0);
}

double PortableLog(double x) {
    if (x != x) return x;
    if (x < 0) return kNaN;
    if (x == 0) return -kInf;
    if (x == kInf) return kInf;
    return LogExtended(x).hi;
}

double PortableLog10(double x) {
    if (x != x) return x;
    if (x < 0) return kNaN;
    if (x == 0) return -kInf;
    if (x == kInf) return kInf;
    const Double2 l = LogExtended(x);
    Double2 p = TwoProduct(l.hi, kInvLn10Hi);
    p.lo += l.hi * kInvLn10Lo + l.lo * kInvLn10Hi;
    return p.hi + p.lo;
}

namespace {

// 2^52: from here on every double is a whole number; 2^53: and an even one.
constexpr double kWholeFrom = 4503599627370496.0;
constexpr double kEvenFrom = 9007199254740992.0;

// Whether fmod(y, 1) is 0, without the division loop of fmod.
bool IsWholeNumber(double y) {
    if (!(std::fabs(y) < kWholeFrom)) return std::isfinite(y);
    return static_cast<double>(static_cast<int64_t>(y)) == y;
}
// Whether |fmod(y, 2)| is 1, without the division loop of fmod.
bool IsOddWholeNumber(double y) {
    if (!(std::fabs(y) < kEvenFrom)) return false;
    const int64_t whole = static_cast<int64_t>(y);
    return static_cast<double>(whole) == y && (whole & 1) != 0;
}

// pow for the cases of zeros, infinities and NaN; false when none applies.
bool PowSpecialCase(double x, double y, double* result) {
    if (y == 0 || x == 1) return *result = 1, true;
    if (x != x || y != y) return *result = x + y, true; // passes the NaN on
    const double ax = std::fabs(x);
    if (std::isinf(y)) {
        if (ax == 1) return *result = 1, true;
        return *result = ((ax > 1) == (y > 0)) ? kInf : 0, true;
    }
    if (x == 0 || std::isinf(x)) {
        // 0^y and inf^y are 0 or inf by the sign of y (reversed for 0);
        // an odd whole y keeps the sign of x.
        const bool large = (x == 0) ? (y < 0) : (y > 0);
        const double magnitude = large ? kInf : 0;
        return *result = (IsOddWholeNumber(y) && std::signbit(x)) ? -magnitude : magnitude, true;
    }
    if (x < 0 && !IsWholeNumber(y)) return *result = kNaN, true;
    // (-1)^y for a whole y: the general path would multiply y by log 1 = 0
    // through a split of y, which overflows for |y| near the largest doubles.
    if (x == -1) return *result = IsOddWholeNumber(y) ? -1 : 1, true;
    return false;
}

// (a.hi + a.lo) (b.hi + b.lo) as hi + lo, to about 2^-104 relative.
Double2 MultiplyExtended(Double2 a, Double2 b) {
    Double2 p = TwoProduct(a.hi, b.hi);
    p.lo += a.hi * b.lo + a.lo * b.hi;
    return FastTwoSum(p.hi, p.lo);
}

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
// The same cube with the processor's fused multiply-add: fma(a, b, -a * b) is
// the exact error of a product, which TwoProduct's halves also give exactly
// within the cube's range, so both forms give the same hi and lo; this one
// takes five instructions where the halves take some thirty.
__attribute__((target("fma"))) Double2 CubeExtendedFused(double x) {
    const double square = x * x;
    const double squareLo = __builtin_fma(x, x, -square);
    const double cube = square * x;
    const double cubeLo = __builtin_fma(square, x, -cube);
    double carried = squareLo * x;
    // Keeps the compiler from fusing this product into the addition below,
    // which would round once where the halves' form rounds twice.
    __asm__("" : "+x"(carried));
    return {cube, cubeLo + carried};
}
bool ProcessorFusesMultiplyAdd() {
    __builtin_cpu_init(); // may run before the runtime's own initialisation
    return __builtin_cpu_supports("fma");
}
bool fusedCube = ProcessorFusesMultiplyAdd();
#define TAMSOLO_FUSED_CUBE 1
#else
bool fusedCube = false;
#endif

// x^3 as hi + lo, from two exact products, for |x| within 2^-299 to 2^299.
Double2 CubeExtended(double x) {
#ifdef TAMSOLO_FUSED_CUBE
    if (fusedCube) return CubeExtendedFused(x);
#endif
    const Double2 square = TwoProduct(x, x);
    Double2 cube = TwoProduct(square.hi, x);
    cube.lo += square.lo * x;
    return cube;
}
constexpr double kCubeLow = 0x1p-299;
constexpr double kCubeHigh = 0x1p299;

// |x|^k stays within 2^-kMultipliedRange to 2^kMultipliedRange for every k
// up to the exponent of MultiplyOut, where its products and their low parts
// are exact and never subnormal.
constexpr int kMultipliedRange = 900;

// x^n for a whole n with 2 <= |n| <= kMaxWholePower, by repeated squaring,
// the powers carried as hi + lo (error below 2^-98 relative) and rounded
// once: the correctly rounded result but in cases closer to a tie than that.
// False when a power could leave the range where that holds; x is finite
// and not 0.
bool MultiplyOut(double x, int n, double* result) {
    const int magnitude = n < 0 ? -n : n;
    const int exponent = static_cast<int>((BitsOf(x) >> 52) & 0x7FF) - 1023;
    // |x| lies in [2^exponent, 2^(exponent + 1)); a subnormal x gives -1023.
    if (magnitude * ((exponent < 0 ? -exponent : exponent) + 1) > kMultipliedRange) return false;
    const double ax = std::fabs(x);
    Double2 power;
    if (magnitude == 3) {
        power = CubeExtended(ax);
    } else {
        Double2 base = {ax, 0};
        power = {1, 0};
        for (int k = magnitude;;) {
            if (k & 1) power = MultiplyExtended(power, base);
            k >>= 1;
            if (k == 0) break;
            base = MultiplyExtended(base, base);
        }
    }
    const double value = n < 0 ? DivideExtended({1, 0}, power) : power.hi + power.lo;
    *result = (x < 0 && (n & 1)) ? -value : value;
    return true;
}

// x^y through the logarithm, for x not 0, finite and not NaN, and y finite.
double PowerByLogarithm(double x, double y) {
    const bool negative = x < 0 && IsOddWholeNumber(y);
    const Double2 l = LogExtended(std::fabs(x));
    const double estimate = y * l.hi;
    double value;
    if (estimate > 710)
        value = kInf;
    else if (estimate < -746)
        value = 0;
    else {
        Double2 t = TwoProduct(y, l.hi);
        t.lo += y * l.lo;
        t = FastTwoSum(t.hi, t.lo);
        value = ExpExtended(t.hi, t.lo);
    }
    return negative ? -value : value;
}

} // namespace

double PortablePow(double x, double y) {
    if (IsWholePowerExponent(y)) return PortableWholePow(x, static_cast<int>(y));
    double special;
    if (PowSpecialCase(x, y, &special)) return special;
    if (y == 1) return x;
    if (y == -1) return 1 / x;
    if (y == 0.5 && x > 0) return std::sqrt(x);
    return PowerByLogarithm(x, y);
}

bool UseFusedMultiplyAdd(bool use) {
#ifdef TAMSOLO_FUSED_CUBE
    fusedCube = use && ProcessorFusesMultiplyAdd();
#endif
    return fusedCube;
}

double PortableWholePow(double x, int n) {
    // The two commonest first: x * x is what the cases below give for n = 2
    // (zeros, infinities, NaN and 1 and -1 included), and the cube's range
    // leaves those out.
    if (n == 2) return x * x;
    if (n == 3 && std::fabs(x) >= kCubeLow && std::fabs(x) < kCubeHigh) {
        const Double2 cube = CubeExtended(x);
        return cube.hi + cube.lo;
    }
    // The cases of PowSpecialCase that such an n leaves.
    if (x == 1) return 1;
    if (x != x) return x + n; // passes the NaN on
    const bool odd = (n & 1) != 0;
    if (x == 0 || std::isinf(x)) {
        const bool large = (x == 0) ? (n < 0) : (n > 0);
        const double magnitude = large ? kInf : 0;
        return (odd && std::signbit(x)) ? -magnitude : magnitude;
    }
    if (x == -1) return odd ? -1 : 1;
    double power;
    if (MultiplyOut(x, n, &power)) return power;
    return PowerByLogarithm(x, n);
}

double PortableSin(double x) {
    if (std::isinf(x) || x != x) return x - x;
    if (std::fabs(x) < kTiny) return x; // also keeps the sign of a zero
    int quadrant;
    const Double2 r = ReduceByHalfPi(x, &quadrant);
    switch (quadrant) {
    case 0: return SinKernel(r);
    case 1: return CosKernel(r);
    case 2: return -SinKernel(r);
    default: return -CosKernel(r);
    }
}

double PortableCos(double x) {
    if (std::isinf(x) || x != x) return x - x;
    int quadrant;
    const Double2 r = ReduceByHalfPi(x, &quadrant);
    switch (quadrant) {
    case 0: return CosKernel(r);
    case 1: return -SinKernel(r);
    case 2: return -CosKernel(r);
    default: return SinKernel(r);
    }
}

double PortableTan(double x) {
    if (std::isinf(x) || x != x) return x - x;
    if (std::fabs(x) < kTiny) return x; // also keeps the sign of a zero
    int quadrant;
    const Double2 r = ReduceByHalfPi(x, &quadrant);
    const Double2 sine = SinKernelExtended(r), cosine = CosKernelExtended(r);
    if (quadrant % 2 == 0) return DivideExtended(sine, cosine);
    return -DivideExtended(cosine, sine);
}

double PortableAtan(double x) {
    if (x != x) return x;
    const double ax = std::fabs(x);
    if (ax < kTiny) return x;
    double baseHi = 0, baseLo = 0, t;
    if (ax < 7.0 / 16) {
        t = ax;
    } else if (ax < 11.0 / 16) {
        t = (2 * ax - 1) / (2 + ax);
        baseHi = kAtanHalfHi, baseLo = kAtanHalfLo;
    } else if (ax < 19.0 / 16) {
        t = (ax - 1) / (ax + 1);
        baseHi = kAtanOneHi, baseLo = kAtanOneLo;
    } else if (ax < 39.0 / 16) {
        t = (ax - 1.5) / (1 + 1.5 * ax);
        baseHi = kAtanThreeHalvesHi, baseLo = kAtanThreeHalvesLo;
    } else {
        t = -1 / ax;
        baseHi = kPio2Hi, baseLo = kPio2Lo;
    }
    const double result = baseHi + (t + (baseLo - AtanTail(t)));
    return x < 0 ? -result : result;
}

double PortableAsin(double x) {
    if (x != x) return x;
    const double ax = std::fabs(x);
    if (ax > 1) return kNaN;
    if (ax < kTiny) return x;
    double result;
    if (ax <= 0.5) {
        const Double2 a = AsinSmall(ax);
        result = a.hi + a.lo;
    } else { // asin x = pi/2 - 2 asin sqrt((1 - x) / 2)
        result = AddScaled(kPio2Hi, kPio2Lo, -2, AsinOfRoot((1 - ax) * 0.5));
    }
    return x < 0 ? -result : result;
}

double PortableAcos(double x) {
    if (x != x) return x;
    if (std::fabs(x) > 1) return kNaN;
    if (std::fabs(x) <= 0.5) return AddScaled(kPio2Hi, kPio2Lo, -1, AsinSmall(x));
    if (x > 0) return AddScaled(0, 0, 2, AsinOfRoot((1 - x) * 0.5)); // 2 asin sqrt((1 - x) / 2)
    return AddScaled(kPiHi, kPiLo, -2, AsinOfRoot((1 + x) * 0.5)); // pi - 2 asin sqrt((1 + x) / 2)
}
