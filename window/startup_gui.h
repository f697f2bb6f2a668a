#pragma once
// Start-up and settings: the line's font, the settings file, the settings
// folder, the saved window position and snapping to the work area.
#include <windows.h>

// "FontMode" of the system profile: the line's font size in points, or -1.
extern int fontMode;
// The calculation line's font, and the DPI it was made for.
extern HFONT lineFont;
extern int lineFontDpi;
// Private-profile file of the window position: ".\TamsoloTools.ini" in the
// settings folder, or "win.ini" (the system profile) without one.
extern const char* settingsFile;

constexpr char kSettingsSection[] = "TamsoloCalc";
constexpr char kWindowPosXKey[] = "WindowPosX";
constexpr char kWindowPosYKey[] = "WindowPosY";
constexpr char kSettingsFolderSpec[] = "<TamsoloTools>";

// Everything prepared before the main window: font size, line font, settings
// file, common controls, the exit clean-up of the statistics bar and the
// graph's back brush.
void PrepareStartup();

// A font of points points at dpi.
HFONT CreatePointFont(const char* faceName, int fixedPitch, int points, int weight, int dpi);

// The line's font for fontMode at dpi: Courier New of fontMode points, or
// without a FontMode the stock fixed font, made larger on a denser display.
HFONT CreateLineFont(int dpi);

// Makes the settings folder (spec "<key>": the "Folders" entry of key) or the
// folder spec names the current folder; saveTo, when not null, receives the
// previous current folder (260 characters).
void EnterSettingsFolder(const char* spec, char* saveTo);

// Writes value under key unless the stored text already equals it. Returns 1
// when nothing had to be written, else the result of the write.
int WriteProfileIntIfChanged(const char* file, const char* section, const char* key, int value);

// Snaps window to the work area; sizePercent is null or {width %, height %}.
void SnapWindowToWorkArea(HWND window, const int* sizePercent, BOOL repaint);

// The saved position of the main window: moved there when both coordinates
// are 0 or more, and onto the nearest work area when no part of it lies on one.
void RestoreWindowPosition(HWND mainWindow);
// Makes a main window larger than its work area (as on a dense display) fit it.
void FitWindowIntoWorkArea(HWND mainWindow);
// Writes the main window's position in its normal state (also while it is
// minimised or maximised) when it differs from the stored one.
void SaveWindowPosition(HWND mainWindow);
