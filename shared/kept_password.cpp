#include "kept_password.h"

#include <string.h>

#include "names.h"
#include "registry_key.h"

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
    RegistryKey key;
    if (!key.Create(HKEY_CURRENT_USER, RV_SETTINGS_KEY))
        return;
    // The data first: a name without data is never acted on.
    key.WriteRaw(KeptDataValue, type, data, size);
    key.WriteText(KeptNameValue, name);
}

void ForgetPasswordSetting()
{
    RegistryKey key;
    if (!key.Open(HKEY_CURRENT_USER, RV_SETTINGS_KEY, KEY_SET_VALUE))
        return;
    key.DeleteValue(KeptNameValue);
    key.DeleteValue(KeptDataValue);
}

bool RestoreKeptPasswordSetting()
{
    RegistryKey settings;
    char name[32];
    BYTE data[260];
    DWORD type = 0, size = 256;
    if (!settings.Open(HKEY_CURRENT_USER, RV_SETTINGS_KEY, KEY_QUERY_VALUE) ||
        !settings.ReadText(KeptNameValue, name, sizeof name) ||
        !settings.ReadRaw(KeptDataValue, &type, data, &size))
        return false;
    settings.Close();
    RegistryKey desktop;
    bool restored = IsPasswordValueName(name) &&
                    desktop.Open(HKEY_CURRENT_USER, RV_DESKTOP_KEY, KEY_SET_VALUE) &&
                    desktop.WriteRaw(name, type, data, size);
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
