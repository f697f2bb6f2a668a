// The portable pieces of the PNG export: the rows handed to the encoder in
// each layout it may take, and the format the save dialog's answer picks.
#include "bitmap/image_format.h"
#include "bitmap/pixel_rows.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

void Put(TBitmap& bitmap, int x, int y, uint32_t value) {
    int width = 0, height = 0, depth = 0, rowBytes = 0;
    bitmap.GetInfo(&width, &height, &depth, &rowBytes);
    ASSERT_EQ(bitmap.SetPixelRaw(x, y, value, width, height, depth, rowBytes), 1);
}

std::vector<uint8_t> Row(const TBitmap& bitmap, int y, int depth, bool* packed = nullptr) {
    int width = 0;
    bitmap.GetInfo(&width);
    std::vector<uint8_t> out(size_t(PackedRowBytes(width, depth)) + 1, 0xAB);
    const bool done = PackRow(bitmap, y, depth, out.data());
    if (packed) *packed = done;
    EXPECT_EQ(out.back(), 0xAB) << "written past the row";
    out.pop_back();
    return out;
}

TEST(PackRow, IndexedRowsInEveryLayoutTheEncoderMayTake) {
    // Five pixels of indices 1, 2, 0, 3, 1 in the top row of a 4-bit bitmap
    // whose entries 0 to 3 are black, white, green and red; the bottom row
    // holds index 2 only.
    TBitmap bitmap(5, 2, 4);
    uint32_t* table = reinterpret_cast<uint32_t*>(bitmap.info + kInfoHeaderBytes);
    const uint32_t colours[] = {0x000000, 0xFFFFFF, 0x00FF00, 0x0000FF};
    for (int i = 0; i < 4; ++i) table[i] = TBitmap::ColorToQuad(colours[i]);
    const int top[] = {1, 2, 0, 3, 1};
    for (int x = 0; x < 5; ++x) {
        Put(bitmap, x, 0, uint32_t(top[x]) << 24);
        Put(bitmap, x, 1, 2u << 24);
    }
    const struct {
        int y, depth;
        std::vector<uint8_t> row;
    } cases[] = {
        {0, 4, {0x12, 0x03, 0x10}},
        {0, 8, {1, 2, 0, 3, 1}},
        {0, 24, {255, 255, 255, 0, 255, 0, 0, 0, 0, 0, 0, 255, 255, 255, 255}},
        {1, 4, {0x22, 0x22, 0x20}},
        {1, 8, {2, 2, 2, 2, 2}},
    };
    for (const auto& c : cases) {
        bool packed = false;
        EXPECT_EQ(Row(bitmap, c.y, c.depth, &packed), c.row) << c.y << " at " << c.depth;
        EXPECT_TRUE(packed);
    }
    for (int depth : {1, 2, 16, 32, 3}) { // too few bits for the indices, or no such layout
        bool packed = true;
        Row(bitmap, 0, depth, &packed);
        EXPECT_FALSE(packed) << depth;
    }
}

TEST(PackRow, OneBitRowsWidenAndColourBitmapsGiveOnlyColours) {
    TBitmap mono(10, 1, 1); // black and white
    for (int x : {0, 3, 9}) Put(mono, x, 0, 1u << 24);
    EXPECT_EQ(Row(mono, 0, 1), (std::vector<uint8_t>{0x90, 0x40}));
    EXPECT_EQ(Row(mono, 0, 2), (std::vector<uint8_t>{0x41, 0x00, 0x10}));
    EXPECT_EQ(Row(mono, 0, 4), (std::vector<uint8_t>{0x10, 0x01, 0x00, 0x00, 0x01}));

    TBitmap colour(2, 2, 24);
    Put(colour, 0, 0, 0x112233);
    Put(colour, 1, 0, 0x445566);
    Put(colour, 0, 1, 0x778899);
    EXPECT_EQ(Row(colour, 0, 24), (std::vector<uint8_t>{0x11, 0x22, 0x33, 0x44, 0x55, 0x66}));
    EXPECT_EQ(Row(colour, 1, 24), (std::vector<uint8_t>{0x77, 0x88, 0x99, 0, 0, 0}));
    bool packed = true;
    Row(colour, 0, 8, &packed); // no colour table to index
    EXPECT_FALSE(packed);
    Row(colour, 2, 24, &packed); // below the last row
    EXPECT_FALSE(packed);
    Row(colour, -1, 24, &packed);
    EXPECT_FALSE(packed);
    TBitmap empty;
    EXPECT_FALSE(PackRow(empty, 0, 24, nullptr));
}

TEST(ChooseImageFormat, TheNamesExtensionWinsOverTheFilter) {
    const struct {
        const char* path;
        int filterIndex;
        ImageFormat format;
    } cases[] = {
        {"C:\\g\\graph.png", 1, ImageFormat::kPng},
        {"graph.PNG", 3, ImageFormat::kPng},
        {"graph.bmp", kPngFilterIndex, ImageFormat::kBmp},
        {"graph.Bmp", 1, ImageFormat::kBmp},
        {"graph", kPngFilterIndex, ImageFormat::kPng},
        {"graph.txt", kPngFilterIndex, ImageFormat::kPng},
        {"graph", 1, ImageFormat::kBmp},
        {"graph.txt", 3, ImageFormat::kBmp},
        {"graph", 0, ImageFormat::kBmp},
        {"png", 1, ImageFormat::kBmp},
        {"a.png.bmp", 2, ImageFormat::kBmp},
        {".png", 1, ImageFormat::kPng},
        {"", kPngFilterIndex, ImageFormat::kPng},
        {nullptr, 1, ImageFormat::kBmp},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseImageFormat(c.path, c.filterIndex), c.format)
            << (c.path ? c.path : "(null)") << " " << c.filterIndex;
}

} // namespace
