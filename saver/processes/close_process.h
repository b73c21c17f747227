// Stopping processes: politely first, by force last, within bounded waits.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

class ProcessInfo;

// Waits on the stages below; sends to windows share the first stage's time,
// so a hung window cannot hold the caller.
const DWORD CloseWindowWait = 500;  // after WM_CLOSE and WM_QUIT to its window
const DWORD CloseThreadWait = 800;  // after WM_DESTROY and WM_QUIT to its main thread
const DWORD TerminateWait = 1000;   // after TerminateProcess

// For the tests, whose Wine always lets a process be terminated: the forced
// end of a process of this name (letter case ignored) fails as if access
// were denied. Empty, and so without effect, in every normal run.
extern std::string RefusedTermination;

// Stops the processes of the records together: each stage is applied to every
// record still running, in the order given (children before their parents),
// and its wait is shared, so stopping many costs no more than stopping one.
// ended[i] tells whether the process of records[i] has ended (true when it
// has no record). Changes nothing in the records. urgent: the user is
// waiting (input came), and a process without a window is ended at once, as
// the stages are meant for a window it does not have (it may be still
// starting, or make none at all).
void CloseProcesses(const std::vector<ProcessInfo*>& records, std::vector<bool>* ended,
                    bool urgent = false);

// One record: true when its process has ended (or there is no record); false
// when it may still run, and for a record without a process handle.
bool CloseProcess(ProcessInfo* record);

// True when there is no record, or its process handle is signalled (or the
// wait failed) within the time.
bool ProcessEnded(ProcessInfo* record, DWORD milliseconds);
