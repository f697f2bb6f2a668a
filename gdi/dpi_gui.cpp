#include "gdi/dpi_gui.h"

#include "gdi/dpi_scale.h"

namespace {

using GetDpiForWindowCall = UINT(WINAPI*)(HWND);

// Loaded by name: the call is missing before Windows 10.
GetDpiForWindowCall GetDpiForWindowOfSystem() {
    static const auto call = reinterpret_cast<GetDpiForWindowCall>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    return call;
}

} // namespace

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDefaultDpi;
}

int WindowDpi(HWND window) {
    const GetDpiForWindowCall call = GetDpiForWindowOfSystem();
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
