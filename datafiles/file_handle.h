#pragma once
// A thin owner of an operating-system file handle with whole-buffer reads and
// writes, shared by the data file reader and writer. The handle is held as an
// opaque integer so that this header needs no system header; the Win32 and
// POSIX sides live in file_handle_win32.cpp and file_handle_posix.cpp.
#include <cstdint>

// The system requests that file operations make, as a gate sees them:
// reads and writes of FileHandle, and the creation, flush and replace of the
// safe save (safe_save.h).
enum class FileRequest { kRead, kWrite, kCreate, kFlush, kReplace };
// Asked before each such request, with the path it concerns (null for reads
// and writes); false makes the request fail as the system's own failure would.
// The tests put theirs here to count requests and to make one fail; the
// program leaves it null, which lets every request pass.
using FileRequestGate = bool (*)(FileRequest request, const char* path);
// Installs gate (null for none) and returns the one it replaces.
FileRequestGate SetFileRequestGate(FileRequestGate gate);
// Whether the installed gate lets the request pass.
bool FileRequestPasses(FileRequest request, const char* path);

class FileHandle {
  public:
    // Origins of Seek, numbered as the system's file pointer call takes them.
    enum Origin { kBegin = 0, kCurrent = 1, kEnd = 2 };
    // What GetSize and Seek give on failure.
    static constexpr uint64_t kFailure = ~uint64_t{0};
    // Largest single system request of Transfer.
    static constexpr uint32_t kChunkSize = 131072;

    FileHandle() = default;
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    // Closes first, then opens path for reading and writing without sharing
    // (created when create is true and it does not exist); falls back to
    // read-only access. Folders are not opened.
    bool Open(const char* path, bool create);
    // Closes first, then creates path, which must not exist yet, for reading
    // and writing without sharing. False when it exists or cannot be made.
    bool CreateNew(const char* path);
    // Sets stopFlag and closes the handle when it is open.
    void Close();
    bool IsOpen() const { return handle != kInvalidHandle; }
    // True when the last Open got write access (false after the read-only
    // fallback), and true when it created the file.
    bool IsWritable() const { return IsOpen() && writable; }
    bool WasCreated() const { return IsOpen() && created; }

    // True for a file on a disk, false for a device, a pipe or a closed handle.
    bool IsDiskFile();
    // The file's size, or kFailure.
    uint64_t GetSize();
    // Moves the file position; the new position, or kFailure.
    uint64_t Seek(int64_t offset, int origin);
    // Makes the system write what it holds of the file to the disk, so that a
    // power loss cannot leave it shorter than written; false when it failed.
    bool FlushToDisk();
    // Cuts or extends the file to length, keeping the current position.
    bool SetLength(uint64_t length);
    // Reads (direction 'r') or writes (any other letter) count bytes at the
    // current position in requests of at most kChunkSize bytes. Returns the
    // bytes moved; a short count means end of file, an error, or stopFlag.
    uint32_t Transfer(void* buffer, uint32_t count, char direction);
    // Transfer in the write direction, only when the handle is open, buffer
    // is not null, count is not 0 and abortFlag is clear; otherwise 0.
    uint32_t Write(const void* buffer, uint32_t count);

    // While set, Write and the callers' read loops start no transfer.
    int abortFlag = 0;
    // Set by Close; a Transfer in progress ends after its current chunk.
    int stopFlag = 0;

  private:
    static constexpr intptr_t kInvalidHandle = -1; // all ones, as the system's
    // One system read or write of at most kChunkSize bytes; bytes moved.
    uint32_t TransferChunk(void* buffer, uint32_t count, bool read);
    // Gives up the rest of the time slice between chunks of a long transfer.
    static void YieldTimeSlice();

    intptr_t handle = kInvalidHandle;
    bool writable = false;
    bool created = false;
};

inline uint32_t FileHandle::Write(const void* buffer, uint32_t count) {
    if (!IsOpen() || !buffer || count == 0 || abortFlag) return 0;
    return Transfer(const_cast<void*>(buffer), count, 'w');
}

// Replaces the file at target by the file at replacement (in the same folder),
// in one step, so that target is never seen half-written, keeping the
// target's permissions or attributes (hidden, archive and the like). targetExists says
// whether there is an original to replace. Each system call is a kReplace
// request. False when it failed; the original is then left as it was, unless
// the system had already removed it and the replacement could not be moved
// (Windows only), when the replacement stays under its own name.
bool ReplaceFileByRenaming(const char* target, const char* replacement, bool targetExists);
// Whether anything (a file or a folder) has that name.
bool PathExists(const char* path);
// Deletes a file; false when it could not be deleted.
bool DeleteFileAtPath(const char* path);
// The low 32 bits of the file's size; high (when not null) receives the upper
// 32 bits. A folder, or a path whose attributes cannot be read, gives 0.
uint32_t QueryFileSize(const char* path, uint32_t* high);
