#pragma once
// The command line's two steps in the creation of the main window.
#include <windows.h>

// Where the full command line comes from: GetCommandLineA, except in tests,
// which hand the main window a command line of their own. Returns the
// previous source.
using CommandLineSource = const char* (*)();
CommandLineSource SetCommandLineSource(CommandLineSource source);

// Creation step 8: the argument after the program path is read as a text data
// file and plotted; when it is no readable file it is put into the line and
// evaluated once the window runs (the OK command is posted). A relative file
// name is looked up in launchFolder (null or empty: the current folder).
void TakeFileOrExpressionArgument(HWND mainWindow, const char* launchFolder);

// Creation step 10: a creation parameter "/cmd=<id>" posts that command.
void PostCommandArgument(HWND mainWindow, const char* creationParameter);
