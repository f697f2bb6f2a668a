// Fuzzes TBitmap and the palette reduction: bitmaps of any size and depth the
// input asks for (most of them refused, which must leave them empty), pixels
// stored and read back at every depth, and 24- and 32-bit images of a few or
// many colours counted and converted to 1 and 4 bits. Checks the counts
// against a set of the colours written, that a conversion of no more colours
// than the table holds loses nothing, and that every converted pixel is one of
// the table's colours.
#include "bitmap/tbitmap.h"
#include "fuzz_input.h"

#include <cstdint>
#include <cstdlib>
#include <set>
#include <vector>

namespace {

constexpr int kDepths[] = {1, 4, 8, 15, 16, 24, 32};

// Any arguments: either a bitmap with the geometry asked for, or an empty one.
void CheckConstruction(FuzzInput& in) {
    const int width = static_cast<int>(in.Bits32());
    const int height = static_cast<int>(in.Bits32());
    const int depth = static_cast<int>(in.Byte()) - 100;
    TBitmap bitmap(width > 4096 || width < -4096 ? width : width % 64,
                   height > 4096 || height < -4096 ? height : height % 64, depth);
    int w = 0, h = 0, d = 0, rowBytes = 0;
    const int pixels = bitmap.GetInfo(&w, &h, &d, &rowBytes);
    if (!bitmap.info) {
        Check(pixels == 0 && bitmap.bits == nullptr);
        return;
    }
    Check(w > 0 && h > 0 && static_cast<int64_t>(w) * h == pixels);
    Check(rowBytes == TBitmap::RowBytes(w, d) && rowBytes % 4 == 0);
    Check(bitmap.GetPixelAt(-1, 0) == bitmap.defaultColor);
    Check(bitmap.GetPixelAt(w, h - 1) == bitmap.defaultColor);
}

// Pixels stored at one depth read back as that depth keeps them.
void CheckPixels(FuzzInput& in) {
    const int depth = kDepths[in.Byte() % 7];
    const int width = 1 + in.Byte() % 70, height = 1 + in.Byte() % 9;
    TBitmap bitmap(width, height, depth);
    int w, h, d, rowBytes;
    if (!bitmap.GetInfo(&w, &h, &d, &rowBytes)) return;
    for (int i = 0; i < 16; ++i) {
        const int x = in.Byte() % width, y = in.Byte() % height;
        const uint32_t value = in.Bits32();
        Check(bitmap.SetPixelRaw(x, y, value, w, h, d, rowBytes) == 1);
        const uint32_t back = bitmap.GetPixelRaw(x, y, w, h, d, rowBytes);
        if (depth == 24) Check(back == (value & 0xFFFFFF));
        if (depth == 32) Check(back == value);
        if (depth == 8) Check(back >> 24 == value >> 24);
        if (depth == 4) Check(back >> 24 == (value >> 24 & 15));
        if (depth == 1) Check(back >> 24 == (value >> 24 & 1));
        Check(bitmap.GetPixelAt(x, y) == back);
    }
}

// An image of colours from a small or large set, counted and converted.
void CheckPalette(FuzzInput& in) {
    const int depth = in.Byte() & 1 ? 32 : 24;
    const int width = 1 + in.Byte() % 120, height = 1 + in.Byte() % 40;
    const int colours = 1 + in.Byte() % 40;
    std::vector<uint32_t> set(static_cast<size_t>(colours));
    for (uint32_t& c : set) c = in.Bits32() & 0xFFFFFF;
    TBitmap bitmap(width, height, depth);
    int w, h, d, rowBytes;
    if (!bitmap.GetInfo(&w, &h, &d, &rowBytes)) return;
    std::vector<uint32_t> written(static_cast<size_t>(width) * height);
    std::set<uint32_t> distinct;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t c = set[in.Byte() % colours];
            bitmap.SetPixelRaw(x, y, c, w, h, d, rowBytes);
            written[static_cast<size_t>(y) * width + x] = c;
            distinct.insert(c);
        }
    Check(bitmap.CountColors() == static_cast<int>(distinct.size()));

    const int target = in.Byte() & 1 ? 4 : 1;
    if (bitmap.ConvertTo(target) != 1) return;
    int cw, ch, cd;
    Check(bitmap.GetInfo(&cw, &ch, &cd) == width * height && cd == target);
    const int entries = target == 4 ? 16 : 2;
    const uint32_t* table = reinterpret_cast<const uint32_t*>(bitmap.info + kInfoHeaderBytes);
    std::set<uint32_t> tableColours;
    for (int i = 0; i < entries; ++i) tableColours.insert(TBitmap::ColorToQuad(table[i]));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t c = bitmap.GetPixelAt(x, y) & 0xFFFFFF;
            Check(tableColours.count(c) == 1);
            if (static_cast<int>(distinct.size()) <= entries)
                Check(c == written[static_cast<size_t>(y) * width + x]);
        }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in{data, size};
    switch (in.Byte() % 3) {
    case 0: CheckConstruction(in); break;
    case 1: CheckPixels(in); break;
    default: CheckPalette(in); break;
    }
    return 0;
}
