#include "datafiles/file_type_choice.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "datafiles/file_types.h"

namespace {

constexpr uint32_t kAllTypes[] = {kTypeText,           kTypeUnsignedBytes, kTypeSignedBytes,
                                  kTypeUnsignedShorts, kTypeSignedShorts,  kTypeUnsignedLongs,
                                  kTypeSignedLongs,    kTypeFloats,        kTypeDoubles};

// One letter per type in kAllTypes order: the types offered.
std::string Offered(bool (*allowed)(uint32_t)) {
    std::string letters;
    for (uint32_t code : kAllTypes) letters += allowed(code) ? 'x' : '.';
    return letters;
}

uint32_t gSize;
double gMin, gMax;

TEST(ReadingTypeAllowed, SizeDecidesTheElementTypes) {
    const struct {
        uint32_t size;
        const char* offered; // text ub sb us ss ul sl fp df
    } cases[] = {
        {0, "xxxxxxxxx"},  {6, "xxxxx...."}, {7, "xxx......"},          {8, "xxxxxxxxx"},
        {12, "xxxxxxxx."}, {2, "xxxxx...."}, {0xFFFFFFFC, "xxxxxxxx."},
    };
    for (const auto& c : cases) {
        gSize = c.size;
        EXPECT_EQ(Offered([](uint32_t code) { return ReadingTypeAllowed(code, gSize); }), c.offered)
            << c.size;
    }
}

TEST(SavingTypeAllowed, DataRangeDecidesTheIntegerTypes) {
    const struct {
        double min, max;
        const char* offered; // text ub sb us ss ul sl fp df
    } cases[] = {
        {-3, 200, "x...x.xxx"},         {0, 255, "xx.xxxxxx"},
        {0, 255.5, "xx.xxxxxx"}, // fractions are truncated by the writer
        {0, 256, "x..xxxxxx"},          {-128, 127.9, "x.x.x.xxx"},
        {-128.5, 0, "x...x.xxx"},       {0, 65535, "x..x.xxxx"},
        {-32768, 32767, "x...x.xxx"},   {0, 65536, "x....xxxx"},
        {0, 4294967295.0, "x....x.xx"}, {-2147483648.0, 2147483647.0, "x.....xxx"},
        {0, 4294967296.0, "x......xx"}, {-INFINITY, 0, "x......xx"},
        {NAN, NAN, "x......xx"},
    };
    for (const auto& c : cases) {
        gMin = c.min;
        gMax = c.max;
        EXPECT_EQ(Offered([](uint32_t code) { return SavingTypeAllowed(code, gMin, gMax); }),
                  c.offered)
            << c.min << " " << c.max;
    }
}

TEST(TextTypeCode, FlagsAreBytesOfTheirOwn) {
    EXPECT_EQ(TextTypeCode(true, true), 0x63616174u);
    EXPECT_EQ(TextTypeCode(true, false), 0x00616174u);
    EXPECT_EQ(TextTypeCode(false, true), 0x63006174u);
    EXPECT_EQ(TextTypeCode(false, false), 0x6174u);
}

TEST(FileTypeParameterForSize, LargeSizesStayReadingWithTheirDivisibility) {
    const struct {
        uint64_t size;
        int32_t parameter;
    } cases[] = {
        {0, 0},
        {7, 7},
        {0x7FFFFFFF, 0x7FFFFFFF},
        {0x80000000, 0x7FFFFFF8},
        {0x80000006, 0x7FFFFFFE},
        {0x100000003ull, 0x7FFFFFFB},
        {0xFFFFFFFFFFFFFFFFull, 0x7FFFFFFF},
    };
    for (const auto& c : cases) {
        const int32_t parameter = FileTypeParameterForSize(c.size);
        EXPECT_EQ(parameter, c.parameter) << c.size;
        for (uint32_t code : kAllTypes)
            EXPECT_EQ(ReadingTypeAllowed(code, static_cast<uint32_t>(parameter)),
                      c.size % (BinaryElementSize(code) ? BinaryElementSize(code) : 1) == 0)
                << c.size << " " << code;
    }
}

} // namespace
