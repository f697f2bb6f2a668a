#pragma once
// TBitmap: an in-memory device-independent bitmap in the Windows layout, held
// as one block (info header, colour table, bottom-up pixel rows) that is
// written to disk unchanged after a 14-byte file header. The palette
// reduction members (CountColors, BuildPalette, ConvertTo) are defined in
// palette.cpp, with the colour arithmetic they use declared in palette.h.
//
// Colour values: the low three bytes are a COLORREF (red in bits 0-7, green in
// 8-15, blue in 16-23); the top byte carries the colour-table index for depths
// 1, 4 and 8, the fourth pixel byte for depth 32, and is 0 otherwise.
// Colour-table entries ("quads") hold blue in bits 0-7, green in 8-15 and red
// in 16-23, which is the byte order blue, green, red, 0 in the file.
#include <cstddef>
#include <cstdint>

constexpr uint32_t kColorWhite = 0x00FFFFFF;
constexpr uint32_t kNoTransparentColor = 0xFFFFFFFF;

// Sizes of the two headers of a bitmap file.
constexpr int kFileHeaderBytes = 14;
constexpr int kInfoHeaderBytes = 40;

// Byte offsets of the info header's fields inside the block (little-endian).
constexpr int kBiSize = 0;           // u32
constexpr int kBiWidth = 4;          // i32
constexpr int kBiHeight = 8;         // i32, positive: bottom row first
constexpr int kBiPlanes = 12;        // u16
constexpr int kBiBitCount = 14;      // u16
constexpr int kBiCompression = 16;   // u32
constexpr int kBiSizeImage = 20;     // u32
constexpr int kBiXPelsPerMeter = 24; // i32
constexpr int kBiYPelsPerMeter = 28; // i32
constexpr int kBiClrUsed = 32;       // u32
constexpr int kBiClrImportant = 36;  // u32

constexpr uint32_t kBiRgb = 0;       // uncompressed
constexpr uint32_t kBiBitfields = 3; // uncompressed with three channel masks

// Largest block the constructor allocates: the whole file (block plus file
// header) must stay addressable with a signed 32-bit size.
constexpr int64_t kMaxBlockBytes = INT32_MAX - kFileHeaderBytes;

class FileHandle;

#ifdef _WIN32
struct HDC__;
struct tagRECT;
#endif

class TBitmap {
  public:
    uint8_t* info = nullptr; // the owned block, or null when empty
    uint8_t* bits = nullptr; // first pixel byte inside info, or null
    uint32_t defaultColor = kColorWhite;
    uint32_t transparentColor = kNoTransparentColor; // colour CountColors skips

    TBitmap() = default;
    // Allocates width x height at depth 1, 4, 8, 15, 16, 24 or 32 with the
    // header and the default colour table filled, pixels uninitialised. Other
    // arguments, a block larger than kMaxBlockBytes, more than INT32_MAX
    // pixels or a failed allocation leave the bitmap empty.
    TBitmap(int width, int height, int depth);
    virtual ~TBitmap();
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    void Release();
    // Takes other's block; other is left empty.
    void Assign(TBitmap& other);

    // Each argument is optional. Returns width x height, or 0 (touching
    // nothing) when empty. totalBytes counts the block without the file header.
    int GetInfo(int* width = nullptr, int* height = nullptr, int* depth = nullptr,
                int* rowBytes = nullptr, int* tableBytes = nullptr,
                uint32_t* totalBytes = nullptr) const;
    // True for a run-length encoded block, which pixel access refuses.
    bool IsCompressed() const;
    // Bytes of one pixel row, padded to 4; 0 for width <= 0.
    static int64_t RowBytes(int width, int depth);
    // The construction colour table of depth 1 (2 entries), 4 (16 greys) or
    // 8 (256 greys) as quads; null for other depths.
    static const uint32_t* DefaultPalette(int depth);
    // Swaps red and blue, clearing the top byte: colour to quad and back.
    static uint32_t ColorToQuad(uint32_t color) {
        return (color & 0xFF) << 16 | (color & 0xFF00) | (color >> 16 & 0xFF);
    }

    // Unchecked pixel access with the geometry from GetInfo (x from the left,
    // y from the top); only an empty bitmap is refused (defaultColor, 0).
    uint32_t GetPixelRaw(int x, int y, int width, int height, int depth, int rowBytes) const;
    // Stores value; for depths 1, 4 and 8 the index in its top byte. Returns 1,
    // or 0 for an unknown depth.
    int SetPixelRaw(int x, int y, uint32_t value, int width, int height, int depth, int rowBytes);
    // defaultColor for an empty or compressed bitmap or a point outside it.
    uint32_t GetPixelAt(int x, int y) const;

#ifdef _WIN32
    // Copies rect of dc into the bitmap (Windows shell, capture_gui.cpp).
    int CaptureFromDC(struct HDC__* dc, const struct tagRECT* rect);
#endif

    // Writes the bitmap file through the safe save (datafiles/safe_save.h),
    // replacing an existing one only once every byte is written; its size, or
    // 0 with any existing file left as it was.
    uint32_t SaveToFile(const char* path) const;
    // Writes the bitmap file to an open file; its size, or 0 when any write
    // falls short, the file is not open or the bitmap is empty.
    uint32_t WriteBmp(FileHandle& file) const;

    // The number of distinct 24-bit colours, transparentColor not counted;
    // 0 for an empty or compressed bitmap or when the bit set cannot be had.
    int CountColors() const;
    // Fills up to n quads of table from the bitmap's colours (method: one of
    // the kQuantize values of palette.h, or 0 for a choice by n) and returns how
    // many it filled. When the colours do not fit and lookup is given, *lookup
    // receives a bucket-to-entry table (one byte per bucket of the method
    // used) that the caller releases with std::free; otherwise *lookup is null.
    // n above 256 with a lookup asked for gives 0, since a byte cannot hold it.
    int BuildPalette(uint32_t* table, int n, int method, uint8_t** lookup) const;
    // Converts in place to depth 1 or 4 with a table made from the bitmap's
    // own colours; 1 on success, 0 when nothing was changed.
    int ConvertTo(int depth);

  private:
    int64_t blockBytes = 0; // allocated size of info, so no write reads past it
};
