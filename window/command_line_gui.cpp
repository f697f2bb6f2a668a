#include "window/command_line_gui.h"

#include "datafiles/data_file.h"
#include "datafiles/file_types.h"
#include "window/calc_line_gui.h"
#include "window/command_line.h"
#include "window/resources/resource_ids.h"

namespace {

const char* SystemCommandLine() {
    return GetCommandLineA();
}

CommandLineSource commandLineSource = SystemCommandLine;

} // namespace

CommandLineSource SetCommandLineSource(CommandLineSource source) {
    const CommandLineSource previous = commandLineSource;
    commandLineSource = source ? source : SystemCommandLine;
    return previous;
}

void TakeFileOrExpressionArgument(HWND mainWindow) {
    GrowableText argument;
    if (!TakeCommandLineArgument(commandLineSource(), argument)) return;
    if (ReadDataFile(argument.Text(), kTypeText, nullptr) >= 0) {
        RefreshAfterNewData(mainWindow, true);
        return;
    }
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
