#include "host_timeout.h"

#include <commctrl.h>
#include <stdio.h>

#include "saver/settings/settings_state.h"
#include "saver/settings/settings_store.h"
#include "saver/settings/value_names.h"

HWND ParentWindow = NULL;

namespace {

const UINT HostBoxWait = 2000;  // ms; the display settings may be busy

bool SendWithWait(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result)
{
    return SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, HostBoxWait,
                               result) != 0;
}

// An edit whose up-down control has it as buddy. Null when the host has no
// such pair.
HWND FindHostTimeoutBox(HWND host)
{
    if (!host || !IsWindow(host))
        return NULL;
    HWND edit = FindWindowExA(host, NULL, "Edit", NULL);
    HWND updown = FindWindowExA(host, NULL, UPDOWN_CLASSA, NULL);
    if (!edit || !updown)
        return NULL;
    DWORD_PTR buddy = 0;
    if (!SendWithWait(updown, UDM_GETBUDDY, 0, 0, &buddy) || (HWND)buddy != edit)
        return NULL;
    return edit;
}

}  // namespace

void ReadHostTimeout(HWND host)
{
    HWND box = FindHostTimeoutBox(host);
    if (!box)
        return;
    char text[256] = "";
    DWORD_PTR copied = 0;
    if (!SendWithWait(box, WM_GETTEXT, 255, (LPARAM)text, &copied))
        return;
    text[sizeof text - 1] = '\0';
    if (text[0] == '\0')
        return;
    uint32_t minutes = ReadUnsignedDecimal(text, TimeoutMinutesLimit);
    if (minutes >= 1)
        TimeoutMinutes = minutes;
}

void WriteHostTimeout(HWND host, uint32_t minutes)
{
    HWND box = FindHostTimeoutBox(host);
    if (!box)
        return;
    char text[16];
    snprintf(text, sizeof text, "%u", (unsigned)minutes);
    DWORD_PTR ignored;
    SendWithWait(box, WM_SETTEXT, 0, (LPARAM)text, &ignored);
}
