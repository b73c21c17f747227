#include "preview_popup.h"

#include <algorithm>

#include "saver_state.h"
#include "saver/processes/close_process.h"
#include "saver/processes/process_info.h"

void ClosePreviewPopup(HWND popup)
{
    ProcessInfo* record = (ProcessInfo*)GetWindowLongPtrA(popup, GWLP_USERDATA);
    if (record) {
        SetWindowLongPtrA(popup, GWLP_USERDATA, 0);
        CloseProcess(record);
        delete record;
    }
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

void CloseAllPreviewPopups()
{
    std::vector<HWND> open = PreviewWindows;
    std::vector<ProcessInfo*> records;
    for (HWND popup : open) {
        ProcessInfo* record = (ProcessInfo*)GetWindowLongPtrA(popup, GWLP_USERDATA);
        if (!record)
            continue;
        SetWindowLongPtrA(popup, GWLP_USERDATA, 0);
        records.push_back(record);
    }
    std::vector<bool> ended;
    CloseProcesses(records, &ended);
    for (ProcessInfo* record : records)
        delete record;
    for (HWND popup : open)
        DestroyWindow(popup);
}
