#include "entry_time_dialog.h"

#include <commctrl.h>
#include <stdio.h>

#include "resources/resource_ids.h"
#include "saver/settings/value_names.h"
#include "saver/windows/saver_state.h"

namespace {

struct EntryTime {
    const char* name;
    uint32_t commonSeconds;
    uint32_t ownSeconds;
};

void ShowChoice(HWND dialog)
{
    bool own = IsDlgButtonChecked(dialog, IDC_USE_COMMON_TIME) != BST_CHECKED;
    EnableWindow(GetDlgItem(dialog, IDC_OWN_TIME), own);
    EnableWindow(GetDlgItem(dialog, IDC_OWN_TIME_SPIN), own);
}

void InitEntryTime(HWND dialog, const EntryTime* entry)
{
    SetWindowLongPtrA(dialog, DWLP_USER, (LONG_PTR)entry);
    char caption[320];
    snprintf(caption, sizeof caption, "Time for %s", entry->name);
    SetWindowTextA(dialog, caption);
    char seconds[16];
    snprintf(seconds, sizeof seconds, "%u",
             (unsigned)(entry->ownSeconds ? entry->ownSeconds : entry->commonSeconds));
    SetDlgItemTextA(dialog, IDC_OWN_TIME, seconds);
    SendDlgItemMessageA(dialog, IDC_OWN_TIME_SPIN, UDM_SETBUDDY,
                        (WPARAM)GetDlgItem(dialog, IDC_OWN_TIME), 0);
    SendDlgItemMessageA(dialog, IDC_OWN_TIME_SPIN, UDM_SETRANGE, 0,
                        MAKELPARAM(LongestTypedPeriod, ShortestTypedPeriod));
    CheckDlgButton(dialog, IDC_USE_COMMON_TIME, entry->ownSeconds ? BST_UNCHECKED : BST_CHECKED);
    ShowChoice(dialog);
}

void OnEntryTimeOk(HWND dialog)
{
    EntryTime* entry = (EntryTime*)GetWindowLongPtrA(dialog, DWLP_USER);
    if (IsDlgButtonChecked(dialog, IDC_USE_COMMON_TIME) == BST_CHECKED) {
        entry->ownSeconds = 0;
        EndDialog(dialog, IDOK);
        return;
    }
    char typed[256] = "";
    GetDlgItemTextA(dialog, IDC_OWN_TIME, typed, sizeof typed);
    uint32_t seconds;
    if (!HoldTypedNumber(typed, ShortestTypedPeriod, LongestTypedPeriod, &seconds)) {
        EndDialog(dialog, IDCANCEL);
        return;
    }
    entry->ownSeconds = seconds;
    EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK EntryTimeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        InitEntryTime(dialog, (const EntryTime*)lParam);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            OnEntryTimeOk(dialog);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        case IDC_USE_COMMON_TIME:
            ShowChoice(dialog);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

}  // namespace

bool AskEntryTime(HWND owner, const char* name, uint32_t commonSeconds, uint32_t* ownSeconds)
{
    EntryTime entry = {name ? name : "", commonSeconds, *ownSeconds};
    if (DialogBoxParamA(Instance, MAKEINTRESOURCEA(IDD_ENTRY_TIME), owner, EntryTimeDialogProc,
                        (LPARAM)&entry) != IDOK)
        return false;
    *ownSeconds = entry.ownSeconds;
    return true;
}
