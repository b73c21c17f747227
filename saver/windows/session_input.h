// The session's input as its window and the input watch report it to the
// runner. The session makes the events; the window sets them.
#pragma once
#include <windows.h>

extern HANDLE InputEvent;  // a key or mouse button went down
// With "NextKey" on, the key that shows the next screen saver (VK_RIGHT);
// 0 when off. It sets the session's NextEvent instead of InputEvent.
extern BYTE NextKeyCode;
// When each key or button was last seen down (GetTickCount), by the input
// watch or by the window itself.
extern volatile DWORD KeySeenDown[256];
// Set while only the session's own password question may end it (the
// Windows 95 family with the password on): a WM_CLOSE from another program
// then counts as input.
extern volatile LONG CloseAsksPassword;
