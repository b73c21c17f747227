#include "session.h"

#include <string.h>

#include "password.h"
#include "saver_state.h"
#include "saver_window.h"
#include "../runner/runner.h"
#include "../settings/settings_state.h"
#include "../settings/settings_store.h"

BYTE KeyStates[256];
HANDLE WatchThread = NULL;

namespace {

// The watch yields briefly between passes: a key that goes down and up in
// between is still seen through the "pressed since the last query" bit, and
// the session does not keep a processor busy while screen savers draw.
const DWORD WatchPause = 10;

HANDLE RunnerThread = NULL;

void EndThread(HANDLE& thread)
{
    if (!thread)
        return;
    DWORD code = 0;
    if (!GetExitCodeThread(thread, &code) || code == STILL_ACTIVE)
        TerminateThread(thread, 1);
    CloseHandle(thread);
    thread = NULL;
}

// Waits for a thread until the deadline. Messages sent to this thread are
// handled meanwhile: a screen saver being stopped may be sending one to us
// (activation moves when the session window goes), and the runner waits for
// that screen saver.
void WaitForThreadUntil(HANDLE thread, DWORD start, DWORD limit)
{
    for (;;) {
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= limit)
            return;
        DWORD result = MsgWaitForMultipleObjects(1, &thread, FALSE, limit - elapsed, QS_SENDMESSAGE);
        if (result != WAIT_OBJECT_0 + 1)
            return;
        MSG message;
        PeekMessageA(&message, NULL, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

// Waits at most Period for both threads together, then ends what still runs.
void StopThreads()
{
    SetEvent(StopEvent);
    DWORD start = GetTickCount();
    if (RunnerThread)
        WaitForThreadUntil(RunnerThread, start, Period);
    if (WatchThread)
        WaitForThreadUntil(WatchThread, start, Period);
    EndThread(RunnerThread);
    EndThread(WatchThread);
}

}  // namespace

DWORD WINAPI WatchInput(LPVOID)
{
    memset(KeyStates, 1, sizeof KeyStates);
    while (WaitForSingleObject(StopEvent, 0) == WAIT_TIMEOUT) {
        try {
            for (int code = 1; code <= 254; ++code) {
                bool pressed = (GetAsyncKeyState(code) & 0x8001) != 0;
                if (KeyStates[code] == 0 && pressed)
                    SetEvent(InputEvent);
                KeyStates[code] = pressed ? 1 : 0;
            }
        } catch (...) {
        }
        Sleep(WatchPause);
    }
    return 0;
}

int RunSaverSession()
{
    HWND previousForeground = GetForegroundWindow();
    ShowCursor(FALSE);
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    int result = 0;
    // Without its window or its runner nothing would ever end the session:
    // then everything is put back at once.
    if (CreateSaverWindow(desktop.right - desktop.left, desktop.bottom - desktop.top, NULL)) {
        SuspendSystemPassword();
        UINT scratch = 0;
        SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, TRUE, &scratch, 0);
        WatchThread = CreateThread(NULL, 0, WatchInput, NULL, 0, NULL);
        if (WatchThread)
            RunnerThread = CreateThread(NULL, 0, RunScreensavers, NULL, 0, NULL);
        if (WatchThread && RunnerThread) {
            result = RunMessagePump();
        } else if (IsWindow(SaverWindow)) {
            DestroyWindow(SaverWindow);
        }
        RestoreSystemPassword();
        StopThreads();
        SaveLastState();
        SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, FALSE, &scratch, 0);
    }
    ShowCursor(TRUE);
    SetForegroundWindow(previousForeground);
    return result;
}
