#include "registry_key.h"

#include <string.h>

#include <vector>

bool RegistryKey::Open(HKEY root, const char* path, REGSAM access)
{
    Close();
    if (RegOpenKeyExA(root, path, 0, access, &key_) != ERROR_SUCCESS) {
        key_ = NULL;
        return false;
    }
    return true;
}

bool RegistryKey::Create(HKEY root, const char* path, REGSAM access, bool* created)
{
    Close();
    DWORD disposition = 0;
    if (RegCreateKeyExA(root, path, 0, NULL, REG_OPTION_NON_VOLATILE, access, NULL, &key_,
                        &disposition) != ERROR_SUCCESS) {
        key_ = NULL;
        return false;
    }
    if (created)
        *created = disposition == REG_CREATED_NEW_KEY;
    return true;
}

void RegistryKey::Close()
{
    if (key_)
        RegCloseKey(key_);
    key_ = NULL;
}

bool RegistryKey::ReadText(const char* name, char* buffer, DWORD capacity) const
{
    if (!buffer || capacity == 0)
        return false;
    buffer[0] = '\0';
    if (!key_)
        return false;
    // The whole capacity is offered: a text of capacity - 1 characters stored
    // with its terminator fits. One byte more holds the terminator of a text
    // stored without one.
    std::vector<char> data(capacity + 1);
    DWORD type = 0;
    DWORD size = capacity;
    if (RegQueryValueExA(key_, name, NULL, &type, (BYTE*)data.data(), &size) != ERROR_SUCCESS)
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

bool RegistryKey::ReadDword(const char* name, DWORD* value) const
{
    BYTE data[8];
    DWORD type = 0;
    DWORD size = sizeof data;
    if (!ReadRaw(name, &type, data, &size) || type != REG_DWORD || size != sizeof(DWORD))
        return false;
    memcpy(value, data, sizeof(DWORD));
    return true;
}

bool RegistryKey::ReadRaw(const char* name, DWORD* type, BYTE* data, DWORD* size) const
{
    return key_ && RegQueryValueExA(key_, name, NULL, type, data, size) == ERROR_SUCCESS;
}

bool RegistryKey::WriteText(const char* name, const char* text)
{
    return WriteRaw(name, REG_SZ, (const BYTE*)text, (DWORD)strlen(text) + 1);
}

bool RegistryKey::WriteDword(const char* name, DWORD value)
{
    return WriteRaw(name, REG_DWORD, (const BYTE*)&value, sizeof value);
}

bool RegistryKey::WriteRaw(const char* name, DWORD type, const BYTE* data, DWORD size)
{
    return key_ && RegSetValueExA(key_, name, 0, type, data, size) == ERROR_SUCCESS;
}

bool RegistryKey::DeleteValue(const char* name)
{
    return key_ && RegDeleteValueA(key_, name) == ERROR_SUCCESS;
}

void TerminateRegistryText(char* data, DWORD size)
{
    if (!memchr(data, '\0', size))
        data[size] = '\0';
}
