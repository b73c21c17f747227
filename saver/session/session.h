// The full-screen session: the window that covers the screen, the input
// watch, the play-list runner, and the orderly end.
#pragma once
#include <windows.h>

extern HANDLE WatchThread;         // the input watch
extern volatile LONG WatchPasses;  // whole passes the input watch has made
// False when the session mutex could not be had (another kind of object
// holds its name): the session then checks for another session's window.
extern bool SessionMutexHeld;

// The runner's hold on the input watch around its password question: the
// watch finishes its pass and stands still until resumed, and the runner
// may write KeyStates meanwhile.
void PauseInputWatch();
void ResumeInputWatch();

int RunSaverSession();
DWORD WINAPI WatchInput(LPVOID);
