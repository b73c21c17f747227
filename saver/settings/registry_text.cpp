#include "registry_text.h"

#include <string.h>

#include <vector>

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
    // The whole capacity is offered: a text of capacity - 1 characters stored
    // with its terminator fits. One byte more holds the terminator of a text
    // stored without one.
    std::vector<char> data(capacity + 1);
    DWORD type = 0;
    DWORD size = capacity;
    if (RegQueryValueExA(key, name, NULL, &type, (BYTE*)data.data(), &size) != ERROR_SUCCESS)
        return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return false;
    TerminateRegistryText(data.data(), size);
    size_t length = strlen(data.data());
    if (length >= capacity)
        return false;
    memcpy(buffer, data.data(), length + 1);
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
