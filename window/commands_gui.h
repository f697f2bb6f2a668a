#pragma once
// Commands of the main window: the dispatcher of WM_COMMAND and the handlers
// of the menu's popups and of dropped files.
#include <windows.h>
#include <shellapi.h>

// Dispatches a command (id and notification code from the command message).
void OnCommand(HWND mainWindow, int id, int notification);

// Greys and checks the items of a popup of the main menu before it opens.
void OnInitMenuPopup(HWND mainWindow, HMENU popup);
// Plots the first of the files dropped onto the window.
void OnDropFiles(HWND mainWindow, HDROP drop);

// Opens the main popup menu with its top-left corner at screen point (x, y);
// the focus goes to the calculation line when it closes.
void OpenMainPopupMenu(HWND mainWindow, int x, int y);
