#include "window/exact_number.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";
constexpr int kChunkBits = 52;
// The reader's divisor is the base raised to the number of fraction digits;
// it stays finite (and every digit exact) while it is at most 2^1020.
constexpr int kMaxFractionBits = 1020;

// value = significand * 2^exponent, significand odd (or 0).
struct Binary {
    uint64_t significand = 0;
    int exponent = 0;
};

Binary Decompose(double magnitude) {
    uint64_t bits;
    std::memcpy(&bits, &magnitude, sizeof bits);
    const int stored = static_cast<int>(bits >> 52 & 0x7FF);
    Binary b;
    b.significand = bits & ((uint64_t{1} << 52) - 1);
    b.exponent = -1074;
    if (stored != 0) {
        b.significand |= uint64_t{1} << 52;
        b.exponent = stored - 1075;
    }
    while (b.significand != 0 && b.significand % 2 == 0) {
        b.significand /= 2;
        ++b.exponent;
    }
    return b;
}

void AppendWhole(GrowableText& out, uint64_t whole, int base) {
    char digits[65];
    int n = 0;
    do {
        digits[n++] = kDigits[whole % static_cast<unsigned>(base)];
        whole /= static_cast<unsigned>(base);
    } while (whole != 0);
    char text[66];
    for (int i = 0; i < n; ++i) text[i] = digits[n - 1 - i];
    text[n] = '\0';
    out.Append(text);
}

int BitsPerDigit(int base) {
    return base == 2 ? 1 : base == 8 ? 3 : base == 16 ? 4 : 0;
}

int FloorDiv(int a, int b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

int BitLength(uint64_t x) {
    int n = 0;
    for (; x != 0; x >>= 1) ++n;
    return n;
}

// The digits of b in a base of k bits a digit, with a point when b has a
// fraction; false when the reader could not take the last fraction digit
// exactly.
bool AppendPositional(GrowableText& out, const Binary& b, int k) {
    const int lowest = FloorDiv(b.exponent, k);
    if (lowest < 0 && -lowest * k > kMaxFractionBits) return false;
    const int highest = FloorDiv(b.exponent + BitLength(b.significand) - 1, k);
    const auto bit = [&b](int position) {
        const int shift = position - b.exponent;
        return shift >= 0 && shift < 64 && (b.significand >> shift & 1) != 0;
    };
    char text[2] = {};
    for (int j = highest > 0 ? highest : 0; j >= (lowest < 0 ? lowest : 0); --j) {
        if (j == -1) out.Append(".");
        int digit = 0;
        for (int i = k - 1; i >= 0; --i) digit = digit * 2 + (bit(j * k + i) ? 1 : 0);
        text[0] = kDigits[digit];
        out.Append(text);
    }
    return true;
}

// significand multiplied (or divided) by 2^|exponent| in exact steps.
void AppendScaled(GrowableText& out, const Binary& b, int base) {
    AppendWhole(out, b.significand, base);
    const char* op = b.exponent > 0 ? "*" : "/";
    for (int rest = std::abs(b.exponent); rest > 0; rest -= kChunkBits) {
        out.Append(op);
        AppendWhole(out, uint64_t{1} << (rest < kChunkBits ? rest : kChunkBits), base);
    }
}

} // namespace

GrowableText ExactNumberText(double value, int base) {
    // No base outside 2 to 16 has digits to read back.
    if (std::isnan(value) || base < 2 || base > 16) return GrowableText("(0/0)");
    if (std::isinf(value)) return GrowableText(value < 0 ? "(-1/0)" : "(1/0)");
    const Binary b = Decompose(std::fabs(value));
    // Every whole number up to 2^53 reads back exactly, digit by digit.
    const bool smallWhole = b.exponent >= 0 && std::fabs(value) <= 9007199254740992.0;
    const int k = BitsPerDigit(base);
    GrowableText digits;
    bool scaled = false;
    if (b.significand == 0 || smallWhole) {
        AppendWhole(digits, static_cast<uint64_t>(std::fabs(value)), base);
    } else if (k == 0 || !AppendPositional(digits, b, k)) {
        AppendScaled(digits, b, base);
        scaled = true;
    }
    const bool negative = std::signbit(value);
    if (!negative && !scaled) return digits;
    GrowableText bracketed(negative ? "(-" : "(");
    bracketed.Append(digits.Text());
    bracketed.Append(")");
    return bracketed;
}
