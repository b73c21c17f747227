// The order the runner plays in: the play-list itself, or, with Shuffle on,
// rounds of random order, each continued by the next session. FileIndex is
// the position in the one or the other. Runner thread only.
#pragma once
#include <stdint.h>

#include <vector>

#include "saver/settings/play_list_entry.h"

// At the runner's start: continues the stored round when it was made for
// this play-list, else begins a new one.
void PrepareTurnOrder();

// The catalogue position of the screen saver whose turn it is. The play-list
// must not be empty.
uint32_t CurrentEntry();

// The milliseconds of the current turn: the entry's own time or the common
// period. After CurrentEntry.
uint32_t CurrentTurnLength();

// On to the next turn; after the last of a round, a new round.
void AdvanceTurn();

// Where the play stands: taken before turns are handed out, and gone back to
// when one of them never ran, so that the next turn or session begins with it.
struct TurnPlace {
    uint32_t fileIndex;
    uint32_t seed;
    bool roundStored;
    std::vector<PlayListEntry> round;  // with Shuffle on
};
TurnPlace CurrentTurnPlace();
void ReturnToTurnPlace(const TurnPlace& place);

// The current screen saver leaves the play for the rest of the session, with
// every entry of it; FileIndex then names the entry that followed it.
void ExcludeCurrentEntry();
// The same for the screen saver at this catalogue position, wherever its
// entries are; FileIndex keeps naming the entry it named, or the one that
// followed when that went.
void ExcludeScreenSaver(uint32_t position);
