// What the calculation line tells back, driven through key messages to the
// real main dialog: why a line was not read whole.
#include "main_window_fixture.h"

#include "graph/statusbar_gui.h"
#include "window/notice_gui.h"

namespace {

class LineAnswersTest : public MainWindowTest {
  protected:
    // The notice as the user sees it under Wine, whose edit control shows no
    // balloon tips: the statistics bar in its simple mode; empty when none.
    std::string Notice() const {
        HWND bar = statisticsBar();
        if (!SendMessageA(bar, SB_ISSIMPLE, 0, 0) || !IsShown(bar)) return "";
        char text[256] = "";
        SendMessageA(bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text)); // the one simple part
        return text;
    }
    // The notice timer's message, as the system sends it after a few seconds.
    void NoticeTimeIsUp() { SendMessageA(window, WM_TIMER, kNoticeTimer, 0); }
    void TypeLine(const std::string& text) {
        Escape();
        Type(text);
        Enter();
    }
};

TEST_F(LineAnswersTest, AReasonShowsBesideTheResultForAFewSeconds) {
    const struct {
        const char* typed;
        const char* result;
        const char* notice;
    } cases[] = {
        {"((((", "INVALID", "missing closing bracket at the end"},
        {"1+", "INVALID", "missing operand after '+' (column 2)"},
        {"2pi", "2", "2; ignored from column 2: 'pi'"},
        {"foo(3)", "INVALID", "unknown name 'FOO' at column 1"},
        {"2 (3)", "2", "2; ignored from column 3: '(3)'"},
        {"3!", "3", "3; ignored from column 2: '!'"},
        {"1 + $", "INVALID", "unexpected '$' at column 5"},
        {"1e+", "INVALID", "missing operand after '+' (column 3)"},
        // Read whole: nothing shows.
        {"1+2", "3", ""},
        {"(1+2", "3", ""},
        {"0/0", "INVALID", ""},
        {"sqrt 16 + fact 5", "124", ""},
    };
    for (const auto& c : cases) {
        TypeLine(c.typed);
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

} // namespace
