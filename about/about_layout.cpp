#include "about/about_layout.h"

#include "gdi/dpi_scale.h"

#include <cstring>

namespace {

// Window and control styles as the dialog manager reads them.
constexpr uint32_t kChild = 0x40000000, kVisible = 0x10000000, kBorder = 0x00800000;
constexpr uint32_t kPushButton = 0x0, kStaticLeft = 0x0, kStaticBlackRect = 0x4,
                   kStaticBitmap = 0xE;
constexpr uint16_t kButtonAtom = 0x80, kStaticAtom = 0x82;
constexpr int16_t kNoId = -1;

class TemplateWriter {
  public:
    explicit TemplateWriter(uint8_t* block) : block(block) {}
    void Word(uint16_t v) {
        block[at++] = static_cast<uint8_t>(v);
        block[at++] = static_cast<uint8_t>(v >> 8);
    }
    void Dword(uint32_t v) {
        Word(static_cast<uint16_t>(v));
        Word(static_cast<uint16_t>(v >> 16));
    }
    void Text(const char* ascii) {
        while (*ascii) Word(static_cast<uint8_t>(*ascii++));
        Word(0);
    }
    void AlignDword() {
        while (at % 4) block[at++] = 0;
    }
    size_t Size() const { return at; }

  private:
    uint8_t* block;
    size_t at = 0;
};

} // namespace

LogoSize DefaultLogoSize(int baseX, int baseY, int dpi) {
    return {2 * MulDivRound(8, baseX, 4) + ScaleForDpi(480, dpi),
            2 * MulDivRound(8, baseY, 8) + ScaleForDpi(240, dpi)};
}

AboutLayout ComputeAboutLayout(LogoSize logo, int baseX, int baseY) {
    AboutLayout layout;
    const int w = static_cast<int16_t>(MulDivRound(logo.width, 4, baseX));
    const int h = static_cast<int16_t>(MulDivRound(logo.height, 8, baseY));
    const int m = kAboutMargin;
    const int band = (w - 2 * m) / 8;
    const int fourPixels = MulDivRound(4, 8, baseY);
    // The link sits midway between the logo band's bottom and the line.
    const int linkY = ((h / 2) + m + band + fourPixels) / 2 - 7;
    layout.w = static_cast<int16_t>(w);
    layout.h = static_cast<int16_t>(h);
    const auto item = [](int id, uint16_t atom, uint32_t style, int x, int y, int cx, int cy) {
        return AboutItem{static_cast<int16_t>(id),  atom,
                         kChild | kVisible | style, static_cast<int16_t>(x),
                         static_cast<int16_t>(y),   static_cast<int16_t>(cx),
                         static_cast<int16_t>(cy)};
    };
    layout.items[0] = item(kAboutCloseId, kButtonAtom, kPushButton, w - m - 40, h - m - 14, 40, 14);
    layout.items[1] =
        item(kAboutLogoId, kStaticAtom, kBorder | kStaticBitmap, m, m, w - 2 * m, band);
    layout.items[2] =
        item(kAboutLinkId, kButtonAtom, kPushButton, (w >> 1) - (w >> 2), linkY, w >> 1, 14);
    layout.items[3] = item(kNoId, kStaticAtom, kStaticBlackRect, m, h / 2, w - 2 * m, 1);
    layout.items[4] = item(kAboutTextId, kStaticAtom, kStaticLeft, m, h / 2 + 2 * m, w - 3 * m - 40,
                           h / 2 - 3 * m);
    return layout;
}

size_t WriteAboutTemplate(uint8_t* block, const AboutLayout& layout) {
    std::memset(block, 0, kAboutTemplateSize);
    TemplateWriter out(block);
    out.Dword(kAboutDialogStyle);
    out.Dword(0); // extended style
    out.Word(kAboutItemCount);
    out.Word(0); // x
    out.Word(0); // y
    out.Word(static_cast<uint16_t>(layout.w));
    out.Word(static_cast<uint16_t>(layout.h));
    out.Word(0);  // no menu
    out.Word(0);  // the default dialog class
    out.Text(""); // title, set when the box opens
    out.Word(8);  // font size
    out.Text("MS Shell Dlg");
    for (const AboutItem& item : layout.items) {
        out.AlignDword();
        out.Dword(item.style);
        out.Dword(0);
        out.Word(static_cast<uint16_t>(item.x));
        out.Word(static_cast<uint16_t>(item.y));
        out.Word(static_cast<uint16_t>(item.cx));
        out.Word(static_cast<uint16_t>(item.cy));
        out.Word(static_cast<uint16_t>(item.id));
        out.Word(0xFFFF);
        out.Word(item.classAtom);
        out.Text(""); // text
        out.Word(0);  // no creation data
    }
    out.AlignDword();
    return out.Size();
}
