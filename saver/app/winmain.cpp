// Entry point of the screen saver: one process per run mode.
#include <windows.h>
#include <stdlib.h>

#include "command_line.h"
#include "load_settings.h"
#include "run_modes.h"
#include "resources/resource_ids.h"
#include "saver/dialog/host_timeout.h"
#include "saver/log/message_log.h"
#include "saver/processes/message_wait.h"
#include "saver/session/password.h"
#include "saver/session/session.h"
#include "saver/settings/settings_state.h"
#include "saver/settings/settings_store.h"
#include "saver/windows/saver_state.h"
#include "saver/windows/saver_window.h"
#include "shared/kept_password.h"
#include "shared/names.h"

namespace {

void RunChosenMode()
{
    switch (RunMode) {
    case ModeConfig:
        ShowSettings();
        break;
    case ModePreview:
        ShowPreview();
        break;
    case ModeChangePassword:
        ChangePassword(ParentWindow);
        break;
    default:
        RunSaverSession(true);
        break;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    // A play-list entry on a drive without its medium must not bring up the
    // system's box at every start (nobody is there to answer a session's).
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    CommandLineChoice choice = ReadCommandLine(commandLine, __argc, __argv);
    // One session at a time: the mutex is taken before anything is read, as
    // the session window exists only once the settings are loaded. Where it
    // cannot be had at all (another kind of object holds the name), the
    // session falls back on looking for another session's window.
    HANDLE sessionMutex = NULL;
    if (choice.runMode == ModeSaver) {
        sessionMutex = CreateMutexA(NULL, TRUE, RV_SESSION_MUTEX);
        if (sessionMutex && GetLastError() == ERROR_ALREADY_EXISTS) {
            CloseHandle(sessionMutex);
            return 0;
        }
        SessionMutexHeld = sessionMutex != NULL;
    }
    // A running session owns the screen; a second start of any kind leaves it alone.
    if (FindSessionWindow()) {
        CloseIfOpen(sessionMutex);
        return 0;
    }
    // A killed session left the password off and the screen-saver switch set.
    if (sessionMutex || !SessionIsRunning())
        RestoreKeptSystemSettings();

    Instance = instance;
    VersionInfo.dwOSVersionInfoSize = sizeof VersionInfo;
    GetVersionExA(&VersionInfo);
    RunMode = choice.runMode;
    ParentWindow = (HWND)choice.parentWindow;

    if (!RegisterSaverClass(instance)) {
        CloseIfOpen(sessionMutex);
        return 0;
    }

    PreviewBitmap = LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_PREVIEW));
    StopEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
    InputEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
    LogLock = CreateMutexA(NULL, FALSE, NULL);

    // A session covers the screen first and reads its play-list after: a
    // long one (thousands of entries) must not hold the cover back.
    if (RunMode != ModeSaver)
        LoadSettings();
    RunChosenMode();

    CloseIfOpen(StopEvent);
    CloseIfOpen(InputEvent);
    CloseIfOpen(LogLock);
    if (PreviewBitmap)
        DeleteObject(PreviewBitmap);
    PreviewBitmap = NULL;
    FreeSettings();
    if (sessionMutex)
        ReleaseMutex(sessionMutex);
    CloseIfOpen(sessionMutex);
    return 0;
}
