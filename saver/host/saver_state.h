// Process-wide state of the screen-saver program. WinMain sets it up on the
// main thread before any other thread starts; threads read it from here.
#pragma once
#include <windows.h>

#include <vector>

#include "command_line.h"

extern signed char RunMode;          // ModeSaver unless the command line says otherwise
extern HWND ParentWindow;            // window handle from the command line, or 0
extern HINSTANCE Instance;
extern OSVERSIONINFOA VersionInfo;   // filled once at start
extern HWND SaverWindow;             // the window CreateSaverWindow made last
extern HANDLE StopEvent;             // the session is ending; never reset
extern HANDLE InputEvent;            // a key or mouse button went down
extern HBITMAP PreviewBitmap;        // bitmap 220, painted in preview mode
extern std::vector<HWND> PreviewWindows;  // open "Preview" pop-ups of the dialog
extern bool KeepPreviews;            // the pop-ups outlive the settings dialog

bool IsNtFamily();
