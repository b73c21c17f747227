// Waiting on handles from a thread that other programs may send messages to.
#pragma once
#include <windows.h>

// Like WaitForMultipleObjects with bWaitAll FALSE, but handles the messages
// other threads send to this one meanwhile. A thread that has called window
// functions has a message queue, and a screen saver closing its window may
// send to it; not answering would hold that screen saver, and so this wait.
DWORD WaitHandlingSentMessages(DWORD count, const HANDLE* handles, DWORD milliseconds);
