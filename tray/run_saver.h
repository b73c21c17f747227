// "Run screensaver": on the NT family Windows is asked to start the screen
// saver (WM_SYSCOMMAND SC_SCREENSAVE), so that it locks after it as the user
// chose ("On resume, display logon screen"): Windows locks only a screen
// saver it started itself. Where that starts nothing (Rotaveil is not the
// user's screen saver, the screen saver is off, or the system does not
// answer it), and on the Windows 95 family, whose session asks the password
// itself, the companion starts "/s" itself.
#pragma once
#include <windows.h>

// Starts the session for the companion's window; the command line is the
// companion's own "/s" start, used where Windows starts nothing.
void RunScreenSaver(HWND companion, const char* runCommand);

// A WM_TIMER of the companion's window with this id: the look whether
// Windows started the session.
const UINT_PTR RunSaverTimer = 1;
void OnRunSaverTimer(HWND companion);
