#include "runner.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "password.h"
#include "session.h"
#include "turn_order.h"
#include "saver/log/message_log.h"
#include "saver/log/trace.h"
#include "saver/processes/close_process.h"
#include "saver/processes/hosted_command_lines.h"
#include "saver/processes/message_wait.h"
#include "saver/processes/process_info.h"
#include "saver/processes/session_job.h"
#include "saver/processes/watch.h"
#include "saver/settings/settings_state.h"
#include "saver/windows/saver_state.h"
#include "shared/kept_password.h"
#include "shared/owned.h"
#include "shared/system_text.h"

namespace {

HANDLE SessionJob = NULL;  // holds the hosted screen savers while the runner runs

const DWORD WindowGrace = 1000;  // ms a started screen saver has to show its window
const DWORD WindowPoll = 10;
const DWORD WatchLookLimit = 500;  // ms at most for one more pass of the input watch
const DWORD KeyUpSettle = 100;     // ms the next-screensaver key must read up
const int HoldAttempts = 3;        // of the wait for the password at the end
// A screen saver that could not start, or ended sooner than this without
// input, still keeps its turn (a black screen): retrying at once would spin.
const DWORD ShortestTurn = 1000;

// The screen savers whose quick end was logged this session: once each.
std::vector<std::string> QuickEndsLogged;

void ReportFailedStart(const char* path, DWORD code)
{
    if (code != 0) {
        char system[512];
        FormatSystemText(code, system, sizeof system);
        FillSystemTextInserts(system, sizeof system, path);
        TraceAndLog("%s error loading, %s", path, system);
    } else {
        TraceAndLog("%s error loading", path);
    }
}

// Waits for a started program to be ready for input: one call of
// WaitForInputIdle per start (Wine's leaks a handle per call), on a thread of
// its own that ends with it, so that the runner's wait stays open to input
// and the end of the session. The thread owns its copy of the process handle.
DWORD WINAPI WaitForIdle(LPVOID process)
{
    WaitForInputIdle((HANDLE)process, InputIdleWait);
    CloseHandle((HANDLE)process);
    return 0;
}

// Waits for a new screen saver to be ready for input, at most InputIdleWait,
// but no longer than until its process ends or input or the end of the
// session comes.
void WaitUntilReady(HANDLE process, HANDLE* ends, DWORD count)
{
    HANDLE self = GetCurrentProcess(), duplicate = NULL;
    if (!DuplicateHandle(self, process, self, &duplicate, 0, FALSE, DUPLICATE_SAME_ACCESS))
        return;
    OwnedHandle copy(duplicate);
    OwnedHandle thread(CreateThread(NULL, 0, WaitForIdle, copy.Get(), 0, NULL));
    if (!thread)
        return;
    copy.Release();  // the thread's now
    HANDLE all[MAXIMUM_WAIT_OBJECTS];
    all[0] = thread.Get();
    for (DWORD i = 0; i < count && i + 1 < MAXIMUM_WAIT_OBJECTS; ++i)
        all[i + 1] = ends[i];
    WaitHandlingSentMessages(count + 1, all, InputIdleWait);
}

// A screen saver that crashed at start, ended at once or cannot run here
// gives a black turn: the log says why, once per screen saver and session.
void ReportQuickEnd(const char* path, DWORD code)
{
    if (std::find(QuickEndsLogged.begin(), QuickEndsLogged.end(), path) != QuickEndsLogged.end())
        return;
    QuickEndsLogged.push_back(path);
    TraceAndLog(code > 0xFFFF ? "%s ended at once by itself, exit code 0x%08lX"
                              : "%s ended at once by itself, exit code %lu",
                path, (unsigned long)code);
}

// Waits out what is left of the turn of length milliseconds begun at
// turnStart; input and the end of the session end the wait as in any turn.
void WaitRestOfTurn(DWORD turnStart, DWORD length)
{
    DWORD elapsed = GetTickCount() - turnStart;
    if (elapsed >= length)
        return;
    HANDLE events[3] = {StopEvent, InputEvent, NextEvent};
    WaitHandlingSentMessages(3, events, length - elapsed);
}

// Starts the screen saver at FileIndex and shows it for one turn of length
// milliseconds. Returns false when it could not be started.
bool ShowOneScreensaver(const char* path, DWORD length)
{
    DWORD turnStart = GetTickCount();
    BeginTurnWatch(path);
    char commandLine[CommandLineLimit];
    PROCESS_INFORMATION started = {};
    bool ok = BuildSessionCommandLine(commandLine, sizeof commandLine, path, __argc, __argv);
    if (!ok) {
        // Never run a command line cut short: count it as a failed start.
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
    } else {
        ok = StartInSessionJob(SessionJob, commandLine, &started);
    }
    if (!ok) {
        ReportFailedStart(path, GetLastError());
        WaitRestOfTurn(turnStart, length);
        return false;
    }

    auto owned = std::make_unique<ProcessInfo>(path);
    ProcessInfo* record = owned.get();
    record->procInfo = started;
    EnterProcess(Processes, std::move(owned));
    HANDLE ends[4] = {started.hProcess, StopEvent, InputEvent, NextEvent};
    WaitUntilReady(started.hProcess, ends, 4);
    // Its main thread's windows first: the pass over the whole desktop costs
    // more, and is made only for a window made on another thread.
    AttachWindows(started.dwThreadId);
    if (!record->window)
        AttachWindows(0);
    // Some screen savers (and Wine's input-idle signal) are early: give the
    // window a short while to appear before the period starts.
    for (DWORD waited = 0; !record->window && waited < WindowGrace; waited += WindowPoll) {
        if (WaitHandlingSentMessages(4, ends, WindowPoll) != WAIT_TIMEOUT)
            break;
        AttachWindows(started.dwThreadId);
    }
    if (record->window) {
        // Asynchronous, so that a screen saver whose window thread hangs
        // cannot hold the runner here.
        SetWindowPos(record->window, HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_ASYNCWINDOWPOS);
    } else {
        TraceFormat("%s has no windows????", path);
    }
    TraceFormat("%s  loaded", commandLine);

    bool endedByItself = WaitHandlingSentMessages(4, ends, length) == WAIT_OBJECT_0;
    bool endedAtOnce = endedByItself && GetTickCount() - turnStart < ShortestTurn;
    DWORD exitCode = 0;
    if (endedAtOnce)
        GetExitCodeProcess(started.hProcess, &exitCode);

    BringSessionWindowToFront();
    DetectChildProcesses();
    BringSessionWindowToFront();
    CloseAllProcesses(Processes);
    StopEscapedProcesses();
    BringSessionWindowToFront();
    // What ended may have switched Ctrl+Alt+Del back on.
    RenewScreenSaverRunning();
    EndTurnWatch();
    // A key at a turn's end (a screen saver that ended itself on it, or one
    // pressed as the runner stopped one) is seen by the input watch only at
    // its next pass: that pass is made before anything else is started.
    LetTheWatchLookOnce(WatchLookLimit);
    // A screen saver that ends itself on the key for the next one is no fault.
    if (endedAtOnce && !IsSignalled(InputEvent) && !IsSignalled(NextEvent)) {
        ReportQuickEnd(path, exitCode);
        WaitRestOfTurn(turnStart, length);
    }
    return true;
}

// A screen saver that could not be stopped on two turns in a row goes from
// the play-list for the rest of the session, every entry of it. True when it
// went; FileIndex then names the entry that followed it.
bool ExcludeIfMisbehaving(const char* path)
{
    size_t found = FindByName(Processes, path);
    if (found >= Processes.size() || Processes[found]->failCount <= MisbehaveLimit)
        return false;
    ExcludeCurrentEntry();
    DestroyRecord(Processes, found);
    TraceAndLog("%s is excluded from current session play-list as misbehaved.", path);
    return true;
}

void AskForPassword()
{
    RenewScreenSaverRunning();
    PauseInputWatch();
    try {
        ResetEvent(InputEvent);
        memset(KeyStates, 1, sizeof KeyStates);
        if (AskPassword()) {
            SetEvent(StopEvent);
            Trace("Password accepted.");
        } else {
            Trace("Password not accepted. Continue to run.");
        }
    } catch (...) {
        Trace("RunScreensavers Exception");
    }
    ResumeInputWatch();
}

// True while the next-screensaver key is held: down now, or seen down by the
// input watch just before. A moment up does not count: the system may lose
// a held key's state as the focus moves (Wine does, for a key a program
// sent), and its next auto-repeat puts it back.
bool NextKeyHeld()
{
    return (GetAsyncKeyState(NextKeyCode) & 0x8000) ||
           GetTickCount() - KeySeenDown[NextKeyCode] < KeyUpSettle;
}

// The key for the next screen saver must not reach it as input that ends it
// in turn (its auto-repeat would, however long it is held): nothing is
// started before the key is up, or other input comes.
void WaitForNextKeyUp()
{
    HANDLE events[2] = {StopEvent, InputEvent};
    while (NextKeyHeld()) {
        if (WaitHandlingSentMessages(2, events, WindowPoll) != WAIT_TIMEOUT)
            break;
    }
    ResetEvent(NextEvent);
}

// Where the password question is the only lock, the session ends on no other
// way (nothing left to show, an exception): the black screen waits for
// input and asks, as often as it takes.
void HoldUntilUnlocked()
{
    HANDLE events[2] = {StopEvent, InputEvent};
    while (PasswordLocksSession() && !IsSignalled(StopEvent)) {
        WaitHandlingSentMessages(2, events, INFINITE);
        if (IsSignalled(InputEvent) && !IsSignalled(StopEvent))
            AskForPassword();
    }
}

// One turn; false when the play-list was found empty.
bool RunOneTurn()
{
    if (PlayList.empty()) {
        LogMessage("Play list is empty. Terminating...");
        return false;
    }
    try {
        uint32_t position = CurrentEntry();
        const char* path = position < Catalogue.size() ? Catalogue[position].c_str() : "";
        std::string kept = path;  // the play-list may shrink below
        bool excluded = ShowOneScreensaver(kept.c_str(), CurrentTurnLength()) &&
                        ExcludeIfMisbehaving(kept.c_str());
        if (!PlayList.empty()) {
            if (!excluded)
                AdvanceTurn();
            if (IsSignalled(InputEvent))
                AskForPassword();
            if (IsSignalled(NextEvent))
                WaitForNextKeyUp();
            TraceFormat("Processes.size()=%i", (int)Processes.size());
        }
    } catch (...) {
        Trace("RunScreensavers Exception");
    }
    return true;
}

}  // namespace

DWORD WINAPI RunScreensavers(LPVOID)
{
    try {
        Trace("RunScreensavers start-up code -----------");
        SessionJob = CreateSessionJob();
        TraceFormat("%i  files to load", (int)PlayList.size());
        PrepareTurnOrder();
        while (RunOneTurn() && !IsSignalled(StopEvent)) {
        }
        Trace("RunScreensavers clean-up code -------------");
        ClearProcesses(Processes);
        StopEscapedProcesses();
        Trace("====================RunScreensavers exit OK"
              "===============================================");
    } catch (...) {
        Trace("Exception in RunScreensavers");
        // No screen saver may outlive the session.
        try {
            ClearProcesses(Processes);
        } catch (...) {
        }
    }
    // Whatever could not be stopped ends with the job.
    if (SessionJob)
        CloseHandle(SessionJob);
    SessionJob = NULL;
    // The session window stays until the password is given: the runner must
    // stay behind it to ask. A hold that keeps failing ends the session
    // rather than leave a black screen that nothing answers.
    for (int attempt = 0; attempt < HoldAttempts; ++attempt) {
        try {
            HoldUntilUnlocked();
            break;
        } catch (...) {
            Trace("HoldUntilUnlocked exception");
        }
    }
    SetEvent(StopEvent);
    // Nothing else ends the session: this must happen on every way out.
    PostMessageA(SaverWindow, WM_CLOSE, 0, 0);
    return 0;
}
