// Starting a hosted screen saver: its command line, no inherited handles,
// this program's own start-up information, environment and directory.
#pragma once
#include <windows.h>

// False (with started zeroed and the error in GetLastError) on failure.
bool StartHostedSaver(char* commandLine, DWORD creationFlags, PROCESS_INFORMATION* started);
