#include "datafiles/safe_save.h"

#include "datafiles/file_handle.h"

#include <cstdio>
#include <string>

namespace {

constexpr int kTempNameTries = 100;

// The folder part of path, with its separator ("" for a bare name).
std::string FolderOf(const char* path) {
    size_t end = 0;
    for (size_t i = 0; path[i]; ++i)
        if (path[i] == '/' || path[i] == '\\' || path[i] == ':') end = i + 1;
    return std::string(path, end);
}

// Creates a file of a new name in the folder of path; its name goes to tempPath.
bool CreateTempBeside(const char* path, FileHandle& temp, std::string& tempPath) {
    static unsigned serial = 0;
    const std::string folder = FolderOf(path);
    for (int attempt = 0; attempt < kTempNameTries; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, "~tc%05u.tmp", serial++ % 100000u);
        tempPath = folder + name;
        if (!temp.Open(tempPath.c_str(), true)) return false; // the folder takes no files
        if (temp.WasCreated() && temp.IsWritable()) return true;
        temp.Close(); // someone else's file of that name: leave it alone
    }
    return false;
}

} // namespace

int SaveFileSafely(const char* path, const std::function<bool(FileHandle& file)>& write) {
    if (!path || !*path) return 0;
    bool hadOriginal;
    {
        // The file must be one that may be written: a folder, a locked file or
        // a read-only file is refused before anything is written.
        FileHandle target;
        if (!target.Open(path, true)) return 0;
        if (!target.IsWritable()) return 0;
        hadOriginal = !target.WasCreated();
    }
    if (!hadOriginal) DeleteFileAtPath(path); // made only to test the name

    FileHandle temp;
    std::string tempPath;
    if (!CreateTempBeside(path, temp, tempPath)) return 0;
    const bool written = write(temp);
    temp.Close();
    if (!written || !ReplaceFileByRenaming(path, tempPath.c_str(), hadOriginal)) {
        DeleteFileAtPath(tempPath.c_str());
        return 0;
    }
    return 1;
}
