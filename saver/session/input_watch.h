// The session's input: where it comes from and how it is told to the runner.
// Three sources, by the same rule (key_changes.h): the input watch, a thread
// that polls every key and mouse button (the only one on the Windows 95
// family); the low-level keyboard hook, which sees keys before any window
// and where no window has the keyboard (NT 4.0 SP3 and later);
// and the system's raw input, sent to the session window even while another
// program's window has the keyboard (Windows XP and later). With panes on
// each monitor the watch also sees the mouse move. Keys and buttons set
// InputEvent, the next-screensaver key NextEvent.
#pragma once
#include <windows.h>

#include "session_area.h"

extern HANDLE WatchThread;   // the input watch
extern HANDLE NextEvent;     // the next-screensaver key went down
extern BYTE KeyStates[256];  // 1 = key or button seen down at the watch's last poll

// Main thread, as the session starts: makes the watch's events, starts it,
// and returns once its first pass is made (at most a second), which is what
// tells the keys already down (those count only when pressed again); then
// raw input is asked for, where the system has it. False when the watch
// could not be started.
bool StartInputWatch();
// Main thread, before it waits for anything as the session ends: raw input
// and the low-level keyboard hook are given back.
void StopDirectInput();
// After the watch has ended: closes what StartInputWatch made.
void CloseInputWatch();
// Ends the watch's rest between passes (or its pause's) at once: as the
// session ends, so that it is not waited for.
void WakeInputWatch();

// WM_INPUT to the session window (main thread).
void TakeRawInput(HRAWINPUT input);

// Returns once the input watch has made one whole pass begun after the call
// (it is woken for it, so this costs one pass), or at once when the session
// ends, input comes or the next-screensaver key is pressed; at most limit ms.
void LetTheWatchLookOnce(DWORD limit);

// The runner's hold on the input watch around its password question: the
// watch finishes its pass and stands still until resumed.
void PauseInputWatch();
void ResumeInputWatch();
// While the watch is paused: every key and button counts as held now, so
// that one still down after the question counts only when pressed again, by
// either source.
void ForgetKeysHeldNow();

// With panes the watch also sees the mouse move; each call reads its place
// afresh (the monitors changed, and the cursor may have been moved).
void WatchTheCursor(bool withPanes);
void CursorMayHaveMoved();

// The virtual screen (all monitors) as the system reports it now.
ScreenArea VirtualScreen();

DWORD WINAPI WatchInput(LPVOID);
