#include "bitmap/tbitmap.h"
#include "bitmap/palette.h"

#include "datafiles/file_handle.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

uint32_t HeaderU32(const TBitmap& bitmap, int offset) {
    const uint8_t* p = bitmap.info + offset;
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint32_t HeaderU16(const TBitmap& bitmap, int offset) {
    return uint32_t(bitmap.info[offset]) | uint32_t(bitmap.info[offset + 1]) << 8;
}

struct Geometry {
    int width = 0, height = 0, depth = 0, rowBytes = 0;
};
Geometry GeometryOf(const TBitmap& bitmap) {
    Geometry g;
    bitmap.GetInfo(&g.width, &g.height, &g.depth, &g.rowBytes);
    return g;
}
void SetPixel(TBitmap& bitmap, int x, int y, uint32_t value) {
    const Geometry g = GeometryOf(bitmap);
    ASSERT_EQ(bitmap.SetPixelRaw(x, y, value, g.width, g.height, g.depth, g.rowBytes), 1);
}

FileHandle closedFile; // a file handle that was never opened

std::string TempPath(const char* name) {
    return ::testing::TempDir() + name;
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        int c;
        while ((c = std::fgetc(f)) != EOF) bytes.push_back(uint8_t(c));
        std::fclose(f);
    }
    return bytes;
}
void WriteFileBytes(const std::string& path, const std::string& text) {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs(text.c_str(), f);
    std::fclose(f);
}

} // namespace

TEST(TBitmapConstruct, GetInfoReportsTheGeometryOfEveryDepth) {
    const struct {
        int width, height, depth;
        int rowBytes, tableBytes;
        uint32_t totalBytes;
        int reportedDepth;
        uint32_t bitCount, compression;
    } cases[] = {
        {3, 2, 4, 4, 64, 112, 4, 4, kBiRgb},         {1, 1, 1, 4, 8, 52, 1, 1, kBiRgb},
        {33, 1, 1, 8, 8, 56, 1, 1, kBiRgb},          {8, 3, 4, 4, 64, 116, 4, 4, kBiRgb},
        {5, 3, 8, 8, 1024, 1088, 8, 8, kBiRgb},      {3, 2, 15, 8, 0, 56, 15, 16, kBiRgb},
        {3, 2, 16, 8, 12, 68, 16, 16, kBiBitfields}, {3, 2, 24, 12, 0, 64, 24, 24, kBiRgb},
        {4, 1, 24, 12, 0, 52, 24, 24, kBiRgb},       {3, 2, 32, 12, 0, 64, 32, 32, kBiRgb},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << "x" << c.depth);
        TBitmap bitmap(c.width, c.height, c.depth);
        ASSERT_NE(bitmap.info, nullptr);
        int width = -1, height = -1, depth = -1, rowBytes = -1, tableBytes = -1;
        uint32_t totalBytes = 0;
        EXPECT_EQ(bitmap.GetInfo(&width, &height, &depth, &rowBytes, &tableBytes, &totalBytes),
                  c.width * c.height);
        EXPECT_EQ(width, c.width);
        EXPECT_EQ(height, c.height);
        EXPECT_EQ(depth, c.reportedDepth);
        EXPECT_EQ(rowBytes, c.rowBytes);
        EXPECT_EQ(tableBytes, c.tableBytes);
        EXPECT_EQ(totalBytes, c.totalBytes);
        EXPECT_EQ(bitmap.bits, bitmap.info + kInfoHeaderBytes + c.tableBytes);
        EXPECT_EQ(TBitmap::RowBytes(c.width, c.depth), c.rowBytes);

        EXPECT_EQ(HeaderU32(bitmap, kBiSize), 40u);
        EXPECT_EQ(HeaderU32(bitmap, kBiWidth), uint32_t(c.width));
        EXPECT_EQ(HeaderU32(bitmap, kBiHeight), uint32_t(c.height));
        EXPECT_EQ(HeaderU16(bitmap, kBiPlanes), 1u);
        EXPECT_EQ(HeaderU16(bitmap, kBiBitCount), c.bitCount);
        EXPECT_EQ(HeaderU32(bitmap, kBiCompression), c.compression);
        for (int offset :
             {kBiSizeImage, kBiXPelsPerMeter, kBiYPelsPerMeter, kBiClrUsed, kBiClrImportant})
            EXPECT_EQ(HeaderU32(bitmap, offset), 0u) << offset;
        EXPECT_FALSE(bitmap.IsCompressed());
        EXPECT_EQ(bitmap.defaultColor, 0x00FFFFFFu);
        EXPECT_EQ(bitmap.transparentColor, 0xFFFFFFFFu);
    }
}

TEST(TBitmapConstruct, ColourTablesAreBlackWhiteGreysAndMasks) {
    TBitmap mono(1, 1, 1), grey16(1, 1, 4), grey256(1, 1, 8), masks(1, 1, 16);
    EXPECT_EQ(HeaderU32(mono, 40), 0x000000u);
    EXPECT_EQ(HeaderU32(mono, 44), 0xFFFFFFu);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(HeaderU32(grey16, 40 + 4 * i), 0x111111u * i) << i;
    for (int i = 0; i < 256; ++i) EXPECT_EQ(HeaderU32(grey256, 40 + 4 * i), 0x010101u * i) << i;
    EXPECT_EQ(HeaderU32(masks, 40), 0xF800u);
    EXPECT_EQ(HeaderU32(masks, 44), 0x07E0u);
    EXPECT_EQ(HeaderU32(masks, 48), 0x001Fu);

    EXPECT_EQ(TBitmap::DefaultPalette(1)[1], 0xFFFFFFu);
    EXPECT_EQ(TBitmap::DefaultPalette(4)[15], 0xFFFFFFu);
    EXPECT_EQ(TBitmap::DefaultPalette(8)[128], 0x808080u);
    for (int depth : {15, 16, 24, 32, 2}) EXPECT_EQ(TBitmap::DefaultPalette(depth), nullptr);
}

TEST(TBitmapConstruct, RowBytesPadsEveryRowToFourBytes) {
    const struct {
        int width, depth;
        int64_t expected;
    } cases[] = {
        {1, 1, 4},
        {32, 1, 4},
        {33, 1, 8},
        {7, 4, 4},
        {9, 4, 8},
        {4, 8, 4},
        {5, 8, 8},
        {1, 15, 4},
        {2, 16, 4},
        {3, 16, 8},
        {1, 24, 4},
        {4, 24, 12},
        {5, 24, 16},
        {1, 32, 4},
        {0, 24, 0},
        {-5, 24, 0},
        {INT_MAX, 32, int64_t(INT_MAX) * 4},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TBitmap::RowBytes(c.width, c.depth), c.expected) << c.width << " " << c.depth;
}

// Runs every operation on a bitmap that holds no block; each must refuse.
static void ExpectEverythingRefused(TBitmap& bitmap) {
    EXPECT_EQ(bitmap.info, nullptr);
    EXPECT_EQ(bitmap.bits, nullptr);
    int width = -7;
    uint32_t total = 77;
    EXPECT_EQ(bitmap.GetInfo(&width, nullptr, nullptr, nullptr, nullptr, &total), 0);
    EXPECT_EQ(width, -7);
    EXPECT_EQ(total, 77u);
    EXPECT_FALSE(bitmap.IsCompressed());
    EXPECT_EQ(bitmap.GetPixelAt(0, 0), kColorWhite);
    EXPECT_EQ(bitmap.GetPixelRaw(0, 0, 1, 1, 24, 4), kColorWhite);
    EXPECT_EQ(bitmap.SetPixelRaw(0, 0, 0, 1, 1, 24, 4), 0);
    EXPECT_EQ(bitmap.CountColors(), 0);
    uint32_t table[4] = {1, 2, 3, 4};
    uint8_t* lookup = reinterpret_cast<uint8_t*>(table);
    EXPECT_EQ(bitmap.BuildPalette(table, 4, kQuantize16Buckets, &lookup), 0);
    EXPECT_EQ(lookup, nullptr);
    for (uint32_t entry : table) EXPECT_EQ(entry, 0u);
    EXPECT_EQ(bitmap.ConvertTo(4), 0);
    EXPECT_EQ(bitmap.WriteBmp(closedFile), 0u);
    const std::string path = TempPath("tbitmap_empty.bmp");
    WriteFileBytes(path, "keep me");
    EXPECT_EQ(bitmap.SaveToFile(path.c_str()), 0u);
    EXPECT_EQ(ReadFileBytes(path), std::vector<uint8_t>({'k', 'e', 'e', 'p', ' ', 'm', 'e'}));
    std::remove(path.c_str());
}

TEST(TBitmapConstruct, InvalidArgumentsGiveAnEmptyBitmap) {
    const struct {
        int width, height, depth;
    } cases[] = {
        {10, 10, 2}, {0, 5, 8},  {5, 0, 8},   {-1, 5, 24}, {5, -1, 24},
        {5, 5, 0},   {5, 5, 33}, {5, 5, -24}, {5, 5, 64},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << "x" << c.depth);
        TBitmap bitmap(c.width, c.height, c.depth);
        ExpectEverythingRefused(bitmap);
    }
    TBitmap unset;
    ExpectEverythingRefused(unset);
}

TEST(TBitmapConstruct, SizesBeyondTheLimitGiveAnEmptyBitmap) {
    // None of these asks the allocator for anything: the byte count is refused
    // first (over 2 GiB, more than INT32_MAX pixels, or overflowing 32 bits).
    const struct {
        int width, height, depth;
    } cases[] = {
        {100000, 100000, 32}, {INT_MAX, INT_MAX, 32}, {INT_MAX, 1, 32}, {INT_MAX, 1, 8},
        {65536, 65536, 1},    {46341, 46341, 1},      {1, INT_MAX, 24}, {23171, 23171, 32},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << "x" << c.depth);
        TBitmap bitmap(c.width, c.height, c.depth);
        ExpectEverythingRefused(bitmap);
    }
}

TEST(TBitmapConstruct, ReleaseAndAssignMoveTheBlock) {
    TBitmap source(4, 3, 24);
    SetPixel(source, 1, 2, 0x123456);
    uint8_t* block = source.info;
    TBitmap target(2, 2, 8);
    target.Assign(source);
    EXPECT_EQ(target.info, block);
    EXPECT_EQ(target.GetInfo(), 12);
    EXPECT_EQ(target.GetPixelAt(1, 2), 0x123456u);
    EXPECT_EQ(source.info, nullptr);
    EXPECT_EQ(source.bits, nullptr);
    EXPECT_EQ(source.GetInfo(), 0);

    target.Assign(target);
    EXPECT_EQ(target.GetPixelAt(1, 2), 0x123456u);

    target.Release();
    EXPECT_EQ(target.info, nullptr);
    EXPECT_EQ(target.bits, nullptr);
    EXPECT_EQ(target.WriteBmp(closedFile), 0u);

    // Deleting through the class pointer releases the block (ASan would see a leak).
    TBitmap* owned = new TBitmap(8, 8, 32);
    delete owned;
}

TEST(TBitmapPixels, WritesAndReadsBackEveryDepth) {
    const struct {
        int depth;
        uint32_t written, read;
    } cases[] = {
        {1, 0x01000000, 0x01FFFFFF},  {1, 0x00FFFFFF, 0x00000000},  {1, 0x03000000, 0x01FFFFFF},
        {4, 0x05000000, 0x05555555},  {4, 0x1F000000, 0x0FFFFFFF},  {8, 0xC8000000, 0xC8C8C8C8},
        {8, 0x00123456, 0x00000000},  {15, 0x00FAFAFA, 0x00F8F8F8}, {15, 0x00060504, 0x00080800},
        {15, 0xFF000000, 0x00000000}, {16, 0x00010101, 0x00000000}, {16, 0x00FFFFFF, 0x00F8FCF8},
        {16, 0x00060302, 0x00080400}, {24, 0xFF123456, 0x00123456}, {32, 0xAB123456, 0xAB123456},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "depth " << c.depth << " value " << std::hex << c.written);
        TBitmap bitmap(5, 3, c.depth);
        SetPixel(bitmap, 3, 1, c.written);
        EXPECT_EQ(bitmap.GetPixelAt(3, 1), c.read);
    }
}

TEST(TBitmapPixels, StoresTheDocumentedBits) {
    // Depth 15: 250 + 3 keeps five bits of 31 in every channel.
    TBitmap rgb555(1, 1, 15);
    SetPixel(rgb555, 0, 0, 0x00FAFAFA);
    EXPECT_EQ(rgb555.bits[0], 0xFF);
    EXPECT_EQ(rgb555.bits[1], 0x7F);
    // Depth 16: red in the top five bits, green in six, blue in the low five.
    TBitmap rgb565(1, 1, 16);
    SetPixel(rgb565, 0, 0, 0x00FF0000); // blue
    EXPECT_EQ(rgb565.bits[0], 0x1F);
    EXPECT_EQ(rgb565.bits[1], 0x00);
    SetPixel(rgb565, 0, 0, 0x000000FF); // red
    EXPECT_EQ(rgb565.bits[0], 0x00);
    EXPECT_EQ(rgb565.bits[1], 0xF8);
    // Depth 24: blue, green, red.
    TBitmap rgb(1, 1, 24);
    SetPixel(rgb, 0, 0, 0x00332211);
    EXPECT_EQ(rgb.bits[0], 0x33);
    EXPECT_EQ(rgb.bits[1], 0x22);
    EXPECT_EQ(rgb.bits[2], 0x11);
}

TEST(TBitmapPixels, IndexedDepthsKeepTheNeighbouringPixels) {
    TBitmap mono(16, 1, 1);
    for (int x = 0; x < 16; ++x) SetPixel(mono, x, 0, 0);
    SetPixel(mono, 0, 0, 0x01000000);
    EXPECT_EQ(mono.bits[0], 0x80); // the leftmost pixel is the top bit
    SetPixel(mono, 9, 0, 0x01000000);
    SetPixel(mono, 15, 0, 0x01000000);
    EXPECT_EQ(mono.bits[1], 0x41);
    SetPixel(mono, 15, 0, 0);
    EXPECT_EQ(mono.bits[0], 0x80);
    EXPECT_EQ(mono.bits[1], 0x40);

    TBitmap nibbles(4, 1, 4);
    SetPixel(nibbles, 0, 0, 0x0A000000);
    SetPixel(nibbles, 1, 0, 0x03000000);
    SetPixel(nibbles, 2, 0, 0x0F000000);
    EXPECT_EQ(nibbles.bits[0], 0xA3);
    SetPixel(nibbles, 0, 0, 0x01000000);
    EXPECT_EQ(nibbles.bits[0], 0x13);
    EXPECT_EQ(nibbles.GetPixelAt(1, 0), 0x03333333u);
    EXPECT_EQ(nibbles.GetPixelAt(2, 0), 0x0FFFFFFFu);
}

TEST(TBitmapPixels, RowZeroIsTheLastRowInMemory) {
    TBitmap bitmap(1, 2, 8);
    SetPixel(bitmap, 0, 0, 0x11000000);
    SetPixel(bitmap, 0, 1, 0x22000000);
    const int rowBytes = int(TBitmap::RowBytes(1, 8));
    EXPECT_EQ(bitmap.bits[0], 0x22);
    EXPECT_EQ(bitmap.bits[rowBytes], 0x11);
    EXPECT_EQ(bitmap.GetPixelAt(0, 0), 0x11111111u);
    EXPECT_EQ(bitmap.GetPixelAt(0, 1), 0x22222222u);
}

TEST(TBitmapPixels, UnknownDepthIsRefusedByTheRawAccessors) {
    TBitmap bitmap(2, 2, 24);
    EXPECT_EQ(bitmap.SetPixelRaw(0, 0, 0x123456, 2, 2, 2, 8), 0);
    EXPECT_EQ(bitmap.GetPixelRaw(0, 0, 2, 2, 2, 8), kColorWhite);
}

TEST(TBitmapPixels, PointsOutsideGiveTheDefaultColour) {
    TBitmap bitmap(3, 2, 24);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) SetPixel(bitmap, x, y, 0x000000);
    const struct {
        int x, y;
    } outside[] = {{-1, 0}, {0, -1}, {3, 0}, {0, 2}, {INT_MIN, 0}, {0, INT_MAX}};
    for (const auto& p : outside)
        EXPECT_EQ(bitmap.GetPixelAt(p.x, p.y), kColorWhite) << p.x << "," << p.y;
    EXPECT_EQ(bitmap.GetPixelAt(2, 1), 0u);
    bitmap.defaultColor = 0x0000FF00;
    EXPECT_EQ(bitmap.GetPixelAt(-1, 0), 0x0000FF00u);
}

TEST(TBitmapPixels, CompressedBitmapsAreRefused) {
    for (uint8_t compression : {1, 2}) {
        TBitmap bitmap(4, 4, 8);
        bitmap.info[kBiCompression] = compression;
        EXPECT_TRUE(bitmap.IsCompressed());
        EXPECT_EQ(bitmap.GetPixelAt(0, 0), kColorWhite);
        EXPECT_EQ(bitmap.CountColors(), 0);
        uint32_t table[2];
        EXPECT_EQ(bitmap.BuildPalette(table, 2, 0, nullptr), 0);
        EXPECT_EQ(bitmap.ConvertTo(1), 0);
        EXPECT_EQ(bitmap.GetInfo(), 16);
    }
}

// ---- files ----

TEST(TBitmapFile, SmallBitmapsSaveAsTheExactFileBytes) {
    const uint8_t header40[] = {40, 0, 0, 0};
    struct Case {
        int width, height, depth;
        std::vector<uint32_t> pixels; // row by row from the top
        std::vector<uint8_t> file;
    };
    auto withInfo = [&](std::vector<uint8_t> fileHeader, int w, int h, int bitCount,
                        int compression, std::vector<uint8_t> rest) {
        std::vector<uint8_t> bytes = fileHeader;
        bytes.insert(bytes.end(), header40, header40 + 4);
        const uint8_t info[] = {
            uint8_t(w),           0, 0, 0, uint8_t(h), 0, 0, 0, 1, 0, uint8_t(bitCount), 0,
            uint8_t(compression), 0, 0, 0};
        bytes.insert(bytes.end(), info, info + sizeof info);
        bytes.insert(bytes.end(), 20, 0);
        bytes.insert(bytes.end(), rest.begin(), rest.end());
        return bytes;
    };
    const Case cases[] = {
        {1,
         1,
         1,
         {0x01000000},
         withInfo({'B', 'M', 66, 0, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0}, 1, 1, 1, 0,
                  {0, 0, 0, 0, 255, 255, 255, 0, 0x80, 0, 0, 0})},
        {3,
         2,
         4,
         {0x01000000, 0x02000000, 0x0F000000, 0x0A000000, 0x0B000000, 0x0C000000},
         [&] {
             std::vector<uint8_t> rest;
             for (int i = 0; i < 16; ++i)
                 rest.insert(rest.end(), {uint8_t(17 * i), uint8_t(17 * i), uint8_t(17 * i), 0});
             rest.insert(rest.end(), {0xAB, 0xC0, 0, 0, 0x12, 0xF0, 0, 0});
             return withInfo({'B', 'M', 126, 0, 0, 0, 0, 0, 0, 0, 118, 0, 0, 0}, 3, 2, 4, 0, rest);
         }()},
        {2,
         2,
         24,
         {0x000000FF, 0x0000FF00, 0x00FF0000, 0x00123456},
         withInfo({'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0}, 2, 2, 24, 0,
                  {255, 0, 0, 0x12, 0x34, 0x56, 0, 0, 0, 0, 255, 0, 255, 0, 0, 0})},
        {1,
         1,
         16,
         {0x00FFFFFF},
         withInfo({'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 66, 0, 0, 0}, 1, 1, 16, 3,
                  {0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0, 0xFF, 0xFF, 0, 0})},
        {1,
         1,
         32,
         {0x7F010203},
         withInfo({'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0}, 1, 1, 32, 0, {1, 2, 3, 0x7F})},
    };
    const std::string path = TempPath("tbitmap_small.bmp");
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << "x" << c.depth);
        TBitmap bitmap(c.width, c.height, c.depth);
        for (int i = 0; i < int(c.pixels.size()); ++i)
            SetPixel(bitmap, i % c.width, i / c.width, c.pixels[size_t(i)]);
        EXPECT_EQ(bitmap.SaveToFile(path.c_str()), uint32_t(c.file.size()));
        EXPECT_EQ(ReadFileBytes(path), c.file);
    }
    std::remove(path.c_str());
}

TEST(TBitmapFile, SaveReplacesALongerFile) {
    const std::string path = TempPath("tbitmap_replace.bmp");
    WriteFileBytes(path, std::string(500, 'x'));
    TBitmap bitmap(1, 1, 1);
    EXPECT_EQ(bitmap.SaveToFile(path.c_str()), 66u);
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    ASSERT_EQ(bytes.size(), 66u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    std::remove(path.c_str());
}

TEST(TBitmapFile, FailuresGiveZero) {
    TBitmap bitmap(2, 2, 24);
    EXPECT_EQ(bitmap.SaveToFile(nullptr), 0u);
    EXPECT_EQ(bitmap.SaveToFile(TempPath("no_such_folder_tbitmap/x.bmp").c_str()), 0u);
    EXPECT_EQ(bitmap.WriteBmp(closedFile), 0u);
#ifndef _WIN32
    // A device is not a file that a save may replace.
    EXPECT_EQ(bitmap.SaveToFile("/dev/full"), 0u);
    struct stat device;
    EXPECT_TRUE(stat("/dev/full", &device) == 0 && S_ISCHR(device.st_mode));
#endif
}

TEST(TBitmapFile, AHeaderPromisingMoreThanTheBlockIsNotWritten) {
    TBitmap bitmap(2, 2, 8);
    bitmap.info[kBiClrUsed + 1] = 0x10; // 4096 table entries in a 256-entry block
    const std::string path = TempPath("tbitmap_corrupt.bmp");
    EXPECT_EQ(bitmap.SaveToFile(path.c_str()), 0u);
    std::remove(path.c_str());
}
