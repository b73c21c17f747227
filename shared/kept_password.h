// The system's password setting, kept in Rotaveil's settings while a session
// has it switched off, so that a session that is killed (Task Manager, power
// loss) cannot leave the password off for good: the next start of either
// program puts it back.
#pragma once
#include <windows.h>

// Named mutex held by a running session. Per logon session, as named objects are.
#define RV_SESSION_MUTEX "Rotaveil Session"

// Writes the setting's name and its value as found (type, data, size) under
// the settings key.
void KeepPasswordSetting(const char* name, DWORD type, const BYTE* data, DWORD size);

// Deletes what KeepPasswordSetting wrote.
void ForgetPasswordSetting();

// When a kept setting exists, writes it back into the system's settings and
// forgets it. True when it put one back. Only a value that could have come
// from the system's setting is written back; any other kept pair is removed.
bool RestoreKeptPasswordSetting();

// Whether a kept pair could have come from the system's password setting:
// one of its two names, a text, number or binary value, at most 256 bytes
// (a number of exactly 4).
bool KeptPasswordIsRestorable(const char* name, DWORD type, DWORD size);

// The system's "a screen saver runs" switch (on the Windows 95 family it
// disables Ctrl+Alt+Del and Alt+Tab), set by a session and noted in the
// settings, so that a killed session cannot leave it set: the next start of
// either program clears it.
void SetScreenSaverRunning(bool running);
// Sets the switch again during a session: a screen saver built on the
// system's screen-saver library clears it as it ends or crashes.
void RenewScreenSaverRunning();

// Puts back what a killed session left switched: the password setting and
// the screen-saver switch. For a program that started while no session holds
// the session mutex.
void RestoreKeptSystemSettings();

// True when a session of this logon holds its mutex or shows its window.
bool SessionIsRunning();
