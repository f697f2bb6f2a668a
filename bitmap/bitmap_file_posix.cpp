#include "bitmap/bitmap_file.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

BitmapFileHandle CreateBitmapFile(const char* path) {
    if (!path) return kNoBitmapFile;
    int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    return fd < 0 ? kNoBitmapFile : BitmapFileHandle(fd);
}

uint32_t WriteBitmapFile(BitmapFileHandle file, const void* data, uint32_t bytes) {
    if (file < 0 || !data) return 0;
    const char* p = static_cast<const char*>(data);
    uint32_t written = 0;
    // write may stop short of the request; keep going until it fails.
    while (written < bytes) {
        ssize_t n = write(int(file), p + written, bytes - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        written += uint32_t(n);
    }
    return written;
}

void CloseBitmapFile(BitmapFileHandle file) {
    if (file >= 0) close(int(file));
}
