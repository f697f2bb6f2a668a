#pragma once
// The tokenizer of the expression language: reads one token at a time from the
// text of an expression into an EvalContext.
#include <cstddef>
#include <cstdint>
#include <cstring>

// Packs the canonical text of a multi-character token into its code, first
// character in the most significant used byte ("==" is 0x3D3D).
constexpr int32_t PackToken(const char* text) {
    uint32_t code = 0;
    for (size_t i = 0; text[i]; ++i) code = (code << 8) | static_cast<unsigned char>(text[i]);
    return static_cast<int32_t>(code);
}

// A single-character token is the character's own code (0 to 255); these three
// kinds are negative so that they never meet a character or a packed text.
constexpr int32_t kTokenNumber = -1;
constexpr int32_t kTokenString = -2;
constexpr int32_t kTokenEnd = -3;

constexpr int32_t kTokenBitXor = PackToken("^|");
constexpr int32_t kTokenGreaterEqual = PackToken(">=");
constexpr int32_t kTokenLessEqual = PackToken("<=");
constexpr int32_t kTokenEqual = PackToken("==");
constexpr int32_t kTokenNotEqual = PackToken("!=");
constexpr int32_t kTokenContains = PackToken("<>");

constexpr int32_t kTokenNot = PackToken("not");
constexpr int32_t kTokenAnd = PackToken("and");
constexpr int32_t kTokenXor = PackToken("xor");
constexpr int32_t kTokenOr = PackToken("or");
constexpr int32_t kTokenSqrt = PackToken("sqrt");
constexpr int32_t kTokenNeg = PackToken("neg");
constexpr int32_t kTokenInv = PackToken("inv");
constexpr int32_t kTokenAbs = PackToken("abs");
constexpr int32_t kTokenCos = PackToken("cos");
constexpr int32_t kTokenSin = PackToken("sin");
constexpr int32_t kTokenTan = PackToken("tan");
constexpr int32_t kTokenAcos = PackToken("acos");
constexpr int32_t kTokenAsin = PackToken("asin");
constexpr int32_t kTokenAtan = PackToken("atan");
constexpr int32_t kTokenLog = PackToken("log");
constexpr int32_t kTokenLn = PackToken("ln");
constexpr int32_t kTokenExp = PackToken("exp");
constexpr int32_t kTokenPow = PackToken("pow");
constexpr int32_t kTokenMin = PackToken("min");
constexpr int32_t kTokenMax = PackToken("max");
constexpr int32_t kTokenSum = PackToken("sum");
constexpr int32_t kTokenProd = PackToken("prod");
constexpr int32_t kTokenAvg = PackToken("avg");
constexpr int32_t kTokenRnd = PackToken("rnd");
constexpr int32_t kTokenInt = PackToken("int");
constexpr int32_t kTokenRem = PackToken("rem");
constexpr int32_t kTokenMod = PackToken("mod");
constexpr int32_t kTokenRand = PackToken("rand");
constexpr int32_t kTokenCond = PackToken("cond");
constexpr int32_t kTokenFact = PackToken("fact");
constexpr int32_t kTokenLcm = PackToken("lcm");
constexpr int32_t kTokenGcd = PackToken("gcd");

// The number of words the tokenizer knows ("ave", "ifte" and "pi" included).
constexpr int kWordCount = 35;

struct ReadingReport;

// The whole state of one evaluation.
struct EvalContext {
    const char* text;     // start of the expression, for string literal handles
    const char* position; // next character to read
    int32_t token;
    double tokenValue;     // number value or string literal handle; 0 otherwise
    int32_t variableIndex; // the table entry a number token was read from; -1 for none
    const double* variables;
    int32_t variableCount;
    int32_t base;
    int32_t argumentListDepth; // open argument lists: "," separates inside them
    int32_t nestingDepth;      // open brackets, prefix operators and conditionals
    bool tooDeep;              // nesting went past kMaxNestingDepth
    // Where the current and the previous token stand in the text, for the
    // reading report; null before the first token.
    const char* tokenStart;
    const char* previousTokenStart;
    const char* previousTokenEnd;
    ReadingReport* report; // null, or where a diagnosing reading notes problems
};

// The value of c as a digit of base (2 to 16), or -1 when it is none.
int DigitInBase(char c, int base);

// Reads the next token at ctx.position into ctx.token and ctx.tokenValue.
void NextToken(EvalContext& ctx);

// A string literal's value is a NaN whose payload holds the offset of its
// opening quote in the text: sign set, quiet, then the tag bits 010 and a
// 48-bit offset. Arithmetic makes no such NaN by itself (its own NaN is
// 0xFFF8... and ErrorValue is all ones); it only passes one on.
constexpr uint64_t kLiteralTag = 0xFFFA000000000000ull;
constexpr uint64_t kLiteralTagMask = 0xFFFF000000000000ull;

inline bool IsLiteralHandle(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return (bits & kLiteralTagMask) == kLiteralTag;
}

// Whether value, a NaN from outside the text, could become a literal's handle
// on its way through the arithmetic: operations make a NaN quiet and "-" and
// "abs" change its sign, so the tag bits match with either sign and with the
// quiet bit clear as well.
inline bool MayBecomeLiteralHandle(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return ((bits >> 48) & 0x7FF7) == ((kLiteralTag >> 48) & 0x7FF7);
}

// Finds the text of the literal behind handle: sets begin and length (the
// characters between the quotes) and closed (whether the closing quote is
// there). False when value is no handle of a literal of ctx's text.
bool FindLiteralText(const EvalContext& ctx, double handle, const char** begin, size_t* length,
                     bool* closed);
