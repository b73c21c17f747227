#include "runner.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "input_watch.h"
#include "monitor_turn.h"
#include "password.h"
#include "session.h"
#include "turn_order.h"
#include "turn_steps.h"
#include "saver/log/message_log.h"
#include "saver/log/trace.h"
#include "saver/processes/hosted_command_lines.h"
#include "saver/processes/message_wait.h"
#include "saver/processes/process_info.h"
#include "saver/processes/session_job.h"
#include "saver/processes/watch.h"
#include "saver/settings/settings_state.h"
#include "saver/windows/display_mode.h"
#include "saver/windows/saver_state.h"
#include "shared/kept_password.h"

namespace {

HANDLE SessionJob = NULL;  // holds the hosted screen savers while the runner runs

const DWORD KeyUpSettle = 100;  // ms the next-screensaver key must read up
const int HoldAttempts = 3;     // of the wait for the password at the end

enum class TurnShown {
    Shown,
    NotStarted,  // a failed start: the turn stays black
    HeldBack,    // input came as it was made: it never ran
};

const LONG MouseSlack = 3;        // pixels the cursor may stray without being moved
const DWORD MouseLookLimit = 300;  // ms the cursor's place may lag the motion (Wine's does)

// The user moved the mouse since the cursor was at start: a screen saver that
// ended then ended on the motion, as screen savers do, and not by a fault.
// Looked at for a short while: the system may tell the screen saver of the
// motion before it moves the cursor. Input ends the look.
bool MouseMovedSince(bool read, const POINT& start)
{
    if (!read)
        return false;
    DWORD began = GetTickCount();
    for (;;) {
        POINT now;
        if (GetCursorPos(&now) &&
            (labs(now.x - start.x) > MouseSlack || labs(now.y - start.y) > MouseSlack))
            return true;
        if (GetTickCount() - began >= MouseLookLimit)
            return false;
        HANDLE events[3] = {StopEvent, InputEvent, NextEvent};
        if (WaitHandlingSentMessages(3, events, WindowPoll) != WAIT_TIMEOUT)
            return false;
    }
}

// Starts the screen saver at FileIndex and shows it for one turn of length
// milliseconds.
TurnShown ShowOneScreensaver(const char* path, DWORD length)
{
    DWORD turnStart = GetTickCount();
    POINT cursorAtStart = {0, 0};
    bool cursorRead = GetCursorPos(&cursorAtStart) != FALSE;
    BeginTurnWatch(path);
    char commandLine[CommandLineLimit];
    bool built = BuildSessionCommandLine(commandLine, sizeof commandLine, path, __argc, __argv);
    bool heldBack = false;
    ProcessInfo* record = StartRecorded(SessionJob, path, commandLine, built, false, &heldBack);
    if (!record) {
        WaitRestOfTurn(turnStart, length);
        return heldBack ? TurnShown::HeldBack : TurnShown::NotStarted;
    }
    HANDLE process = record->procInfo.hProcess;
    DWORD thread = record->procInfo.dwThreadId;
    HANDLE ends[4] = {process, StopEvent, InputEvent, NextEvent};
    WaitUntilReady(record, ends, 4);
    // Its main thread's windows first: the pass over the whole desktop costs
    // more, and is made only for a window made on another thread.
    AttachWindows(thread);
    if (!record->window)
        AttachWindows(0);
    // Some screen savers (and Wine's input-idle signal) are early: give the
    // window a short while to appear before the period starts.
    for (DWORD waited = 0; !record->window && waited < WindowGrace; waited += WindowPoll) {
        if (WaitHandlingSentMessages(4, ends, WindowPoll) != WAIT_TIMEOUT)
            break;
        AttachWindows(thread);
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

    bool endedByItself = WaitRaisingLateWindows(4, ends, length) == WAIT_OBJECT_0;
    // One that ended on the user's mouse only ends its own turn: the next
    // starts at once.
    bool endedAtOnce = endedByItself && GetTickCount() - turnStart < ShortestTurn &&
                       !MouseMovedSince(cursorRead, cursorAtStart);
    DWORD exitCode = 0;
    if (endedAtOnce)
        GetExitCodeProcess(process, &exitCode);
    // The record, and the handle with it, may go with the stop.
    StopTurn(SessionJob);
    // A screen saver that ends itself on the key for the next one is no fault.
    if (endedAtOnce && !IsSignalled(InputEvent) && !IsSignalled(NextEvent)) {
        ReportQuickEnd(path, exitCode);
        WaitRestOfTurn(turnStart, length);
    }
    return TurnShown::Shown;
}

void AskForPassword()
{
    RenewScreenSaverRunning();
    PauseInputWatch();
    try {
        ResetEvent(InputEvent);
        ForgetKeysHeldNow();
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

// Input during the turn asks for the password; the next-screensaver key is
// let go of before anything new starts, and input while it is held asks too.
void AfterTurn()
{
    if (PlayList.empty())
        return;
    if (IsSignalled(InputEvent))
        AskForPassword();
    if (IsSignalled(NextEvent)) {
        WaitForNextKeyUp();
        if (IsSignalled(InputEvent))
            AskForPassword();
    }
    TraceFormat("Processes.size()=%i", (int)Processes.size());
}

// One turn; false when the play-list was found empty.
bool RunOneTurn()
{
    if (PlayList.empty()) {
        LogMessage("Play list is empty. Terminating...");
        return false;
    }
    try {
        RemakePanesIfTheScreenChanged();
        if (MonitorPanes.size() > 1) {
            ShowOnEachMonitor(SessionJob);
            AfterTurn();
            return true;
        }
        uint32_t position = CurrentEntry();
        const char* path = position < Catalogue.size() ? Catalogue[position].c_str() : "";
        std::string kept = path;  // the play-list may shrink below
        TurnShown shown = ShowOneScreensaver(kept.c_str(), CurrentTurnLength());
        bool excluded =
            shown == TurnShown::Shown && ExcludeIfMisbehaving(kept.c_str(), position);
        if (!PlayList.empty()) {
            // One held back has had no turn: the next session begins with it.
            if (!excluded && shown != TurnShown::HeldBack)
                AdvanceTurn();
            AfterTurn();
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
        StopEscapedProcesses(SessionJob);
        PutBackDisplayMode();
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
