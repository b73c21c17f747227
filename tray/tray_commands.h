// The command lines by which the companion starts the screen saver.
#pragma once
#include <stddef.h>
#include <stdint.h>

// "\"<windows>\_Rotaveil.scr\" /s"; false (and an empty text) when it does not fit.
bool FormatRunCommand(char* buffer, size_t capacity, const char* windowsDirectory);
// "\"<windows>\_Rotaveil.scr\" /c:<window>"
bool FormatOptionsCommand(char* buffer, size_t capacity, const char* windowsDirectory,
                          intptr_t window);
