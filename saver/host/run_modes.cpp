#include "run_modes.h"

#include <windows.h>
#include <commctrl.h>

#include "saver_state.h"
#include "saver_window.h"
#include "../settings/settings_dialog.h"
#include "../../resources/resource_ids.h"

int ShowSettings()
{
    InitCommonControls();
    if (!ParentWindow || !IsWindow(ParentWindow))
        ParentWindow = GetForegroundWindow();
    DialogBoxParamA(Instance, MAKEINTRESOURCEA(IDD_SETTINGS), ParentWindow, SettingsDialogProc, 0);
    if (!KeepPreviews)
        return 0;
    return RunMessagePump();
}

int ShowPreview()
{
    // Without a live host window there is no pane to draw in.
    if (!ParentWindow || !IsWindow(ParentWindow))
        return 0;
    RECT client;
    GetClientRect(ParentWindow, &client);
    if (!CreateSaverWindow(client.right - client.left, client.bottom - client.top, ParentWindow))
        return 0;
    return RunMessagePump();
}
