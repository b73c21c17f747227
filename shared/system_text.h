// The system's own text for an error code, ready to go into a log line.
#pragma once
#include <windows.h>

// Fills text (always terminated) with the system's message for code, without
// its closing line break; an empty text when the system has none.
void FormatSystemText(DWORD code, char* text, DWORD capacity);

// Removes the line breaks (CR and LF) and blanks at the end of a text in
// place: system texts end with their own CR LF, which a log line must not
// carry into the middle of the file.
void TrimLineEnd(char* text);

// Fills the inserts a system text may hold ("Bad EXE format for %1."): "%1"
// becomes insert, any other "%" and a digit is left out. Cut to capacity,
// always terminated.
void FillSystemTextInserts(char* text, DWORD capacity, const char* insert);
