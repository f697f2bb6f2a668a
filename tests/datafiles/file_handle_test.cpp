#include "datafiles/data_file.h"
#include "datafiles/file_handle.h"

#include "request_gate.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using FileHandleTest = TempFolder;

std::vector<uint8_t> Pattern(size_t size) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + i / 251);
    return bytes;
}

TEST_F(FileHandleTest, TransferMovesLargeCountsInChunksOf131072Bytes) {
    const std::string path = PathOf("chunks.bin");
    const std::vector<uint8_t> bytes = Pattern(300000);
    {
        FileHandle file;
        ASSERT_TRUE(file.Open(path.c_str(), true));
        const RequestGate requests;
        EXPECT_EQ(file.Write(bytes.data(), 300000), 300000u);
        // 131072 + 131072 + 37856
        EXPECT_EQ(requests.Total(), 3);
    }
    ASSERT_EQ(ReadFileBytes(path), bytes);

    const struct {
        uint32_t count;
        uint32_t moved;
        int requests;
    } cases[] = {
        {300000, 300000, 3}, // full chunks, then the rest
        {262144, 262144, 2}, // exactly two chunks
        {131072, 131072, 1}, {1, 1, 1},
        {400000, 300000, 3}, // the third chunk comes back short: end of file
        {0, 0, 0},           // no request at all
    };
    for (const auto& c : cases) {
        FileHandle file;
        ASSERT_TRUE(file.Open(path.c_str(), false));
        std::vector<uint8_t> got(c.count + 1, 0);
        const RequestGate requests;
        EXPECT_EQ(file.Transfer(got.data(), c.count, 'r'), c.moved) << c.count;
        EXPECT_EQ(requests.Total(), c.requests) << c.count;
        EXPECT_TRUE(std::equal(got.begin(), got.begin() + c.moved, bytes.begin())) << c.count;
    }
}

TEST_F(FileHandleTest, ReadingPastTheEndReturnsWhatIsLeft) {
    const std::string path = PathOf("three.bin");
    WriteFileBytes(path, {10, 20, 30});
    FileHandle file;
    ASSERT_TRUE(file.Open(path.c_str(), false));
    EXPECT_EQ(file.Seek(2, FileHandle::kBegin), 2u);
    uint8_t got[2] = {0, 0};
    EXPECT_EQ(file.Transfer(got, 2, 'r'), 1u);
    EXPECT_EQ(got[0], 30);
    EXPECT_EQ(file.Transfer(got, 2, 'r'), 0u);
}

TEST_F(FileHandleTest, SeekAndGetSizeReportPositionsAndLength) {
    const std::string path = PathOf("seek.bin");
    WriteFileBytes(path, Pattern(1000));
    FileHandle file;
    ASSERT_TRUE(file.Open(path.c_str(), false));
    EXPECT_EQ(file.GetSize(), 1000u);
    EXPECT_EQ(file.Seek(0, FileHandle::kEnd), 1000u);
    EXPECT_EQ(file.Seek(-10, FileHandle::kCurrent), 990u);
    EXPECT_EQ(file.Seek(5, FileHandle::kBegin), 5u);
    uint8_t got = 0;
    EXPECT_EQ(file.Transfer(&got, 1, 'r'), 1u);
    EXPECT_EQ(got, Pattern(1000)[5]);
}

TEST_F(FileHandleTest, SetLengthCutsAndExtendsButKeepsThePosition) {
    const std::string path = PathOf("length.bin");
    WriteFileBytes(path, Pattern(100));
    FileHandle file;
    ASSERT_TRUE(file.Open(path.c_str(), false));
    ASSERT_EQ(file.Seek(0, FileHandle::kEnd), 100u);
    EXPECT_TRUE(file.SetLength(0));
    EXPECT_EQ(file.GetSize(), 0u);
    // The position stays beyond the end of the now empty file.
    EXPECT_EQ(file.Seek(0, FileHandle::kCurrent), 100u);

    ASSERT_EQ(file.Seek(3, FileHandle::kBegin), 3u);
    EXPECT_TRUE(file.SetLength(50));
    EXPECT_EQ(file.GetSize(), 50u);
    EXPECT_EQ(file.Seek(0, FileHandle::kCurrent), 3u);
    file.Close();
    EXPECT_EQ(ReadFileBytes(path), std::vector<uint8_t>(50, 0));
}

TEST_F(FileHandleTest, OpenCreatesOnlyWhenAsked) {
    const std::string path = PathOf("new.bin");
    FileHandle file;
    EXPECT_FALSE(file.Open(path.c_str(), false));
    EXPECT_FALSE(file.IsOpen());
    ASSERT_TRUE(file.Open(path.c_str(), true));
    EXPECT_TRUE(file.WasCreated());
    EXPECT_TRUE(file.IsWritable());
    EXPECT_EQ(file.GetSize(), 0u);
    // Open closes first, so the same object can open the file again.
    ASSERT_TRUE(file.Open(path.c_str(), true));
    EXPECT_FALSE(file.WasCreated());
    EXPECT_FALSE(file.Open(nullptr, true));
}

TEST_F(FileHandleTest, FoldersAreNotOpened) {
    FileHandle file;
    EXPECT_FALSE(file.Open(folder.string().c_str(), false));
    EXPECT_FALSE(file.Open(folder.string().c_str(), true));
    EXPECT_FALSE(file.IsOpen());
}

TEST_F(FileHandleTest, ReadOnlyFilesOpenForReadingAndTakeNoWrites) {
    const std::string path = PathOf("readonly.bin");
    WriteFileBytes(path, {1, 2, 3, 4});
    MakeReadOnly(path);
    FileHandle file;
    ASSERT_TRUE(file.Open(path.c_str(), true));
    EXPECT_FALSE(file.IsWritable());
    uint8_t got[4] = {};
    EXPECT_EQ(file.Transfer(got, 4, 'r'), 4u);
    EXPECT_EQ(got[3], 4);
    const uint8_t more[2] = {9, 9};
    EXPECT_EQ(file.Write(more, 2), 0u);
    EXPECT_FALSE(file.SetLength(0));
    file.Close();
    EXPECT_EQ(ReadFileBytes(path), (std::vector<uint8_t>{1, 2, 3, 4}));
}

TEST_F(FileHandleTest, AnOpenFileIsNotShared) {
    const std::string path = PathOf("held.bin");
    WriteFileBytes(path, {1});
    FileHandle holder;
    ASSERT_TRUE(holder.Open(path.c_str(), false));
    FileHandle other;
    EXPECT_FALSE(other.Open(path.c_str(), false));
    holder.Close();
    EXPECT_TRUE(other.Open(path.c_str(), false));
}

TEST_F(FileHandleTest, WriteNeedsAnOpenHandleABufferACountAndNoAbort) {
    const std::string path = PathOf("write.bin");
    const uint8_t bytes[3] = {7, 8, 9};
    FileHandle file;
    EXPECT_EQ(file.Write(bytes, 3), 0u); // not open
    ASSERT_TRUE(file.Open(path.c_str(), true));
    EXPECT_EQ(file.Write(nullptr, 3), 0u);
    EXPECT_EQ(file.Write(bytes, 0), 0u);
    file.abortFlag = 1;
    {
        const RequestGate requests;
        EXPECT_EQ(file.Write(bytes, 3), 0u);
        EXPECT_EQ(requests.Total(), 0);
    }
    file.abortFlag = 0;
    EXPECT_EQ(file.Write(bytes, 3), 3u);
    EXPECT_EQ(file.GetSize(), 3u);
}

TEST_F(FileHandleTest, CloseSetsTheStopFlagAndTransferClearsIt) {
    const std::string path = PathOf("stop.bin");
    WriteFileBytes(path, {1, 2});
    FileHandle file;
    ASSERT_TRUE(file.Open(path.c_str(), false));
    file.stopFlag = 1;
    uint8_t got[2];
    EXPECT_EQ(file.Transfer(got, 2, 'r'), 2u);
    EXPECT_EQ(file.stopFlag, 0);
    file.Close();
    EXPECT_EQ(file.stopFlag, 1);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.GetSize(), FileHandle::kFailure);
    EXPECT_EQ(file.Seek(0, FileHandle::kBegin), FileHandle::kFailure);
    EXPECT_EQ(file.Transfer(got, 2, 'r'), 0u);
}

TEST_F(FileHandleTest, QueryFileSizeGivesBothHalvesAndZeroForFoldersAndMissingFiles) {
    const std::string path = PathOf("size.bin");
    WriteFileBytes(path, Pattern(12345));
    uint32_t high = 77;
    EXPECT_EQ(QueryFileSize(path.c_str(), &high), 12345u);
    EXPECT_EQ(high, 0u);
    EXPECT_EQ(QueryFileSize(path.c_str(), nullptr), 12345u);

    high = 77;
    EXPECT_EQ(QueryFileSize(folder.string().c_str(), &high), 0u);
    EXPECT_EQ(high, 0u);
    high = 77;
    EXPECT_EQ(QueryFileSize(PathOf("missing.bin").c_str(), &high), 0u);
    EXPECT_EQ(high, 0u);

    // A sparse file beyond 4 GiB: the upper half counts.
    const std::string large = PathOf("large.bin");
    {
        FileHandle file;
        ASSERT_TRUE(file.Open(large.c_str(), true));
        ASSERT_TRUE(file.SetLength((uint64_t{1} << 32) + 5));
        EXPECT_EQ(file.GetSize(), (uint64_t{1} << 32) + 5);
    }
    EXPECT_EQ(QueryFileSize(large.c_str(), &high), 5u);
    EXPECT_EQ(high, 1u);
}

} // namespace
