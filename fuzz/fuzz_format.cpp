// Fuzzes FormatNumber with any value bits, 61 fraction digit counts, any base
// and any option text, and checks what must hold for every call: null exactly
// for a bad base with nothing written, a terminated text inside the buffer,
// the same text in the shared buffer, and a text that reads back as the value.
#include "numtext/format_number.h"
#include "fuzz_input.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int OracleInteger(const char* text) {
    const long long value = std::strtoll(text, nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

long long OracleGroupSize(const char* options, int base) {
    if (const char* found = std::strstr(options, ",=")) return std::llabs(OracleInteger(found + 2));
    if (std::strchr(options, ',')) return (base == 2 || base == 16) ? 4 : 3;
    return 0;
}

// The digit's value in base, or -1 for any other character (so that the
// exponent's "e" ends the digits in base 10).
int DigitValue(char c, bool upper, int base) {
    int d = -1;
    if (c >= '0' && c <= '9')
        d = c - '0';
    else if (!upper && c >= 'a' && c <= 'z')
        d = c - 'a' + 10;
    else if (upper && c >= 'A' && c <= 'Z')
        d = c - 'A' + 10;
    return d < base ? d : -1;
}

// Reads the text back and checks its form on the way.
void CheckText(const char* text, double value, int fractionDigits, int base, const char* options) {
    if (std::isnan(value)) return Check(std::strcmp(text, "INVALID") == 0);
    if (std::isinf(value))
        return Check(std::strcmp(text, value < 0 ? "-INFINITY" : "+INFINITY") == 0);

    const bool upper = std::strchr(options, 'c') != nullptr;
    const char separator = base == 10 ? ',' : ' ';
    const char* p = text;
    if (value < 0)
        Check(*p++ == '-');
    else if (std::strchr(options, '+'))
        Check(*p++ == '+');

    // Integer digits with their separators.
    long double integer = 0;
    int digits = 0, groupRun = 0, firstGroup = -1;
    bool separated = false;
    const long long groupSize = OracleGroupSize(options, base);
    for (;; ++p) {
        if (*p == separator) {
            Check(groupRun > 0);
            if (firstGroup < 0)
                firstGroup = groupRun;
            else
                Check(groupRun == groupSize);
            separated = true;
            groupRun = 0;
            continue;
        }
        const int d = DigitValue(*p, upper, base);
        if (d < 0) break;
        integer = integer * base + d;
        ++digits;
        ++groupRun;
    }
    Check(digits > 0);
    if (separated) {
        Check(groupRun == groupSize && firstGroup >= 1 && firstGroup <= groupSize);
    } else if (groupSize != 0) {
        // Ungrouped only when it fits one group, or in the overlong case.
        Check(digits <= groupSize || digits > 700);
    }

    // Fraction digits.
    const int places = fractionDigits < 0 ? -fractionDigits : fractionDigits;
    long double fraction = 0, unit = 1;
    if (*p == '.') {
        Check(fractionDigits != 0);
        ++p;
        int count = 0;
        char last = 0;
        for (int d; (d = DigitValue(*p, upper, base)) >= 0; ++p, ++count) {
            unit /= base;
            fraction += d * unit;
            last = *p;
        }
        Check(count > 0);
        if (fractionDigits > 0)
            Check(count <= places && last != '0');
        else
            Check(count == places);
    }

    // The exponent, base 10 only, with a mantissa from 1 to 10.
    int exponent = 0;
    if (*p == 'e') {
        Check(base == 10);
        Check(p[1] == '+' || p[1] == '-');
        Check(p[2] >= '0' && p[2] <= '9' && (p[2] != '0' || p[3] == '\0'));
        exponent = std::atoi(p + 1);
        Check(exponent >= -324 && exponent <= 308);
        p += 2;
        while (*p >= '0' && *p <= '9') ++p;
        Check(integer >= 1 && integer <= 10);
    }
    Check(*p == '\0');

    // The text must read back as the value, within half a unit of the last
    // place worked out and the drift of the floating-point digit generation.
    const long double scale = std::pow(10.0L, exponent);
    const long double shown = (integer + fraction) * scale;
    const long double magnitude = std::fabs(static_cast<long double>(value));
    const long double halfUnit = 0.5L * std::pow(static_cast<long double>(base), -places) * scale;
    Check(std::fabs(shown - magnitude) <= halfUnit * 1.000001L + magnitude * 1e-9L);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 10) return 0;
    FuzzInput in{data, size};
    double value;
    in.Copy(&value, sizeof value);
    const int fractionDigits = in.Byte() % 61 - 30;
    // Mostly 0 to 39 (every good base and the bad ones round it), sometimes
    // far outside.
    const uint8_t baseByte = in.Byte();
    int base = baseByte % 40;
    if (baseByte >= 240) base = baseByte & 1 ? INT_MIN + baseByte : INT_MAX - baseByte;
    const std::string options = in.Rest();
    const char* optionText = options.c_str(); // stops at an embedded NUL

    char* buffer = new char[kFormatBufferSize];
    std::memset(buffer, 0x5a, kFormatBufferSize);
    char* result = FormatNumber(value, buffer, fractionDigits, base, optionText);
    const bool goodBase = base >= 2 && base <= 36;
    if (!goodBase) {
        Check(result == nullptr);
        for (int i = 0; i < kFormatBufferSize; ++i) Check(buffer[i] == 0x5a);
        Check(FormatNumber(value, nullptr, fractionDigits, base, optionText) == nullptr);
    } else {
        Check(result == buffer);
        const size_t length = strnlen(buffer, kFormatBufferSize);
        Check(length < static_cast<size_t>(kFormatBufferSize));
        const char* shared = FormatNumber(value, nullptr, fractionDigits, base, optionText);
        Check(shared != nullptr && shared != buffer && std::strcmp(shared, buffer) == 0);
        Check(FormatNumber(value, nullptr, fractionDigits, base, optionText) == shared);
        CheckText(buffer, value, fractionDigits, base, optionText);
    }
    delete[] buffer;
    return 0;
}
