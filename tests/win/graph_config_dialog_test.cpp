// The Graph Configuration dialog from its resource, driven while it runs, with
// the system's colour chooser driven through its red, green and blue boxes.
#include "graph/graph_config_gui.h"

#include <gtest/gtest.h>

#include <string>

#include "dialog_driver.h"
#include "graph/graph_settings.h"
#include "graph/render_gui.h"
#include "resources/resource_ids.h"

namespace {

// Colour chooser controls: the red, green and blue boxes and "Add to Custom Colors".
constexpr int kChooserRed = 706, kChooserGreen = 707, kChooserBlue = 708, kChooserAdd = 712;

struct Shown {
    std::string values; // line width, line spacing, bar width, bar spacing
    bool line = false, bar = false;
    std::string enabled; // the four edits in the same order
};

Shown Look(HWND dialog) {
    Shown shown;
    for (int id : {IDC_LINE_WIDTH, IDC_LINE_SPACING, IDC_BAR_WIDTH, IDC_BAR_SPACING}) {
        shown.values += ItemText(dialog, id) + " ";
        shown.enabled += IsWindowEnabled(GetDlgItem(dialog, id)) ? 'x' : '.';
    }
    shown.line = SendDlgItemMessageA(dialog, IDC_LINE_GRAPH, BM_GETCHECK, 0, 0) == BST_CHECKED;
    shown.bar = SendDlgItemMessageA(dialog, IDC_BAR_GRAPH, BM_GETCHECK, 0, 0) == BST_CHECKED;
    return shown;
}

// Opens the chooser with button, where the colour typed in is confirmed
// (add: also stored as a custom colour) or the chooser is cancelled.
std::vector<DialogStep> ChooseColorSteps(int button, COLORREF color, bool confirm,
                                         bool add = false) {
    return {
        {"Graph Configuration", [button](HWND d) { PostMessageA(d, WM_COMMAND, button, 0); }},
        {"Color",
         [color, confirm, add](HWND chooser) {
             SetDlgItemInt(chooser, kChooserRed, GetRValue(color), FALSE);
             SetDlgItemInt(chooser, kChooserGreen, GetGValue(color), FALSE);
             SetDlgItemInt(chooser, kChooserBlue, GetBValue(color), FALSE);
             if (add) SendMessageA(chooser, WM_COMMAND, kChooserAdd, 0);
             PostMessageA(chooser, WM_COMMAND, confirm ? IDOK : IDCANCEL, 0);
         }},
    };
}

COLORREF BrushColor(HBRUSH brush) {
    LOGBRUSH info = {};
    if (GetObjectA(brush, sizeof info, &info) != sizeof info) return 0xFFFFFFFF;
    return info.lbColor;
}

bool SameSettings(const GraphSettings& a, const GraphSettings& b) {
    return a.graphType == b.graphType && a.lineWidth == b.lineWidth &&
           a.lineSpacing == b.lineSpacing && a.barWidth == b.barWidth &&
           a.barSpacing == b.barSpacing && a.graphColor == b.graphColor &&
           a.gridColor == b.gridColor && a.backColor == b.backColor;
}

class GraphConfigDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        saved = graphSettings;
        savedBrush = backBrush;
        graphSettings = GraphSettings{};
        for (COLORREF& c : customColors) c = 0;
    }
    void TearDown() override {
        if (backBrush != savedBrush) DeleteObject(backBrush);
        graphSettings = saved;
        backBrush = savedBrush;
    }
    int Run(std::vector<DialogStep> steps) {
        DialogDriver driver(std::move(steps));
        const int result = RunGraphConfigDialog(owner.window);
        EXPECT_TRUE(driver.Finished()) << driver.Report();
        return result;
    }
    OwnerWindow owner;
    GraphSettings saved;
    HBRUSH savedBrush = nullptr;
};

TEST_F(GraphConfigDialog, OpensWithTheSettingsAndOnlyTheLineEditsEnabled) {
    Shown shown;
    const HBRUSH before = backBrush;
    EXPECT_EQ(Run({{"Graph Configuration",
                    [&](HWND d) {
                        shown = Look(d);
                        ClickButton(d, IDCANCEL);
                    }}}),
              0);
    EXPECT_EQ(shown.values, "1 -1 -1 -1 ");
    EXPECT_TRUE(shown.line);
    EXPECT_FALSE(shown.bar);
    EXPECT_EQ(shown.enabled, "xx..");
    EXPECT_TRUE(SameSettings(graphSettings, GraphSettings{}));
    EXPECT_EQ(backBrush, before);
}

TEST_F(GraphConfigDialog, BarGraphChoiceEnablesTheBarEditsAndOkAppliesEveryField) {
    Shown afterClick, reopened;
    EXPECT_EQ(Run({{"Graph Configuration",
                    [&](HWND d) {
                        SendDlgItemMessageA(d, IDC_BAR_GRAPH, BM_CLICK, 0, 0);
                        afterClick = Look(d);
                        SetDlgItemTextA(d, IDC_LINE_WIDTH, "abc"); // letters read as 0
                        SetDlgItemTextA(d, IDC_LINE_SPACING, "-7");
                        SetDlgItemTextA(d, IDC_BAR_WIDTH, "5");
                        SetDlgItemTextA(d, IDC_BAR_SPACING, "3");
                        ClickButton(d, IDOK);
                    }}}),
              1);
    EXPECT_EQ(afterClick.enabled, "..xx");
    EXPECT_FALSE(afterClick.line);
    EXPECT_TRUE(afterClick.bar);
    EXPECT_EQ(graphSettings.graphType, 'B');
    EXPECT_EQ(graphSettings.lineWidth, 0);
    EXPECT_EQ(graphSettings.lineSpacing, -7);
    EXPECT_EQ(graphSettings.barWidth, 5);
    EXPECT_EQ(graphSettings.barSpacing, 3);
    EXPECT_EQ(graphSettings.PixelsPerPoint(), 8);
    EXPECT_EQ(BrushColor(backBrush), graphSettings.backColor);

    // Opened again, it shows what OK stored, with the bar edits enabled.
    EXPECT_EQ(Run({{"Graph Configuration",
                    [&](HWND d) {
                        reopened = Look(d);
                        ClickButton(d, IDCANCEL);
                    }}}),
              0);
    EXPECT_EQ(reopened.values, "0 -7 5 3 ");
    EXPECT_EQ(reopened.enabled, "..xx");
    EXPECT_TRUE(reopened.bar);
}

TEST_F(GraphConfigDialog, ChosenColoursApplyOnOkWithANewBackBrush) {
    std::vector<DialogStep> steps = ChooseColorSteps(IDC_BACK_COLOR, RGB(12, 34, 56), true, true);
    for (DialogStep& s : ChooseColorSteps(IDC_GRID_COLOR, RGB(200, 0, 7), true)) steps.push_back(s);
    for (DialogStep& s : ChooseColorSteps(IDC_GRAPH_COLOR, RGB(9, 9, 9), false)) steps.push_back(s);
    steps.push_back({"Graph Configuration", [](HWND d) { ClickButton(d, IDOK); }});
    const HBRUSH before = backBrush;
    EXPECT_EQ(Run(steps), 1);
    EXPECT_EQ(graphSettings.backColor, RGB(12, 34, 56));
    EXPECT_EQ(graphSettings.gridColor, RGB(200, 0, 7));
    EXPECT_EQ(graphSettings.graphColor, RGB(0, 255, 0)) << "a cancelled chooser changes nothing";
    EXPECT_NE(backBrush, before);
    EXPECT_EQ(BrushColor(backBrush), RGB(12, 34, 56));
    // The chooser worked on the program's table of custom colours.
    EXPECT_EQ(customColors[0], RGB(12, 34, 56));

    // The next chooser starts from the stored colour and offers the custom one.
    COLORREF offered = 0;
    std::vector<DialogStep> again = {
        {"Graph Configuration", [](HWND d) { PostMessageA(d, WM_COMMAND, IDC_BACK_COLOR, 0); }},
        {"Color",
         [&](HWND chooser) {
             offered = RGB(GetDlgItemInt(chooser, kChooserRed, nullptr, FALSE),
                           GetDlgItemInt(chooser, kChooserGreen, nullptr, FALSE),
                           GetDlgItemInt(chooser, kChooserBlue, nullptr, FALSE));
             PostMessageA(chooser, WM_COMMAND, IDCANCEL, 0);
         }},
        {"Graph Configuration", [](HWND d) { ClickButton(d, IDCANCEL); }},
    };
    EXPECT_EQ(Run(again), 0);
    EXPECT_EQ(offered, RGB(12, 34, 56));
}

TEST_F(GraphConfigDialog, APickOfTheReservedColourDrawsAndNoColourStaysAsItWas) {
    graphSettings.graphColor = NO_COLOR;
    std::vector<DialogStep> steps = ChooseColorSteps(IDC_GRID_COLOR, RGB(1, 0, 0), true);
    for (DialogStep& s : ChooseColorSteps(IDC_BACK_COLOR, RGB(2, 0, 0), true)) steps.push_back(s);
    for (DialogStep& s : ChooseColorSteps(IDC_GRAPH_COLOR, RGB(1, 0, 0), false)) steps.push_back(s);
    steps.push_back({"Graph Configuration", [](HWND d) { ClickButton(d, IDOK); }});
    EXPECT_EQ(Run(steps), 1);
    EXPECT_EQ(graphSettings.gridColor, RGB(2, 0, 0));
    EXPECT_EQ(graphSettings.backColor, RGB(2, 0, 0));
    EXPECT_EQ(graphSettings.graphColor, NO_COLOR);
}

TEST_F(GraphConfigDialog, CancelAfterChangesLeavesEverythingAsItWas) {
    std::vector<DialogStep> steps = ChooseColorSteps(IDC_BACK_COLOR, RGB(1, 2, 3), true);
    steps.push_back({"Graph Configuration", [](HWND d) {
                         SendDlgItemMessageA(d, IDC_BAR_GRAPH, BM_CLICK, 0, 0);
                         SetDlgItemTextA(d, IDC_BAR_WIDTH, "9");
                         ClickButton(d, IDCANCEL);
                     }});
    const HBRUSH before = backBrush;
    EXPECT_EQ(Run(steps), 0);
    EXPECT_TRUE(SameSettings(graphSettings, GraphSettings{}));
    EXPECT_EQ(backBrush, before);
}

} // namespace
