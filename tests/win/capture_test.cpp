// TBitmap::CaptureFromDC against the system's own pixel reads: every captured
// pixel must equal GetPixel of the device context it came from.
#include "bitmap/tbitmap.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

// A memory device context like the screen, with a drawn picture of size w x h.
class DrawnSurface {
  public:
    DrawnSurface(int width, int height) {
        HDC screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        bitmap = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        previous = SelectObject(dc, bitmap);
        const RECT all = {0, 0, width, height};
        HBRUSH back = CreateSolidBrush(RGB(10, 20, 30));
        FillRect(dc, &all, back);
        DeleteObject(back);
        // A gradient that gives neighbouring pixels different colours, so
        // that a shifted or mirrored row cannot pass.
        for (int y = 0; y < height; y += 3)
            for (int x = 0; x < width; x += 2)
                SetPixel(dc, x, y, RGB(x * 7 & 0xFF, y * 11 & 0xFF, (x + 3 * y) & 0xFF));
        HPEN pen = CreatePen(PS_SOLID, 3, RGB(250, 250, 3));
        HGDIOBJ oldPen = SelectObject(dc, pen);
        MoveToEx(dc, 0, height - 1, nullptr);
        LineTo(dc, width - 1, 0);
        SelectObject(dc, oldPen);
        DeleteObject(pen);
    }
    ~DrawnSurface() {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    DrawnSurface(const DrawnSurface&) = delete;
    DrawnSurface& operator=(const DrawnSurface&) = delete;
    HDC dc;

  private:
    HBITMAP bitmap;
    HGDIOBJ previous;
};

// Number of pixels of the bitmap that differ from GetPixel at the offset.
int CountDifferences(const TBitmap& bitmap, HDC dc, int left, int top) {
    int width = 0, height = 0;
    bitmap.GetInfo(&width, &height);
    int differences = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (bitmap.GetPixelAt(x, y) != GetPixel(dc, left + x, top + y)) ++differences;
    return differences;
}

TEST(CaptureFromDC, EmptyBitmapBecomesA24BitCopyOfTheRectangle) {
    DrawnSurface surface(37, 23);
    TBitmap bitmap;
    const RECT rect = {3, 2, 33, 21};
    EXPECT_EQ(bitmap.CaptureFromDC(surface.dc, &rect), 1);
    int width = 0, height = 0, depth = 0;
    EXPECT_EQ(bitmap.GetInfo(&width, &height, &depth), 30 * 19);
    EXPECT_EQ(width, 30);
    EXPECT_EQ(height, 19);
    EXPECT_EQ(depth, 24);
    EXPECT_EQ(CountDifferences(bitmap, surface.dc, 3, 2), 0);
    // Not mirrored or shifted: (5, 1) is the gradient's pixel at (8, 3).
    EXPECT_EQ(bitmap.GetPixelAt(5, 1), RGB(8 * 7, 3 * 11, 8 + 9));
}

TEST(CaptureFromDC, TallCaptureCrossesTransferChunks) {
    DrawnSurface surface(1100, 1000); // more rows than one 4 MiB chunk holds
    TBitmap bitmap;
    const RECT rect = {0, 0, 1100, 1000};
    ASSERT_EQ(bitmap.CaptureFromDC(surface.dc, &rect), 1);
    EXPECT_EQ(CountDifferences(bitmap, surface.dc, 0, 0), 0);
}

TEST(CaptureFromDC, KeepsADepthOf15OrMoreAndRoundsLikeSetPixelRaw) {
    DrawnSurface surface(20, 9);
    const RECT rect = {0, 0, 20, 9};
    for (int depth : {15, 16, 24, 32}) {
        TBitmap bitmap(20, 9, depth), expected(20, 9, depth);
        ASSERT_NE(bitmap.info, nullptr);
        int width, height, rowBytes, tableBytes;
        uint32_t total;
        expected.GetInfo(&width, &height, nullptr, &rowBytes, &tableBytes, &total);
        std::memset(bitmap.bits, 0xEE, static_cast<size_t>(rowBytes) * height);
        std::memset(expected.bits, 0xEE, static_cast<size_t>(rowBytes) * height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                expected.SetPixelRaw(x, y, GetPixel(surface.dc, x, y), width, height, depth,
                                     rowBytes);
        uint8_t* block = bitmap.info;
        EXPECT_EQ(bitmap.CaptureFromDC(surface.dc, &rect), 1) << depth;
        EXPECT_EQ(bitmap.info, block) << "the block of the right size is reused";
        int capturedDepth = 0;
        bitmap.GetInfo(nullptr, nullptr, &capturedDepth);
        EXPECT_EQ(capturedDepth, depth);
        EXPECT_EQ(std::memcmp(bitmap.info, expected.info, total), 0) << depth;
    }
}

TEST(CaptureFromDC, LowDepthOrOtherSizeIsReplacedBy24Bits) {
    DrawnSurface surface(12, 8);
    const RECT rect = {2, 1, 12, 8};
    const struct {
        int width, height, depth, expectedDepth;
    } cases[] = {{10, 7, 1, 24}, {10, 7, 4, 24}, {10, 7, 8, 24}, {5, 7, 32, 32}, {10, 8, 16, 16}};
    for (const auto& c : cases) {
        TBitmap bitmap(c.width, c.height, c.depth);
        EXPECT_EQ(bitmap.CaptureFromDC(surface.dc, &rect), 1);
        int width = 0, height = 0, depth = 0;
        bitmap.GetInfo(&width, &height, &depth);
        EXPECT_EQ(width, 10);
        EXPECT_EQ(height, 7);
        EXPECT_EQ(depth, c.expectedDepth) << c.depth;
        if (depth >= 24) {
            EXPECT_EQ(CountDifferences(bitmap, surface.dc, 2, 1), 0) << c.depth;
        }
    }
}

TEST(CaptureFromDC, NullArgumentsEmptyRegionsAndNoMemory) {
    DrawnSurface surface(4, 4);
    TBitmap bitmap(4, 4, 24);
    const RECT rect = {0, 0, 4, 4};
    EXPECT_EQ(bitmap.CaptureFromDC(nullptr, &rect), 0);
    EXPECT_EQ(bitmap.CaptureFromDC(surface.dc, nullptr), 0);
    EXPECT_NE(bitmap.info, nullptr) << "null arguments change nothing";

    // An empty region is captured as an empty bitmap: success with nothing copied.
    const RECT empties[] = {{2, 2, 2, 4}, {2, 2, 4, 2}, {3, 3, 1, 1}};
    for (const RECT& empty : empties) {
        TBitmap target(4, 4, 24);
        EXPECT_EQ(target.CaptureFromDC(surface.dc, &empty), 1);
        EXPECT_EQ(target.GetInfo(), 0);
        EXPECT_EQ(target.bits, nullptr);
    }

    // 60000 x 60000 x 3 bytes cannot be a bitmap: nothing is written.
    const RECT huge = {0, 0, 60000, 60000};
    TBitmap large(4, 4, 24);
    EXPECT_EQ(large.CaptureFromDC(surface.dc, &huge), 0);
    EXPECT_EQ(large.info, nullptr);
    EXPECT_EQ(large.bits, nullptr);
}

} // namespace
