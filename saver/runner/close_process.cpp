#include "close_process.h"

#include <stdio.h>

#include "message_wait.h"
#include "process_info.h"
#include "../host/saver_state.h"
#include "../log/message_log.h"
#include "../log/trace.h"
#include "../settings/text_compare.h"

std::string RefusedTermination;

namespace {

BOOL TerminateUnlessRefused(ProcessInfo* record)
{
    if (!RefusedTermination.empty() &&
        SameTextIgnoringCase(record->name.c_str(), RefusedTermination.c_str())) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return TerminateProcess(record->procInfo.hProcess, 0);
}

void TraceName(const char* format, const ProcessInfo* record)
{
    char text[256];
    snprintf(text, sizeof text, format, record->name.c_str());
    Trace(text);
}

bool EndedWithText(ProcessInfo* record, DWORD milliseconds, const char* format)
{
    if (!ProcessEnded(record, milliseconds))
        return false;
    SetForegroundWindow(SaverWindow);
    TraceName(format, record);
    return true;
}

// A window whose thread hangs must not hold the caller: each send gives up
// after the same time the process is given to end.
void SendCloseMessages(HWND window)
{
    DWORD_PTR ignored;
    if (!SendMessageTimeoutA(window, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, CloseWindowWait, &ignored))
        return;
    SendMessageTimeoutA(window, WM_QUIT, 0, 0, SMTO_ABORTIFHUNG, CloseWindowWait, &ignored);
}

bool Terminate(ProcessInfo* record)
{
    SetLastError(0);
    if (!TerminateUnlessRefused(record)) {
        DWORD code = GetLastError();
        char text[256];
        if (code != 0) {
            char system[100] = "";
            FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, code,
                           0, system, sizeof system, NULL);
            snprintf(text, sizeof text, "Error terminating %s; %s", record->name.c_str(), system);
        } else {
            snprintf(text, sizeof text, "Could not terminate %s", record->name.c_str());
        }
        Trace(text);
        LogMessage(text);
        SetForegroundWindow(SaverWindow);
        return false;
    }
    if (EndedWithText(record, TerminateWait, "%s  was killed"))
        return true;
    char text[256];
    snprintf(text, sizeof text, "%s did not terminate", record->name.c_str());
    Trace(text);
    LogMessage(text);
    return false;
}

}  // namespace

bool ProcessEnded(ProcessInfo* record, DWORD milliseconds)
{
    if (!record)
        return true;
    return WaitHandlingSentMessages(1, &record->procInfo.hProcess, milliseconds) != WAIT_TIMEOUT;
}

bool CloseProcess(ProcessInfo* record)
{
    try {
        if (!record)
            return true;
        if (!record->procInfo.hProcess)
            return false;
        if (EndedWithText(record, 0, "%s  self terminated"))
            return true;
        if (record->window && IsWindow(record->window))
            SendCloseMessages(record->window);
        if (EndedWithText(record, CloseWindowWait, "%s terminated by WM_CLOSE"))
            return true;
        if (record->procInfo.dwThreadId) {
            PostThreadMessageA(record->procInfo.dwThreadId, WM_DESTROY, 0, 0);
            PostThreadMessageA(record->procInfo.dwThreadId, WM_QUIT, 0, 0);
        }
        TraceName("Posting WM_QUIT to main thread of %s", record);
        if (EndedWithText(record, CloseThreadWait, "%s terminated by WM_QUIT"))
            return true;
        TraceName("No response for WM_QUIT. Trying TerminateProcess %s", record);
        return Terminate(record);
    } catch (...) {
        Trace("Exception in CloseProcess");
        return false;
    }
}
