#include "session_job.h"

#include "shared/owned.h"
#include "shared/start_program.h"
#include "shared/system_function.h"

namespace {

typedef HANDLE(WINAPI* CreateJobObjectFunction)(LPSECURITY_ATTRIBUTES, LPCSTR);
typedef BOOL(WINAPI* SetInformationJobObjectFunction)(HANDLE, JOBOBJECTINFOCLASS, LPVOID, DWORD);
typedef BOOL(WINAPI* AssignProcessToJobObjectFunction)(HANDLE, HANDLE);

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
    // Only the hosted screen savers themselves: what they start (their own
    // helpers, or a system process started on demand, such as Wine's
    // desktop) stays outside, and the runner stops their children itself.
    limits.BasicLimitInformation.LimitFlags =
        JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_SILENT_BREAKAWAY_OK;
    if (!setInformation(job.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits))
        return NULL;
    return job.Release();
}

bool StartSuspendedInJob(HANDLE job, char* commandLine, PROCESS_INFORMATION* started)
{
    if (!StartProgram(commandLine, CREATE_SUSPENDED, started))
        return false;
    AssignProcessToJobObjectFunction assign =
        job ? SystemFunction<AssignProcessToJobObjectFunction>("KERNEL32.DLL",
                                                               "AssignProcessToJobObject")
            : NULL;
    // Refused when this program already runs in a job that allows no nesting:
    // the screen saver then simply runs outside one.
    if (assign)
        assign(job, started->hProcess);
    return true;
}
