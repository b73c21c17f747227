#include "session_handles.h"

HWND SaverWindow = NULL;
HANDLE StopEvent = NULL;
RECT CoverRect = {0, 0, 0, 0};

void BringSessionWindowToFront()
{
    if (!SaverWindow)
        return;
    // Hidden or minimized by another program: shown again, so that nothing
    // of the desktop shows for longer than a turn.
    if (IsIconic(SaverWindow))
        PostMessageA(SaverWindow, WM_SYSCOMMAND, SC_RESTORE, 0);
    UINT show = IsWindowVisible(SaverWindow) ? 0 : SWP_SHOWWINDOW;
    // Moved or sized by another program: back over the whole screen.
    RECT now;
    UINT place = SWP_NOMOVE | SWP_NOSIZE;
    if (!IsRectEmpty(&CoverRect) && GetWindowRect(SaverWindow, &now) &&
        !EqualRect(&now, &CoverRect))
        place = 0;
    // The z-order needs no foreground rights; activation does (Windows 98
    // and 2000 on refuse it to a program in the background), so the window
    // is put next in line for activation either way.
    SetWindowPos(SaverWindow, HWND_TOPMOST, CoverRect.left, CoverRect.top,
                 CoverRect.right - CoverRect.left, CoverRect.bottom - CoverRect.top,
                 place | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS | show);
    SetForegroundWindow(SaverWindow);
}
