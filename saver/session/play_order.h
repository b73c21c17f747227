// The order of play: positions in the play-list, and the rounds of random
// order. No Windows calls here.
#pragma once
#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

// Removes every entry equal to excluded; *index then names the entry it named
// before, or the one that followed when that went (the list's size past the
// end). times as below.
void ExcludeEntriesOf(std::vector<uint32_t>& order, uint32_t excluded, uint32_t* index,
                      std::vector<uint32_t>* times = NULL);

// Removes every entry equal to the one at *index (an excluded screen saver
// goes with all its entries) and moves *index to the entry that followed it:
// the list's size when the excluded one was the last. Nothing changes when
// *index is outside the list. times, when given, is a list parallel to order
// (missing elements count as 0) and loses the same positions.
void ExcludeEntry(std::vector<uint32_t>& order, uint32_t* index,
                  std::vector<uint32_t>* times = NULL);

// The position in the play-list as loaded of the entry at index in the same
// list after exclusions (each took every entry of one screen saver, order
// kept): what the next session, which loads the whole list again, starts at.
// 0 past the end.
uint32_t PositionBeforeExclusions(const std::vector<uint32_t>& loaded,
                                  const std::vector<uint32_t>& kept, uint32_t index);

// A small, well-known generator (Marsaglia's xorshift32) that keeps its state
// in the caller's hands; a zero state is replaced by a fixed one.
uint32_t NextRandom(uint32_t* state);

// One round of random order: the entries of the play-list (repeats kept) in
// the order the seed gives; the same seed always gives the same order. The
// order depends on the seed and the list's size alone, so a list parallel to
// the play-list is shuffled alike.
std::vector<uint32_t> ShuffleRound(const std::vector<uint32_t>& playList, uint32_t seed);

// The seed of a new round, starting from seed: its first entry is not
// previousLast (the last of the round before, when there was one) whenever
// another screen saver could come first.
uint32_t ChooseRoundSeed(const std::vector<uint32_t>& playList, uint32_t seed,
                         const uint32_t* previousLast);

