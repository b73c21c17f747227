// The companion's hidden window, its notification-area icon and its menu.
#pragma once
#include <windows.h>

const UINT TrayIconId = 1124;
const UINT TrayCallbackMessage = WM_USER + 101;  // 1125

extern HWND TrayWindow;

// Registers the class, creates the hidden window and adds the icon; false
// when there is no window to live in.
bool CreateTray(HINSTANCE instance);
// Puts the icon into the notification area (again, after the task bar was made anew).
void AddTrayIcon();

LRESULT CALLBACK TrayWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// False when the menu could not be loaded.
bool ShowTrayMenu();
void OnTrayCommand(UINT id);
