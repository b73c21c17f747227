#include "display_mode.h"

#include <windows.h>

namespace {

DEVMODEA Found;
bool FoundRead = false;

bool CurrentMode(DEVMODEA* mode)
{
    ZeroMemory(mode, sizeof *mode);
    mode->dmSize = sizeof *mode;
    return EnumDisplaySettingsA(NULL, ENUM_CURRENT_SETTINGS, mode) != FALSE;
}

}  // namespace

void NoteDisplayMode()
{
    FoundRead = CurrentMode(&Found);
}

bool PutBackDisplayMode()
{
    // The common case first, without asking the driver for its mode (slow
    // under Wine): the primary monitor kept its size.
    if (!FoundRead || ((DWORD)GetSystemMetrics(SM_CXSCREEN) == Found.dmPelsWidth &&
                       (DWORD)GetSystemMetrics(SM_CYSCREEN) == Found.dmPelsHeight))
        return false;
    DEVMODEA now;
    if (!CurrentMode(&now))
        return false;
    if (now.dmPelsWidth == Found.dmPelsWidth && now.dmPelsHeight == Found.dmPelsHeight &&
        now.dmBitsPerPel == Found.dmBitsPerPel &&
        now.dmDisplayFrequency == Found.dmDisplayFrequency)
        return false;
    return ChangeDisplaySettingsA(NULL, 0) == DISP_CHANGE_SUCCESSFUL;
}
