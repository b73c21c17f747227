// Positions in the play-list. No Windows calls here.
#pragma once
#include <stdint.h>

#include <vector>

// Removes every entry equal to the one at *index (an excluded screen saver
// goes with all its entries) and moves *index to the entry that followed it,
// wrapping to the start; 0 when the list is left empty. Nothing changes when
// *index is outside the list.
void ExcludeEntry(std::vector<uint32_t>& playList, uint32_t* index);
