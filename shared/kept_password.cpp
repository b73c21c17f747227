#include "kept_password.h"

#include <string.h>

#include "names.h"
#include "owned.h"
#include "registry_key.h"

namespace {

const char KeptNameValue[] = "KeptPasswordName";
const char KeptDataValue[] = "KeptPasswordValue";
const char KeptRunningValue[] = "KeptScreenSaverRunning";
const DWORD LongestPasswordValue = 256;

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

bool KeptPasswordIsRestorable(const char* name, DWORD type, DWORD size)
{
    if (!IsPasswordValueName(name) || size > LongestPasswordValue)
        return false;
    return type == REG_SZ || type == REG_BINARY || (type == REG_DWORD && size == sizeof(DWORD));
}

bool RestoreKeptPasswordSetting()
{
    RegistryKey settings;
    if (!settings.Open(HKEY_CURRENT_USER, RV_SETTINGS_KEY, KEY_QUERY_VALUE))
        return false;
    char name[32] = "";
    BYTE data[LongestPasswordValue];
    DWORD type = 0, size = sizeof data;
    bool named = settings.ReadText(KeptNameValue, name, sizeof name);
    bool read = settings.ReadRaw(KeptDataValue, &type, data, &size);
    DWORD foundType = 0, foundSize = 0;
    if (!settings.ReadRaw(KeptNameValue, &foundType, NULL, &foundSize) &&
        !settings.ReadRaw(KeptDataValue, &foundType, NULL, &foundSize))
        return false;
    settings.Close();
    // A data value alone was kept by a session killed before it switched
    // anything off; a name, type or size the system never uses is no
    // password setting. Either way the pair goes.
    RegistryKey desktop;
    bool restored = named && read && KeptPasswordIsRestorable(name, type, size) &&
                    desktop.Open(HKEY_CURRENT_USER, RV_DESKTOP_KEY, KEY_SET_VALUE) &&
                    desktop.WriteRaw(name, type, data, size);
    ForgetPasswordSetting();
    return restored;
}

void SetScreenSaverRunning(bool running)
{
    RegistryKey key;
    // Noted before it is set, forgotten after it is cleared.
    if (running && key.Create(HKEY_CURRENT_USER, RV_SETTINGS_KEY))
        key.WriteDword(KeptRunningValue, 1);
    UINT previous = 0;
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, running ? TRUE : FALSE, &previous, 0);
    if (!running && key.Open(HKEY_CURRENT_USER, RV_SETTINGS_KEY, KEY_SET_VALUE))
        key.DeleteValue(KeptRunningValue);
}

void RenewScreenSaverRunning()
{
    // Set whatever it reads: a process may answer from a copy of its own
    // (Wine does), and Windows 95 cannot answer at all.
    UINT previous = 0;
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, TRUE, &previous, 0);
}

void RestoreKeptSystemSettings()
{
    RestoreKeptPasswordSetting();
    RegistryKey key;
    DWORD kept = 0;
    if (key.Open(HKEY_CURRENT_USER, RV_SETTINGS_KEY, KEY_QUERY_VALUE) &&
        key.ReadDword(KeptRunningValue, &kept)) {
        key.Close();
        SetScreenSaverRunning(false);
    }
}

bool SessionIsRunning()
{
    if (OwnedHandle(OpenMutexA(SYNCHRONIZE, FALSE, RV_SESSION_MUTEX)))
        return true;
    // The name may be held by another kind of object: the session's window
    // tells too.
    return FindWindowA(RV_SAVER_CLASS, RV_SAVER_TITLE) != NULL;
}
