#include "window/settings_path.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ExtractFolderKey, TakesTheTextBetweenTheAngleBrackets) {
    const struct {
        const char* spec;
        bool isKey;
        const char* key;
    } cases[] = {
        {"<TamsoloTools>", true, "TamsoloTools"},
        {"<A>", true, "A"},
        {"<>", true, ""},
        {"<", true, ""},
        {"<NoClose", true, "NoClos"}, // the last character is dropped, whatever it is
        {"C:\\Folder", false, ""},
        {"", false, ""},
    };
    for (const auto& c : cases) {
        char key[kPathBufferSize] = "";
        EXPECT_EQ(ExtractFolderKey(c.spec, key, sizeof key), c.isKey) << c.spec;
        EXPECT_STREQ(key, c.key) << c.spec;
    }
    EXPECT_FALSE(ExtractFolderKey(nullptr, nullptr, 0));
}

TEST(DeriveFolderFromCommandLine, FindsTheFolderOfTheProgram) {
    const struct {
        const char* commandLine;
        const char* folder;
    } cases[] = {
        {"\"C:\\Program Files\\Tamsolo\\tamsolocalc.exe\" data.txt", "C:\\Program Files\\Tamsolo"},
        {"\"C:\\Tools\\calc.exe\"", "C:\\Tools"},
        {"\"C:\\No Close\\calc.exe arg", "C:\\No Close"},
        {"C:\\Tools\\calc.exe /cmd=40012", "C:\\Tools"},
        {"C:\\Tools\\calc.exe", "C:\\Tools"},
        {"C:\\a.exe b\\c.exe d", "C:"}, // cut at the first ".exe " before the last backslash
        {"D:\\Settings\\Missing", "D:\\Settings"},
        {"calc.exe", "calc.exe"},
        {"", ""},
        {"\"\"", ""},
    };
    for (const auto& c : cases) {
        char folder[kPathBufferSize];
        DeriveFolderFromCommandLine(c.commandLine, folder, sizeof folder);
        EXPECT_STREQ(folder, c.folder) << c.commandLine;
    }
}

TEST(DeriveFolderFromCommandLine, StaysInsideTheBuffer) {
    const std::string longLine = "\"" + std::string(400, 'x') + "\\calc.exe\"";
    char folder[16];
    DeriveFolderFromCommandLine(longLine.c_str(), folder, sizeof folder);
    EXPECT_EQ(std::string(folder), std::string(15, 'x'));
    char small[8];
    DeriveFolderFromCommandLine("C:\\abcdefghij\\k.exe", small, sizeof small);
    EXPECT_STREQ(small, "C:");
}

} // namespace
