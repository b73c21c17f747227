// Where the session window lies: over every monitor; and where on it each
// monitor is. No Windows calls here.
#pragma once
#include <vector>

struct ScreenArea {
    int x, y, width, height;
};

// The virtual screen (all monitors) where the system reports one; systems
// without multi-monitor support (Windows 95, NT 4.0) report zero sizes, and
// then the desktop window's rectangle is all there is.
ScreenArea ChooseSessionArea(ScreenArea virtualScreen, ScreenArea desktop);

// The monitors' parts inside the session area, in its own coordinates, left
// to right (top to bottom where two begin at one x); empty ones left out.
std::vector<ScreenArea> PaneAreas(const std::vector<ScreenArea>& monitors, ScreenArea session);
