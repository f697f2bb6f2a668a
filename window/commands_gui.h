#pragma once
// Commands of the main window: the dispatcher of WM_COMMAND and the handler
// that greys and checks the menu's popups. Dropped files: file_commands_gui.h.
#include <windows.h>

#include "window/file_commands_gui.h"

// Dispatches a command (id and notification code from the command message).
void OnCommand(HWND mainWindow, int id, int notification);

// Greys and checks the items of a popup of the main menu before it opens.
void OnInitMenuPopup(HWND mainWindow, HMENU popup);

// Opens the main popup menu with its top-left corner at screen point (x, y);
// the focus goes to the calculation line when it closes.
void OpenMainPopupMenu(HWND mainWindow, int x, int y);
