#pragma once
// The calculation line's own keys, handled in the line's window procedure so
// that they work in whatever message loop runs the window (the modal dialog's
// own loop cannot translate accelerators): the main window's accelerators,
// while the keys the edit control needs stay its own, and Up and Down through
// the history of evaluated lines.
#include <windows.h>

// Replaces the line's window procedure, loads the accelerators and starts an
// empty history.
void SubclassCalculationLine(HWND mainWindow);

// Adds an evaluated line (as typed, without its "=") to the history.
void RememberLine(const char* text);
