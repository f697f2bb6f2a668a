#include "window/calc_line.h"

#include "expr/compiled_expression.h"
#include "expr/double2.h"
#include "expr/tokenizer.h"
#include "text/convert.h"
#include "text/temp_format.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// Room for "%f" of the largest double (309 digits, sign, point, six fraction
// digits and the terminator).
constexpr int kDataValueSize = 330;

constexpr int kRangeFields = 4;

// The next field of the shrinking range copy: between the first "{" and the
// first "," after it, or, when there is no such comma or nothing stands
// before it, between the "{" and the first "}" after it.
GrowableText NextRangeField(const GrowableText& copy) {
    const size_t open = copy.Find('{');
    if (open == GrowableText::kNotFound) return GrowableText();
    const char* text = copy.Text();
    const size_t comma = copy.Find(',', open + 1);
    if (comma != GrowableText::kNotFound && comma > open + 1)
        return GrowableText(text + open + 1, comma - open - 1);
    const size_t close = copy.Find('}', open + 1);
    if (close == GrowableText::kNotFound) return GrowableText();
    return GrowableText(text + open + 1, close - open - 1);
}

// The compiled DATA transform reads the value from this variable (z9) of a
// full table, in place of the text of the value.
constexpr int kDataSlot = 259;
constexpr int kDataTableSize = 260;

// Below this, |value| * 10^6 is below 2^50: its low part is under 2^-4 and
// the digits are worked out exactly in whole numbers.
constexpr double kFastDigitsLimit = 1125899906.8;

// The text FormatDataValue gives for |value| (finite), worked out without
// the C runtime: |value| 10^6 rounded to a whole number. False where the
// rounding is a tie (which the runtimes may break their own way) or the value
// is too large; FormatDataValue decides there.
bool MagnitudeDigits(double value, char* text) {
    const double magnitude = std::fabs(value);
    if (!(magnitude < kFastDigitsLimit)) return false;
    const Double2 scaled = TwoProduct(magnitude, 1e6); // exact
    uint64_t whole = static_cast<uint64_t>(scaled.hi);
    const Double2 fraction = TwoSum(scaled.hi - static_cast<double>(whole), scaled.lo);
    if (fraction.hi == 0.5 && fraction.lo == 0) return false;
    if (fraction.hi > 0.5 || (fraction.hi == 0.5 && fraction.lo > 0)) ++whole;
    const uint64_t wholePart = whole / 1000000, fractionPart = whole % 1000000;
    char reversed[24];
    int n = 0;
    uint64_t rest = wholePart;
    do {
        reversed[n++] = static_cast<char>('0' + rest % 10);
        rest /= 10;
    } while (rest > 0);
    for (int i = 0; i < n; ++i) text[i] = reversed[n - 1 - i];
    text[n] = '.';
    rest = fractionPart;
    for (int i = 6; i >= 1; --i, rest /= 10) text[n + i] = static_cast<char>('0' + rest % 10);
    text[n + 7] = '\0';
    return true;
}

// The number a base reads from the text of |value| as FormatDataValue writes
// it, read by the tokenizer itself; false when the text is more than one
// number in that base (a digit the base lacks).
bool ReadMagnitude(double value, int base, double* number) {
    char text[kDataValueSize];
    if (!MagnitudeDigits(value, text)) {
        FormatDataValue(std::fabs(value), text, kDataValueSize);
    }
    EvalContext ctx{};
    ctx.text = text;
    ctx.position = text;
    ctx.base = base;
    NextToken(ctx);
    *number = ctx.tokenValue;
    return ctx.token == kTokenNumber && *ctx.position == '\0';
}

// Whether every DATA of working stands where the text of a value, and the
// variable z9 as well, make one primary of their own: no digit of the base,
// point or comma against it, so that no number runs into it or out of it.
bool DataStandsAlone(const GrowableText& working, int base) {
    const char* text = working.Text();
    if (std::strchr(text, 'Z') || std::strchr(text, 'z')) return false; // z9 is DATA's
    const char* previousEnd = nullptr;
    for (const char* at = std::strstr(text, "DATA"); at; at = std::strstr(at + 4, "DATA")) {
        // Two values' texts side by side run into each other.
        if (at == previousEnd || std::strncmp(at + 4, "DATA", 4) == 0) return false;
        previousEnd = at + 4;
        if (at > text) {
            const char before = at[-1];
            if (DigitInBase(before, base) >= 0 || before == '.' || before == ',') return false;
        }
        const char after = at[4];
        if (DigitInBase(after, base) >= 0 || after == '.') return false;
    }
    return true;
}

// Whether text, read with a full table, holds no variable but z9. Letters
// that are no words become variables with a table, one token with their
// digit, which they are not in the text with the value, however the parser
// takes them (a value, or the bracket of an argument list).
bool ReadsNoVariableButData(const char* text, int base) {
    static const double table[kDataTableSize] = {};
    EvalContext ctx{};
    ctx.text = text;
    ctx.position = text;
    ctx.variables = table;
    ctx.variableCount = kDataTableSize;
    ctx.base = base;
    for (NextToken(ctx); ctx.token != kTokenEnd; NextToken(ctx))
        if (ctx.variableIndex >= 0 && ctx.variableIndex != kDataSlot) return false;
    return true;
}

// A DATA expression compiled twice, for values written with and without a
// minus sign: DATA stands for z9, read from a table.
struct CompiledDataTransform {
    CompiledExpression positive, negative;
    bool usable = false;

    CompiledDataTransform(const GrowableText& working, int base) {
        if (!DataStandsAlone(working, base)) return;
        GrowableText plus(working), minus(working);
        plus.ReplaceEvery("DATA", "Z9");
        minus.ReplaceEvery("DATA", "-Z9");
        usable = ReadsNoVariableButData(plus.Text(), base) &&
                 positive.Compile(plus.Text(), true, kDataTableSize, base) &&
                 negative.Compile(minus.Text(), true, kDataTableSize, base);
    }
};

} // namespace

bool EndsWithEquals(const char* text) {
    const size_t length = text ? std::strlen(text) : 0;
    return length > 0 && text[length - 1] == '=';
}

GrowableText NormaliseLine(const char* lineText, int base) {
    GrowableText working(lineText);
    working.DeleteEvery(" ");
    working.UpperCase();
    if (base == 10) {
        working.ReplaceEvery("E+", "*10^+");
        working.ReplaceEvery("E-", "*10^-");
    }
    working.ReplaceEvery("XOR", "xor");
    working.ReplaceEvery("EXP", "exp");
    working.ReplaceEvery("MAX", "max");
    working.DeleteEvery("INFINITY");
    return working;
}

LineKind ClassifyLine(const GrowableText& working) {
    if (working.Find('X') != GrowableText::kNotFound ||
        working.Find('Y') != GrowableText::kNotFound)
        return LineKind::Plot;
    if (working.Find("DATA") != GrowableText::kNotFound) return LineKind::DataTransform;
    return LineKind::Evaluate;
}

bool TakePlotRange(GrowableText& working, PlotRange& range, FieldEvaluator evaluate, int base) {
    const size_t open = working.Find('{');
    if (open == GrowableText::kNotFound) return false;
    const size_t close = working.Find('}', open + 1);
    if (close == GrowableText::kNotFound) return false;
    const GrowableText rangeText(working.Text() + open, close - open + 1);

    double* const fields[kRangeFields] = {&range.from, &range.to, &range.step, &range.count};
    GrowableText copy(rangeText);
    for (double* field : fields) {
        const GrowableText fieldText = NextRangeField(copy);
        if (fieldText.IsEmpty()) continue;
        *field = evaluate(fieldText.Text(), base);
        const size_t at = copy.Find(fieldText.Text());
        if (at != GrowableText::kNotFound) copy.Erase(at, fieldText.Length() + 1);
    }
    working.DeleteEvery(rangeText.Text());
    return true;
}

void ApplyDefaultStep(PlotRange& range, int width) {
    if (range.step <= 0 && range.count <= 0) range.step = (range.to - range.from) / width;
}

void FormatDataValue(double value, char* text, int size) {
    // Both C runtimes spell the non-finite values their own way; these are fixed.
    if (std::isnan(value))
        std::snprintf(text, static_cast<size_t>(size), "nan");
    else if (std::isinf(value))
        std::snprintf(text, static_cast<size_t>(size), value < 0 ? "-inf" : "inf");
    else
        std::snprintf(text, static_cast<size_t>(size), "%f", value);
}

void TransformDataValues(const GrowableText& working, double* values, int count,
                         FieldEvaluator evaluate, int base) {
    char valueText[kDataValueSize];
    for (int i = 0; i < count; ++i) {
        FormatDataValue(values[i], valueText, kDataValueSize);
        GrowableText expression(working);
        expression.ReplaceEvery("DATA", valueText);
        values[i] = evaluate(expression.Text(), base);
    }
}

void TransformDataValuesCompiled(const GrowableText& working, double* values, int count,
                                 FieldEvaluator evaluate, int base) {
    if (count <= 0) return;
    CompiledDataTransform transform(working, base);
    double table[kDataTableSize] = {};
    for (int i = 0; i < count; ++i) {
        const double value = values[i];
        if (transform.usable && std::isfinite(value) &&
            ReadMagnitude(value, base, &table[kDataSlot])) {
            CompiledExpression& program =
                std::signbit(value) ? transform.negative : transform.positive;
            values[i] = program.Evaluate(table);
        } else {
            TransformDataValues(working, values + i, 1, evaluate, base);
        }
    }
}

const char* MakeResultOptions(int digitGrouping, int exponentialNotation) {
    return TempFormat("c %s %s", digitGrouping ? "," : "",
                      exponentialNotation ? "E=0 e=0" : "E=24 e=8");
}

bool KeepsLineSelected(const char* text) {
    return std::strchr(text, 'I') != nullptr;
}
