// What the calculation line answers, driven through key messages to the real
// main dialog: why a line was not read whole, the history of evaluated lines
// (Up, Down) and the edit control's undo of a result (Ctrl+Z).
#include "main_window_fixture.h"

#include "graph/statusbar_gui.h"
#include "window/notice_gui.h"

namespace {

bool NoMemory(size_t) {
    return false;
}

class LineAnswersTest : public MainWindowTest {
  protected:
    // The notice timer's message, as the system sends it after a few seconds.
    void NoticeTimeIsUp() { SendMessageA(window, WM_TIMER, kNoticeTimer, 0); }
    void TypeLine(const std::string& text) {
        Escape();
        Type(text);
        Enter();
    }
    void Command(int id) { SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    // Up or Down; the line and where its caret stands afterwards.
    std::string Step(UINT key) {
        PressKey(key);
        const int length = static_cast<int>(LineText().size());
        EXPECT_EQ(Selection(), std::make_pair(length, length)) << LineText();
        return LineText();
    }
};

TEST_F(LineAnswersTest, AReasonShowsBesideTheResultForAFewSeconds) {
    const struct {
        const char* typed;
        const char* result;
        const char* notice;
        bool noMemory = false; // no storage can be had for a plot's points
    } cases[] = {
        {"((((", "INVALID", "missing closing bracket at the end"},
        {"1+", "INVALID", "missing operand after '+' (column 2)"},
        {"2pi", "2", "2; ignored from column 2: 'pi'"},
        {"foo(3)", "INVALID", "unknown name 'FOO' at column 1"},
        {"2 (3)", "2", "2; ignored from column 3: '(3)'"},
        {"3! ", "3", "3; ignored from column 2: '!'"}, // "!=" is an operator
        {"1 + $", "INVALID", "unexpected '$' at column 5"},
        {"1e+", "INVALID", "missing operand after '+' (column 3)"},
        // A plot that makes no points says why; the line keeps the equation.
        {"x^2 {10,0,1}", "x^2 {10,0,1}", "the range gives no points"},
        {"x {0,1,0,2000000000}", "x {0,1,0,2000000000}", "not enough memory for 2000000000 points"},
        {"x {0,1,0,3}", "x {0,1,0,3}", "not enough memory for 3 points", true},
        {"x^2 {0,1,0,3}", "x^2 {0,1,0,3}", ""},
        // Plot and DATA lines tell what was not read of them, never the range.
        {"x^2 pi {0,1}", "x^2 pi {0,1}", "x^2; ignored from column 5: 'pi'"},
        {"x^ {0,1}", "x^ {0,1}", "missing operand after '^' (column 2)"},
        {"data*2 foo", "data*2 foo", "data*2; ignored from column 8: 'foo'"},
        {"data+", "data+", "missing operand after '+' (column 5)"},
        {"data*2", "data*2", ""},
        // Read whole: nothing shows.
        {"1+2", "3", ""},
        {"(1+2", "3", ""},
        {"0/0", "INVALID", ""},
        {"sqrt 16 + fact 5", "124", ""},
    };
    for (const auto& c : cases) {
        const AllocationGate previous = SetAllocationGate(c.noMemory ? NoMemory : nullptr);
        TypeLine(c.typed);
        SetAllocationGate(previous);
        EXPECT_EQ(LineText(), c.result) << c.typed;
        EXPECT_EQ(Notice(), c.notice) << c.typed;
    }
}

TEST_F(LineAnswersTest, TheReasonGoesWhenItsTimeIsUpAndLeavesTheStatistics) {
    InstallValues({1, 2, 3});
    ShowStatistics();
    const bool barShown = IsShown(statisticsBar());
    TypeLine("2pi");
    EXPECT_EQ(Notice(), "2; ignored from column 2: 'pi'");
    EXPECT_TRUE(IsShown(statisticsBar()));
    NoticeTimeIsUp();
    EXPECT_EQ(Notice(), "");
    EXPECT_EQ(IsShown(statisticsBar()), barShown);
    EXPECT_EQ(StatusText(0), "Data Points:3");
    EXPECT_EQ(StatusText(3), "Avg Value:2");
    EXPECT_EQ(LineText(), "2");
    // The next evaluation takes an old reason away at once.
    TypeLine("1+");
    EXPECT_NE(Notice(), "");
    TypeLine("1");
    EXPECT_EQ(Notice(), "");
}

TEST_F(LineAnswersTest, TheBarHiddenBeforeAReasonIsHiddenAgainAfterIt) {
    ::statisticsBar.SetVisible(0);
    TypeLine("1+");
    EXPECT_EQ(Notice(), "missing operand after '+' (column 2)");
    NoticeTimeIsUp();
    EXPECT_FALSE(IsShown(statisticsBar()));
}

TEST_F(LineAnswersTest, UpAndDownBringBackTheLinesAsTyped) {
    for (const char* line : {"1+2", "2pi", "x^2 {0,1}", "1+2"}) TypeLine(line);
    Escape();
    Type("7");
    const struct {
        UINT key;
        const char* line;
    } steps[] = {
        {VK_UP, "1+2"},         {VK_UP, "x^2 {0,1}"}, {VK_UP, "2pi"}, {VK_UP, "2pi"},
        {VK_DOWN, "x^2 {0,1}"}, {VK_DOWN, "1+2"},     {VK_DOWN, "7"}, {VK_DOWN, "7"},
        {VK_UP, "1+2"},         {VK_UP, "x^2 {0,1}"}, {VK_UP, "2pi"},
    };
    for (const auto& s : steps) EXPECT_EQ(Step(s.key), s.line);
    // A recalled line is evaluated again as typed.
    Enter();
    EXPECT_EQ(LineText(), "2");
    EXPECT_EQ(Step(VK_UP), "2pi");
}

TEST_F(LineAnswersTest, SamplesAndConversionsEnterTheHistory) {
    Command(IDM_SAMPLE_FIRST + 5); // "x^2"
    TypeLine("5");
    Command(IDM_CONVERSION_FIRST + 44); // To Inches, From Feet: *[12]
    EXPECT_EQ(LineText(), "5*[12]");
    Enter();
    EXPECT_EQ(LineText(), "60");
    EXPECT_EQ(Step(VK_UP), "5*[12]");
    EXPECT_EQ(Step(VK_UP), "5");
    EXPECT_EQ(Step(VK_UP), "x^2");
}

TEST_F(LineAnswersTest, CtrlZBringsBackTheLineBeforeItsResultAndAgainTheResult) {
    const struct {
        const char* typed;
        const char* result;
    } cases[] = {{"1+2", "3"}, {"1+", "INVALID"}, {"2^10", "1,024"}, {"x^2 {0,1}", "x^2 {0,1}"}};
    for (const auto& c : cases) {
        TypeLine(c.typed);
        EXPECT_EQ(LineText(), c.result);
        PressKey('Z', true, 0x1A);
        EXPECT_EQ(LineText(), c.typed); // not evaluated again: no "=" at its end
        PressKey('Z', true, 0x1A);
        EXPECT_EQ(LineText(), c.result);
    }
}

} // namespace
