#include "window/calc_line_gui.h"

#include "expr/evaluate.h"
#include "graph/dataset.h"
#include "graph/graph_scale.h"
#include "graph/statusbar_gui.h"
#include "numtext/display_state.h"
#include "numtext/format_number.h"
#include "resources/resource_ids.h"
#include "text/convert.h"
#include "window/calc_line.h"
#include "window/graph_scroller_gui.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kGraphDivisions = 8;
constexpr int kResultFractionDigits = 12;
constexpr int kMinGraphHeight = 20;
constexpr int kMaxGrownHeight = 512;
constexpr int kGrownHeightExtra = 73;

HWND GraphArea(HWND mainWindow) {
    return GetDlgItem(mainWindow, IDC_GRAPH_AREA);
}

void RepaintGraphArea(HWND mainWindow) {
    InvalidateRect(GraphArea(mainWindow), nullptr, FALSE);
}

void PlotLine(HWND mainWindow, GrowableText& working) {
    EnsureGraphVisible(mainWindow);
    RECT client = {};
    GetClientRect(GraphArea(mainWindow), &client);
    PlotRange range;
    TakePlotRange(working, range, EvaluatePlain, numberBase);
    ApplyDefaultStep(range, client.right - client.left);
    PlotEquation(working.Text(), range.from, range.to, range.step, TruncateToInt32(range.count));
    RefreshAfterNewData(mainWindow, false);
}

void TransformDataSet(HWND mainWindow, const GrowableText& working) {
    TransformDataValues(working, dataSet.values, dataSet.count, EvaluatePlain, numberBase);
    graphScale.SetData(dataSet.values, dataSet.count, kGraphDivisions);
    ShowStatistics();
    // New values can need wider value labels, which narrows the scroll page.
    UpdateGraphScrollRange(mainWindow);
    RepaintGraphArea(mainWindow);
}

// The result the calculator last wrote into the line and the value it was
// made from; forgotten as soon as the line holds any other text.
struct ShownResult {
    GrowableText text;
    double value = 0;
    bool valid = false;
};
ShownResult shownResult;

// Formats value into lineText with the display base and flags of now, and
// remembers it as the shown result; leaves lineText unchanged when the
// display base cannot be formatted.
void WriteResult(double value, GrowableText& lineText) {
    const char* options = MakeResultOptions(digitGrouping, exponentialNotation);
    const int base = pendingDisplayBase != 0 ? pendingDisplayBase : numberBase;
    char result[kFormatBufferSize];
    if (!FormatNumber(value, result, kResultFractionDigits, base, options)) return;
    lineText.Assign(result);
    shownResult.text.Assign(result);
    shownResult.value = value;
    shownResult.valid = true;
}

// Sets the line's text; the caret goes to the end unless the text is to stay
// selected.
void WriteBack(HWND line, const GrowableText& lineText) {
    SetWindowTextA(line, lineText.Text());
    SendMessageA(line, EM_SETSEL, 0, -1);
    if (!KeepsLineSelected(lineText.Text()))
        SendMessageA(line, EM_SETSEL, static_cast<WPARAM>(-1), 0);
}

} // namespace

double EvaluatePlain(const char* text, int base) {
    return EvaluateExpression(text, nullptr, 0, base);
}

void ClearCalculationLine(HWND line) {
    SendMessageA(line, EM_SETSEL, 0, -1);
    SendMessageA(line, WM_CLEAR, 0, 0);
}

void MoveCaretToEnd(HWND line) {
    SendMessageA(line, EM_SETSEL, 0, -1);
    SendMessageA(line, EM_SETSEL, static_cast<WPARAM>(-1), 0);
}

void EvaluateLine(HWND mainWindow) {
    HWND line = GetDlgItem(mainWindow, IDC_CALC_LINE);
    char text[kLineBufferSize] = "";
    GetWindowTextA(line, text, kLineBufferSize);
    if (shownResult.valid && std::strcmp(text, shownResult.text.Text()) != 0)
        shownResult.valid = false;
    if (!EndsWithEquals(text)) return;
    GrowableText lineText(text);
    lineText.TrimEnd("=");
    if (lineText.IsEmpty()) {
        ClearCalculationLine(line);
        return;
    }
    GrowableText working = NormaliseLine(lineText.Text(), numberBase);
    switch (ClassifyLine(working)) {
    case LineKind::Plot: PlotLine(mainWindow, working); break;
    case LineKind::DataTransform: TransformDataSet(mainWindow, working); break;
    case LineKind::Evaluate:
        WriteResult(EvaluateExpression(working.Text(), nullptr, 0, numberBase), lineText);
        break;
    }
    WriteBack(line, lineText);
}

void ForgetShownResult() {
    shownResult.valid = false;
}

bool RewriteShownResult(HWND mainWindow) {
    HWND line = GetDlgItem(mainWindow, IDC_CALC_LINE);
    char text[kLineBufferSize] = "";
    GetWindowTextA(line, text, kLineBufferSize);
    if (!shownResult.valid || std::strcmp(text, shownResult.text.Text()) != 0) return false;
    GrowableText lineText(text);
    WriteResult(shownResult.value, lineText);
    WriteBack(line, lineText);
    return true;
}

void EnsureGraphVisible(HWND mainWindow) {
    RECT client = {};
    GetClientRect(GraphArea(mainWindow), &client);
    if (client.bottom - client.top >= kMinGraphHeight) return;
    RECT outer = {};
    GetWindowRect(mainWindow, &outer);
    const int width = outer.right - outer.left;
    const int height = std::min(width / 2 + kGrownHeightExtra, kMaxGrownHeight);
    MoveWindow(mainWindow, outer.left, outer.top, width, height, TRUE);
}

void RefreshAfterNewData(HWND mainWindow, bool wholeWindow) {
    ShowStatistics();
    UpdateGraphScrollRange(mainWindow);
    EnsureGraphVisible(mainWindow);
    if (wholeWindow)
        RedrawWindow(mainWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    else
        RepaintGraphArea(mainWindow);
}
