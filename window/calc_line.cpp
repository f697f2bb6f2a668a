#include "window/calc_line.h"

#include "text/temp_format.h"
#include "window/exact_number.h"

#include <cstring>

namespace {

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

// What NormaliseLine deletes and what its exponent rewrite puts in place of
// the "E" of "E+" and "E-".
constexpr char kDeletedWord[] = "INFINITY";
constexpr char kExponentRewrite[] = "*10^";

bool StartsWithNoCase(const char* text, const char* word) {
    for (; *word; ++text, ++word)
        if (*text != *word && !(*text >= 'a' && *text <= 'z' && *text - 32 == *word)) return false;
    return true;
}

// The position in lineText of the character at offset in its working copy.
// Walks both: a space or an "INFINITY" of the line has nothing in the copy,
// and the "*10^" of a rewritten exponent stands for one "E" of the line.
int LineOffset(const char* lineText, const char* working, int offset) {
    const size_t rewriteLength = std::strlen(kExponentRewrite);
    int i = 0, j = 0;
    for (;;) {
        while (lineText[i] == ' ' || StartsWithNoCase(lineText + i, kDeletedWord))
            i += lineText[i] == ' ' ? 1 : static_cast<int>(std::strlen(kDeletedWord));
        if (j >= offset || !lineText[i] || !working[j]) return i;
        const bool rewritten = (lineText[i] == 'e' || lineText[i] == 'E') &&
                               std::strncmp(working + j, kExponentRewrite, rewriteLength) == 0;
        if (rewritten && offset < j + static_cast<int>(rewriteLength)) return i;
        j += rewritten ? static_cast<int>(rewriteLength) : 1;
        ++i;
    }
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Whether the character before position (at least 1) is the last digit or
// point of a number: of a run of digits, points and grouping commas. After a
// lone letter the run's first digit belongs to a variable name (E1, A1), so
// the number is what follows it; after a word (SQRT, PI) the whole run is one.
bool FollowsNumber(const GrowableText& text, size_t position) {
    const char last = text.At(position - 1);
    if (!IsDigit(last) && last != '.') return false;
    size_t start = position - 1;
    while (start > 0 &&
           (IsDigit(text.At(start - 1)) || text.At(start - 1) == '.' || text.At(start - 1) == ','))
        --start;
    const bool afterLoneLetter =
        start > 0 && IsLetter(text.At(start - 1)) && (start == 1 || !IsLetter(text.At(start - 2)));
    if (afterLoneLetter && IsDigit(text.At(start))) ++start;
    return position > start;
}

// An exponent typed without its sign, as in 2E3 or 1.5E10: an "E" right after
// a number and right before a digit becomes "*10^", as "E+" does.
void RewriteBareExponents(GrowableText& working) {
    for (size_t i = 1; i + 1 < working.Length(); ++i) {
        if (working.At(i) != 'E' || !IsDigit(working.At(i + 1)) || !FollowsNumber(working, i))
            continue;
        working.Erase(i, 1);
        working.Insert(i, "*10^");
    }
}

} // namespace

ReadingReport MapReadingToLine(const ReadingReport& report, const char* lineText,
                               const char* working) {
    ReadingReport mapped = report;
    if (report.offset >= 0) {
        mapped.offset = LineOffset(lineText, working, report.offset);
        mapped.length =
            LineOffset(lineText, working, report.offset + report.length) - mapped.offset;
    }
    if (report.ignoredFrom >= 0)
        mapped.ignoredFrom = LineOffset(lineText, working, report.ignoredFrom);
    return mapped;
}

bool EndsWithEquals(const char* text) {
    const size_t length = text ? std::strlen(text) : 0;
    if (length == 0 || text[length - 1] != '=') return false;
    // "<", ">" and "!" never end an expression: an "=" after one of them is
    // the second character of "<=", ">=" or "!=".
    return length == 1 || std::strchr("<>!", text[length - 2]) == nullptr;
}

GrowableText NormaliseLine(const char* lineText, int base) {
    GrowableText working(lineText);
    working.DeleteEvery(" ");
    working.UpperCase();
    if (base == 10) {
        working.ReplaceEvery("E+", "*10^+");
        working.ReplaceEvery("E-", "*10^-");
        RewriteBareExponents(working);
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

void TransformDataValues(const GrowableText& working, double* values, int count,
                         FieldEvaluator evaluate, int base) {
    for (int i = 0; i < count; ++i) {
        GrowableText expression(working);
        expression.ReplaceEvery("DATA", ExactNumberText(values[i], base).Text());
        values[i] = evaluate(expression.Text(), base);
    }
}

const char* MakeResultOptions(int digitGrouping, int exponentialNotation) {
    return TempFormat("c %s %s", digitGrouping ? "," : "",
                      exponentialNotation ? "E=0 e=0" : "E=24 e=8");
}

bool KeepsLineSelected(const char* text) {
    return std::strchr(text, 'I') != nullptr;
}
