#include "turn_steps.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "input_watch.h"
#include "runner.h"
#include "turn_order.h"
#include "saver/log/message_log.h"
#include "saver/log/trace.h"
#include "saver/processes/close_process.h"
#include "saver/processes/message_wait.h"
#include "saver/processes/process_info.h"
#include "saver/processes/session_job.h"
#include "saver/processes/watch.h"
#include "saver/settings/file_look.h"
#include "saver/windows/display_mode.h"
#include "saver/windows/saver_state.h"
#include "shared/kept_password.h"
#include "shared/owned.h"
#include "shared/system_text.h"

namespace {

const DWORD WatchLookLimit = 500;  // ms at most for one more pass of the input watch

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

const DWORD LateWindowLook = 250;     // ms between looks for a screen saver's late window
const DWORD PassingFailureWait = 300;  // ms before a start that failed for a passing reason is tried again

// A start that may well succeed a moment later: a scanner holding the newly
// written file, or the system short of something for an instant.
bool PassingStartFailure(DWORD code)
{
    return code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION ||
           code == ERROR_INTERNAL_ERROR || code == ERROR_NOT_ENOUGH_MEMORY ||
           code == ERROR_OUTOFMEMORY || code == ERROR_NO_SYSTEM_RESOURCES;
}

// Makes the process, once more after a short moment (which input cuts
// short) when the first try failed for a passing reason.
bool StartTryingTwice(HANDLE job, char* commandLine, PROCESS_INFORMATION* started)
{
    bool notHeld = false;
    bool ok = StartSuspendedInJob(job, commandLine, started, &notHeld);
    if (!ok && PassingStartFailure(GetLastError())) {
        HANDLE events[3] = {StopEvent, InputEvent, NextEvent};
        if (WaitHandlingSentMessages(3, events, PassingFailureWait) == WAIT_TIMEOUT)
            ok = StartSuspendedInJob(job, commandLine, started, &notHeld);
    }
    if (notHeld)
        TraceAndLog("This session runs in a job that keeps what it starts: the processes of its "
                    "screen savers are stopped only as far as they can be found.");
    return ok;
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

}  // namespace

bool InputCame()
{
    return IsSignalled(StopEvent) || IsSignalled(InputEvent) || IsSignalled(NextEvent);
}

ProcessInfo* StartRecorded(HANDLE job, const char* path, char* commandLine, bool built,
                           bool ownRecord, bool* heldBack)
{
    if (heldBack)
        *heldBack = false;
    PROCESS_INFORMATION started = {};
    bool ok = built;
    DWORD attributes;
    if (!ok) {
        // Never run a command line cut short: count it as a failed start.
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
    } else if (LookAtFile(path, FileLookLimit, &attributes) == FileAnswer::NoAnswer) {
        // A server or drive that went away would hold the start, and the
        // runner with it, while keys wait.
        ok = false;
    } else {
        ok = StartTryingTwice(job, commandLine, &started);
    }
    if (!ok) {
        // Cut short by input as it was tried again: it never ran.
        if (InputCame()) {
            if (heldBack)
                *heldBack = true;
            return NULL;
        }
        ReportFailedStart(path, GetLastError());
        return NULL;
    }
    // Made while a key went down (or the session was closed): ended before it
    // has run a single instruction, with nothing to be polite to.
    if (InputCame()) {
        TerminateProcess(started.hProcess, 0);
        WaitForSingleObject(started.hProcess, TerminateWait);
        CloseHandle(started.hProcess);
        CloseHandle(started.hThread);
        if (heldBack)
            *heldBack = true;
        return NULL;
    }
    ResumeThread(started.hThread);
    auto owned = std::make_unique<ProcessInfo>(path);
    ProcessInfo* record = owned.get();
    record->procInfo = started;
    if (ownRecord)
        EnterChild(Processes, std::move(owned));
    else
        EnterProcess(Processes, std::move(owned));
    return record;
}

void WaitUntilReady(ProcessInfo* record, const HANDLE* ends, DWORD count)
{
    HANDLE self = GetCurrentProcess(), duplicate = NULL;
    if (!DuplicateHandle(self, record->procInfo.hProcess, self, &duplicate, 0, FALSE,
                         DUPLICATE_SAME_ACCESS))
        return;
    OwnedHandle copy(duplicate);
    HANDLE thread = CreateThread(NULL, 0, WaitForIdle, copy.Get(), 0, NULL);
    if (!thread)
        return;
    copy.Release();  // the thread's now
    // The record keeps the thread's end as its ready signal.
    if (record->readySignal)
        CloseHandle(record->readySignal);
    record->readySignal = thread;
    HANDLE all[MAXIMUM_WAIT_OBJECTS];
    all[0] = thread;
    for (DWORD i = 0; i < count && i + 1 < MAXIMUM_WAIT_OBJECTS; ++i)
        all[i + 1] = ends[i];
    WaitHandlingSentMessages(count + 1, all, InputIdleWait);
}

DWORD WaitRaisingLateWindows(DWORD count, const HANDLE* handles, DWORD length)
{
    DWORD start = GetTickCount();
    for (;;) {
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= length)
            return WAIT_TIMEOUT;
        DWORD result =
            WaitHandlingSentMessages(count, handles, std::min(length - elapsed, LateWindowLook));
        if (result != WAIT_TIMEOUT)
            return result;
        RaiseLateWindows();
    }
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

void WaitRestOfTurn(DWORD turnStart, DWORD length)
{
    DWORD elapsed = GetTickCount() - turnStart;
    if (elapsed >= length)
        return;
    HANDLE events[3] = {StopEvent, InputEvent, NextEvent};
    WaitHandlingSentMessages(3, events, length - elapsed);
}

void StopTurn(HANDLE job)
{
    // The screen saver may have ended by itself and switched Ctrl+Alt+Del
    // back on: off again before the stop's looks and stages.
    RenewScreenSaverRunning();
    BringSessionWindowToFront();
    DetectChildProcesses(job);
    BringSessionWindowToFront();
    // Input waits for nothing that has no window to close yet.
    CloseAllProcesses(Processes, InputCame());
    StopEscapedProcesses(job);
    // Nothing a screen saver started outlives its turn, by whatever route.
    EndWhatTheJobHolds(job);
    // A mode the screen saver switched to goes with it.
    PutBackDisplayMode();
    BringSessionWindowToFront();
    // What ended may have switched Ctrl+Alt+Del back on.
    RenewScreenSaverRunning();
    EndTurnWatch();
    // A key at a turn's end (a screen saver that ended itself on it, or one
    // pressed as the runner stopped one) is seen by the input watch only at
    // its next pass: that pass is made before anything else is started.
    LetTheWatchLookOnce(WatchLookLimit);
}

bool ExcludeIfMisbehaving(const char* path, uint32_t position)
{
    size_t found = FindByName(Processes, path);
    if (found >= Processes.size() || Processes[found]->failCount <= MisbehaveLimit)
        return false;
    ExcludeScreenSaver(position);
    DestroyRecord(Processes, found);
    TraceAndLog("%s is excluded from current session play-list as misbehaved.", path);
    return true;
}
