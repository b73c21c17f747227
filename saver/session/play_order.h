// The order of play: positions in the play-list, and the rounds of random
// order. No Windows calls here.
#pragma once
#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "saver/settings/play_list_entry.h"

// Removes every entry of the screen saver at catalogue position excluded;
// *index then names the entry it named before, or the one that followed when
// that went (the list's size past the end).
void ExcludeEntriesOf(std::vector<PlayListEntry>& order, uint32_t excluded, uint32_t* index);

// Removes every entry of the screen saver at *index (an excluded screen saver
// goes with all its entries) and moves *index to the entry that followed it:
// the list's size when the excluded one was the last. Nothing changes when
// *index is outside the list.
void ExcludeEntry(std::vector<PlayListEntry>& order, uint32_t* index);

// The position in the play-list as loaded of the entry at index in the same
// list after exclusions (each took every entry of one screen saver, order
// kept): what the next session, which loads the whole list again, starts at.
// 0 past the end.
uint32_t PositionBeforeExclusions(const std::vector<PlayListEntry>& loaded,
                                  const std::vector<PlayListEntry>& kept, uint32_t index);

// A small, well-known generator (Marsaglia's xorshift32) that keeps its state
// in the caller's hands; a zero state is replaced by a fixed one.
uint32_t NextRandom(uint32_t* state);

// One round of random order: the entries of the play-list (repeats kept,
// each with its own time) in the order the seed gives; the same seed always
// gives the same order.
std::vector<PlayListEntry> ShuffleRound(const std::vector<PlayListEntry>& playList,
                                        uint32_t seed);

// The seed of a new round, starting from seed: its first entry is not of the
// screen saver at catalogue position previousLast (the last of the round
// before, when there was one) whenever another screen saver could come first.
uint32_t ChooseRoundSeed(const std::vector<PlayListEntry>& playList, uint32_t seed,
                         const uint32_t* previousLast);

