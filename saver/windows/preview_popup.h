// Clean-up of a settings dialog's "Preview" pop-up when it is destroyed.
#pragma once
#include <windows.h>

// Stops the screen saver running in the pop-up, forgets the pop-up and, when
// it was the last one kept open after the dialog, ends the message pump.
void ClosePreviewPopup(HWND popup);

// Stops the screen savers of every open pop-up together (one set of waits
// for all of them), then destroys the pop-ups.
void CloseAllPreviewPopups();
