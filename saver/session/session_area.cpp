#include "session_area.h"

#include <algorithm>

ScreenArea ChooseSessionArea(ScreenArea virtualScreen, ScreenArea desktop)
{
    if (virtualScreen.width > 0 && virtualScreen.height > 0)
        return virtualScreen;
    return desktop;
}

std::vector<ScreenArea> PaneAreas(const std::vector<ScreenArea>& monitors, ScreenArea session)
{
    std::vector<ScreenArea> panes;
    for (const ScreenArea& monitor : monitors) {
        // Wide: a monitor may lie at the very edge of the coordinates.
        long long left = std::max<long long>(monitor.x, session.x);
        long long top = std::max<long long>(monitor.y, session.y);
        long long right = std::min<long long>((long long)monitor.x + monitor.width,
                                              (long long)session.x + session.width);
        long long bottom = std::min<long long>((long long)monitor.y + monitor.height,
                                               (long long)session.y + session.height);
        if (right > left && bottom > top)
            panes.push_back({(int)(left - session.x), (int)(top - session.y), (int)(right - left),
                             (int)(bottom - top)});
    }
    std::stable_sort(panes.begin(), panes.end(), [](const ScreenArea& a, const ScreenArea& b) {
        return a.x != b.x ? a.x < b.x : a.y < b.y;
    });
    return panes;
}
