#include "window/file_commands_gui.h"

#include "bitmap/export_gui.h"
#include "bitmap/image_format.h"
#include "datafiles/data_file.h"
#include "datafiles/file_handle.h"
#include "datafiles/file_types.h"
#include "datafiles/file_type_choice.h"
#include "datafiles/file_type_dialog_gui.h"
#include "graph/dataset.h"
#include "resources/resource_ids.h"
#include "window/calc_line.h"
#include "window/calc_line_gui.h"
#include "window/notice_gui.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

char plotFileName[kFileNameSize] = "";
char saveFileName[kFileNameSize] = "";
char bitmapFileName[kFileNameSize] = "";

namespace {

// Filters: pairs of texts, ended by an empty text (the literal's own NUL).
constexpr char kAllFilesFilter[] = "All Files (*.*)\0*.*\0";
constexpr char kBitmapExtension[] = "bmp";
constexpr int32_t kSavingParameter = -1;

HWND CalculationLine(HWND mainWindow) {
    return GetDlgItem(mainWindow, IDC_CALC_LINE);
}

// The name of the file at path, without its folders.
const char* FileNameOf(const char* path) {
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
    return name;
}

// "s" after a count other than 1.
const char* PluralEnding(int count) {
    return count == 1 ? "" : "s";
}

// What a read of path that gave result (and failure, when it gave -1) tells
// the user.
void DescribeRead(const char* path, int result, ReadFailure failure,
                  char (&notice)[kNoticeTextSize]) {
    const char* name = FileNameOf(path);
    if (result > 0) {
        std::snprintf(notice, kNoticeTextSize, "%d value%s read from %s", result,
                      PluralEnding(result), name);
        return;
    }
    if (result == 0) {
        std::snprintf(notice, kNoticeTextSize, "no number in %s", name);
        return;
    }
    switch (failure) {
    case ReadFailure::CannotOpen:
        std::snprintf(notice, kNoticeTextSize, "cannot open %s", name);
        break;
    case ReadFailure::Empty: std::snprintf(notice, kNoticeTextSize, "%s is empty", name); break;
    case ReadFailure::TooLarge:
        std::snprintf(notice, kNoticeTextSize, "%s is too large for the data set", name);
        break;
    case ReadFailure::NoMemory:
        std::snprintf(notice, kNoticeTextSize, "not enough memory to read %s", name);
        break;
    default: std::snprintf(notice, kNoticeTextSize, "could not read %s", name); break;
    }
}

} // namespace

void PlotDataFile(HWND mainWindow) {
    if (!FileNameDialog(plotFileName, "o", nullptr, mainWindow, kAllFilesFilter, nullptr)) return;
    PlotNamedDataFile(mainWindow, plotFileName);
}

void PlotNamedDataFile(HWND mainWindow, const char* path) {
    HWND line = CalculationLine(mainWindow);
    char equation[kLineBufferSize] = "";
    GetWindowTextA(line, equation, kLineBufferSize);
    uint32_t high = 0;
    const uint32_t low = QueryFileSize(path, &high);
    // A size of 2 GiB or more must still open the dialog for reading, never
    // turn into the negative "saving" parameter.
    const int32_t parameter = FileTypeParameterForSize((uint64_t{high} << 32) | low);
    const uint32_t typeCode = RunFileTypeDialog(mainWindow, parameter);
    HideNotice(mainWindow); // the statistics bar shows the new statistics first
    ReadFailure failure = ReadFailure::None;
    const int result = ReadDataFile(path, typeCode, equation, &failure);
    if (result >= 0) RefreshAfterNewData(mainWindow, true);
    SetFocus(line);
    if (typeCode == 0) return; // cancelled: nothing to tell
    char notice[kNoticeTextSize] = "";
    DescribeRead(path, result, failure, notice);
    ShowNotice(mainWindow, notice);
}

void SaveDataFileCommand(HWND mainWindow) {
    if (!FileNameDialog(saveFileName, "s", nullptr, mainWindow, kAllFilesFilter, nullptr)) return;
    const uint32_t typeCode = RunFileTypeDialog(mainWindow, kSavingParameter);
    const bool existed = GetFileAttributesA(saveFileName) != INVALID_FILE_ATTRIBUTES;
    const int saved = SaveDataFile(saveFileName, typeCode); // a cancelled type (0) writes nothing
    SetFocus(CalculationLine(mainWindow));
    if (typeCode == 0) return;
    const char* name = FileNameOf(saveFileName);
    char notice[kNoticeTextSize] = "";
    if (saved)
        std::snprintf(notice, kNoticeTextSize, "saved %d value%s to %s", dataSet.count,
                      PluralEnding(dataSet.count), name);
    else
        std::snprintf(notice, kNoticeTextSize, "could not save %s%s", name,
                      existed ? "; the old file is kept" : "");
    ShowNotice(mainWindow, notice);
}

void SaveGraphAsBitmap(HWND mainWindow) {
    if (dataSet.count == 0) return;
    DWORD filterIndex = 0;
    if (!FileNameDialog(bitmapFileName, "s", nullptr, mainWindow, kImageFileFilter,
                        kBitmapExtension, &filterIndex))
        return;
    const bool existed = GetFileAttributesA(bitmapFileName) != INVALID_FILE_ATTRIBUTES;
    const uint32_t written =
        ExportGraphBitmap(bitmapFileName, mainWindow,
                          ChooseImageFormat(bitmapFileName, static_cast<int>(filterIndex)));
    const char* name = FileNameOf(bitmapFileName);
    char notice[kNoticeTextSize] = "";
    if (written)
        std::snprintf(notice, kNoticeTextSize, "saved the graph to %s", name);
    else
        std::snprintf(notice, kNoticeTextSize, "could not save the graph to %s%s", name,
                      existed ? "; the old file is kept" : "");
    ShowNotice(mainWindow, notice);
}

void OnDropFiles(HWND mainWindow, HDROP drop) {
    char path[kFileNameSize] = "";
    const UINT length = DragQueryFileA(drop, 0, path, kFileNameSize);
    // The name is copied; the drop's memory is not needed during the dialogs.
    DragFinish(drop);
    if (length == 0) return;
    SetForegroundWindow(mainWindow);
    PlotNamedDataFile(mainWindow, path);
}
