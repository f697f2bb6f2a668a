#include "window/line_keys_gui.h"

#include "window/calc_line_gui.h"
#include "window/line_history.h"
#include "resources/resource_ids.h"

#include <string>
#include <vector>

namespace {

WNDPROC previousLineProc = nullptr;
HACCEL accelerators = nullptr;
LineHistory history;

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

std::string LineText(HWND line) {
    std::vector<char> text(static_cast<size_t>(GetWindowTextLengthA(line)) + 1);
    GetWindowTextA(line, text.data(), static_cast<int>(text.size()));
    return text.data();
}

// Up (back) or Down: shows the next line of the history, caret at its end;
// past either end of the history the line stays as it is.
void StepHistory(HWND line, bool back) {
    std::string shown;
    if (back ? !history.StepBack(LineText(line), &shown) : !history.StepForward(&shown)) return;
    SetWindowTextA(line, shown.c_str());
    MoveCaretToEnd(line);
}

LRESULT CALLBACK CalculationLineProc(HWND line, UINT message, WPARAM first, LPARAM second) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (TranslateLineAccelerator(line, message, first, second)) return 0;
        // In one line Up and Down would only move the caret as Left and Right do.
        if (message == WM_KEYDOWN && (first == VK_UP || first == VK_DOWN)) {
            StepHistory(line, first == VK_UP);
            return 0;
        }
        break;
    default: break;
    }
    return CallWindowProcA(previousLineProc, line, message, first, second);
}

} // namespace

void SubclassCalculationLine(HWND mainWindow) {
    accelerators = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDA_MAIN));
    history.Clear();
    previousLineProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(GetDlgItem(mainWindow, IDC_CALC_LINE), GWLP_WNDPROC,
                          reinterpret_cast<LONG_PTR>(CalculationLineProc)));
}

void RememberLine(const char* text) {
    history.Add(text ? text : "");
}
