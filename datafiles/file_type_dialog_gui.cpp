#include "datafiles/file_type_dialog_gui.h"

#include "datafiles/file_type_choice.h"
#include "datafiles/file_types.h"
#include "graph/graph_scale.h"
#include "resources/resource_ids.h"
#include "text/temp_format.h"

bool multiplierChoice = false;
bool columnEquationChoice = false;

namespace {

constexpr int kLineBufferSize = 1536;

struct TypeButton {
    int id;
    uint32_t code;
};
// In the order OK looks at them: the first checked one gives the code.
constexpr TypeButton kTypeButtons[] = {
    {IDC_TYPE_TEXT, kTypeText},           {IDC_TYPE_UBYTE, kTypeUnsignedBytes},
    {IDC_TYPE_SBYTE, kTypeSignedBytes},   {IDC_TYPE_USHORT, kTypeUnsignedShorts},
    {IDC_TYPE_SSHORT, kTypeSignedShorts}, {IDC_TYPE_ULONG, kTypeUnsignedLongs},
    {IDC_TYPE_SLONG, kTypeSignedLongs},   {IDC_TYPE_FLOAT, kTypeFloats},
    {IDC_TYPE_DOUBLE, kTypeDoubles},
};

bool IsChecked(HWND dialog, int id) {
    return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetChecked(HWND dialog, int id, bool checked) {
    SendDlgItemMessageA(dialog, id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void InitSaving(HWND dialog) {
    for (const TypeButton& type : kTypeButtons)
        EnableWindow(GetDlgItem(dialog, type.id),
                     SavingTypeAllowed(type.code, graphScale.dataMin, graphScale.dataMax));
    EnableWindow(GetDlgItem(dialog, IDC_MULTIPLIERS), FALSE);
    EnableWindow(GetDlgItem(dialog, IDC_COLUMN_EQUATION), FALSE);
}

void InitReading(HWND dialog, uint32_t size) {
    char line[kLineBufferSize] = {};
    HWND owner = GetWindow(dialog, GW_OWNER);
    if (owner) GetDlgItemTextA(owner, IDC_CALC_LINE, line, kLineBufferSize);
    if (line[0]) {
        SetDlgItemTextA(dialog, IDC_COLUMN_EQUATION, TempFormat("Use Column Equation (%s)", line));
    } else {
        columnEquationChoice = false;
        EnableWindow(GetDlgItem(dialog, IDC_COLUMN_EQUATION), FALSE);
    }
    SetChecked(dialog, IDC_MULTIPLIERS, multiplierChoice);
    SetChecked(dialog, IDC_COLUMN_EQUATION, columnEquationChoice);
    for (const TypeButton& type : kTypeButtons)
        EnableWindow(GetDlgItem(dialog, type.id), ReadingTypeAllowed(type.code, size));
}

BOOL OnInitDialog(HWND dialog, int32_t parameter) {
    SetChecked(dialog, IDC_TYPE_TEXT, true);
    if (parameter < 0)
        InitSaving(dialog);
    else
        InitReading(dialog, static_cast<uint32_t>(parameter));
    return TRUE;
}

uint32_t ChosenCode(HWND dialog) {
    for (const TypeButton& type : kTypeButtons) {
        if (!IsChecked(dialog, type.id)) continue;
        if (type.code != kTypeText) return type.code;
        multiplierChoice = IsChecked(dialog, IDC_MULTIPLIERS);
        columnEquationChoice = IsChecked(dialog, IDC_COLUMN_EQUATION);
        return TextTypeCode(multiplierChoice, columnEquationChoice);
    }
    return 0;
}

BOOL OnCommand(HWND dialog, int id) {
    if (id == IDOK) EndDialog(dialog, static_cast<INT_PTR>(ChosenCode(dialog)));
    if (id == IDCANCEL) EndDialog(dialog, 0);
    return TRUE;
}

} // namespace

INT_PTR CALLBACK FileTypeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog, static_cast<int32_t>(lParam));
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam));
    default: return FALSE;
    }
}

uint32_t RunFileTypeDialog(HWND owner, int32_t parameter) {
    const INT_PTR result =
        DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_FILE_TYPE), owner,
                        FileTypeDialogProc, static_cast<LPARAM>(parameter));
    // -1: the dialog could not be created, which counts as cancelled.
    return result == -1 ? 0 : static_cast<uint32_t>(result);
}
