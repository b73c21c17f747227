#include "saver_state.h"

signed char RunMode = ModeSaver;
HWND ParentWindow = NULL;
HINSTANCE Instance = NULL;
OSVERSIONINFOA VersionInfo;
HWND SaverWindow = NULL;
HANDLE StopEvent = NULL;
HANDLE InputEvent = NULL;
HBITMAP PreviewBitmap = NULL;
std::vector<HWND> PreviewWindows;
bool KeepPreviews = false;

bool IsNtFamily()
{
    return VersionInfo.dwPlatformId == VER_PLATFORM_WIN32_NT;
}
