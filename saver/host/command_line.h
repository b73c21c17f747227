// Reading the screen-saver command line into a run mode and a window handle.
// No Windows calls here, so every rule can be tested directly.
#pragma once
#include <stdint.h>

enum : signed char {
    ModeConfig = 0,
    ModePreview = 1,
    ModeChangePassword = 2,
    ModeSaver = 3,
};

struct CommandLineChoice {
    signed char runMode;
    intptr_t parentWindow;  // 0 when the command line gives none
};

// text: the arguments after the program's path; it is lowered in place.
// argv/argc: the runtime's split of the whole command line (argv[0] is the
// program). A missing or blank text selects the settings dialog, as Windows'
// "Configure" verb expects; any other text without a known switch, a session.
CommandLineChoice ReadCommandLine(char* text, int argc, char** argv);

// A decimal integer as atoi reads it: blanks skipped, one optional sign,
// digits up to the first other character; no digits give 0. Values beyond the
// range of a pointer-sized integer are held at its ends.
intptr_t ReadDecimal(const char* text);
