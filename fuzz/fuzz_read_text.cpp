// Fuzzes the text data parser that ReadDataFile uses. The first byte chooses
// multipliers, a column equation and the read block size; the rest is the
// text. Checked for every input: the values never exceed a capacity of
// size / 2 + 4 (the most that text of that size can hold), reading through
// blocks of any size gives exactly the values of one whole parse, and without
// an equation every value equals what an independent scan with the C
// library's strtod (correctly rounded with glibc) gives.
#include "datafiles/text_data_parser.h"
#include "expr/evaluate.h"
#include "fuzz_input.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

double Combine(const char* equation, const double* numbers, int count) {
    return EvaluateExpression(equation, numbers, count, 10);
}

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The values that the grammar gives, found by a plain scan of the whole text.
std::vector<double> Reference(const std::string& text, bool multipliers) {
    std::vector<double> values;
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (!IsDigit(c) && c != '-' && c != '.') {
            ++i;
            continue;
        }
        size_t j = i + (c == '-');
        size_t figures = 0;
        while (j < text.size() && IsDigit(text[j])) ++j, ++figures;
        if (j < text.size() && text[j] == '.') {
            ++j;
            while (j < text.size() && IsDigit(text[j])) ++j, ++figures;
        }
        if (figures == 0) {
            ++i;
            continue;
        }
        if (j < text.size() && (text[j] == 'e' || text[j] == 'E')) {
            size_t k = j + 1;
            if (k < text.size() && (text[k] == '+' || text[k] == '-')) ++k;
            const size_t exponentStart = k;
            while (k < text.size() && IsDigit(text[k])) ++k;
            if (k > exponentStart) j = k;
        }
        double value = std::strtod(text.substr(i, j - i).c_str(), nullptr);
        if (multipliers && j < text.size()) {
            if (text[j] == 'K') value *= std::pow(10.0, 3);
            if (text[j] == 'M') value *= std::pow(10.0, 6);
            if (text[j] == 'B') value *= std::pow(10.0, 9);
            if (text[j] == 'T') value *= std::pow(10.0, 12);
        }
        values.push_back(value);
        i = j;
    }
    return values;
}

struct Source {
    const std::string* text;
    size_t position;
};

uint32_t ReadSource(void* context, char* buffer, uint32_t count) {
    Source& source = *static_cast<Source*>(context);
    const size_t left = source.text->size() - source.position;
    const size_t n = count < left ? count : left;
    std::memcpy(buffer, source.text->data() + source.position, n);
    source.position += n;
    return static_cast<uint32_t>(n);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    FuzzInput in{data, size};
    const uint8_t choice = in.Byte();
    const bool multipliers = choice & 1;
    const char* equation = (choice & 2) ? "a+b*c" : nullptr;
    const size_t blockSize = 1 + (choice >> 2);
    const std::string text = in.Rest();
    const size_t capacity = text.size() / 2 + 4;

    std::vector<double> whole(capacity + 1);
    TextDataParser once(whole.data(), capacity, multipliers, equation, Combine);
    Check(once.Parse(text.data(), text.size(), true) == text.size());
    once.Finish();
    Check(once.Count() <= capacity);

    std::vector<double> blocks(capacity + 1);
    TextDataParser inBlocks(blocks.data(), capacity, multipliers, equation, Combine);
    Source source{&text, 0};
    Check(ParseTextStream(ReadSource, &source, text.size(), blockSize, inBlocks));
    Check(inBlocks.Count() == once.Count());
    for (size_t i = 0; i < once.Count(); ++i) Check(SameBits(whole[i], blocks[i]));

    if (!equation) {
        const std::vector<double> expected = Reference(text, multipliers);
        Check(expected.size() == once.Count());
        for (size_t i = 0; i < expected.size(); ++i) Check(SameBits(expected[i], whole[i]));
    }
    return 0;
}
