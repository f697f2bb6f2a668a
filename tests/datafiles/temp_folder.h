#pragma once
// A fresh folder under the system's temporary folder for one test, removed
// with everything in it when the test ends, and small file helpers.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

class TempFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        static unsigned serial = 0;
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        folder = std::filesystem::temp_directory_path() /
                 ("tamsolo_datafiles_" + std::to_string(stamp) + "_" + std::to_string(serial++));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override {
        std::error_code ignored;
        // Read-only files made by a test must become writable to be removed.
        for (const auto& entry : std::filesystem::directory_iterator(folder, ignored))
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(folder, ignored);
    }

    std::string PathOf(const std::string& name) const { return (folder / name).string(); }

    static void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        ASSERT_TRUE(out.good()) << path;
    }
    static void WriteFileText(const std::string& path, const std::string& text) {
        WriteFileBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
    }
    static std::vector<uint8_t> ReadFileBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in),
                                    std::istreambuf_iterator<char>());
    }
    static std::string ReadFileText(const std::string& path) {
        const std::vector<uint8_t> bytes = ReadFileBytes(path);
        return std::string(bytes.begin(), bytes.end());
    }
    // Names of everything in the folder, to see that no temporary file stays.
    std::vector<std::string> FolderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        return names;
    }
    static void MakeReadOnly(const std::string& path) {
        namespace fs = std::filesystem;
        fs::permissions(path,
                        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    }

    std::filesystem::path folder;
};
