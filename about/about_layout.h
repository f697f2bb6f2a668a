#pragma once
// The About box's dialog template, laid out from the logo's size in pixels and
// written into a 192-byte block (classic DLGTEMPLATE, five items).
#include <cstddef>
#include <cstdint>

struct LogoSize {
    int width = 0; // pixels
    int height = 0;
};
// The default logo area for dialog base units bx x by (pixels per 4
// horizontal and 8 vertical dialog units) on a display of dpi.
LogoSize DefaultLogoSize(int baseX, int baseY, int dpi);

struct AboutItem {
    int16_t id;
    uint16_t classAtom; // 0x80 button, 0x82 static
    uint32_t style;
    int16_t x, y, cx, cy;
};

constexpr int kAboutItemCount = 5;
constexpr int kAboutMargin = 8;
constexpr int16_t kAboutCloseId = 2;
constexpr int16_t kAboutLinkId = 50;
constexpr int16_t kAboutTextId = 51;
constexpr int16_t kAboutLogoId = 52;
constexpr uint32_t kAboutDialogStyle = 0x00C80AC1; // caption, system menu, centred,
                                                   // foreground, modal frame, font, absolute

struct AboutLayout {
    int16_t w = 0, h = 0;                  // dialog units
    AboutItem items[kAboutItemCount] = {}; // Close, logo band, link, line, text
};
AboutLayout ComputeAboutLayout(LogoSize logo, int baseX, int baseY);

constexpr size_t kAboutTemplateSize = 192;
// Writes the template (empty title and item texts, font 8 "MS Shell Dlg")
// into block, which holds kAboutTemplateSize bytes. Returns the bytes used.
size_t WriteAboutTemplate(uint8_t* block, const AboutLayout& layout);
