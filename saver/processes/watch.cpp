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

void RecordChild(const PROCESSENTRY32& entry, ProcessInfo* parent)
{
    if (OpensModalDialog(entry.szExeFile))
        LogFormat("Screensaver %s has opened modal dialog, possibly error warning!",
                  parent->name.c_str());
    else
        LogFormat("Screensaver %s started %s process", parent->name.c_str(), entry.szExeFile);

    HANDLE process = OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE,
                                 entry.th32ProcessID);
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
