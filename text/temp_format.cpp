#include "text/temp_format.h"

#include <cstdarg>
#include <cstdio>

namespace {

constexpr int kTempFormatCount = 4;

char buffers[kTempFormatCount][kTempFormatSize];
int nextBuffer = 0;

} // namespace

const char* TempFormat(const char* format, ...) {
    char* buffer = buffers[nextBuffer];
    nextBuffer = (nextBuffer + 1) % kTempFormatCount;
    buffer[0] = '\0';
    if (!format) return buffer;
    va_list arguments;
    va_start(arguments, format);
    const int written = std::vsnprintf(buffer, kTempFormatSize, format, arguments);
    va_end(arguments);
    // Some C runtimes leave a cut text unterminated or the buffer undefined
    // after an encoding error.
    if (written < 0) buffer[0] = '\0';
    buffer[kTempFormatSize - 1] = '\0';
    return buffer;
}
