// The palette reduction: counting a bitmap's colours, the popularity
// histogram of their top bits, building a colour table from either, and the
// conversion to 1 or 4 bits through it.
#include "bitmap/palette.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "bitmap/bitmap_bytes.h"
#include "text/convert.h"

namespace {

constexpr int kMaxLookupEntries = 256;             // a lookup entry is one byte
constexpr size_t kColorSetBytes = size_t(1) << 21; // one bit per 24-bit colour
// Above the largest squared distance of two colours, 3 x 255^2 = 195,075.
constexpr int kNoDistance = 0x30000;

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <class T>
using FreedPtr = std::unique_ptr<T, FreeDeleter>;

// The channel value that stands for the top k bits v: v at the top of the byte
// plus half the bucket width.
uint32_t BucketChannel(uint32_t v, int k) {
    return (v << (8 - k) | 0x80u >> k) & 0xFF;
}
uint32_t TopBits(uint32_t channel, int k) {
    return channel >> (8 - k);
}
int RedBlueBits(int method) {
    return method & 7;
}
int GreenBits(int method) {
    return (method & 7) + ((method & kQuantizeGreenExtra) ? 1 : 0);
}
int BucketCount(int method) {
    return 1 << (2 * RedBlueBits(method) + GreenBits(method));
}

// sqrt(value) rounded half up, exactly in integers.
int RoundedSquareRoot(int value) {
    int r = TruncateToInt32(std::sqrt(double(value)));
    while (r > 0 && r * r > value) --r;
    while ((r + 1) * (r + 1) <= value) ++r;
    // sqrt(value) >= r + 0.5 exactly when value >= r^2 + r + 0.25.
    return value - r * r > r ? r + 1 : r;
}

} // namespace

int TBitmap::CountColors() const {
    int width = 0, height = 0, depth = 0, rowBytes = 0;
    if (IsCompressed() || !GetInfo(&width, &height, &depth, &rowBytes)) return 0;
    FreedPtr<uint8_t> seen(static_cast<uint8_t*>(std::calloc(kColorSetBytes, 1)));
    if (!seen) return 0;
    const bool skip = transparentColor != kNoTransparentColor;
    const uint32_t skipColor = transparentColor & kColorMask;
    int count = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t c = GetPixelRaw(x, y, width, height, depth, rowBytes) & kColorMask;
            if (skip && c == skipColor) continue;
            uint8_t& byte = seen.get()[c >> 3];
            const uint8_t bit = uint8_t(1 << (c & 7));
            if (!(byte & bit)) {
                byte |= bit;
                ++count;
            }
        }
    }
    return count;
}

int TBitmap::BuildPalette(uint32_t* table, int n, int method, uint8_t** lookup) const {
    if (lookup) *lookup = nullptr;
    if (!table || n < 1) return 0;
    std::fill(table, table + n, 0u);
    if (lookup && n > kMaxLookupEntries) return 0;
    int width = 0, height = 0, depth = 0, rowBytes = 0;
    if (IsCompressed() || !GetInfo(&width, &height, &depth, &rowBytes)) return 0;
    const int distinct = CountColors();

    if (distinct <= n) {
        // The colours fit: collect them in the order a top-down, left-to-right
        // scan meets them. The transparent colour was not counted, so it is
        // not collected either.
        const bool skip = transparentColor != kNoTransparentColor;
        const uint32_t skipColor = transparentColor & kColorMask;
        uint32_t previous = kNoTransparentColor; // no 24-bit colour equals it
        int found = 0;
        for (int y = 0; y < height && found < distinct; ++y) {
            for (int x = 0; x < width && found < distinct; ++x) {
                const uint32_t c = GetPixelRaw(x, y, width, height, depth, rowBytes) & kColorMask;
                if (c == previous) continue;
                previous = c;
                if (skip && c == skipColor) continue;
                const uint32_t quad = ColorToQuad(c);
                if (std::find(table, table + found, quad) == table + found) table[found++] = quad;
            }
        }
        return found;
    }

    // Popularity: the n fullest buckets of a histogram of the colours' top bits.
    method &= 0x87;
    if ((method & 7) == 0)
        method = n <= 2 ? kQuantize16Buckets : n <= 16 ? kQuantize128Buckets : kQuantize8192Buckets;
    const int buckets = BucketCount(method);
    FreedPtr<uint32_t> histogram(static_cast<uint32_t*>(std::calloc(size_t(buckets), 4)));
    FreedPtr<uint8_t> entryOf(lookup ? static_cast<uint8_t*>(std::calloc(size_t(buckets), 1))
                                     : nullptr);
    if (!histogram || (lookup && !entryOf)) return 0;
    uint32_t* counts = histogram.get();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            ++counts[Quantize(GetPixelRaw(x, y, width, height, depth, rowBytes), method)];

    for (int i = 0; i < n; ++i) {
        const int best = int(std::max_element(counts, counts + buckets) - counts);
        if (counts[best] == 0) {
            // Every occupied bucket is taken: the remaining picks all fall on
            // bucket 0, and the last of them is the one its lookup keeps.
            std::fill(table + i, table + n, ColorToQuad(BucketColor(0, method)));
            if (entryOf) entryOf.get()[0] = uint8_t(n - 1);
            break;
        }
        table[i] = ColorToQuad(BucketColor(best, method));
        counts[best] = 0;
        if (entryOf) entryOf.get()[best] = uint8_t(i);
    }
    if (entryOf) {
        // Occupied buckets that were not chosen take the nearest chosen colour.
        for (int b = 0; b < buckets; ++b)
            if (counts[b] != 0)
                entryOf.get()[b] = uint8_t(NearestColor(BucketColor(b, method), table, n));
        *lookup = entryOf.release();
    }
    return n;
}

int TBitmap::ConvertTo(int depth) {
    if (depth != 1 && depth != 4) return 0;
    int width = 0, height = 0, oldDepth = 0, rowBytes = 0;
    if (IsCompressed() || !GetInfo(&width, &height, &oldDepth, &rowBytes)) return 0;
    if (oldDepth == depth) return 1;
    TBitmap converted(width, height, depth);
    int newRowBytes = 0;
    if (!converted.GetInfo(nullptr, nullptr, nullptr, &newRowBytes)) return 0;

    const int n = 1 << depth;
    const int method = depth == 1 ? kQuantize16Buckets : kQuantize128Buckets;
    uint32_t table[16];
    uint8_t* lookupBlock = nullptr;
    const int count = BuildPalette(table, n, method, &lookupBlock);
    FreedPtr<uint8_t> lookup(lookupBlock);
    // No palette (the colour set or histogram could not be had): keep the
    // bitmap rather than turn it black.
    if (count == 0) return 0;
    for (int i = 0; i < n; ++i)
        WriteU32(converted.info + kInfoHeaderBytes + kQuadBytes * i, table[i]);

    uint32_t previousColor = 0;
    int previousIndex = -1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t c = GetPixelRaw(x, y, width, height, oldDepth, rowBytes) & kColorMask;
            int index;
            if (lookup) {
                index = lookup.get()[Quantize(c, method)];
            } else if (previousIndex >= 0 && c == previousColor) {
                index = previousIndex;
            } else {
                index = NearestColor(c, table, count);
                previousColor = c;
                previousIndex = index;
            }
            converted.SetPixelRaw(x, y, uint32_t(index) << 24, width, height, depth, newRowBytes);
        }
    }
    Assign(converted);
    return 1;
}

int Quantize(uint32_t color, int method) {
    const int b = RedBlueBits(method), g = GreenBits(method);
    return int(TopBits(RedOf(color), b) | TopBits(GreenOf(color), g) << b |
               TopBits(BlueOf(color), b) << (b + g));
}

uint32_t BucketColor(int index, int method) {
    const int b = RedBlueBits(method), g = GreenBits(method);
    const uint32_t i = uint32_t(index);
    const uint32_t red = i & ((1u << b) - 1);
    const uint32_t green = i >> b & ((1u << g) - 1);
    const uint32_t blue = i >> (b + g) & ((1u << b) - 1);
    return MakeColor(BucketChannel(red, b), BucketChannel(green, g), BucketChannel(blue, b));
}

int ColorDistance(uint32_t a, uint32_t b, uint32_t metric) {
    const int d0 = int(RedOf(a)) - int(RedOf(b));
    const int d1 = int(GreenOf(a)) - int(GreenOf(b));
    const int d2 = int(BlueOf(a)) - int(BlueOf(b));
    const int squares = d0 * d0 + d1 * d1 + d2 * d2;
    if (metric == kMetricSquared) return squares;
    if (metric == kMetricSum || metric == kMetricSumShort)
        return std::abs(d0) + std::abs(d1) + std::abs(d2);
    if (metric == kMetricRoot) return RoundedSquareRoot(squares);
    return 0;
}

int NearestColor(uint32_t color, const uint32_t* table, int n) {
    if (n < 1 || !table) return 0;
    const uint32_t quad = TBitmap::ColorToQuad(color);
    int best = 0;
    int bestDistance = kNoDistance;
    for (int i = 0; i < n; ++i) {
        const int d = ColorDistance(quad, table[i], kMetricSquared);
        if (d == 0) return i;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}
