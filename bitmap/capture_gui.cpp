#include "bitmap/capture_gui.h"

#include <algorithm>
#include <memory>
#include <new>

namespace {

// Rows are transferred in chunks of about this many bytes, so that a capture
// needs little memory beyond the bitmap itself.
constexpr int64_t kChunkBytes = 4 << 20;
constexpr int kChunkPixelBytes = 4; // chunks are read as 32-bit blue, green, red, unused

class MemoryDC {
  public:
    explicit MemoryDC(HDC like) : dc(CreateCompatibleDC(like)) {}
    ~MemoryDC() {
        if (dc) DeleteDC(dc);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC dc;
};

class Bitmap {
  public:
    Bitmap(HDC like, int width, int height) : handle(CreateCompatibleBitmap(like, width, height)) {}
    ~Bitmap() {
        if (handle) DeleteObject(handle);
    }
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;
    HBITMAP handle;
};

struct Geometry {
    int width = 0, height = 0, depth = 0, rowBytes = 0;
};

// Stores one chunk row (32-bit blue, green, red, unused) as pixels of row y.
void StoreRow(TBitmap& bitmap, const Geometry& g, const uint8_t* source, int count, int destX,
              int y) {
    uint8_t* row = bitmap.bits + static_cast<int64_t>(g.height - 1 - y) * g.rowBytes;
    switch (g.depth) {
    case 24:
        for (int x = 0; x < count; ++x, source += 4) {
            uint8_t* p = row + 3 * static_cast<int64_t>(destX + x);
            p[0] = source[0];
            p[1] = source[1];
            p[2] = source[2];
        }
        break;
    case 32:
        for (int x = 0; x < count; ++x, source += 4) {
            uint8_t* p = row + 4 * static_cast<int64_t>(destX + x);
            p[0] = source[0];
            p[1] = source[1];
            p[2] = source[2];
            p[3] = 0; // a COLORREF's top byte
        }
        break;
    default: // 15 and 16 bits round as SetPixelRaw does
        for (int x = 0; x < count; ++x, source += 4)
            bitmap.SetPixelRaw(destX + x, y, RGB(source[2], source[1], source[0]), g.width,
                               g.height, g.depth, g.rowBytes);
        break;
    }
}

} // namespace

int CaptureRegion(TBitmap& bitmap, HDC dc, const RECT& source, int destX, int destY) {
    Geometry g;
    if (!dc || !bitmap.GetInfo(&g.width, &g.height, &g.depth, &g.rowBytes) ||
        bitmap.IsCompressed() || g.depth < 15)
        return 0;
    const int width = source.right - source.left, height = source.bottom - source.top;
    if (width <= 0 || height <= 0 || destX < 0 || destY < 0 || destX > g.width - width ||
        destY > g.height - height)
        return 0;
    const int chunkRows = static_cast<int>(
        std::clamp<int64_t>(kChunkBytes / (int64_t{width} * kChunkPixelBytes), 1, height));
    const size_t chunkBytes = static_cast<size_t>(width) * kChunkPixelBytes * chunkRows;
    std::unique_ptr<uint8_t[]> chunk(new (std::nothrow) uint8_t[chunkBytes]);
    MemoryDC memory(dc);
    Bitmap strip(dc, width, chunkRows);
    if (!chunk || !memory.dc || !strip.handle) return 0;

    BITMAPINFO request = {};
    request.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    request.bmiHeader.biWidth = width;
    request.bmiHeader.biHeight = -chunkRows; // top-down: chunk row 0 is the strip's top
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 32;
    request.bmiHeader.biCompression = BI_RGB;
    for (int top = 0; top < height; top += chunkRows) {
        const int rows = std::min(chunkRows, height - top);
        HGDIOBJ previous = SelectObject(memory.dc, strip.handle);
        if (!previous) return 0;
        BitBlt(memory.dc, 0, 0, width, rows, dc, source.left, source.top + top, SRCCOPY);
        SelectObject(memory.dc, previous); // GetDIBits wants the bitmap deselected
        if (GetDIBits(memory.dc, strip.handle, 0, chunkRows, chunk.get(), &request,
                      DIB_RGB_COLORS) == 0)
            return 0;
        for (int row = 0; row < rows; ++row)
            StoreRow(bitmap, g, chunk.get() + static_cast<size_t>(row) * width * kChunkPixelBytes,
                     width, destX, destY + top + row);
    }
    return 1;
}

int TBitmap::CaptureFromDC(HDC dc, const RECT* rect) {
    if (!dc || !rect) return 0;
    const int width = rect->right - rect->left, height = rect->bottom - rect->top;
    int currentWidth = 0, currentHeight = 0, depth = 0;
    GetInfo(&currentWidth, &currentHeight, &depth);
    if (IsCompressed() || currentWidth != width || currentHeight != height || depth < 15) {
        TBitmap fresh(width, height, depth >= 15 ? depth : 24);
        Assign(fresh); // an allocation that failed leaves this bitmap empty
    }
    if (width <= 0 || height <= 0)
        return 1;        // an empty region: the bitmap is empty, nothing to copy
    if (!info) return 0; // the bitmap could not be allocated
    return CaptureRegion(*this, dc, *rect, 0, 0);
}
