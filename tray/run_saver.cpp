#include "run_saver.h"

#include <string.h>

#include "shared/kept_password.h"
#include "shared/names.h"
#include "shared/registry_key.h"
#include "shared/start_program.h"

namespace {

const UINT RunSaverLook = 100;  // ms between looks for the session Windows started
const int RunSaverLooks = 30;   // then the companion starts it itself
char PendingCommand[MAX_PATH + 64] = "";
int LooksLeft = 0;

bool SameFile(const char* a, const char* b)
{
    char shortA[MAX_PATH], shortB[MAX_PATH];
    DWORD lengthA = GetShortPathNameA(a, shortA, sizeof shortA);
    DWORD lengthB = GetShortPathNameA(b, shortB, sizeof shortB);
    return lengthA > 0 && lengthA < sizeof shortA && lengthB > 0 && lengthB < sizeof shortB &&
           lstrcmpiA(shortA, shortB) == 0;
}

// Windows would start Rotaveil when asked: NT family, the screen saver on,
// and Rotaveil the user's screen saver.
bool WindowsStartsRotaveil()
{
    OSVERSIONINFOA version;
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version) || version.dwPlatformId != VER_PLATFORM_WIN32_NT)
        return false;
    BOOL active = FALSE;
    if (!SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0) || !active)
        return false;
    RegistryKey desktop;
    char chosen[MAX_PATH] = "", ours[MAX_PATH];
    UINT length = GetWindowsDirectoryA(ours, sizeof ours);
    if (length == 0 || length + 1 + strlen(RV_SAVER_FILE) >= sizeof ours)
        return false;
    lstrcatA(ours, "\\" RV_SAVER_FILE);
    return desktop.Open(HKEY_CURRENT_USER, RV_DESKTOP_KEY, KEY_QUERY_VALUE) &&
           desktop.ReadText(RV_VALUE_SCRNSAVE, chosen, sizeof chosen) && SameFile(chosen, ours);
}

}  // namespace

void RunScreenSaver(HWND companion, const char* runCommand)
{
    // Windows sends SC_SCREENSAVE to the foreground window, and a screen
    // saver started from the background may not take the foreground.
    SetForegroundWindow(companion);
    KillTimer(companion, RunSaverTimer);
    LooksLeft = 0;
    if (!WindowsStartsRotaveil() || SessionIsRunning()) {
        if (!SessionIsRunning())
            StartUnwaited(runCommand);
        return;
    }
    lstrcpynA(PendingCommand, runCommand, sizeof PendingCommand);
    LooksLeft = RunSaverLooks;
    DefWindowProcA(companion, WM_SYSCOMMAND, SC_SCREENSAVE, 0);
    SetTimer(companion, RunSaverTimer, RunSaverLook, NULL);
}

void OnRunSaverTimer(HWND companion)
{
    if (SessionIsRunning()) {
        KillTimer(companion, RunSaverTimer);
        LooksLeft = 0;
    } else if (--LooksLeft <= 0) {
        KillTimer(companion, RunSaverTimer);
        StartUnwaited(PendingCommand);
    }
}
