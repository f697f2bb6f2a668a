#include "bitmap/tbitmap.h"

#include <algorithm>
#include <cstdlib>

#include "bitmap/bitmap_bytes.h"
#include "datafiles/file_handle.h"
#include "datafiles/safe_save.h"

namespace {

constexpr uint32_t kMask16Red = 0xF800;
constexpr uint32_t kMask16Green = 0x07E0;
constexpr uint32_t kMask16Blue = 0x001F;

// Table entries the constructor writes for a depth; -1 for an unknown depth.
int ConstructionTableEntries(int depth) {
    switch (depth) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    case 16: return 3; // the three channel masks
    case 15:
    case 24:
    case 32: return 0;
    default: return -1;
    }
}

template <int kEntries>
struct GreyPalette {
    uint32_t entries[kEntries] = {};
    constexpr GreyPalette() {
        const uint32_t step = 255 / (kEntries - 1);
        for (int i = 0; i < kEntries; ++i) {
            const uint32_t v = uint32_t(i) * step;
            entries[i] = v | v << 8 | v << 16;
        }
    }
};
constexpr GreyPalette<2> kMonoPalette;
constexpr GreyPalette<16> kGrey16Palette;
constexpr GreyPalette<256> kGrey256Palette;

uint32_t AddCapped(uint32_t channel, uint32_t add) {
    return std::min<uint32_t>(channel + add, 255);
}

} // namespace

TBitmap::TBitmap(int width, int height, int depth) {
    const int entries = ConstructionTableEntries(depth);
    if (width <= 0 || height <= 0 || entries < 0) return;
    if (int64_t(width) * height > INT32_MAX) return;
    const int64_t rowBytes = RowBytes(width, depth);
    if (rowBytes > kMaxBlockBytes) return;
    const int64_t tableBytes = int64_t(kQuadBytes) * entries;
    const int64_t total = kInfoHeaderBytes + tableBytes + rowBytes * height;
    if (total > kMaxBlockBytes) return;
    // Zeroed, so that row padding and pixels never written are not left over
    // heap contents in a saved file.
    uint8_t* block = static_cast<uint8_t*>(std::calloc(size_t(total), 1));
    if (!block) return;

    WriteU32(block + kBiSize, kInfoHeaderBytes);
    WriteU32(block + kBiWidth, uint32_t(width));
    WriteU32(block + kBiHeight, uint32_t(height));
    WriteU16(block + kBiPlanes, 1);
    WriteU16(block + kBiBitCount, uint32_t(depth == 15 ? 16 : depth));
    WriteU32(block + kBiCompression, depth == 16 ? kBiBitfields : kBiRgb);
    uint8_t* table = block + kInfoHeaderBytes;
    if (const uint32_t* palette = DefaultPalette(depth)) {
        for (int i = 0; i < entries; ++i) WriteU32(table + kQuadBytes * i, palette[i]);
    } else if (depth == 16) {
        WriteU32(table, kMask16Red);
        WriteU32(table + 4, kMask16Green);
        WriteU32(table + 8, kMask16Blue);
    }
    info = block;
    bits = table + tableBytes;
    blockBytes = total;
}

TBitmap::~TBitmap() {
    Release();
}

void TBitmap::Release() {
    std::free(info);
    info = nullptr;
    bits = nullptr;
    blockBytes = 0;
}

void TBitmap::Assign(TBitmap& other) {
    if (&other == this) return;
    Release();
    info = other.info;
    bits = other.bits;
    blockBytes = other.blockBytes;
    other.info = nullptr;
    other.bits = nullptr;
    other.blockBytes = 0;
}

int64_t TBitmap::RowBytes(int width, int depth) {
    if (width <= 0 || depth <= 0) return 0;
    const int64_t bitsPerPixel = depth == 15 ? 16 : depth;
    return ((bitsPerPixel * width + 7) / 8 + 3) & ~int64_t(3);
}

const uint32_t* TBitmap::DefaultPalette(int depth) {
    switch (depth) {
    case 1: return kMonoPalette.entries;
    case 4: return kGrey16Palette.entries;
    case 8: return kGrey256Palette.entries;
    default: return nullptr;
    }
}

int TBitmap::GetInfo(int* width, int* height, int* depth, int* rowBytes, int* tableBytes,
                     uint32_t* totalBytes) const {
    if (!info) return 0;
    const int32_t w = int32_t(ReadU32(info + kBiWidth));
    const int64_t h = std::abs(int64_t(int32_t(ReadU32(info + kBiHeight))));
    const int bitCount = ReadU16(info + kBiBitCount);
    const uint32_t compression = ReadU32(info + kBiCompression);
    const uint32_t clrUsed = ReadU32(info + kBiClrUsed);
    const int d = bitCount == 16 && compression != kBiBitfields ? 15 : bitCount;
    const int64_t row = RowBytes(w, d);
    int64_t entries = clrUsed;
    if (clrUsed == 0 && (bitCount == 1 || bitCount == 4 || bitCount == 8))
        entries = int64_t(1) << bitCount;
    else if (compression == kBiBitfields)
        entries = 3;
    const int64_t pixelBytes = IsCompressed() ? int64_t(ReadU32(info + kBiSizeImage)) : row * h;
    if (width) *width = w;
    if (height) *height = int(h);
    if (depth) *depth = d;
    if (rowBytes) *rowBytes = int(row);
    if (tableBytes) *tableBytes = int(kQuadBytes * entries);
    if (totalBytes) *totalBytes = uint32_t(kInfoHeaderBytes + kQuadBytes * entries + pixelBytes);
    return int(int64_t(w) * h);
}

bool TBitmap::IsCompressed() const {
    if (!info) return false;
    const uint32_t compression = ReadU32(info + kBiCompression);
    return compression != kBiRgb && compression != kBiBitfields;
}

uint32_t TBitmap::GetPixelRaw(int x, int y, int width, int height, int depth, int rowBytes) const {
    if (!bits) return defaultColor;
    const uint8_t* p = bits + int64_t(height - 1 - y) * rowBytes;
    const size_t ux = size_t(x);
    uint32_t index;
    switch (depth) {
    case 1: index = p[ux >> 3] >> (7 - (ux & 7)) & 1; break;
    case 4: index = ux & 1 ? p[ux >> 1] & 15 : p[ux >> 1] >> 4; break;
    case 8: index = p[ux]; break;
    case 15: {
        const uint32_t v = ReadU16(p + 2 * ux);
        return MakeColor(v >> 7 & 0xF8, v >> 2 & 0xF8, v << 3 & 0xF8);
    }
    case 16: {
        const uint32_t v = ReadU16(p + 2 * ux);
        return MakeColor(v >> 8 & 0xF8, v >> 3 & 0xFC, v << 3 & 0xF8);
    }
    case 24: return MakeColor(p[3 * ux + 2], p[3 * ux + 1], p[3 * ux]);
    case 32:
        return MakeColor(p[4 * ux + 2], p[4 * ux + 1], p[4 * ux]) | uint32_t(p[4 * ux + 3]) << 24;
    default: return defaultColor;
    }
    const uint32_t quad = ReadU32(info + kInfoHeaderBytes + kQuadBytes * index);
    return ColorToQuad(quad) | index << 24;
}

int TBitmap::SetPixelRaw(int x, int y, uint32_t value, int width, int height, int depth,
                         int rowBytes) {
    if (!bits) return 0;
    uint8_t* p = bits + int64_t(height - 1 - y) * rowBytes;
    const size_t ux = size_t(x);
    const uint32_t red = RedOf(value), green = GreenOf(value), blue = BlueOf(value);
    const uint32_t top = value >> 24;
    switch (depth) {
    case 1: {
        const uint8_t bit = uint8_t(0x80 >> (ux & 7));
        p[ux >> 3] = uint8_t(top & 1 ? p[ux >> 3] | bit : p[ux >> 3] & ~bit);
        return 1;
    }
    case 4: {
        uint8_t& byte = p[ux >> 1];
        byte = uint8_t(ux & 1 ? (byte & 0xF0) | (top & 15) : (byte & 0x0F) | (top & 15) << 4);
        return 1;
    }
    case 8: p[ux] = uint8_t(top); return 1;
    case 15:
        // Rounds each channel up a little before keeping its top five bits.
        WriteU16(p + 2 * ux, (AddCapped(red, 3) & 0xF8) << 7 | (AddCapped(green, 3) & 0xF8) << 2 |
                                 AddCapped(blue, 3) >> 3);
        return 1;
    case 16:
        WriteU16(p + 2 * ux, (AddCapped(red, 3) & 0xF8) << 8 | (AddCapped(green, 1) & 0xFC) << 3 |
                                 AddCapped(blue, 3) >> 3);
        return 1;
    case 24:
        p[3 * ux] = uint8_t(blue);
        p[3 * ux + 1] = uint8_t(green);
        p[3 * ux + 2] = uint8_t(red);
        return 1;
    case 32:
        p[4 * ux] = uint8_t(blue);
        p[4 * ux + 1] = uint8_t(green);
        p[4 * ux + 2] = uint8_t(red);
        p[4 * ux + 3] = uint8_t(top);
        return 1;
    default: return 0;
    }
}

uint32_t TBitmap::GetPixelAt(int x, int y) const {
    int width = 0, height = 0, depth = 0, rowBytes = 0;
    if (IsCompressed() || !GetInfo(&width, &height, &depth, &rowBytes)) return defaultColor;
    if (x < 0 || y < 0 || x >= width || y >= height) return defaultColor;
    return GetPixelRaw(x, y, width, height, depth, rowBytes);
}

uint32_t TBitmap::SaveToFile(const char* path) const {
    // Checked before anything is created, so that an existing file survives.
    if (!path || !info) return 0;
    uint32_t fileBytes = 0;
    const int saved = SaveFileSafely(path, [&](FileHandle& file) {
        fileBytes = WriteBmp(file);
        return fileBytes != 0;
    });
    return saved ? fileBytes : 0;
}

uint32_t TBitmap::WriteBmp(FileHandle& file) const {
    int tableBytes = 0;
    uint32_t totalBytes = 0;
    if (!GetInfo(nullptr, nullptr, nullptr, nullptr, &tableBytes, &totalBytes)) return 0;
    const uint32_t headBytes = uint32_t(kInfoHeaderBytes + tableBytes);
    const uint32_t pixelBytes = totalBytes - headBytes;
    // A header edited through info must not make the writes read past the block.
    if (totalBytes < headBytes || int64_t(headBytes) > blockBytes ||
        (bits - info) + int64_t(pixelBytes) > blockBytes)
        return 0;

    const uint32_t fileBytes = totalBytes + kFileHeaderBytes;
    uint8_t fileHeader[kFileHeaderBytes] = {'B', 'M'};
    WriteU32(fileHeader + 2, fileBytes);
    WriteU32(fileHeader + 10, headBytes + kFileHeaderBytes);
    // Every write is checked: a file cut short is not reported as written.
    if (file.Write(fileHeader, kFileHeaderBytes) != uint32_t(kFileHeaderBytes)) return 0;
    if (file.Write(info, headBytes) != headBytes) return 0;
    return file.Write(bits, pixelBytes) == pixelBytes ? fileBytes : 0;
}
