#include "start_program.h"

#include "owned.h"

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

void StartUnwaited(const char* commandLine)
{
    char copy[MAX_PATH + 64];
    lstrcpynA(copy, commandLine, sizeof copy);
    PROCESS_INFORMATION started;
    if (StartProgram(copy, 0, &started, false)) {
        OwnedHandle process(started.hProcess), thread(started.hThread);
    }
}
