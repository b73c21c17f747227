// Command lines of the hosted screen savers. Each returns false, leaving an
// empty text, when the result would not fit: a cut command line is never run.
#pragma once
#include <stddef.h>
#include <stdint.h>

// Characters, terminator included: a 259-character path in quotes and the
// program's own arguments. CreateProcessA takes more on every target (the
// Windows 95 family 1024, the NT family 32767).
const size_t CommandLineLimit = 1024;

// Session: "\"path\" " and each of the program's own arguments (argv[1] on)
// followed by one blank; just "/s " when none of them is "/s" or "-s" (in
// any letter case).
bool BuildSessionCommandLine(char* buffer, size_t capacity, const char* path, int argc,
                             char** argv);

// Preview in a window of the settings dialog: "\"path\" /p <window>".
bool BuildPreviewCommandLine(char* buffer, size_t capacity, const char* path, intptr_t window);

// The screen saver's own settings: "\"path\"  /c".
bool BuildConfigureCommandLine(char* buffer, size_t capacity, const char* path);
