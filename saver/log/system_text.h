// The system's own text for an error code, ready to go into a log line.
#pragma once
#include <windows.h>

// Fills text (always terminated) with the system's message for code, without
// its closing line break; an empty text when the system has none.
void FormatSystemText(DWORD code, char* text, DWORD capacity);
