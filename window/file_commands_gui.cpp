#include "window/file_commands_gui.h"

#include "bitmap/export_gui.h"
#include "datafiles/data_file.h"
#include "datafiles/file_type_choice.h"
#include "datafiles/file_type_dialog_gui.h"
#include "graph/dataset.h"
#include "resources/resource_ids.h"
#include "window/calc_line.h"
#include "window/calc_line_gui.h"

#include <cstdint>

char plotFileName[kFileNameSize] = "";
char saveFileName[kFileNameSize] = "";
char bitmapFileName[kFileNameSize] = "";

namespace {

// Filters: pairs of texts, ended by an empty text (the literal's own NUL).
constexpr char kAllFilesFilter[] = "All Files (*.*)\0*.*\0";
constexpr char kBitmapFilter[] = "Bitmap Files (*.bmp)\0*.bmp\0All Files (*.*)\0*.*\0";
constexpr char kBitmapExtension[] = "bmp";
constexpr int32_t kSavingParameter = -1;

HWND CalculationLine(HWND mainWindow) {
    return GetDlgItem(mainWindow, IDC_CALC_LINE);
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
    if (ReadDataFile(path, typeCode, equation) >= 0) RefreshAfterNewData(mainWindow, true);
    SetFocus(line);
}

void SaveDataFileCommand(HWND mainWindow) {
    if (!FileNameDialog(saveFileName, "s", nullptr, mainWindow, kAllFilesFilter, nullptr)) return;
    const uint32_t typeCode = RunFileTypeDialog(mainWindow, kSavingParameter);
    SaveDataFile(saveFileName, typeCode); // a cancelled type (0) writes nothing
    SetFocus(CalculationLine(mainWindow));
}

void SaveGraphAsBitmap(HWND mainWindow) {
    if (dataSet.count == 0) return;
    if (!FileNameDialog(bitmapFileName, "s", nullptr, mainWindow, kBitmapFilter, kBitmapExtension))
        return;
    ExportGraphBitmap(bitmapFileName, mainWindow);
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
