#include "datafiles/data_file.h"
#include "datafiles/file_handle.h"
#include "datafiles/file_types.h"
#include "graph/dataset.h"
#include "graph/graph_scale.h"
#include "text/convert.h"

#include "request_gate.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using Values = std::vector<double>;

constexpr uint32_t kTextWithMultipliers = kTypeText | MultiplierFlag;
constexpr uint32_t kTextWithEquation = kTypeText | ColumnEquationFlag;

// Every test starts from a known data set and scale, so that "left as it was"
// can be checked field by field.
class ReadDataFileTest : public TempFolder {
  protected:
    void SetUp() override {
        TempFolder::SetUp();
        Install({4, 5, 6});
        graphScale.SetData(dataSet.values, dataSet.count, 8);
        previousScale = graphScale;
        previousValues = dataSet.values;
    }
    void TearDown() override {
        InstallDataSet(nullptr, 0);
        TempFolder::TearDown();
    }

    static void Install(const Values& values) {
        double* copy = AllocateDataValues(values.size());
        ASSERT_NE(copy, nullptr);
        std::memcpy(copy, values.data(), values.size() * sizeof(double));
        InstallDataSet(copy, static_cast<int>(values.size()));
    }
    static Values Installed() {
        if (!dataSet.values) return {};
        return Values(dataSet.values, dataSet.values + dataSet.count);
    }
    void ExpectUnchanged(const std::string& what) const {
        EXPECT_EQ(dataSet.values, previousValues) << what;
        EXPECT_EQ(Installed(), (Values{4, 5, 6})) << what;
        EXPECT_EQ(graphScale.step, previousScale.step) << what;
        EXPECT_EQ(graphScale.axisMin, previousScale.axisMin) << what;
        EXPECT_EQ(graphScale.axisMax, previousScale.axisMax) << what;
        EXPECT_EQ(graphScale.dataMin, previousScale.dataMin) << what;
        EXPECT_EQ(graphScale.dataMax, previousScale.dataMax) << what;
        EXPECT_EQ(graphScale.mean, previousScale.mean) << what;
        EXPECT_EQ(graphScale.labelChars, previousScale.labelChars) << what;
    }
    // The data set is empty and the scale was reset by SetData(null, 0).
    void ExpectEmptied(const std::string& what) const {
        EXPECT_EQ(dataSet.values, nullptr) << what;
        EXPECT_EQ(dataSet.count, 0) << what;
        EXPECT_EQ(graphScale.step, 0) << what;
        EXPECT_EQ(graphScale.axisMin, graphScale.dataMin) << what;
        EXPECT_EQ(graphScale.axisMax, graphScale.dataMax) << what;
    }
    int ReadBytes(const Bytes& bytes, uint32_t code, const char* equation = nullptr,
                  ReadFailure* failure = nullptr) {
        const std::string path = PathOf("data.bin");
        WriteFileBytes(path, bytes);
        return ReadDataFile(path.c_str(), code, equation, failure);
    }
    int ReadText(const std::string& text, uint32_t code, const char* equation = nullptr,
                 ReadFailure* failure = nullptr) {
        return ReadBytes(Bytes(text.begin(), text.end()), code, equation, failure);
    }
    // A file of the given size whose content costs no disk space.
    std::string SparseFile(const std::string& name, uint64_t size) {
        const std::string path = PathOf(name);
        FileHandle file;
        EXPECT_TRUE(file.Open(path.c_str(), true));
        EXPECT_TRUE(file.SetLength(size));
        return path;
    }

    GraphScale previousScale;
    double* previousValues = nullptr;
};

TEST_F(ReadDataFileTest, BinaryElementsAreLittleEndianAndATrailingPartIsIgnored) {
    const struct {
        uint32_t code;
        Bytes bytes;
        Values values;
    } cases[] = {
        {kTypeUnsignedShorts, {1, 0, 0xFF, 0xFF, 7, 0}, {1, 65535, 7}},
        {kTypeSignedShorts, {1, 0, 0xFF, 0xFF}, {1, -1}},
        {kTypeFloats, {0x00, 0x00, 0x80, 0x3F}, {1}},
        {kTypeUnsignedBytes, {0, 1, 127, 128, 255}, {0, 1, 127, 128, 255}},
        {kTypeSignedBytes, {0, 1, 127, 128, 255}, {0, 1, 127, -128, -1}},
        {kTypeUnsignedShorts, {0x34, 0x12, 0x00, 0x80, 0x99}, {0x1234, 32768}},
        {kTypeSignedShorts, {0x00, 0x80, 0xFF, 0x7F, 0x01}, {-32768, 32767}},
        {kTypeUnsignedLongs,
         {0xFF, 0xFF, 0xFF, 0xFF, 0x78, 0x56, 0x34, 0x12, 1, 2, 3},
         {4294967295.0, 0x12345678}},
        {kTypeSignedLongs, {0x00, 0x00, 0x00, 0x80, 0xFE, 0xFF, 0xFF, 0xFF}, {-2147483648.0, -2}},
        {kTypeFloats,
         {0x00, 0x00, 0xC0, 0x3F, 0xCD, 0xCC, 0xCC, 0x3D},
         {1.5, static_cast<double>(0.1f)}},
        {kTypeDoubles,
         {0, 0, 0, 0, 0, 0, 0xF0, 0x3F, 0x9A, 0x99, 0x99, 0x99, 0x99, 0x99, 0xB9, 0x3F, 1},
         {1, 0.1}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadBytes(c.bytes, c.code), static_cast<int>(c.values.size()))
            << std::hex << c.code;
        EXPECT_EQ(Installed(), c.values) << std::hex << c.code;
    }
}

TEST_F(ReadDataFileTest, NonFiniteFloatsAndDoublesKeepTheirBits) {
    ASSERT_EQ(ReadBytes({0x00, 0x00, 0x80, 0x7F, 0x00, 0x00, 0x80, 0xFF, 0x00, 0x00, 0xC0, 0x7F},
                        kTypeFloats),
              3);
    EXPECT_EQ(dataSet.values[0], std::numeric_limits<double>::infinity());
    EXPECT_EQ(dataSet.values[1], -std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isnan(dataSet.values[2]));
    ASSERT_EQ(ReadBytes(Bytes(8, 0xFF), kTypeDoubles), 1);
    EXPECT_EQ(BitsOf(dataSet.values[0]), ~uint64_t{0});
}

TEST_F(ReadDataFileTest, ABinaryFileShorterThanOneElementEmptiesTheDataSet) {
    EXPECT_EQ(ReadBytes({1}, kTypeUnsignedShorts), 0);
    ExpectEmptied("1 byte as shorts");
    Install({1, 2});
    EXPECT_EQ(ReadBytes({1, 2, 3, 4, 5, 6, 7}, kTypeDoubles), 0);
    ExpectEmptied("7 bytes as doubles");
}

TEST_F(ReadDataFileTest, BinaryFilesLargerThanTheReadBlockAreReadWhole) {
    // 3 MiB and a bit of shorts, with an odd byte at the end.
    const size_t count = 3 * 1024 * 1024 / 2 + 12345;
    Bytes bytes(count * 2 + 1);
    for (size_t i = 0; i < count; ++i) {
        bytes[2 * i] = static_cast<uint8_t>(i);
        bytes[2 * i + 1] = static_cast<uint8_t>(i >> 8);
    }
    ASSERT_EQ(ReadBytes(bytes, kTypeUnsignedShorts), static_cast<int>(count));
    bool allRight = true;
    for (size_t i = 0; i < count; ++i)
        allRight = allRight && dataSet.values[i] == double(i & 0xFFFF);
    EXPECT_TRUE(allRight);
    EXPECT_EQ(graphScale.dataMax, 65535);
}

TEST_F(ReadDataFileTest, TextNumbersAreReadAsThePartsOfEveryLine) {
    const struct {
        const char* text;
        uint32_t code;
        Values values;
    } cases[] = {
        {"10 20 30", kTypeText, {10, 20, 30}},
        {"10;20;30\r\n", kTypeText, {10, 20, 30}},
        {"10\t20\t30", kTypeText, {10, 20, 30}},
        {"1,234", kTypeText, {1, 234}},
        {"-5 +5", kTypeText, {-5, 5}},
        {"1-2", kTypeText, {1, -2}},
        {"2.5K", kTextWithMultipliers, {2500}},
        {"2.5K", kTypeText, {2.5}},
        {"3K 2M 1B 4T 5k", kTextWithMultipliers, {3000, 2000000, 1000000000, 4e12, 5}},
        {"3K", kTypeText, {3}},
        {"1e3 abc7", kTypeText, {1000, 7}},
        {"1e .5 -.5 1. - .", kTypeText, {1, 0.5, -0.5, 1}},
        {"0x10 -inf nan", kTypeText, {0, 10}},
        // Any code that is not exactly a binary one is text.
        {"7 8", kTypeDoubles | MultiplierFlag, {7, 8}},
        {"7K", 0x00616464, {7000}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadText(c.text, c.code), static_cast<int>(c.values.size())) << c.text;
        EXPECT_EQ(Installed(), c.values) << c.text;
    }
}

TEST_F(ReadDataFileTest, AColumnEquationCombinesTheNumbersOfEachLine) {
    const struct {
        const char* text;
        uint32_t code;
        const char* equation;
        Values values;
    } cases[] = {
        {"1 2\r\n3 4\r\n5 6\r\n", kTextWithEquation, "a+b", {3, 7, 11}},
        {"1 2\r\n\r\n3 4\r\n", kTextWithEquation, "a+b", {3, 7}},
        {"1\n2\n3\n", kTextWithEquation, "a*2", {2, 4, 6}},
        {"1 2\n", kTextWithEquation, "a+b+c", {3}},      // c is beyond the line: 0
        {"1 2\n3 4", kTextWithEquation, "a*b", {2, 12}}, // the last line too
        {"1K 2\n", kTextWithEquation | MultiplierFlag, "a-b", {998}},
        // Numbers of a column equation are decimal, letters in either case.
        {"10 20\n", kTextWithEquation, "A+B", {30}},
        {"3 4\n", kTextWithEquation, "sqrt(a*a+b*b)", {5}},
        // No flag, or an empty equation: the numbers stay as they are.
        {"1 2\n3 4\n", kTypeText, "a+b", {1, 2, 3, 4}},
        {"1 2\n3 4\n", kTextWithEquation, "", {1, 2, 3, 4}},
        {"1 2\n3 4\n", kTextWithEquation, nullptr, {1, 2, 3, 4}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadText(c.text, c.code, c.equation), static_cast<int>(c.values.size()))
            << c.text << " with " << (c.equation ? c.equation : "null");
        EXPECT_EQ(Installed(), c.values) << c.text;
    }
}

TEST_F(ReadDataFileTest, AnEquationThatCannotBeEvaluatedGivesTheErrorValue) {
    ASSERT_EQ(ReadText("1 2\n", kTextWithEquation, "a+"), 1);
    EXPECT_TRUE(std::isnan(dataSet.values[0]));
}

TEST_F(ReadDataFileTest, TextWithoutNumbersEmptiesTheDataSet) {
    const std::string texts[] = {" \t\r\n;,", "abc", std::string(1000, '\0'), "-", "."};
    for (const std::string& text : texts) {
        Install({1, 2});
        EXPECT_EQ(ReadText(text, kTypeText), 0);
        ExpectEmptied(text);
    }
}

TEST_F(ReadDataFileTest, NulBytesAreSeparatorsInTextAndZerosInBinary) {
    EXPECT_EQ(ReadBytes({'1', 0, '2', 0, 0, '3'}, kTypeText), 3);
    EXPECT_EQ(Installed(), (Values{1, 2, 3}));
    EXPECT_EQ(ReadBytes(Bytes(16, 0), kTypeSignedLongs), 4);
    EXPECT_EQ(Installed(), (Values{0, 0, 0, 0}));
}

TEST_F(ReadDataFileTest, AHugeLineWithoutALineFeedIsReadWhole) {
    std::string text;
    const int count = 400000; // about 2.7 MB, several read blocks
    for (int i = 0; i < count; ++i) text += std::to_string(i) + ".25 ";
    ASSERT_EQ(ReadText(text, kTypeText), count);
    bool allRight = true;
    for (int i = 0; i < count; ++i) allRight = allRight && dataSet.values[i] == i + 0.25;
    EXPECT_TRUE(allRight);
    // As one line with an equation it becomes one value.
    ASSERT_EQ(ReadText(text, kTextWithEquation, "b-a"), 1);
    EXPECT_EQ(dataSet.values[0], 1);
}

TEST_F(ReadDataFileTest, NumbersAcrossReadBlocksAreReadWhole) {
    std::string text;
    const int count = 300000; // 2.7 MB: the block ends fall inside numbers
    for (int i = 0; i < count; ++i) text += "1234.5K\r\n";
    ASSERT_EQ(ReadText(text, kTextWithMultipliers), count);
    bool allRight = true;
    for (int i = 0; i < count; ++i) allRight = allRight && dataSet.values[i] == 1234500;
    EXPECT_TRUE(allRight);
    // A single number longer than a read block.
    const std::string longNumber = "7 " + std::string(3 << 20, '0') + "42 8";
    ASSERT_EQ(ReadText(longNumber, kTypeText), 3);
    EXPECT_EQ(Installed(), (Values{7, 42, 8}));
}

TEST_F(ReadDataFileTest, ASuccessfulReadRescalesTheGraph) {
    ASSERT_EQ(ReadText("0 100 50", kTypeText), 3);
    EXPECT_EQ(graphScale.step, 20);
    EXPECT_EQ(graphScale.axisMin, 0);
    EXPECT_EQ(graphScale.axisMax, 100);
    EXPECT_EQ(graphScale.mean, 50);
}

TEST_F(ReadDataFileTest, FilesThatCannotBeReadLeaveEverythingAsItWasAndSayWhy) {
    const std::string empty = PathOf("empty.txt");
    WriteFileBytes(empty, {});
    const std::string data = PathOf("data.txt");
    WriteFileText(data, "1 2 3");
    const std::string missing = PathOf("missing.txt");
    const std::string inFolder = folder.string();
    const struct {
        const char* what;
        const char* path;
        uint32_t code;
        ReadFailure failure;
    } cases[] = {
        {"empty file", empty.c_str(), kTypeText, ReadFailure::Empty},
        {"empty binary file", empty.c_str(), kTypeUnsignedBytes, ReadFailure::Empty},
        {"missing file", missing.c_str(), kTypeText, ReadFailure::CannotOpen},
        {"folder", inFolder.c_str(), kTypeText, ReadFailure::CannotOpen},
        {"no path", nullptr, kTypeText, ReadFailure::Cancelled},
        {"cancelled type", data.c_str(), 0, ReadFailure::Cancelled},
    };
    for (const auto& c : cases) {
        ReadFailure failure = ReadFailure::None;
        EXPECT_EQ(ReadDataFile(c.path, c.code, nullptr, &failure), -1) << c.what;
        EXPECT_EQ(failure, c.failure) << c.what;
        ExpectUnchanged(c.what);
    }
    {
        FileHandle holder; // another program holding the file without sharing
        ASSERT_TRUE(holder.Open(data.c_str(), false));
        ReadFailure failure = ReadFailure::None;
        EXPECT_EQ(ReadDataFile(data.c_str(), kTypeText, nullptr, &failure), -1);
        EXPECT_EQ(failure, ReadFailure::CannotOpen);
        ExpectUnchanged("locked file");
    }
    // A read-only file can still be read.
    MakeReadOnly(data);
    ReadFailure failure = ReadFailure::Cancelled;
    EXPECT_EQ(ReadDataFile(data.c_str(), kTypeText, nullptr, &failure), 3);
    EXPECT_EQ(failure, ReadFailure::None);
}

TEST_F(ReadDataFileTest, SizesBeyondWhatTheDataSetHoldsAreRefused) {
    // 2^32 + 6 bytes of shorts: the low 32 bits alone would say 3 values.
    const std::string shorts = SparseFile("shorts.bin", (uint64_t{1} << 32) + 6);
    ReadFailure failure = ReadFailure::None;
    EXPECT_EQ(ReadDataFile(shorts.c_str(), kTypeUnsignedShorts, nullptr, &failure), -1);
    EXPECT_EQ(failure, ReadFailure::TooLarge);
    ExpectUnchanged("4 GiB of shorts");
    // Storage for more values than the data set may hold cannot be allocated.
    const std::string bytes = SparseFile("bytes.bin", kMaxDataValues + 1);
    EXPECT_EQ(ReadDataFile(bytes.c_str(), kTypeUnsignedBytes, nullptr, &failure), -1);
    EXPECT_EQ(failure, ReadFailure::TooLarge);
    ExpectUnchanged("too many bytes");
}

// Memory that runs out at any allocation of a read (the first storage, the
// text's growing storage, the storage cut to the values read) is told apart
// from a file too large, and leaves everything as it was.
size_t refuseFrom = 0;
size_t refuseUpTo = 0;
bool RefuseAllocations(size_t count) {
    return count < refuseFrom || count > refuseUpTo;
}

TEST_F(ReadDataFileTest, RunningOutOfMemoryIsToldApart) {
    constexpr size_t kAll = SIZE_MAX;
    constexpr size_t kFirstTextValues = size_t{1} << 20; // where text storage starts
    std::string manyNumbers;
    for (size_t i = 0; i <= kFirstTextValues; ++i) manyNumbers += "1\n";
    const struct {
        const char* what;
        std::string text;
        uint32_t code;
        size_t from, upTo; // the allocations refused, in values
    } cases[] = {
        {"binary storage", "12345678", kTypeUnsignedBytes, 0, kAll},
        {"text storage", "1 2 3", kTypeText, 0, kAll},
        // Text storage starts at size / 2 + 4 values, here far more than the
        // 3 numbers, so that it is cut to 3 in the end.
        {"cut to the values read", "1 2 3" + std::string(6000, ' '), kTypeText, 1, 3},
        {"grown for more values", manyNumbers, kTypeText, kFirstTextValues + 1, kAll},
    };
    for (const auto& c : cases) {
        refuseFrom = c.from;
        refuseUpTo = c.upTo;
        const AllocationGate previous = SetAllocationGate(RefuseAllocations);
        ReadFailure failure = ReadFailure::None;
        EXPECT_EQ(ReadText(c.text, c.code, nullptr, &failure), -1) << c.what;
        SetAllocationGate(previous);
        EXPECT_EQ(failure, ReadFailure::NoMemory) << c.what;
        ExpectUnchanged(c.what);
    }
}

// Text is read in one pass into storage that grows as the values arrive: a
// file larger than twice the most values a data set holds, with only two
// numbers in it (the rest NUL bytes), is read, and needs little memory.
TEST_F(ReadDataFileTest, ALargeTextFileWithFewNumbersIsRead) {
    const uint64_t size = 2 * kMaxDataValues + 16;
    const std::string path = SparseFile("large.txt", size);
    {
        FileHandle file;
        ASSERT_TRUE(file.Open(path.c_str(), false));
        ASSERT_EQ(file.Write("12 ", 3), 3u);
        ASSERT_EQ(file.Seek(static_cast<int64_t>(size) - 5, FileHandle::kBegin), size - 5);
        ASSERT_EQ(file.Write("-3.5\n", 5), 5u);
    }
    EXPECT_EQ(ReadDataFile(path.c_str(), kTypeText, nullptr), 2);
    EXPECT_EQ(Installed(), (Values{12, -3.5}));
}

// The abort flag, set while a file is read, stops the read loops after the
// block in progress (1 MiB of a binary file, one read block of text); the
// values read so far become the data set.
TEST_F(ReadDataFileTest, TheAbortFlagStopsReadingAfterTheBlockInProgress) {
    const size_t block = size_t{1} << 20;
    const struct {
        uint32_t code;
        std::string pattern; // repeated to three blocks
        int whole, aborted;
    } cases[] = {
        {kTypeUnsignedBytes, "\x07", 3 * 1048576, 1048576},
        {kTypeText, "1\n", 3 * 524288, 524288},
    };
    for (const auto& c : cases) {
        std::string content;
        while (content.size() < 3 * block) content += c.pattern;
        const std::string path = PathOf("abort.dat");
        WriteFileText(path, content);
        for (const bool abort : {false, true}) {
            FileHandle file;
            ASSERT_TRUE(file.Open(path.c_str(), false));
            RequestGate gate;
            gate.SetAction([&](FileRequest request, const char*) {
                if (abort && request == FileRequest::kRead) file.abortFlag = 1;
                return true;
            });
            EXPECT_EQ(ReadDataFromFile(file, c.code, nullptr), abort ? c.aborted : c.whole)
                << c.code;
        }
    }
}

TEST_F(ReadDataFileTest, EveryTypeReadsBackWhatTheWriterWrote) {
    const struct {
        uint32_t code;
        Values values;
    } cases[] = {
        {kTypeUnsignedBytes, {0, 1, 128, 255}},
        {kTypeSignedBytes, {-128, -1, 0, 127}},
        {kTypeUnsignedShorts, {0, 1, 32768, 65535}},
        {kTypeSignedShorts, {-32768, -1, 0, 32767}},
        {kTypeUnsignedLongs, {0, 1, 2147483648.0, 4294967295.0}},
        {kTypeSignedLongs, {-2147483648.0, -1, 0, 2147483647}},
        {kTypeFloats, {-1.5, 0, 0.1f, 3.4028234663852886e38}},
        {kTypeDoubles, {-1e-300, 0.1, 1.7976931348623157e308, std::nan("")}},
        {kTypeText, {-0.5, 0, 1234.5678, 1e15}},
    };
    const std::string path = PathOf("roundtrip.dat");
    for (const auto& c : cases) {
        Install(c.values);
        ASSERT_EQ(SaveDataFile(path.c_str(), c.code), 1) << std::hex << c.code;
        InstallDataSet(nullptr, 0);
        ASSERT_EQ(ReadDataFile(path.c_str(), c.code, nullptr), 4) << std::hex << c.code;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(BitsOf(dataSet.values[i]), BitsOf(c.values[i]))
                << std::hex << c.code << " " << i;
    }
    // Text keeps six decimals.
    Install({1.23456789, -2.0000004});
    ASSERT_EQ(SaveDataFile(path.c_str(), kTypeText), 1);
    ASSERT_EQ(ReadDataFile(path.c_str(), kTypeText, nullptr), 2);
    EXPECT_EQ(Installed(), (Values{1.234568, -2}));
}

// Values from 1e-300 to 1e300 of both signs, saved as text and read back:
// each comes back within half a unit of its last written digit. From 0.001
// on the line is the "%.6f" text (six decimals); below, seven significant
// digits with an exponent.
TEST_F(ReadDataFileTest, TextKeepsEveryValueToItsWrittenDigits) {
    Values values;
    for (int exponent = -300; exponent <= 300; ++exponent)
        for (const double mantissa : {1.0, 1.2345678901, 9.87654321})
            for (const double sign : {1.0, -1.0})
                values.push_back(sign * mantissa * std::pow(10.0, exponent));
    for (const double edge : {0.001, 0.000999999999, 0.00099999949, 0.0010000001, 5e-7, 4.9e-7})
        for (const double sign : {1.0, -1.0}) values.push_back(sign * edge);
    Install(values);
    const std::string path = PathOf("small.txt");
    ASSERT_EQ(SaveDataFile(path.c_str(), kTypeText), 1);
    const std::string text = ReadFileText(path);
    ASSERT_EQ(ReadDataFile(path.c_str(), kTypeText, nullptr), static_cast<int>(values.size()));
    const Values read = Installed();
    size_t lineStart = 0;
    for (size_t i = 0; i < values.size(); ++i) {
        const double v = values[i];
        const size_t lineEnd = text.find("\r\n", lineStart);
        ASSERT_NE(lineEnd, std::string::npos) << i;
        const std::string line = text.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 2;
        char fixed[400];
        std::snprintf(fixed, sizeof fixed, "%.6f", v);
        if (std::fabs(v) >= 0.001) {
            EXPECT_EQ(line, fixed) << v;
            EXPECT_LE(std::fabs(read[i] - v), 0.5e-6 + std::fabs(v) * 0x1p-52) << line;
        } else {
            EXPECT_NE(line.find('e'), std::string::npos) << line;
            EXPECT_LE(std::fabs(read[i] - v), 0.5e-6 * std::fabs(v) * (1 + 1e-9)) << line;
        }
    }
}

TEST_F(ReadDataFileTest, SavingWithACancelledTypeOrToAFolderWritesNothing) {
    EXPECT_EQ(SaveDataFile(PathOf("x.dat").c_str(), 0), 0);
    EXPECT_EQ(SaveDataFile(folder.string().c_str(), kTypeText), 0);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{});
}

} // namespace
