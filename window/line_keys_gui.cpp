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
// Whether the last key pressed was an accelerator. The message loop has
// already made the character of that key (Ctrl+C makes 0x03, Ctrl+6 0x1E)
// when the key reaches the line; the character is not the edit control's,
// which would act on it (Ctrl+Shift+C would copy the selected text over the
// copied graph).
bool keyWasAccelerator = false;

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
        keyWasAccelerator = TranslateLineAccelerator(line, message, first, second);
        if (keyWasAccelerator) return 0;
        // In one line Up and Down would only move the caret as Left and Right do.
        if (message == WM_KEYDOWN && (first == VK_UP || first == VK_DOWN)) {
            StepHistory(line, first == VK_UP);
            return 0;
        }
        break;
    case WM_CHAR:
    case WM_SYSCHAR:
        if (keyWasAccelerator) {
            keyWasAccelerator = false;
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
    keyWasAccelerator = false;
    previousLineProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(GetDlgItem(mainWindow, IDC_CALC_LINE), GWLP_WNDPROC,
                          reinterpret_cast<LONG_PTR>(CalculationLineProc)));
}

void RememberLine(const char* text) {
    history.Add(text ? text : "");
}
