// The small dialog "Time for <name>": a play-list entry's own time, or the
// common one.
#pragma once
#include <windows.h>
#include <stdint.h>

// The shortest and longest turn the settings dialog takes, in seconds.
const uint32_t ShortestTypedPeriod = 10;
const uint32_t LongestTypedPeriod = 32767;

// Shows the dialog over owner for the entry called name, with *ownSeconds (0:
// the common time, commonSeconds, is used). True after OK, with *ownSeconds
// the new time (0 for the common one); Cancel, or OK on an emptied box,
// changes nothing.
bool AskEntryTime(HWND owner, const char* name, uint32_t commonSeconds, uint32_t* ownSeconds);
