#include "datafiles/text_data_parser.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// A column "equation" for the tests: the sum of the line's numbers times 10
// plus their count, so that both what was combined and how many are visible.
double SumAndCount(const char* equation, const double* numbers, int count) {
    double sum = 0;
    for (int i = 0; i < count; ++i) sum += numbers[i];
    return sum * 10 + count;
}

std::vector<double> ParseAll(const std::string& text, bool multipliers = false,
                             const char* equation = nullptr) {
    std::vector<double> values(text.size() / 2 + 4);
    TextDataParser parser(values.data(), values.size(), multipliers, equation, SumAndCount);
    EXPECT_EQ(parser.Parse(text.data(), text.size(), true), text.size());
    parser.Finish();
    values.resize(parser.Count());
    return values;
}

using Values = std::vector<double>;

TEST(TextDataParser, PicksNumbersOutOfAnyText) {
    const struct {
        const char* text;
        Values values;
    } cases[] = {
        {"1,234", {1, 234}},
        {"-5", {-5}},
        {"+5", {5}},
        {"1e3", {1000}},
        {"abc7", {7}},
        {"10 20 30", {10, 20, 30}},
        {"10;20\t30\r\n", {10, 20, 30}},
        {"1-2", {1, -2}},
        {"1e", {1}},
        {"1e+", {1}},
        {"1e-5", {1e-5}},
        {"1e-.5", {1, -0.5}},
        {"--5", {-5}},
        {"- . -. .-", {}},
        {"1.", {1}},
        {".5 -.5", {0.5, -0.5}},
        {"0x1A", {0, 1}},
        {"-inf nan inf", {}},
        {"1.5.5", {1.5, 0.5}},
        {"3K", {3}},
        {"", {}},
        {" \t\r\n;,", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseAll(c.text), c.values) << c.text;
}

TEST(TextDataParser, NulBytesSeparateNumbers) {
    const std::string text("1\0"
                           "2\0\0"
                           "3",
                           6);
    EXPECT_EQ(ParseAll(text), (Values{1, 2, 3}));
    EXPECT_EQ(ParseAll(std::string(64, '\0')), Values{});
}

TEST(TextDataParser, MultipliersAreUpperCaseLettersRightAfterANumber) {
    EXPECT_EQ(ParseAll("3K 2M 1B 4T 5k", true), (Values{3000, 2000000, 1000000000, 4e12, 5}));
    EXPECT_EQ(ParseAll("2.5K", true), (Values{2500}));
    EXPECT_EQ(ParseAll("2.5K", false), (Values{2.5}));
    EXPECT_EQ(ParseAll("3K 2M", false), (Values{3, 2}));
    EXPECT_EQ(ParseAll("3 K", true), (Values{3})); // a blank in between: no factor
    EXPECT_EQ(ParseAll("1e3K", true), (Values{1e6}));
    EXPECT_EQ(ParseAll("1eK", true), (Values{1}));       // the e comes first
    EXPECT_EQ(ParseAll("2K7", true), (Values{2000, 7})); // the letter separates
    EXPECT_EQ(ParseAll("2KK", true), (Values{2000}));
    EXPECT_EQ(ParseAll("-1.5M", true), (Values{-1500000}));
}

TEST(TextDataParser, AColumnEquationMakesOneValuePerLine) {
    // Sum * 10 + count for each line: 1 2 -> 32, 3 4 -> 72, 5 6 -> 112.
    EXPECT_EQ(ParseAll("1 2\r\n3 4\r\n5 6\r\n", false, "a+b"), (Values{32, 72, 112}));
    // An empty line adds nothing.
    EXPECT_EQ(ParseAll("1 2\r\n\r\n3 4\r\n", false, "a+b"), (Values{32, 72}));
    // A single number per line.
    EXPECT_EQ(ParseAll("4\n5\n", false, "a*2"), (Values{41, 51}));
    // The last line is combined too when no line feed ends it.
    EXPECT_EQ(ParseAll("1 2\n3 4", false, "a+b"), (Values{32, 72}));
    // The multiplier applies before the line is combined.
    EXPECT_EQ(ParseAll("1K 2\n", true, "a+b"), (Values{10022}));
    // CR alone does not end a line.
    EXPECT_EQ(ParseAll("1\r2\r", false, "a+b"), (Values{32}));
}

TEST(TextDataParser, AnEmptyEquationKeepsTheNumbers) {
    EXPECT_EQ(ParseAll("1 2\n3\n", false, ""), (Values{1, 2, 3}));
    EXPECT_EQ(ParseAll("1 2\n3\n", false, nullptr), (Values{1, 2, 3}));
    std::vector<double> values(8);
    TextDataParser parser(values.data(), values.size(), false, "a+b", nullptr);
    parser.Parse("1 2\n", 4, true);
    parser.Finish();
    EXPECT_EQ(parser.Count(), 2u);
}

TEST(TextDataParser, NumbersBeyondTheCapacityAreDropped) {
    double values[2] = {};
    TextDataParser parser(values, 2, false, nullptr, nullptr);
    EXPECT_FALSE(parser.Overflowed());
    parser.Parse("1 2 3 4", 7, true);
    EXPECT_EQ(parser.Count(), 2u);
    EXPECT_EQ(values[1], 2);
    EXPECT_TRUE(parser.Overflowed());
}

// Storage that doubles when it is full, up to a limit: the values arrive in
// order in the moved storage, and past the limit the parser reports overflow.
TEST(TextDataParser, StorageGrowsAsTheValuesArrive) {
    struct Store {
        std::vector<double> values = std::vector<double>(1);
        size_t limit;
        int grown = 0;
    };
    const GrowValues doubleUpToLimit = [](void* context, double*& values, size_t& capacity) {
        Store& store = *static_cast<Store*>(context);
        if (2 * capacity > store.limit) return false;
        store.values.resize(2 * capacity);
        values = store.values.data();
        capacity = store.values.size();
        ++store.grown;
        return true;
    };
    const char text[] = "1 2 3 4 5 6 7 8 9 10";
    for (const size_t limit : {size_t{16}, size_t{8}}) {
        Store store;
        store.limit = limit;
        TextDataParser parser(store.values.data(), 1, false, nullptr, nullptr, doubleUpToLimit,
                              &store);
        parser.Parse(text, sizeof text - 1, true);
        const size_t kept = limit == 16 ? 10 : 8;
        EXPECT_EQ(parser.Count(), kept) << limit;
        EXPECT_EQ(parser.Overflowed(), limit == 8) << limit;
        EXPECT_EQ(store.grown, limit == 16 ? 4 : 3) << limit;
        for (size_t i = 0; i < kept; ++i) EXPECT_EQ(store.values[i], i + 1.0) << limit;
    }
}

TEST(TextDataParser, UnfinishedNumbersWaitForTheNextBlock) {
    std::vector<double> values(16);
    TextDataParser parser(values.data(), values.size(), true, nullptr, nullptr);
    // "12" may go on, so only "7 " is consumed.
    EXPECT_EQ(parser.Parse("7 12", 4, false), 2u);
    EXPECT_EQ(parser.Count(), 1u);
    EXPECT_EQ(parser.Parse("12.5", 4, false), 0u);
    EXPECT_EQ(parser.Parse("12.5K\n", 6, false), 6u);
    EXPECT_EQ(parser.Count(), 2u);
    EXPECT_EQ(values[1], 12500);
}

struct MemorySource {
    const std::string* text;
    size_t position = 0;
    uint32_t largestRequest = 0;
};

uint32_t ReadMemory(void* context, char* buffer, uint32_t count) {
    MemorySource& source = *static_cast<MemorySource*>(context);
    if (count > source.largestRequest) source.largestRequest = count;
    const size_t left = source.text->size() - source.position;
    const size_t n = count < left ? count : left;
    std::memcpy(buffer, source.text->data() + source.position, n);
    source.position += n;
    return static_cast<uint32_t>(n);
}

std::vector<double> ParseInBlocks(const std::string& text, size_t blockSize, bool multipliers,
                                  const char* equation, uint32_t* largestRequest = nullptr) {
    std::vector<double> values(text.size() / 2 + 4);
    TextDataParser parser(values.data(), values.size(), multipliers, equation, SumAndCount);
    MemorySource source{&text};
    EXPECT_TRUE(ParseTextStream(ReadMemory, &source, text.size(), blockSize, parser));
    if (largestRequest) *largestRequest = source.largestRequest;
    values.resize(parser.Count());
    return values;
}

TEST(ParseTextStream, EveryBlockSizeGivesTheSameValues) {
    const std::string texts[] = {
        "1,234 -5 +5 2.5K 1e3 abc7\r\n",
        "3K 2M 1B 4T 5k\n1-2\n\n1e 1e+ 1e-5 .5 -.5 --5 0x1A\n",
        "1 2\r\n3 4\r\n\r\n5 6",
        "123456789.123456789e-5 0.000000000000000000000000000001 1e400 -1e-400",
    };
    for (const std::string& text : texts)
        for (bool multipliers : {false, true})
            for (const char* equation : {static_cast<const char*>(nullptr), "a+b"}) {
                const std::vector<double> whole = ParseAll(text, multipliers, equation);
                for (size_t block = 1; block <= text.size() + 1; ++block)
                    EXPECT_EQ(ParseInBlocks(text, block, multipliers, equation), whole)
                        << text << " in blocks of " << block;
            }
}

TEST(ParseTextStream, ANumberLongerThanTheBlockGrowsIt) {
    const std::string text = "5 " + std::string(1000, '1') + " 6";
    uint32_t largest = 0;
    const std::vector<double> values = ParseInBlocks(text, 16, false, nullptr, &largest);
    ASSERT_EQ(values.size(), 3u);
    EXPECT_EQ(values[1], ParseAll(std::string(1000, '1'))[0]);
    EXPECT_EQ(values[2], 6);
    EXPECT_GT(largest, 16u);
}

TEST(ParseTextStream, ReadsNoMoreThanTheGivenSize) {
    const std::string text = "1 2 3 4";
    EXPECT_EQ(ParseInBlocks(text.substr(0, 3), 2, false, nullptr), (Values{1, 2}));
    std::vector<double> values(8);
    TextDataParser parser(values.data(), values.size(), false, nullptr, nullptr);
    MemorySource source{&text};
    ASSERT_TRUE(ParseTextStream(ReadMemory, &source, 4, 3, parser));
    EXPECT_EQ(parser.Count(), 2u); // "1 2 " of the seven bytes
    EXPECT_EQ(source.position, 4u);
}

} // namespace
