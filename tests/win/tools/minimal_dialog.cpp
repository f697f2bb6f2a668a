// The smallest dialog program: one empty modal dialog from an in-memory
// template, titled "TamsoloCalc", so that the timing script can compare the
// calculator's start-up with the least a dialog program needs under the same
// Wine. It closes when asked (WM_CLOSE), as the calculator does.
#include <windows.h>

namespace {

INT_PTR CALLBACK MinimalProc(HWND window, UINT message, WPARAM, LPARAM) {
    if (message == WM_CLOSE) {
        EndDialog(window, 0);
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

// A DLGTEMPLATE with no menu, the default class and a title, in WORD units.
struct MinimalTemplate {
    DLGTEMPLATE header;
    WORD menu;
    WORD windowClass;
    WCHAR title[12];
};

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    MinimalTemplate dialog = {};
    dialog.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_CENTER;
    dialog.header.cx = 334;
    dialog.header.cy = 17;
    const wchar_t title[] = L"TamsoloCalc";
    for (int i = 0; i < 12; ++i) dialog.title[i] = title[i];
    return static_cast<int>(
        DialogBoxIndirectParamA(instance, &dialog.header, nullptr, MinimalProc, 0));
}
