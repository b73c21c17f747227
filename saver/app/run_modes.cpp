#include "run_modes.h"

#include <windows.h>
#include <commctrl.h>

#include "resources/resource_ids.h"
#include "saver/dialog/host_timeout.h"
#include "saver/dialog/settings_dialog.h"
#include "saver/windows/saver_state.h"
#include "saver/windows/saver_window.h"

namespace {

void CALLBACK EndWithoutHost(HWND, UINT, UINT_PTR, DWORD)
{
    if (IsWindow(ParentWindow))
        return;
    if (IsWindow(SaverWindow))
        DestroyWindow(SaverWindow);  // its WM_DESTROY ends the pump
    else
        PostQuitMessage(0);
}

}  // namespace

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
    // Without a live host window there is no pane to draw in; the desktop
    // window would make a full-screen preview that never ends.
    if (!CanHostPreview(ParentWindow))
        return 0;
    RECT client;
    GetClientRect(ParentWindow, &client);
    HWND child =
        CreateSaverWindow(client.right - client.left, client.bottom - client.top, ParentWindow);
    if (!child)
        return 0;
    // A host whose process is killed takes its window with it without
    // destroying ours politely: look for it every second. A thread timer,
    // as our window may go with the host's.
    UINT_PTR timer = SetTimer(NULL, 0, 1000, EndWithoutHost);
    int result = RunMessagePump();
    KillTimer(NULL, timer);
    return result;
}
