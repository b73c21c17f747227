// Stopping one process: politely first, by force last, within bounded waits.
#pragma once
#include <windows.h>

#include <string>

class ProcessInfo;

// For the tests, whose Wine always lets a process be terminated: the forced
// end of a process of this name (letter case ignored) fails as if access
// were denied. Empty, and so without effect, in every normal run.
extern std::string RefusedTermination;

// Waits on the stages below; a send to a hung window gives up after this too.
const DWORD CloseWindowWait = 500;   // after WM_CLOSE and WM_QUIT to its window
const DWORD CloseThreadWait = 800;   // after WM_DESTROY and WM_QUIT to its main thread
const DWORD TerminateWait = 1000;    // after TerminateProcess

// True when the process has ended (or there is no record); false when it may
// still run. Changes nothing in the record.
bool CloseProcess(ProcessInfo* record);

// True when there is no record, or its process handle is signalled (or the
// wait failed) within the time.
bool ProcessEnded(ProcessInfo* record, DWORD milliseconds);
