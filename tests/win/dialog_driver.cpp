#include "dialog_driver.h"

#include <map>

namespace {

constexpr UINT kTickMs = 20;
constexpr int kGiveUpTicks = 250; // about five seconds

std::map<UINT_PTR, DialogDriver*>& Drivers() {
    static std::map<UINT_PTR, DialogDriver*> drivers;
    return drivers;
}

struct Search {
    const std::string* title;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM lParam) {
    Search* search = reinterpret_cast<Search*>(lParam);
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) != "#32770") return TRUE;
    if (!IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    if (std::string(title).find(*search->title) == std::string::npos) return TRUE;
    search->found = window;
    return FALSE;
}

} // namespace

HWND FindThreadDialog(const std::string& title) {
    Search search = {&title, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

DialogDriver::DialogDriver(std::vector<DialogStep> steps) : steps(std::move(steps)) {
    lastStepTime = GetTickCount();
    timer = SetTimer(nullptr, 0, kTickMs, OnTimer);
    Drivers()[timer] = this;
}

DialogDriver::~DialogDriver() {
    KillTimer(nullptr, timer);
    Drivers().erase(timer);
}

std::string DialogDriver::Report() const {
    return "ran " + std::to_string(next) + " of " + std::to_string(steps.size()) + " steps" +
           (timedOut ? ", timed out waiting for \"" + steps[next].title + "\"" : "");
}

void CALLBACK DialogDriver::OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
    auto found = Drivers().find(id);
    if (found != Drivers().end()) found->second->Tick();
}

void DialogDriver::Tick() {
    if (timedOut || next >= steps.size()) return;
    if (GetTickCount() - lastStepTime < steps[next].delayMs) return;
    HWND dialog = FindThreadDialog(steps[next].title);
    if (!dialog) {
        if (++idleTicks < kGiveUpTicks) return;
        timedOut = true;
        // Close whatever is open so that the modal call returns.
        if (HWND open = FindThreadDialog("")) PostMessageA(open, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    idleTicks = 0;
    // Advance first: the action may open a nested dialog whose loop ticks again.
    const size_t step = next++;
    lastStepTime = GetTickCount();
    steps[step].action(dialog);
}

OwnerWindow::OwnerWindow() {
    window = CreateWindowExA(0, "STATIC", "Owner", WS_POPUP | WS_VISIBLE, 0, 0, 300, 100, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    line = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, 300, 20,
                           window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(1000)),
                           GetModuleHandleA(nullptr), nullptr);
}

OwnerWindow::~OwnerWindow() {
    if (window) DestroyWindow(window);
}

void ClickButton(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::string ItemText(HWND dialog, int id) {
    char text[2048] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

DialogStep ChooseFileOfType(const std::string& title, int downKeys, const std::string& name) {
    constexpr int kFileTypeBox = 0x470, kFileNameBox = 0x47C;
    return {title, [downKeys, name](HWND dialog) {
                HWND types = GetDlgItem(dialog, kFileTypeBox);
                SetFocus(types);
                for (int i = 0; i < downKeys; ++i) {
                    SendMessageA(types, WM_KEYDOWN, VK_DOWN, 1);
                    SendMessageA(types, WM_KEYUP, VK_DOWN, 0xC0000001);
                }
                SetDlgItemTextA(dialog, kFileNameBox, name.c_str());
                PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            }};
}

namespace {

// Under Wine on a display without a window manager, every hidden window waits
// about two seconds for a manager that never answers. Windows of this test
// program are made unmanaged instead (a per-program Wine setting, read when the
// first window is created; on Windows the key is simply unused).
const bool kUnmanagedUnderWine = [] {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (!ntdll || !GetProcAddress(ntdll, "wine_get_version")) return false;
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\win_tests.exe\\X11 Driver",
                        0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    const char value[] = "N";
    RegSetValueExA(key, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>(value), sizeof value);
    RegCloseKey(key);
    return true;
}();

} // namespace
