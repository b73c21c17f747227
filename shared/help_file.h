// Where the help file lies: directly in the Windows directory. Windows before
// Vista opens WinHelp files; later ones have no WinHelp and get HTML Help.
#pragma once

// The help file's name for a system: the HTML Help file on the NT family from
// version 6 on, the WinHelp file everywhere else.
const char* HelpFileFor(unsigned long platformId, unsigned long majorVersion);

// Stores the help file's path for the running system (cut to capacity - 1
// characters when it does not fit) and returns the number of characters stored.
unsigned GetHelpFileName(char* buffer, unsigned capacity);
