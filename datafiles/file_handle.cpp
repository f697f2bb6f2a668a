// The chunking of FileHandle::Transfer, shared by both sides of the seam; the
// single requests are made by TransferChunk in file_handle_win32.cpp or
// file_handle_posix.cpp.
#include "datafiles/file_handle.h"

namespace {

FileRequestGate requestGate = nullptr;

} // namespace

bool FileRequestPasses(FileRequest request, const char* path) {
    return !requestGate || requestGate(request, path);
}

FileRequestGate SetFileRequestGate(FileRequestGate gate) {
    const FileRequestGate previous = requestGate;
    requestGate = gate;
    return previous;
}

uint32_t FileHandle::Transfer(void* buffer, uint32_t count, char direction) {
    stopFlag = 0;
    if (count == 0) return 0;
    const bool read = direction == 'r';
    unsigned char* bytes = static_cast<unsigned char*>(buffer);
    uint32_t total = 0;
    while (!stopFlag) {
        const uint32_t remaining = count - total;
        const uint32_t chunk = remaining < kChunkSize ? remaining : kChunkSize;
        const bool pass =
            IsOpen() && FileRequestPasses(read ? FileRequest::kRead : FileRequest::kWrite, nullptr);
        const uint32_t moved = pass ? TransferChunk(bytes + total, chunk, read) : 0;
        total += moved;
        // A short chunk is the end of the file or an error; the caller cannot
        // tell them apart and does not need to.
        if (moved < chunk || total >= count || stopFlag) break;
        YieldTimeSlice();
    }
    return total;
}
