// The full-screen session: the window that covers the screen, the input
// watch, the play-list runner, and the orderly end.
#pragma once
#include <windows.h>

extern HANDLE WatchThread;   // the input watch
extern HANDLE NextEvent;     // the next-screensaver key went down
extern BYTE KeyStates[256];  // 1 = key or button seen down at the watch's last poll
// False when the session mutex could not be had (another kind of object
// holds its name): the session then checks for another session's window.
extern bool SessionMutexHeld;

// Returns once the input watch has made one whole pass begun after the call
// (it is woken for it, so this costs one pass), or at once when the session
// ends, input comes or the next-screensaver key is pressed; at most limit ms.
void LetTheWatchLookOnce(DWORD limit);

// Between turns (runner): when the monitors changed, the main thread makes
// the monitors' panes anew for the new screen.
void RemakePanesIfTheScreenChanged();

// The runner's hold on the input watch around its password question: the
// watch finishes its pass and stands still until resumed, and the runner
// may write KeyStates meanwhile.
void PauseInputWatch();
void ResumeInputWatch();

int RunSaverSession();
DWORD WINAPI WatchInput(LPVOID);
