// The job that holds a session's hosted screen savers, on systems with job
// objects (Windows 2000 and later; looked up at run time). Closing it ends
// what it still holds, so a session that is killed leaves no screen saver
// behind.
#pragma once
#include <windows.h>

// A job that ends its processes when its last handle goes; null where the
// system has no jobs.
HANDLE CreateSessionJob();

// Makes the process of a hosted screen saver, inside the job when there is
// one, and leaves it suspended: it is in the job before it runs, and the
// caller resumes it, or ends it before it has run at all (input came while it
// was being made). notHeld is set, once per job, when the job could not take
// it (this program runs in a job that allows neither nesting nor breakaway).
bool StartSuspendedInJob(HANDLE job, char* commandLine, PROCESS_INFORMATION* started,
                         bool* notHeld = NULL);

// After a turn's stop: ends whatever the job still holds (what the screen
// savers started by a route the runner could not follow, such as a launcher
// that ended at once). The job stays, for the next turn.
void EndWhatTheJobHolds(HANDLE job);

// How many processes the job holds now, when it holds everything the
// screen savers started (every start was taken into it); -1 where that
// cannot be told (no job, one refused, or the system does not say).
int ProcessesInJob(HANDLE job);
