// Fuzzes EvaluateExpression with arbitrary text. The first byte chooses the
// base and the variable table; the rest is the text, copied into a buffer of
// exactly its size plus the terminator, so that any read past the end of the
// text is caught. When the first byte's top bit is set, the value and that of
// the text after the first NUL meet in LcmOf, which must give what the search
// written out sum by sum gives wherever that ends within its bound.
#include "expr/evaluate.h"
#include "expr/parser.h"
#include "tests/expr/lcm_by_steps.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const uint8_t choice = data[0];
    const int base = 2 + (choice & 0x0F) % 15; // 2 to 16
    static const int kCounts[] = {0, 1, 26, 30};
    const int variableCount = kCounts[(choice >> 4) & 3];
    const bool withTable = (choice & 0x40) != 0;
    ++data;
    --size;
    std::unique_ptr<char[]> text(new char[size + 1]);
    std::memcpy(text.get(), data, size);
    text[size] = '\0';
    double table[30];
    for (int i = 0; i < 30; ++i) table[i] = i * 0.5 - 3;
    // Values a caller may pass: a NaN with the bits of a string literal's
    // handle pointing far beyond the text, ErrorValue and the infinities.
    const uint64_t forgedHandle = 0xFFFA00000000FFFFull;
    std::memcpy(&table[3], &forgedHandle, sizeof forgedHandle);
    table[4] = ErrorValue;
    table[5] = __builtin_huge_val();
    table[6] = -__builtin_huge_val();
    const double value = EvaluateExpression(text.get(), withTable ? table : nullptr,
                                            withTable ? variableCount : 0, base);
    // The text is never changed.
    if (std::memcmp(text.get(), data, size) != 0) __builtin_trap();
    if (choice & 0x80) {
        const size_t first = std::strlen(text.get());
        const double other =
            first < size ? EvaluateExpression(text.get() + first + 1, nullptr, 0, base) : 24;
        const double lcm = LcmOf(value, other);
        const double bySteps = LcmBySteps(value, other, kLcmStepBound);
        if (!std::isnan(bySteps) && std::memcmp(&lcm, &bySteps, sizeof lcm) != 0) __builtin_trap();
    }
    return 0;
}
