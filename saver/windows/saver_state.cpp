#include "saver_state.h"

signed char RunMode = ModeSaver;
HINSTANCE Instance = NULL;
HBITMAP PreviewBitmap = NULL;
std::vector<HWND> PreviewWindows;
bool KeepPreviews = false;
