// Watching a running screen saver: the processes it starts, and the
// top-level windows of every recorded process.
#pragma once
#include <windows.h>

// Top-level windows met by the last window pass.
extern unsigned NumWindows;

// A turn's watch: every process recorded from its start on is remembered
// (with its creation time) until the next turn begins, so that what they
// start is found also after their records went with the stop.
void BeginTurnWatch(const char* saverPath);
// Writes the count of the turn's started programs that were not logged one
// by one (a screen saver that starts a swarm of them).
void EndTurnWatch();

// Records every new process whose parent is recorded, and logs it. The
// session's job (or null) tells when there can be none.
void DetectChildProcesses(HANDLE job = NULL);

// After a stop: records and stops what the turn's processes started that was
// not recorded yet (started after the look before the stop, or while being
// stopped), again until a look finds nothing new, within bounds. Also once
// the session is ending.
void StopEscapedProcesses(HANDLE job);

// Gives each recorded process its visible top-level window (the last one met):
// every window when threadId is 0, else the windows of that thread.
void AttachWindows(DWORD threadId);

// Brings every visible top-level window of a recorded process that is not
// above the cover yet (made late, or not topmost) to the top, without
// activating it; gives a record without a window the first one met.
void RaiseLateWindows();
