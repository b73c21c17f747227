// Process-wide state of the screen-saver program's windows. WinMain sets it
// up on the main thread before any other thread starts; threads read it.
#pragma once
#include <windows.h>

#include <vector>

#include "run_mode.h"
#include "session_input.h"
#include "saver/processes/session_handles.h"

extern signed char RunMode;  // ModeSaver unless the command line says otherwise
extern HINSTANCE Instance;
extern HBITMAP PreviewBitmap;             // bitmap 220, painted in preview mode
extern std::vector<HWND> PreviewWindows;  // open "Preview" pop-ups of the dialog
extern bool KeepPreviews;                 // the pop-ups outlive the settings dialog
