#include "watch.h"

#include <stdio.h>

#include <string>
#include <vector>

#include "message_wait.h"
#include "process_info.h"
#include "session_handles.h"
#include "session_job.h"
#include "toolhelp.h"
#include "saver/log/message_log.h"
#include "saver/log/trace.h"
#include "shared/owned.h"
#include "shared/system_function.h"
#include "shared/text_compare.h"

unsigned NumWindows = 0;

namespace {

bool OpensModalDialog(const char* exeName)
{
    static const char prefix[] = "System";
    for (size_t i = 0; i < sizeof prefix - 1; ++i) {
        if (exeName[i] == '\0' || UpperCaseChar(exeName[i]) != UpperCaseChar(prefix[i]))
            return false;
    }
    return true;
}

typedef BOOL(WINAPI* GetProcessTimesFunction)(HANDLE, FILETIME*, FILETIME*, FILETIME*, FILETIME*);

// 0 where it cannot be read (the Windows 95 family has no GetProcessTimes).
ULONGLONG CreationTime(HANDLE process)
{
    // Not on the Windows 95 family: looked up, not imported.
    GetProcessTimesFunction times =
        SystemFunction<GetProcessTimesFunction>("KERNEL32.DLL", "GetProcessTimes");
    FILETIME created, exited, kernelTime, userTime;
    if (!times || !process || !times(process, &created, &exited, &kernelTime, &userTime))
        return 0;
    return ((ULONGLONG)created.dwHighDateTime << 32) | created.dwLowDateTime;
}

// A process recorded in this turn: its id stays known after its record went.
struct KnownProcess {
    DWORD pid;
    ULONGLONG created;
};
std::vector<KnownProcess> TurnProcesses;
std::string TurnSaver;          // the path of the turn's screen saver
unsigned ChildLinesLogged = 0;  // "started ... process" lines of this turn
unsigned ChildrenUnlogged = 0;  // started programs past those lines
const unsigned ChildLinesPerTurn = 5;

const unsigned EscapeRounds = 5;     // looks after a stop at the most
const DWORD EscapeLookLimit = 3000;  // ms for all of them together

size_t FindKnown(DWORD pid)
{
    for (size_t i = 0; i < TurnProcesses.size(); ++i) {
        if (TurnProcesses[i].pid == pid)
            return i;
    }
    return TurnProcesses.size();
}

void RememberProcess(DWORD pid, HANDLE process)
{
    if (pid && FindKnown(pid) == TurnProcesses.size())
        TurnProcesses.push_back({pid, CreationTime(process)});
}

void LogChild(const char* parent, const char* exeName)
{
    if (ChildLinesLogged >= ChildLinesPerTurn) {
        ++ChildrenUnlogged;
        return;
    }
    ++ChildLinesLogged;
    if (OpensModalDialog(exeName))
        LogFormat("Screensaver %s has opened modal dialog, possibly error warning!", parent);
    else
        LogFormat("Screensaver %s started %s process", parent, exeName[0] ? exeName : "(unknown)");
}

// Records a process whose parent is a known process of the turn. Process ids
// are reused: one made before its parent id's process (the desktop's shell,
// say, whose own parent ended long ago) is no child of it, and must never be
// stopped with it. Returns whether it was recorded.
bool RecordChild(const PROCESSENTRY32& entry, const KnownProcess& parent, ProcessInfo* parentRecord)
{
    OwnedHandle process(OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION | SYNCHRONIZE,
                                    FALSE, entry.th32ProcessID));
    ULONGLONG created = CreationTime(process.Get());
    if (created && parent.created && created < parent.created)
        return false;
    LogChild(parentRecord ? parentRecord->name.c_str() : TurnSaver.c_str(), entry.szExeFile);
    RememberProcess(entry.th32ProcessID, process.Get());
    if (!process)
        return false;
    auto child = std::make_unique<ProcessInfo>(entry.szExeFile[0] ? entry.szExeFile : "(unknown)");
    child->parent = parentRecord;
    child->procInfo.hProcess = process.Release();
    child->procInfo.dwProcessId = entry.th32ProcessID;
    EnterChild(Processes, std::move(child));
    return true;
}

// False when the job holds everything the turn started and no more
// processes than the records that still run: nothing unrecorded runs, and
// the look at every process of the machine (a snapshot, several
// milliseconds) is spared. A process started just after the count is ended
// with the job all the same.
bool UnrecordedMayRun(HANDLE job)
{
    int held = ProcessesInJob(job);
    if (held < 0)
        return true;
    int running = 0;
    for (ProcessInfo* record : Processes) {
        if (record->procInfo.hProcess &&
            WaitForSingleObject(record->procInfo.hProcess, 0) == WAIT_TIMEOUT)
            ++running;
    }
    return held > running;
}

// One look at the machine's processes: records every process that is not
// known yet and whose parent is. Returns how many it recorded.
unsigned RecordNewDescendants(HANDLE job)
{
    for (ProcessInfo* record : Processes)
        RememberProcess(record->procInfo.dwProcessId, record->procInfo.hProcess);
    if (!UnrecordedMayRun(job))
        return 0;
    std::vector<PROCESSENTRY32> snapshot;
    if (!EnumProcesses(snapshot))
        return 0;
    TraceFormat("NumProcesses=%i", (int)snapshot.size());
    unsigned found = 0;
    for (const PROCESSENTRY32& entry : snapshot) {
        size_t parent = FindKnown(entry.th32ParentProcessID);
        if (parent >= TurnProcesses.size() || FindKnown(entry.th32ProcessID) < TurnProcesses.size())
            continue;
        size_t record = FindByProcessId(Processes, entry.th32ParentProcessID);
        KnownProcess known = TurnProcesses[parent];
        if (RecordChild(entry, known, record < Processes.size() ? Processes[record] : NULL))
            ++found;
    }
    return found;
}

bool EveryRecordHasItsWindow()
{
    for (ProcessInfo* record : Processes) {
        if (!record->window || !IsWindow(record->window))
            return false;
    }
    return true;
}

bool IsTopLevel(HWND window)
{
    HWND desktop = GetDesktopWindow();
    HWND owner = GetWindow(window, GW_OWNER);
    HWND parent = GetParent(window);
    return (!owner && !parent) || owner == desktop || parent == desktop;
}

BOOL CALLBACK AttachWindow(HWND window, LPARAM)
{
    bool topLevel = IsTopLevel(window);
    // Hidden top-level windows (an input method's, a message window's) are not
    // what a screen saver shows, and closing them would not stop it.
    if (topLevel && IsWindowVisible(window)) {
        ++NumWindows;
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        size_t found = FindByProcessId(Processes, processId);
        if (found < Processes.size())
            Processes[found]->window = window;
    }
    return TRUE;
}

BOOL CALLBACK RaiseWindowIfLate(HWND window, LPARAM)
{
    if (!IsTopLevel(window) || !IsWindowVisible(window) ||
        (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST))
        return TRUE;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    size_t found = FindByProcessId(Processes, processId);
    if (found >= Processes.size())
        return TRUE;
    if (!Processes[found]->window || !IsWindow(Processes[found]->window))
        Processes[found]->window = window;
    // Asynchronous: a hung window thread cannot hold the runner.
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
    return TRUE;
}

}  // namespace

void RaiseLateWindows()
{
    if (!Processes.empty())
        EnumWindows(RaiseWindowIfLate, 0);
}

void AttachWindows(DWORD threadId)
{
    if (threadId == 0)
        EnumWindows(AttachWindow, 0);
    else
        EnumThreadWindows(threadId, AttachWindow, 0);
}

void BeginTurnWatch(const char* saverPath)
{
    TurnProcesses.clear();
    TurnSaver = saverPath ? saverPath : "";
    ChildLinesLogged = 0;
    ChildrenUnlogged = 0;
}

void EndTurnWatch()
{
    if (ChildrenUnlogged > 0)
        LogFormat("Screensaver %s started %u more processes", TurnSaver.c_str(), ChildrenUnlogged);
    ChildrenUnlogged = 0;
}

void DetectChildProcesses(HANDLE job)
{
    if (IsSignalled(StopEvent))
        return;
    try {
        // A pass over every window of the desktop costs more than the look
        // at the processes: made only where a record needs its window.
        if (RecordNewDescendants(job) > 0 || !EveryRecordHasItsWindow()) {
            NumWindows = 0;
            AttachWindows(0);
            TraceFormat("NumWindows=%i", (int)NumWindows);
            NumWindows = 0;
        }
    } catch (...) {
        Trace("DetectChildProcesses exception");
    }
}

void StopEscapedProcesses(HANDLE job)
{
    try {
        DWORD start = GetTickCount();
        for (unsigned round = 0; round < EscapeRounds; ++round) {
            if (RecordNewDescendants(job) == 0)
                break;
            AttachWindows(0);
            CloseAllProcesses(Processes);
            if (GetTickCount() - start >= EscapeLookLimit)
                break;
        }
    } catch (...) {
        Trace("StopEscapedProcesses exception");
    }
}
