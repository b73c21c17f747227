// Waiting on handles from a thread that other programs may send messages to,
// and the small helpers of the events and threads waited on.
#pragma once
#include <windows.h>

// Like WaitForMultipleObjects with bWaitAll FALSE, but handles the messages
// other threads send to this one meanwhile. A thread that has called window
// functions has a message queue, and a screen saver closing its window may
// send to it; not answering would hold that screen saver, and so this wait.
DWORD WaitHandlingSentMessages(DWORD count, const HANDLE* handles, DWORD milliseconds);

// True when the event (or thread, or process) is signalled now; a handle that
// cannot be waited on counts as signalled, so that no loop waits on it for ever.
bool IsSignalled(HANDLE handle);

// Closes the handle when there is one and forgets it.
void CloseIfOpen(HANDLE& handle);
