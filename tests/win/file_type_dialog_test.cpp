// The File Type dialog from its resource, driven while it runs: which types it
// offers for reading and saving, its column equation label and the codes it
// ends with.
#include "datafiles/file_type_dialog_gui.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "datafiles/file_type_choice.h"
#include "dialog_driver.h"
#include "graph/graph_scale.h"
#include "resources/resource_ids.h"

namespace {

// In the order of the radio buttons: Text, then 1012 to 1019.
constexpr int kTypeIds[] = {IDC_TYPE_TEXT,   IDC_TYPE_UBYTE,  IDC_TYPE_SBYTE,
                            IDC_TYPE_USHORT, IDC_TYPE_SSHORT, IDC_TYPE_ULONG,
                            IDC_TYPE_SLONG,  IDC_TYPE_FLOAT,  IDC_TYPE_DOUBLE};

std::string EnabledTypes(HWND dialog) {
    std::string letters;
    for (int id : kTypeIds) letters += IsWindowEnabled(GetDlgItem(dialog, id)) ? 'x' : '.';
    return letters;
}

bool Checked(HWND dialog, int id) {
    return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetCheck(HWND dialog, int id, bool on) {
    SendDlgItemMessageA(dialog, id, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

// What the dialog showed when it opened.
struct Seen {
    std::string enabled;
    bool textChecked = false;
    bool multipliers = false, columnEquation = false;
    bool multipliersEnabled = false, columnEquationEnabled = false;
    std::string columnLabel;
};

// Runs the dialog, records what it shows, then lets act choose and end it.
uint32_t RunAndSee(HWND owner, int32_t parameter, Seen& seen, std::function<void(HWND)> act) {
    DialogDriver driver({{"File Type", [&](HWND dialog) {
                              seen.enabled = EnabledTypes(dialog);
                              seen.textChecked = Checked(dialog, IDC_TYPE_TEXT);
                              seen.multipliers = Checked(dialog, IDC_MULTIPLIERS);
                              seen.columnEquation = Checked(dialog, IDC_COLUMN_EQUATION);
                              seen.multipliersEnabled =
                                  IsWindowEnabled(GetDlgItem(dialog, IDC_MULTIPLIERS));
                              seen.columnEquationEnabled =
                                  IsWindowEnabled(GetDlgItem(dialog, IDC_COLUMN_EQUATION));
                              seen.columnLabel = ItemText(dialog, IDC_COLUMN_EQUATION);
                              act(dialog);
                          }}});
    const uint32_t code = RunFileTypeDialog(owner, parameter);
    EXPECT_TRUE(driver.Finished()) << driver.Report();
    return code;
}

void PressOk(HWND dialog) {
    ClickButton(dialog, IDOK);
}

class FileTypeDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        multiplierChoice = false;
        columnEquationChoice = false;
    }
    void TearDown() override { graphScale.SetData(nullptr, 0, 8); }
    OwnerWindow owner;
};

TEST_F(FileTypeDialog, ReadingOffersTypesBySizeAndLabelsTheColumnEquation) {
    SetWindowTextA(owner.line, "sqrt(a*a+b*b)");
    const struct {
        int32_t size;
        const char* enabled; // text ub sb us ss ul sl fp df
    } cases[] = {
        {6, "xxxxx...."},
        {7, "xxx......"},
        {0, "xxxxxxxxx"},
        {24, "xxxxxxxxx"},
        {FileTypeParameterForSize(0x80000006ull), "xxxxx...."},
    };
    for (const auto& c : cases) {
        Seen seen;
        EXPECT_EQ(RunAndSee(owner.window, c.size, seen, PressOk), 0x6174u);
        EXPECT_EQ(seen.enabled, c.enabled) << c.size;
        EXPECT_TRUE(seen.textChecked);
        EXPECT_TRUE(seen.multipliersEnabled);
        EXPECT_TRUE(seen.columnEquationEnabled);
        EXPECT_EQ(seen.columnLabel, "Use Column Equation (sqrt(a*a+b*b))");
    }
}

TEST_F(FileTypeDialog, TextCodesCarryTheCheckBoxesWhichAreRemembered) {
    SetWindowTextA(owner.line, "a+b");
    Seen seen;
    EXPECT_EQ(RunAndSee(owner.window, 12, seen,
                        [](HWND dialog) {
                            SetCheck(dialog, IDC_MULTIPLIERS, true);
                            SetCheck(dialog, IDC_COLUMN_EQUATION, true);
                            PressOk(dialog);
                        }),
              0x63616174u);
    EXPECT_FALSE(seen.multipliers);
    EXPECT_TRUE(multiplierChoice);
    EXPECT_TRUE(columnEquationChoice);

    // Opened again, both boxes come pre-set; only the multiplier stays.
    EXPECT_EQ(RunAndSee(owner.window, 12, seen,
                        [](HWND dialog) {
                            SetCheck(dialog, IDC_COLUMN_EQUATION, false);
                            PressOk(dialog);
                        }),
              0x00616174u);
    EXPECT_TRUE(seen.multipliers);
    EXPECT_TRUE(seen.columnEquation);
    EXPECT_FALSE(columnEquationChoice);

    // A binary choice leaves the remembered boxes alone.
    EXPECT_EQ(RunAndSee(owner.window, 12, seen,
                        [](HWND dialog) {
                            SendDlgItemMessageA(dialog, IDC_TYPE_FLOAT, BM_CLICK, 0, 0);
                            PressOk(dialog);
                        }),
              0x6670u);
    EXPECT_TRUE(multiplierChoice);

    EXPECT_EQ(RunAndSee(owner.window, 12, seen,
                        [](HWND dialog) {
                            SetCheck(dialog, IDC_MULTIPLIERS, false);
                            PressOk(dialog);
                        }),
              0x6174u);
    EXPECT_FALSE(multiplierChoice);
}

TEST_F(FileTypeDialog, EmptyLineDisablesTheColumnEquationAndForgetsIt) {
    multiplierChoice = true;
    columnEquationChoice = true;
    SetWindowTextA(owner.line, "");
    Seen seen;
    EXPECT_EQ(RunAndSee(owner.window, 8, seen, PressOk), 0x00616174u);
    EXPECT_FALSE(seen.columnEquationEnabled);
    EXPECT_FALSE(seen.columnEquation);
    EXPECT_TRUE(seen.multipliers);
    EXPECT_EQ(seen.columnLabel, "Use Column Equation");
    EXPECT_FALSE(columnEquationChoice);
}

TEST_F(FileTypeDialog, EachBinaryTypeEndsWithItsCode) {
    const struct {
        int id;
        uint32_t code;
    } cases[] = {{IDC_TYPE_UBYTE, 0x7562},  {IDC_TYPE_SBYTE, 0x7362}, {IDC_TYPE_USHORT, 0x7573},
                 {IDC_TYPE_SSHORT, 0x7373}, {IDC_TYPE_ULONG, 0x756C}, {IDC_TYPE_SLONG, 0x736C},
                 {IDC_TYPE_FLOAT, 0x6670},  {IDC_TYPE_DOUBLE, 0x6466}};
    for (const auto& c : cases) {
        Seen seen;
        const int id = c.id;
        EXPECT_EQ(RunAndSee(owner.window, 16, seen,
                            [id](HWND dialog) {
                                SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0);
                                PressOk(dialog);
                            }),
                  c.code)
            << c.id;
    }
    // No radio button checked at all: 0.
    Seen seen;
    EXPECT_EQ(RunAndSee(owner.window, 16, seen,
                        [](HWND dialog) {
                            SetCheck(dialog, IDC_TYPE_TEXT, false);
                            PressOk(dialog);
                        }),
              0u);
}

TEST_F(FileTypeDialog, CancelEscapeAndCloseEndWithZero) {
    multiplierChoice = true;
    Seen seen;
    EXPECT_EQ(RunAndSee(owner.window, 4, seen, [](HWND d) { ClickButton(d, IDCANCEL); }), 0u);
    EXPECT_EQ(
        RunAndSee(owner.window, 4, seen, [](HWND d) { SendMessageA(d, WM_COMMAND, IDCANCEL, 0); }),
        0u);
    EXPECT_EQ(RunAndSee(owner.window, 4, seen,
                        [](HWND d) {
                            SetCheck(d, IDC_MULTIPLIERS, false);
                            PostMessageA(d, WM_CLOSE, 0, 0);
                        }),
              0u);
    EXPECT_TRUE(multiplierChoice) << "only OK stores the boxes";
}

TEST_F(FileTypeDialog, SavingOffersTheIntegerTypesThatHoldTheData) {
    const double values[] = {5, -3, 200, 2.5};
    graphScale.SetData(values, 4, 8);
    ASSERT_EQ(graphScale.dataMin, -3);
    ASSERT_EQ(graphScale.dataMax, 200);
    multiplierChoice = true;
    columnEquationChoice = true;
    SetWindowTextA(owner.line, "a+b");
    Seen seen;
    EXPECT_EQ(RunAndSee(owner.window, -1, seen, PressOk), 0x6174u);
    EXPECT_EQ(seen.enabled, "x...x.xxx");
    EXPECT_TRUE(seen.textChecked);
    EXPECT_FALSE(seen.multipliersEnabled);
    EXPECT_FALSE(seen.columnEquationEnabled);
    EXPECT_FALSE(seen.multipliers);
    EXPECT_FALSE(seen.columnEquation);
    EXPECT_EQ(seen.columnLabel, "Use Column Equation");
    // Saving as text clears the remembered choices.
    EXPECT_FALSE(multiplierChoice);
    EXPECT_FALSE(columnEquationChoice);

    const double bytes[] = {0, 255};
    graphScale.SetData(bytes, 2, 8);
    EXPECT_EQ(RunAndSee(owner.window, -1, seen,
                        [](HWND d) {
                            SendDlgItemMessageA(d, IDC_TYPE_UBYTE, BM_CLICK, 0, 0);
                            PressOk(d);
                        }),
              0x7562u);
    EXPECT_EQ(seen.enabled, "xx.xxxxxx");
}

} // namespace
