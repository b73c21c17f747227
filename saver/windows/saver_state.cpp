#include "saver_state.h"

signed char RunMode = ModeSaver;
HWND ParentWindow = NULL;
HINSTANCE Instance = NULL;
HBITMAP PreviewBitmap = NULL;
std::vector<HWND> PreviewWindows;
bool KeepPreviews = false;
