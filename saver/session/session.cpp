#include "session.h"

#include <stdlib.h>
#include <string.h>

#include <vector>

#include "monitor_turn.h"
#include "password.h"
#include "play_order.h"
#include "runner.h"
#include "session_area.h"
#include "saver/log/trace.h"
#include "saver/processes/message_wait.h"
#include "saver/settings/settings_state.h"
#include "saver/settings/settings_store.h"
#include "saver/windows/monitors.h"
#include "saver/windows/saver_state.h"
#include "saver/windows/saver_window.h"
#include "shared/kept_password.h"
#include "shared/names.h"

HANDLE WatchThread = NULL;
HANDLE NextEvent = NULL;
BYTE KeyStates[256];
bool SessionMutexHeld = true;

namespace {

// The watch yields briefly between passes: a key that goes down and up in
// between is still seen through the "pressed since the last query" bit, and
// the session does not keep a processor busy while screen savers draw.
const DWORD WatchRest = 25;

HANDLE RunnerThread = NULL;
// The watch stands still between passes while WatchPause is set and says so
// with WatchPaused; the runner then owns KeyStates. It is never suspended: a
// thread suspended inside GetAsyncKeyState on the Windows 95 family holds
// the lock of 16-bit USER, and every window, the password dialog's too,
// would freeze.
HANDLE WatchPause = NULL;
HANDLE WatchPaused = NULL;
// Wakes the watch from its rest between passes (auto-reset), and tells at
// the end of each pass (auto-reset), for LetTheWatchLookOnce.
HANDLE WatchWake = NULL;
HANDLE WatchPassEnded = NULL;
volatile LONG WatchPassesBegun = 0;
volatile LONG WatchPassesEnded = 0;
const DWORD WatchPauseLimit = 1000;  // ms the runner waits for the watch to stand still
const DWORD FirstPassLimit = 1000;   // ms the session waits for the watch's first pass
const DWORD RemakeLimit = 5000;      // ms the runner waits for the panes to be made again
// With screen savers in the monitors' panes none ends on the mouse (a preview
// does not): the watch sees it move. Moves within this many pixels are the
// jitter of a mouse at rest.
const LONG CursorSlack = 3;
const DWORD CursorMoveHold = 100;  // ms
volatile LONG CursorWatched = 0;  // panes are shown
// Counts the changes after which the cursor's place is read afresh (panes
// made again: the monitors changed, and the cursor may have been moved).
volatile LONG CursorRestVersion = 0;
// Set by the window when the monitors changed; the runner has the panes made
// again before its next turn.
volatile LONG DisplayChanged = 0;

// The runner's longest way out: a turn's stop of stubborn processes with
// the looks for escaped ones (about 7 s), then the same once more as it
// cleans up. Waited out whole: a thread ended from outside may hold a lock
// of the heap or the loader, and the process would hang on it.
const DWORD ThreadsEndLimit = 30000;
// What Windows gives a program between WM_ENDSESSION and its end.
const DWORD EndSessionLimit = 3000;

// Waits, at most limit in all, for both threads to end; true when they did.
bool StopThreads(DWORD limit)
{
    SetEvent(StopEvent);
    // Sent messages are handled meanwhile: a screen saver being stopped may
    // be sending one here as activation moves on from the session window.
    DWORD start = GetTickCount();
    if (RunnerThread)
        WaitHandlingSentMessages(1, &RunnerThread, limit);
    DWORD elapsed = GetTickCount() - start;
    if (WatchThread)
        WaitHandlingSentMessages(1, &WatchThread, elapsed < limit ? limit - elapsed : 0);
    return (!RunnerThread || IsSignalled(RunnerThread)) &&
           (!WatchThread || IsSignalled(WatchThread));
}

// Puts back what the session switched, in one place for every way out. The
// play-list position is stored only once the runner has ended (it owns it
// while it runs).
void PutBackSystemSettings(const std::vector<uint32_t>& loadedPlayList, bool runnerEnded)
{
    RestoreSystemPassword();
    if (runnerEnded) {
        if (!Shuffle)
            FileIndex = PositionBeforeExclusions(loadedPlayList, PlayList, FileIndex);
        SaveLastState();
    }
    SetScreenSaverRunning(false);
}

const std::vector<uint32_t>* LoadedPlayList = NULL;

// Windows ends the process once WM_ENDSESSION is answered: the screen savers
// are stopped and everything is put back first, within the time it gives.
// Where the password question is the only lock, the message may come from
// any program: only the system's settings go back, and the session goes on
// asking until Windows ends it.
void EndBeforeWindowsDoes()
{
    if (PasswordLocksSession()) {
        RestoreSystemPassword();
        SetScreenSaverRunning(false);
        return;
    }
    bool ended = StopThreads(EndSessionLimit);
    if (LoadedPlayList)
        PutBackSystemSettings(*LoadedPlayList, ended);
}

ScreenArea VirtualScreen()
{
    return {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
            GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

ScreenArea SessionArea()
{
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    ScreenArea desktopArea = {desktop.left, desktop.top, desktop.right - desktop.left,
                              desktop.bottom - desktop.top};
    return ChooseSessionArea(VirtualScreen(), desktopArea);
}

// With each monitor its own screen saver, and two or more monitors: a pane of
// the session window over each. None, and one screen saver over them all,
// when a pane cannot be made.
void MakeMonitorPanes(ScreenArea session)
{
    MonitorPanes.clear();
    if (!EachMonitor)
        return;
    std::vector<ScreenArea> monitors;
    for (const RECT& rect : MonitorRects())
        monitors.push_back({rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top});
    std::vector<ScreenArea> panes = PaneAreas(monitors, session);
    if (panes.size() < 2)
        return;
    for (const ScreenArea& pane : panes) {
        HWND window = CreateMonitorPane(SaverWindow, pane.x, pane.y, pane.width, pane.height);
        if (!window) {
            for (HWND made : MonitorPanes)
                DestroyWindow(made);
            MonitorPanes.clear();
            return;
        }
        MonitorPanes.push_back(window);
    }
    TraceFormat("%i monitors: a screen saver on each", (int)MonitorPanes.size());
}

void WatchTheCursorWithPanes()
{
    InterlockedExchange(&CursorWatched, MonitorPanes.empty() ? 0 : 1);
    InterlockedIncrement(&CursorRestVersion);
}

// A monitor plugged in or taken away, or a resolution changed: the cover
// spreads over the new screen at once, and the turn ends so that the next
// one starts on it (with panes made anew).
void CoverTheNewScreen()
{
    ScreenArea area = SessionArea();
    MoveSessionWindow(area.x, area.y, area.width, area.height);
    InterlockedIncrement(&CursorRestVersion);
    InterlockedExchange(&DisplayChanged, 1);
    if (NextEvent)
        SetEvent(NextEvent);
}

void RemakeMonitorPanes()
{
    for (HWND pane : MonitorPanes)
        DestroyWindow(pane);
    MakeMonitorPanes(SessionArea());
    WatchTheCursorWithPanes();
}

const SessionHandlers Handlers = {EndBeforeWindowsDoes, CoverTheNewScreen, RemakeMonitorPanes};

// Where the cursor rests, and on which screen. A change of the monitors may
// move it (into what is still there), which is no input: a move counts once
// it has held for CursorMoveHold with the same screen and panes, as the
// system may tell of the change a little after the cursor moved.
struct CursorRest {
    POINT place;
    ScreenArea screen;
    LONG version;  // CursorRestVersion when it was read
    bool moving;   // a move seen, not counted yet
    DWORD movedAt;
};

bool SameArea(const ScreenArea& a, const ScreenArea& b)
{
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

void ReadCursorRest(CursorRest* rest)
{
    rest->version = CursorRestVersion;
    rest->screen = VirtualScreen();
    rest->moving = false;
    GetCursorPos(&rest->place);
}

// True, and the new place kept, when the cursor went farther than the slack
// from where it rested, and stayed away on the same screen.
bool CursorMoved(CursorRest* rest)
{
    if (rest->version != CursorRestVersion || !SameArea(VirtualScreen(), rest->screen)) {
        ReadCursorRest(rest);
        return false;
    }
    POINT now;
    if (!GetCursorPos(&now))
        return false;
    bool away = labs(now.x - rest->place.x) > CursorSlack ||
                labs(now.y - rest->place.y) > CursorSlack;
    if (!away || !rest->moving) {
        rest->moving = away;
        rest->movedAt = GetTickCount();
        return false;
    }
    if (GetTickCount() - rest->movedAt < CursorMoveHold)
        return false;
    ReadCursorRest(rest);
    return true;
}

// True when another program's window tells that a session already runs.
bool AnotherSessionWindow()
{
    for (HWND window = FindWindowExA(NULL, NULL, RV_SAVER_CLASS, RV_SAVER_TITLE); window;
         window = FindWindowExA(NULL, window, RV_SAVER_CLASS, RV_SAVER_TITLE)) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process != GetCurrentProcessId())
            return true;
    }
    return false;
}

// The session's message pump. Where the password question is the only lock,
// nothing but the session's own end may end it: a WM_QUIT that another
// program posts, or a WM_DESTROY posted to the window (a real one is sent by
// DestroyWindow, never posted), is taken as input and asked about.
int RunSessionPump()
{
    MSG message = {};
    for (;;) {
        BOOL got = GetMessageA(&message, NULL, 0, 0);
        if (got == -1)
            return 0;
        bool fromOutside =
            got == 0 || (message.message == WM_DESTROY && message.hwnd == SaverWindow);
        if (fromOutside && PasswordLocksSession() && !IsSignalled(StopEvent)) {
            SetEvent(InputEvent);
            continue;
        }
        if (got == 0)
            return (int)message.wParam;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// The session proper, once its window covers the screen.
int RunCoveredSession()
{
    // Exclusions shorten the play-list; the next session loads it whole.
    std::vector<uint32_t> loadedPlayList = PlayList;
    LoadedPlayList = &loadedPlayList;
    SuspendSystemPassword();
    SetScreenSaverRunning(true);
    WatchPause = CreateEventA(NULL, TRUE, FALSE, NULL);
    WatchPaused = CreateEventA(NULL, TRUE, FALSE, NULL);
    NextEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
    WatchWake = CreateEventA(NULL, FALSE, FALSE, NULL);
    WatchPassEnded = CreateEventA(NULL, FALSE, FALSE, NULL);
    NextKeyCode = NextKey ? VK_RIGHT : 0;
    SetSessionHandlers(&Handlers);
    int result = 0;
    if (WatchPause && WatchPaused && NextEvent && WatchWake && WatchPassEnded)
        WatchThread = CreateThread(NULL, 0, WatchInput, NULL, 0, NULL);
    if (WatchThread) {
        // Nothing is shown before the watch knows which keys are down already
        // (those count only when pressed again): a key pressed from the first
        // screen saver on is input, however soon it comes.
        HANDLE firstPass[2] = {WatchPassEnded, WatchThread};
        WaitHandlingSentMessages(2, firstPass, FirstPassLimit);
        RunnerThread = CreateThread(NULL, 0, RunScreensavers, NULL, 0, NULL);
    }
    if (WatchThread && RunnerThread) {
        result = RunSessionPump();
    } else if (IsWindow(SaverWindow)) {
        // Without its threads nothing would ever end the session: everything
        // is put back at once.
        SetEvent(StopEvent);
        DestroyWindow(SaverWindow);
    }
    // The runner is done with the password (its question) before it is put
    // back for good.
    bool ended = StopThreads(ThreadsEndLimit);
    SetSessionHandlers(NULL);
    PutBackSystemSettings(loadedPlayList, ended);
    LoadedPlayList = NULL;
    if (!ended) {
        // A thread that never ends would keep the process, and with it the
        // session mutex, for ever; nothing more is left to put back.
        TerminateProcess(GetCurrentProcess(), 1);
    }
    ReleasePasswordLibrary();
    CloseIfOpen(RunnerThread);
    CloseIfOpen(WatchThread);
    CloseIfOpen(WatchPause);
    CloseIfOpen(WatchPaused);
    CloseIfOpen(WatchWake);
    CloseIfOpen(WatchPassEnded);
    NextKeyCode = 0;
    CloseIfOpen(NextEvent);
    return result;
}

}  // namespace

void LetTheWatchLookOnce(DWORD limit)
{
    // Passes end in the order they begin: the next one to begin ends as
    // number begun + 1.
    LONG wanted = WatchPassesBegun + 1;
    SetEvent(WatchWake);
    HANDLE events[4] = {StopEvent, InputEvent, NextEvent, WatchPassEnded};
    DWORD start = GetTickCount();
    while (WatchPassesEnded - wanted < 0) {
        DWORD waited = GetTickCount() - start;
        if (waited >= limit ||
            WaitHandlingSentMessages(4, events, limit - waited) < WAIT_OBJECT_0 + 3)
            return;
    }
}

void RemakePanesIfTheScreenChanged()
{
    if (!InterlockedExchange(&DisplayChanged, 0))
        return;
    DWORD_PTR ignored;
    SendMessageTimeoutA(SaverWindow, RemakePanesMessage, 0, 0, SMTO_NORMAL, RemakeLimit, &ignored);
}

void PauseInputWatch()
{
    if (!WatchPause || !WatchThread)
        return;
    SetEvent(WatchPause);
    HANDLE ends[2] = {WatchPaused, WatchThread};
    WaitHandlingSentMessages(2, ends, WatchPauseLimit);
}

void ResumeInputWatch()
{
    if (WatchPause)
        ResetEvent(WatchPause);
}

DWORD WINAPI WatchInput(LPVOID)
{
    memset(KeyStates, 1, sizeof KeyStates);
    CursorRest cursorRest = {};
    cursorRest.version = CursorRestVersion - 1;  // read at the first pass
    while (!IsSignalled(StopEvent)) {
        if (IsSignalled(WatchPause)) {
            SetEvent(WatchPaused);
            while (IsSignalled(WatchPause) &&
                   WaitForSingleObject(StopEvent, WatchRest) == WAIT_TIMEOUT) {
            }
            // Cleared before WatchPause is looked at again: a pause asked for
            // meanwhile finds the watch standing, or about to stand.
            ResetEvent(WatchPaused);
            // The mouse moved while the password was asked is no new input.
            cursorRest.version = CursorRestVersion - 1;
            continue;
        }
        InterlockedIncrement(&WatchPassesBegun);
        // A hosted screen saver that ends (on a mouse move, say) switches
        // Ctrl+Alt+Del back on: at once off again while only the session's
        // question locks the machine.
        if (PasswordLocksSession())
            RenewScreenSaverRunning();
        if (CursorWatched && CursorMoved(&cursorRest))
            SetEvent(InputEvent);
        try {
            for (int code = 1; code <= 254; ++code) {
                bool pressed = (GetAsyncKeyState(code) & 0x8001) != 0;
                if (pressed)
                    KeySeenDown[code] = GetTickCount();
                if (KeyStates[code] == 0 && pressed)
                    SetEvent(code == NextKeyCode ? NextEvent : InputEvent);
                KeyStates[code] = pressed ? 1 : 0;
            }
        } catch (...) {
        }
        InterlockedIncrement(&WatchPassesEnded);
        SetEvent(WatchPassEnded);
        WaitForSingleObject(WatchWake, WatchRest);
    }
    return 0;
}

int RunSaverSession()
{
    HWND previousForeground = GetForegroundWindow();
    ShowCursor(FALSE);
    ScreenArea area = SessionArea();
    int result = 0;
    if (CreateSaverWindow(area.width, area.height, NULL, area.x, area.y)) {
        // Without the session mutex (another kind of object holds its name)
        // the session window is the only sign of a running session: a
        // second session leaves before it touches anything.
        if (!SessionMutexHeld && AnotherSessionWindow()) {
            DestroyWindow(SaverWindow);
        } else {
            MakeMonitorPanes(area);
            WatchTheCursorWithPanes();
            BringSessionWindowToFront();
            result = RunCoveredSession();
            MonitorPanes.clear();
        }
    }
    ShowCursor(TRUE);
    SetForegroundWindow(previousForeground);
    return result;
}
