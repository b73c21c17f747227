// The display settings' own timeout box, in the window that opened the
// settings dialog: read at start, written by OK, so both show the same.
#pragma once
#include <windows.h>
#include <stdint.h>

// Takes TimeoutMinutes from the box when the host has one with a number.
void ReadHostTimeout(HWND host);

// Writes the minutes into the box when the host has one.
void WriteHostTimeout(HWND host, uint32_t minutes);
