#include "window/commands_gui.h"

#include "window/calc_line_gui.h"
#include "window/main_window_gui.h"
#include "window/resources/resource_ids.h"

namespace {

HWND CalculationLine(HWND mainWindow) {
    return GetDlgItem(mainWindow, IDC_CALC_LINE);
}

// Enter: the caret goes to the end and "=" is typed there, which evaluates the
// line before the command returns.
void OnEnter(HWND mainWindow) {
    HWND line = CalculationLine(mainWindow);
    MoveCaretToEnd(line);
    SendMessageA(line, WM_CHAR, '=', 1);
}

// Escape clears the line; it never closes the window.
void OnEscape(HWND mainWindow) {
    ClearCalculationLine(CalculationLine(mainWindow));
}

void OnMenuButton(HWND mainWindow) {
    RECT button = {};
    GetWindowRect(GetDlgItem(mainWindow, IDC_MENU_BUTTON), &button);
    OpenMainPopupMenu(mainWindow, button.left, button.bottom);
}

struct CommandEntry {
    int id;
    void (*handler)(HWND mainWindow);
};

const CommandEntry kCommands[] = {
    {IDOK, OnEnter},
    {IDCANCEL, OnEscape},
    {IDC_MENU_BUTTON, OnMenuButton},
};

} // namespace

void OnCommand(HWND mainWindow, int id, int notification) {
    if (id == IDC_CALC_LINE) {
        if (notification == EN_CHANGE) EvaluateLine(mainWindow);
        return;
    }
    for (const CommandEntry& command : kCommands) {
        if (command.id == id) {
            command.handler(mainWindow);
            return;
        }
    }
}

void OpenMainPopupMenu(HWND mainWindow, int x, int y) {
    if (mainPopupMenu)
        TrackPopupMenu(mainPopupMenu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, x, y, 0,
                       mainWindow, nullptr);
    SetFocus(CalculationLine(mainWindow));
}

// The menu's grey and check states are not set yet: the popups open as the
// resource defines them.
void OnInitMenuPopup(HWND mainWindow, HMENU popup) {}

// Dropped files are not plotted yet; the drop's memory is released.
void OnDropFiles(HWND mainWindow, HDROP drop) {
    DragFinish(drop);
}
