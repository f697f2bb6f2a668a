#include "about/about_layout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

uint16_t WordAt(const uint8_t* block, size_t offset) {
    return static_cast<uint16_t>(block[offset] | block[offset + 1] << 8);
}
uint32_t DwordAt(const uint8_t* block, size_t offset) {
    return WordAt(block, offset) | static_cast<uint32_t>(WordAt(block, offset + 2)) << 16;
}

std::string Geometry(const AboutItem& item) {
    return std::to_string(item.x) + "," + std::to_string(item.y) + " " + std::to_string(item.cx) +
           "x" + std::to_string(item.cy);
}

TEST(AboutLayout, BaseUnitsOf8By16GiveTheClassicBox) {
    const LogoSize logo = DefaultLogoSize(8, 16, 96);
    EXPECT_EQ(logo.width, 512);
    EXPECT_EQ(logo.height, 272);
    // At 150 % the base units and the logo's own pixels grow alike.
    const LogoSize denser = DefaultLogoSize(12, 24, 144);
    EXPECT_EQ(denser.width, 768);
    EXPECT_EQ(denser.height, 408);
    const AboutLayout layout = ComputeAboutLayout(logo, 8, 16);
    EXPECT_EQ(layout.w, 256);
    EXPECT_EQ(layout.h, 136);
    EXPECT_EQ(Geometry(layout.items[0]), "208,114 40x14"); // Close
    EXPECT_EQ(Geometry(layout.items[1]), "8,8 240x30");    // logo band
    EXPECT_EQ(Geometry(layout.items[2]), "64,47 128x14");  // link
    EXPECT_EQ(Geometry(layout.items[3]), "8,68 240x1");    // separating line
    EXPECT_EQ(Geometry(layout.items[4]), "8,84 192x44");   // information text
}

TEST(AboutLayout, OddBaseUnitsRoundAsMulDiv) {
    const LogoSize logo = DefaultLogoSize(7, 15, 96);
    EXPECT_EQ(logo.width, 508);  // 2 * round(56 / 4 = 14) + 480
    EXPECT_EQ(logo.height, 270); // 2 * round(120 / 8 = 15) + 240
    const AboutLayout layout = ComputeAboutLayout(logo, 7, 15);
    EXPECT_EQ(layout.w, 290); // round(2032 / 7)
    EXPECT_EQ(layout.h, 144);
    EXPECT_EQ(Geometry(layout.items[0]), "242,122 40x14");
    EXPECT_EQ(Geometry(layout.items[1]), "8,8 274x34");
    EXPECT_EQ(Geometry(layout.items[2]), "73,51 145x14"); // (72 + 8 + 34 + 2) / 2 - 7
    EXPECT_EQ(Geometry(layout.items[3]), "8,72 274x1");
    EXPECT_EQ(Geometry(layout.items[4]), "8,88 226x48");
}

TEST(AboutTemplate, BlockHoldsHeaderFontAndFiveAlignedItems) {
    uint8_t block[kAboutTemplateSize];
    std::memset(block, 0xAB, sizeof block);
    const AboutLayout layout = ComputeAboutLayout(DefaultLogoSize(8, 16, 96), 8, 16);
    EXPECT_EQ(WriteAboutTemplate(block, layout), kAboutTemplateSize);
    EXPECT_EQ(DwordAt(block, 0), 0x00C80AC1u);
    EXPECT_EQ(DwordAt(block, 4), 0u);
    EXPECT_EQ(WordAt(block, 8), 5);
    EXPECT_EQ(DwordAt(block, 10), 0u); // x, y
    EXPECT_EQ(WordAt(block, 14), 256);
    EXPECT_EQ(WordAt(block, 16), 136);
    EXPECT_EQ(DwordAt(block, 18), 0u); // no menu, default class
    EXPECT_EQ(WordAt(block, 22), 0);   // empty title
    EXPECT_EQ(WordAt(block, 24), 8);
    std::string face;
    for (size_t at = 26; WordAt(block, at); at += 2) face += static_cast<char>(WordAt(block, at));
    EXPECT_EQ(face, "MS Shell Dlg");

    const struct {
        uint32_t style;
        uint16_t id, atom, x, y;
    } items[] = {
        {0x50000000, 2, 0x80, 208, 114}, {0x5080000E, 52, 0x82, 8, 8},
        {0x50000000, 50, 0x80, 64, 47},  {0x50000004, 0xFFFF, 0x82, 8, 68},
        {0x50000000, 51, 0x82, 8, 84},
    };
    for (size_t i = 0; i < 5; ++i) {
        const size_t at = 52 + 28 * i;
        EXPECT_EQ(DwordAt(block, at), items[i].style) << i;
        EXPECT_EQ(DwordAt(block, at + 4), 0u) << i;
        EXPECT_EQ(WordAt(block, at + 8), items[i].x) << i;
        EXPECT_EQ(WordAt(block, at + 10), items[i].y) << i;
        EXPECT_EQ(WordAt(block, at + 16), items[i].id) << i;
        EXPECT_EQ(WordAt(block, at + 18), 0xFFFF) << i;
        EXPECT_EQ(WordAt(block, at + 20), items[i].atom) << i;
        EXPECT_EQ(DwordAt(block, at + 22), 0u) << i; // empty text, no creation data
        EXPECT_EQ(WordAt(block, at + 26), 0) << i;   // alignment
    }
}

} // namespace
