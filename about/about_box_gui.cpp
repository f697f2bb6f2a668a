#include "about/about_box_gui.h"

#include <shellapi.h>

#include <cstdio>
#include <cstring>

#include "about/about_layout.h"
#include "about/about_paint_gui.h"
#include "gdi/dpi_gui.h"
#include "text/convert.h"

const char kMakerAddress[] = "https://tamsolo-tools.example/";
int logoAngle = 0;

namespace {

constexpr int kTextAreaSize = 4088;
constexpr size_t kProgramNameSize = 256; // leaves the rest of the text area to the information
constexpr UINT_PTR kLogoTimer = 1;
constexpr UINT kLogoPeriodMs = 100;

// What the dialog receives as its creation parameter.
struct AboutCreationBlock {
    HICON icon = nullptr;
    LPARAM value = 0;
    char text[kTextAreaSize] = {}; // program name, NUL, information text, NUL
    // The class icon to restore on close. Restored even when it was null, so
    // that the dialog class does not keep this box's icon.
    HICON previousIcon = nullptr;
    bool iconInstalled = false;
};

const char* InformationText(const AboutCreationBlock& block) {
    return block.text + strlen(block.text) + 1;
}

const char* AddressWithoutScheme() {
    const char* rest = strstr(kMakerAddress, "://");
    return rest ? rest + 3 : kMakerAddress;
}

void OnAboutInit(HWND dialog, AboutCreationBlock* block) {
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(block));
    if (!block) return;
    if (block->icon) {
        block->previousIcon = reinterpret_cast<HICON>(
            SetClassLongPtrA(dialog, GCLP_HICON, reinterpret_cast<LONG_PTR>(block->icon)));
        block->iconInstalled = true;
    }
    SetWindowTextA(dialog, block->text);
    SetDlgItemTextA(dialog, kAboutCloseId, "Close");
    SetDlgItemTextA(dialog, kAboutLinkId, AddressWithoutScheme());
    SetDlgItemTextA(dialog, kAboutTextId, InformationText(*block));
}

void OnAboutClose(HWND dialog) {
    const auto* block =
        reinterpret_cast<const AboutCreationBlock*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (block && block->iconInstalled)
        SetClassLongPtrA(dialog, GCLP_HICON, reinterpret_cast<LONG_PTR>(block->previousIcon));
    KillTimer(dialog, kLogoTimer);
    EndDialog(dialog, 0);
}

// The template block is made once and rewritten on every showing.
void* AboutTemplateBlock() {
    static HGLOBAL block = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, kAboutTemplateSize);
    return block;
}

// The default logo for the display the owner is on.
LogoSize DefaultLogoSizeFor(HWND owner) {
    const LONG units = GetDialogBaseUnits();
    return DefaultLogoSize(LOWORD(units), HIWORD(units), WindowDpi(owner));
}

} // namespace

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnAboutInit(dialog, reinterpret_cast<AboutCreationBlock*>(lParam));
        SetTimer(dialog, kLogoTimer, kLogoPeriodMs, nullptr);
        SetFocus(GetDlgItem(dialog, kAboutLogoId));
        return FALSE;
    case WM_TIMER:
        // 1 for the timer's ticks; 0 when posted after a repaint (no turn).
        logoAngle -= static_cast<int>(wParam);
        // The band's own pending repaint would come after this message and
        // blank the frame: let it happen first.
        UpdateWindow(GetDlgItem(dialog, kAboutLogoId));
        PaintLogo(GetDlgItem(dialog, kAboutLogoId), nullptr, logoAngle, 0, nullptr);
        return TRUE;
    case WM_PAINT: PostMessageA(dialog, WM_TIMER, 0, 0); return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == kAboutCloseId) PostMessageA(dialog, WM_CLOSE, 0, 0);
        if (LOWORD(wParam) == kAboutLinkId)
            ShellExecuteA(nullptr, "open", kMakerAddress, nullptr, nullptr, SW_SHOWNORMAL);
        return TRUE;
    case WM_CLOSE: OnAboutClose(dialog); return TRUE;
    default: return FALSE;
    }
}

INT_PTR ShowAboutBox(HWND owner, const char* programName, int version, HICON icon,
                     const SIZE* logoSize, LPARAM value) {
    void* block = AboutTemplateBlock();
    if (!block || !programName) return -1;
    LogoSize logo = DefaultLogoSizeFor(owner);
    if (logoSize) logo = {static_cast<int>(logoSize->cx), static_cast<int>(logoSize->cy)};
    const LONG units = GetDialogBaseUnits();
    WriteAboutTemplate(static_cast<uint8_t*>(block),
                       ComputeAboutLayout(logo, LOWORD(units), HIWORD(units)));

    AboutCreationBlock creation;
    creation.icon = icon;
    creation.value = value;
    const size_t nameLength = CopyBounded(creation.text, kProgramNameSize, programName);
    char* info = creation.text + nameLength + 1;
    const size_t room = sizeof creation.text - nameLength - 1;
    if (room > 0)
        snprintf(info, room, "%s\r\nVersion %d, built %s\r\nFreeware", programName, version,
                 __DATE__);
    return DialogBoxIndirectParamA(GetModuleHandleA(nullptr), static_cast<LPCDLGTEMPLATEA>(block),
                                   owner, AboutDialogProc, reinterpret_cast<LPARAM>(&creation));
}
