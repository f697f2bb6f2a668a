#pragma once
// The file commands of the main window: plotting a data file (chosen or
// dropped), saving the data set and exporting the graph as a bitmap.
#include <windows.h>
#include <shellapi.h>

#include "datafiles/file_name_dialog_gui.h"

// The last name chosen with each command, offered again by that command only.
// Empty at start; not saved.
extern char plotFileName[kFileNameSize];
extern char saveFileName[kFileNameSize];
extern char bitmapFileName[kFileNameSize];

// "Plot Data File...": choose a file, its type, read it with the line as the
// column equation, and show it. Cancelling any step changes nothing.
void PlotDataFile(HWND mainWindow);
// The road of a plotted file after its name is known: File Type dialog, read,
// refresh on success, focus to the line in every case.
void PlotNamedDataFile(HWND mainWindow, const char* path);
// "Save Data File...": choose a name and a type, write the data set.
void SaveDataFileCommand(HWND mainWindow);
// "Save Graph as Bitmap...": nothing with an empty data set; otherwise choose
// a name and export the whole graph as BMP or PNG (ChooseImageFormat).
void SaveGraphAsBitmap(HWND mainWindow);
// Files dropped on the window: the first is plotted; the drop is released.
void OnDropFiles(HWND mainWindow, HDROP drop);
