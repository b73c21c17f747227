#include "watch.h"

#include <stdio.h>

#include <vector>

#include "process_info.h"
#include "session_handles.h"
#include "toolhelp.h"
#include "saver/log/message_log.h"
#include "saver/log/trace.h"
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

bool CreationTime(HANDLE process, ULONGLONG* time)
{
    // Not on the Windows 95 family: looked up, not imported.
    HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
    GetProcessTimesFunction times =
        kernel ? (GetProcessTimesFunction)(void*)GetProcAddress(kernel, "GetProcessTimes") : NULL;
    FILETIME created, exited, kernelTime, userTime;
    if (!times || !process || !times(process, &created, &exited, &kernelTime, &userTime))
        return false;
    *time = ((ULONGLONG)created.dwHighDateTime << 32) | created.dwLowDateTime;
    return true;
}

// Process ids are reused: an entry whose parent id is that of a recorded
// process but that was made before it (the desktop's shell, say, whose own
// parent ended long ago) is no child of it, and must never be stopped with it.
bool MadeBefore(HANDLE process, const ProcessInfo* parent)
{
    ULONGLONG child = 0, adult = 0;
    return CreationTime(process, &child) && CreationTime(parent->procInfo.hProcess, &adult) &&
           child < adult;
}

void RecordChild(const PROCESSENTRY32& entry, ProcessInfo* parent)
{
    HANDLE process = OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE,
                                 entry.th32ProcessID);
    if (process && MadeBefore(process, parent)) {
        CloseHandle(process);
        return;
    }
    if (OpensModalDialog(entry.szExeFile))
        LogFormat("Screensaver %s has opened modal dialog, possibly error warning!",
                  parent->name.c_str());
    else
        LogFormat("Screensaver %s started %s process", parent->name.c_str(), entry.szExeFile);
    if (!process)
        return;
    ProcessInfo* child = new ProcessInfo(entry.szExeFile);
    child->parent = parent;
    child->procInfo.hProcess = process;
    child->procInfo.dwProcessId = entry.th32ProcessID;
    EnterProcess(Processes, child);
}

BOOL CALLBACK AttachWindow(HWND window, LPARAM)
{
    HWND desktop = GetDesktopWindow();
    HWND owner = GetWindow(window, GW_OWNER);
    HWND parent = GetParent(window);
    bool topLevel = (!owner && !parent) || owner == desktop || parent == desktop;
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

}  // namespace

void AttachWindows(DWORD threadId)
{
    if (threadId == 0)
        EnumWindows(AttachWindow, 0);
    else
        EnumThreadWindows(threadId, AttachWindow, 0);
}

void DetectChildProcesses()
{
    if (WaitForSingleObject(StopEvent, 0) != WAIT_TIMEOUT)
        return;
    try {
        std::vector<PROCESSENTRY32> snapshot;
        if (EnumProcesses(snapshot)) {
            TraceFormat("NumProcesses=%i", (int)snapshot.size());
            for (const PROCESSENTRY32& entry : snapshot) {
                size_t parent = FindByProcessId(Processes, entry.th32ParentProcessID);
                size_t self = FindByProcessId(Processes, entry.th32ProcessID);
                if (parent < Processes.size() && self >= Processes.size())
                    RecordChild(entry, Processes[parent]);
            }
        }
        NumWindows = 0;
        AttachWindows(0);
        TraceFormat("NumWindows=%i", (int)NumWindows);
        NumWindows = 0;
    } catch (...) {
        Trace("DetectChildProcesses exception");
    }
}
