// Reading and writing registry texts without trusting what is stored.
#pragma once
#include <windows.h>

// Reads a REG_SZ (or REG_EXPAND_SZ) value into buffer, always terminated: the
// text runs up to the size the registry reports or the first NUL, whichever
// comes first. False when the value is missing, of another type, or its text
// does not fit into capacity - 1 characters.
bool ReadRegistryText(HKEY key, const char* name, char* buffer, DWORD capacity);

// Reads a REG_DWORD value of exactly 4 bytes.
bool ReadRegistryNumber(HKEY key, const char* name, DWORD* value);

// Writes a REG_SZ value with its terminating NUL counted in the size.
bool WriteRegistryText(HKEY key, const char* name, const char* text);

// Terminates data of size bytes (held in a buffer of size + 1 bytes or more)
// at its first NUL or at size, whichever comes first.
void TerminateRegistryText(char* data, DWORD size);
