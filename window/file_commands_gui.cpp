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

// Why reading path as typeCode gave nothing: the file cannot be opened, is
// empty or holds more values than a data set may; otherwise it could not be
// read (no memory, or a read error).
void DescribeFailedRead(const char* path, uint32_t typeCode, char (&notice)[kNoticeTextSize]) {
    const char* name = FileNameOf(path);
    FileHandle file;
    if (!file.Open(path, false)) {
        std::snprintf(notice, kNoticeTextSize, "cannot open %s", name);
        return;
    }
    const uint64_t size = file.GetSize();
    // A text number takes at least two bytes with its separator.
    const int width = BinaryElementSize(typeCode) ? BinaryElementSize(typeCode) : 2;
    if (size == 0)
        std::snprintf(notice, kNoticeTextSize, "%s is empty", name);
    else if (size != FileHandle::kFailure && size / static_cast<uint64_t>(width) > kMaxDataValues)
        std::snprintf(notice, kNoticeTextSize, "%s is too large for the data set", name);
    else
        std::snprintf(notice, kNoticeTextSize, "could not read %s", name);
}

// What a read of path that gave result tells the user. A read that gave
// values says nothing: the statistics bar, where a notice may have to show,
// has just been filled with them.
void DescribeRead(const char* path, uint32_t typeCode, int result,
                  char (&notice)[kNoticeTextSize]) {
    if (result < 0)
        DescribeFailedRead(path, typeCode, notice);
    else if (result == 0)
        std::snprintf(notice, kNoticeTextSize, "no number in %s", FileNameOf(path));
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
    HideNotice(mainWindow); // an older notice would cover the new statistics
    const int result = ReadDataFile(path, typeCode, equation);
    if (result >= 0) RefreshAfterNewData(mainWindow, true);
    SetFocus(line);
    if (typeCode == 0) return; // cancelled: nothing to tell
    char notice[kNoticeTextSize] = "";
    DescribeRead(path, typeCode, result, notice);
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
                      dataSet.count == 1 ? "" : "s", name);
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
