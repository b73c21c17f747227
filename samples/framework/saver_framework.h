// A small screen-saver framework for the sample screen savers, following the
// documented contract of the standard one: the screen saver supplies
// ScreenSaverProc, ScreenSaverConfigureDialog and RegisterDialogClasses; the
// framework supplies WinMain, the command line and DefScreenSaverProc.
//
//   /s              full screen, topmost; ends on a key, a mouse button, mouse
//                   motion or the loss of activation
//   /p <window>     draws in a child of the given window until it goes
//   /c, /c:<window> the settings dialog (resource DLG_SCRNSAVECONFIGURE)
//   nothing         the settings dialog too
#pragma once
#include <windows.h>

#define DLG_SCRNSAVECONFIGURE 2003
#define IDS_DESCRIPTION       1

// Supplied by each screen saver.
LRESULT WINAPI ScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL WINAPI ScreenSaverConfigureDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
BOOL WINAPI RegisterDialogClasses(HANDLE instance);

// Supplied by the framework: the default handling, ending a full-screen run on input.
LRESULT WINAPI DefScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

extern HINSTANCE hMainInstance;
extern HWND hMainWindow;
extern BOOL fChildPreview;  // true in a preview pane

class BackBuffer;

// The animation every sample runs: a frame timer whose ticks call drawFrame
// to draw into the back buffer and then show it, no background erase; every other message goes to
// DefScreenSaverProc (WM_DESTROY stops the timer first).
void StartAnimation(HWND window, UINT frameMilliseconds);
LRESULT AnimatedSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                          BackBuffer& buffer, void (*drawFrame)(HWND));

// A trackbar of a settings dialog: its range and position, and its position
// read back.
void SetSlider(HWND dialog, int id, int low, int high, DWORD position);
DWORD SliderPosition(HWND dialog, int id);

// The settings dialog of a sample: show fills its controls from the stored
// settings, OK stores them with save and closes, Cancel closes. For
// ScreenSaverConfigureDialog to return.
BOOL SettingsDialogMessage(HWND dialog, UINT message, WPARAM wParam, void (*show)(HWND),
                           void (*save)(HWND));

// Small helpers the samples share: a per-sample settings key under
// HKEY_CURRENT_USER "Software\Quillmark\Rotaveil Samples\<name>".
DWORD ReadSampleSetting(const char* sample, const char* name, DWORD fallback);
// The same, with fallback also for a stored value outside low..high.
DWORD ReadSampleSettingIn(const char* sample, const char* name, DWORD low, DWORD high,
                          DWORD fallback);
void WriteSampleSetting(const char* sample, const char* name, DWORD value);
