#include "window/calc_line.h"

#include "expr/compiled_expression.h"
#include "expr/evaluate.h"
#include "expr/tokenizer.h"
#include "text/temp_format.h"
#include "window/exact_number.h"

#include <cmath>

#include <cstring>
#include <string>

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

// The position in before of the character at offset in after, where after
// is before with every word replaced by a text of replacementLength
// characters: a character inside a replacement stands for its word's start.
int OffsetBeforeReplacing(const char* before, const char* word, size_t replacementLength,
                          int offset) {
    const size_t wordLength = std::strlen(word);
    const int replaced = static_cast<int>(replacementLength);
    int i = 0, j = 0;
    for (;;) {
        if (wordLength > 0 && std::strncmp(before + i, word, wordLength) == 0) {
            if (offset - j < replaced) return i;
            i += static_cast<int>(wordLength);
            j += replaced;
            continue;
        }
        if (j >= offset || !before[i]) return i;
        ++i;
        ++j;
    }
}

// A report on the expression of line, with its positions moved onto working.
ReadingReport MapReadingToWorking(const ReadingReport& report, const LineExpression& line) {
    if (!line.word) return report;
    const size_t length = std::strlen(line.replacement);
    ReadingReport mapped = report;
    if (report.offset >= 0) {
        mapped.offset = OffsetBeforeReplacing(line.working, line.word, length, report.offset);
        mapped.length =
            OffsetBeforeReplacing(line.working, line.word, length, report.offset + report.length) -
            mapped.offset;
    }
    if (report.ignoredFrom >= 0)
        mapped.ignoredFrom =
            OffsetBeforeReplacing(line.working, line.word, length, report.ignoredFrom);
    return mapped;
}

// The line as typed with blanks in place of every deleted word of line, so
// that no text quoted from it holds a plot's range.
GrowableText LineWithoutDeletedWords(const LineExpression& line) {
    GrowableText shown(line.lineText);
    if (!line.word || *line.replacement || !*line.word) return shown;
    const size_t wordLength = std::strlen(line.word);
    for (const char* at = std::strstr(line.working, line.word); at;
         at = std::strstr(at + wordLength, line.word)) {
        const int start = static_cast<int>(at - line.working);
        const int from = LineOffset(line.lineText, line.working, start);
        const int to =
            LineOffset(line.lineText, line.working, start + static_cast<int>(wordLength));
        if (to <= from) continue;
        shown.Erase(static_cast<size_t>(from), static_cast<size_t>(to - from));
        shown.Insert(static_cast<size_t>(from),
                     std::string(static_cast<size_t>(to - from), ' ').c_str());
    }
    return shown;
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

// The compiled DATA transform reads the value from this variable (z9) of a
// full table, in place of the text of the value.
constexpr int kDataSlot = 259;
constexpr int kDataTableSize = 260;

// The text of a value is a primary of at most two levels of nesting (a
// bracket and a minus sign). Each level takes a character, so in a working
// copy this short DATA never stands deep enough for them to reach the limit.
constexpr size_t kMaxCompiledDataLength = kMaxNestingDepth - 8;

// Whether every DATA of working stands apart: no digit of the base, point or
// comma against it, nor another DATA, so that no number runs into the text
// of a value or out of it.
bool DataStandsAlone(const GrowableText& working, int base) {
    const char* text = working.Text();
    const char* previousEnd = nullptr;
    for (const char* at = std::strstr(text, "DATA"); at; at = std::strstr(at + 4, "DATA")) {
        if (at == previousEnd || std::strncmp(at + 4, "DATA", 4) == 0) return false;
        previousEnd = at + 4;
        if (at > text) {
            const char before = at[-1];
            if (DigitInBase(before, base) >= 0 || before == '.' || before == ',') return false;
        }
        const char after = at[4];
        // A comma after digits groups them, outside argument lists.
        if (DigitInBase(after, base) >= 0 || after == '.' || after == ',') return false;
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

// A DATA expression compiled once, with DATA standing for z9. Usable when
// every DATA is read as a value of its own: then any primary that reads back
// as the value, which is what ExactNumberText writes, gives what z9 does.
struct CompiledDataTransform {
    CompiledExpression program;
    bool usable = false;

    CompiledDataTransform(const GrowableText& working, int base) {
        if (base < 2 || base > 16 || working.Length() > kMaxCompiledDataLength) return;
        if (std::strchr(working.Text(), 'Z') || !DataStandsAlone(working, base)) return;
        GrowableText withVariable(working);
        const size_t occurrences = withVariable.ReplaceEvery("DATA", "Z9");
        usable = ReadsNoVariableButData(withVariable.Text(), base) &&
                 program.Compile(withVariable.Text(), true, kDataTableSize, base) &&
                 program.VariableReads(kDataSlot) == static_cast<int>(occurrences);
    }
};

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

void DescribeLineExpression(const LineExpression& line, double result, char* out, int size) {
    if (!out || size <= 0) return;
    out[0] = '\0';
    GrowableText expression(line.working);
    if (line.word) expression.ReplaceEvery(line.word, line.replacement);
    const ReadingReport report =
        DiagnoseExpression(expression.Text(), line.variables, line.variableCount, line.base);
    if (report.problem == ReadingProblem::None || (EndsLeniently(report) && !std::isnan(result)))
        return;
    const ReadingReport mapped =
        MapReadingToLine(MapReadingToWorking(report, line), line.lineText, line.working);
    DescribeReading(mapped, LineWithoutDeletedWords(line).Text(), out, size);
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

GrowableText PlotRangeText(const GrowableText& working) {
    const size_t open = working.Find('{');
    if (open == GrowableText::kNotFound) return GrowableText();
    const size_t close = working.Find('}', open + 1);
    if (close == GrowableText::kNotFound) return GrowableText();
    return GrowableText(working.Text() + open, close - open + 1);
}

bool TakePlotRange(GrowableText& working, PlotRange& range, FieldEvaluator evaluate, int base) {
    const GrowableText rangeText = PlotRangeText(working);
    if (rangeText.IsEmpty()) return false;

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

void TransformDataValuesCompiled(const GrowableText& working, double* values, int count,
                                 FieldEvaluator evaluate, int base) {
    if (count <= 0) return;
    CompiledDataTransform transform(working, base);
    double table[kDataTableSize] = {};
    for (int i = 0; i < count; ++i) {
        // A NaN's text is 0/0, whose NaN has bits of its own.
        if (transform.usable && !std::isnan(values[i])) {
            table[kDataSlot] = values[i];
            values[i] = transform.program.Evaluate(table);
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
