// The system's screen-saver timeout: the one place that reads and writes it,
// for the companion's install and the settings dialog.
#pragma once
#include <windows.h>

// In seconds; false (and *seconds 0) when the system does not say.
bool ReadSystemTimeout(UINT* seconds);
// Into the user's desktop settings (as text, where Windows keeps it) and the
// running system; flags as for SystemParametersInfo (SPIF_SENDWININICHANGE
// tells every program now, 0 leaves it to the caller).
void WriteSystemTimeout(UINT seconds, UINT flags);
