#include "bitmap/image_format.h"

#include <cctype>
#include <cstring>

namespace {

bool EndsWithNoCase(const char* text, const char* end) {
    const size_t length = std::strlen(text), endLength = std::strlen(end);
    if (length < endLength) return false;
    text += length - endLength;
    for (size_t i = 0; i < endLength; ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != end[i]) return false;
    return true;
}

} // namespace

ImageFormat ChooseImageFormat(const char* path, int filterIndex) {
    if (path && EndsWithNoCase(path, ".png")) return ImageFormat::kPng;
    if (path && EndsWithNoCase(path, ".bmp")) return ImageFormat::kBmp;
    return filterIndex == kPngFilterIndex ? ImageFormat::kPng : ImageFormat::kBmp;
}
