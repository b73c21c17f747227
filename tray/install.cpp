#include "install.h"

#include <windows.h>
#include <stdio.h>
#include <string.h>

#include <initializer_list>

#include "shared/names.h"
#include "shared/registry_key.h"
#include "shared/startup_entry.h"
#include "shared/system_timeout.h"
#include "shared/text_compare.h"

bool RefuseMachineRunKey = false;

namespace {

const UINT BroadcastWait = 200;  // ms per window that is slow to answer

void OwnPath(char (&path)[MAX_PATH])
{
    DWORD length = GetModuleFileNameA(NULL, path, sizeof path);
    if (length == 0 || length >= sizeof path)
        path[0] = '\0';
}

bool OpenRunKey(HKEY root, RegistryKey* key)
{
    if (root == HKEY_LOCAL_MACHINE && RefuseMachineRunKey)
        return false;
    return OpenStartupKey(root, KEY_READ | KEY_WRITE, key);
}

// Tells running programs (Display Properties) that the screen-saver
// settings changed. Sent with a time limit rather than posted: a posted
// message cannot carry the section name to other programs.
void Broadcast()
{
    DWORD_PTR ignored;
    SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, SPI_SETSCREENSAVEACTIVE,
                        (LPARAM) "Desktop", SMTO_ABORTIFHUNG, BroadcastWait, &ignored);
}

// Records the companion's path in the settings key; true on its first run.
bool RecordCompanionPath(const char* ownPath)
{
    RegistryKey key;
    bool created = false;
    if (!key.Create(HKEY_CURRENT_USER, RV_SETTINGS_KEY, KEY_ALL_ACCESS, &created))
        return false;
    key.WriteText(RV_VALUE_COMPANION, ownPath);
    return created;
}

// The user's own screen saver, kept once, before Rotaveil first takes its
// place: the uninstaller gives it back rather than leave none (and with none,
// no lock when the computer is left alone). Rotaveil found chosen already is
// no choice to give back.
void RecordPreviousScreenSaver(const RegistryKey& desktop, const char* ini, const char* longPath,
                               const char* shortPath)
{
    RegistryKey settings;
    char previous[MAX_PATH] = "";
    if (!settings.Create(HKEY_CURRENT_USER, RV_SETTINGS_KEY) ||
        settings.ReadText(RV_VALUE_PREVIOUS_SAVER, previous, sizeof previous))
        return;
    if (!desktop.ReadText(RV_VALUE_SCRNSAVE, previous, sizeof previous) || !previous[0])
        GetPrivateProfileStringA("boot", RV_VALUE_SCRNSAVE, "", previous, sizeof previous, ini);
    if (SameTextIgnoringCase(previous, longPath) || SameTextIgnoringCase(previous, shortPath))
        return;
    settings.WriteText(RV_VALUE_PREVIOUS_SAVER, previous);
}

void SetSystemScreenSaver(RegistryKey& desktop, bool firstRun)
{
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, sizeof windows);
    char longPath[MAX_PATH + 32];
    snprintf(longPath, sizeof longPath, "%s\\%s", windows, RV_SAVER_FILE);
    char shortPath[MAX_PATH] = "";
    DWORD length = GetShortPathNameA(longPath, shortPath, sizeof shortPath);
    if (length == 0 || length >= sizeof shortPath)
        shortPath[0] = '\0';

    // Without the screen saver in the Windows directory there is no path to
    // give: the user's own choice of screen saver stays as it is.
    if (shortPath[0]) {
        char ini[MAX_PATH + 16];
        snprintf(ini, sizeof ini, "%s\\system.ini", windows);
        RecordPreviousScreenSaver(desktop, ini, longPath, shortPath);
        desktop.WriteText(RV_VALUE_SCRNSAVE, shortPath);
        desktop.WriteText(RV_VALUE_ACTIVE, "1");
        WritePrivateProfileStringA("boot", RV_VALUE_SCRNSAVE, shortPath, ini);
        SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, TRUE, NULL, 0);
    }

    UINT seconds = FirstRunTimeout;
    if (!firstRun)
        ReadSystemTimeout(&seconds);
    // Told to every program by the one broadcast after all the values.
    WriteSystemTimeout(seconds, 0);
}

}  // namespace

void InstallScreenSaver()
{
    char ownPath[MAX_PATH];
    OwnPath(ownPath);
    bool firstRun = RecordCompanionPath(ownPath);

    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version))
        return;
    RegistryKey desktop;
    if (!desktop.Open(HKEY_CURRENT_USER, RV_DESKTOP_KEY, KEY_READ | KEY_WRITE))
        return;
    SetSystemScreenSaver(desktop, firstRun);
    desktop.Close();

    RegistryKey run;
    if (OpenRunKey(HKEY_LOCAL_MACHINE, &run) ||
        (version.dwPlatformId == VER_PLATFORM_WIN32_NT && OpenRunKey(HKEY_CURRENT_USER, &run)))
        WriteStartupEntry(run, ownPath);
    // Once, after every value is written; hung windows are passed over.
    Broadcast();
}

void RemoveStartupEntry()
{
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        if (root != HKEY_LOCAL_MACHINE || !RefuseMachineRunKey)
            DeleteStartupEntry(root);
    }
    // Every running companion (an older version allowed two); a hung one is
    // passed over.
    for (HWND running = FindWindowExA(NULL, NULL, RV_TRAY_CLASS, RV_TRAY_TITLE); running;) {
        HWND next = FindWindowExA(NULL, running, RV_TRAY_CLASS, RV_TRAY_TITLE);
        DWORD_PTR ignored;
        SendMessageTimeoutA(running, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
        running = next;
    }
}
