#include "registry_text.h"

#include <string.h>

void TerminateRegistryText(char* data, DWORD size)
{
    const void* nul = memchr(data, '\0', size);
    if (!nul)
        data[size] = '\0';
}

bool ReadRegistryText(HKEY key, const char* name, char* buffer, DWORD capacity)
{
    if (!buffer || capacity == 0)
        return false;
    buffer[0] = '\0';
    DWORD type = 0;
    DWORD size = capacity - 1;  // room for a terminator the value may lack
    if (RegQueryValueExA(key, name, NULL, &type, (BYTE*)buffer, &size) != ERROR_SUCCESS)
        return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        buffer[0] = '\0';
        return false;
    }
    TerminateRegistryText(buffer, size);
    return true;
}

bool ReadRegistryNumber(HKEY key, const char* name, DWORD* value)
{
    BYTE data[256];
    DWORD type = 0;
    DWORD size = sizeof data;
    if (RegQueryValueExA(key, name, NULL, &type, data, &size) != ERROR_SUCCESS)
        return false;
    if (type != REG_DWORD || size != sizeof(DWORD))
        return false;
    memcpy(value, data, sizeof(DWORD));
    return true;
}

bool WriteRegistryText(HKEY key, const char* name, const char* text)
{
    return RegSetValueExA(key, name, 0, REG_SZ, (const BYTE*)text, (DWORD)strlen(text) + 1) ==
           ERROR_SUCCESS;
}
