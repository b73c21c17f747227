// The play-list runner: the session thread that shows the screen savers of
// the play-list in turn.
#pragma once
#include <windows.h>
#include <stdint.h>

// A screen saver whose failure count is greater is excluded for the session.
const uint32_t MisbehaveLimit = 1;
const DWORD InputIdleWait = 5000;  // ms after each start

// Thread procedure; its last act, on every way out, is WM_CLOSE to SaverWindow.
DWORD WINAPI RunScreensavers(LPVOID);
