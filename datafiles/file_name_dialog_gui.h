#pragma once
// One call for the system's open and save file name dialogs, with the flags
// the calculator uses everywhere.
#include <windows.h>
#include <commdlg.h>

constexpr int kFileNameSize = 260;

// name: in, the initial name; out, the chosen name(s). Its size is 260
// characters, except in mode "m<size>" where it is <size>.
// mode, by its first letter: 'o' open (the file must exist), 's' save (asks
// before overwriting), 'm' open several (the decimal buffer size follows the
// m; 260 when none is given), anything else a plain open.
// title: null for the system's title. filter: pairs of NUL-terminated texts
// ended by an empty text. defaultExtension: without the dot, or null.
// filterIndex: when given, receives the filter the user left chosen, 1 for
// the first pair, once a name was chosen.
// Returns 0 when cancelled or failed; for 'o' and 's' the system call's
// non-zero result; for 'm' the number of files chosen (the buffer then holds
// the folder and the names, or one full path).
int FileNameDialog(char* name, const char* mode, const char* title, HWND owner, const char* filter,
                   const char* defaultExtension, DWORD* filterIndex = nullptr);

// The structure FileNameDialog hands to the system, exposed so that its filling
// can be checked without showing a dialog. Returns the buffer size used.
DWORD FillFileNameRequest(OPENFILENAMEA& request, char* name, const char* mode, const char* title,
                          HWND owner, const char* filter, const char* defaultExtension);

// The result of mode 'm' from the filled buffer: the count of file names.
int CountChosenFiles(const char* buffer, DWORD bufferSize, WORD fileOffset);
