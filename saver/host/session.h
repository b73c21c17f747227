// The full-screen session: the window that covers the screen, the input
// watch, the play-list runner, and the orderly end.
#pragma once
#include <windows.h>

extern BYTE KeyStates[256];     // 1 = key or button seen down at its last poll
extern HANDLE WatchThread;      // the input watch; the runner suspends it

int RunSaverSession();
DWORD WINAPI WatchInput(LPVOID);
