// The installed screen savers: every visible *.scr file of the program's
// system directory, then on 64-bit Windows of the other one (the 32-bit
// build sees the 64-bit one as Sysnative, the 64-bit build the 32-bit one as
// SysWOW64), then of the Windows directory, except the program's own file. A
// name found in both system directories is listed once, from the program's
// own. Within each directory the files are in the order of their names,
// ignoring letter case, so the dialog's list is alphabetical and stable.
#pragma once
#include <stdint.h>

#include <windows.h>

#include <string>
#include <vector>

#include "file_look.h"

// The most screen savers listed: what a list box holds on Windows 95, and
// what the settings dialog's items have room for.
const uint32_t CatalogueLimit = 32767;

// What decides the folders of the catalogue.
struct CatalogueFacts {
    std::string system;         // GetSystemDirectoryA: the program's own system folder
    std::string windows;        // GetWindowsDirectoryA
    std::string wow64System;    // 64-bit build on 64-bit Windows: the 32-bit system folder
    bool underWow64 = false;    // 32-bit build on 64-bit Windows
    bool hasSysnative = false;  // ... on Vista or later, where "Sysnative" names the 64-bit one
};

// The folders to scan, in order.
std::vector<std::string> CatalogueFolders(const CatalogueFacts& facts);

// Every name the system folders go by here (the program's own, the other
// build's, and their aliases under the Windows folder), for matching a
// play-list stored by the other build.
extern std::vector<std::string> SystemFolderNames;

// For a path in one of the system folders, a key that is the same whichever
// of their names it uses ("SYSTEM\\" and the upper-cased file name); empty for
// any other path.
std::string SystemFolderKey(const char* path);

// Files with these attributes are passed over: hidden, system, directories.
const DWORD NotVisibleFile =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;

// Fills Catalogue (it is not emptied first).
void BuildCatalogue();

// The folders BuildCatalogue scanned. A screen saver anywhere else was added
// by the user, one file at a time, and is stored by its full path like every
// entry.
extern std::vector<std::string> ScannedFolders;
bool IsInScannedFolder(const char* path);

// Adds a screen saver from any folder at the end of Catalogue; false when the
// path names no visible ".scr" file (or the program's own), is too long to
// start, or the catalogue is full. answer, when given, says whether the
// file's drive answered in time (file_look.h). The caller has made sure that
// the path is not in Catalogue yet (by its keys): no search here, so that
// adding thousands costs no more than their own looks.
bool AppendToCatalogue(const char* path, uint32_t* position, FileAnswer* answer = NULL);

// Whether the name ends in ".scr", ignoring letter case.
bool HasScrExtension(const char* name);

// Adds the screen savers of one directory to Catalogue.
void ScanDirectory(const char* directory);

// Makes Descriptions as long as Catalogue, each one still to be read: a
// description costs opening its file (about a millisecond under Wine), so
// only those shown are read, by DescriptionOf.
void LoadDescriptions();

// The description of the entry at position, read on first use and kept;
// empty past Descriptions' end.
const std::string& DescriptionOf(uint32_t position);

// The description of the entry at position: its string resource 1, or its
// base name when that has 2 characters or fewer, is missing, or the file is
// not a loadable module. Empty for a position outside the catalogue.
void LoadDescription(char* buffer, unsigned capacity, uint32_t position);

// The file name of a path without directory, drive and extension.
void BaseNameOf(const char* path, char* buffer, unsigned capacity);
