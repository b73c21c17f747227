#include "save_settings.h"

#include <windows.h>
#include <shellapi.h>

#include "host_timeout.h"
#include "saver/settings/settings_state.h"
#include "saver/settings/settings_store.h"
#include "saver/windows/saver_state.h"
#include "shared/names.h"
#include "shared/registry_key.h"

namespace {

void DeleteRunEntry(HKEY root)
{
    RegistryKey key;
    if (key.Open(root, RV_RUN_KEY, KEY_SET_VALUE))
        key.DeleteValue(RV_VALUE_COMPANION);
}

void StartCompanion(const char* companionPath)
{
    // An empty path would make the shell open something else entirely.
    bool started = false;
    if (companionPath[0] != '\0') {
        HINSTANCE result = ShellExecuteA(NULL, "open", companionPath, ShowTrayIcon ? NULL : "/u",
                                         NULL, SW_SHOWDEFAULT);
        started = (INT_PTR)result > 32;
    }
    if (!started) {
        // Without a companion that can be started, nothing may start with Windows.
        DeleteRunEntry(HKEY_LOCAL_MACHINE);
        DeleteRunEntry(HKEY_CURRENT_USER);
    }
}

}  // namespace

void SaveSettings()
{
    char companionPath[MAX_PATH];
    if (!StoreSettings(companionPath, sizeof companionPath))
        return;
    if (RunMode == ModeConfig && ParentWindow)
        WriteHostTimeout(ParentWindow, TimeoutMinutes);
    StartCompanion(companionPath);
}
