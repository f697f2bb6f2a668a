#include "window/calc_line_gui.h"

#include "expr/evaluate.h"
#include "graph/dataset.h"
#include "graph/graph_scale.h"
#include "graph/statusbar_gui.h"
#include "numtext/format_number.h"
#include "text/convert.h"
#include "window/calc_line.h"
#include "window/graph_scroller_gui.h"
#include "window/resources/resource_ids.h"
#include "window/window_state.h"

#include <algorithm>

namespace {

constexpr int kGraphDivisions = 8;
constexpr int kResultFractionDigits = 12;
constexpr int kMinGraphHeight = 20;
constexpr int kMaxGrownHeight = 512;
constexpr int kGrownHeightExtra = 73;

double EvaluatePlain(const char* text, int base) {
    return EvaluateExpression(text, nullptr, 0, base);
}

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
    TransformDataValuesCompiled(working, dataSet.values, dataSet.count, EvaluatePlain, numberBase);
    graphScale.SetData(dataSet.values, dataSet.count, kGraphDivisions);
    ShowStatistics();
    // New values can need wider value labels, which narrows the scroll page.
    UpdateGraphScrollRange(mainWindow);
    RepaintGraphArea(mainWindow);
}

// The formatted result of the working copy, or the line text unchanged when
// the display base cannot be formatted.
void EvaluateToResult(const GrowableText& working, GrowableText& lineText) {
    const double value = EvaluateExpression(working.Text(), nullptr, 0, numberBase);
    const char* options = MakeResultOptions(digitGrouping, exponentialNotation);
    const int base = pendingDisplayBase != 0 ? pendingDisplayBase : numberBase;
    char result[kFormatBufferSize];
    if (FormatNumber(value, result, kResultFractionDigits, base, options)) lineText.Assign(result);
}

} // namespace

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
    case LineKind::Evaluate: EvaluateToResult(working, lineText); break;
    }
    SetWindowTextA(line, lineText.Text());
    SendMessageA(line, EM_SETSEL, 0, -1);
    if (!KeepsLineSelected(lineText.Text()))
        SendMessageA(line, EM_SETSEL, static_cast<WPARAM>(-1), 0);
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
