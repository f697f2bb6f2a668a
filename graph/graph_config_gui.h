#pragma once
// The Graph Configuration dialog (resource 101): edits graphSettings, which it
// changes only on OK.
#include <windows.h>

constexpr int kCustomColorCount = 16;
// Custom colours of the colour chooser, kept for the whole run so that colours
// chosen once are offered again; all black at start.
extern COLORREF customColors[kCustomColorCount];

// Dialog procedure; lParam of WM_INITDIALOG points to a GraphConfigState.
INT_PTR CALLBACK GraphConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// What one run of the dialog edits before OK: graph, grid and back colour.
namespace tamsolo {
struct GraphConfigState {
    COLORREF pendingColors[3] = {};
};
} // namespace tamsolo

// Runs the dialog modally, owned by owner. Returns 1 after OK (graphSettings
// and backBrush replaced), 0 after Cancel or when the dialog cannot be shown
// (nothing changed). The caller updates the scroll range and repaints on 1.
int RunGraphConfigDialog(HWND owner);
