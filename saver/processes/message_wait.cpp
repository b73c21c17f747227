#include "message_wait.h"

DWORD WaitHandlingSentMessages(DWORD count, const HANDLE* handles, DWORD milliseconds)
{
    DWORD start = GetTickCount();
    for (;;) {
        DWORD elapsed = GetTickCount() - start;
        DWORD left = milliseconds == INFINITE  ? INFINITE
                     : elapsed >= milliseconds ? 0
                                               : milliseconds - elapsed;
        DWORD result = MsgWaitForMultipleObjects(count, handles, FALSE, left, QS_SENDMESSAGE);
        if (result != WAIT_OBJECT_0 + count)
            return result;
        // Handles the sent messages only; posted ones stay queued.
        MSG message;
        PeekMessageA(&message, NULL, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

bool IsSignalled(HANDLE handle)
{
    return WaitForSingleObject(handle, 0) != WAIT_TIMEOUT;
}

void CloseIfOpen(HANDLE& handle)
{
    if (handle)
        CloseHandle(handle);
    handle = NULL;
}
