// One entry of the play-list. No Windows calls here.
#pragma once
#include <stdint.h>

struct PlayListEntry {
    uint32_t position;    // in the catalogue
    uint32_t ownSeconds;  // the entry's own time; 0 for the common period
};

inline bool operator==(const PlayListEntry& a, const PlayListEntry& b)
{
    return a.position == b.position && a.ownSeconds == b.ownSeconds;
}
inline bool operator!=(const PlayListEntry& a, const PlayListEntry& b)
{
    return !(a == b);
}
