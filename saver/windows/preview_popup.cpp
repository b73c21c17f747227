#include "preview_popup.h"

#include <algorithm>

#include "saver_state.h"
#include "saver/processes/close_process.h"
#include "saver/processes/process_info.h"

void ClosePreviewPopup(HWND popup)
{
    std::unique_ptr<ProcessInfo> record((ProcessInfo*)GetWindowLongPtrA(popup, GWLP_USERDATA));
    if (record) {
        SetWindowLongPtrA(popup, GWLP_USERDATA, 0);
        CloseProcess(record.get());
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
    std::vector<std::unique_ptr<ProcessInfo>> owned;
    std::vector<ProcessInfo*> records;
    for (HWND popup : open) {
        ProcessInfo* record = (ProcessInfo*)GetWindowLongPtrA(popup, GWLP_USERDATA);
        if (!record)
            continue;
        SetWindowLongPtrA(popup, GWLP_USERDATA, 0);
        owned.emplace_back(record);
        records.push_back(record);
    }
    std::vector<bool> ended;
    CloseProcesses(records, &ended);
    for (HWND popup : open)
        DestroyWindow(popup);
}
