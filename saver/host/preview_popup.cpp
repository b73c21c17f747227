#include "preview_popup.h"

#include "saver_state.h"

#include <algorithm>

void ClosePreviewPopup(HWND popup)
{
    // A pop-up is forgotten whether or not its screen saver could be started,
    // so that closing the last kept pop-up always ends the process.
    std::vector<HWND>::iterator found =
        std::find(PreviewWindows.begin(), PreviewWindows.end(), popup);
    if (found == PreviewWindows.end())
        return;
    PreviewWindows.erase(found);
    if (PreviewWindows.empty() && KeepPreviews)
        PostQuitMessage(0);
}
