#include "bitmap/pixel_rows.h"

#include <cstring>

#include "bitmap/bitmap_bytes.h"

namespace {

bool IsIndexDepth(int depth) {
    return depth == 1 || depth == 2 || depth == 4 || depth == 8;
}

} // namespace

int64_t PackedRowBytes(int width, int depth) {
    if (width <= 0 || depth <= 0) return 0;
    return (int64_t{width} * depth + 7) / 8;
}

bool PackRow(const TBitmap& bitmap, int y, int depth, uint8_t* out) {
    int width = 0, height = 0, ownDepth = 0, rowBytes = 0;
    if (bitmap.IsCompressed() || !bitmap.GetInfo(&width, &height, &ownDepth, &rowBytes))
        return false;
    if (y < 0 || y >= height) return false;
    const bool indexed = IsIndexDepth(ownDepth);
    if (depth != 24 && !(indexed && IsIndexDepth(depth) && depth >= ownDepth)) return false;
    const int64_t bytes = PackedRowBytes(width, depth);
    if (depth == ownDepth) {
        // The same layout: the row as stored, rows being kept bottom-up.
        std::memcpy(out, bitmap.bits + int64_t{height - 1 - y} * rowBytes, size_t(bytes));
        return true;
    }
    std::memset(out, 0, size_t(bytes));
    for (int x = 0; x < width; ++x) {
        const uint32_t value = bitmap.GetPixelRaw(x, y, width, height, ownDepth, rowBytes);
        if (depth == 24) {
            uint8_t* p = out + 3 * int64_t{x};
            p[0] = uint8_t(BlueOf(value));
            p[1] = uint8_t(GreenOf(value));
            p[2] = uint8_t(RedOf(value));
        } else {
            const int64_t bit = int64_t{x} * depth;
            out[bit / 8] |= uint8_t((value >> 24) << (8 - depth - bit % 8));
        }
    }
    return true;
}
