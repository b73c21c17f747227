#include "registry_key.h"

#include <string.h>

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
    // The whole capacity is offered: a text of capacity - 1 characters fits
    // with its terminator, or without one (then one byte is left for it).
    DWORD type = 0;
    DWORD size = capacity;
    if (!ReadRaw(name, &type, (BYTE*)buffer, &size) || (type != REG_SZ && type != REG_EXPAND_SZ)) {
        buffer[0] = '\0';
        return false;
    }
    if (memchr(buffer, '\0', size))
        return true;
    if (size >= capacity) {
        buffer[0] = '\0';
        return false;
    }
    buffer[size] = '\0';
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
