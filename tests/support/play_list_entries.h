// The play-list in the tests' terms: entries made from catalogue positions
// (with their own times, 0 where none is given), and read back as either.
#pragma once
#include <stdint.h>

#include <vector>

#include "saver/settings/play_list_entry.h"

inline std::vector<PlayListEntry> Entries(const std::vector<uint32_t>& positions,
                                          const std::vector<uint32_t>& ownSeconds = {})
{
    std::vector<PlayListEntry> entries;
    for (size_t i = 0; i < positions.size(); ++i)
        entries.push_back({positions[i], i < ownSeconds.size() ? ownSeconds[i] : 0});
    return entries;
}

inline std::vector<uint32_t> Positions(const std::vector<PlayListEntry>& entries)
{
    std::vector<uint32_t> positions;
    for (const PlayListEntry& entry : entries)
        positions.push_back(entry.position);
    return positions;
}

inline std::vector<uint32_t> OwnTimes(const std::vector<PlayListEntry>& entries)
{
    std::vector<uint32_t> seconds;
    for (const PlayListEntry& entry : entries)
        seconds.push_back(entry.ownSeconds);
    return seconds;
}
