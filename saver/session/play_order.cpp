#include "play_order.h"

#include <algorithm>

#include <utility>

namespace {

// Enough tries to find a fitting first entry unless almost every entry is
// the one to avoid, where repeats cannot be avoided anyway.
const int SeedAttempts = 4096;

}  // namespace

void ExcludeEntry(std::vector<PlayListEntry>& order, uint32_t* index)
{
    if (*index < order.size())
        ExcludeEntriesOf(order, order[*index].position, index);
}

void ExcludeEntriesOf(std::vector<PlayListEntry>& order, uint32_t excluded, uint32_t* index)
{
    uint32_t next = 0;  // entries kept before the excluded position
    size_t kept = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        if (order[i].position == excluded)
            continue;
        if (i < *index)
            ++next;
        order[kept++] = order[i];
    }
    order.resize(kept);
    *index = next;
}

uint32_t PositionBeforeExclusions(const std::vector<PlayListEntry>& loaded,
                                  const std::vector<PlayListEntry>& kept, uint32_t index)
{
    if (index >= kept.size())
        return 0;
    // Exclusions take whole screen savers: an entry was kept when its screen
    // saver still has one.
    uint32_t seen = 0;
    for (size_t i = 0; i < loaded.size(); ++i) {
        bool stays = std::any_of(kept.begin(), kept.end(), [&](const PlayListEntry& entry) {
            return entry.position == loaded[i].position;
        });
        if (stays && seen++ == index)
            return (uint32_t)i;
    }
    return 0;
}

uint32_t NextRandom(uint32_t* state)
{
    uint32_t x = *state ? *state : 0x9E3779B9u;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    *state = x;
    return x;
}

std::vector<PlayListEntry> ShuffleRound(const std::vector<PlayListEntry>& playList,
                                        uint32_t seed)
{
    std::vector<PlayListEntry> round(playList);
    uint32_t state = seed;
    // Fisher-Yates from the end.
    for (size_t i = round.size(); i > 1; --i) {
        size_t j = NextRandom(&state) % i;
        std::swap(round[i - 1], round[j]);
    }
    return round;
}

uint32_t ChooseRoundSeed(const std::vector<PlayListEntry>& playList, uint32_t seed,
                         const uint32_t* previousLast)
{
    if (!previousLast)
        return seed;
    bool another = false;
    for (const PlayListEntry& entry : playList)
        another = another || entry.position != *previousLast;
    if (!another)
        return seed;
    for (int attempt = 0; attempt < SeedAttempts; ++attempt) {
        if (ShuffleRound(playList, seed)[0].position != *previousLast)
            return seed;
        NextRandom(&seed);
    }
    return seed;
}
