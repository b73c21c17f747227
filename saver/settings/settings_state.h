// The settings of the screen-saver program, the installed screen savers and
// the play-list. Main thread only, except that the runner thread uses the
// play-list and FileIndex while a session runs.
#pragma once
#include <windows.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "play_list_entry.h"

const uint32_t DefaultPeriod = 20000;   // milliseconds
const uint32_t DefaultTimeoutMinutes = 5;
const unsigned DescriptionLimit = 256;  // bytes of a description, terminator included

extern uint32_t Period;          // milliseconds each screen saver runs
extern uint32_t FileIndex;       // play-list position the next session starts at
extern uint32_t TimeoutMinutes;  // the system's screen-saver timeout
// The minutes read at load: the system's timeout is written back only when
// TimeoutMinutes differs, so that one of 90 s is not made 60 s by an OK that
// changed only the play-list.
extern uint32_t LoadedTimeoutMinutes;
extern bool ShowTrayIcon;        // the tray companion starts with Windows
extern bool Shuffle;             // play in rounds of random order
extern bool NextKey;             // Right arrow shows the next screen saver
extern bool EachMonitor;         // a screen saver of its own on each monitor
// The round of random order a session stopped in: its seed and the
// fingerprint of the play-list it was made for; FileIndex is the position
// inside it. Valid only when ShuffleRoundStored.
extern uint32_t ShuffleSeed;
extern uint32_t ShuffleList;
extern bool ShuffleRoundStored;

extern std::vector<std::string> Catalogue;     // full paths of the installed screen savers
extern std::vector<std::string> Descriptions;  // at the same positions; ModeConfig only
extern std::vector<PlayListEntry> PlayList;    // in play order

// The system's version, filled once at start: the password setting, the
// start-up entries and the process snapshot differ between the families.
extern OSVERSIONINFOA VersionInfo;  // read from the system, not a setting
bool IsNtFamily();

// Frees the catalogue, the descriptions and the play-list.
void FreeSettings();
// Every setting above back to the value the program starts with, the lists
// freed. Each setting added above is added here too (a test checks it).
void ResetSettings();
