#include "text/growable_text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

constexpr size_t kNotFound = GrowableText::kNotFound;

TEST(GrowableText, ReplaceEverySearchesOnFromTheInsertedText) {
    const struct {
        const char* text;
        const char* from;
        const char* to;
        const char* expected;
        size_t count;
    } cases[] = {
        // The calculation line's normalisation.
        {"1E+3", "E+", "*10^+", "1*10^+3", 1},
        {"2E+3E+4-1E-2", "E+", "*10^+", "2*10^+3*10^+4-1E-2", 2},
        {"MAX(1,2)+MAX(3,4)", "MAX", "max", "max(1,2)+max(3,4)", 2},
        {"SIN( X ) {0,6*PI}", " ", "", "SIN(X){0,6*PI}", 3},
        // to lacks from: the search goes on where to was inserted, so a match
        // made of to and what follows counts, one made with what precedes
        // does not.
        {"aabb", "ab", "a", "aa", 2},
        {"abab", "ab", "b", "bb", 2},
        {"aabb", "ab", "", "ab", 1},
        {"ININFINITYFINITY", "INFINITY", "", "INFINITY", 1},
        {"aaaa", "aa", "a", "a", 3},
        // to contains from: the search goes on just after to.
        {"XXX", "X", "xX", "xXxXxX", 3},
        {"aaa", "a", "aa", "aaaaaa", 3},
        {"DATA*DATA", "DATA", "(DATA)", "(DATA)*(DATA)", 2},
        // Nothing to replace.
        {"abc", "x", "y", "abc", 0},
        {"abc", "", "y", "abc", 0},
        {"", "a", "b", "", 0},
        {"ab", "abc", "", "ab", 0},
        {"DATA*2", "DATA", "-1.500000", "-1.500000*2", 1},
    };
    for (const auto& c : cases) {
        GrowableText text(c.text);
        EXPECT_EQ(text.ReplaceEvery(c.from, c.to), c.count) << c.text << " " << c.from;
        EXPECT_STREQ(text.Text(), c.expected) << c.text << " " << c.from;
        EXPECT_EQ(text.Length(), std::string(c.expected).size());
    }
}

TEST(GrowableText, ReplaceEveryAcceptsPartsOfItself) {
    GrowableText text("abcabc");
    const GrowableText copy(text);
    // from is "abc" and to is "bc", both read from the text being changed.
    EXPECT_EQ(text.ReplaceEvery(text.Text() + 3, text.Text() + 4), 2u);
    EXPECT_STREQ(text.Text(), "bcbc");
    EXPECT_STREQ(copy.Text(), "abcabc");
    GrowableText deleted("x=x=");
    EXPECT_EQ(deleted.DeleteEvery(deleted.Text() + 2), 2u);
    EXPECT_STREQ(deleted.Text(), "");
}

TEST(GrowableText, FindIsCaseSensitiveFromAStart) {
    const GrowableText text("abcABCabc");
    const struct {
        const char* what;
        size_t start;
        size_t expected;
    } cases[] = {
        {"abc", 0, 0},
        {"abc", 1, 6},
        {"ABC", 0, 3},
        {"Abc", 0, kNotFound},
        {"c", 8, 8},
        {"c", 9, kNotFound},
        {"", 4, 4},
        {"", 9, 9},
        {"", 10, kNotFound},
        {"abcabc", 0, kNotFound},
        {nullptr, 0, kNotFound},
    };
    for (const auto& c : cases)
        EXPECT_EQ(text.Find(c.what, c.start), c.expected) << (c.what ? c.what : "null") << c.start;
    EXPECT_EQ(text.Find('B'), 4u);
    EXPECT_EQ(text.Find('a', 1), 6u);
    EXPECT_EQ(text.Find('z'), kNotFound);
    EXPECT_EQ(text.Find('\0'), kNotFound);
    EXPECT_EQ(text.Find('a', 100), kNotFound);
    EXPECT_TRUE(text.Contains("cA"));
    EXPECT_FALSE(text.Contains("ca"));
    EXPECT_EQ(GrowableText().Find("a"), kNotFound);
    EXPECT_EQ(GrowableText().Find(""), 0u);
}

TEST(GrowableText, FindNoCaseFoldsOnlyAsciiLetters) {
    const struct {
        const char* text;
        const char* what;
        size_t expected;
    } cases[] = {
        {"Hello World", "WORLD", 6},
        {"Hello World", "hello", 0},
        {"x max(1,2)", "MAX", 2},
        // Characters 32 apart that are not letters stay apart.
        {"@[\\]^", "`{|}~", kNotFound},
        {"`{|}~", "@[\\]^", kNotFound},
        // Bytes beyond ASCII are compared as they are (Latin-1 a-umlaut).
        {"\xe4", "\xc4", kNotFound},
        {"a\xe4", "A\xe4", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GrowableText(c.text).FindNoCase(c.what), c.expected) << c.text;
    EXPECT_EQ(GrowableText("abcABC").FindNoCase("abc", 1), 3u);
}

TEST(GrowableText, EraseAndInsertClipToTheText) {
    GrowableText text("abcdef");
    text.Erase(3, 100);
    EXPECT_STREQ(text.Text(), "abc");
    text.Erase(10, 1);
    text.Erase(1, 0);
    EXPECT_STREQ(text.Text(), "abc");
    text.Erase(0, 1);
    EXPECT_STREQ(text.Text(), "bc");
    EXPECT_TRUE(text.Insert(100, "!"));
    EXPECT_TRUE(text.Insert(0, "a"));
    EXPECT_TRUE(text.Insert(2, "-"));
    EXPECT_STREQ(text.Text(), "ab-c!");
    EXPECT_TRUE(text.Insert(1, text.Text()));
    EXPECT_STREQ(text.Text(), "aab-c!b-c!");
    EXPECT_TRUE(text.Append(""));
    EXPECT_TRUE(text.Insert(0, nullptr));
    EXPECT_STREQ(text.Text(), "aab-c!b-c!");
    EXPECT_EQ(text.Length(), 10u);
}

TEST(GrowableText, GrowsFarBeyondItsFirstStorage) {
    GrowableText text;
    std::string expected;
    for (int i = 0; i < 500; ++i) {
        const std::string piece = std::to_string(i) + ",";
        ASSERT_TRUE(text.Append(piece.c_str()));
        expected += piece;
    }
    EXPECT_EQ(std::string(text.Text()), expected);
    EXPECT_EQ(text.Length(), expected.size());
    EXPECT_EQ(text.ReplaceEvery(",", ""), 500u);
    EXPECT_EQ(text.Length(), expected.size() - 500);
}

TEST(GrowableText, TrimRemovesACharacterSetAtOneEnd) {
    const struct {
        const char* text;
        const char* chars;
        const char* trimmedStart;
        const char* trimmedEnd;
    } cases[] = {
        {"2+3===", "=", "2+3===", "2+3"},   {"===", "=", "", ""},
        {"  a b  ", " ", "a b  ", "  a b"}, {" \"x\" ", " \"", "x\" ", " \"x"},
        {"\t a", " ", "\t a", "\t a"},      {"abc", "", "abc", "abc"},
        {"abc", nullptr, "abc", "abc"},     {"", "=", "", ""},
    };
    for (const auto& c : cases) {
        GrowableText start(c.text), end(c.text);
        start.TrimStart(c.chars);
        end.TrimEnd(c.chars);
        EXPECT_STREQ(start.Text(), c.trimmedStart) << c.text;
        EXPECT_STREQ(end.Text(), c.trimmedEnd) << c.text;
    }
}

TEST(GrowableText, UpperCaseTurnsOnlyAToZ) {
    GrowableText text("x^2+sin(y) {0,6*pi} `@[{\xe4\xff");
    text.UpperCase();
    EXPECT_STREQ(text.Text(), "X^2+SIN(Y) {0,6*PI} `@[{\xe4\xff");
}

TEST(GrowableText, TakesTheArgumentOffAQuotedProgramPath) {
    const struct {
        const char* commandLine;
        const char* argument;
    } cases[] = {
        {"\"C:\\Tools\\calc.exe\" 2+3", "2+3"},
        {"\"C:\\Tools\\calc.exe\" \"C:\\My Data\\values.txt\"  ", "C:\\My Data\\values.txt"},
        {"\"C:\\Tools\\calc.exe\"", ""},
    };
    for (const auto& c : cases) {
        GrowableText text(c.commandLine);
        const size_t quote = text.Find('"', 1);
        ASSERT_NE(quote, kNotFound);
        text.Erase(0, quote + 1);
        text.TrimEnd(" ");
        text.TrimStart(" ");
        text.DeleteEvery("\"");
        EXPECT_STREQ(text.Text(), c.argument) << c.commandLine;
    }
}

TEST(GrowableText, SubstringAndAt) {
    const GrowableText text("sin(x){0,6*pi}");
    EXPECT_STREQ(text.Substring(6, 8).Text(), "{0,6*pi}");
    EXPECT_STREQ(text.Substring(6, 100).Text(), "{0,6*pi}");
    EXPECT_STREQ(text.Substring(100, 2).Text(), "");
    EXPECT_EQ(text.At(0), 's');
    EXPECT_EQ(text.At(13), '}');
    EXPECT_EQ(text.At(14), '\0');
}

TEST(GrowableText, CopiesAreIndependentAndMovesEmptyTheSource) {
    GrowableText first("abc");
    GrowableText second(first);
    second.Append("d");
    EXPECT_STREQ(first.Text(), "abc");
    EXPECT_STREQ(second.Text(), "abcd");
    first = second;
    second.Erase(0, 1);
    EXPECT_STREQ(first.Text(), "abcd");
    const GrowableText& self = first;
    first = self;
    EXPECT_STREQ(first.Text(), "abcd");
    GrowableText moved(std::move(first));
    EXPECT_STREQ(moved.Text(), "abcd");
    EXPECT_STREQ(first.Text(), "");
    EXPECT_TRUE(first.IsEmpty());
    moved = std::move(second);
    EXPECT_STREQ(moved.Text(), "bcd");
    EXPECT_TRUE(moved.Assign(moved.Text() + 1));
    EXPECT_STREQ(moved.Text(), "cd");
    EXPECT_TRUE(moved.Assign(nullptr));
    EXPECT_STREQ(moved.Text(), "");
    EXPECT_TRUE(moved.Assign("a\0b", 3));
    EXPECT_EQ(moved.Length(), 3u);
}

// Fails every request once the given number of requests has been granted.
int grantsLeft = 0;
void* FailingAllocate(void* block, size_t size) {
    if (grantsLeft <= 0) return nullptr;
    --grantsLeft;
    return std::realloc(block, size);
}

class OutOfMemory : public ::testing::Test {
  protected:
    void SetUp() override { previous = GrowableText::SetAllocator(FailingAllocate); }
    void TearDown() override { GrowableText::SetAllocator(previous); }
    GrowableText::Allocator previous = nullptr;
};

TEST_F(OutOfMemory, OperationsLeaveTheTextUnchanged) {
    grantsLeft = 1;
    GrowableText text("short");
    const std::string longer(200, 'x');
    EXPECT_FALSE(text.Append(longer.c_str()));
    EXPECT_FALSE(text.Insert(0, longer.c_str()));
    EXPECT_FALSE(text.Assign(longer.c_str()));
    EXPECT_EQ(text.ReplaceEvery("o", "0"), kNotFound);
    EXPECT_STREQ(text.Text(), "short");
    EXPECT_EQ(text.Length(), 5u);
    // What needs no new storage still works.
    text.Erase(0, 1);
    text.UpperCase();
    text.TrimEnd("T");
    EXPECT_STREQ(text.Text(), "HOR");
    EXPECT_EQ(text.Find("O"), 1u);
    const GrowableText copy(text);
    EXPECT_STREQ(copy.Text(), "");
    EXPECT_TRUE(text.Substring(0, 2).IsEmpty());
}

TEST_F(OutOfMemory, ReplaceEveryFailingHalfwayKeepsTheOriginal) {
    grantsLeft = 1;
    GrowableText text("E+E+");
    // The working copy gets storage; growing it for the second replacement
    // does not.
    grantsLeft = 1;
    const std::string to(20, '*');
    EXPECT_EQ(text.ReplaceEvery("E+", to.c_str()), kNotFound);
    EXPECT_STREQ(text.Text(), "E+E+");
    grantsLeft = 100;
    EXPECT_EQ(text.ReplaceEvery("E+", to.c_str()), 2u);
    EXPECT_EQ(std::string(text.Text()), to + to);
}

} // namespace
