#include "session_area.h"

ScreenArea ChooseSessionArea(ScreenArea virtualScreen, ScreenArea desktop)
{
    if (virtualScreen.width > 0 && virtualScreen.height > 0)
        return virtualScreen;
    return desktop;
}
