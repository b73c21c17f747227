#include "session.h"

#include <stdlib.h>
#include <string.h>

#include <vector>

#include "input_watch.h"
#include "monitor_turn.h"
#include "password.h"
#include "play_order.h"
#include "runner.h"
#include "session_area.h"
#include "saver/log/trace.h"
#include "saver/processes/message_wait.h"
#include "saver/settings/settings_state.h"
#include "saver/settings/settings_store.h"
#include "saver/windows/display_mode.h"
#include "saver/windows/monitors.h"
#include "saver/windows/saver_state.h"
#include "saver/windows/saver_window.h"
#include "shared/kept_password.h"
#include "shared/names.h"

bool SessionMutexHeld = true;

namespace {

HANDLE RunnerThread = NULL;
const DWORD RemakeLimit = 5000;  // ms the runner waits for the panes to be made again
// Set by the window when the monitors changed; the runner has the panes made
// again before its next turn.
volatile LONG DisplayChanged = 0;
// The monitors the panes were made for (none without panes), and how many
// monitors there were then (main thread).
std::vector<RECT> PanesMonitors;
size_t MonitorCount = 0;

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
    WakeInputWatch();
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
void PutBackSystemSettings(const std::vector<PlayListEntry>& loadedPlayList, bool runnerEnded)
{
    RestoreSystemPassword();
    if (runnerEnded) {
        if (!Shuffle)
            FileIndex = PositionBeforeExclusions(loadedPlayList, PlayList, FileIndex);
        SaveLastState();
    }
    SetScreenSaverRunning(false);
}

const std::vector<PlayListEntry>* LoadedPlayList = NULL;

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
    StopDirectInput();
    bool ended = StopThreads(EndSessionLimit);
    if (LoadedPlayList)
        PutBackSystemSettings(*LoadedPlayList, ended);
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
    PanesMonitors.clear();
    std::vector<RECT> rects = MonitorRects();
    MonitorCount = rects.size();
    if (!EachMonitor)
        return;
    std::vector<ScreenArea> monitors;
    for (const RECT& rect : rects)
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
    PanesMonitors = rects;
    TraceFormat("%i monitors: a screen saver on each", (int)MonitorPanes.size());
}

bool SameMonitors(const std::vector<RECT>& a, const std::vector<RECT>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (!EqualRect(&a[i], &b[i]))
            return false;
    }
    return true;
}

// The display changed: the cover spreads over the new screen at once. A
// monitor plugged in or taken away, or a change of the monitors that panes
// were made for, ends the turn so that the next one starts on it (with panes
// made anew). A mode that the screen saver switched (or the session put
// back) leaves one screen saver over the whole screen its turn.
void CoverTheNewScreen()
{
    ScreenArea area = SessionArea();
    MoveSessionWindow(area.x, area.y, area.width, area.height);
    CursorMayHaveMoved();
    std::vector<RECT> now = MonitorRects();
    bool monitorsChanged = PanesMonitors.empty() ? now.size() != MonitorCount
                                                 : !SameMonitors(now, PanesMonitors);
    if (!monitorsChanged)
        return;
    InterlockedExchange(&DisplayChanged, 1);
    if (NextEvent)
        SetEvent(NextEvent);
}

void RemakeMonitorPanes()
{
    for (HWND pane : MonitorPanes)
        DestroyWindow(pane);
    MakeMonitorPanes(SessionArea());
    WatchTheCursor(!MonitorPanes.empty());
}

void TakeRawInputOfSession(LPARAM input)
{
    TakeRawInput((HRAWINPUT)input);
}

const SessionHandlers Handlers = {EndBeforeWindowsDoes, CoverTheNewScreen, RemakeMonitorPanes,
                                  TakeRawInputOfSession};

// True when another program's window tells that a session already runs.
bool AnotherSessionWindow()
{
    return FindSessionWindow(GetCurrentProcessId()) != NULL;
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
    std::vector<PlayListEntry> loadedPlayList = PlayList;
    LoadedPlayList = &loadedPlayList;
    SuspendSystemPassword();
    SetScreenSaverRunning(true);
    SetSessionHandlers(&Handlers);
    int result = 0;
    if (StartInputWatch())
        RunnerThread = CreateThread(NULL, 0, RunScreensavers, NULL, 0, NULL);
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
    StopDirectInput();
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
    CloseInputWatch();
    return result;
}

}  // namespace

void RemakePanesIfTheScreenChanged()
{
    if (!InterlockedExchange(&DisplayChanged, 0))
        return;
    DWORD_PTR ignored;
    SendMessageTimeoutA(SaverWindow, RemakePanesMessage, 0, 0, SMTO_NORMAL, RemakeLimit, &ignored);
}

int RunSaverSession(bool loadSettings)
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
            // Black at once, then the settings, which the panes need.
            UpdateWindow(SaverWindow);
            if (loadSettings)
                LoadStoredSettings(false);
            NoteDisplayMode();
            MakeMonitorPanes(area);
            WatchTheCursor(!MonitorPanes.empty());
            BringSessionWindowToFront();
            result = RunCoveredSession();
            MonitorPanes.clear();
        }
    }
    ShowCursor(TRUE);
    SetForegroundWindow(previousForeground);
    return result;
}
