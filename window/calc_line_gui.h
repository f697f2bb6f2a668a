#pragma once
// The calculation line of the main window.
#include <windows.h>

// An expression without variables, read in base.
double EvaluatePlain(const char* text, int base);

// Handles a change of the line: evaluates, plots or transforms the data set
// when the text ends with "=", and writes the line back.
void EvaluateLine(HWND mainWindow);

// Writes the result that the calculator last put into the line again, in the
// display base and flags of now, from the value it was made from, so that no
// digits are lost to the shown text. False, changing nothing, once the line
// holds other text (the user edited it): the line is then to be evaluated.
bool RewriteShownResult(HWND mainWindow);
// A new window's line holds no result yet.
void ForgetShownResult();

// The next evaluation tells no reason: it is that of the command line's
// expression, made before the window shows.
void EvaluateNextLineQuietly();

// Gives the graph area room (grows the window) when it is less than 20 pixels tall.
void EnsureGraphVisible(HWND mainWindow);

// The tail after the data set was replaced: statistics, scroll range, room for
// the graph, and a repaint of the graph area, or of the whole window (with the
// graph area) when wholeWindow is true (after a data file).
void RefreshAfterNewData(HWND mainWindow, bool wholeWindow);

// Selects the whole line and deletes it, as Escape does.
void ClearCalculationLine(HWND line);
// Selects the whole line, then puts the caret at its end.
void MoveCaretToEnd(HWND line);
