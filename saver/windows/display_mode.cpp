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
    DEVMODEA now;
    if (!FoundRead || !CurrentMode(&now))
        return false;
    if (now.dmPelsWidth == Found.dmPelsWidth && now.dmPelsHeight == Found.dmPelsHeight &&
        now.dmBitsPerPel == Found.dmBitsPerPel &&
        now.dmDisplayFrequency == Found.dmDisplayFrequency)
        return false;
    return ChangeDisplaySettingsA(NULL, 0) == DISP_CHANGE_SUCCESSFUL;
}
