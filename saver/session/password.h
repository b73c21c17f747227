// The system's screen-saver password during a session: switched off while the
// session runs (the hosted screen savers must not ask for it), asked for by
// the session itself through the system's dialog, and put back at the end.
#pragma once
#include <windows.h>

// At the session's start: switches the setting off, decides whether input
// must be answered with the password, and loads the password library for
// the whole session where it must.
void SuspendSystemPassword();
// At the session's end (also on a crash, and when Windows ends): puts the
// setting back for good; a question still open cannot switch it off again.
void RestoreSystemPassword();
// After the session's threads have ended: unloads the password library.
void ReleasePasswordLibrary();

// True when the session may end: password accepted, or none required.
bool AskPassword();

// True when the session may end only after AskPassword accepted: the
// Windows 95 family with the password on, where nothing else locks.
bool PasswordLocksSession();

// "/a": the system's dialog for changing the screen-saver password.
void ChangePassword(HWND owner);
