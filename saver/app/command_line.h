// Reading the screen-saver command line into a run mode and a window handle.
// No Windows calls here, so every rule can be tested directly.
#pragma once
#include <stdint.h>

#include "saver/windows/run_mode.h"

struct CommandLineChoice {
    signed char runMode;
    intptr_t parentWindow;  // 0 when the command line gives none
};

// text: the arguments after the program's path; it is lowered in place.
// argv/argc: the runtime's split of the whole command line (argv[0] is the
// program). A missing or blank text selects the settings dialog, as Windows'
// "Configure" verb expects; any other text without a known switch, a session.
CommandLineChoice ReadCommandLine(char* text, int argc, char** argv);

// The window handle of a command line: a 32-bit value in decimal, unsigned
// or signed, as a handle of this program's width; 0 for no digits or a number
// beyond 32 bits.
intptr_t ReadWindowHandle(const char* text);
