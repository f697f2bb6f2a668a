#include "datafiles/text_data_parser.h"

#include "datafiles/decimal_scan.h"

#include <cstring>
#include <memory>
#include <new>

namespace {

inline bool StartsNumber(char c) {
    return static_cast<unsigned char>(c - '0') < 10 || c == '-' || c == '.';
}

// The factor of a multiplier letter, or 0 for any other byte. The powers are
// exact doubles, the values that pow(10, 3), pow(10, 6) ... give.
inline double MultiplierOf(char c) {
    switch (c) {
    case 'K': return 1e3;
    case 'M': return 1e6;
    case 'B': return 1e9;
    case 'T': return 1e12;
    default: return 0;
    }
}

} // namespace

TextDataParser::TextDataParser(double* values, size_t capacity, bool multipliers,
                               const char* equation, CombineLine combine, GrowValues grow,
                               void* growContext)
    : values(values), capacity(capacity), multipliers(multipliers),
      equation(equation && *equation && combine ? equation : nullptr), combine(combine), grow(grow),
      growContext(growContext) {}

void TextDataParser::Append(double value) {
    if (n == capacity && !(grow && grow(growContext, values, capacity) && n < capacity)) {
        overflowed = true;
        return;
    }
    values[n++] = value;
    ++m;
}

void TextDataParser::EndLine() {
    if (equation && m > 0) {
        n -= m;
        values[n] = combine(equation, values + n, static_cast<int>(m));
        ++n;
    }
    m = 0;
}

size_t TextDataParser::Parse(const char* text, size_t size, bool final) {
    size_t i = 0;
    while (i < size) {
        const char c = text[i];
        if (c == '\n') {
            EndLine();
            ++i;
            continue;
        }
        if (!StartsNumber(c)) {
            ++i;
            continue;
        }
        const DecimalScan scan = ScanDecimalNumber(text + i, size - i);
        // The number, or the letter after it, may go on in the next block.
        if (scan.atDataEnd && !final) return i;
        if (scan.length == 0) { // a lone minus sign or point
            ++i;
            continue;
        }
        double value = scan.value;
        i += scan.length;
        // The letter stays in the text: it is skipped as a separator next.
        if (multipliers && i < size) {
            const double factor = MultiplierOf(text[i]);
            if (factor != 0) value *= factor;
        }
        Append(value);
    }
    return size;
}

bool ParseTextStream(ReadBytes read, void* context, uint64_t size, size_t blockSize,
                     TextDataParser& parser) {
    if (blockSize == 0) blockSize = 1;
    std::unique_ptr<char[]> block(new (std::nothrow) char[blockSize]);
    if (!block) return false;
    uint64_t remaining = size;
    size_t kept = 0; // bytes at the front of block that the parser left
    for (;;) {
        if (kept == blockSize) { // one number fills the whole block
            const size_t grown = blockSize * 2;
            std::unique_ptr<char[]> larger(new (std::nothrow) char[grown]);
            if (!larger) return false;
            std::memcpy(larger.get(), block.get(), kept);
            block = std::move(larger);
            blockSize = grown;
        }
        size_t room = blockSize - kept;
        if (room > UINT32_MAX) room = UINT32_MAX;
        const uint32_t request =
            static_cast<uint32_t>(remaining < room ? remaining : static_cast<uint64_t>(room));
        const uint32_t got = request ? read(context, block.get() + kept, request) : 0;
        remaining -= got;
        const bool final = got < request || remaining == 0;
        const size_t available = kept + got;
        const size_t used = parser.Parse(block.get(), available, final);
        if (final) break;
        kept = available - used;
        std::memmove(block.get(), block.get() + used, kept);
    }
    parser.Finish();
    return true;
}
