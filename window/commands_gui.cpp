#include "window/commands_gui.h"

#include "about/about_box_gui.h"
#include "graph/dataset.h"
#include "graph/graph_config_gui.h"
#include "numtext/display_state.h"
#include "resources/resource_ids.h"
#include "window/calc_line_gui.h"
#include "window/graph_scroller_gui.h"
#include "window/main_window_gui.h"
#include "window/menu_text.h"

#include <initializer_list>
#include <vector>

namespace {

constexpr char kProgramName[] = "TamsoloCalc";
constexpr int kProgramVersion = 1;

HWND CalculationLine(HWND mainWindow) {
    return GetDlgItem(mainWindow, IDC_CALC_LINE);
}

// Runs the line's evaluation again (the OK command), done when the send returns.
void EvaluateAgain(HWND mainWindow) {
    SendMessageA(mainWindow, WM_COMMAND, IDOK, 0);
}

// After a change of the display: a result the calculator wrote is written
// again from its value; anything else is evaluated again.
void ShowLineAgain(HWND mainWindow) {
    if (!RewriteShownResult(mainWindow)) EvaluateAgain(mainWindow);
}

void RepaintWholeWindow(HWND mainWindow) {
    RedrawWindow(mainWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

// The text of a menu item of the main popup, by command id; empty when there
// is no such item.
void ReadMenuText(int id, char (&text)[kMenuTextSize]) {
    text[0] = '\0';
    if (mainPopupMenu) GetMenuStringA(mainPopupMenu, id, text, kMenuTextSize, MF_BYCOMMAND);
}

// Enter: the caret goes to the end and "=" is typed there, which evaluates the
// line before the command returns.
void OnEnter(HWND mainWindow) {
    HWND line = CalculationLine(mainWindow);
    MoveCaretToEnd(line);
    SendMessageA(line, WM_CHAR, '=', 1);
}

// Escape clears the line; it never closes the window.
void OnEscape(HWND mainWindow) {
    ClearCalculationLine(CalculationLine(mainWindow));
}

void OnMenuButton(HWND mainWindow) {
    RECT button = {};
    GetWindowRect(GetDlgItem(mainWindow, IDC_MENU_BUTTON), &button);
    OpenMainPopupMenu(mainWindow, button.left, button.bottom);
}

// The line is evaluated in the old base (or its result written again) in the
// new one, so the number in it is converted; only then is the new base taken.
void ChangeNumberBase(HWND mainWindow, int base) {
    pendingDisplayBase = base;
    ShowLineAgain(mainWindow);
    numberBase = base;
    pendingDisplayBase = 0;
    SetWindowTextA(mainWindow, TitleForBase(base));
}

template <int id>
void OnNumberBase(HWND mainWindow) {
    ChangeNumberBase(mainWindow, BaseForCommand(id));
}

void OnDigitGrouping(HWND mainWindow) {
    digitGrouping = !digitGrouping;
    ShowLineAgain(mainWindow);
}

void OnExponentialNotation(HWND mainWindow) {
    exponentialNotation = !exponentialNotation;
    ShowLineAgain(mainWindow);
}

void OnSortData(HWND mainWindow) {
    SortData();
    RepaintWholeWindow(mainWindow);
}

void OnReverseData(HWND mainWindow) {
    ReverseData();
    RepaintWholeWindow(mainWindow);
}

void OnGraphingOptions(HWND mainWindow) {
    if (RunGraphConfigDialog(mainWindow) != 1) return;
    UpdateGraphScrollRange(mainWindow);
    EnsureGraphVisible(mainWindow);
    RepaintWholeWindow(mainWindow);
}

void OnAbout(HWND mainWindow) {
    ShowAboutBox(mainWindow, kProgramName, kProgramVersion, nullptr, nullptr, 0);
}

// A sample's equation replaces the line and is evaluated (for the samples:
// plotted). A missing item empties the line, which the evaluation clears.
void RunSampleEquation(HWND mainWindow, int id) {
    char text[kMenuTextSize];
    ReadMenuText(id, text);
    CutAtTab(text);
    SetWindowTextA(CalculationLine(mainWindow), text);
    EvaluateAgain(mainWindow);
}

// A conversion's pattern is typed at the caret, replacing a selection, with
// its numbers written in the current base. A "[_" pattern first opens a
// bracket in front of the whole line.
void TypeConversion(HWND mainWindow, int id) {
    char text[kMenuTextSize];
    ReadMenuText(id, text);
    const ConversionPattern pattern = FindConversionPattern(text);
    if (!pattern.found) return;
    HWND line = CalculationLine(mainWindow);
    if (pattern.wrapsLine) {
        const int length = GetWindowTextLengthA(line);
        std::vector<char> wrapped(static_cast<size_t>(length) + 2, '\0');
        wrapped[0] = '[';
        GetWindowTextA(line, wrapped.data() + 1, length + 1);
        SetWindowTextA(line, wrapped.data());
        MoveCaretToEnd(line);
    }
    DWORD start = 0, end = 0;
    SendMessageA(line, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const GrowableText typed = ConversionTextInBase(
        ConversionTextToType(text, pattern, start == 0 && end == 0), numberBase, EvaluatePlain);
    for (const char* c = typed.Text(); *c; ++c)
        SendMessageA(line, WM_CHAR, static_cast<unsigned char>(*c), 1);
}

struct CommandEntry {
    int id;
    void (*handler)(HWND mainWindow);
};

const CommandEntry kCommands[] = {
    {IDOK, OnEnter},
    {IDCANCEL, OnEscape},
    {IDC_MENU_BUTTON, OnMenuButton},
    {IDM_PLOT_DATA_FILE, PlotDataFile},
    {IDM_SAVE_GRAPH_BITMAP, SaveGraphAsBitmap},
    {IDM_GRAPHING_OPTIONS, OnGraphingOptions},
    {IDM_SAVE_DATA_FILE, SaveDataFileCommand},
    {IDM_BASE_2, OnNumberBase<IDM_BASE_2>},
    {IDM_BASE_8, OnNumberBase<IDM_BASE_8>},
    {IDM_BASE_10, OnNumberBase<IDM_BASE_10>},
    {IDM_BASE_16, OnNumberBase<IDM_BASE_16>},
    {IDM_DIGIT_GROUPING, OnDigitGrouping},
    {IDM_EXPONENTIAL, OnExponentialNotation},
    {IDM_SORT_DATA, OnSortData},
    {IDM_REVERSE_DATA, OnReverseData},
    {IDM_ABOUT, OnAbout},
};

UINT GreyedUnless(bool enabled) {
    return MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED);
}

UINT CheckedIf(bool checked) {
    return MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED);
}

} // namespace

void OnCommand(HWND mainWindow, int id, int notification) {
    if (notification == 0 && id >= IDM_SAMPLE_FIRST && id <= IDM_SAMPLE_LAST) {
        RunSampleEquation(mainWindow, id);
        return;
    }
    if (notification == 0 && id >= IDM_CONVERSION_FIRST) {
        TypeConversion(mainWindow, id);
        return;
    }
    if (id == IDC_CALC_LINE) {
        if (notification == EN_CHANGE) EvaluateLine(mainWindow);
        return;
    }
    for (const CommandEntry& command : kCommands) {
        if (command.id == id) {
            command.handler(mainWindow);
            return;
        }
    }
}

void OpenMainPopupMenu(HWND mainWindow, int x, int y) {
    if (mainPopupMenu)
        TrackPopupMenu(mainPopupMenu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, x, y, 0,
                       mainWindow, nullptr);
    SetFocus(CalculationLine(mainWindow));
}

// Applied to whichever popup opens; items that the popup does not hold (in
// itself or its submenus) are left alone by the by-command calls.
void OnInitMenuPopup(HWND, HMENU popup) {
    const bool hasData = dataSet.count != 0;
    for (int id : {IDM_SORT_DATA, IDM_REVERSE_DATA, IDM_SAVE_DATA_FILE, IDM_SAVE_GRAPH_BITMAP})
        EnableMenuItem(popup, id, GreyedUnless(hasData));
    EnableMenuItem(popup, IDM_EXPONENTIAL, GreyedUnless(numberBase == 10));
    CheckMenuItem(popup, IDM_DIGIT_GROUPING, CheckedIf(digitGrouping != 0));
    CheckMenuItem(popup, IDM_EXPONENTIAL, CheckedIf(exponentialNotation != 0));
    for (int id : {IDM_BASE_2, IDM_BASE_8, IDM_BASE_10, IDM_BASE_16})
        CheckMenuItem(popup, id, CheckedIf(BaseForCommand(id) == numberBase));
}
