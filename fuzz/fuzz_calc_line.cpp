// Fuzzes the text work of the calculation line and of the command line with
// any bytes a user can type or a shell can pass: normalising, classifying,
// taking a plot range, DATA transforms, the command-line argument and the
// "/cmd=" number. Checks what must hold for every text: no spaces or lower
// case letters left by the normalising (but for the three words it writes in
// lower case), a classification that agrees with the text, a range taken or
// the text left as it was, DATA standing for exactly any value, and the
// argument and number rules.
#include "expr/evaluate.h"
#include "expr/random.h"
#include "text/growable_text.h"
#include "window/calc_line.h"
#include "window/command_line.h"
#include "fuzz_input.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

double Evaluate(const char* text, int base) {
    return EvaluateExpression(text, nullptr, 0, base);
}

void CheckNormalised(const GrowableText& working) {
    GrowableText rest(working);
    rest.DeleteEvery("xor");
    rest.DeleteEvery("exp");
    rest.DeleteEvery("max");
    for (size_t i = 0; i < rest.Length(); ++i) {
        const char c = rest.At(i);
        Check(c != ' ' && !(c >= 'a' && c <= 'z'));
    }
    const bool plot = working.Find('X') != GrowableText::kNotFound ||
                      working.Find('Y') != GrowableText::kNotFound;
    const LineKind kind = ClassifyLine(working);
    Check(plot == (kind == LineKind::Plot));
    if (!plot) Check(working.Contains("DATA") == (kind == LineKind::DataTransform));
}

void CheckRange(GrowableText working, int base, int width) {
    const std::string before = working.Text();
    const size_t open = before.find('{');
    const size_t close = open == std::string::npos ? open : before.find('}', open + 1);
    PlotRange range;
    const bool taken = TakePlotRange(working, range, Evaluate, base);
    Check(taken == (close != std::string::npos));
    if (!taken) {
        Check(before == working.Text());
        Check(range.from == -10 && range.to == 10 && range.step == 0 && range.count == 0);
        return;
    }
    const std::string rangeText = before.substr(open, close - open + 1);
    // Deleting every copy of the range text removes this one at least; a
    // copy can form again in front of where the search goes on.
    Check(working.Length() + rangeText.size() <= before.size());
    ApplyDefaultStep(range, width);
}

void CheckArgument(const char* commandLine) {
    GrowableText argument;
    if (!TakeCommandLineArgument(commandLine, argument)) {
        Check(argument.IsEmpty());
        return;
    }
    const size_t n = argument.Length();
    Check(n > 0);
    // The spaces are trimmed before the quotes go, so spaces that stood
    // inside quotes may still begin or end it; the quotes are all gone.
    Check(argument.Find('"') == GrowableText::kNotFound);
}

// atoi's reading with the overflow saturated, from the C library's strtoll.
int OracleNumber(const char* text) {
    while (*text == ' ' || (*text >= '\t' && *text <= '\r')) ++text;
    // strtoll would skip further white space after a sign; atoi's digits
    // must follow the sign directly.
    if ((text[0] == '-' || text[0] == '+') && !(text[1] >= '0' && text[1] <= '9')) return 0;
    const long long value = std::strtoll(text, nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    FuzzInput in{data, size};
    const uint8_t choice = in.Byte();
    const int base = (choice & 3) == 0 ? 2 : (choice & 3) == 1 ? 8 : (choice & 3) == 2 ? 10 : 16;
    const int width = in.Byte() - 64; // negative, zero and positive graph widths
    // The line holds at most 1535 characters and stops at a NUL.
    std::string text = in.Rest();
    text = text.c_str();
    if (text.size() >= static_cast<size_t>(kLineBufferSize)) text.resize(kLineBufferSize - 1);

    const bool comparison = text.size() >= 2 && std::strchr("<>!", text[text.size() - 2]);
    Check(EndsWithEquals(text.c_str()) == (!text.empty() && text.back() == '=' && !comparison));
    const GrowableText working = NormaliseLine(text.c_str(), base);
    CheckNormalised(working);
    CheckRange(working, base, width);
    if (ClassifyLine(working) == LineKind::DataTransform) {
        // The compiled transform gives the same bits and draws as the text.
        double values[6] = {0, -1.5, 1e308, -0.0, 0.0078125, 255.75};
        double compiled[6];
        std::memcpy(compiled, values, sizeof values);
        SeedRandom(size);
        TransformDataValues(working, values, 6, Evaluate, base);
        const int nextDraw = DrawRandom();
        SeedRandom(size);
        TransformDataValuesCompiled(working, compiled, 6, Evaluate, base);
        Check(std::memcmp(values, compiled, sizeof values) == 0 && DrawRandom() == nextDraw);
    }
    // DATA stands for exactly each value: DATA alone gives any double back.
    if (size >= 10) {
        FuzzInput bits{data + 2, size - 2};
        double value, back;
        bits.Copy(&value, sizeof value);
        back = value;
        TransformDataValues(GrowableText("DATA"), &back, 1, Evaluate, base);
        Check(value != value || std::memcmp(&back, &value, sizeof value) == 0);
    }

    CheckArgument(text.c_str());
    if (text.compare(0, 5, "/cmd=") == 0) {
        int id = 0;
        Check(ReadCommandArgument(text.c_str(), id));
        Check(id == OracleNumber(text.c_str() + 5));
    } else {
        int id = 7;
        Check(!ReadCommandArgument(text.c_str(), id));
    }
    Check(ParseCommandNumber(text.c_str()) == OracleNumber(text.c_str()));
    return 0;
}
