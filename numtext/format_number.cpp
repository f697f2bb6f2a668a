#include "numtext/format_number.h"

#include "numtext/powers_of_ten.h"
#include "text/convert.h"

#include <climits>
#include <cmath>
#include <cstring>

namespace {

constexpr char kLowerDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
// The same alphabet passed through toupper in the "C" locale; a table keeps the
// result independent of whatever locale the process runs in.
constexpr char kUpperDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr int kMinBase = 2;
constexpr int kMaxBase = 36;

// 2^1024 is above every finite double, so base 2 needs at most 1024 digits and
// every other base fewer.
constexpr int kMaxIntegerDigits = 1024;
// "e" and "%+d" of an exponent between -324 and +308.
constexpr int kMaxExponentChars = 5;

char sharedResult[kFormatBufferSize];

struct FormatOptions {
    bool plus = false;
    int groupSize = 0;
    bool upperCase = false;
    int upperThreshold = -1;
    int lowerThreshold = -1;
};

// Reads an integer as atoi does (leading white space, optional sign, decimal
// figures up to the first other character, none giving 0), but saturates at
// the int range instead of leaving overflow undefined.
int ReadInteger(const char* text) {
    while (*text == ' ' || (*text >= '\t' && *text <= '\r')) ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') negative = *text++ == '-';
    long long magnitude = 0;
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    for (; *text >= '0' && *text <= '9'; ++text) {
        magnitude = magnitude * 10 + (*text - '0');
        if (magnitude >= limit) {
            magnitude = limit;
            // Skip the remaining figures; the value stays saturated.
            while (text[1] >= '0' && text[1] <= '9') ++text;
        }
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

// The token with "=" wins; the bare token is looked for only without it.
int ReadSetting(const char* options, const char* withValue, const char* bare, int bareValue,
                int absentValue) {
    if (const char* found = std::strstr(options, withValue))
        return ReadInteger(found + std::strlen(withValue));
    return std::strstr(options, bare) ? bareValue : absentValue;
}

FormatOptions ParseOptions(const char* options, int base) {
    FormatOptions settings;
    settings.plus = std::strchr(options, '+') != nullptr;
    settings.groupSize = ReadSetting(options, ",=", ",", (base == 2 || base == 16) ? 4 : 3, 0);
    settings.upperCase = std::strchr(options, 'c') != nullptr;
    settings.upperThreshold = ReadSetting(options, "E=", "E", 0, -1);
    settings.lowerThreshold = ReadSetting(options, "e=", "e", 0, -1);
    return settings;
}

// base^exponent by repeated squaring: exact while the power is representable,
// and made of plain multiplications, so every C runtime gives the same bits.
double PowerOf(int base, int exponent) {
    if (base == 10) return PowerOfTen(exponent);
    double result = 1.0;
    double factor = base;
    for (unsigned rest = static_cast<unsigned>(exponent); rest != 0;) {
        if (rest & 1u) result *= factor;
        rest >>= 1;
        if (rest != 0) factor *= factor;
    }
    return result;
}

int ClampFractionDigits(int fractionDigits) {
    if (fractionDigits < -kMaxFractionDigits) return kMaxFractionDigits;
    if (fractionDigits < 0) return -fractionDigits;
    return fractionDigits < kMaxFractionDigits ? fractionDigits : kMaxFractionDigits;
}

// Whether value is shown as mantissa and exponent; only finite values in base
// 10 are considered.
bool UsesExponent(double value, int base, const FormatOptions& settings) {
    if (base != 10 || !std::isfinite(value)) return false;
    const double magnitude = std::fabs(value);
    if (settings.upperThreshold >= 0 && magnitude > PowerOfTen(settings.upperThreshold) - 1.0)
        return true;
    return settings.lowerThreshold >= 0 && value != 0.0 &&
           PowerOfTen(-settings.lowerThreshold) > magnitude;
}

// Writes text from position length on, never past the last byte before the
// terminator's place.
struct BoundedWriter {
    char* out;
    int length;
    void Put(char c) {
        if (length < kFormatBufferSize - 1) out[length++] = c;
    }
};

int ExponentChars(int exponent) {
    int chars = 3; // "e", the sign and one figure
    for (int rest = exponent < 0 ? -exponent : exponent; rest >= 10; rest /= 10) ++chars;
    return chars;
}

void WriteExponent(BoundedWriter& writer, int exponent) {
    writer.Put('e');
    writer.Put(exponent < 0 ? '-' : '+');
    char figures[12];
    int count = 0;
    unsigned rest = exponent < 0 ? 0u - static_cast<unsigned>(exponent) : exponent;
    do {
        figures[count++] = static_cast<char>('0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    while (count > 0) writer.Put(figures[--count]);
}

char* WriteWord(char* buffer, const char* word) {
    CopyBounded(buffer, kFormatBufferSize, word);
    return buffer;
}

} // namespace

char* FormatNumber(double value, char* buffer, int fractionDigits, int base, const char* options) {
    if (base < kMinBase || base > kMaxBase) return nullptr;
    if (!options) options = "";
    if (!buffer) buffer = sharedResult;

    const bool negative = value < 0;
    const FormatOptions settings = ParseOptions(options, base);
    const char* alphabet = settings.upperCase ? kUpperDigits : kLowerDigits;

    const bool exponentNotation = UsesExponent(value, base, settings);
    double mantissa = value;
    int exponent = 0;
    if (exponentNotation) {
        while (std::fabs(mantissa) >= 10) {
            mantissa /= 10;
            ++exponent;
        }
        while (std::fabs(mantissa) < 1) {
            mantissa *= 10;
            --exponent;
        }
    }

    const int places = ClampFractionDigits(fractionDigits);
    const double rounding = (base * 0.5) / PowerOf(base, places + 1);
    const double a = std::fabs(mantissa) + rounding;
    if (std::isnan(a)) return WriteWord(buffer, "INVALID");
    if (std::isinf(a)) return WriteWord(buffer, negative ? "-INFINITY" : "+INFINITY");

    // Integer digits, least significant first.
    char digits[kMaxIntegerDigits];
    int digitCount = 0;
    for (double q = a; q >= 1 && digitCount < kMaxIntegerDigits; q /= base)
        digits[digitCount++] = alphabet[TruncateToInt32(std::fmod(q, base))];
    if (digitCount == 0) digits[digitCount++] = '0';

    const char sign = negative ? '-' : (settings.plus ? '+' : '\0');
    // n % groupSize == 0 for n a multiple of |groupSize|; INT_MIN never divides
    // a digit count.
    const unsigned groupEvery = settings.groupSize < 0
                                    ? 0u - static_cast<unsigned>(settings.groupSize)
                                    : static_cast<unsigned>(settings.groupSize);
    int separators = groupEvery != 0 ? static_cast<int>((digitCount - 1) / groupEvery) : 0;
    const int integerChars = (sign ? 1 : 0) + digitCount + separators;
    // A text with that many integer digits has no fraction, so only the
    // exponent and the terminator have to fit besides.
    if (integerChars + (exponentNotation ? kMaxExponentChars : 0) + 1 > kFormatBufferSize)
        separators = 0;
    const char separator = base == 10 ? ',' : ' ';

    BoundedWriter writer{buffer, 0};
    if (sign) writer.Put(sign);
    for (int i = digitCount - 1; i >= 0; --i) {
        writer.Put(digits[i]);
        if (separators != 0 && i != 0 && static_cast<unsigned>(i) % groupEvery == 0)
            writer.Put(separator);
    }

    double f = std::fmod(a, 1.0);
    if (f != 0 && places != 0) {
        const int pointAt = writer.length;
        writer.Put('.');
        for (int i = 0; i < places; ++i) {
            f *= base;
            const int32_t d = TruncateToInt32(f);
            writer.Put(alphabet[d]);
            f -= d;
        }
        if (fractionDigits > 0) {
            while (writer.length > pointAt + 1 && buffer[writer.length - 1] == '0') --writer.length;
            if (writer.length == pointAt + 1) writer.length = pointAt;
        }
    }

    // Room for the exponent is left by the limits above; the writer only keeps
    // a miscount from running past the buffer.
    if (exponentNotation && writer.length + ExponentChars(exponent) < kFormatBufferSize)
        WriteExponent(writer, exponent);
    buffer[writer.length] = '\0';
    return buffer;
}

int RoundToInt(double value) {
    if (!std::isfinite(value)) return value < 0 ? -999999 : 999999;
    return TruncateToInt32(value >= 0 ? value + 0.5 : value - 0.5);
}
