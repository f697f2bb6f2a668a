#include "gdi/dpi_gui.h"

#include "gdi/dpi_scale.h"

namespace {

// A call of user32 loaded by name, since older systems lack it; null where missing.
template <typename Call>
Call User32Call(const char* name) {
    return reinterpret_cast<Call>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

using GetDpiForWindowCall = UINT(WINAPI*)(HWND);                // Windows 10 and later
using SetDpiChangeBehaviorCall = BOOL(WINAPI*)(HWND, int, int); // Windows 10 1703 and later

// The dialog manager's flags, named as in the system's headers, which older
// headers lack.
constexpr int kDialogKeepsSize = 0x0002;          // DDC_DISABLE_RESIZE
constexpr int kDialogKeepsControlPlaces = 0x0004; // DDC_DISABLE_CONTROL_RELAYOUT
constexpr int kControlKeepsFont = 0x0001;         // DCDC_DISABLE_FONT_UPDATE

} // namespace

void KeepDpiChangesToProgram(HWND dialog, HWND ownFont) {
    static const auto forDialog =
        User32Call<SetDpiChangeBehaviorCall>("SetDialogDpiChangeBehavior");
    static const auto forControl =
        User32Call<SetDpiChangeBehaviorCall>("SetDialogControlDpiChangeBehavior");
    const int dialogFlags = kDialogKeepsSize | kDialogKeepsControlPlaces;
    if (forDialog && dialog) forDialog(dialog, dialogFlags, dialogFlags);
    if (forControl && ownFont) forControl(ownFont, kControlKeepsFont, kControlKeepsFont);
}

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDefaultDpi;
}

int WindowDpi(HWND window) {
    static const auto call = User32Call<GetDpiForWindowCall>("GetDpiForWindow");
    const int dpi = call && window ? static_cast<int>(call(window)) : 0;
    return dpi > 0 ? dpi : ScreenDpi();
}

HFONT CreateStockFontForDpi(int stockFont, int dpi, BYTE quality) {
    LOGFONTA description = {};
    if (GetObjectA(GetStockObject(stockFont), sizeof description, &description) !=
        sizeof description)
        return nullptr;
    description.lfHeight = ScaleForDpi(description.lfHeight, dpi);
    description.lfWidth = ScaleForDpi(description.lfWidth, dpi);
    description.lfQuality = quality;
    return CreateFontIndirectA(&description);
}
