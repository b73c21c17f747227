// The companion's start-up entry ("Rotaveil Companion" in a Run key), the
// one place that reads, writes and deletes it: the companion writes it, the
// settings dialog reads and removes it.
#pragma once
#include <windows.h>

class RegistryKey;

// The Run key of root (HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER).
bool OpenStartupKey(HKEY root, REGSAM access, RegistryKey* key);
// The entry for the program at path, quoted where it holds a blank.
bool WriteStartupEntry(RegistryKey& run, const char* programPath);
// The program path of root's entry, quoted or not; false when there is none.
bool ReadStartupEntryPath(HKEY root, char (&path)[MAX_PATH]);
void DeleteStartupEntry(HKEY root);
