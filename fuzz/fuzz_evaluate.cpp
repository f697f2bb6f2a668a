// Fuzzes EvaluateExpression with arbitrary text. The first byte chooses the
// base and the variable table; the rest is the text, copied into a buffer of
// exactly its size plus the terminator, so that any read past the end of the
// text is caught. DiagnoseExpression must agree with the evaluator about
// where the reading stopped. When the first byte's top bit is set, the value
// and that of the text after the first NUL meet in LcmOf, which must give what
// the search written out sum by sum gives wherever that ends within its bound.
#include "expr/evaluate.h"
#include "expr/parser.h"
#include "expr/random.h"
#include "expr/reading.h"
#include "fuzz_input.h"
#include "tests/expr/lcm_by_steps.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

namespace {

constexpr unsigned kSeed = 12345;

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

double Evaluate(const std::string& text, const double* variables, int count, int base) {
    SeedRandom(kSeed);
    return EvaluateExpression(text.c_str(), variables, count, base);
}

// The evaluator's own answer to whether it read a text that holds no problem
// to its end: a bracket around the text, then a comparison and a conditional.
// Text that stops the reading earlier leaves the conditional unread. The
// digits 0 and 1 are numbers in every base.
bool EvaluatorReadsToTheEnd(const std::string& text, const double* variables, int count, int base) {
    const std::string open = "(" + text + "\n)=0?";
    return Evaluate(open + "1:1", variables, count, base) == 1 &&
           Evaluate(open + "0:0", variables, count, base) == 0;
}

void CheckReading(const char* text, const double* variables, int count, int base) {
    const std::string whole(text);
    const ReadingReport report = DiagnoseExpression(text, variables, count, base);
    const double value = Evaluate(whole, variables, count, base);
    if (report.ignoredFrom >= 0) {
        // The ignored text changes nothing, and the part before it is read to its end.
        Check(report.ignoredFrom < static_cast<int>(whole.size()));
        const std::string read = whole.substr(0, static_cast<size_t>(report.ignoredFrom));
        Check(SameBits(Evaluate(read, variables, count, base), value));
        Check(DiagnoseExpression(read.c_str(), variables, count, base).ignoredFrom < 0);
        Check(report.problem != ReadingProblem::None);
        return;
    }
    Check(report.problem != ReadingProblem::IgnoredText);
    // The check's bracket adds a level of nesting.
    if (report.problem == ReadingProblem::None && whole.size() < kMaxNestingDepth)
        Check(EvaluatorReadsToTheEnd(whole, variables, count, base));
}

} // namespace

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
    CheckReading(text.get(), withTable ? table : nullptr, withTable ? variableCount : 0, base);
    return 0;
}
