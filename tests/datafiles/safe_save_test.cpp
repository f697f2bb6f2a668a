#include "bitmap/tbitmap.h"
#include "datafiles/data_file.h"
#include "datafiles/file_handle.h"
#include "datafiles/file_types.h"
#include "datafiles/safe_save.h"

#include "request_gate.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

using Bytes = std::vector<uint8_t>;
using SafeSaveTest = TempFolder;

// The two kinds of file the program writes, each large enough for several
// write requests: a data set of doubles (four 64 KiB buffers) and a graph
// bitmap (header, colour table and three chunks of pixels).
struct Saver {
    const char* name;
    std::function<bool(const std::string& path)> save;
};

std::vector<Saver> Savers() {
    static const std::vector<double> values(30000, 1.5);
    static TBitmap picture(300, 300, 24);
    return {
        {"data",
         [](const std::string& path) {
             return WriteDataValues(path.c_str(), kTypeDoubles, values.data(),
                                    static_cast<int>(values.size())) == 1;
         }},
        {"bitmap", [](const std::string& path) { return picture.SaveToFile(path.c_str()) != 0; }},
    };
}

const FileRequest kFailurePoints[] = {FileRequest::kCreate, FileRequest::kWrite,
                                      FileRequest::kFlush, FileRequest::kReplace};

std::vector<std::string> Sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

// Each request of a save made to fail in turn (the temporary file's creation,
// every write, the flush and the replace): the save reports failure, an
// original file keeps its bytes, and no temporary file is left.
TEST_F(SafeSaveTest, EveryFailurePointKeepsTheOriginalAndLeavesNoTemporaryFile) {
    const Bytes original = {'o', 'l', 'd', '\n'};
    for (const Saver& saver : Savers()) {
        const std::string path = PathOf("target");
        int requests[5] = {};
        {
            const RequestGate counter;
            ASSERT_TRUE(saver.save(path)) << saver.name;
            for (const FileRequest kind : kFailurePoints)
                requests[static_cast<int>(kind)] = counter.Count(kind);
        }
        EXPECT_GE(requests[static_cast<int>(FileRequest::kWrite)], 4) << saver.name;
        EXPECT_EQ(requests[static_cast<int>(FileRequest::kFlush)], 1) << saver.name;
        for (const bool withOriginal : {true, false}) {
            for (const FileRequest kind : kFailurePoints) {
                for (int n = 1; n <= requests[static_cast<int>(kind)]; ++n) {
                    std::filesystem::remove(path);
                    if (withOriginal) WriteFileBytes(path, original);
                    {
                        const RequestGate gate(kind, n);
                        EXPECT_FALSE(saver.save(path)) << saver.name << static_cast<int>(kind) << n;
                    }
                    const std::vector<std::string> left = withOriginal
                                                              ? std::vector<std::string>{"target"}
                                                              : std::vector<std::string>{};
                    EXPECT_EQ(FolderEntries(), left) << saver.name << static_cast<int>(kind) << n;
                    if (withOriginal)
                        EXPECT_EQ(ReadFileBytes(path), original)
                            << saver.name << static_cast<int>(kind) << n;
                }
            }
        }
    }
}

// Names of the temporary file that are taken (a leftover folder, a file
// another program holds open, a leftover file) are passed over, and left alone.
TEST_F(SafeSaveTest, TakenTemporaryNamesArePassedOver) {
    for (const Saver& saver : Savers()) {
        std::vector<std::string> taken;
        FileHandle holder;
        {
            RequestGate gate;
            gate.SetAction([&](FileRequest request, const char* path) {
                if (request != FileRequest::kCreate || taken.size() == 3) return true;
                const std::string name = path;
                if (taken.empty())
                    std::filesystem::create_directory(name);
                else if (taken.size() == 1)
                    EXPECT_TRUE(holder.Open(name.c_str(), true));
                else
                    WriteFileBytes(name, {'x'});
                taken.push_back(std::filesystem::path(name).filename().string());
                return true;
            });
            EXPECT_TRUE(saver.save(PathOf("target"))) << saver.name;
            EXPECT_EQ(gate.Count(FileRequest::kCreate), 4) << saver.name;
        }
        holder.Close();
        taken.push_back("target");
        EXPECT_EQ(Sorted(FolderEntries()), Sorted(taken)) << saver.name;
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
}

#ifdef _WIN32
// When the system's replace removed the original but could not move the new
// file into its place, the save finishes the move itself. Should that move
// fail too, the new file is all that is left and keeps its temporary name.
TEST_F(SafeSaveTest, AReplaceThatLostTheOriginalIsFinishedByAMove) {
    for (const Saver& saver : Savers()) {
        for (const bool moveFails : {false, true}) {
            const std::string path = PathOf("target");
            WriteFileBytes(path, {'o', 'l', 'd'});
            bool result;
            {
                RequestGate gate(FileRequest::kReplace, moveFails ? 2 : 0);
                gate.SetAction([&](FileRequest request, const char*) {
                    if (request != FileRequest::kReplace || gate.Count(request) != 1) return true;
                    DeleteFileA(path.c_str());
                    SetLastError(ERROR_UNABLE_TO_MOVE_REPLACEMENT);
                    return false;
                });
                result = saver.save(path);
            }
            EXPECT_EQ(result, !moveFails) << saver.name;
            const std::vector<std::string> entries = FolderEntries();
            ASSERT_EQ(entries.size(), 1u) << saver.name;
            EXPECT_EQ(entries[0] == "target", !moveFails) << saver.name << " " << entries[0];
            EXPECT_GT(ReadFileBytes(PathOf(entries[0])).size(), 3u) << saver.name;
            std::filesystem::remove(PathOf(entries[0]));
        }
    }
}

// A hidden or system target stays so after the save.
TEST_F(SafeSaveTest, TheTargetKeepsItsAttributes) {
    for (const Saver& saver : Savers()) {
        for (const DWORD kept : {DWORD{FILE_ATTRIBUTE_HIDDEN}, DWORD{FILE_ATTRIBUTE_SYSTEM}}) {
            const std::string path = PathOf("target");
            WriteFileBytes(path, {'o', 'l', 'd'});
            ASSERT_TRUE(SetFileAttributesA(path.c_str(), kept));
            if ((GetFileAttributesA(path.c_str()) & kept) != kept)
                GTEST_SKIP() << "this file system keeps no such attribute";
            EXPECT_TRUE(saver.save(path)) << saver.name;
            EXPECT_EQ(GetFileAttributesA(path.c_str()) & kept, kept) << saver.name;
            EXPECT_GT(ReadFileBytes(path).size(), 3u) << saver.name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        }
    }
}
#else
// The new file has the permissions of the one it replaces.
TEST_F(SafeSaveTest, TheTargetKeepsItsPermissions) {
    namespace fs = std::filesystem;
    for (const Saver& saver : Savers()) {
        const std::string path = PathOf("target");
        WriteFileBytes(path, {'o', 'l', 'd'});
        const fs::perms kept = fs::perms::owner_read | fs::perms::owner_write;
        fs::permissions(path, kept);
        EXPECT_TRUE(saver.save(path)) << saver.name;
        EXPECT_EQ(fs::status(path).permissions(), kept) << saver.name;
    }
}
#endif

} // namespace
