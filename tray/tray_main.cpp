// The tray companion: without arguments it installs Rotaveil as the system's
// screen saver and keeps its icon in the notification area; with any
// argument it removes its start-up entry and closes a running companion.
#include <windows.h>
#include <stdlib.h>

#include "install.h"
#include "tray_window.h"
#include "shared/kept_password.h"
#include "shared/message_pump.h"
#include "shared/names.h"
#include "shared/owned.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // No system box for a drive without its medium: the companion starts
    // unattended at logon.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    // A killed session left the password off and the screen-saver switch set.
    if (!SessionIsRunning())
        RestoreKeptSystemSettings();
    if (__argc > 1) {
        RemoveStartupEntry();
        return 0;
    }
    InstallScreenSaver();
    // One companion at a time: the mutex settles two started at once, which
    // a look for the other's window alone cannot (neither has made it yet).
    // Where the name is taken by another kind of object, the window decides.
    // Wine leaves the last error as it was when the mutex is new.
    SetLastError(0);
    OwnedHandle single(CreateMutexA(NULL, FALSE, RV_TRAY_MUTEX));
    bool another = single ? GetLastError() == ERROR_ALREADY_EXISTS
                          : FindWindowA(RV_TRAY_CLASS, RV_TRAY_TITLE) != NULL;
    if (!another && CreateTray(instance))
        RunMessagePump();
    return 0;
}
