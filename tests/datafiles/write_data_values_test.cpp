#include "datafiles/data_file.h"
#include "datafiles/element_codec.h"
#include "datafiles/file_handle.h"
#include "datafiles/file_types.h"

#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

using Bytes = std::vector<uint8_t>;
using WriteDataValuesTest = TempFolder;

constexpr double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::nan("");

TEST_F(WriteDataValuesTest, BinaryTypesGiveTheirBytes) {
    const struct {
        uint32_t code;
        std::vector<double> values;
        Bytes bytes;
    } cases[] = {
        {kTypeSignedShorts, {1, -1, 300}, {0x01, 0x00, 0xFF, 0xFF, 0x2C, 0x01}},
        {kTypeSignedBytes, {2.9, -2.9}, {0x02, 0xFE}}, // truncation, not rounding
        {kTypeFloats, {1.5}, {0x00, 0x00, 0xC0, 0x3F}},
        {kTypeUnsignedBytes, {255, 256, 300, -1}, {0xFF, 0x00, 0x2C, 0xFF}},
        {kTypeUnsignedShorts, {65535, 1.99}, {0xFF, 0xFF, 0x01, 0x00}},
        {kTypeSignedLongs, {-2, 2147483647}, {0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}},
        {kTypeUnsignedLongs, {3000000000.7}, {0x00, 0x5E, 0xD0, 0xB2}},
        {kTypeDoubles, {1.0}, {0, 0, 0, 0, 0, 0, 0xF0, 0x3F}},
        {kTypeDoubles, {-0.0}, {0, 0, 0, 0, 0, 0, 0, 0x80}},
        // Out of the int32 range, NaN and infinities truncate to -2^31, whose
        // low 8 and 16 bits are 0.
        {kTypeSignedShorts, {kNaN, 1e10}, {0, 0, 0, 0}},
        {kTypeSignedLongs, {kInf}, {0x00, 0x00, 0x00, 0x80}},
        // Unsigned LONGs hold on to the nearest value of their range.
        {kTypeUnsignedLongs,
         {-1, -0.5, kNaN, 4294967295.9, 1e20, kInf},
         {0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,
          0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
        // FLOATs beyond the float range: the largest float up to halfway to
        // 2^128, infinity from there on.
        {kTypeFloats,
         {3.4028235e38, std::nextafter(340282356779733661637539395458142568448.0, 0.0),
          340282356779733661637539395458142568448.0, 1e300, -1e300},
         {0xFF, 0xFF, 0x7F, 0x7F, 0xFF, 0xFF, 0x7F, 0x7F, 0x00, 0x00,
          0x80, 0x7F, 0x00, 0x00, 0x80, 0x7F, 0x00, 0x00, 0x80, 0xFF}},
    };
    const std::string path = PathOf("binary.dat");
    for (const auto& c : cases) {
        ASSERT_EQ(WriteDataValues(path.c_str(), c.code, c.values.data(),
                                  static_cast<int>(c.values.size())),
                  1);
        EXPECT_EQ(ReadFileBytes(path), c.bytes) << std::hex << c.code;
    }
}

TEST_F(WriteDataValuesTest, TextIsOneLinePerValueWithAnExponentBelowAThousandth) {
    const struct {
        double value;
        const char* line;
    } cases[] = {
        {3, "3.000000\r\n"},
        {-0.5, "-0.500000\r\n"},
        {1234.56789, "1234.567890\r\n"},
        {0.0078125, "0.007812\r\n"}, // exactly halfway: to even
        {-0.0, "-0.000000\r\n"},
        {0.0, "0.000000\r\n"},
        {0.001, "0.001000\r\n"},
        {-0.001, "-0.001000\r\n"},
        // Below 0.001: seven significant digits and a two-digit exponent
        // (three from 1e-100 on), with every C runtime.
        {0.0000004, "4.000000e-07\r\n"},
        {8e-8, "8.000000e-08\r\n"},
        {-0.000123456, "-1.234560e-04\r\n"},
        {0.00099999949, "9.999995e-04\r\n"},
        {0.00099999999, "1.000000e-03\r\n"},
        {-1e-300, "-1.000000e-300\r\n"},
        {4.9406564584124654e-324, "4.940656e-324\r\n"},
        {1e22, "10000000000000000000000.000000\r\n"},
        {kInf, "inf\r\n"},
        {-kInf, "-inf\r\n"},
        {kNaN, "nan\r\n"},
        {-kNaN, "nan\r\n"},
    };
    const std::string path = PathOf("text.txt");
    for (const auto& c : cases) {
        ASSERT_EQ(WriteDataValues(path.c_str(), kTypeText, &c.value, 1), 1);
        EXPECT_EQ(ReadFileText(path), c.line);
    }
    // Flags make no difference to writing.
    const double values[] = {1, 2};
    ASSERT_EQ(
        WriteDataValues(path.c_str(), kTypeText | MultiplierFlag | ColumnEquationFlag, values, 2),
        1);
    EXPECT_EQ(ReadFileText(path), "1.000000\r\n2.000000\r\n");
    // Any other code that is not one of the binary ones is text too.
    ASSERT_EQ(WriteDataValues(path.c_str(), 0x1234, values, 1), 1);
    EXPECT_EQ(ReadFileText(path), "1.000000\r\n");
}

TEST_F(WriteDataValuesTest, LinesTooLongForTheLineBufferAreWrittenWhole) {
    const std::string path = PathOf("huge.txt");
    const double values[] = {1e200, -1.7976931348623157e308, 2};
    ASSERT_EQ(WriteDataValues(path.c_str(), kTypeText, values, 3), 1);
    const std::string text = ReadFileText(path);
    const std::string first = "1" + std::string(200, '0'); // 1e200 is not exactly 10^200
    ASSERT_EQ(text.substr(0, 5), "99999");
    const size_t firstEnd = text.find("\r\n");
    EXPECT_EQ(firstEnd, 200u + 7u); // 200 figures, the point and six decimals
    EXPECT_EQ(text.substr(firstEnd - 7, 9), ".000000\r\n");
    const size_t secondEnd = text.find("\r\n", firstEnd + 2);
    EXPECT_EQ(secondEnd - (firstEnd + 2), 1u + 309u + 7u);
    EXPECT_EQ(text.substr(secondEnd + 2), "2.000000\r\n");
}

TEST_F(WriteDataValuesTest, ManyValuesAreWrittenCompletely) {
    // More than one write buffer of each form.
    std::vector<double> values(50000);
    for (size_t i = 0; i < values.size(); ++i) values[i] = static_cast<double>(i) - 7.25;
    const std::string path = PathOf("many.dat");
    ASSERT_EQ(WriteDataValues(path.c_str(), kTypeDoubles, values.data(), 50000), 1);
    const Bytes bytes = ReadFileBytes(path);
    ASSERT_EQ(bytes.size(), 400000u);
    double last;
    const uint64_t bits = LoadLittle64(&bytes[8 * 49999]);
    std::memcpy(&last, &bits, 8);
    EXPECT_EQ(last, 49999 - 7.25);

    ASSERT_EQ(WriteDataValues(path.c_str(), kTypeText, values.data(), 50000), 1);
    const std::string text = ReadFileText(path);
    EXPECT_EQ(text.substr(0, 11), "-7.250000\r\n");
    EXPECT_EQ(text.substr(text.size() - 14), "49991.750000\r\n");
}

TEST_F(WriteDataValuesTest, SavingOverALongerFileLeavesOnlyTheNewContent) {
    const std::string path = PathOf("old.dat");
    WriteFileBytes(path, Bytes(1000, 0xAA));
    const double values[] = {1, 2};
    ASSERT_EQ(WriteDataValues(path.c_str(), kTypeUnsignedBytes, values, 2), 1);
    EXPECT_EQ(ReadFileBytes(path), (Bytes{1, 2}));
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"old.dat"});
}

TEST_F(WriteDataValuesTest, AnEmptyDataSetGivesAnEmptyFile) {
    const std::string path = PathOf("empty.dat");
    WriteFileBytes(path, Bytes(10, 1));
    ASSERT_EQ(WriteDataValues(path.c_str(), kTypeText, nullptr, 0), 1);
    EXPECT_EQ(ReadFileBytes(path), Bytes{});
    const std::string fresh = PathOf("fresh.dat");
    ASSERT_EQ(WriteDataValues(fresh.c_str(), kTypeDoubles, nullptr, 0), 1);
    EXPECT_TRUE(std::filesystem::exists(fresh));
}

TEST_F(WriteDataValuesTest, CancelledTypeWritesNothing) {
    const std::string path = PathOf("cancel.dat");
    const double value = 1;
    EXPECT_EQ(WriteDataValues(path.c_str(), 0, &value, 1), 0);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(WriteDataValues(nullptr, kTypeText, &value, 1), 0);
    EXPECT_EQ(WriteDataValues("", kTypeText, &value, 1), 0);
}

TEST_F(WriteDataValuesTest, FilesThatCannotBeWrittenAreLeftAsTheyWere) {
    const double values[] = {5, 6, 7};
    const Bytes original = {'o', 'l', 'd'};

    const std::string readOnly = PathOf("readonly.dat");
    WriteFileBytes(readOnly, original);
    MakeReadOnly(readOnly);
    EXPECT_EQ(WriteDataValues(readOnly.c_str(), kTypeText, values, 3), 0);
    EXPECT_EQ(ReadFileBytes(readOnly), original);

    const std::string locked = PathOf("locked.dat");
    WriteFileBytes(locked, original);
    {
        FileHandle holder; // another program holding the file without sharing
        ASSERT_TRUE(holder.Open(locked.c_str(), false));
        EXPECT_EQ(WriteDataValues(locked.c_str(), kTypeSignedBytes, values, 3), 0);
    }
    EXPECT_EQ(ReadFileBytes(locked), original);

    const std::string subfolder = PathOf("sub");
    std::filesystem::create_directory(subfolder);
    EXPECT_EQ(WriteDataValues(subfolder.c_str(), kTypeText, values, 3), 0);
    EXPECT_TRUE(std::filesystem::is_directory(subfolder));
    EXPECT_TRUE(std::filesystem::is_empty(subfolder));

    const std::string noFolder = PathOf("missing/data.txt");
    EXPECT_EQ(WriteDataValues(noFolder.c_str(), kTypeText, values, 3), 0);

    std::vector<std::string> entries = FolderEntries();
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (std::vector<std::string>{"locked.dat", "readonly.dat", "sub"}));
}

TEST_F(WriteDataValuesTest, AShortWriteReportsFailureAndKeepsTheOriginal) {
#ifdef _WIN32
    GTEST_SKIP() << "a file size limit is a POSIX facility";
#else
    const std::string path = PathOf("full.dat");
    const Bytes original(100, 0x55);
    WriteFileBytes(path, original);
    std::vector<double> values(10000, 1.0);
    // A file size limit of 4096 bytes stands in for a full disk.
    rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const int binary = WriteDataValues(path.c_str(), kTypeDoubles, values.data(), 10000);
    const int text = WriteDataValues(path.c_str(), kTypeText, values.data(), 10000);
    const int small = WriteDataValues(path.c_str(), kTypeDoubles, values.data(), 512);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(binary, 0);
    EXPECT_EQ(text, 0);
    EXPECT_EQ(small, 1); // exactly 4096 bytes still fit
    EXPECT_EQ(ReadFileBytes(path).size(), 4096u);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"full.dat"});
#endif
}

TEST_F(WriteDataValuesTest, AFailedSaveOfANewFileLeavesNoFile) {
#ifdef _WIN32
    GTEST_SKIP() << "a file size limit is a POSIX facility";
#else
    const std::string path = PathOf("new.dat");
    std::vector<double> values(10000, 1.0);
    rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const int result = WriteDataValues(path.c_str(), kTypeDoubles, values.data(), 10000);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{});
#endif
}

} // namespace
