// The Win32 side of the file seam.
#include "datafiles/file_handle.h"

#include <windows.h>

namespace {

HANDLE AsHandle(intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

HANDLE CreateDataFile(const char* path, DWORD access, bool create) {
    return CreateFileA(path, access, 0, nullptr, create ? OPEN_ALWAYS : OPEN_EXISTING,
                       FILE_FLAG_RANDOM_ACCESS, nullptr);
}

// The system refuses write access to a read-only file; asking first keeps that
// true where permissions are not enforced (an administrator's emulated system).
bool IsReadOnlyFile(const char* path) {
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

bool IsFolder(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info;
    return GetFileInformationByHandle(file, &info) &&
           (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

} // namespace

bool FileHandle::Open(const char* path, bool create) {
    Close();
    if (!path) return false;
    bool canWrite = !IsReadOnlyFile(path);
    HANDLE file = canWrite ? CreateDataFile(path, GENERIC_READ | GENERIC_WRITE, create)
                           : INVALID_HANDLE_VALUE;
    if (file == INVALID_HANDLE_VALUE) {
        file = CreateDataFile(path, GENERIC_READ, create);
        canWrite = false;
    }
    if (file == INVALID_HANDLE_VALUE) return false;
    // OPEN_ALWAYS reports an existing file through the last error.
    const bool isNew = create && GetLastError() != ERROR_ALREADY_EXISTS;
    if (IsFolder(file)) {
        CloseHandle(file);
        return false;
    }
    handle = reinterpret_cast<intptr_t>(file);
    writable = canWrite;
    created = isNew;
    return true;
}

bool FileHandle::CreateNew(const char* path) {
    Close();
    if (!path) return false;
    HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    handle = reinterpret_cast<intptr_t>(file);
    writable = true;
    created = true;
    return true;
}

void FileHandle::Close() {
    stopFlag = 1;
    if (!IsOpen()) return;
    CloseHandle(AsHandle(handle));
    handle = kInvalidHandle;
}

bool FileHandle::IsDiskFile() {
    return IsOpen() && GetFileType(AsHandle(handle)) == FILE_TYPE_DISK;
}

uint64_t FileHandle::GetSize() {
    if (!IsOpen()) return kFailure;
    DWORD high = 0;
    SetLastError(NO_ERROR);
    const DWORD low = GetFileSize(AsHandle(handle), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return kFailure;
    return (static_cast<uint64_t>(high) << 32) | low;
}

uint64_t FileHandle::Seek(int64_t offset, int origin) {
    if (!IsOpen()) return kFailure;
    LONG high = static_cast<LONG>(offset >> 32);
    SetLastError(NO_ERROR);
    const DWORD low = SetFilePointer(AsHandle(handle), static_cast<LONG>(offset & 0xFFFFFFFF),
                                     &high, static_cast<DWORD>(origin));
    if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return kFailure;
    return (static_cast<uint64_t>(static_cast<DWORD>(high)) << 32) | low;
}

bool FileHandle::FlushToDisk() {
    return IsOpen() && FlushFileBuffers(AsHandle(handle)) != 0;
}

bool FileHandle::SetLength(uint64_t length) {
    const uint64_t position = Seek(0, kCurrent);
    if (position == kFailure) return false;
    if (Seek(static_cast<int64_t>(length), kBegin) == kFailure) return false;
    const bool cut = SetEndOfFile(AsHandle(handle)) != 0;
    Seek(static_cast<int64_t>(position), kBegin);
    return cut;
}

uint32_t FileHandle::TransferChunk(void* buffer, uint32_t count, bool read) {
    if (!IsOpen()) return 0;
    DWORD moved = 0;
    // Only the byte count matters: end of file and errors both give a short count.
    if (read)
        ReadFile(AsHandle(handle), buffer, count, &moved, nullptr);
    else
        WriteFile(AsHandle(handle), buffer, count, &moved, nullptr);
    return moved;
}

void FileHandle::YieldTimeSlice() {
    Sleep(0);
}

namespace {

// The attributes a replaced file keeps; read-only targets are refused before
// anything is written, and the rest describe the new file itself.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

bool MoveReplacing(const char* replacement, const char* target) {
    return FileRequestPasses(FileRequest::kReplace, target) &&
           MoveFileExA(replacement, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) !=
               0;
}

} // namespace

bool ReplaceFileByRenaming(const char* target, const char* replacement, bool targetExists) {
    if (!targetExists) return MoveReplacing(replacement, target);
    const DWORD attributes = GetFileAttributesA(target);
    bool replaced = FileRequestPasses(FileRequest::kReplace, target) &&
                    ReplaceFileA(target, replacement, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                                 nullptr, nullptr) != 0;
    // The original is already gone and the new file still has its own name:
    // finish the move rather than leave no file at all.
    if (!replaced && GetLastError() == ERROR_UNABLE_TO_MOVE_REPLACEMENT)
        replaced = MoveReplacing(replacement, target);
    if (replaced && attributes != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesA(target, (attributes & kKeptAttributes) ? attributes & kKeptAttributes
                                                                  : FILE_ATTRIBUTE_NORMAL);
    return replaced;
}

bool PathExists(const char* path) {
    return path && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

bool DeleteFileAtPath(const char* path) {
    return DeleteFileA(path) != 0;
}

uint32_t QueryFileSize(const char* path, uint32_t* high) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    uint64_t size = 0;
    if (path && GetFileAttributesExA(path, GetFileExInfoStandard, &data) &&
        !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    if (high) *high = static_cast<uint32_t>(size >> 32);
    return static_cast<uint32_t>(size);
}
