#include "window/line_keys_gui.h"

#include "window/resources/resource_ids.h"

namespace {

WNDPROC previousLineProc = nullptr;
HACCEL accelerators = nullptr;

// The control character that a translated key also produces (Ctrl+O is 0x0F)
// still reaches the edit control, which ignores it.
bool TranslateLineAccelerator(HWND line, UINT message, WPARAM first, LPARAM second) {
    if (!accelerators) return false;
    MSG msg = {};
    msg.hwnd = line;
    msg.message = message;
    msg.wParam = first;
    msg.lParam = second;
    return TranslateAcceleratorA(GetParent(line), accelerators, &msg) != 0;
}

LRESULT CALLBACK CalculationLineProc(HWND line, UINT message, WPARAM first, LPARAM second) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (TranslateLineAccelerator(line, message, first, second)) return 0;
        break;
    default: break;
    }
    return CallWindowProcA(previousLineProc, line, message, first, second);
}

} // namespace

void SubclassCalculationLine(HWND mainWindow) {
    accelerators = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDA_MAIN));
    previousLineProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(GetDlgItem(mainWindow, IDC_CALC_LINE), GWLP_WNDPROC,
                          reinterpret_cast<LONG_PTR>(CalculationLineProc)));
}
