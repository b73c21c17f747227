#include "tray_window.h"

#include <shellapi.h>
#include <stdio.h>
#include <string.h>

#include "install.h"
#include "run_saver.h"
#include "tray_commands.h"
#include "resources/resource_ids.h"
#include "shared/help_file.h"
#include "shared/names.h"
#include "shared/owned.h"
#include "shared/start_program.h"

HWND TrayWindow = NULL;

namespace {

HINSTANCE TrayInstance = NULL;
HICON TrayIcon = NULL;
// Sent to every top-level window when the task bar has been made anew (an
// Explorer restart): the icons it held are gone. 0 where the shell has none.
UINT TaskbarCreatedMessage = 0;

#if !defined(_WIN64)
static_assert(NOTIFYICONDATAA_V1_SIZE == 88, "the icon record of 32-bit Windows");
static_assert(sizeof(STARTUPINFOA) == 68, "STARTUPINFOA of 32-bit Windows");
#endif

NOTIFYICONDATAA IconRecord(UINT flags)
{
    NOTIFYICONDATAA record;
    memset(&record, 0, sizeof record);
    // The oldest form of the record: every version of the shell takes it.
    record.cbSize = NOTIFYICONDATAA_V1_SIZE;
    record.hWnd = TrayWindow;
    record.uID = TrayIconId;
    record.uFlags = flags;
    record.uCallbackMessage = TrayCallbackMessage;
    record.hIcon = TrayIcon;
    LoadStringA(TrayInstance, IDS_TRAY_TIP, record.szTip, 64);
    return record;
}

void AskAndExit()
{
    char text[256] = "", caption[64] = "";
    LoadStringA(TrayInstance, IDS_KEEP_TRAY_ICON, text, sizeof text);
    LoadStringA(TrayInstance, IDS_PROGRAM_NAME, caption, sizeof caption);
    int answer = MessageBoxA(TrayWindow, text, caption, MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDCANCEL)
        return;
    if (answer == IDNO)
        RemoveStartupEntry();
    PostMessageA(TrayWindow, WM_CLOSE, 0, 0);
}

}  // namespace

bool CreateTray(HINSTANCE instance)
{
    TrayInstance = instance;
    TrayIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_ROTAVEIL));
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = TrayWndProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = windowClass.hIconSm = TrayIcon;
    windowClass.lpszClassName = RV_TRAY_CLASS;
    if (!RegisterClassExA(&windowClass))
        return false;
    TrayWindow = CreateWindowExA(WS_EX_TOOLWINDOW, RV_TRAY_CLASS, RV_TRAY_TITLE, WS_POPUP, 0, 0, 10,
                                 20, NULL, NULL, instance, NULL);
    if (!TrayWindow)
        return false;
    TaskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
    AddTrayIcon();
    return true;
}

void AddTrayIcon()
{
    NOTIFYICONDATAA record = IconRecord(NIF_MESSAGE | NIF_ICON | NIF_TIP);
    Shell_NotifyIconA(NIM_ADD, &record);
}

LRESULT CALLBACK TrayWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == TaskbarCreatedMessage && message != 0) {
        AddTrayIcon();
        return 0;
    }
    switch (message) {
    case WM_DESTROY: {
        NOTIFYICONDATAA record = IconRecord(0);
        Shell_NotifyIconA(NIM_DELETE, &record);
        PostQuitMessage(0);
        break;
    }
    case WM_COMMAND:
        OnTrayCommand(LOWORD(wParam));
        break;
    case WM_TIMER:
        if (wParam == RunSaverTimer) {
            OnRunSaverTimer(window);
            return 0;
        }
        break;
    case TrayCallbackMessage:
        if (lParam == WM_LBUTTONDOWN || lParam == WM_RBUTTONDOWN) {
            if (!ShowTrayMenu())
                return 0;
        } else if (lParam == WM_LBUTTONDBLCLK) {
            OnTrayCommand(IDM_RUN_SAVER);
        }
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool ShowTrayMenu()
{
    POINT at;
    GetCursorPos(&at);
    OwnedMenu menu(LoadMenuA(TrayInstance, MAKEINTRESOURCEA(IDM_TRAY)));
    HMENU popup = menu ? GetSubMenu(menu.Get(), 0) : NULL;
    if (!popup)
        return false;
    SetMenuDefaultItem(popup, IDM_RUN_SAVER, FALSE);
    SetForegroundWindow(TrayWindow);
    TrackPopupMenuEx(popup, 0, at.x, at.y, TrayWindow, NULL);
    PostMessageA(TrayWindow, WM_NULL, 0, 0);
    return true;
}

void OnTrayCommand(UINT id)
{
    char windows[MAX_PATH];
    UINT length = GetWindowsDirectoryA(windows, sizeof windows);
    if (length == 0 || length >= sizeof windows)
        return;
    char text[MAX_PATH + 64];
    switch (id) {
    case IDM_MORE_SOFTWARE:
        ShellExecuteA(NULL, "open", RV_VENDOR_URL, NULL, NULL, SW_SHOWMAXIMIZED);
        break;
    case IDM_RUN_SAVER:
        if (FormatRunCommand(text, sizeof text, windows))
            RunScreenSaver(TrayWindow, text);
        break;
    case IDM_OPTIONS:
        if (FormatOptionsCommand(text, sizeof text, windows, (intptr_t)TrayWindow))
            StartUnwaited(text);
        break;
    case IDM_HELP:
        GetHelpFileName(text, sizeof text);
        ShellExecuteA(NULL, "open", text, NULL, NULL, SW_SHOWMAXIMIZED);
        break;
    case IDM_EXIT:
        AskAndExit();
        break;
    }
}
