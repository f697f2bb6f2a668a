// The POSIX side of the file seam, with the behaviour of the Win32 side: an
// exclusive lock stands in for opening without sharing, and folders are not
// opened as files.
#include "datafiles/file_handle.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Opens path with flags; -1 on failure. Retries when a signal interrupts.
int OpenDescriptor(const char* path, int flags) {
    int fd;
    do fd = open(path, flags | O_CLOEXEC, 0666);
    while (fd < 0 && errno == EINTR);
    return fd;
}

// A file without any write permission is opened read-only, even for a user
// whom the system would let write it: it is what a read-only file is on the
// Win32 side, for everyone.
bool IsReadOnlyFile(const char* path) {
    struct stat info;
    return stat(path, &info) == 0 && (info.st_mode & 0222) == 0;
}

// A file that another FileHandle holds is refused, as the system refuses a
// file opened without sharing. Locks that the file system does not support
// are not a reason to refuse the file.
bool LockExclusively(int fd) {
    return flock(fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK;
}

} // namespace

bool FileHandle::Open(const char* path, bool create) {
    Close();
    if (!path) return false;
    bool isNew = false;
    bool canWrite = !IsReadOnlyFile(path);
    int fd = -1;
    if (create && canWrite) {
        fd = OpenDescriptor(path, O_RDWR | O_CREAT | O_EXCL);
        isNew = fd >= 0;
    }
    if (fd < 0 && canWrite) fd = OpenDescriptor(path, O_RDWR);
    if (fd < 0) {
        fd = OpenDescriptor(path, O_RDONLY);
        canWrite = false;
    }
    if (fd < 0) return false;
    struct stat info;
    if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode) || !LockExclusively(fd)) {
        close(fd);
        return false;
    }
    handle = fd;
    writable = canWrite;
    created = isNew;
    return true;
}

bool FileHandle::CreateNew(const char* path) {
    Close();
    if (!path) return false;
    const int fd = OpenDescriptor(path, O_RDWR | O_CREAT | O_EXCL);
    if (fd < 0) return false;
    if (!LockExclusively(fd)) {
        close(fd);
        unlink(path);
        return false;
    }
    handle = fd;
    writable = true;
    created = true;
    return true;
}

void FileHandle::Close() {
    stopFlag = 1;
    if (!IsOpen()) return;
    close(static_cast<int>(handle));
    handle = kInvalidHandle;
}

bool FileHandle::IsDiskFile() {
    struct stat info;
    return IsOpen() && fstat(static_cast<int>(handle), &info) == 0 && S_ISREG(info.st_mode);
}

uint64_t FileHandle::GetSize() {
    struct stat info;
    if (!IsOpen() || fstat(static_cast<int>(handle), &info) != 0) return kFailure;
    return static_cast<uint64_t>(info.st_size);
}

uint64_t FileHandle::Seek(int64_t offset, int origin) {
    static const int whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (!IsOpen() || origin < kBegin || origin > kEnd) return kFailure;
    const off_t position = lseek(static_cast<int>(handle), offset, whence[origin]);
    return position < 0 ? kFailure : static_cast<uint64_t>(position);
}

bool FileHandle::FlushToDisk() {
    return IsOpen() && fsync(static_cast<int>(handle)) == 0;
}

bool FileHandle::SetLength(uint64_t length) {
    // ftruncate leaves the file position alone, as the Win32 side restores it.
    if (!IsOpen() || length > static_cast<uint64_t>(INT64_MAX)) return false;
    return ftruncate(static_cast<int>(handle), static_cast<off_t>(length)) == 0;
}

uint32_t FileHandle::TransferChunk(void* buffer, uint32_t count, bool read) {
    if (!IsOpen()) return 0;
    const int fd = static_cast<int>(handle);
    ssize_t moved;
    do {
        moved = read ? ::read(fd, buffer, count) : ::write(fd, buffer, count);
    } while (moved < 0 && errno == EINTR);
    return moved < 0 ? 0 : static_cast<uint32_t>(moved);
}

void FileHandle::YieldTimeSlice() {
    sched_yield();
}

bool ReplaceFileByRenaming(const char* target, const char* replacement, bool targetExists) {
    // The new file keeps the permissions of the one it replaces.
    struct stat info;
    if (targetExists && stat(target, &info) == 0) chmod(replacement, info.st_mode & 07777);
    return FileRequestPasses(FileRequest::kReplace, target) && rename(replacement, target) == 0;
}

bool PathExists(const char* path) {
    struct stat info;
    return path && lstat(path, &info) == 0;
}

bool DeleteFileAtPath(const char* path) {
    return unlink(path) == 0;
}

uint32_t QueryFileSize(const char* path, uint32_t* high) {
    struct stat info;
    uint64_t size = 0;
    if (path && stat(path, &info) == 0 && !S_ISDIR(info.st_mode))
        size = static_cast<uint64_t>(info.st_size);
    if (high) *high = static_cast<uint32_t>(size >> 32);
    return static_cast<uint32_t>(size);
}
