#include "saver_window.h"

#include "cascade.h"
#include "preview_popup.h"
#include "saver_state.h"
#include "resources/resource_ids.h"
#include "saver/log/trace.h"
#include "saver/processes/message_wait.h"
#include "shared/names.h"
#include "shared/system_function.h"
#include "shared/system_text.h"

namespace {

int ScreenWidth = 0;
int ScreenHeight = 0;
int LastCascadeX = 0;
DWORD SessionWindowMade = 0;
const DWORD InputSettle = 1000;  // ms after the session window is made or a key seen down
const SessionHandlers* Handlers = NULL;
// Set while the session itself moves or sizes its window (the monitors
// changed): the only change of place the cover takes.
bool CoverMovedBySession = false;
// Set once the session lets its cover go (its close, its destruction).
bool CoverReleased = false;

void ReadScreenSize()
{
    if (ScreenWidth != 0 && ScreenHeight != 0)
        return;
    HDC screen = GetDC(NULL);
    ScreenWidth = GetDeviceCaps(screen, HORZRES);
    ScreenHeight = GetDeviceCaps(screen, VERTRES);
    ReleaseDC(NULL, screen);
}

void TraceLastError()
{
    char text[255];
    FormatSystemText(GetLastError(), text, sizeof text);
    Trace(text);
}

HWND CreatePreviewPopup(int width, int height)
{
    ReadScreenSize();
    CascadePosition at =
        NextCascadePosition(&LastCascadeX, ScreenWidth, ScreenHeight, width, height);
    HWND window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, RV_SAVER_CLASS, "Preview",
                                  WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU, at.x, at.y,
                                  width, height, NULL, NULL, Instance, NULL);
    if (!window)
        TraceLastError();
    return window;
}

// The virtual key of a key or mouse-button message.
bool IsDownMessage(UINT message)
{
    return message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_LBUTTONDOWN ||
           message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
}

BYTE MessageKey(UINT message, WPARAM wParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        return VK_LBUTTON;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        return VK_RBUTTON;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        return VK_MBUTTON;
    default:
        return (BYTE)wParam;
    }
}

// A child takes its host's DPI awareness: Windows 10 does not let a window
// host a child of another (the host here is another program's preview pane).
// Looked up by name: Windows 10 1607 and later.
void TakeDpiAwarenessOf(HWND host)
{
    typedef void* (WINAPI* GetWindowContext)(HWND);
    typedef void* (WINAPI* SetThreadContext)(void*);
    GetWindowContext get =
        SystemFunction<GetWindowContext>("USER32.DLL", "GetWindowDpiAwarenessContext");
    SetThreadContext set =
        SystemFunction<SetThreadContext>("USER32.DLL", "SetThreadDpiAwarenessContext");
    void* context = get ? get(host) : NULL;
    if (set && context)
        set(context);
}

void PaintPreview(HWND window, HDC given)
{
    PAINTSTRUCT paint;
    HDC dc = given ? given : BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    DrawPreviewPicture(dc, client.left, client.top, client.right, client.bottom);
    if (given)
        ValidateRect(window, &client);
    else
        EndPaint(window, &paint);
}

// Only the session's own password question may end it now.
bool CoverIsLocked()
{
    return RunMode == ModeSaver && CloseAsksPassword && !IsSignalled(StopEvent);
}

// The session's cover, locked or not, stays over the whole screen until the
// session lets it go: another program (a hosted screen saver among them) may
// not uncover the desktop by hiding, moving, sizing or minimizing it.
bool CoverIsHeld(HWND window)
{
    return RunMode == ModeSaver && window == SaverWindow && !CoverReleased &&
           !IsRectEmpty(&CoverRect) && !IsSignalled(StopEvent);
}

}  // namespace

HWND FindSessionWindow(DWORD otherThan)
{
    for (HWND window = FindWindowExA(NULL, NULL, RV_SAVER_CLASS, RV_SAVER_TITLE); window;
         window = FindWindowExA(NULL, window, RV_SAVER_CLASS, RV_SAVER_TITLE)) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process != otherThan && !(GetWindowLongA(window, GWL_STYLE) & WS_CHILD))
            return window;
    }
    return NULL;
}

bool CanHostPreview(HWND window)
{
    if (!window || !IsWindow(window) || window == GetDesktopWindow())
        return false;
    // A child of ours in a window of ours would be a preview of a preview, or
    // one in a session's cover.
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return lstrcmpiA(name, RV_SAVER_CLASS) != 0;
}

void MoveSessionWindow(int x, int y, int width, int height)
{
    SetRect(&CoverRect, x, y, x + width, y + height);
    CoverMovedBySession = true;
    SetWindowPos(SaverWindow, HWND_TOPMOST, x, y, width, height, SWP_NOACTIVATE);
    CoverMovedBySession = false;
}

void SetSessionHandlers(const SessionHandlers* handlers)
{
    Handlers = handlers;
}

bool RegisterSaverClass(HINSTANCE instance)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_PARENTDC;
    windowClass.lpfnWndProc = SaverWndProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_ROTAVEIL));
    windowClass.hIconSm = LoadIconA(instance, MAKEINTRESOURCEA(IDI_ROTAVEIL));
    windowClass.lpszClassName = RV_SAVER_CLASS;
    return RegisterClassExA(&windowClass) != 0;
}

HWND CreateSaverWindow(int width, int height, HWND parent, int x, int y)
{
    HWND window;
    if (parent && IsWindow(parent)) {
        if (RunMode == ModeConfig) {
            window = CreatePreviewPopup(width, height);
        } else {
            // Sized in the host's DPI context: under an unaware host on a
            // scaled monitor its pixels are not ours.
            TakeDpiAwarenessOf(parent);
            RECT client;
            if (GetClientRect(parent, &client)) {
                width = client.right - client.left;
                height = client.bottom - client.top;
            }
            window = CreateWindowExA(0, RV_SAVER_CLASS, RV_SAVER_TITLE,
                                     WS_CHILD | WS_VISIBLE | WS_DISABLED, 0, 0, width, height,
                                     parent, NULL, Instance, NULL);
        }
    } else {
        // Topmost: between turns nothing of the desktop, the task bar or
        // another program's always-on-top window may show through.
        SessionWindowMade = GetTickCount();
        SetRect(&CoverRect, x, y, x + width, y + height);
        window = CreateWindowExA(WS_EX_TOPMOST, RV_SAVER_CLASS, RV_SAVER_TITLE,
                                 WS_POPUP | WS_VISIBLE, x, y, width, height, NULL, NULL, Instance,
                                 NULL);
    }
    SaverWindow = window;
    return window;
}

LRESULT CALLBACK SaverWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        // Where the session's question is the only lock, a close from another
        // program must not unlock the machine: it is taken as input.
        if (CoverIsLocked()) {
            SetEvent(InputEvent);
            return 0;
        }
        if (window == SaverWindow)
            CoverReleased = true;
        break;
    case WM_WINDOWPOSCHANGING:
        // Whatever place is asked for, the cover keeps its own (a restore
        // from minimized included), and stays shown.
        if (CoverIsHeld(window) && !CoverMovedBySession) {
            WINDOWPOS* change = reinterpret_cast<WINDOWPOS*>(lParam);
            change->flags &= ~(UINT)SWP_HIDEWINDOW;
            if (!(change->flags & SWP_NOMOVE)) {
                change->x = CoverRect.left;
                change->y = CoverRect.top;
            }
            if (!(change->flags & SWP_NOSIZE)) {
                change->cx = CoverRect.right - CoverRect.left;
                change->cy = CoverRect.bottom - CoverRect.top;
            }
        }
        break;
    case WM_SYSCOMMAND:
        if (CoverIsHeld(window) && ((wParam & 0xFFF0) == SC_MINIMIZE ||
                                    (wParam & 0xFFF0) == SC_MAXIMIZE))
            return 0;
        break;
    case WM_SIZE:
        // Minimized all the same (ShowWindow from another program): restored.
        if (CoverIsHeld(window) && wParam == SIZE_MINIMIZED)
            PostMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);
        break;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        // Besides the watch's polling: a key pressed as a screen saver's window
        // closes may go to that window, and only its release come here. Only
        // a key the watch has not seen down lately counts (the late release of
        // one already acted on, or one held, is no new input), and not at the
        // very start, where the release of the key that started the session
        // may arrive.
        if (RunMode == ModeSaver && InputEvent && MessageKey(message, wParam) != NextKeyCode &&
            GetTickCount() - KeySeenDown[MessageKey(message, wParam)] >= InputSettle &&
            GetTickCount() - SessionWindowMade >= InputSettle)
            SetEvent(InputEvent);
        // A key seen down here may never be seen by the watch (it stands
        // still while the password is asked): its release is no new input.
        if (RunMode == ModeSaver && IsDownMessage(message))
            KeySeenDown[MessageKey(message, wParam)] = GetTickCount();
        break;
    case WM_ENDSESSION:
        // WM_QUERYENDSESSION keeps its default answer (yes) on every family,
        // as screen savers' own library does: only a program can ask while a
        // session covers the screen, and a refusal would hold shutdown.
        if (RunMode == ModeSaver && wParam && Handlers)
            Handlers->endSession();
        return 0;
    case WM_DISPLAYCHANGE:
        if (RunMode == ModeSaver && Handlers)
            Handlers->displayChange();
        break;
    case WM_INPUT:
        if (RunMode == ModeSaver && Handlers)
            Handlers->rawInput(lParam);
        break;
    case RemakePanesMessage:
        if (RunMode == ModeSaver && Handlers) {
            Handlers->remakePanes();
            return 0;
        }
        break;
    case WM_DESTROY:
        if (RunMode == ModeConfig) {
            ClosePreviewPopup(window);
        } else if (CoverIsLocked()) {
            // Sent by another program: the session's own destruction always
            // comes after StopEvent.
            SetEvent(InputEvent);
            return 0;
        } else {
            if (window == SaverWindow)
                CoverReleased = true;
            SetEvent(StopEvent);
            PostQuitMessage(0);
        }
        break;
    case WM_PAINT:
        if (RunMode == ModePreview) {
            PaintPreview(window, (HDC)wParam);
            return 0;
        }
        if (RunMode == ModeSaver) {
            // Black wherever no screen saver draws: no monitor may keep
            // showing the desktop during a session.
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            FillRect(dc, &paint.rcPaint, (HBRUSH)GetStockObject(BLACK_BRUSH));
            EndPaint(window, &paint);
            return 0;
        }
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void DrawPreviewPicture(HDC dc, int left, int top, int right, int bottom)
{
    HDC memory = CreateCompatibleDC(dc);
    if (!memory)
        return;
    HGDIOBJ kept = SelectObject(memory, PreviewBitmap);
    // HALFTONE keeps the picture smooth when the pane is smaller than it.
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, NULL);
    StretchBlt(dc, left, top, right - left, bottom - top, memory, 0, 0, PreviewBitmapWidth,
               PreviewBitmapHeight, SRCCOPY);
    SelectObject(memory, kept);
    DeleteDC(memory);
}
