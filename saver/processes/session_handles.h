// The session's window and its end, as the stopping and watching of
// processes see them: each stage of a stop brings the window back to the
// front, and no children are looked for once the session is ending. The
// layers above make them (the window as the program's most recent one).
#pragma once
#include <windows.h>

extern HWND SaverWindow;  // the window CreateSaverWindow made last
extern HANDLE StopEvent;  // the session is ending; never reset
// Where the session put its cover (the whole virtual screen); empty outside
// a session. The cover takes no other place, whoever asks.
extern RECT CoverRect;

// Puts the session window at the top of the topmost windows, where it covers
// whatever is not a hosted screen saver, shown and in its place, and makes
// it the active window where the system lets this program do so.
void BringSessionWindowToFront();
