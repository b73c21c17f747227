// Functions that not every Windows of the packages has, looked up by name in
// a system library the process has loaded already (KERNEL32.DLL, USER32.DLL,
// SHELL32.DLL), so that the program still starts where they are missing.
#pragma once
#include <windows.h>

FARPROC LoadedSystemFunction(const char* library, const char* name);

// The same as the function's own type; null where this Windows lacks it.
template <typename Function>
Function SystemFunction(const char* library, const char* name)
{
    return (Function)(void*)LoadedSystemFunction(library, name);
}

// A 32-bit program on 64-bit Windows (x64, or ARM64); false where the system
// cannot tell (it has no IsWow64Process: before XP, and then it is no WOW64).
bool RunsUnderWow64();
