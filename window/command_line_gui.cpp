#include "window/command_line_gui.h"

#include "datafiles/data_file.h"
#include "datafiles/file_types.h"
#include "resources/resource_ids.h"
#include "window/calc_line_gui.h"
#include "window/command_line.h"

namespace {

const char* SystemCommandLine() {
    return GetCommandLineA();
}

CommandLineSource commandLineSource = SystemCommandLine;

// Reads the argument as a text data file. A relative name is the user's,
// relative to the folder the program was started in, not to the settings
// folder that the window has entered since; the current folder is put back.
int ReadArgumentFile(const char* path, const char* launchFolder) {
    char current[MAX_PATH] = "";
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, current);
    const bool entered = launchFolder && *launchFolder && length > 0 && length < MAX_PATH &&
                         SetCurrentDirectoryA(launchFolder);
    const int result = ReadDataFile(path, kTypeText, nullptr);
    if (entered) SetCurrentDirectoryA(current);
    return result;
}

} // namespace

CommandLineSource SetCommandLineSource(CommandLineSource source) {
    const CommandLineSource previous = commandLineSource;
    commandLineSource = source ? source : SystemCommandLine;
    return previous;
}

void TakeFileOrExpressionArgument(HWND mainWindow, const char* launchFolder) {
    GrowableText argument;
    if (!TakeCommandLineArgument(commandLineSource(), argument)) return;
    if (ReadArgumentFile(argument.Text(), launchFolder) >= 0) {
        RefreshAfterNewData(mainWindow, true);
        return;
    }
    EvaluateNextLineQuietly();
    SetDlgItemTextA(mainWindow, IDC_CALC_LINE, argument.Text());
    PostMessageA(mainWindow, WM_COMMAND, IDOK, 0);
}

void PostCommandArgument(HWND mainWindow, const char* creationParameter) {
    int id = 0;
    if (!ReadCommandArgument(creationParameter, id)) return;
    // The dialog loop shows the window only once it runs out of messages; a
    // command that opens a modal dialog would come first and leave the main
    // window hidden behind it.
    ShowWindow(mainWindow, SW_SHOW);
    // The number goes out whole; the dispatcher takes its low 16 bits as the
    // id and the high 16 bits as the notification, and ignores unknown ids.
    PostMessageA(mainWindow, WM_COMMAND, static_cast<WPARAM>(static_cast<UINT>(id)), 0);
}
