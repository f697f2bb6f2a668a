#include "datafiles/safe_save.h"

#include "datafiles/file_handle.h"

#include <cstdio>
#include <string>

namespace {

// Names tried for the temporary file before the save gives up: far more than
// saves that run at once in one folder, or leftovers named like them.
constexpr int kTempNameTries = 1000;

// The folder part of path, with its separator ("" for a bare name).
std::string FolderOf(const char* path) {
    size_t end = 0;
    for (size_t i = 0; path[i]; ++i)
        if (path[i] == '/' || path[i] == '\\' || path[i] == ':') end = i + 1;
    return std::string(path, end);
}

// Creates a file of a new name in the folder of path, exclusively, so that
// no other file is ever written over; its name goes to tempPath. A name that
// is taken (another save running, a leftover file or folder) is passed over.
bool CreateTempBeside(const char* path, FileHandle& temp, std::string& tempPath) {
    static unsigned serial = 0;
    const std::string folder = FolderOf(path);
    for (int attempt = 0; attempt < kTempNameTries; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, "~tc%05u.tmp", serial++ % 100000u);
        tempPath = folder + name;
        if (!FileRequestPasses(FileRequest::kCreate, tempPath.c_str())) return false;
        if (temp.CreateNew(tempPath.c_str())) return true;
        if (!PathExists(tempPath.c_str())) return false; // the folder takes no files
    }
    return false;
}

} // namespace

int SaveFileSafely(const char* path, const std::function<bool(FileHandle& file)>& write) {
    if (!path || !*path) return 0;
    bool hadOriginal;
    {
        // The file must be one that may be written and replaced: a folder, a
        // locked or read-only file, or a device is refused before anything
        // is written.
        FileHandle target;
        if (!target.Open(path, true)) return 0;
        if (!target.IsWritable() || !target.IsDiskFile()) return 0;
        hadOriginal = !target.WasCreated();
    }
    if (!hadOriginal) DeleteFileAtPath(path); // made only to test the name

    FileHandle temp;
    std::string tempPath;
    if (!CreateTempBeside(path, temp, tempPath)) return 0;
    // Flushed before the replace, so that a power loss just after it cannot
    // leave the new name on an empty file.
    const bool written = write(temp) && FileRequestPasses(FileRequest::kFlush, tempPath.c_str()) &&
                         temp.FlushToDisk();
    temp.Close();
    if (written && ReplaceFileByRenaming(path, tempPath.c_str(), hadOriginal)) return 1;
    // Should the system have removed the original and then failed to move the
    // new file, the new file keeps its temporary name: it is all that is left.
    if (!hadOriginal || PathExists(path) || !written) DeleteFileAtPath(tempPath.c_str());
    return 0;
}
