// The program's windows, all of class "Rotaveil": the full-screen session
// window, the disabled child in a host's preview pane, and the settings
// dialog's "Preview" pop-ups.
#pragma once
#include <windows.h>

// The preview picture (bitmap 220), and the settings dialog's "Preview"
// pop-ups that screen savers draw in, sized to it.
const int PreviewBitmapWidth = 152;
const int PreviewBitmapHeight = 112;
const int PreviewPopupWidth = PreviewBitmapWidth;
const int PreviewPopupHeight = PreviewBitmapHeight + 2;

bool RegisterSaverClass(HINSTANCE instance);

// Creates the window in the form RunMode and parent call for, stores it in
// SaverWindow and returns it (null on failure). x and y place the full-size
// pop-up (the session window), which may start left of or above the primary
// monitor.
HWND CreateSaverWindow(int width, int height, HWND parent, int x = 0, int y = 0);

// A running session's window: a top-level window of the class and title
// that is no preview child (a preview hosted by the desktop window is
// top-level too), of any process but otherThan. Null when there is none.
HWND FindSessionWindow(DWORD otherThan = 0);

// Whether window may host a preview child: a live window that is not the
// desktop window and not one of this program's own.
bool CanHostPreview(HWND window);

// Covers a new area with the session window (main thread only): the one
// move the cover takes while it is locked.
void MoveSessionWindow(int x, int y, int width, int height);

// What the session answers itself, on the main thread, registered for its
// time: Windows ends (WM_ENDSESSION with TRUE; the process ends soon after),
// the monitors changed (WM_DISPLAYCHANGE), the runner asks for the monitors'
// panes to be made anew (RemakePanesMessage, sent between turns), and raw
// input arrives.
struct SessionHandlers {
    void (*endSession)();
    void (*displayChange)();
    void (*remakePanes)();
    void (*rawInput)(LPARAM input);  // WM_INPUT
};
void SetSessionHandlers(const SessionHandlers* handlers);
const UINT RemakePanesMessage = WM_APP + 1;

LRESULT CALLBACK SaverWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Stretches PreviewBitmap over the rectangle; the aspect ratio is not kept.
void DrawPreviewPicture(HDC dc, int left, int top, int right, int bottom);

// The message pump every mode with a window runs.
#include "shared/message_pump.h"
