// The session's window, its input and its end, as the stopping and watching
// of processes see them: each stage of a stop brings the window back to the
// front, and no children are looked for once the session is ending. The
// layers above make them (the window as the program's most recent one).
#pragma once
#include <windows.h>

extern HWND SaverWindow;    // the window CreateSaverWindow made last
extern HANDLE StopEvent;    // the session is ending; never reset
extern HANDLE InputEvent;   // a key or mouse button went down
// With "NextKey" on, the key that shows the next screen saver (VK_RIGHT)
// sets NextEvent instead of InputEvent; 0 when off.
extern BYTE NextKeyCode;
extern HANDLE NextEvent;
extern BYTE KeyStates[256];  // 1 = key or button seen down at the watch's last poll
// When the input watch last saw each key or button down (GetTickCount).
extern volatile DWORD KeySeenDown[256];
// Set while only the session's own password question may end it (the
// Windows 95 family with the password on): a WM_CLOSE from another program
// then counts as input.
extern volatile LONG CloseAsksPassword;

// Puts the session window at the top of the topmost windows, where it covers
// whatever is not a hosted screen saver, and makes it the active window
// where the system lets this program do so.
void BringSessionWindowToFront();
