#include "session_job.h"

#include "shared/owned.h"
#include "shared/start_program.h"
#include "shared/system_function.h"

namespace {

typedef HANDLE(WINAPI* CreateJobObjectFunction)(LPSECURITY_ATTRIBUTES, LPCSTR);
typedef BOOL(WINAPI* SetInformationJobObjectFunction)(HANDLE, JOBOBJECTINFOCLASS, LPVOID, DWORD);
typedef BOOL(WINAPI* QueryInformationJobObjectFunction)(HANDLE, JOBOBJECTINFOCLASS, LPVOID, DWORD,
                                                        LPDWORD);
typedef BOOL(WINAPI* AssignProcessToJobObjectFunction)(HANDLE, HANDLE);
typedef BOOL(WINAPI* IsProcessInJobFunction)(HANDLE, HANDLE, PBOOL);
typedef BOOL(WINAPI* TerminateJobObjectFunction)(HANDLE, UINT);

// CREATE_BREAKAWAY_FROM_JOB where this program runs in a job of its own
// that lets its children out: on Windows before 8 a process in one job
// cannot be put in another.
DWORD BreakawayFlag = 0;
bool NotHeldTold = false;  // a start the job refused: it no longer holds everything

DWORD BreakawayFromOwnJob()
{
    IsProcessInJobFunction inJob =
        SystemFunction<IsProcessInJobFunction>("KERNEL32.DLL", "IsProcessInJob");
    QueryInformationJobObjectFunction query = SystemFunction<QueryInformationJobObjectFunction>(
        "KERNEL32.DLL", "QueryInformationJobObject");
    BOOL within = FALSE;
    if (!inJob || !query || !inJob(GetCurrentProcess(), NULL, &within) || !within)
        return 0;
    JOBOBJECT_BASIC_LIMIT_INFORMATION own;
    ZeroMemory(&own, sizeof own);
    // A null job: the one this process is in.
    if (!query(NULL, JobObjectBasicLimitInformation, &own, sizeof own, NULL))
        return 0;
    // Silent breakaway lets every child out already.
    if (own.LimitFlags & JOB_OBJECT_LIMIT_SILENT_BREAKAWAY_OK)
        return 0;
    return (own.LimitFlags & JOB_OBJECT_LIMIT_BREAKAWAY_OK) ? CREATE_BREAKAWAY_FROM_JOB : 0;
}

}  // namespace

HANDLE CreateSessionJob()
{
    CreateJobObjectFunction create =
        SystemFunction<CreateJobObjectFunction>("KERNEL32.DLL", "CreateJobObjectA");
    SetInformationJobObjectFunction setInformation =
        SystemFunction<SetInformationJobObjectFunction>("KERNEL32.DLL", "SetInformationJobObject");
    if (!create || !setInformation ||
        !LoadedSystemFunction("KERNEL32.DLL", "AssignProcessToJobObject"))
        return NULL;
    OwnedHandle job(create(NULL, NULL));
    if (!job)
        return NULL;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits;
    ZeroMemory(&limits, sizeof limits);
    // Everything a hosted screen saver starts, by any route (a launcher that
    // ends at once included), stays in the job and ends with it: no
    // breakaway. The system's own on-demand processes (Wine's desktop among
    // them) exist before the job, as the session window made them.
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!setInformation(job.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits))
        return NULL;
    BreakawayFlag = BreakawayFromOwnJob();
    NotHeldTold = false;
    return job.Release();
}

bool StartSuspendedInJob(HANDLE job, char* commandLine, PROCESS_INFORMATION* started, bool* notHeld)
{
    if (notHeld)
        *notHeld = false;
    DWORD flags = CREATE_SUSPENDED | (job ? BreakawayFlag : 0);
    if (!StartProgram(commandLine, flags, started)) {
        // Refused after all (the job's limits changed): started as a child
        // of this program's job.
        if (!(flags & CREATE_BREAKAWAY_FROM_JOB) ||
            !StartProgram(commandLine, CREATE_SUSPENDED, started))
            return false;
    }
    AssignProcessToJobObjectFunction assign =
        job ? SystemFunction<AssignProcessToJobObjectFunction>("KERNEL32.DLL",
                                                               "AssignProcessToJobObject")
            : NULL;
    // Refused when this program runs in a job that allows neither nesting
    // nor breakaway: the screen saver then runs outside the session's job,
    // and only the runner's own search stops what it starts. Told once.
    if (assign && !assign(job, started->hProcess) && !NotHeldTold) {
        NotHeldTold = true;
        if (notHeld)
            *notHeld = true;
    }
    return true;
}

void EndWhatTheJobHolds(HANDLE job)
{
    TerminateJobObjectFunction terminate =
        job ? SystemFunction<TerminateJobObjectFunction>("KERNEL32.DLL", "TerminateJobObject")
            : NULL;
    if (terminate)
        terminate(job, 0);
}

int ProcessesInJob(HANDLE job)
{
    QueryInformationJobObjectFunction query =
        job && !NotHeldTold ? SystemFunction<QueryInformationJobObjectFunction>(
                                  "KERNEL32.DLL", "QueryInformationJobObject")
                            : NULL;
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting;
    ZeroMemory(&accounting, sizeof accounting);
    if (!query ||
        !query(job, JobObjectBasicAccountingInformation, &accounting, sizeof accounting, NULL))
        return -1;
    return (int)accounting.ActiveProcesses;
}
