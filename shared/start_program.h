// Starting a program: its command line, no inherited handles, this program's
// own start-up information (or, for a program that is no child of ours in
// spirit, none of its flags), environment and directory.
#pragma once
#include <windows.h>

// False (with started zeroed and the error in GetLastError) on failure.
bool StartProgram(char* commandLine, DWORD creationFlags, PROCESS_INFORMATION* started,
                  bool ownStartupFlags = true);

// Starts a program of its own (none of this one's start-up flags) and lets
// it run: nothing waits for it or keeps its handles. The command line is
// taken as far as MAX_PATH + 64 characters.
void StartUnwaited(const char* commandLine);
