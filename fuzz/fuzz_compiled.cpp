// Fuzzes the compiled form of expressions against EvaluateExpression: any text
// in any base, compiled once and evaluated for several variable tables, must
// give the same bits through both, and make the same number of draws from the
// random generator; and many values along one entry of a table at a time must
// give what they give one by one. The input is a choice byte (base and table,
// as for fuzz_evaluate), eight bytes that choose the tables, then the text.
#include "expr/compiled_expression.h"
#include "expr/evaluate.h"
#include "expr/random.h"
#include "fuzz_input.h"

#include <cstdint>
#include <cstring>
#include <memory>

namespace {

constexpr int kTableEntries = 30;
constexpr int kTables = 4;

// What a table entry may hold: ordinary numbers, the edges of the doubles,
// and NaNs of every kind a caller's data may carry, among them ones that are,
// or become through negation and arithmetic, the bits of a literal's handle.
double TableValue(uint64_t random) {
    static const uint64_t kSpecialBits[] = {
        0xFFFA000000000000ull, 0xFFFA000000000003ull, 0x7FFA000000000001ull, 0xFFF2000000000002ull,
        0x7FF2000000000000ull, 0x7FF0000000000001ull, 0xFFF0000000000001ull, 0x7FF8000000000000ull,
        0xFFF8000000000000ull, 0xFFFFFFFFFFFFFFFFull, 0x7FF0000000000000ull, 0xFFF0000000000000ull,
        0x8000000000000000ull, 0x0000000000000001ull, 0x7FEFFFFFFFFFFFFFull,
    };
    const unsigned kind = random & 7;
    random >>= 3;
    double value;
    switch (kind) {
    case 0: value = static_cast<double>(static_cast<int>(random % 41) - 20); break;
    case 1: value = (static_cast<double>(random % 2001) - 1000) / 8; break;
    case 2:
        std::memcpy(&value, &kSpecialBits[random % std::size(kSpecialBits)], sizeof value);
        break;
    default: std::memcpy(&value, &random, sizeof value); // any bits at all
    }
    return value;
}

uint64_t NextRandom(uint64_t& state) {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return state ^ (state >> 29);
}

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in{data, size};
    const uint8_t choice = in.Byte();
    const int base = 2 + (choice & 0x0F) % 15; // 2 to 16
    static const int kCounts[] = {0, 1, 26, 30};
    const int variableCount = kCounts[(choice >> 4) & 3];
    const bool withTable = (choice & 0x40) != 0;
    uint64_t state = uint64_t{in.Bits32()} << 32 | in.Bits32();
    const size_t length = in.Done() ? 0 : size - in.at;
    std::unique_ptr<char[]> text(new char[length + 1]);
    if (length) std::memcpy(text.get(), data + in.at, length);
    text[length] = '\0';

    CompiledExpression compiled;
    compiled.Compile(text.get(), withTable, variableCount, base);
    for (int t = 0; t < kTables; ++t) {
        double table[kTableEntries];
        for (double& entry : table) entry = TableValue(NextRandom(state));
        const double* variables = withTable ? table : nullptr;
        const unsigned seed = static_cast<unsigned>(NextRandom(state));
        SeedRandom(seed);
        const double expected = EvaluateExpression(text.get(), variables, variableCount, base);
        const int nextDraws[2] = {DrawRandom(), DrawRandom()};
        SeedRandom(seed);
        const double value = compiled.Evaluate(variables);
        Check(SameBits(value, expected));
        Check(DrawRandom() == nextDraws[0] && DrawRandom() == nextDraws[1]);
    }
    // Many values along one entry at a time against the same one by one.
    if (withTable && variableCount > 0) {
        double table[kTableEntries], oneByOne[kTableEntries];
        for (int i = 0; i < kTableEntries; ++i)
            table[i] = oneByOne[i] = TableValue(NextRandom(state));
        const int slot = static_cast<int>(NextRandom(state) % variableCount);
        const double step = TableValue(NextRandom(state));
        const int count = static_cast<int>(NextRandom(state) % 200);
        double alongX[200];
        SeedRandom(1);
        if (compiled.EvaluateAlongX(table, slot, step, alongX, count)) {
            const int next = DrawRandom();
            SeedRandom(1);
            Check(next == DrawRandom()); // drew nothing
            for (int k = 0; k < count; ++k, oneByOne[slot] += step)
                Check(SameBits(alongX[k], compiled.Evaluate(oneByOne)));
            Check(SameBits(table[slot], oneByOne[slot]));
        }
    }
    return 0;
}
