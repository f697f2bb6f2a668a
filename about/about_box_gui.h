#pragma once
// The About box: a dialog built in memory with the program's name, version
// and build date, a link to the maker's web address and a turning logo.
#include <windows.h>

// The maker's web address, which the link button opens.
extern const char kMakerAddress[];

// The logo's turn in degrees; carries over from one showing to the next.
extern int logoAngle;

// Shows the box modally. logoSize: the logo area in pixels, or null for the
// default from the dialog base units and the owner's DPI. value is handed on to the dialog
// unused. Returns the dialog's result (0 on Close), -1 when it cannot be shown.
INT_PTR ShowAboutBox(HWND owner, const char* programName, int version, HICON icon,
                     const SIZE* logoSize, LPARAM value);

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
