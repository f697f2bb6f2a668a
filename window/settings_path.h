#pragma once
// Text rules for finding the settings folder; the Win32 side (current folder,
// profile look-ups) is EnterSettingsFolder in startup_gui.
#include <cstddef>

// Size of a folder or file name buffer, terminator included.
constexpr int kPathBufferSize = 260;

// When spec begins with "<", writes the key between it and the last character
// (normally ">") into key and returns true; otherwise returns false.
bool ExtractFolderKey(const char* spec, char* key, size_t keySize);

// Takes target as a command line and writes the folder of its program into
// folder: the text inside a leading double quote (to the end without a closing
// one), or the whole text; cut at the first ".exe " and then at the last
// backslash.
void DeriveFolderFromCommandLine(const char* target, char* folder, size_t folderSize);
