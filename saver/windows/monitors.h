// The monitors, and the black panes of the session window over each of them
// that screen savers draw into in preview mode.
#pragma once
#include <windows.h>

#include <vector>

// Whether the system lists its monitors: EnumDisplayMonitors is looked up,
// not imported (Windows 95 and NT 4.0 have none).
bool CanListMonitors();

// Each monitor's rectangle on the virtual screen; empty where the system
// cannot list them.
std::vector<RECT> MonitorRects();

// A visible black child of the session window at x, y (its own coordinates),
// width by height; null when it could not be made.
HWND CreateMonitorPane(HWND session, int x, int y, int width, int height);
