#include "save_settings.h"

#include <windows.h>
#include <shellapi.h>
#include <stdio.h>
#include <string.h>

#include "host_timeout.h"
#include "saver/settings/settings_state.h"
#include "saver/settings/settings_store.h"
#include "saver/windows/saver_state.h"
#include "shared/names.h"
#include "shared/startup_entry.h"

namespace {

// True, with path set, when folder holds rvtray.exe.
bool CompanionIn(const char* folder, char (&path)[MAX_PATH])
{
    char candidate[MAX_PATH];
    int written = snprintf(candidate, sizeof candidate, "%s\\rvtray.exe", folder);
    if (written <= 0 || (size_t)written >= sizeof candidate || !NamesExistingFile(candidate))
        return false;
    memcpy(path, candidate, sizeof candidate);
    return true;
}

// Until the companion has run once no path of it is stored (or the stored
// file is gone): then rvtray.exe beside this program, else the one in the
// Windows folder.
void FindCompanion(char (&path)[MAX_PATH])
{
    if (NamesExistingFile(path))
        return;
    char folder[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, folder, sizeof folder);
    char* slash = length > 0 && length < sizeof folder ? strrchr(folder, '\\') : NULL;
    if (slash) {
        *slash = '\0';
        if (CompanionIn(folder, path))
            return;
    }
    UINT windowsLength = GetWindowsDirectoryA(folder, sizeof folder);
    if (windowsLength > 0 && windowsLength < sizeof folder)
        CompanionIn(folder, path);
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
        DeleteStartupEntry(HKEY_LOCAL_MACHINE);
        DeleteStartupEntry(HKEY_CURRENT_USER);
    }
}

}  // namespace

void SaveSettings()
{
    char companionPath[MAX_PATH];
    if (!StoreSettings(companionPath, sizeof companionPath))
        return;
    FindCompanion(companionPath);
    if (RunMode == ModeConfig && ParentWindow && TimeoutMinutes != LoadedTimeoutMinutes)
        WriteHostTimeout(ParentWindow, TimeoutMinutes);
    StartCompanion(companionPath);
}
