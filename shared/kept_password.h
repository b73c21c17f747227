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
// forgets it. True when it put one back. Only the two names the system uses
// for the password setting are accepted.
bool RestoreKeptPasswordSetting();

// True when a session of this logon holds its mutex.
bool SessionIsRunning();
