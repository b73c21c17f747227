// The display settings' own timeout box, in the window that opened the
// settings dialog: read at start, written by OK, so both show the same.
#pragma once
#include <windows.h>
#include <stdint.h>

// The window handle of the command line (/c:hwnd, /p hwnd), or 0: the
// settings dialog's host, whose timeout box the dialog reads and writes.
extern HWND ParentWindow;

// Takes TimeoutMinutes from the box when the host has one with a number.
void ReadHostTimeout(HWND host);

// Writes the minutes into the box when the host has one.
void WriteHostTimeout(HWND host, uint32_t minutes);
