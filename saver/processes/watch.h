// Watching a running screen saver: the processes it starts, and the
// top-level windows of every recorded process.
#pragma once
#include <windows.h>

// Top-level windows met by the last window pass.
extern unsigned NumWindows;

// Records every new process whose parent is recorded, and logs each one.
void DetectChildProcesses();

// Gives each recorded process its visible top-level window (the last one met):
// every window when threadId is 0, else the windows of that thread.
void AttachWindows(DWORD threadId);
