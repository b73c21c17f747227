#include "kept_password.h"

#include <string.h>

#include "names.h"

namespace {

const char KeptNameValue[] = "KeptPasswordName";
const char KeptDataValue[] = "KeptPasswordValue";

bool IsPasswordValueName(const char* name)
{
    return strcmp(name, RV_VALUE_IS_SECURE) == 0 || strcmp(name, RV_VALUE_USE_PASSWORD) == 0;
}

}  // namespace

void KeepPasswordSetting(const char* name, DWORD type, const BYTE* data, DWORD size)
{
    HKEY key;
    if (RegCreateKeyA(HKEY_CURRENT_USER, RV_SETTINGS_KEY, &key) != ERROR_SUCCESS)
        return;
    // The data first: a name without data is never acted on.
    RegSetValueExA(key, KeptDataValue, 0, type, data, size);
    RegSetValueExA(key, KeptNameValue, 0, REG_SZ, (const BYTE*)name, (DWORD)strlen(name) + 1);
    RegCloseKey(key);
}

void ForgetPasswordSetting()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, RV_SETTINGS_KEY, 0, KEY_SET_VALUE, &key) !=
        ERROR_SUCCESS)
        return;
    RegDeleteValueA(key, KeptNameValue);
    RegDeleteValueA(key, KeptDataValue);
    RegCloseKey(key);
}

bool RestoreKeptPasswordSetting()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, RV_SETTINGS_KEY, 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS)
        return false;
    char name[32] = "";
    DWORD nameType = 0, nameSize = sizeof name - 1;
    BYTE data[260];
    DWORD type = 0, size = 256;
    bool found =
        RegQueryValueExA(key, KeptNameValue, NULL, &nameType, (BYTE*)name, &nameSize) ==
            ERROR_SUCCESS &&
        nameType == REG_SZ &&
        RegQueryValueExA(key, KeptDataValue, NULL, &type, data, &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    if (!found)
        return false;
    name[nameSize < sizeof name ? nameSize : sizeof name - 1] = '\0';
    bool restored = false;
    if (IsPasswordValueName(name) &&
        RegOpenKeyExA(HKEY_CURRENT_USER, RV_DESKTOP_KEY, 0, KEY_SET_VALUE, &key) ==
            ERROR_SUCCESS) {
        restored = RegSetValueExA(key, name, 0, type, data, size) == ERROR_SUCCESS;
        RegCloseKey(key);
    }
    ForgetPasswordSetting();
    return restored;
}

bool SessionIsRunning()
{
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, RV_SESSION_MUTEX);
    if (!mutex)
        return false;
    CloseHandle(mutex);
    return true;
}
