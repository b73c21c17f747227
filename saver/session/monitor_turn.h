// A turn with a screen saver of its own on each monitor: each in preview mode
// in the session window's pane over its monitor, all started and stopped
// together. Runner thread only.
#pragma once
#include <windows.h>

#include <vector>

// The panes of the session window, one per monitor, left to right; made by
// the session before the runner starts when each monitor is to have its own
// screen saver and there are two or more; empty otherwise.
extern std::vector<HWND> MonitorPanes;

// One turn on every pane: the play-list's entries from the current one on,
// one per pane, for as long as the longest of their times; the position then
// names the entry after the last one shown. job holds what it starts.
void ShowOnEachMonitor(HANDLE job);
