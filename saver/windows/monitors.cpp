#include "monitors.h"

#include "saver_state.h"
#include "shared/names.h"
#include "shared/system_function.h"

namespace {

typedef BOOL(WINAPI* EnumDisplayMonitorsFunction)(HDC, LPCRECT, MONITORENUMPROC, LPARAM);

EnumDisplayMonitorsFunction MonitorLister()
{
    return SystemFunction<EnumDisplayMonitorsFunction>("USER32.DLL", "EnumDisplayMonitors");
}

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT rect, LPARAM list)
{
    try {
        reinterpret_cast<std::vector<RECT>*>(list)->push_back(*rect);
    } catch (...) {
        return FALSE;
    }
    return TRUE;
}

bool RegisterPaneClass()
{
    static bool registered = false;
    if (registered)
        return true;
    WNDCLASSA paneClass = {};
    paneClass.lpfnWndProc = DefWindowProcA;
    paneClass.hInstance = Instance;
    paneClass.hbrBackground = (HBRUSH)GetStockObject(BLACK_BRUSH);
    paneClass.lpszClassName = RV_PANE_CLASS;
    registered = RegisterClassA(&paneClass) != 0;
    return registered;
}

}  // namespace

bool CanListMonitors()
{
    return MonitorLister() != NULL;
}

std::vector<RECT> MonitorRects()
{
    std::vector<RECT> rects;
    EnumDisplayMonitorsFunction list = MonitorLister();
    if (list && !list(NULL, NULL, AddMonitor, (LPARAM)&rects))
        rects.clear();
    return rects;
}

HWND CreateMonitorPane(HWND session, int x, int y, int width, int height)
{
    if (!RegisterPaneClass())
        return NULL;
    // The session window's black must not paint over what the panes show.
    SetWindowLongA(session, GWL_STYLE, GetWindowLongA(session, GWL_STYLE) | WS_CLIPCHILDREN);
    return CreateWindowExA(0, RV_PANE_CLASS, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, x, y,
                           width, height, session, NULL, Instance, NULL);
}
