#pragma once
// Short texts that tell the user why a line was not read whole or how a file
// command went: a balloon tip on the calculation line where the edit control
// offers one, otherwise the statistics bar in its simple mode, taken away
// after a few seconds by the main window's notice timer. The result in the
// line and the statistics stay as they are.
#include <windows.h>

// The main window's timer that takes a notice away, and how long it shows.
constexpr UINT_PTR kNoticeTimer = 1;
constexpr UINT kNoticeMilliseconds = 4000;
// Room for one notice's text.
constexpr int kNoticeTextSize = 256;

// Shows text (nothing for an empty one) in place of any notice shown before.
void ShowNotice(HWND mainWindow, const char* text);
// Takes the notice away, if one is shown, and stops the timer.
void HideNotice(HWND mainWindow);
