// The job that holds a session's hosted screen savers, on systems with job
// objects (Windows 2000 and later; looked up at run time). Closing it ends
// what it still holds, so a session that is killed leaves no screen saver
// behind.
#pragma once
#include <windows.h>

// A job that ends its processes when its last handle goes; null where the
// system has no jobs.
HANDLE CreateSessionJob();

// Starts a hosted screen saver as StartHostedSaver does, inside the job when
// there is one: suspended until it is in the job, so that it is in the job
// before it runs.
bool StartInSessionJob(HANDLE job, char* commandLine, PROCESS_INFORMATION* started);
