#include "saver_framework.h"

#include "back_buffer.h"
#include "shared/message_pump.h"
#include "shared/registry_key.h"

#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

HINSTANCE hMainInstance = NULL;
HWND hMainWindow = NULL;
BOOL fChildPreview = FALSE;

namespace {

const char SaverClassName[] = "WindowsScreenSaverClass";
const int MouseSlack = 4;      // pixels of motion that do not count
const DWORD StartGrace = 500;  // ms in which activation changes do not count

POINT FirstMousePosition;
bool MousePositionKnown = false;
DWORD StartTime = 0;

enum Mode {
    RunFullScreen,
    RunPreview,
    RunConfigure,
    RunPassword
};

HWND ReadWindow(const char* text)
{
    while (*text == ' ' || *text == ':')
        ++text;
    return (HWND)(INT_PTR)strtol(text, NULL, 10);
}

Mode ReadMode(const char* commandLine, HWND* window)
{
    *window = NULL;
    const char* switchAt = commandLine;
    while (*switchAt && *switchAt != '/' && *switchAt != '-')
        ++switchAt;
    if (!*switchAt)
        return RunConfigure;
    char letter = (char)(switchAt[1] | 0x20);
    const char* rest = switchAt + 2;
    switch (letter) {
    case 's':
        return RunFullScreen;
    case 'p':
    case 'l':
        *window = ReadWindow(rest);
        return RunPreview;
    case 'a':
        *window = ReadWindow(rest);
        return RunPassword;
    default:
        *window = ReadWindow(rest);
        return RunConfigure;
    }
}

bool RegisterSaverClass()
{
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = ScreenSaverProc;
    windowClass.hInstance = hMainInstance;
    windowClass.hIcon = LoadIconA(hMainInstance, MAKEINTRESOURCEA(100));
    windowClass.hbrBackground = (HBRUSH)GetStockObject(BLACK_BRUSH);
    windowClass.lpszClassName = SaverClassName;
    return RegisterClassA(&windowClass) != 0;
}

int RunSaver(HWND parent, bool preview)
{
    if (!RegisterSaverClass())
        return 1;
    char title[128] = "Screen saver";
    LoadStringA(hMainInstance, IDS_DESCRIPTION, title, sizeof title);
    StartTime = GetTickCount();
    if (preview) {
        if (!parent || !IsWindow(parent))
            return 0;
        RECT client;
        GetClientRect(parent, &client);
        fChildPreview = TRUE;
        hMainWindow =
            CreateWindowExA(0, SaverClassName, title, WS_CHILD | WS_VISIBLE, 0, 0, client.right,
                            client.bottom, parent, NULL, hMainInstance, NULL);
    } else {
        int width = GetSystemMetrics(SM_CXSCREEN);
        int height = GetSystemMetrics(SM_CYSCREEN);
        hMainWindow = CreateWindowExA(WS_EX_TOPMOST, SaverClassName, title, WS_POPUP | WS_VISIBLE,
                                      0, 0, width, height, NULL, NULL, hMainInstance, NULL);
        if (hMainWindow) {
            SetForegroundWindow(hMainWindow);
            ShowCursor(FALSE);
        }
    }
    if (!hMainWindow)
        return 1;
    int result = RunMessagePump();
    if (!preview)
        ShowCursor(TRUE);
    return result;
}

INT_PTR CALLBACK ConfigureThunk(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ScreenSaverConfigureDialog(dialog, message, wParam, lParam);
}

}  // namespace

LRESULT WINAPI DefScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!fChildPreview && window == hMainWindow) {
        switch (message) {
        case WM_SETCURSOR:
            SetCursor(NULL);
            return TRUE;
        case WM_MOUSEMOVE: {
            POINT now;
            GetCursorPos(&now);
            if (!MousePositionKnown) {
                FirstMousePosition = now;
                MousePositionKnown = true;
            } else if (abs(now.x - FirstMousePosition.x) > MouseSlack ||
                       abs(now.y - FirstMousePosition.y) > MouseSlack) {
                PostMessageA(window, WM_CLOSE, 0, 0);
            }
            break;
        }
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            PostMessageA(window, WM_CLOSE, 0, 0);
            break;
        case WM_ACTIVATE:
        case WM_ACTIVATEAPP:
        case WM_NCACTIVATE:
            // Windows being arranged while the saver starts must not end it.
            if (wParam == FALSE && GetTickCount() - StartTime > StartGrace)
                PostMessageA(window, WM_CLOSE, 0, 0);
            break;
        case WM_SYSCOMMAND:
            if (wParam == SC_SCREENSAVE || wParam == SC_CLOSE)
                return 0;
            break;
        }
    }
    switch (message) {
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

namespace {
const UINT_PTR FrameTimer = 1;
}

void StartAnimation(HWND window, UINT frameMilliseconds)
{
    SetTimer(window, FrameTimer, frameMilliseconds, NULL);
}

LRESULT AnimatedSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                          BackBuffer& buffer, void (*drawFrame)(HWND))
{
    switch (message) {
    case WM_TIMER:
        drawFrame(window);
        GdiFlush();
        buffer.Present(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        buffer.Present(window);
        return 0;
    }
    case WM_DESTROY:
        KillTimer(window, FrameTimer);
        buffer.Release();
        break;
    }
    return DefScreenSaverProc(window, message, wParam, lParam);
}

BOOL SettingsDialogMessage(HWND dialog, UINT message, WPARAM wParam, void (*show)(HWND),
                           void (*save)(HWND))
{
    if (message == WM_INITDIALOG) {
        show(dialog);
        return TRUE;
    }
    if (message != WM_COMMAND)
        return FALSE;
    if (LOWORD(wParam) == IDOK) {
        save(dialog);
        EndDialog(dialog, IDOK);
        return TRUE;
    }
    if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

void SetSlider(HWND dialog, int id, int low, int high, DWORD position)
{
    SendDlgItemMessageA(dialog, id, TBM_SETRANGE, TRUE, MAKELPARAM(low, high));
    SendDlgItemMessageA(dialog, id, TBM_SETPOS, TRUE, (LPARAM)position);
}

DWORD SliderPosition(HWND dialog, int id)
{
    LRESULT position = SendDlgItemMessageA(dialog, id, TBM_GETPOS, 0, 0);
    return position < 0 ? 0 : (DWORD)position;
}

DWORD ReadSampleSetting(const char* sample, const char* name, DWORD fallback)
{
    char path[256];
    snprintf(path, sizeof path, "Software\\Quillmark\\Rotaveil Samples\\%s", sample);
    RegistryKey key;
    DWORD value;
    if (!key.Open(HKEY_CURRENT_USER, path, KEY_READ) || !key.ReadDword(name, &value))
        return fallback;
    return value;
}

DWORD ReadSampleSettingIn(const char* sample, const char* name, DWORD low, DWORD high,
                          DWORD fallback)
{
    DWORD value = ReadSampleSetting(sample, name, fallback);
    return value < low || value > high ? fallback : value;
}

void WriteSampleSetting(const char* sample, const char* name, DWORD value)
{
    char path[256];
    snprintf(path, sizeof path, "Software\\Quillmark\\Rotaveil Samples\\%s", sample);
    RegistryKey key;
    if (key.Create(HKEY_CURRENT_USER, path))
        key.WriteDword(name, value);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    hMainInstance = instance;
    HWND window = NULL;
    switch (ReadMode(commandLine ? commandLine : "", &window)) {
    case RunFullScreen:
        return RunSaver(NULL, false);
    case RunPreview:
        return RunSaver(window, true);
    case RunPassword:
        return 0;  // the samples keep no password of their own
    case RunConfigure:
    default:
        // Every sample's dialog has common controls.
        InitCommonControls();
        RegisterDialogClasses(instance);
        if (!window || !IsWindow(window))
            window = GetForegroundWindow();
        DialogBoxParamA(instance, MAKEINTRESOURCEA(DLG_SCRNSAVECONFIGURE), window, ConfigureThunk,
                        0);
        return 0;
    }
}
