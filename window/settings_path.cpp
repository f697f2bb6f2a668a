#include "window/settings_path.h"

#include "text/convert.h"

#include <cstring>

bool ExtractFolderKey(const char* spec, char* key, size_t keySize) {
    if (!spec || spec[0] != '<') return false;
    CopyBounded(key, keySize, spec + 1);
    const size_t length = std::strlen(key);
    if (length > 0) key[length - 1] = '\0';
    return true;
}

void DeriveFolderFromCommandLine(const char* target, char* folder, size_t folderSize) {
    if (folderSize == 0) return;
    const char* text = target ? target : "";
    if (text[0] == '"') {
        ++text;
        const char* quote = std::strchr(text, '"');
        const size_t length = quote ? static_cast<size_t>(quote - text) : std::strlen(text);
        const size_t kept = length < folderSize - 1 ? length : folderSize - 1;
        std::memcpy(folder, text, kept);
        folder[kept] = '\0';
    } else {
        CopyBounded(folder, folderSize, text);
    }
    if (char* exe = std::strstr(folder, ".exe ")) *exe = '\0';
    if (char* slash = std::strrchr(folder, '\\')) *slash = '\0';
}
