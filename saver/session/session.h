// The full-screen session: the window that covers the screen, the input
// watch, the play-list runner, and the orderly end.
#pragma once
#include <windows.h>

extern HANDLE InputEvent;          // a key or mouse button went down
extern BYTE KeyStates[256];        // 1 = key or button seen down at its last poll
extern HANDLE WatchThread;         // the input watch; the runner suspends it
extern volatile LONG WatchPasses;  // whole passes the input watch has made

int RunSaverSession();
DWORD WINAPI WatchInput(LPVOID);
