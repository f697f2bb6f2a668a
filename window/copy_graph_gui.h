#pragma once
// "Copy Graph": the graph as the window shows it and the data set as text on
// the clipboard, for pasting into a document or a spreadsheet.
#include <windows.h>

// Nothing with an empty data set. Otherwise replaces the clipboard's contents
// with the graph area's picture as a 24-bit device-independent bitmap (CF_DIB,
// left out when the area has no room) and the values in the text form of a
// text data file (CF_TEXT). Leaves the clipboard alone when another program
// holds it open.
void CopyGraph(HWND mainWindow);
