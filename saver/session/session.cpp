#include "session.h"

#include <string.h>

#include "password.h"
#include "runner.h"
#include "session_area.h"
#include "saver/processes/message_wait.h"
#include "saver/settings/settings_state.h"
#include "saver/settings/settings_store.h"
#include "saver/windows/saver_state.h"
#include "saver/windows/saver_window.h"

HANDLE InputEvent = NULL;
BYTE KeyStates[256];
HANDLE WatchThread = NULL;
volatile LONG WatchPasses = 0;

namespace {

// The watch yields briefly between passes: a key that goes down and up in
// between is still seen through the "pressed since the last query" bit, and
// the session does not keep a processor busy while screen savers draw.
const DWORD WatchPause = 25;

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

// Waits at most Period for both threads together, then ends what still runs.
void StopThreads()
{
    SetEvent(StopEvent);
    // Sent messages are handled meanwhile: a screen saver being stopped may
    // be sending one here as activation moves on from the session window.
    DWORD start = GetTickCount();
    if (RunnerThread)
        WaitHandlingSentMessages(1, &RunnerThread, Period);
    DWORD elapsed = GetTickCount() - start;
    if (WatchThread)
        WaitHandlingSentMessages(1, &WatchThread, elapsed < Period ? Period - elapsed : 0);
    EndThread(RunnerThread);
    EndThread(WatchThread);
}

ScreenArea SessionArea()
{
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    ScreenArea desktopArea = {desktop.left, desktop.top, desktop.right - desktop.left,
                              desktop.bottom - desktop.top};
    ScreenArea virtualScreen = {
        GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
        GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    return ChooseSessionArea(virtualScreen, desktopArea);
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
        InterlockedIncrement(&WatchPasses);
        Sleep(WatchPause);
    }
    return 0;
}

int RunSaverSession()
{
    HWND previousForeground = GetForegroundWindow();
    ShowCursor(FALSE);
    ScreenArea area = SessionArea();
    int result = 0;
    // Without its window or its runner nothing would ever end the session:
    // then everything is put back at once.
    if (CreateSaverWindow(area.width, area.height, NULL, area.x, area.y)) {
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
        // The runner may have switched the password off again after the
        // first restore (its question was open when the window went).
        RestoreSystemPassword();
        SaveLastState();
        SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, FALSE, &scratch, 0);
    }
    ShowCursor(TRUE);
    SetForegroundWindow(previousForeground);
    return result;
}
