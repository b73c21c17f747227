// The companion's installation: Rotaveil as the system's screen saver, the
// companion's own path where the screen saver finds it, and its start-up entry.
#pragma once

void InstallScreenSaver();

// Removes "RVTRAY.EXE" from both Run keys and closes a running companion.
void RemoveStartupEntry();

// For tests: makes opening the machine-wide Run key fail, as it does for a
// user without write access to it.
extern bool RefuseMachineRunKey;

const unsigned FirstRunTimeout = 300;  // seconds
