// Drives a running calculator from a second process, as the screenshot test and
// the timing script need:
//   drive_calc wait SECONDS          waits for the main window; prints the milliseconds
//   drive_calc plot TEXT             puts TEXT into the line and presses Enter
//   drive_calc command ID            sends the menu command ID, as a pick from the menu
//   drive_calc status                prints the statistics bar's four texts
//   drive_calc graphrect             prints the graph area's screen rectangle and the
//                                    main window's outer size: x y w h W H
//   drive_calc size W H              resizes the main window
//   drive_calc time-plot TEXT        plot TEXT, then repaint; prints both times in ms
//   drive_calc time-repaint W H      resize, then repaint; prints the repaint time in ms
//   drive_calc time-hover N          moves the pointer over N columns across the graph
//                                    area; prints the mean, median and longest move in ms
//   drive_calc time-zoom N           N Ctrl+wheel steps in, then N out, over the middle
//                                    of the graph area, each painted; prints the mean,
//                                    median and longest step in ms
//   drive_calc hover X Y             puts the mouse pointer on (X, Y) of the graph area
//   drive_calc zoom N                N Ctrl+wheel steps in over the middle of the graph area
//                                    (out for a negative N)
//   drive_calc scroll N              N wheel notches over the middle of the graph area,
//                                    right (left for a negative N)
//   drive_calc redraw                paints the graph area and its frame anew at once
//   drive_calc time-wheel N          N wheel notches right, then N left, each painted;
//                                    prints the mean, median and longest in ms
//   drive_calc close                 closes the window
//   drive_calc launch PROGRAM        starts PROGRAM, prints the milliseconds until its
//                                    window shows, then closes it
//   drive_calc start PROGRAM [ARG]   starts "PROGRAM" ARG (a quoted program path, as
//                                    the shell writes it) and returns at once
//   drive_calc start-unquoted PROGRAM ARG   the same without the quotes
//   drive_calc place X Y W H         moves and resizes the main window
//   drive_calc rect                  prints the main window's screen rectangle: x y w h
//   drive_calc client                prints the main window's client width and height
//                                    and the calculation line's height
//   drive_calc line                  prints the calculation line's text
//   drive_calc title                 prints the main window's title
//   drive_calc dialog TITLE          prints 1 when a dialog of that title is open in
//                                    the calculator's thread, else 0
//   drive_calc cancel TITLE          sends that dialog the Cancel command
//   drive_calc post ID               posts the menu command ID and returns at once, so
//                                    that a dialog it opens can be driven next
//   drive_calc save-as TITLE DOWNS NAME   in the file dialog of that title, presses Down
//                                    DOWNS times in its file type box, types NAME into
//                                    its file name box and clicks its Save button;
//                                    returns once the dialog has closed
//   drive_calc gone SECONDS          waits until the main window no longer exists
//   drive_calc clipboard             prints the clipboard's picture as "W H BITS" (or
//                                    "no picture"), then its text, one line a line
//   drive_calc clipboard TEXT        puts TEXT on the clipboard as its only content
// Results go to standard output, one item a line.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kCalcLine = 1000;
constexpr int kGraphArea = 1001;
constexpr int kParts = 4;
constexpr int kTextSize = 256;

HWND FindCalculator() {
    return FindWindowA("#32770", "TamsoloCalc");
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

// Reads the bar's part texts through a buffer inside the calculator's process,
// since SB_GETTEXTA writes into the address it is given.
int PrintStatus(HWND window) {
    HWND bar = FindWindowExA(window, nullptr, STATUSCLASSNAMEA, nullptr);
    if (!bar) return 1;
    DWORD processId = 0;
    GetWindowThreadProcessId(bar, &processId);
    HANDLE process =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (!process) return 1;
    void* remote = VirtualAllocEx(process, nullptr, kTextSize, MEM_COMMIT, PAGE_READWRITE);
    if (!remote) {
        CloseHandle(process);
        return 1;
    }
    for (int part = 0; part < kParts; ++part) {
        char text[kTextSize] = "";
        const int length = LOWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, part, 0));
        if (length < kTextSize) {
            SendMessageA(bar, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(remote));
            SIZE_T read = 0;
            ReadProcessMemory(process, remote, text, kTextSize - 1, &read);
        }
        std::printf("%s\n", text);
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return 0;
}

void Plot(HWND window, const char* text) {
    SendMessageA(GetDlgItem(window, kCalcLine), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    SendMessageA(window, WM_COMMAND, IDOK, 0);
}

// Invalidates the graph area and has it painted at once, so that the time of
// the send is the time of one repaint.
double Repaint(HWND window) {
    HWND graph = GetDlgItem(window, kGraphArea);
    const LARGE_INTEGER start = Now();
    InvalidateRect(graph, nullptr, FALSE);
    SendMessageA(graph, WM_PAINT, 0, 0);
    return Milliseconds(start, Now());
}

// The mean, the median and the longest of times, printed in ms.
void PrintTimes(double* times, int n) {
    double sum = 0;
    for (int i = 0; i < n; ++i) sum += times[i];
    std::sort(times, times + n);
    std::printf("%.3f %.3f %.3f\n", n > 0 ? sum / n : 0.0, n > 0 ? times[n / 2] : 0.0,
                n > 0 ? times[n - 1] : 0.0);
}

// A visible tooltip window of window's thread, or null.
HWND FindTooltip(HWND window) {
    struct Search {
        HWND found;
    } search = {nullptr};
    EnumThreadWindows(
        GetWindowThreadProcessId(window, nullptr),
        [](HWND w, LPARAM p) -> BOOL {
            char name[64] = "";
            GetClassNameA(w, name, sizeof name);
            if (lstrcmpiA(name, TOOLTIPS_CLASSA) != 0 || !IsWindowVisible(w)) return TRUE;
            reinterpret_cast<Search*>(p)->found = w;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Pointer moves over n columns spread across the graph area, at half its
// height, each timed until the tooltip has painted its new text.
int TimeHover(HWND window, int n) {
    HWND graph = GetDlgItem(window, kGraphArea);
    RECT client = {};
    GetClientRect(graph, &client);
    if (n <= 0 || client.right <= 0) return 1;
    double* times = new double[n];
    for (int i = 0; i < n; ++i) {
        const int x = static_cast<int>((i + 0.5) * client.right / n);
        const LARGE_INTEGER start = Now();
        SendMessageA(graph, WM_MOUSEMOVE, 0, MAKELPARAM(x, client.bottom / 2));
        if (HWND tip = FindTooltip(window)) RedrawWindow(tip, nullptr, nullptr, RDW_UPDATENOW);
        times[i] = Milliseconds(start, Now());
    }
    PrintTimes(times, n);
    delete[] times;
    return 0;
}

// Wheel turns over the middle of the graph area, keys held (MK_ flags): n
// turns of delta, then n of -delta, each painted before the next.
int TimeWheel(HWND window, int n, int delta, WPARAM keys) {
    HWND graph = GetDlgItem(window, kGraphArea);
    RECT client = {};
    GetClientRect(graph, &client);
    if (n <= 0 || client.right <= 0) return 1;
    POINT at = {client.right / 2, client.bottom / 2};
    SendMessageA(graph, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    ClientToScreen(graph, &at);
    double* times = new double[2 * n];
    for (int i = 0; i < 2 * n; ++i) {
        const LARGE_INTEGER start = Now();
        SendMessageA(graph, WM_MOUSEWHEEL, MAKEWPARAM(keys, i < n ? delta : -delta),
                     MAKELPARAM(at.x, at.y));
        times[i] = Milliseconds(start, Now());
    }
    PrintTimes(times, 2 * n);
    delete[] times;
    return 0;
}

void Resize(HWND window, int width, int height) {
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
}

// Milliseconds from starting program until a visible "TamsoloCalc" dialog
// exists, or -1; the program is closed again.
int Launch(const char* program) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    char commandLine[MAX_PATH + 2];
    std::snprintf(commandLine, sizeof commandLine, "\"%s\"", program);
    const LARGE_INTEGER start = Now();
    if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return 1;
    double shown = -1;
    while (Milliseconds(start, Now()) < 30000) {
        HWND window = FindCalculator();
        if (window && IsWindowVisible(window)) {
            shown = Milliseconds(start, Now());
            PostMessageA(window, WM_CLOSE, 0, 0);
            break;
        }
        Sleep(1);
    }
    WaitForSingleObject(process.hProcess, 30000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::printf("%.1f\n", shown);
    return shown < 0;
}

// Starts the command line "program" argument (or program argument) without
// waiting for it.
int Start(const char* program, const char* argument, bool quoted) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    char commandLine[2 * MAX_PATH];
    std::snprintf(commandLine, sizeof commandLine, quoted ? "\"%s\"%s%s" : "%s%s%s", program,
                  *argument ? " " : "", argument);
    if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return 1;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}

struct DialogSearch {
    const char* title;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<DialogSearch*>(lParam);
    char className[32] = "", title[256] = "";
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, title, sizeof title);
    if (std::strcmp(className, "#32770") == 0 && std::strcmp(title, search->title) == 0 &&
        IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// A visible dialog of the calculator's thread with exactly this title.
HWND FindDialog(HWND calculator, const char* title) {
    DialogSearch search = {title, nullptr};
    EnumThreadWindows(GetWindowThreadProcessId(calculator, nullptr), MatchDialog,
                      reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForDialog(HWND calculator, const char* title, DWORD milliseconds) {
    const DWORD until = GetTickCount() + milliseconds;
    HWND dialog = nullptr;
    while (!(dialog = FindDialog(calculator, title)) && GetTickCount() < until) Sleep(20);
    return dialog;
}

BOOL CALLBACK MatchEdit(HWND window, LPARAM lParam) {
    char className[32] = "";
    GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, "Edit") != 0) return TRUE;
    *reinterpret_cast<HWND*>(lParam) = window;
    return FALSE;
}

// Keys and clicks as a user's would arrive at the dialog's controls: Down in
// the file type box, the name typed character by character into the edit
// field of the file name box, a left click in the middle of the Save button.
int SaveAs(HWND calculator, const char* title, int downs, const char* name) {
    constexpr int kFileTypeBox = 0x470, kFileNameBox = 0x47C;
    HWND dialog = WaitForDialog(calculator, title, 10000);
    if (!dialog) return 1;
    HWND types = GetDlgItem(dialog, kFileTypeBox);
    for (int i = 0; i < downs; ++i) {
        SendMessageA(types, WM_KEYDOWN, VK_DOWN, 1);
        SendMessageA(types, WM_KEYUP, VK_DOWN, 0xC0000001);
    }
    HWND nameBox = GetDlgItem(dialog, kFileNameBox), edit = nullptr;
    EnumChildWindows(nameBox, MatchEdit, reinterpret_cast<LPARAM>(&edit));
    if (!edit) edit = nameBox;
    SendMessageA(edit, EM_SETSEL, 0, -1);
    for (const char* c = name; *c; ++c)
        SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(*c), 1);
    HWND save = GetDlgItem(dialog, IDOK);
    RECT r = {};
    GetClientRect(save, &r);
    const LPARAM middle = MAKELPARAM(r.right / 2, r.bottom / 2);
    SendMessageA(save, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    PostMessageA(save, WM_LBUTTONUP, 0, middle);
    const DWORD until = GetTickCount() + 10000;
    while (IsWindow(dialog) && GetTickCount() < until) Sleep(20);
    return IsWindow(dialog) ? 1 : 0;
}

// The clipboard's device-independent bitmap header, then its text without the
// carriage returns. Needs no calculator window.
int PrintClipboard() {
    if (!OpenClipboard(nullptr)) return 1;
    const BITMAPINFOHEADER* header = nullptr;
    HANDLE picture = GetClipboardData(CF_DIB);
    if (picture) header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(picture));
    if (header)
        std::printf("%ld %ld %d\n", header->biWidth, header->biHeight, header->biBitCount);
    else
        std::printf("no picture\n");
    if (header) GlobalUnlock(picture);
    HANDLE text = GetClipboardData(CF_TEXT);
    if (const char* p = text ? static_cast<const char*>(GlobalLock(text)) : nullptr) {
        for (; *p; ++p)
            if (*p != '\r') std::putchar(*p);
        GlobalUnlock(text);
    }
    CloseClipboard();
    return 0;
}

int SetClipboardText(const char* text) {
    const size_t size = std::strlen(text) + 1;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    void* target = memory ? GlobalLock(memory) : nullptr;
    if (!target || !OpenClipboard(nullptr)) return 1;
    std::memcpy(target, text, size);
    GlobalUnlock(memory);
    EmptyClipboard();
    const bool set = SetClipboardData(CF_TEXT, memory) != nullptr;
    CloseClipboard();
    return set ? 0 : 1;
}

int Run(int argc, char** argv) {
    if (argc < 2) return 2;
    const char* command = argv[1];
    if (std::strcmp(command, "launch") == 0 && argc > 2) return Launch(argv[2]);
    if (std::strcmp(command, "start") == 0 && argc > 2)
        return Start(argv[2], argc > 3 ? argv[3] : "", true);
    if (std::strcmp(command, "start-unquoted") == 0 && argc > 3)
        return Start(argv[2], argv[3], false);
    if (std::strcmp(command, "clipboard") == 0)
        return argc > 2 ? SetClipboardText(argv[2]) : PrintClipboard();
    if (std::strcmp(command, "gone") == 0) {
        const DWORD until = GetTickCount() + 1000 * (argc > 2 ? std::atoi(argv[2]) : 10);
        while (FindCalculator())
            if (GetTickCount() > until)
                return 1;
            else
                Sleep(10);
        return 0;
    }
    if (std::strcmp(command, "wait") == 0) {
        const int seconds = argc > 2 ? std::atoi(argv[2]) : 10;
        const LARGE_INTEGER start = Now();
        while (Milliseconds(start, Now()) < seconds * 1000.0) {
            HWND window = FindCalculator();
            if (window && IsWindowVisible(window)) {
                std::printf("%.1f\n", Milliseconds(start, Now()));
                return 0;
            }
            Sleep(1);
        }
        return 1;
    }
    HWND window = FindCalculator();
    if (!window) return 1;
    if (std::strcmp(command, "plot") == 0 && argc > 2) {
        Plot(window, argv[2]);
    } else if (std::strcmp(command, "command") == 0 && argc > 2) {
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(std::atoi(argv[2]), 0), 0);
    } else if (std::strcmp(command, "post") == 0 && argc > 2) {
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(std::atoi(argv[2]), 0), 0);
    } else if (std::strcmp(command, "save-as") == 0 && argc > 4) {
        return SaveAs(window, argv[2], std::atoi(argv[3]), argv[4]);
    } else if (std::strcmp(command, "status") == 0) {
        return PrintStatus(window);
    } else if (std::strcmp(command, "graphrect") == 0) {
        RECT r = {}, outer = {};
        GetWindowRect(GetDlgItem(window, kGraphArea), &r);
        GetWindowRect(window, &outer);
        std::printf("%ld %ld %ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top,
                    outer.right - outer.left, outer.bottom - outer.top);
    } else if (std::strcmp(command, "size") == 0 && argc > 3) {
        Resize(window, std::atoi(argv[2]), std::atoi(argv[3]));
    } else if (std::strcmp(command, "time-plot") == 0 && argc > 2) {
        const LARGE_INTEGER start = Now();
        Plot(window, argv[2]);
        const double plotted = Milliseconds(start, Now());
        const double painted = Repaint(window);
        std::printf("%.2f %.2f\n", plotted, painted);
    } else if (std::strcmp(command, "time-repaint") == 0 && argc > 3) {
        Resize(window, std::atoi(argv[2]), std::atoi(argv[3]));
        std::printf("%.2f\n", Repaint(window));
    } else if (std::strcmp(command, "time-hover") == 0 && argc > 2) {
        return TimeHover(window, std::atoi(argv[2]));
    } else if (std::strcmp(command, "time-zoom") == 0 && argc > 2) {
        return TimeWheel(window, std::atoi(argv[2]), WHEEL_DELTA, MK_CONTROL);
    } else if (std::strcmp(command, "hover") == 0 && argc > 3) {
        // The pointer itself moves, so the window gets the move as the mouse sends it.
        HWND graph = GetDlgItem(window, kGraphArea);
        POINT at = {std::atoi(argv[2]), std::atoi(argv[3])};
        ClientToScreen(graph, &at);
        SetCursorPos(at.x, at.y);
    } else if ((std::strcmp(command, "zoom") == 0 || std::strcmp(command, "scroll") == 0) &&
               argc > 2) {
        const bool zoom = command[0] == 'z';
        const int n = std::atoi(argv[2]);
        HWND graph = GetDlgItem(window, kGraphArea);
        RECT client = {};
        GetClientRect(graph, &client);
        POINT at = {client.right / 2, client.bottom / 2};
        ClientToScreen(graph, &at);
        // A wheel turned away from the user (a positive delta) zooms in or scrolls left.
        const int delta = (n > 0) == zoom ? WHEEL_DELTA : -WHEEL_DELTA;
        for (int i = 0; i < std::abs(n); ++i)
            SendMessageA(graph, WM_MOUSEWHEEL, MAKEWPARAM(zoom ? MK_CONTROL : 0, delta),
                         MAKELPARAM(at.x, at.y));
    } else if (std::strcmp(command, "redraw") == 0) {
        RedrawWindow(GetDlgItem(window, kGraphArea), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    } else if (std::strcmp(command, "time-wheel") == 0 && argc > 2) {
        return TimeWheel(window, std::atoi(argv[2]), -WHEEL_DELTA, 0);
    } else if (std::strcmp(command, "place") == 0 && argc > 5) {
        SetWindowPos(window, nullptr, std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]),
                     std::atoi(argv[5]), SWP_NOZORDER);
    } else if (std::strcmp(command, "rect") == 0) {
        RECT r = {};
        GetWindowRect(window, &r);
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    } else if (std::strcmp(command, "client") == 0) {
        RECT r = {}, line = {};
        GetClientRect(window, &r);
        GetWindowRect(GetDlgItem(window, kCalcLine), &line);
        std::printf("%ld %ld %ld\n", r.right, r.bottom, line.bottom - line.top);
    } else if (std::strcmp(command, "line") == 0) {
        char text[kTextSize] = ""; // WM_GETTEXT carries the text across processes
        SendMessageA(GetDlgItem(window, kCalcLine), WM_GETTEXT, kTextSize,
                     reinterpret_cast<LPARAM>(text));
        std::printf("%s\n", text);
    } else if (std::strcmp(command, "title") == 0) {
        char text[kTextSize] = "";
        GetWindowTextA(window, text, kTextSize);
        std::printf("%s\n", text);
    } else if (std::strcmp(command, "dialog") == 0 && argc > 2) {
        std::printf("%d\n", FindDialog(window, argv[2]) ? 1 : 0);
    } else if (std::strcmp(command, "cancel") == 0 && argc > 2) {
        HWND dialog = FindDialog(window, argv[2]);
        if (!dialog) return 1;
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    } else if (std::strcmp(command, "close") == 0) {
        SendMessageA(window, WM_CLOSE, 0, 0);
    } else {
        return 2;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const int status = Run(argc, argv);
    std::fflush(stdout);
    return status;
}
