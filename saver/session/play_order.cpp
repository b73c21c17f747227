#include "play_order.h"

#include <algorithm>

#include <utility>

namespace {

// Enough tries to find a fitting first entry unless almost every entry is
// the one to avoid, where repeats cannot be avoided anyway.
const int SeedAttempts = 4096;

}  // namespace

void ExcludeEntry(std::vector<uint32_t>& order, uint32_t* index, std::vector<uint32_t>* times)
{
    if (*index < order.size())
        ExcludeEntriesOf(order, order[*index], index, times);
}

void ExcludeEntriesOf(std::vector<uint32_t>& order, uint32_t excluded, uint32_t* index,
                      std::vector<uint32_t>* times)
{
    if (times)
        times->resize(order.size(), 0);
    uint32_t next = 0;  // entries kept before the excluded position
    size_t kept = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        if (order[i] == excluded)
            continue;
        if (i < *index)
            ++next;
        if (times)
            (*times)[kept] = (*times)[i];
        order[kept++] = order[i];
    }
    order.resize(kept);
    if (times)
        times->resize(kept);
    *index = next;
}

uint32_t PositionBeforeExclusions(const std::vector<uint32_t>& loaded,
                                  const std::vector<uint32_t>& kept, uint32_t index)
{
    if (index >= kept.size())
        return 0;
    uint32_t seen = 0;
    for (size_t i = 0; i < loaded.size(); ++i) {
        if (std::find(kept.begin(), kept.end(), loaded[i]) == kept.end())
            continue;
        if (seen++ == index)
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

std::vector<uint32_t> ShuffleRound(const std::vector<uint32_t>& playList, uint32_t seed)
{
    std::vector<uint32_t> round(playList);
    uint32_t state = seed;
    // Fisher-Yates from the end.
    for (size_t i = round.size(); i > 1; --i) {
        size_t j = NextRandom(&state) % i;
        std::swap(round[i - 1], round[j]);
    }
    return round;
}

uint32_t ChooseRoundSeed(const std::vector<uint32_t>& playList, uint32_t seed,
                         const uint32_t* previousLast)
{
    if (!previousLast)
        return seed;
    bool another = false;
    for (uint32_t entry : playList)
        another = another || entry != *previousLast;
    if (!another)
        return seed;
    for (int attempt = 0; attempt < SeedAttempts; ++attempt) {
        if (ShuffleRound(playList, seed)[0] != *previousLast)
            return seed;
        NextRandom(&seed);
    }
    return seed;
}
