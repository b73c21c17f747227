// The machine's process list, from the Toolhelp32 snapshot functions bound by
// name at run time on every call: Windows NT before 5.0 has none of them.
#pragma once
#include <windows.h>
#include <tlhelp32.h>

#include <vector>

#include "shared/owned.h"

// Appends one entry per running process, in the system's order. False when no
// snapshot can be had.
bool EnumProcesses(std::vector<PROCESSENTRY32>& list);

// Loads KERNEL32.DLL into kernel and looks up the three functions; true when
// all exist.
bool BindToolhelp(OwnedLibrary* kernel);
