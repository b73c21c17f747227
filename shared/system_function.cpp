#include "system_function.h"

FARPROC LoadedSystemFunction(const char* library, const char* name)
{
    HMODULE module = GetModuleHandleA(library);
    return module ? GetProcAddress(module, name) : NULL;
}
