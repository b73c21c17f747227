// Where the session window lies: over every monitor. No Windows calls here.
#pragma once

struct ScreenArea {
    int x, y, width, height;
};

// The virtual screen (all monitors) where the system reports one; systems
// without multi-monitor support (Windows 95, NT 4.0) report zero sizes, and
// then the desktop window's rectangle is all there is.
ScreenArea ChooseSessionArea(ScreenArea virtualScreen, ScreenArea desktop);
