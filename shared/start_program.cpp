#include "start_program.h"

bool StartProgram(char* commandLine, DWORD creationFlags, PROCESS_INFORMATION* started,
                  bool ownStartupFlags)
{
    STARTUPINFOA startup;
    GetStartupInfoA(&startup);
    if (!ownStartupFlags)
        startup.dwFlags = 0;
    if (CreateProcessA(NULL, commandLine, NULL, NULL, FALSE, creationFlags, NULL, NULL, &startup,
                       started))
        return true;
    DWORD error = GetLastError();
    *started = PROCESS_INFORMATION();
    SetLastError(error);
    return false;
}
