#include "hosted_start.h"

bool StartHostedSaver(char* commandLine, DWORD creationFlags, PROCESS_INFORMATION* started)
{
    STARTUPINFOA startup;
    GetStartupInfoA(&startup);
    if (CreateProcessA(NULL, commandLine, NULL, NULL, FALSE, creationFlags, NULL, NULL, &startup,
                       started))
        return true;
    DWORD error = GetLastError();
    *started = PROCESS_INFORMATION();
    SetLastError(error);
    return false;
}
