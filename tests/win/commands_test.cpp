// The commands of the real main dialog, sent as the menu, the buttons and the
// mouse send them: number bases, display toggles, data set commands, menu
// states, samples, conversions, the dialogs they open and the file commands.
#include "main_window_fixture.h"

#include "datafiles/file_type_dialog_gui.h"
#include "datafiles/request_gate.h"
#include "dialog_driver.h"
#include "expr/evaluate.h"
#include "window/command_line_gui.h"
#include "window/file_commands_gui.h"
#include "window/graph_scroller_gui.h"
#include "window/menu_text.h"
#include "window/notice_gui.h"

#include <shlobj.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>

namespace {

constexpr int kFileNameBox = 0x47C; // the file name box of the system's file dialogs

class CommandsTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        plotFileName[0] = saveFileName[0] = bitmapFileName[0] = '\0';
        multiplierChoice = columnEquationChoice = false;
        char base[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, base);
        folder = std::string(base) + "cmd" + std::to_string(GetTickCount());
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    void TearDown() override {
        for (const std::string& file : files) DeleteFileA(file.c_str());
        RemoveDirectoryA(folder.c_str());
        MainWindowTest::TearDown();
    }

    void Command(int id, int notification = 0) {
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, notification), 0);
    }
    std::string Title() const {
        char text[256] = "";
        GetWindowTextA(window, text, sizeof text);
        return text;
    }
    void SetLine(const char* text) { SetWindowTextA(line, text); }
    void Select(int start, int end) { SendMessageA(line, EM_SETSEL, start, end); }
    void CaretToEnd() {
        const int length = GetWindowTextLengthA(line);
        Select(length, length);
    }
    std::vector<double> Values() const {
        return std::vector<double>(dataSet.values, dataSet.values + dataSet.count);
    }
    // Handles what was posted to this thread, as the dialog loop would.
    static void Pump() {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    // A file of the test folder, removed at the end.
    std::string File(const std::string& name) {
        files.push_back(folder + "\\" + name);
        return files.back();
    }
    std::string WriteFile(const std::string& name, const std::string& bytes) {
        const std::string path = File(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    // A file of size bytes that takes no room on the disk; empty when it
    // could not be made.
    std::string WriteSparseFile(const std::string& name, LONGLONG size) {
        const std::string path = File(name);
        HANDLE file =
            CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return "";
        LARGE_INTEGER end;
        end.QuadPart = size;
        SetFilePointerEx(file, end, nullptr, FILE_BEGIN);
        const bool sized = SetEndOfFile(file);
        CloseHandle(file);
        return sized ? path : "";
    }
    static std::string ReadBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // A popup of the main popup menu, by its text.
    static HMENU Popup(const char* name) {
        for (int i = 0; i < GetMenuItemCount(mainPopupMenu); ++i) {
            char text[kMenuTextSize] = "";
            GetMenuStringA(mainPopupMenu, i, text, sizeof text, MF_BYPOSITION);
            if (std::strcmp(text, name) == 0) return GetSubMenu(mainPopupMenu, i);
        }
        return nullptr;
    }
    int WindowHeight() const {
        RECT r = {};
        GetWindowRect(window, &r);
        return r.bottom - r.top;
    }

    std::string folder;
    std::vector<std::string> files;
};

// A step that types a name into a file dialog and confirms it; seen receives
// the name the dialog offered first.
DialogStep ChooseFile(const std::string& title, const std::string& name,
                      std::string* seen = nullptr) {
    return {title, [name, seen](HWND dialog) {
                if (seen) *seen = ItemText(dialog, kFileNameBox);
                SetDlgItemTextA(dialog, kFileNameBox, name.c_str());
                PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            }};
}

DialogStep ChooseType(int typeId) {
    return {"File Type", [typeId](HWND dialog) {
                for (int id = IDC_TYPE_UBYTE; id <= IDC_TYPE_TEXT; ++id)
                    SendDlgItemMessageA(dialog, id, BM_SETCHECK,
                                        id == typeId ? BST_CHECKED : BST_UNCHECKED, 0);
                ClickButton(dialog, IDOK);
            }};
}

DialogStep CancelDialog(const std::string& title) {
    return {title, [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); }};
}

// --- Number bases and display toggles ----------------------------------------

TEST_F(CommandsTest, BaseChangesConvertTheLineAndNameTheTitle) {
    EXPECT_EQ(Title(), "TamsoloCalc");
    SetLine("255");
    const struct {
        int id;
        int base;
        const char* line;
        const char* title;
    } steps[] = {
        {IDM_BASE_16, 16, "FF", "TamsoloCalc [HEX]"},
        {IDM_BASE_2, 2, "1111 1111", "TamsoloCalc [BINARY]"},
        {IDM_BASE_8, 8, "377", "TamsoloCalc [OCTAL]"},
        {IDM_BASE_10, 10, "255", "TamsoloCalc"},
    };
    for (const auto& step : steps) {
        Command(step.id);
        EXPECT_EQ(LineText(), step.line) << step.id;
        EXPECT_EQ(Title(), step.title) << step.id;
        EXPECT_EQ(numberBase, step.base) << step.id;
        EXPECT_EQ(pendingDisplayBase, 0) << step.id;
    }
    // A result the calculator wrote keeps its value through base changes;
    // once the user edits the line, it is read in the old base again.
    Escape();
    Type("0.1=");
    for (int id : {IDM_BASE_16, IDM_BASE_2, IDM_BASE_10}) Command(id);
    EXPECT_EQ(LineText(), "0.1");
    Command(IDM_BASE_2);
    Type("0\b");
    Command(IDM_BASE_10);
    EXPECT_EQ(LineText(), "0.10009765625");
    // Read in the new base from then on.
    Command(IDM_BASE_16);
    Escape();
    Type("A+1=");
    EXPECT_EQ(LineText(), "B");
}

TEST_F(CommandsTest, DisplayTogglesWriteTheLineAgain) {
    SetLine("1/3");
    Command(IDM_EXPONENTIAL);
    EXPECT_EQ(exponentialNotation, 1);
    EXPECT_EQ(LineText(), "3.333333333333e-1");
    Command(IDM_EXPONENTIAL);
    EXPECT_EQ(exponentialNotation, 0);
    EXPECT_EQ(LineText(), "0.333333333333");

    // A result the calculator wrote is shown again from its value.
    Escape();
    Type("2/3=");
    Command(IDM_EXPONENTIAL);
    EXPECT_EQ(LineText(), "6.666666666667e-1");
    Command(IDM_EXPONENTIAL);

    SetLine("1234567");
    Command(IDM_DIGIT_GROUPING);
    EXPECT_EQ(digitGrouping, 0);
    EXPECT_EQ(LineText(), "1234567");
    Command(IDM_DIGIT_GROUPING);
    EXPECT_EQ(digitGrouping, 1);
    EXPECT_EQ(LineText(), "1,234,567");
}

TEST_F(CommandsTest, TogglesPlotAnEquationAndTransformTheDataAgain) {
    InstallValues({7});
    SetLine("x^2");
    Command(IDM_DIGIT_GROUPING);
    EXPECT_EQ(LineText(), "x^2");
    ASSERT_GT(dataSet.count, 1);
    EXPECT_EQ(dataSet.values[0], 100);

    InstallValues({1, 2, 3});
    SetLine("data*2");
    Command(IDM_DIGIT_GROUPING);
    EXPECT_EQ(Values(), (std::vector<double>{2, 4, 6}));
    Command(IDM_EXPONENTIAL);
    EXPECT_EQ(Values(), (std::vector<double>{4, 8, 12}));
    EXPECT_EQ(LineText(), "data*2");
}

// --- Data set commands ---------------------------------------------------------

TEST_F(CommandsTest, SortAndReverseReorderTheDataSet) {
    Command(IDM_SORT_DATA); // empty: nothing to do
    Command(IDM_REVERSE_DATA);
    EXPECT_EQ(dataSet.count, 0);
    InstallValues({3, -1, 2, 2.5});
    Command(IDM_SORT_DATA);
    EXPECT_EQ(Values(), (std::vector<double>{-1, 2, 2.5, 3}));
    Command(IDM_REVERSE_DATA);
    EXPECT_EQ(Values(), (std::vector<double>{3, 2.5, 2, -1}));
}

// --- Menu states -----------------------------------------------------------------

class MenuStateTest : public CommandsTest {
  protected:
    // Opens popup as the system does before showing it, then reads the
    // grey (g) and check (c) marks of the ids: one pair of letters each.
    std::string Marks(HMENU popup, std::initializer_list<int> ids) {
        SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
        std::string marks;
        for (int id : ids) {
            const UINT state = GetMenuState(popup, id, MF_BYCOMMAND);
            marks += (state & MF_GRAYED) ? 'g' : '.';
            marks += (state & MF_CHECKED) ? 'c' : '.';
        }
        return marks;
    }
};

TEST_F(MenuStateTest, EachPopupIsMarkedWhenItOpens) {
    ASSERT_NE(mainPopupMenu, nullptr);
    HMENU dataMenu = Popup("DataSet");
    HMENU bases = Popup("Number System");
    ASSERT_NE(dataMenu, nullptr);
    ASSERT_NE(bases, nullptr);
    const auto dataIds = {IDM_PLOT_DATA_FILE, IDM_SAVE_DATA_FILE,   IDM_SAVE_GRAPH_BITMAP,
                          IDM_COPY_GRAPH,     IDM_GRAPHING_OPTIONS, IDM_SORT_DATA,
                          IDM_REVERSE_DATA};
    const auto displayIds = {IDM_DIGIT_GROUPING, IDM_EXPONENTIAL};
    const auto baseIds = {IDM_BASE_2, IDM_BASE_8, IDM_BASE_10, IDM_BASE_16};

    // A fresh start: no data, base 10, grouping on.
    EXPECT_EQ(Marks(dataMenu, dataIds), "..g.g.g...g.g.");
    EXPECT_EQ(Marks(mainPopupMenu, displayIds), ".c..");
    EXPECT_EQ(Marks(bases, baseIds), ".....c..");

    InstallValues({1, 2});
    EXPECT_EQ(Marks(dataMenu, dataIds), "..............");
    // Opening the main popup reaches the items of its submenus as well.
    InstallValues({});
    Marks(mainPopupMenu, {});
    EXPECT_TRUE(GetMenuState(dataMenu, IDM_SORT_DATA, MF_BYCOMMAND) & MF_GRAYED);

    // In base 16 exponential notation is greyed but keeps its check mark.
    exponentialNotation = 1;
    digitGrouping = 0;
    numberBase = 16;
    EXPECT_EQ(Marks(mainPopupMenu, displayIds), "..gc");
    EXPECT_EQ(Marks(bases, baseIds), ".......c");
    numberBase = 2;
    EXPECT_EQ(Marks(bases, baseIds), ".c......");
    numberBase = 10;
    EXPECT_EQ(Marks(mainPopupMenu, displayIds), "...c");
}

TEST_F(MenuStateTest, GreyingOnlyAffectsTheMenu) {
    // A greyed command sent another way still runs its handler.
    InstallValues({});
    Marks(Popup("DataSet"), {IDM_REVERSE_DATA});
    numberBase = 16;
    Marks(mainPopupMenu, {IDM_EXPONENTIAL});
    SetLine("1");
    Command(IDM_EXPONENTIAL);
    EXPECT_EQ(exponentialNotation, 1);
    EXPECT_EQ(LineText(), "1"); // no exponent outside base 10
}

// --- Samples and conversions -------------------------------------------------

TEST_F(CommandsTest, ASampleEquationIsPutIntoTheLineAndPlotted) {
    SetLine("2+3");
    Command(49000);
    EXPECT_EQ(LineText(), "sin( x ) {0,6*pi}");
    ASSERT_GT(dataSet.count, 100);
    EXPECT_EQ(dataSet.values[0], 0);
    EXPECT_TRUE(IsShown(statisticsBar()));

    Command(49007);
    EXPECT_EQ(LineText(), "1 / x {-10,10}");
    // A sample id without a menu item empties the line; the data stay.
    const int count = dataSet.count;
    Command(49999);
    EXPECT_EQ(LineText(), "");
    EXPECT_EQ(dataSet.count, count);
    // Only a menu command (notification 0) is a sample.
    SetLine("7");
    Command(49000, 1);
    EXPECT_EQ(LineText(), "7");
}

TEST_F(CommandsTest, ConversionsAreTypedAtTheCaret) {
    constexpr int kInchesFromFeet = 50044;
    constexpr int kCelsiusFromFahrenheit = 54010;
    constexpr int kCelsiusFromKelvin = 54011;
    const struct {
        const char* line;
        int selStart, selEnd; // -1: caret at the end
        int id;
        const char* typed;
    } cases[] = {
        {"5", -1, -1, kInchesFromFeet, "5*[12]"},
        {"", -1, -1, kInchesFromFeet, "[12]"},
        {"5", 0, 0, kInchesFromFeet, "[12]5"},
        {"10+20", 3, 5, kInchesFromFeet, "10+*[12]"},
        {"10+20", 0, 2, kInchesFromFeet, "*[12]+20"},
        {"100", -1, -1, kCelsiusFromFahrenheit, "[100-32]*5/9"},
        {"100", 0, 1, kCelsiusFromFahrenheit, "[100-32]*5/9"},
        {"", -1, -1, kCelsiusFromKelvin, "[-273.15]"},
        {"7", -1, -1, 51032, "7*[(1/43560)]"},
    };
    for (const auto& c : cases) {
        SetLine(c.line);
        if (c.selStart < 0)
            CaretToEnd();
        else
            Select(c.selStart, c.selEnd);
        Command(c.id);
        EXPECT_EQ(LineText(), c.typed) << c.line << " " << c.id;
    }
    // Nothing is evaluated until Enter.
    SetLine("5");
    CaretToEnd();
    Command(kInchesFromFeet);
    Enter();
    EXPECT_EQ(LineText(), "60");
    SetLine("212");
    Command(kCelsiusFromFahrenheit);
    Enter();
    EXPECT_EQ(LineText(), "100");
    // The whole line goes into the bracket, however long it is.
    std::string sum = "1";
    while (sum.size() < 301) sum += "+1"; // 151
    SetLine(sum.c_str());
    Command(kCelsiusFromFahrenheit);
    EXPECT_EQ(LineText(), "[" + sum + "-32]*5/9");
    Enter();
    EXPECT_EQ(LineText(), "66.111111111111");
}

// Each conversion item gives in bases 16 and 2 what it gives in base 10: the
// same number where that is whole, otherwise the same to the line's 12
// fraction digits.
TEST_F(CommandsTest, EveryConversionGivesTheSameValueInEveryBase) {
    digitGrouping = 0;
    const struct {
        int base;
        const char* million;
    } bases[] = {{10, "1000000"}, {16, "F4240"}, {2, "11110100001001000000"}};
    std::vector<int> ids;
    HMENU conversions = Popup("Conversions");
    for (int g = 0; g < GetMenuItemCount(conversions); ++g)
        if (HMENU group = GetSubMenu(conversions, g))
            for (int i = 0; i < GetMenuItemCount(group); ++i)
                ids.push_back(GetMenuItemID(group, i));
    EXPECT_EQ(ids.size(), 166u);
    for (int id : ids) {
        char menuText[kMenuTextSize] = "";
        GetMenuStringA(mainPopupMenu, id, menuText, sizeof menuText, MF_BYCOMMAND);
        double exact = 0;
        for (const auto& b : bases) {
            numberBase = b.base;
            SetLine(b.million);
            CaretToEnd();
            Command(id);
            const std::string typed = LineText();
            if (b.base == 10) exact = EvaluateExpression(typed.c_str(), nullptr, 0, 10);
            Enter();
            const double shown = EvaluateExpression(LineText().c_str(), nullptr, 0, b.base);
            if (std::fmod(exact, 1) == 0)
                EXPECT_EQ(shown, exact) << menuText << " in base " << b.base << ": " << typed;
            else
                EXPECT_NEAR(shown, exact, std::pow(b.base, -12) + std::fabs(exact) * 1e-15)
                    << menuText << " in base " << b.base << ": " << typed;
        }
    }
}

TEST_F(CommandsTest, ConversionsWithoutAnItemOrAPatternDoNothing) {
    SetLine("5");
    for (int id : {50008, 59999, 65535}) {
        Command(id);
        EXPECT_EQ(LineText(), "5") << id;
    }
    Command(50044, EN_CHANGE); // not a menu command
    EXPECT_EQ(LineText(), "5");
}

TEST_F(CommandsTest, UnknownIdsAndOtherLineNotificationsAreIgnored) {
    SetLine("5");
    InstallValues({2, 1});
    for (int id : {0, 3, 999, 1001, 1003, 40014, 48999, 39999}) Command(id);
    Command(IDC_CALC_LINE, EN_SETFOCUS);
    Command(IDC_CALC_LINE, EN_UPDATE);
    EXPECT_EQ(LineText(), "5");
    EXPECT_EQ(Values(), (std::vector<double>{2, 1}));
    EXPECT_EQ(Title(), "TamsoloCalc");
}

// --- Dialogs opened by commands and gestures --------------------------------

TEST_F(CommandsTest, GraphingOptionsOkMakesRoomForTheGraphCancelChangesNothing) {
    SetClientSize(400, 40);
    const int before = WindowHeight();
    {
        DialogDriver driver({CancelDialog("Graph Configuration")});
        Command(IDM_GRAPHING_OPTIONS);
        EXPECT_TRUE(driver.Finished()) << driver.Report();
    }
    EXPECT_EQ(WindowHeight(), before);
    {
        DialogDriver driver({{"Graph Configuration", [](HWND d) { ClickButton(d, IDOK); }}});
        Command(IDM_GRAPHING_OPTIONS);
        EXPECT_TRUE(driver.Finished()) << driver.Report();
    }
    RECT outer = {};
    GetWindowRect(window, &outer);
    EXPECT_EQ(WindowHeight(), std::min<int>((outer.right - outer.left) / 2 + 73, 512));
}

TEST_F(CommandsTest, DoubleClickPostsGraphingOptions) {
    for (HWND target : {window, graph}) {
        DialogDriver driver({CancelDialog("Graph Configuration")});
        SendMessageA(target, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
        EXPECT_FALSE(driver.Finished()); // posted, not yet run
        Pump();
        EXPECT_TRUE(driver.Finished()) << driver.Report();
    }
}

TEST_F(CommandsTest, AboutShowsTheProgramNameAndVersion) {
    // By the menu's command and by F1 on the line.
    for (bool byKey : {false, true}) {
        std::string text;
        DialogDriver driver({{"TamsoloCalc", [&](HWND dialog) {
                                  text = ItemText(dialog, IDC_ABOUT_TEXT);
                                  PostMessageA(dialog, WM_CLOSE, 0, 0);
                              }}});
        if (byKey)
            PressKey(VK_F1);
        else
            Command(IDM_ABOUT);
        EXPECT_TRUE(driver.Finished()) << driver.Report();
        EXPECT_EQ(text.rfind("TamsoloCalc\r\nVersion 1, built ", 0), 0u) << text;
    }
}

// --- Keys on the calculation line --------------------------------------------

TEST_F(CommandsTest, AcceleratorsOnTheLineOpenTheirDialogs) {
    InstallValues({1, 2, 3}); // the bitmap export needs data
    std::strcpy(plotFileName, "in.txt");
    std::strcpy(saveFileName, "out.txt");
    std::strcpy(bitmapFileName, "graph.bmp");
    SetLine("7");
    const struct {
        UINT key;
        char character; // what the key produces with Ctrl held
        const char* dialog;
        const char* offered; // the name a file dialog offers
    } cases[] = {
        {'O', 0x0F, "Open", "in.txt"},
        {'S', 0x13, "Save", "out.txt"},
        {'B', 0x02, "Save", "graph.bmp"},
        {'G', 0x07, "Graph Configuration", nullptr},
    };
    for (const auto& c : cases) {
        std::string offered;
        DialogDriver driver({{c.dialog, [&](HWND dialog) {
                                  if (c.offered) offered = ItemText(dialog, kFileNameBox);
                                  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                              }}});
        PressKey(c.key, true, c.character);
        EXPECT_TRUE(driver.Finished()) << c.dialog << driver.Report();
        if (c.offered) {
            EXPECT_EQ(offered, c.offered) << c.key;
        }
        EXPECT_EQ(LineText(), "7") << c.key;
    }
}

TEST_F(CommandsTest, CtrlAndADigitChangesTheNumberBase) {
    SetLine("255");
    const struct {
        UINT key;
        const char* line;
        const char* title;
    } cases[] = {
        {'6', "FF", "TamsoloCalc [HEX]"},
        {'2', "1111 1111", "TamsoloCalc [BINARY]"},
        {'8', "377", "TamsoloCalc [OCTAL]"},
        {'0', "255", "TamsoloCalc"},
    };
    for (const auto& c : cases) {
        PressKey(c.key, true);
        EXPECT_EQ(LineText(), c.line) << c.key;
        EXPECT_EQ(Title(), c.title) << c.key;
    }
    // Without Ctrl a digit is typed; with Ctrl and Shift it is no accelerator.
    PressKey('6', false, '6');
    EXPECT_EQ(LineText(), "2556");
    PressShiftedControlKey('2');
    EXPECT_EQ(Title(), "TamsoloCalc");
}

TEST_F(CommandsTest, TheLineKeepsTheKeysOfItsEditControl) {
    SetLine("12345");
    CaretToEnd();
    PressKey(VK_HOME);
    EXPECT_EQ(Selection(), std::make_pair(0, 0));
    PressKey(VK_END);
    EXPECT_EQ(Selection(), std::make_pair(5, 5));
    Select(0, 5); // Ctrl+A is checked below, where its selection shows
    PressKey('C', true, 0x03);
    PressKey(VK_HOME);
    PressKey('V', true, 0x16);
    EXPECT_EQ(LineText(), "1234512345");
    PressKey('Z', true, 0x1A);
    EXPECT_EQ(LineText(), "12345");
    PressKey('A', true, 0x01);
    EXPECT_EQ(Selection(), std::make_pair(0, 5));
    PressKey('X', true, 0x18);
    EXPECT_EQ(LineText(), "");
    PressKey('V', true, 0x16);
    EXPECT_EQ(LineText(), "12345");
}

TEST_F(CommandsTest, RightClickOpensTheMenuAndTheFocusReturnsToTheLine) {
    SetFocus(button);
    static bool opened;
    opened = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
        opened = true;
        EndMenu();
    });
    SendMessageA(window, WM_RBUTTONUP, 0, MAKELPARAM(10, 10));
    KillTimer(nullptr, timer);
    EXPECT_TRUE(opened);
    EXPECT_EQ(GetFocus(), line);
}

// --- File commands ------------------------------------------------------------

TEST_F(CommandsTest, SavedDataReadBackThroughTheFileTypeCodes) {
    InstallValues({1.5, -2, 300});
    const std::string text = File("values.txt");
    {
        DialogDriver driver({ChooseFile("Save", text), ChooseType(IDC_TYPE_TEXT)});
        Command(IDM_SAVE_DATA_FILE);
        EXPECT_TRUE(driver.Finished()) << driver.Report();
    }
    EXPECT_EQ(ReadBytes(text), "1.500000\r\n-2.000000\r\n300.000000\r\n");
    EXPECT_EQ(GetFocus(), line);

    InstallValues({1, -2, 300});
    const std::string shorts = File("values.bin");
    std::string offered;
    {
        DialogDriver driver({ChooseFile("Save", shorts, &offered), ChooseType(IDC_TYPE_SSHORT)});
        Command(IDM_SAVE_DATA_FILE);
        EXPECT_TRUE(driver.Finished()) << driver.Report();
    }
    EXPECT_EQ(offered, "values.txt"); // the name last saved to
    EXPECT_EQ(ReadBytes(shorts), std::string("\x01\x00\xFE\xFF\x2C\x01", 6));

    InstallValues({});
    {
        DialogDriver driver({ChooseFile("Open", text, &offered), ChooseType(IDC_TYPE_TEXT)});
        Command(IDM_PLOT_DATA_FILE);
        EXPECT_TRUE(driver.Finished()) << driver.Report();
    }
    EXPECT_EQ(offered, ""); // not the name of the other command
    EXPECT_EQ(Values(), (std::vector<double>{1.5, -2, 300}));
    EXPECT_TRUE(IsShown(statisticsBar()));
    SendMessageA(window, WM_TIMER, kNoticeTimer, 0); // the read's notice goes
    EXPECT_EQ(StatusText(0), "Data Points:3");
    EXPECT_EQ(GetFocus(), line);
    {
        DialogDriver driver({ChooseFile("Open", shorts, &offered), ChooseType(IDC_TYPE_SSHORT)});
        Command(IDM_PLOT_DATA_FILE);
        EXPECT_TRUE(driver.Finished()) << driver.Report();
    }
    EXPECT_EQ(offered, "values.txt"); // the name last plotted
    EXPECT_EQ(Values(), (std::vector<double>{1, -2, 300}));
}

TEST_F(CommandsTest, TheLineIsTheColumnEquationOfAPlottedFile) {
    const std::string path = WriteFile("columns.txt", "1 2\r\n3 4\r\n");
    SetLine("a*10+b");
    DialogDriver driver({ChooseFile("Open", path), {"File Type", [](HWND dialog) {
                                                        SendDlgItemMessageA(
                                                            dialog, IDC_COLUMN_EQUATION,
                                                            BM_SETCHECK, BST_CHECKED, 0);
                                                        ClickButton(dialog, IDOK);
                                                    }}});
    Command(IDM_PLOT_DATA_FILE);
    EXPECT_TRUE(driver.Finished()) << driver.Report();
    EXPECT_EQ(Values(), (std::vector<double>{12, 34}));
    EXPECT_EQ(LineText(), "a*10+b");
}

TEST_F(CommandsTest, CancellingAnyStepChangesNothing) {
    InstallValues({4, 5});
    const std::string path = WriteFile("one.txt", "9\r\n");
    const std::string target = File("never.txt");
    const std::vector<std::vector<DialogStep>> roads = {
        {CancelDialog("Open")},
        {ChooseFile("Open", path), CancelDialog("File Type")},
    };
    for (const auto& road : roads) {
        DialogDriver driver(road);
        Command(IDM_PLOT_DATA_FILE);
        EXPECT_TRUE(driver.Finished()) << driver.Report();
        EXPECT_EQ(Values(), (std::vector<double>{4, 5}));
    }
    for (const auto& road : std::vector<std::vector<DialogStep>>{
             {CancelDialog("Save")}, {ChooseFile("Save", target), CancelDialog("File Type")}}) {
        DialogDriver driver(road);
        Command(IDM_SAVE_DATA_FILE);
        EXPECT_TRUE(driver.Finished()) << driver.Report();
        EXPECT_EQ(GetFileAttributesA(target.c_str()), INVALID_FILE_ATTRIBUTES);
    }
    {
        DialogDriver driver({CancelDialog("Save")});
        Command(IDM_SAVE_GRAPH_BITMAP);
        EXPECT_TRUE(driver.Finished()) << driver.Report();
    }
    EXPECT_EQ(Values(), (std::vector<double>{4, 5}));
}

TEST_F(CommandsTest, SaveGraphAsBitmap) {
    // With no data the command does nothing: no dialog opens.
    {
        DialogDriver driver({CancelDialog("Save")});
        Command(IDM_SAVE_GRAPH_BITMAP);
        EXPECT_FALSE(driver.Finished());
    }
    SetClientSize(300, 200);
    InstallValues({1, 3, 2});
    // The file type box lists BMP, PNG and all files; Down keys pick one. A
    // name without an extension gets the chosen type's; a typed .bmp or .png
    // decides the format whatever type is chosen, and the chosen type decides
    // it for any other name.
    const struct {
        int downKeys;
        const char* typed;
        const char* written;
        const char* signature;
    } saves[] = {
        {0, "graph", "graph.bmp", "BM"},
        {1, "graph", "graph.png", "\x89PNG\r\n\x1A\n"},
        {0, "chart.png", "chart.png", "\x89PNG\r\n\x1A\n"},
        {1, "plain.bmp", "plain.bmp", "BM"},
        {2, "any", "any.bmp", "BM"},
        {1, "graph.dat", "graph.dat", "\x89PNG\r\n\x1A\n"},
        {0, "other.dat", "other.dat", "BM"},
    };
    for (const auto& save : saves) {
        const std::string path = File(save.written);
        DialogDriver driver({ChooseFileOfType("Save", save.downKeys, folder + "\\" + save.typed)});
        Command(IDM_SAVE_GRAPH_BITMAP);
        EXPECT_TRUE(driver.Finished()) << driver.Report();
        EXPECT_EQ(std::string(bitmapFileName), path);
        const std::string bytes = ReadBytes(path);
        ASSERT_GT(bytes.size(), 54u) << save.written;
        EXPECT_EQ(bytes.substr(0, std::strlen(save.signature)), save.signature) << save.written;
        EXPECT_EQ(Notice(), std::string("saved the graph to ") + save.written);
    }
}

// The clipboard's data in format, as bytes; empty when it holds none.
std::string ClipboardBytes(UINT format) {
    std::string bytes;
    if (!OpenClipboard(nullptr)) return bytes;
    if (HANDLE data = GetClipboardData(format)) {
        if (const void* p = GlobalLock(data))
            bytes.assign(static_cast<const char*>(p), GlobalSize(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return bytes;
}

// The clipboard's text up to its terminating NUL.
std::string ClipboardText() {
    return ClipboardBytes(CF_TEXT).c_str();
}

void PutClipboardText(const std::string& text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
}

TEST_F(CommandsTest, CopyGraphPutsTheShownGraphAndTheValuesOnTheClipboard) {
    // With no data the command leaves the clipboard alone.
    PutClipboardText("kept");
    Command(IDM_COPY_GRAPH);
    EXPECT_EQ(ClipboardText(), "kept");

    // A graph wider than the window, scrolled: the picture is what the window
    // shows at that position, the text every value.
    graphSettings.lineSpacing = 2;
    SetClientSize(300, 200);
    std::vector<double> values(400);
    for (size_t i = 0; i < values.size(); ++i) values[i] = (i % 7) * 0.5 - 1;
    values[1] = 1234.56789;
    InstallValues(values);
    UpdateGraphScrollRange(window);
    SendMessageA(window, WM_HSCROLL, SB_PAGERIGHT, 0);
    ASSERT_GT(graphScroller.GetPosition().x, 0);
    Command(IDM_COPY_GRAPH);

    const std::string text = ClipboardText();
    EXPECT_EQ(text.substr(0, 34), "-1.000000\r\n1234.567890\r\n0.000000\r\n");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 400);

    const RECT area = Client(graph);
    MemorySurface shown(area.right, area.bottom, kWhite);
    PaintInto(shown);
    const std::string dib = ClipboardBytes(CF_DIB);
    ASSERT_GE(dib.size(), sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER header;
    std::memcpy(&header, dib.data(), sizeof header);
    EXPECT_EQ(header.biSize, sizeof header);
    ASSERT_EQ(header.biWidth, area.right);
    ASSERT_EQ(header.biHeight, area.bottom); // bottom row first
    ASSERT_EQ(header.biBitCount, 24);
    EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
    const size_t rowBytes = (3 * area.right + 3) / 4 * 4;
    ASSERT_GE(dib.size(), sizeof header + rowBytes * area.bottom);
    int differing = 0;
    for (int y = 0; y < area.bottom; ++y)
        for (int x = 0; x < area.right; ++x) {
            const auto* p = reinterpret_cast<const unsigned char*>(
                dib.data() + sizeof header + (area.bottom - 1 - y) * rowBytes + 3 * x);
            differing += RGB(p[2], p[1], p[0]) != shown.At(x, y);
        }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(shown.Count(kGreen), 0);

    // Ctrl+Shift+C on the line copies too.
    PutClipboardText("kept");
    PressShiftedControlKey('C');
    EXPECT_EQ(ClipboardText(), text);
}

// --- Keys in the program's own message loop ---------------------------------

// A key as the keyboard puts it into the queue: WM_KEYDOWN and WM_KEYUP posted
// to the line, with Ctrl and Shift held as the thread's key state says while
// the loop translates them (the character comes from that translation).
void PostKey(HWND line, UINT key, bool control = false, bool shift = false) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = keys[VK_LCONTROL] = control ? 0x80 : 0;
    keys[VK_SHIFT] = keys[VK_LSHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC)) << 16;
    PostMessageA(line, WM_KEYDOWN, key, scan | 1);
    PostMessageA(line, WM_KEYUP, key, scan | 0xC0000001);
}

void ReleaseModifiers() {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = keys[VK_LCONTROL] = keys[VK_SHIFT] = keys[VK_LSHIFT] = 0;
    SetKeyboardState(keys);
}

// The main dialog run as the program runs it (DialogBoxParamA, whose loop
// passes every message through IsDialogMessage), with keys posted to its
// queue: the accelerators, Enter and Escape, the history, undo, and the keys
// that the edit control keeps.
TEST_F(CommandsTest, KeysWorkInTheProgramsOwnDialogLoop) {
    DestroyWindow(window); // the test's modeless window is not needed
    window = nullptr;
    InstallValues({1, 2, 3});
    std::strcpy(plotFileName, "in.txt");
    std::strcpy(saveFileName, "out.txt");
    std::strcpy(bitmapFileName, "graph.bmp");
    PutClipboardText("kept");
    std::vector<std::string> seen; // what each step found, for one comparison at the end
    HWND main = nullptr;
    const auto state = [&](const char* what) {
        seen.push_back(std::string(what) + ": " + LineText() + " | " + Title() + " | " +
                       std::to_string(Selection().first) + "," +
                       std::to_string(Selection().second));
    };
    // A step on the main dialog: look at what the keys before did, then post
    // the next keys.
    const auto onMain = [&](const char* what, std::function<void()> keys) {
        return DialogStep{"TamsoloCalc",
                          [&, what, keys](HWND dialog) {
                              ReleaseModifiers();
                              if (dialog != main)
                                  seen.push_back(std::string(what) + ": other dialog");
                              state(what);
                              keys();
                          },
                          50};
    };
    const auto offered = [&](const char* title) {
        return DialogStep{title, [&, title](HWND dialog) {
                              ReleaseModifiers();
                              seen.push_back(std::string(title) + " offers " +
                                             ItemText(dialog, kFileNameBox));
                              PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                          }};
    };
    const auto typed = [&](const char* text) {
        for (const char* c = text; *c; ++c) PostMessageA(line, WM_CHAR, *c, 1);
    };
    DialogDriver driver({
        {"TamsoloCalc",
         [&](HWND dialog) {
             main = window = dialog;
             line = GetDlgItem(dialog, IDC_CALC_LINE);
             typed("255");
             PostKey(line, '6', true);
         }},
        onMain("Ctrl+6", [&] { PostKey(line, '2', true); }),
        onMain("Ctrl+2", [&] { PostKey(line, '8', true); }),
        onMain("Ctrl+8", [&] { PostKey(line, '0', true); }),
        onMain("Ctrl+0", [&] { PostKey(line, 'O', true); }),
        offered("Open"),
        onMain("after Open", [&] { PostKey(line, 'S', true); }),
        offered("Save"),
        onMain("after Save", [&] { PostKey(line, 'B', true); }),
        offered("Save"),
        onMain("after Save Graph", [&] { PostKey(line, 'G', true); }),
        {"Graph Configuration",
         [&](HWND dialog) {
             ReleaseModifiers();
             seen.push_back("Graph Configuration");
             PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
         }},
        onMain("after Graph Configuration", [&] { PostKey(line, VK_F1); }),
        {"TamsoloCalc",
         [&](HWND dialog) {
             seen.push_back(dialog == main ? "no About box" : "About box");
             PostMessageA(dialog, WM_CLOSE, 0, 0);
         }},
        onMain("after About",
               [&] {
                   SetWindowTextA(line, "12345"); // with nothing to undo
                   SendMessageA(line, EM_SETSEL, 0, -1);
                   PostKey(line, 'C', true, true); // the graph, not the selected text
               }),
        onMain("Ctrl+Shift+C",
               [&] {
                   seen.push_back(ClipboardText() == "1.000000\r\n2.000000\r\n3.000000\r\n"
                                      ? "values copied"
                                      : "nothing copied");
                   PostKey(line, VK_HOME);
               }),
        onMain("Home", [&] { PostKey(line, VK_END); }),
        onMain("End", [&] { PostKey(line, 'A', true); }),
        onMain("Ctrl+A", [&] { PostKey(line, 'C', true); }),
        onMain("Ctrl+C",
               [&] {
                   PostKey(line, VK_HOME);
                   PostKey(line, 'V', true);
               }),
        onMain("Home, Ctrl+V", [&] { PostKey(line, 'Z', true); }),
        onMain("Ctrl+Z",
               [&] {
                   PostKey(line, 'A', true);
                   PostKey(line, 'X', true);
               }),
        onMain("Ctrl+A, Ctrl+X",
               [&] {
                   typed("1+2");
                   PostKey(line, VK_RETURN);
               }),
        onMain("1+2 Enter", [&] { PostKey(line, 'Z', true); }),
        onMain("Ctrl+Z", [&] { PostKey(line, 'Z', true); }),
        onMain("Ctrl+Z again", [&] { PostKey(line, VK_ESCAPE); }),
        onMain("Escape", [&] { PostKey(line, VK_UP); }),
        onMain("Up", [&] { PostKey(line, VK_DOWN); }),
        onMain("Down", [&] { PostMessageA(main, WM_CLOSE, 0, 0); }),
    });
    const INT_PTR ended = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN),
                                          nullptr, MainWindowProc, reinterpret_cast<LPARAM>(""));
    ReleaseModifiers();
    window = nullptr;
    EXPECT_EQ(ended, 0);
    EXPECT_TRUE(driver.Finished()) << driver.Report();
    const std::vector<std::string> expected = {
        "Ctrl+6: FF | TamsoloCalc [HEX] | 2,2",
        "Ctrl+2: 1111 1111 | TamsoloCalc [BINARY] | 9,9",
        "Ctrl+8: 377 | TamsoloCalc [OCTAL] | 3,3",
        "Ctrl+0: 255 | TamsoloCalc | 3,3",
        "Open offers in.txt",
        "after Open: 255 | TamsoloCalc | 3,3",
        "Save offers out.txt",
        "after Save: 255 | TamsoloCalc | 3,3",
        "Save offers graph.bmp",
        "after Save Graph: 255 | TamsoloCalc | 3,3",
        "Graph Configuration",
        "after Graph Configuration: 255 | TamsoloCalc | 3,3",
        "About box",
        "after About: 255 | TamsoloCalc | 3,3",
        "Ctrl+Shift+C: 12345 | TamsoloCalc | 0,5",
        "values copied",
        "Home: 12345 | TamsoloCalc | 0,0",
        "End: 12345 | TamsoloCalc | 5,5",
        "Ctrl+A: 12345 | TamsoloCalc | 0,5",
        "Ctrl+C: 12345 | TamsoloCalc | 0,5",
        "Home, Ctrl+V: 1234512345 | TamsoloCalc | 5,5",
        "Ctrl+Z: 12345 | TamsoloCalc | 0,0",
        "Ctrl+A, Ctrl+X:  | TamsoloCalc | 0,0",
        "1+2 Enter: 3 | TamsoloCalc | 1,1",
        "Ctrl+Z: 1+2 | TamsoloCalc | 0,3",
        "Ctrl+Z again: 3 | TamsoloCalc | 0,1",
        "Escape:  | TamsoloCalc | 0,0",
        "Up: 1+2 | TamsoloCalc | 3,3",
        "Down:  | TamsoloCalc | 0,0",
    };
    EXPECT_EQ(seen, expected);
}

// A drop of files as the shell hands it over: a DROPFILES block with the
// names, each NUL-terminated, and an empty name at the end.
HDROP MakeDrop(const std::vector<std::string>& names) {
    std::string list;
    for (const std::string& name : names) list += name + '\0';
    list += '\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size());
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), list.size());
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

TEST_F(CommandsTest, OnlyTheFirstDroppedFileIsPlotted) {
    const std::string first = WriteFile("first.txt", "1\r\n2\r\n3\r\n");
    const std::string second = WriteFile("second.txt", "9\r\n");
    DialogDriver driver({ChooseType(IDC_TYPE_TEXT)});
    SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({first, second})), 0);
    EXPECT_TRUE(driver.Finished()) << driver.Report();
    EXPECT_EQ(Values(), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(GetFocus(), line);
}

bool NoMemory(size_t) {
    return false;
}

TEST_F(CommandsTest, EveryFileReadSaysHowItWent) {
    // A sparse file of bytes, one more than a data set may hold.
    const std::string huge = WriteSparseFile("huge.bin", (1LL << 28) + 1);
    ASSERT_FALSE(huge.empty());
    const struct {
        std::string path;
        int type;
        const char* notice;
        bool noMemory = false; // no storage can be had for the values
    } reads[] = {
        {WriteFile("sine.txt", "1\r\n2\r\n3\r\n"), IDC_TYPE_TEXT, "3 values read from sine.txt"},
        {WriteFile("one.txt", "7"), IDC_TYPE_TEXT, "1 value read from one.txt"},
        {WriteFile("empty.txt", ""), IDC_TYPE_TEXT, "empty.txt is empty"},
        {WriteFile("words.txt", "no numbers here\r\n"), IDC_TYPE_TEXT, "no number in words.txt"},
        {folder + "\\missing.txt", IDC_TYPE_TEXT, "cannot open missing.txt"},
        {huge, IDC_TYPE_UBYTE, "huge.bin is too large for the data set"},
        {WriteFile("big.txt", "1 2 3"), IDC_TYPE_TEXT, "not enough memory to read big.txt", true},
    };
    for (const auto& r : reads) {
        DialogDriver driver({ChooseType(r.type)});
        const AllocationGate previous = SetAllocationGate(r.noMemory ? NoMemory : nullptr);
        SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({r.path})), 0);
        SetAllocationGate(previous);
        EXPECT_TRUE(driver.Finished()) << driver.Report();
        EXPECT_EQ(Notice(), r.notice);
    }
    // Cancelling the File Type dialog tells nothing.
    SendMessageA(window, WM_TIMER, kNoticeTimer, 0);
    DialogDriver driver({CancelDialog("File Type")});
    PlotNamedDataFile(window, reads[0].path.c_str());
    EXPECT_TRUE(driver.Finished()) << driver.Report();
    EXPECT_EQ(Notice(), "");
}

TEST_F(CommandsTest, TheStatisticsOfAFileShowAgainWhenItsNoticeGoes) {
    const std::string path = WriteFile("sine.txt", "1\r\n2\r\n6\r\n");
    DialogDriver driver({ChooseType(IDC_TYPE_TEXT)});
    SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({path})), 0);
    EXPECT_TRUE(driver.Finished()) << driver.Report();
    EXPECT_EQ(Notice(), "3 values read from sine.txt");
    SendMessageA(window, WM_TIMER, kNoticeTimer, 0);
    EXPECT_EQ(Notice(), "");
    EXPECT_TRUE(IsShown(statisticsBar()));
    const char* const shown[] = {"Data Points:3", "Min Value:1", "Max Value:6", "Avg Value:3"};
    for (int part = 0; part < 4; ++part) EXPECT_EQ(StatusText(part), shown[part]) << part;
}

// The overwrite prompt of a save dialog whose file exists: answered Yes.
DialogStep ConfirmOverwrite() {
    return {"", [](HWND box) {
                EXPECT_NE(GetDlgItem(box, IDYES), nullptr); // a question, not another dialog
                PostMessageA(box, WM_COMMAND, IDYES, 0);
            }};
}

TEST_F(CommandsTest, EverySaveSaysHowItWent) {
    SetClientSize(300, 200); // the graph area needs a height for the export
    InstallValues({1, 2, 3});
    const std::string out = File("out.txt");
    {
        DialogDriver driver({ChooseFile("Save", out), ChooseType(IDC_TYPE_TEXT)});
        Command(IDM_SAVE_DATA_FILE);
        EXPECT_TRUE(driver.Finished()) << driver.Report();
        EXPECT_EQ(Notice(), "saved 3 values to out.txt");
    }
    {
        const std::string bmp = File("graph.bmp");
        DialogDriver driver({ChooseFile("Save", bmp)});
        Command(IDM_SAVE_GRAPH_BITMAP);
        EXPECT_TRUE(driver.Finished()) << driver.Report();
        EXPECT_EQ(Notice(), "saved the graph to graph.bmp");
    }
}

// A save that fails, through the file dialogs and the overwrite prompt as
// the user meets them, says so, and an old file stays exactly as it was.
TEST_F(CommandsTest, AFailedSaveSaysSoAndKeepsTheOldFile) {
    SetClientSize(300, 200);
    InstallValues({1, 2, 3});
    const struct {
        int command;
        const char* name;
        bool exists;
        bool readOnly;        // the old file may not be written
        FileRequest failKind; // otherwise this request fails (a full disk)
        const char* notice;
    } saves[] = {
        {IDM_SAVE_DATA_FILE, "locked.txt", true, true, FileRequest::kRead,
         "could not save locked.txt; the old file is kept"},
        {IDM_SAVE_DATA_FILE, "full.txt", true, false, FileRequest::kFlush,
         "could not save full.txt; the old file is kept"},
        {IDM_SAVE_DATA_FILE, "new.txt", false, false, FileRequest::kWrite,
         "could not save new.txt"},
        {IDM_SAVE_GRAPH_BITMAP, "locked.bmp", true, true, FileRequest::kRead,
         "could not save the graph to locked.bmp; the old file is kept"},
        {IDM_SAVE_GRAPH_BITMAP, "full.bmp", true, false, FileRequest::kWrite,
         "could not save the graph to full.bmp; the old file is kept"},
        {IDM_SAVE_GRAPH_BITMAP, "new.bmp", false, false, FileRequest::kCreate,
         "could not save the graph to new.bmp"},
    };
    const std::string old = "the old file\r\n";
    for (const auto& s : saves) {
        const std::string path = s.exists ? WriteFile(s.name, old) : File(s.name);
        if (s.readOnly) SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
        std::vector<DialogStep> steps = {ChooseFile("Save", path)};
        if (s.exists) steps.push_back(ConfirmOverwrite());
        if (s.command == IDM_SAVE_DATA_FILE) steps.push_back(ChooseType(IDC_TYPE_TEXT));
        DialogDriver driver(steps);
        {
            RequestGate gate(s.failKind, s.readOnly ? 0 : 1);
            Command(s.command);
        }
        EXPECT_TRUE(driver.Finished()) << s.name << " " << driver.Report();
        EXPECT_EQ(Notice(), s.notice);
        if (s.exists)
            EXPECT_EQ(ReadBytes(path), old) << s.name;
        else
            EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << s.name;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST_F(CommandsTest, AFileOfTwoGibibytesOrMoreIsStillRead) {
    // A sparse file of 2^31 + 2 bytes: shorts divide its size, longs do not.
    const std::string path = WriteSparseFile("huge.bin", (1LL << 31) + 2);
    ASSERT_FALSE(path.empty());
    bool shorts = false, longs = true, text = false;
    DialogDriver driver({{"File Type", [&](HWND dialog) {
                              text = IsWindowEnabled(GetDlgItem(dialog, IDC_MULTIPLIERS));
                              shorts = IsWindowEnabled(GetDlgItem(dialog, IDC_TYPE_USHORT));
                              longs = IsWindowEnabled(GetDlgItem(dialog, IDC_TYPE_ULONG));
                              PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                          }}});
    PlotNamedDataFile(window, path.c_str());
    EXPECT_TRUE(driver.Finished()) << driver.Report();
    EXPECT_TRUE(text); // reading: the text options are offered
    EXPECT_TRUE(shorts);
    EXPECT_FALSE(longs);
}

// --- The command line ----------------------------------------------------------

class CommandLineTest : public CommandsTest {
  protected:
    void TearDown() override {
        SetCommandLineSource(previous);
        CommandsTest::TearDown();
    }
    // Creates the main window again with this command line and parameter.
    void Start(const std::string& commandLine, const char* parameter) {
        DestroyWindow(window);
        current = commandLine;
        previous = SetCommandLineSource([] { return current.c_str(); });
        window = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN), nullptr,
                                    MainWindowProc, reinterpret_cast<LPARAM>(parameter));
        line = GetDlgItem(window, IDC_CALC_LINE);
        graph = GetDlgItem(window, IDC_GRAPH_AREA);
    }
    static std::string current;
    CommandLineSource previous = nullptr;
};
std::string CommandLineTest::current;

TEST_F(CommandLineTest, AFileArgumentIsPlottedAtCreation) {
    const std::string path = WriteFile("with blank.txt", "4\r\n5\r\n6\r\n");
    Start("\"C:\\TamsoloCalc\\tamsolocalc.exe\" \"" + path + "\"", "");
    EXPECT_EQ(Values(), (std::vector<double>{4, 5, 6}));
    EXPECT_GE(Client(graph).bottom, 20);
    Pump();
    EXPECT_EQ(LineText(), "");
}

TEST_F(CommandLineTest, ARelativeFileArgumentIsFoundInTheFolderTheProgramStartedIn) {
    WriteFile("relative.txt", "7\r\n8\r\n");
    char previous[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
    // The window enters its settings folder (here the test program's own)
    // before the argument is read; the name is still the user's, relative to
    // where the program was started.
    Start("\"C:\\TamsoloCalc\\tamsolocalc.exe\" relative.txt", "relative.txt");
    char after[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, after);
    SetCurrentDirectoryA(previous);
    EXPECT_EQ(Values(), (std::vector<double>{7, 8}));
    EXPECT_STRCASENE(after, folder.c_str()); // the settings folder stays current
}

TEST_F(CommandLineTest, AnExpressionArgumentIsEvaluatedOnceTheWindowRuns) {
    Start("\"C:\\TamsoloCalc\\tamsolocalc.exe\" 2+3", "2+3");
    EXPECT_EQ(LineText(), "2+3");
    Pump();
    EXPECT_EQ(LineText(), "5");
    // Without a quoted program path there is no argument.
    Start("C:\\TamsoloCalc\\tamsolocalc.exe 2+3", "2+3");
    Pump();
    EXPECT_EQ(LineText(), "");
}

TEST_F(CommandLineTest, ACommandArgumentRunsThatCommandAfterTheLine) {
    InstallValues({1, 2, 3});
    PutClipboardText("kept");
    Start("\"C:\\TamsoloCalc\\tamsolocalc.exe\" /cmd=40011", "/cmd=40011");
    EXPECT_EQ(Values(), (std::vector<double>{1, 2, 3}));
    Pump();
    EXPECT_EQ(Values(), (std::vector<double>{3, 2, 1}));
    EXPECT_EQ(LineText(), "INVALID");
    Start("\"C:\\TamsoloCalc\\tamsolocalc.exe\" /cmd=40013", "/cmd=40013");
    EXPECT_EQ(ClipboardText(), "kept");
    Pump();
    EXPECT_EQ(ClipboardText(), "3.000000\r\n2.000000\r\n1.000000\r\n");

    std::string behind;
    DialogDriver driver({{"Graph Configuration", [&](HWND dialog) {
                              behind = LineText();
                              PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                          }}});
    Start("\"C:\\TamsoloCalc\\tamsolocalc.exe\" /cmd=40002", "/cmd=40002");
    Pump();
    EXPECT_TRUE(driver.Finished()) << driver.Report();
    EXPECT_EQ(behind, "INVALID");
}

} // namespace
