#include "expr/reading.h"

#include "expr/evaluate.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Quoted texts longer than this are cut, with "..." after them.
constexpr size_t kMaxQuoted = 24;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsNameCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// length characters of text from offset, without blanks at the end, cut to
// kMaxQuoted.
std::string Excerpt(const char* text, int offset, size_t length) {
    std::string part(text + offset, length);
    while (!part.empty() && IsBlank(part.back())) part.pop_back();
    if (part.size() > kMaxQuoted) part = part.substr(0, kMaxQuoted) + "...";
    return part;
}

// A name that names nothing, as far as it runs, in upper case (names are
// read without regard to case).
std::string NameAt(const char* text, int offset) {
    size_t length = 0;
    while (IsNameCharacter(text[offset + length])) ++length;
    std::string name = Excerpt(text, offset, length ? length : 1);
    for (char& c : name)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return name;
}

const char* PunctuationName(char expected) {
    switch (expected) {
    case '(': return "opening bracket";
    case ')': return "closing bracket";
    case ':': return "':'";
    default: return "','";
    }
}

} // namespace

bool EndsLeniently(const ReadingReport& report) {
    return report.problem == ReadingProblem::MissingPunctuation && report.length == 0;
}

void DescribeReading(const ReadingReport& report, const char* text, char* out, int size) {
    if (!out || size <= 0) return;
    out[0] = '\0';
    if (!text) return;
    const size_t n = static_cast<size_t>(size);
    const int column = report.offset + 1;
    const std::string token =
        report.offset >= 0 ? Excerpt(text, report.offset, static_cast<size_t>(report.length)) : "";
    switch (report.problem) {
    case ReadingProblem::None: break;
    case ReadingProblem::UnexpectedToken:
        std::snprintf(out, n, "unexpected '%s' at column %d", token.c_str(), column);
        break;
    case ReadingProblem::MissingOperand:
        if (report.length == 0)
            std::snprintf(out, n, "nothing to read");
        else
            std::snprintf(out, n, "missing operand after '%s' (column %d)", token.c_str(), column);
        break;
    case ReadingProblem::MissingPunctuation:
        if (report.length == 0)
            std::snprintf(out, n, "missing %s at the end", PunctuationName(report.expected));
        else
            std::snprintf(out, n, "missing %s before '%s' (column %d)",
                          PunctuationName(report.expected), token.c_str(), column);
        break;
    case ReadingProblem::UnknownName:
        std::snprintf(out, n, "unknown name '%s' at column %d", NameAt(text, report.offset).c_str(),
                      column);
        break;
    case ReadingProblem::TooDeep:
        std::snprintf(out, n, "nested deeper than %d levels at column %d", kMaxNestingDepth,
                      column);
        break;
    case ReadingProblem::UnterminatedString:
        std::snprintf(out, n, "unterminated string from column %d", column);
        break;
    case ReadingProblem::IgnoredText: {
        const int from = report.ignoredFrom;
        std::string read = Excerpt(text, 0, static_cast<size_t>(from));
        read.erase(0, read.find_first_not_of(" \t\r\n")); // blanks before it, too
        const std::string rest = Excerpt(text, from, std::strlen(text + from));
        std::snprintf(out, n, "%s; ignored from column %d: '%s'", read.c_str(), from + 1,
                      rest.c_str());
        break;
    }
    }
}
