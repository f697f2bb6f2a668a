#include "window/calc_line_gui.h"

#include "expr/evaluate.h"
#include "expr/reading.h"
#include "graph/dataset.h"
#include "graph/graph_scale.h"
#include "graph/statusbar_gui.h"
#include "numtext/display_state.h"
#include "numtext/format_number.h"
#include "resources/resource_ids.h"
#include "text/convert.h"
#include "window/calc_line.h"
#include "window/exact_number.h"
#include "window/graph_scroller_gui.h"
#include "window/line_keys_gui.h"
#include "window/notice_gui.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
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

// Why a plot made no points, into notice: the range gives none, or memory
// cannot hold them.
void DescribeEmptyPlot(const PlotRange& range, int count, char (&notice)[kNoticeTextSize]) {
    const int points = PlotPointCount(range.from, range.to, range.step, count);
    if (points <= 0)
        std::snprintf(notice, kNoticeTextSize, "the range gives no points");
    else
        std::snprintf(notice, kNoticeTextSize, "not enough memory for %d points", points);
}

// Plots the working copy of lineText; into notice, why it made no points, or
// why its equation was not read whole.
void PlotLine(HWND mainWindow, GrowableText& working, const GrowableText& lineText,
              char (&notice)[kNoticeTextSize]) {
    EnsureGraphVisible(mainWindow);
    RECT client = {};
    GetClientRect(GraphArea(mainWindow), &client);
    const GrowableText wholeWorking(working);
    const GrowableText rangeText = PlotRangeText(working);
    PlotRange range;
    TakePlotRange(working, range, EvaluatePlain, numberBase);
    ApplyDefaultStep(range, client.right - client.left);
    const int count = TruncateToInt32(range.count);
    if (PlotEquation(working.Text(), range.from, range.to, range.step, count)) {
        static const double variables[kPlotVariableCount] = {};
        LineExpression equation;
        equation.lineText = lineText.Text();
        equation.working = wholeWorking.Text();
        equation.word = rangeText.IsEmpty() ? nullptr : rangeText.Text();
        equation.variables = variables;
        equation.variableCount = kPlotVariableCount;
        equation.base = numberBase;
        DescribeLineExpression(equation, dataSet.values[0], notice, kNoticeTextSize);
    } else {
        DescribeEmptyPlot(range, count, notice);
    }
    RefreshAfterNewData(mainWindow, false);
}

// Transforms the data set by the working copy of lineText; into notice, why
// the expression was not read whole (as it was read for the first value).
void TransformDataSet(HWND mainWindow, const GrowableText& working, const GrowableText& lineText,
                      char (&notice)[kNoticeTextSize]) {
    const bool empty = dataSet.count <= 0;
    const GrowableText firstValue = ExactNumberText(empty ? 0 : dataSet.values[0], numberBase);
    TransformDataValuesCompiled(working, dataSet.values, dataSet.count, EvaluatePlain, numberBase);
    LineExpression expression;
    expression.lineText = lineText.Text();
    expression.working = working.Text();
    expression.word = "DATA";
    expression.replacement = firstValue.Text();
    expression.base = numberBase;
    DescribeLineExpression(expression, empty ? 0 : dataSet.values[0], notice, kNoticeTextSize);
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

bool nextEvaluationQuiet = false;

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

// Sets the line's text as an undoable replacement of what it held, so that
// the edit control's own undo (Ctrl+Z) brings that back, and a second undo
// the new text again; the caret goes to the end unless the text is to stay
// selected.
void WriteBack(HWND line, const GrowableText& lineText) {
    SendMessageA(line, EM_SETSEL, 0, -1);
    SendMessageA(line, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(lineText.Text()));
    SendMessageA(line, EM_SETSEL, 0, -1);
    if (!KeepsLineSelected(lineText.Text()))
        SendMessageA(line, EM_SETSEL, static_cast<WPARAM>(-1), 0);
}

// Puts typed (the line without its "=") in the line with nothing to undo, so
// that undoing the result that replaces it brings back the line as typed.
void PrepareUndo(HWND line, const char* typed) {
    SendMessageA(line, EM_SETSEL, 0, -1);
    SendMessageA(line, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(typed));
    SendMessageA(line, EM_EMPTYUNDOBUFFER, 0, 0);
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
    HideNotice(mainWindow);
    GrowableText lineText(text);
    lineText.TrimEnd("=");
    if (lineText.IsEmpty()) {
        ClearCalculationLine(line);
        return;
    }
    const bool quiet = nextEvaluationQuiet;
    nextEvaluationQuiet = false;
    RememberLine(lineText.Text());
    PrepareUndo(line, lineText.Text());
    GrowableText working = NormaliseLine(lineText.Text(), numberBase);
    char notice[kNoticeTextSize] = "";
    switch (ClassifyLine(working)) {
    case LineKind::Plot: PlotLine(mainWindow, working, lineText, notice); break;
    case LineKind::DataTransform: TransformDataSet(mainWindow, working, lineText, notice); break;
    case LineKind::Evaluate: {
        const double value = EvaluateExpression(working.Text(), nullptr, 0, numberBase);
        LineExpression expression;
        expression.lineText = lineText.Text();
        expression.working = working.Text();
        expression.base = numberBase;
        DescribeLineExpression(expression, value, notice, kNoticeTextSize);
        WriteResult(value, lineText);
        break;
    }
    }
    WriteBack(line, lineText);
    if (!quiet) ShowNotice(mainWindow, notice);
}

void EvaluateNextLineQuietly() {
    nextEvaluationQuiet = true;
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
