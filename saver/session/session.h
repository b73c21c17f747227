// The full-screen session: the window that covers the screen, the input
// watch, the play-list runner, and the orderly end.
#pragma once
#include <windows.h>

// False when the session mutex could not be had (another kind of object
// holds its name): the session then checks for another session's window.
extern bool SessionMutexHeld;

// Between turns (runner): when the monitors changed, the main thread makes
// the monitors' panes anew for the new screen.
void RemakePanesIfTheScreenChanged();

// The session: the cover, then (with loadSettings) the stored settings, which
// a long play-list makes slow, then the turns until it ends. Without
// loadSettings it runs on the settings in memory.
int RunSaverSession(bool loadSettings = false);
