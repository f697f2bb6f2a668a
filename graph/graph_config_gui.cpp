#include "graph/graph_config_gui.h"

#include <commdlg.h>

#include "graph/graph_settings.h"
#include "graph/render_gui.h"
#include "resources/resource_ids.h"

using tamsolo::GraphConfigState;

COLORREF customColors[kCustomColorCount] = {};

namespace {

enum PendingColor { kGraphColor, kGridColor, kBackColor };

struct ValueEdit {
    int id;
    int GraphSettings::*field;
};
constexpr ValueEdit kValueEdits[] = {
    {IDC_LINE_WIDTH, &GraphSettings::lineWidth},
    {IDC_LINE_SPACING, &GraphSettings::lineSpacing},
    {IDC_BAR_WIDTH, &GraphSettings::barWidth},
    {IDC_BAR_SPACING, &GraphSettings::barSpacing},
};

GraphConfigState* StateOf(HWND dialog) {
    return reinterpret_cast<GraphConfigState*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

BOOL OnInitDialog(HWND dialog, GraphConfigState* state) {
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    for (const ValueEdit& edit : kValueEdits)
        SetDlgItemInt(dialog, edit.id, static_cast<UINT>(graphSettings.*edit.field), TRUE);
    // Posted, so that the radio handling runs once the dialog is up.
    const int radio = graphSettings.graphType == 'L' ? IDC_LINE_GRAPH : IDC_BAR_GRAPH;
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(radio, BN_CLICKED), 0);
    if (state) {
        state->pendingColors[kGraphColor] = graphSettings.graphColor;
        state->pendingColors[kGridColor] = graphSettings.gridColor;
        state->pendingColors[kBackColor] = graphSettings.backColor;
    }
    return TRUE;
}

void SelectGraphType(HWND dialog, int radio) {
    SendDlgItemMessageA(dialog, radio, BM_SETCHECK, BST_CHECKED, 0);
    const BOOL line = radio == IDC_LINE_GRAPH;
    EnableWindow(GetDlgItem(dialog, IDC_LINE_WIDTH), line);
    EnableWindow(GetDlgItem(dialog, IDC_LINE_SPACING), line);
    EnableWindow(GetDlgItem(dialog, IDC_BAR_WIDTH), !line);
    EnableWindow(GetDlgItem(dialog, IDC_BAR_SPACING), !line);
}

void ChoosePendingColor(HWND dialog, PendingColor which) {
    GraphConfigState* state = StateOf(dialog);
    if (!state) return;
    CHOOSECOLORA choose = {};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = dialog;
    choose.rgbResult = state->pendingColors[which];
    choose.lpCustColors = customColors;
    choose.Flags = CC_RGBINIT;
    if (ChooseColorA(&choose)) state->pendingColors[which] = StoredPick(choose.rgbResult);
}

void ApplySettings(HWND dialog) {
    graphSettings.graphType =
        SendDlgItemMessageA(dialog, IDC_LINE_GRAPH, BM_GETCHECK, 0, 0) == BST_CHECKED ? 'L' : 'B';
    // All four are read, the disabled ones too; text that is no number gives 0.
    for (const ValueEdit& edit : kValueEdits)
        graphSettings.*edit.field = static_cast<int>(GetDlgItemInt(dialog, edit.id, nullptr, TRUE));
    if (const GraphConfigState* state = StateOf(dialog)) {
        graphSettings.graphColor = state->pendingColors[kGraphColor];
        graphSettings.gridColor = state->pendingColors[kGridColor];
        graphSettings.backColor = state->pendingColors[kBackColor];
    }
    HBRUSH brush = CreateSolidBrush(graphSettings.backColor);
    if (brush) {
        if (backBrush) DeleteObject(backBrush); // deleting a stock brush is harmless
        backBrush = brush;
    }
}

BOOL OnCommand(HWND dialog, int id) {
    switch (id) {
    case IDC_LINE_GRAPH:
    case IDC_BAR_GRAPH: SelectGraphType(dialog, id); break;
    case IDC_GRAPH_COLOR: ChoosePendingColor(dialog, kGraphColor); break;
    case IDC_GRID_COLOR: ChoosePendingColor(dialog, kGridColor); break;
    case IDC_BACK_COLOR: ChoosePendingColor(dialog, kBackColor); break;
    case IDOK:
        ApplySettings(dialog);
        EndDialog(dialog, 1);
        break;
    case IDCANCEL: EndDialog(dialog, 0); break;
    default: break;
    }
    return TRUE;
}

} // namespace

INT_PTR CALLBACK GraphConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog, reinterpret_cast<GraphConfigState*>(lParam));
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam));
    default: return FALSE;
    }
}

int RunGraphConfigDialog(HWND owner) {
    GraphConfigState state;
    const INT_PTR result =
        DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_GRAPH_CONFIG), owner,
                        GraphConfigDialogProc, reinterpret_cast<LPARAM>(&state));
    return result == 1 ? 1 : 0;
}
