#pragma once
// The calculation line's own keys, handled in the line's window procedure so
// that they work in whatever message loop runs the window (the modal dialog's
// own loop cannot translate accelerators): the main window's accelerators,
// while the keys the edit control needs stay its own.
#include <windows.h>

// Replaces the line's window procedure and loads the accelerators.
void SubclassCalculationLine(HWND mainWindow);
