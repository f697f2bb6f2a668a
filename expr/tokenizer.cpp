#include "expr/tokenizer.h"

#include "expr/portable_math.h"
#include "text/convert.h"

#include <cmath>
#include <cstring>
#include <iterator>

namespace {

// Arc cosine of -1, the value of the word "pi".
const double kPi = PortableAcos(-1.0);

constexpr int32_t kTokenPi = kTokenNumber;

struct WordEntry {
    const char* text; // lower case; matched case-insensitively
    int32_t token;
};

// Tried in this order; the first word that is a prefix of the text wins.
constexpr WordEntry kWordTable[] = {
    {"not", kTokenNot},   {"and", kTokenAnd},   {"xor", kTokenXor},   {"or", kTokenOr},
    {"sqrt", kTokenSqrt}, {"neg", kTokenNeg},   {"inv", kTokenInv},   {"abs", kTokenAbs},
    {"cos", kTokenCos},   {"sin", kTokenSin},   {"tan", kTokenTan},   {"acos", kTokenAcos},
    {"asin", kTokenAsin}, {"atan", kTokenAtan}, {"log", kTokenLog},   {"ln", kTokenLn},
    {"exp", kTokenExp},   {"pow", kTokenPow},   {"min", kTokenMin},   {"max", kTokenMax},
    {"sum", kTokenSum},   {"prod", kTokenProd}, {"avg", kTokenAvg},   {"ave", kTokenAvg},
    {"rnd", kTokenRnd},   {"int", kTokenInt},   {"rem", kTokenRem},   {"mod", kTokenMod},
    {"rand", kTokenRand}, {"cond", kTokenCond}, {"ifte", kTokenCond}, {"fact", kTokenFact},
    {"lcm", kTokenLcm},   {"gcd", kTokenGcd},   {"pi", kTokenPi},
};
static_assert(std::size(kWordTable) == kWordCount, "word table and word count disagree");

constexpr bool WordCodesAgree() {
    for (const WordEntry& w : kWordTable) {
        const bool alias = w.token == kTokenAvg || w.token == kTokenCond || w.token == kTokenPi;
        if (w.token != PackToken(w.text) && !alias) return false;
    }
    return true;
}
static_assert(WordCodesAgree(), "a word's token code is not its packed text");

// For each first letter a to z, the table entries that begin with it, in
// table order, so that a letter is checked only against its own words.
constexpr int kMaxWordsPerLetter = 8;
struct WordIndex {
    uint8_t count[26] = {};
    uint8_t entry[26][kMaxWordsPerLetter] = {};
};
constexpr WordIndex MakeWordIndex() {
    WordIndex index;
    for (size_t i = 0; i < std::size(kWordTable); ++i) {
        const int letter = kWordTable[i].text[0] - 'a';
        index.entry[letter][index.count[letter]++] = static_cast<uint8_t>(i);
    }
    return index;
}
constexpr bool WordIndexFits() {
    int count[26] = {};
    for (const WordEntry& w : kWordTable)
        if (++count[w.text[0] - 'a'] > kMaxWordsPerLetter) return false;
    return true;
}
static_assert(WordIndexFits(), "too many words share a first letter");
constexpr WordIndex kWordIndex = MakeWordIndex();

// Folds only A to Z to lower case; other bytes stay as they are.
inline char FoldLetter(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

inline bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

double MakeLiteralHandle(size_t offset) {
    return FromBits(kLiteralTag | static_cast<uint64_t>(offset));
}

// Matches a word of the table at p: its entry, with its length in length;
// null when no word begins there.
const WordEntry* MatchWord(const char* p, size_t* length) {
    const char first = FoldLetter(*p);
    const int letter = first - 'a';
    for (int k = 0; k < kWordIndex.count[letter]; ++k) {
        const WordEntry& entry = kWordTable[kWordIndex.entry[letter][k]];
        size_t n = 1;
        while (entry.text[n] && FoldLetter(p[n]) == entry.text[n]) ++n;
        if (!entry.text[n]) {
            *length = n;
            return &entry;
        }
    }
    return nullptr;
}

// Reads a numeral that starts at ctx.position with a digit or ".".
void ReadNumber(EvalContext& ctx) {
    const char* p = ctx.position;
    const int base = ctx.base;
    double value = 0;
    int digit;
    if (*p != '.') {
        value = DigitInBase(*p++, base);
        for (;;) {
            if (*p == ',' && ctx.argumentListDepth == 0) {
                ++p; // digit grouping
                continue;
            }
            digit = DigitInBase(*p, base);
            if (digit < 0) break;
            value = value * base + digit;
            ++p;
        }
    }
    if (*p == '.') {
        ++p;
        double divisor = 1;
        while ((digit = DigitInBase(*p, base)) >= 0) {
            divisor *= base;
            if (digit != 0) value += digit / divisor; // adding 0 would change nothing

            ++p;
        }
    }
    ctx.tokenValue = value;
    ctx.position = p;
}

void ReadVariable(EvalContext& ctx) {
    const char* p = ctx.position;
    int index = FoldLetter(*p++) - 'a';
    if (*p >= '0' && *p <= '9') index += 26 * (*p++ - '0');
    ctx.position = p;
    if (index < ctx.variableCount)
        ctx.variableIndex = index;
    else if (ctx.variableCount == 1)
        ctx.variableIndex = 0;
    else
        return; // no entry: the value is 0
    ctx.tokenValue = ctx.variables[ctx.variableIndex];
}

// A token that starts with a letter: a word, a numeral, a variable or an
// "other" token, tried in this order.
void ReadLetters(EvalContext& ctx) {
    size_t length;
    if (const WordEntry* word = MatchWord(ctx.position, &length)) {
        ctx.position += length;
        ctx.token = word->token;
        if (word->token == kTokenPi) ctx.tokenValue = kPi;
    } else if (DigitInBase(*ctx.position, ctx.base) >= 0) {
        ReadNumber(ctx);
    } else if (ctx.variables) {
        ReadVariable(ctx);
    } else {
        ctx.token = static_cast<unsigned char>(*ctx.position++);
    }
}

void ReadString(EvalContext& ctx) {
    const char* open = ctx.position;
    const char* close = std::strchr(open + 1, '"');
    ctx.position = close ? close + 1 : open + 1 + std::strlen(open + 1);
    ctx.token = kTokenString;
    ctx.tokenValue = MakeLiteralHandle(static_cast<size_t>(open - ctx.text));
}

// The operators of two or fewer characters at p; sets the token and returns
// the length, or 0 when none begins there.
int ReadOperator(EvalContext& ctx, const char* p) {
    const char c = p[0], next = p[1];
    switch (c) {
    case '^': ctx.token = next == '|' ? kTokenBitXor : '^'; return next == '|' ? 2 : 1;
    case '>': ctx.token = next == '=' ? kTokenGreaterEqual : '>'; return next == '=' ? 2 : 1;
    case '<':
        if (next == '=') return ctx.token = kTokenLessEqual, 2;
        if (next == '>') return ctx.token = kTokenContains, 2;
        ctx.token = '<';
        return 1;
    case '=': ctx.token = kTokenEqual; return next == '=' ? 2 : 1;
    case '!': ctx.token = next == '=' ? kTokenNotEqual : '!'; return next == '=' ? 2 : 1;
    default: return 0;
    }
}

} // namespace

int DigitInBase(char c, int base) {
    if (base < 2 || base > 16) return -1;
    int value;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    else
        return -1;
    return value < base ? value : -1;
}

void NextToken(EvalContext& ctx) {
    ctx.token = kTokenNumber;
    ctx.tokenValue = 0;
    ctx.previousTokenStart = ctx.tokenStart;
    ctx.previousTokenEnd = ctx.position;
    ctx.variableIndex = -1;
    const char* p = ctx.position;
    while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n') ++p;
    ctx.position = p;
    ctx.tokenStart = p;
    const char c = *p;
    switch (c) {
    case '\0': ctx.token = kTokenEnd; return;
    case '+':
    case '-':
    case '*':
    case '/':
    case '%':
    case '|':
    case '&':
    case ',':
    case '(':
    case ')':
    case '[':
    case ']':
    case '{':
    case '}':
    case '?':
    case ':':
        ctx.token = c;
        ctx.position = p + 1;
        return;
    case '^':
    case '>':
    case '<':
    case '=':
    case '!': ctx.position = p + ReadOperator(ctx, p); return;
    case '"': ReadString(ctx); return;
    case '.': ReadNumber(ctx); return;
    default: break;
    }
    if (IsLetter(c)) return ReadLetters(ctx);
    if (DigitInBase(c, ctx.base) >= 0) return ReadNumber(ctx);
    ctx.token = static_cast<unsigned char>(c);
    ctx.position = p + 1;
}

bool FindLiteralText(const EvalContext& ctx, double handle, const char** begin, size_t* length,
                     bool* closed) {
    if (!IsLiteralHandle(handle)) return false;
    // Only text already read can hold a literal; this also keeps a forged
    // handle (a NaN from the caller's variables) inside the text.
    const uint64_t offset = BitsOf(handle) & ~kLiteralTagMask;
    if (offset >= static_cast<uint64_t>(ctx.position - ctx.text)) return false;
    const char* open = ctx.text + offset;
    if (*open != '"') return false;
    const char* close = std::strchr(open + 1, '"');
    *begin = open + 1;
    *closed = close != nullptr;
    *length = close ? static_cast<size_t>(close - (open + 1)) : std::strlen(open + 1);
    return true;
}
