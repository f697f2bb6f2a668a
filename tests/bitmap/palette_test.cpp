#include "bitmap/palette.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kBlue = 0xFF0000;

uint32_t Rgb(uint32_t red, uint32_t green, uint32_t blue) {
    return red | green << 8 | blue << 16;
}
uint32_t Quad(uint32_t red, uint32_t green, uint32_t blue) {
    return blue | green << 8 | red << 16;
}

// A 24-bit bitmap of width x height whose pixel (x, y) is colourAt(x, y).
template <class ColourAt>
void Fill(TBitmap& bitmap, ColourAt colourAt) {
    int width, height, depth, rowBytes;
    bitmap.GetInfo(&width, &height, &depth, &rowBytes);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.SetPixelRaw(x, y, colourAt(x, y), width, height, depth, rowBytes);
}

uint32_t TableEntry(const TBitmap& bitmap, int i) {
    const uint8_t* p = bitmap.info + kInfoHeaderBytes + 4 * i;
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Back, grid lines every 10 pixels and a rising curve that starts below the
// first grid row: a scan from the top left meets back, grid, curve in that order.
uint32_t GraphLike(int x, int y, uint32_t back, uint32_t grid, uint32_t curve) {
    if (y == 12 + x / 4) return curve;
    if (x % 10 == 5 || y % 10 == 5) return grid;
    return back;
}

// 1,000 blue, 600 white and 10 red pixels in a 161 x 10 image.
void FillBlueWhiteRed(TBitmap& bitmap) {
    Fill(bitmap, [](int x, int y) {
        const int i = y * 161 + x;
        return i < 1000 ? kBlue : i < 1600 ? kWhite : kRed;
    });
}

} // namespace

TEST(ColorToQuad, SwapsRedAndBlueAndClearsTheTopByte) {
    EXPECT_EQ(TBitmap::ColorToQuad(0x00123456), 0x00563412u);
    EXPECT_EQ(TBitmap::ColorToQuad(0xAB123456), 0x00563412u);
    EXPECT_EQ(TBitmap::ColorToQuad(TBitmap::ColorToQuad(0x00ABCDEF)), 0x00ABCDEFu);
}

TEST(ColorDistance, ComputesEachMetric) {
    const struct {
        uint32_t a, b, metric;
        int expected;
    } cases[] = {
        {kRed, kBlack, kMetricSquared, 65025},
        {kRed, kWhite, kMetricSquared, 130050},
        {kRed, kGreen, kMetricSquared, 130050},
        {kBlack, kWhite, kMetricSquared, 195075},
        {Rgb(10, 20, 30), Rgb(13, 16, 30), kMetricSquared, 25},
        {Rgb(10, 20, 30), Rgb(13, 16, 30), kMetricSum, 7},
        {Rgb(10, 20, 30), Rgb(13, 16, 30), kMetricRoot, 5},
        {kBlack, kWhite, kMetricSum, 765},
        {kBlack, kWhite, 0x0073756Du, 765},     // 'sum' without the padding blank
        {kBlack, kWhite, 0x2073756Du, 0},       // nor with the blank in front
        {kBlack, kWhite, kMetricRoot, 442},     // 441.67
        {Rgb(2, 1, 1), kBlack, kMetricRoot, 2}, // sqrt 6 = 2.449
        {Rgb(2, 2, 0), kBlack, kMetricRoot, 3}, // sqrt 8 = 2.828
        {Rgb(1, 1, 0), kBlack, kMetricRoot, 1}, // sqrt 2 = 1.414
        {kRed, kBlack, kMetricRoot, 255},
        {0xFF000000, 0x00000000, kMetricSquared, 0}, // the top byte is no colour
        {kRed, kBlack, FourCharCode('s', 'u', 'm', 's'), 0},
        {kRed, kBlack, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ColorDistance(c.a, c.b, c.metric), c.expected)
            << std::hex << c.a << " " << c.b << " " << c.metric;
    EXPECT_EQ(kMetricSquared, 0x73717264u);
    EXPECT_EQ(kMetricSum, 0x73756D20u);
    EXPECT_EQ(kMetricRoot, 0x73717274u);
}

TEST(NearestColor, FindsTheClosestEntryAndTheEarliestOfEquals) {
    const uint32_t blackWhiteGreen[] = {Quad(0, 0, 0), Quad(255, 255, 255), Quad(0, 255, 0)};
    EXPECT_EQ(NearestColor(kRed, blackWhiteGreen, 3), 0);
    EXPECT_EQ(NearestColor(Rgb(200, 200, 200), blackWhiteGreen, 3), 1);
    EXPECT_EQ(NearestColor(Rgb(0, 200, 0), blackWhiteGreen, 3), 2);
    EXPECT_EQ(NearestColor(kGreen, blackWhiteGreen, 3), 2);
    // White is as far from red as from blue: the earlier entry wins.
    const uint32_t redBlue[] = {Quad(255, 0, 0), Quad(0, 0, 255)};
    EXPECT_EQ(NearestColor(kWhite, redBlue, 2), 0);
    const uint32_t blueRed[] = {Quad(0, 0, 255), Quad(255, 0, 0)};
    EXPECT_EQ(NearestColor(kWhite, blueRed, 2), 0);
    // An exact match ends the search even before a later duplicate.
    const uint32_t greys[] = {Quad(9, 9, 9), Quad(8, 8, 8), Quad(8, 8, 8)};
    EXPECT_EQ(NearestColor(Rgb(8, 8, 8), greys, 3), 1);
    // The reserved byte of an entry is ignored.
    const uint32_t reserved[] = {Quad(1, 1, 1), 0xFF000000 | Quad(8, 8, 8)};
    EXPECT_EQ(NearestColor(Rgb(8, 8, 8), reserved, 2), 1);
    EXPECT_EQ(NearestColor(kRed, blackWhiteGreen, 0), 0);
    EXPECT_EQ(NearestColor(kRed, blackWhiteGreen, -3), 0);
}

TEST(Quantize, KeepsTheTopBitsOfEachChannel) {
    const struct {
        uint32_t color;
        int method, expected;
    } cases[] = {
        {kWhite, kQuantize128Buckets, 127},
        {kBlack, kQuantize128Buckets, 0},
        {kBlue, kQuantize16Buckets, 8},
        {kRed, kQuantize16Buckets, 1},
        {kWhite, kQuantize16Buckets, 15},
        {kGreen, kQuantize16Buckets, 6},
        {Rgb(0x7F, 0x80, 0x3F), kQuantize16Buckets, 2 << 1},
        {Rgb(0xC0, 0xA0, 0x40), kQuantize128Buckets, 3 | 5 << 2 | 1 << 5},
        {kWhite, 0x03, 511},
        {Rgb(0x20, 0x40, 0x60), 0x03, 1 | 2 << 3 | 3 << 6},
        {kWhite, 0x87, (1 << 22) - 1},
        {0xFF000000, kQuantize128Buckets, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Quantize(c.color, c.method), c.expected)
            << std::hex << c.color << " " << c.method;
}

TEST(BucketColor, GivesTheCentreOfTheBucket) {
    const struct {
        int index, method;
        uint32_t expected;
    } cases[] = {
        {127, kQuantize128Buckets, Rgb(0xE0, 0xF0, 0xE0)},
        {0, kQuantize128Buckets, Rgb(0x20, 0x10, 0x20)},
        {8, kQuantize16Buckets, Rgb(0x40, 0x20, 0xC0)},
        {15, kQuantize16Buckets, Rgb(0xC0, 0xE0, 0xC0)},
        {1, kQuantize16Buckets, Rgb(0xC0, 0x20, 0x40)},
        {0, kQuantize16Buckets, Rgb(0x40, 0x20, 0x40)},
        {511, 0x03, Rgb(0xF0, 0xF0, 0xF0)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BucketColor(c.index, c.method), c.expected) << c.index << " " << c.method;
}

TEST(BucketColor, EveryCentreFallsInItsOwnBucket) {
    for (int method : {0x81, 0x82, 0x84, 0x01, 0x03, 0x86}) {
        const int buckets = ((method & 0x80) ? 2 : 1) << (3 * (method & 7));
        for (int i = 0; i < buckets; ++i)
            ASSERT_EQ(Quantize(BucketColor(i, method), method), i) << method << " " << i;
    }
}

// ---- counting ----

TEST(CountColors, CountsDistinctColoursAtEveryDepth) {
    TBitmap rgb(20, 10, 24);
    Fill(rgb, [](int x, int y) { return Rgb(uint32_t(x), uint32_t(y), 7); });
    EXPECT_EQ(rgb.CountColors(), 200);

    TBitmap three(60, 40, 24);
    Fill(three, [](int x, int y) { return GraphLike(x, y, kBlack, kWhite, kGreen); });
    EXPECT_EQ(three.CountColors(), 3);

    // The fourth byte of a 32-bit pixel is not part of its colour.
    TBitmap argb(4, 1, 32);
    Fill(argb, [](int x, int) { return uint32_t(x) << 24 | kRed; });
    EXPECT_EQ(argb.CountColors(), 1);

    // Indexed pixels count by colour: indices 0 and 255 of the grey table.
    TBitmap grey(8, 8, 8);
    Fill(grey, [](int x, int y) { return uint32_t((x + y) % 2 ? 255 : 0) << 24; });
    EXPECT_EQ(grey.CountColors(), 2);

    TBitmap one(1, 1, 1);
    EXPECT_EQ(one.CountColors(), 1);
}

TEST(CountColors, SkipsTheTransparentColour) {
    TBitmap bitmap(60, 40, 24);
    Fill(bitmap, [](int x, int y) { return GraphLike(x, y, kBlack, kWhite, kGreen); });
    bitmap.transparentColor = kBlack;
    EXPECT_EQ(bitmap.CountColors(), 2);
    bitmap.transparentColor = kRed; // not in the image
    EXPECT_EQ(bitmap.CountColors(), 3);
    bitmap.transparentColor = kNoTransparentColor;
    EXPECT_EQ(bitmap.CountColors(), 3);
}

// ---- palettes ----

TEST(BuildPalette, ExactColoursComeInScanOrderTopRowFirst) {
    TBitmap bitmap(3, 3, 24);
    const uint32_t pixels[3][3] = {
        {kGreen, kGreen, kRed}, {kBlue, kBlue, kWhite}, {kRed, kWhite, kBlue}};
    Fill(bitmap, [&](int x, int y) { return pixels[y][x]; });
    uint32_t table[8];
    uint8_t* lookup = reinterpret_cast<uint8_t*>(table);
    EXPECT_EQ(bitmap.BuildPalette(table, 8, kQuantize128Buckets, &lookup), 4);
    EXPECT_EQ(lookup, nullptr);
    const uint32_t expected[8] = {
        Quad(0, 255, 0), Quad(255, 0, 0), Quad(0, 0, 255), Quad(255, 255, 255), 0, 0, 0, 0};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(table[i], expected[i]) << i;
    // Exactly as many entries as colours still fit.
    EXPECT_EQ(bitmap.BuildPalette(table, 4, kQuantize128Buckets, nullptr), 4);
    EXPECT_EQ(table[3], Quad(255, 255, 255));
}

TEST(BuildPalette, ExactColoursLeaveOutTheTransparentColour) {
    TBitmap bitmap(4, 1, 24);
    const uint32_t pixels[4] = {kWhite, kRed, kWhite, kBlue};
    Fill(bitmap, [&](int x, int) { return pixels[x]; });
    bitmap.transparentColor = kWhite;
    uint32_t table[2];
    EXPECT_EQ(bitmap.BuildPalette(table, 2, kQuantize16Buckets, nullptr), 2);
    EXPECT_EQ(table[0], Quad(255, 0, 0));
    EXPECT_EQ(table[1], Quad(0, 0, 255));
}

TEST(BuildPalette, PopularityTakesTheFullestBucketsAndMapsTheRestToTheNearest) {
    TBitmap bitmap(161, 10, 24);
    FillBlueWhiteRed(bitmap);
    for (int method : {kQuantize16Buckets, 0x00, 0x181}) {
        SCOPED_TRACE(method);
        uint32_t table[2];
        uint8_t* lookup = nullptr;
        ASSERT_EQ(bitmap.BuildPalette(table, 2, method, &lookup), 2);
        EXPECT_EQ(table[0], Quad(0x40, 0x20, 0xC0)); // the blue bucket's centre
        EXPECT_EQ(table[1], Quad(0xC0, 0xE0, 0xC0)); // the white bucket's centre
        ASSERT_NE(lookup, nullptr);
        EXPECT_EQ(lookup[Quantize(kBlue, kQuantize16Buckets)], 0);
        EXPECT_EQ(lookup[Quantize(kWhite, kQuantize16Buckets)], 1);
        EXPECT_EQ(lookup[Quantize(kRed, kQuantize16Buckets)], 0); // 32,768 against 53,248
        std::free(lookup);
    }
}

TEST(BuildPalette, DefaultMethodFollowsTheTableSize) {
    TBitmap bitmap(20, 10, 24);
    // 34 colours: 50 dark red pixels in bucket 0 and 150 yellowish ones.
    Fill(bitmap, [](int x, int y) {
        return x < 5 ? Rgb(uint32_t(y), 0, 0) : Rgb(0xFF, 0xFF, uint32_t(x + y));
    });
    uint32_t table[16];
    EXPECT_EQ(bitmap.BuildPalette(table, 16, 0x80, nullptr), 16);
    EXPECT_EQ(table[0], Quad(0xE0, 0xF0, 0x20)); // method 0x82
    EXPECT_EQ(table[1], Quad(0x20, 0x10, 0x20));
    EXPECT_EQ(table[2], table[1]); // the tail repeats bucket 0
    uint32_t big[17];
    EXPECT_EQ(bitmap.BuildPalette(big, 17, 0, nullptr), 17);
    // Method 0x84 splits the yellows by the fourth bit of blue: 85 against 65.
    EXPECT_EQ(big[0], Quad(0xF8, 0xFC, 0x18));
    EXPECT_EQ(big[1], Quad(0xF8, 0xFC, 0x08));
    EXPECT_EQ(big[2], Quad(0x08, 0x04, 0x08));
}

TEST(BuildPalette, EqualCountsPickTheLowestBucketAndTheEarliestEntry) {
    TBitmap bitmap(15, 1, 24);
    Fill(bitmap, [](int x, int) { return x < 5 ? kWhite : x < 10 ? kBlue : kRed; });
    uint32_t table[2];
    uint8_t* lookup = nullptr;
    ASSERT_EQ(bitmap.BuildPalette(table, 2, kQuantize16Buckets, &lookup), 2);
    EXPECT_EQ(table[0], Quad(0xC0, 0x20, 0x40)); // red, bucket 1
    EXPECT_EQ(table[1], Quad(0x40, 0x20, 0xC0)); // blue, bucket 8
    ASSERT_NE(lookup, nullptr);
    EXPECT_EQ(lookup[15], 0); // white is 53,248 from both
    std::free(lookup);
}

TEST(BuildPalette, FewerOccupiedBucketsThanEntriesRepeatBucketZero) {
    TBitmap bitmap(5, 1, 24);
    Fill(bitmap, [](int x, int) { return Rgb(0, 0, uint32_t(200 + x)); });
    uint32_t table[4];
    uint8_t* lookup = nullptr;
    ASSERT_EQ(bitmap.BuildPalette(table, 4, kQuantize16Buckets, &lookup), 4);
    EXPECT_EQ(table[0], Quad(0x40, 0x20, 0xC0));
    for (int i = 1; i < 4; ++i) EXPECT_EQ(table[i], Quad(0x40, 0x20, 0x40)) << i;
    ASSERT_NE(lookup, nullptr);
    EXPECT_EQ(lookup[8], 0);
    EXPECT_EQ(lookup[0], 3); // the last of the repeated picks
    std::free(lookup);
}

TEST(BuildPalette, RefusesTablesItCannotFill) {
    TBitmap bitmap(4, 4, 24);
    Fill(bitmap, [](int x, int y) { return Rgb(uint32_t(x), uint32_t(y), 0); });
    uint8_t* lookup = nullptr;
    EXPECT_EQ(bitmap.BuildPalette(nullptr, 4, 0, &lookup), 0);
    EXPECT_EQ(lookup, nullptr);
    uint32_t table[300];
    EXPECT_EQ(bitmap.BuildPalette(table, 0, 0, nullptr), 0);
    // A byte-wide lookup cannot address more than 256 entries.
    EXPECT_EQ(bitmap.BuildPalette(table, 300, 0, &lookup), 0);
    EXPECT_EQ(lookup, nullptr);
    EXPECT_EQ(bitmap.BuildPalette(table, 300, 0, nullptr), 16); // fits exactly
    EXPECT_EQ(bitmap.BuildPalette(table, 8, 0, nullptr), 8);
}

// ---- conversion ----

TEST(ConvertTo, ThreeColourGraphIsLosslessAtFourBits) {
    const struct {
        uint32_t back, grid, curve;
    } schemes[] = {{kBlack, kWhite, kGreen},
                   {kWhite, Rgb(192, 192, 192), kBlue},
                   {Rgb(1, 2, 3), Rgb(1, 2, 4), Rgb(1, 3, 3)}};
    for (const auto& s : schemes) {
        SCOPED_TRACE(testing::Message() << std::hex << s.back << " " << s.grid << " " << s.curve);
        TBitmap bitmap(60, 40, 24);
        Fill(bitmap, [&](int x, int y) { return GraphLike(x, y, s.back, s.grid, s.curve); });
        ASSERT_EQ(bitmap.ConvertTo(4), 1);
        int width, height, depth, rowBytes, tableBytes;
        ASSERT_EQ(bitmap.GetInfo(&width, &height, &depth, &rowBytes, &tableBytes), 2400);
        EXPECT_EQ(depth, 4);
        EXPECT_EQ(tableBytes, 64);
        EXPECT_EQ(TableEntry(bitmap, 0), TBitmap::ColorToQuad(s.back));
        EXPECT_EQ(TableEntry(bitmap, 1), TBitmap::ColorToQuad(s.grid));
        EXPECT_EQ(TableEntry(bitmap, 2), TBitmap::ColorToQuad(s.curve));
        for (int i = 3; i < 16; ++i) EXPECT_EQ(TableEntry(bitmap, i), 0u) << i;
        int wrong = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if ((bitmap.GetPixelAt(x, y) & 0xFFFFFF) !=
                    GraphLike(x, y, s.back, s.grid, s.curve))
                    ++wrong;
        EXPECT_EQ(wrong, 0);
    }
}

TEST(ConvertTo, TwoColourGraphIsLosslessAtOneBit) {
    TBitmap bitmap(60, 40, 24);
    Fill(bitmap, [](int x, int y) { return GraphLike(x, y, kBlack, kBlack, kGreen); });
    ASSERT_EQ(bitmap.ConvertTo(1), 1);
    int width, height, depth, rowBytes, tableBytes;
    ASSERT_EQ(bitmap.GetInfo(&width, &height, &depth, &rowBytes, &tableBytes), 2400);
    EXPECT_EQ(depth, 1);
    EXPECT_EQ(rowBytes, 8);
    EXPECT_EQ(tableBytes, 8);
    EXPECT_EQ(TableEntry(bitmap, 0), 0u);
    EXPECT_EQ(TableEntry(bitmap, 1), TBitmap::ColorToQuad(kGreen));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            ASSERT_EQ(bitmap.GetPixelAt(x, y), (y == 12 + x / 4 ? 0x01000000 | kGreen : kBlack))
                << x << "," << y;
    // The saved file: 14 + 40 + 8 + 8 x 40 bytes.
    const std::string path = testing::TempDir() + "palette_mono.bmp";
    EXPECT_EQ(bitmap.SaveToFile(path.c_str()), 382u);
    std::remove(path.c_str());
}

TEST(ConvertTo, PopularityMapsEveryPixelThroughTheLookup) {
    TBitmap bitmap(161, 10, 24);
    FillBlueWhiteRed(bitmap);
    ASSERT_EQ(bitmap.ConvertTo(1), 1);
    EXPECT_EQ(TableEntry(bitmap, 0), Quad(0x40, 0x20, 0xC0));
    EXPECT_EQ(TableEntry(bitmap, 1), Quad(0xC0, 0xE0, 0xC0));
    const uint32_t blueCentre = 0x00000000 | Rgb(0x40, 0x20, 0xC0);
    const uint32_t whiteCentre = 0x01000000 | Rgb(0xC0, 0xE0, 0xC0);
    for (int i = 0; i < 1610; ++i) {
        const uint32_t expected = i < 1000 ? blueCentre : i < 1600 ? whiteCentre : blueCentre;
        ASSERT_EQ(bitmap.GetPixelAt(i % 161, i / 161), expected) << i;
    }
}

TEST(ConvertTo, WorksFromIndexedAndSixteenBitSources) {
    TBitmap grey(9, 3, 8);
    Fill(grey, [](int x, int) { return uint32_t(x % 3 == 1 ? 255 : 0) << 24; });
    ASSERT_EQ(grey.ConvertTo(1), 1);
    EXPECT_EQ(grey.GetPixelAt(0, 0), 0x00000000u);
    EXPECT_EQ(grey.GetPixelAt(1, 2), 0x01FFFFFFu);

    TBitmap rgb565(4, 4, 16);
    Fill(rgb565, [](int x, int y) { return (x + y) % 2 ? kRed : kBlue; });
    ASSERT_EQ(rgb565.ConvertTo(4), 1);
    EXPECT_EQ(rgb565.GetPixelAt(0, 0), Rgb(0, 0, 0xF8));
    EXPECT_EQ(rgb565.GetPixelAt(1, 0), 0x01000000 | Rgb(0xF8, 0, 0));

    TBitmap mono(4, 4, 1);
    Fill(mono, [](int x, int) { return uint32_t(x & 1) << 24; });
    ASSERT_EQ(mono.ConvertTo(4), 1);
    EXPECT_EQ(mono.GetPixelAt(0, 0), 0x00000000u);
    EXPECT_EQ(mono.GetPixelAt(3, 3), 0x01FFFFFFu);
}

TEST(ConvertTo, NothingButTheTransparentColourIsLeftAlone) {
    TBitmap bitmap(4, 4, 24);
    Fill(bitmap, [](int, int) { return kWhite; });
    bitmap.transparentColor = kWhite;
    uint8_t* block = bitmap.info;
    EXPECT_EQ(bitmap.ConvertTo(1), 0);
    EXPECT_EQ(bitmap.info, block);
    EXPECT_EQ(bitmap.GetPixelAt(2, 2), kWhite);
}

TEST(ConvertTo, SameDepthAndOtherDepths) {
    TBitmap bitmap(4, 4, 4);
    Fill(bitmap, [](int x, int) { return uint32_t(x) << 24; });
    uint8_t* block = bitmap.info;
    EXPECT_EQ(bitmap.ConvertTo(4), 1);
    EXPECT_EQ(bitmap.info, block); // nothing to do
    for (int depth : {8, 24, 2, 0, 16}) EXPECT_EQ(bitmap.ConvertTo(depth), 0) << depth;
    EXPECT_EQ(bitmap.info, block);
    EXPECT_EQ(bitmap.GetPixelAt(3, 0), 0x03333333u);
}
