// Where the help file lies: directly in the Windows directory.
#pragma once

// Stores the help file's path (cut to capacity - 1 characters when it does not
// fit) and returns the number of characters stored.
unsigned GetHelpFileName(char* buffer, unsigned capacity);
