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

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // A killed session left the password off and the screen-saver switch set.
    if (!SessionIsRunning())
        RestoreKeptSystemSettings();
    if (__argc > 1) {
        RemoveStartupEntry();
        return 0;
    }
    InstallScreenSaver();
    if (FindWindowA(RV_TRAY_CLASS, RV_TRAY_TITLE))
        return 0;
    if (!CreateTray(instance))
        return 0;
    RunMessagePump();
    return 0;
}
