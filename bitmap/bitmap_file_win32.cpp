#include "bitmap/bitmap_file.h"

#include <windows.h>

static HANDLE ToHandle(BitmapFileHandle file) {
    return reinterpret_cast<HANDLE>(file);
}

BitmapFileHandle CreateBitmapFile(const char* path) {
    if (!path) return kNoBitmapFile;
    HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    // INVALID_HANDLE_VALUE is all bits set, which is kNoBitmapFile.
    return reinterpret_cast<BitmapFileHandle>(h);
}

uint32_t WriteBitmapFile(BitmapFileHandle file, const void* data, uint32_t bytes) {
    if (file == kNoBitmapFile || !data) return 0;
    const char* p = static_cast<const char*>(data);
    uint32_t written = 0;
    while (written < bytes) {
        DWORD n = 0;
        if (!WriteFile(ToHandle(file), p + written, bytes - written, &n, nullptr) || n == 0) break;
        written += n;
    }
    return written;
}

void CloseBitmapFile(BitmapFileHandle file) {
    if (file != kNoBitmapFile) CloseHandle(ToHandle(file));
}
