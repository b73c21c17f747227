// The companion's start-up entry in the Run keys: a path, in quotes when it
// holds a blank, so that no "C:\Program.exe" can stand in for it at logon.
// No Windows calls here.
#pragma once
#include <stddef.h>

// Writes the entry for path into buffer; false (an empty text) when it does
// not fit.
bool MakeRunEntry(const char* path, char* buffer, size_t capacity);

// The program path of an entry, quoted or not (what follows a closing quote
// is left out); false (an empty text) when it does not fit.
bool RunEntryPath(const char* entry, char* buffer, size_t capacity);
