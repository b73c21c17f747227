// Entry point of the screen saver: one process per run mode.
#include <windows.h>
#include <stdlib.h>

#include "password.h"
#include "run_modes.h"
#include "saver_state.h"
#include "saver_window.h"
#include "session.h"
#include "../log/message_log.h"
#include "../settings/settings_state.h"
#include "../settings/settings_store.h"
#include "../../shared/names.h"
#include "../../resources/resource_ids.h"

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
        RunSaverSession();
        break;
    }
}

void CloseIfOpen(HANDLE& handle)
{
    if (handle)
        CloseHandle(handle);
    handle = NULL;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    // A running session owns the screen; a second start of any kind leaves it alone.
    if (FindWindowA(RV_SAVER_CLASS, RV_SAVER_TITLE))
        return 0;

    Instance = instance;
    VersionInfo.dwOSVersionInfoSize = sizeof VersionInfo;
    GetVersionExA(&VersionInfo);

    CommandLineChoice choice = ReadCommandLine(commandLine, __argc, __argv);
    RunMode = choice.runMode;
    ParentWindow = (HWND)choice.parentWindow;

    if (!RegisterSaverClass(instance))
        return 0;

    PreviewBitmap = LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_PREVIEW));
    StopEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
    InputEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
    LogLock = CreateMutexA(NULL, FALSE, NULL);

    LoadSettings();
    RunChosenMode();

    CloseIfOpen(StopEvent);
    CloseIfOpen(InputEvent);
    CloseIfOpen(LogLock);
    if (PreviewBitmap)
        DeleteObject(PreviewBitmap);
    PreviewBitmap = NULL;
    FreeSettings();
    return 0;
}
