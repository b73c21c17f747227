#include "close_process.h"

#include <stdio.h>

#include "message_wait.h"
#include "process_info.h"
#include "session_handles.h"
#include "watch.h"
#include "saver/log/message_log.h"
#include "saver/log/trace.h"
#include "shared/system_text.h"
#include "shared/text_compare.h"

std::string RefusedTermination;

namespace {

// At most this many handles go into one wait.
const size_t WaitGroup = MAXIMUM_WAIT_OBJECTS - 1;
const DWORD WindowLookAgain = 50;  // ms between looks for late windows in the close stage

void TraceName(const char* format, const ProcessInfo* record)
{
    TraceFormat(format, record->name.c_str());
}

// The records (by position) whose processes still run.
typedef std::vector<size_t> Running;

bool HasEnded(const ProcessInfo* record)
{
    return WaitForSingleObject(record->procInfo.hProcess, 0) != WAIT_TIMEOUT;
}

// The ready signals still to come of running records without a window: the
// close stage wakes on them to look for the window. False when one of those
// records has none to wake on (it is looked for at intervals instead).
bool PendingReadySignals(const std::vector<ProcessInfo*>& records, const Running& running,
                         std::vector<HANDLE>* signals)
{
    signals->clear();
    bool all = true;
    for (size_t position : running) {
        const ProcessInfo* record = records[position];
        if (record->window && IsWindow(record->window))
            continue;
        if (record->readySignal && WaitForSingleObject(record->readySignal, 0) == WAIT_TIMEOUT)
            signals->push_back(record->readySignal);
        else
            all = false;
    }
    return all;
}

// Waits until every process of the running records has ended or the time is
// up, or one of wakes is signalled; marks the ended ones with the text and
// drops them from running.
void WaitForEnds(const std::vector<ProcessInfo*>& records, Running* running,
                 std::vector<bool>* ended, DWORD milliseconds, const char* format,
                 const std::vector<HANDLE>& wakes = std::vector<HANDLE>())
{
    DWORD start = GetTickCount();
    bool woken = false;
    for (;;) {
        Running still;
        for (size_t position : *running) {
            if (HasEnded(records[position])) {
                (*ended)[position] = true;
                TraceName(format, records[position]);
            } else {
                still.push_back(position);
            }
        }
        running->swap(still);
        DWORD elapsed = GetTickCount() - start;
        if (running->empty() || elapsed >= milliseconds || woken)
            break;
        // Wakes when any of the first group ends, or a wake comes, and
        // handles messages sent meanwhile (a screen saver closing its window
        // may send one here).
        HANDLE handles[WaitGroup];
        DWORD count = 0;
        for (size_t i = 0; i < running->size() && count < WaitGroup; ++i)
            handles[count++] = records[(*running)[i]]->procInfo.hProcess;
        DWORD processes = count;
        for (size_t i = 0; i < wakes.size() && count < WaitGroup; ++i)
            handles[count++] = wakes[i];
        DWORD result = WaitHandlingSentMessages(count, handles, milliseconds - elapsed);
        woken = result >= WAIT_OBJECT_0 + processes && result < WAIT_OBJECT_0 + count;
    }
    BringSessionWindowToFront();
}

// WM_CLOSE, then WM_QUIT, to each window not closed yet (sent keeps each
// record's last), in order; the sends share the time of the stage, and a
// window whose thread hangs is given up at once.
void SendCloseMessages(const std::vector<ProcessInfo*>& records, const Running& running,
                       std::vector<HWND>* sent)
{
    DWORD start = GetTickCount();
    for (size_t position : running) {
        HWND window = records[position]->window;
        if (!window || !IsWindow(window) || (*sent)[position] == window)
            continue;
        (*sent)[position] = window;
        DWORD elapsed = GetTickCount() - start;
        DWORD left = elapsed < CloseWindowWait ? CloseWindowWait - elapsed : 1;
        DWORD_PTR ignored;
        if (SendMessageTimeoutA(window, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, left, &ignored))
            SendMessageTimeoutA(window, WM_QUIT, 0, 0, SMTO_ABORTIFHUNG, left, &ignored);
    }
}

// WM_QUIT to the main thread of each, or, for a process the runner did not
// start (a child, whose threads it was not told), to its window's thread.
// False when there was no thread to post to: the stage then waits for nothing.
bool PostQuitToThreads(const std::vector<ProcessInfo*>& records, const Running& running)
{
    bool posted = false;
    for (size_t position : running) {
        ProcessInfo* record = records[position];
        DWORD thread = record->procInfo.dwThreadId;
        if (!thread && record->window && IsWindow(record->window))
            thread = GetWindowThreadProcessId(record->window, NULL);
        if (thread) {
            PostThreadMessageA(thread, WM_DESTROY, 0, 0);
            posted = PostThreadMessageA(thread, WM_QUIT, 0, 0) || posted;
        }
        TraceName("Posting WM_QUIT to main thread of %s", record);
    }
    return posted;
}

BOOL TerminateUnlessRefused(ProcessInfo* record)
{
    if (!RefusedTermination.empty() &&
        SameTextIgnoringCase(record->name.c_str(), RefusedTermination.c_str())) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return TerminateProcess(record->procInfo.hProcess, 0);
}

// Terminates each running process; those that refuse leave running with
// their message logged.
void Terminate(const std::vector<ProcessInfo*>& records, Running* running)
{
    Running terminated;
    for (size_t position : *running) {
        ProcessInfo* record = records[position];
        TraceName("No response for WM_QUIT. Trying TerminateProcess %s", record);
        SetLastError(0);
        if (TerminateUnlessRefused(record)) {
            terminated.push_back(position);
            continue;
        }
        DWORD code = GetLastError();
        if (code != 0) {
            char system[100];
            FormatSystemText(code, system, sizeof system);
            TraceAndLog("Error terminating %s; %s", record->name.c_str(), system);
        } else {
            TraceAndLog("Could not terminate %s", record->name.c_str());
        }
    }
    running->swap(terminated);
}

// The user is waiting: what has no window to close is ended at once (its
// window is looked for once more first), and leaves running.
void EndThoseWithoutWindows(const std::vector<ProcessInfo*>& records, Running* running,
                            std::vector<bool>* ended)
{
    AttachWindows(0);
    Running windowless, windowed;
    for (size_t position : *running) {
        HWND window = records[position]->window;
        (window && IsWindow(window) ? windowed : windowless).push_back(position);
    }
    if (windowless.empty())
        return;
    Terminate(records, &windowless);
    WaitForEnds(records, &windowless, ended, TerminateWait, "%s  ended at once: no window yet");
    running->swap(windowed);
}

}  // namespace

void CloseProcesses(const std::vector<ProcessInfo*>& records, std::vector<bool>* ended, bool urgent)
{
    ended->assign(records.size(), false);
    Running running;
    for (size_t i = 0; i < records.size(); ++i) {
        if (!records[i])
            (*ended)[i] = true;
        else if (records[i]->procInfo.hProcess)
            running.push_back(i);
    }
    try {
        WaitForEnds(records, &running, ended, 0, "%s  self terminated");
        if (running.empty())
            return;
        if (urgent)
            EndThoseWithoutWindows(records, &running, ended);
        if (running.empty())
            return;
        // A screen saver stopped while it starts makes its window only now:
        // the stage looks for windows again and closes those found late.
        std::vector<HWND> sent(records.size(), NULL);
        DWORD stageStart = GetTickCount();
        for (;;) {
            AttachWindows(0);
            SendCloseMessages(records, running, &sent);
            DWORD elapsed = GetTickCount() - stageStart;
            if (running.empty() || elapsed >= CloseWindowWait)
                break;
            // A record still without its window wakes the wait as the start
            // becomes ready for input (its window is made by then); one with
            // no such signal is looked for at intervals.
            std::vector<HANDLE> readySignals;
            DWORD slice = CloseWindowWait - elapsed;
            if (!PendingReadySignals(records, running, &readySignals) && slice > WindowLookAgain)
                slice = WindowLookAgain;
            WaitForEnds(records, &running, ended, slice, "%s terminated by WM_CLOSE", readySignals);
        }
        if (running.empty())
            return;
        bool posted = PostQuitToThreads(records, running);
        WaitForEnds(records, &running, ended, posted ? CloseThreadWait : 0,
                    "%s terminated by WM_QUIT");
        if (running.empty())
            return;
        Terminate(records, &running);
        WaitForEnds(records, &running, ended, TerminateWait, "%s  was killed");
        for (size_t position : running)
            TraceAndLog("%s did not terminate", records[position]->name.c_str());
    } catch (...) {
        Trace("Exception in CloseProcess");
    }
}

bool CloseProcess(ProcessInfo* record)
{
    if (!record)
        return true;
    if (!record->procInfo.hProcess)
        return false;
    std::vector<bool> ended;
    CloseProcesses(std::vector<ProcessInfo*>(1, record), &ended);
    return ended[0];
}

bool ProcessEnded(ProcessInfo* record, DWORD milliseconds)
{
    if (!record)
        return true;
    return WaitHandlingSentMessages(1, &record->procInfo.hProcess, milliseconds) != WAIT_TIMEOUT;
}
