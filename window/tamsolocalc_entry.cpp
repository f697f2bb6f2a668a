// The program: start-up, then the main dialog as the one message loop.
#include "resources/resource_ids.h"
#include "window/main_window_gui.h"
#include "window/startup_gui.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
    PrepareStartup();
    return static_cast<int>(DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr,
                                            MainWindowProc, reinterpret_cast<LPARAM>(arguments)));
}
