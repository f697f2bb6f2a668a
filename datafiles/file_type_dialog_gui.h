#pragma once
// The File Type dialog (resource 102): the user names the kind of a data file
// before it is read or written; its result is a file type code (0: cancelled).
#include <windows.h>

#include <cstdint>

// The two remembered text options, off at start, stored on every OK with
// "Text" selected; they pre-set the check boxes when reading.
extern bool multiplierChoice;
extern bool columnEquationChoice;

// Dialog procedure; lParam of WM_INITDIALOG is the creation parameter below.
INT_PTR CALLBACK FileTypeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the dialog modally. owner must be the main window: the column equation
// is read from its calculation line (control 1000). parameter >= 0: reading a
// file of that many bytes (callers with a 64-bit size pass
// FileTypeParameterForSize of datafiles/file_type_choice.h, which keeps files
// of 2 GiB or more in reading mode); negative (-1): saving the data set.
// Returns the file type code, 0 when cancelled or when the dialog cannot run.
uint32_t RunFileTypeDialog(HWND owner, int32_t parameter);
