// Correct rounding comes from two roads: numbers of at most 19 significant
// digits whose value and power of ten are exact doubles are finished with one
// IEEE multiplication or division (exact operands, so one rounding); all
// others go to std::from_chars, which rounds correctly with the C++17 library
// of both tool chains, and never to the C runtime's strtod or scanf, which
// differ between platforms.
#include "datafiles/decimal_scan.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <system_error>

namespace {

constexpr int kMaxFastDigits = 19; // still fits a uint64_t
constexpr uint64_t kMaxExactMantissa = uint64_t{1} << 53;
constexpr int kMaxExactPower = 22;          // 10^22 is the largest exact power of ten
constexpr int64_t kExponentLimit = 1 << 30; // far beyond any double; stops overflow

constexpr double kExactPowers[kMaxExactPower + 1] = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22,
};

inline bool IsDigit(char c) {
    return static_cast<unsigned char>(c - '0') < 10;
}

// The digits of one number as the scan found them.
struct Digits {
    uint64_t mantissa = 0;    // the first significant digits
    int significant = 0;      // significant digits (leading zeros not counted)
    int64_t leadingZeros = 0; // zeros before the first significant digit
    int64_t integerDigits = 0;
    int64_t fractionDigits = 0;
    int64_t exponent = 0; // the value of the exponent part
};

void TakeDigit(Digits& d, char c) {
    const unsigned digit = static_cast<unsigned>(c - '0');
    if (d.significant == 0 && digit == 0) {
        ++d.leadingZeros;
        return;
    }
    if (d.significant < kMaxFastDigits) d.mantissa = d.mantissa * 10 + digit;
    ++d.significant;
}

// What from_chars reports as out of range is infinite when the number is 1 or
// more and zero when it is below 1, as strtod gives them.
double OutOfRangeValue(const Digits& d, bool negative) {
    const int64_t magnitude = d.integerDigits - d.leadingZeros + d.exponent;
    const double value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -value : value;
}

double ConvertDigits(const char* first, const char* last, const Digits& d, bool negative) {
    if (d.significant == 0) return negative ? -0.0 : 0.0;
    const int64_t power = d.exponent - d.fractionDigits;
    if (d.significant <= kMaxFastDigits && d.mantissa <= kMaxExactMantissa &&
        power >= -kMaxExactPower && power <= kMaxExactPower) {
        const double mantissa = static_cast<double>(d.mantissa);
        const double value =
            power < 0 ? mantissa / kExactPowers[-power] : mantissa * kExactPowers[power];
        return negative ? -value : value;
    }
    if (*first == '+') ++first; // from_chars takes a minus sign only
    double value = 0;
    const std::from_chars_result result = std::from_chars(first, last, value);
    if (result.ec == std::errc::result_out_of_range) return OutOfRangeValue(d, negative);
    return value;
}

} // namespace

DecimalScan ScanDecimalNumber(const char* text, size_t size) {
    DecimalScan scan;
    size_t i = 0;
    bool negative = false;
    if (i < size && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    Digits d;
    const size_t integerStart = i;
    while (i < size && IsDigit(text[i])) TakeDigit(d, text[i++]);
    d.integerDigits = static_cast<int64_t>(i - integerStart);
    if (i < size && text[i] == '.') {
        const size_t fractionStart = ++i;
        while (i < size && IsDigit(text[i])) TakeDigit(d, text[i++]);
        d.fractionDigits = static_cast<int64_t>(i - fractionStart);
    }
    if (d.integerDigits + d.fractionDigits == 0) { // a lone sign or point
        scan.atDataEnd = i == size;
        return scan;
    }
    size_t end = i;
    if (i < size && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        bool negativeExponent = false;
        if (j < size && (text[j] == '-' || text[j] == '+')) negativeExponent = text[j++] == '-';
        const size_t exponentStart = j;
        int64_t exponent = 0;
        for (; j < size && IsDigit(text[j]); ++j)
            if (exponent < kExponentLimit) exponent = exponent * 10 + (text[j] - '0');
        if (j > exponentStart) { // without digits the letter is not part of the number
            end = j;
            d.exponent = negativeExponent ? -exponent : exponent;
        }
        i = j;
    }
    scan.atDataEnd = i == size;
    scan.length = end;
    scan.value = ConvertDigits(text, text + end, d, negative);
    return scan;
}
