#include "datafiles/file_name_dialog_gui.h"

#include <commdlg.h>

#include <cstdlib>

namespace {

DWORD MultiSelectBufferSize(const char* mode) {
    char* end = nullptr;
    const long size = std::strtol(mode + 1, &end, 10);
    // A missing or unusable size falls back to the usual buffer.
    return end != mode + 1 && size > 0 ? static_cast<DWORD>(size) : kFileNameSize;
}

} // namespace

DWORD FillFileNameRequest(OPENFILENAMEA& request, char* name, const char* mode, const char* title,
                          HWND owner, const char* filter, const char* defaultExtension) {
    request = OPENFILENAMEA{};
    request.lStructSize = sizeof(OPENFILENAMEA);
    request.hwndOwner = owner;
    request.lpstrFilter = filter;
    request.nFilterIndex = 0;
    request.lpstrFile = name;
    request.nMaxFile = kFileNameSize;
    request.lpstrTitle = title;
    request.lpstrDefExt = defaultExtension;
    request.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    switch (mode ? mode[0] : '\0') {
    case 'o': request.Flags |= OFN_FILEMUSTEXIST; break;
    case 's': request.Flags |= OFN_OVERWRITEPROMPT; break;
    case 'm':
        request.Flags |= OFN_ALLOWMULTISELECT;
        request.nMaxFile = MultiSelectBufferSize(mode);
        break;
    default: break;
    }
    return request.nMaxFile;
}

int CountChosenFiles(const char* buffer, DWORD bufferSize, WORD fileOffset) {
    if (bufferSize == 0 || buffer[0] == '\0') return 0;
    // One file: a full path whose name starts after a backslash. Several: the
    // folder, a NUL, then the names, ended by an empty name.
    if (fileOffset == 0 || fileOffset >= bufferSize || buffer[fileOffset - 1] != '\0') return 1;
    int names = 0;
    DWORD at = fileOffset;
    while (at < bufferSize && buffer[at] != '\0') {
        ++names;
        while (at < bufferSize && buffer[at] != '\0') ++at;
        ++at;
    }
    return names;
}

int FileNameDialog(char* name, const char* mode, const char* title, HWND owner, const char* filter,
                   const char* defaultExtension, DWORD* filterIndex) {
    if (!name) return 0;
    OPENFILENAMEA request;
    const DWORD size =
        FillFileNameRequest(request, name, mode, title, owner, filter, defaultExtension);
    const char kind = mode ? mode[0] : '\0';
    const BOOL chosen = kind == 's' ? GetSaveFileNameA(&request) : GetOpenFileNameA(&request);
    if (!chosen) return 0;
    if (filterIndex) *filterIndex = request.nFilterIndex;
    if (kind == 'm') return CountChosenFiles(name, size, request.nFileOffset);
    return chosen;
}
