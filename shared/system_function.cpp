#include "system_function.h"

FARPROC LoadedSystemFunction(const char* library, const char* name)
{
    HMODULE module = GetModuleHandleA(library);
    return module ? GetProcAddress(module, name) : NULL;
}

bool RunsUnderWow64()
{
    typedef BOOL(WINAPI * IsWow64ProcessFunction)(HANDLE, PBOOL);
    IsWow64ProcessFunction isWow64 =
        SystemFunction<IsWow64ProcessFunction>("KERNEL32.DLL", "IsWow64Process");
    BOOL wow64 = FALSE;
    return isWow64 && isWow64(GetCurrentProcess(), &wow64) && wow64;
}
