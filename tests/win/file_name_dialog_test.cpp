// FileNameDialog against the system's real file dialogs, driven by typing a
// name into the dialog's file name box and pressing its OK button.
#include "datafiles/file_name_dialog_gui.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog_driver.h"

namespace {

constexpr int kFileNameBox = 0x47C; // the file name combo box of the system dialog
const char kAllFiles[] = "All Files (*.*)\0*.*\0";

// A fresh folder with the given empty files; removed again at the end.
class TempFolder {
  public:
    explicit TempFolder(const std::vector<std::string>& files) {
        char base[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, base);
        path = std::string(base) + "fnd" + std::to_string(GetTickCount());
        CreateDirectoryA(path.c_str(), nullptr);
        for (const std::string& file : files) {
            names.push_back(path + "\\" + file);
            HANDLE h = CreateFileA(names.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   0, nullptr);
            CloseHandle(h);
        }
    }
    ~TempFolder() {
        for (const std::string& name : names) DeleteFileA(name.c_str());
        DeleteFileA((path + "\\out.bmp").c_str());
        RemoveDirectoryA(path.c_str());
    }
    std::string path;
    std::vector<std::string> names;
};

DialogStep TypeNameAndConfirm(const std::string& title, const std::string& typed) {
    return {title, [typed](HWND dialog) {
                SetDlgItemTextA(dialog, kFileNameBox, typed.c_str());
                PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            }};
}

std::vector<std::string> SplitNames(const char* buffer) {
    std::vector<std::string> names;
    for (const char* at = buffer; *at; at += names.back().size() + 1) names.push_back(at);
    return names;
}

TEST(FileNameDialog, OpenReturnsTheChosenPath) {
    TempFolder folder({"data.txt"});
    char name[kFileNameSize] = "";
    DialogDriver driver({TypeNameAndConfirm("Open", folder.names[0])});
    EXPECT_NE(FileNameDialog(name, "o", nullptr, nullptr, kAllFiles, nullptr), 0);
    EXPECT_TRUE(driver.Finished()) << driver.Report();
    EXPECT_EQ(std::string(name), folder.names[0]);
}

TEST(FileNameDialog, SaveAddsTheDefaultExtensionAndUsesTheTitle) {
    TempFolder folder({});
    // The filter is chosen with the Down key in the dialog's file type box.
    const struct {
        int downKeys;
        const char* typed;
        const char* chosen;
        DWORD filterIndex;
    } cases[] = {
        {0, "out", "out.bmp", 1},
        {1, "out", "out.png", 2},
        {1, "out.bmp", "out.bmp", 2},
        {2, "out", "out.bmp", 3},
    };
    for (const auto& c : cases) {
        char name[kFileNameSize] = "";
        DWORD filterIndex = 99;
        const std::string typed = folder.path + "\\" + c.typed;
        DialogDriver driver({ChooseFileOfType("Export it", c.downKeys, typed)});
        EXPECT_NE(FileNameDialog(name, "s", "Export it", nullptr,
                                 "Bitmap Files (*.bmp)\0*.bmp\0PNG Image (*.png)\0*.png\0"
                                 "All Files (*.*)\0*.*\0",
                                 "bmp", &filterIndex),
                  0);
        EXPECT_TRUE(driver.Finished()) << driver.Report();
        EXPECT_EQ(std::string(name), folder.path + "\\" + c.chosen) << c.downKeys;
        EXPECT_EQ(filterIndex, c.filterIndex) << c.downKeys;
    }
}

TEST(FileNameDialog, CancelReturnsZeroAndKeepsTheName) {
    char name[kFileNameSize] = "previous.txt";
    DialogDriver driver({{"Save", [](HWND d) { PostMessageA(d, WM_COMMAND, IDCANCEL, 0); }}});
    EXPECT_EQ(FileNameDialog(name, "s", nullptr, nullptr, kAllFiles, nullptr), 0);
    EXPECT_TRUE(driver.Finished()) << driver.Report();
    EXPECT_EQ(std::string(name), "previous.txt");
}

TEST(FileNameDialog, MultiSelectCountsTheFiles) {
    TempFolder folder({"a.txt", "b.txt", "c.txt"});
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    SetCurrentDirectoryA(folder.path.c_str()); // the dialog opens in the current folder
    {
        std::vector<char> buffer(4096, '\0');
        DialogDriver driver({TypeNameAndConfirm("Open", "\"a.txt\" \"b.txt\" \"c.txt\"")});
        EXPECT_EQ(FileNameDialog(buffer.data(), "m4096", nullptr, nullptr, kAllFiles, nullptr), 3);
        EXPECT_TRUE(driver.Finished()) << driver.Report();
        const std::vector<std::string> names = SplitNames(buffer.data());
        ASSERT_EQ(names.size(), 4u);
        EXPECT_EQ(names[1] + names[2] + names[3], "a.txtb.txtc.txt");
    }
    {
        std::vector<char> buffer(4096, '\0');
        DialogDriver driver({TypeNameAndConfirm("Open", "b.txt")});
        EXPECT_EQ(FileNameDialog(buffer.data(), "m4096", nullptr, nullptr, kAllFiles, nullptr), 1);
        EXPECT_TRUE(driver.Finished()) << driver.Report();
        EXPECT_EQ(std::string(buffer.data()), folder.names[1]);
    }
    SetCurrentDirectoryA(current);
}

TEST(FileNameDialog, RequestCarriesModeFlagsAndBufferSize) {
    const DWORD kCommon = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    const struct {
        const char* mode;
        DWORD flags;
        DWORD size;
    } cases[] = {
        {"o", kCommon | OFN_FILEMUSTEXIST, 260},
        {"s", kCommon | OFN_OVERWRITEPROMPT, 260},
        {"m4096", kCommon | OFN_ALLOWMULTISELECT, 4096},
        {"m", kCommon | OFN_ALLOWMULTISELECT, 260},
        {"x", kCommon, 260},
        {"", kCommon, 260},
    };
    char name[kFileNameSize] = "";
    HWND owner = reinterpret_cast<HWND>(0x1234);
    for (const auto& c : cases) {
        OPENFILENAMEA request;
        memset(&request, 0xCC, sizeof request);
        EXPECT_EQ(FillFileNameRequest(request, name, c.mode, "T", owner, kAllFiles, "bmp"), c.size);
        EXPECT_EQ(request.lStructSize, sizeof(OPENFILENAMEA));
        EXPECT_EQ(request.Flags, c.flags) << c.mode;
        EXPECT_EQ(request.nMaxFile, c.size);
        EXPECT_EQ(request.lpstrFile, name);
        EXPECT_EQ(request.hwndOwner, owner);
        EXPECT_EQ(request.lpstrFilter, kAllFiles);
        EXPECT_EQ(request.nFilterIndex, 0u);
        EXPECT_EQ(request.lpstrCustomFilter, nullptr);
        EXPECT_EQ(request.lpstrFileTitle, nullptr);
        EXPECT_EQ(request.lpstrInitialDir, nullptr);
        EXPECT_EQ(request.lpfnHook, nullptr);
        EXPECT_EQ(request.hInstance, nullptr);
        EXPECT_STREQ(request.lpstrTitle, "T");
        EXPECT_STREQ(request.lpstrDefExt, "bmp");
    }
}

TEST(FileNameDialog, CountChosenFilesReadsTheResultLayout) {
    const char several[] = "C:\\d\0a\0bb\0c\0\0xx";
    const char one[] = "C:\\d\\a.txt\0\0";
    const char unterminated[] = {'C', ':', '\0', 'a', '\0', 'b'};
    EXPECT_EQ(CountChosenFiles(several, sizeof several, 5), 3);
    EXPECT_EQ(CountChosenFiles(one, sizeof one, 5), 1);
    EXPECT_EQ(CountChosenFiles("", 10, 0), 0);
    EXPECT_EQ(CountChosenFiles(unterminated, sizeof unterminated, 3), 2); // stays in the buffer
}

} // namespace
