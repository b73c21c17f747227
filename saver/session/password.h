// The system's screen-saver password during a session: switched off while the
// session runs (the hosted screen savers must not ask for it), asked for by
// the session itself through the system's dialog, and put back at the end.
#pragma once
#include <windows.h>

void SuspendSystemPassword();
void RestoreSystemPassword();

// True when the session may end: password accepted, or none required.
bool AskPassword();

// True when the session may end only after AskPassword accepted: the
// Windows 95 family with the password on, where nothing else locks.
bool PasswordLocksSession();

// "/a": the system's dialog for changing the screen-saver password.
void ChangePassword(HWND owner);
