// The installed screen savers: every visible *.scr file of the system
// directory, then of the Windows directory, except the program's own file.
// Within each directory the files are in the order of their names, ignoring
// letter case, so the dialog's list is alphabetical and stable.
#pragma once
#include <stdint.h>

#include <windows.h>

// Files with these attributes are passed over: hidden, system, directories.
const DWORD NotVisibleFile =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;

// Fills Catalogue (it is not emptied first).
void BuildCatalogue();

// Adds the screen savers of one directory to Catalogue.
void ScanDirectory(const char* directory);

// Fills Descriptions, one per catalogue entry.
void LoadDescriptions();

// The description of the entry at position: its string resource 1, or its
// base name when that has 2 characters or fewer, is missing, or the file is
// not a loadable module. Empty for a position outside the catalogue.
void LoadDescription(char* buffer, unsigned capacity, uint32_t position);

// The file name of a path without directory, drive and extension.
void BaseNameOf(const char* path, char* buffer, unsigned capacity);
