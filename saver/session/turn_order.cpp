#include "turn_order.h"

#include <windows.h>

#include <vector>

#include "play_order.h"
#include "saver/settings/settings_state.h"
#include "saver/settings/value_names.h"

namespace {

std::vector<PlayListEntry> Round;  // the current round when Shuffle is on

std::vector<PlayListEntry>& Order()
{
    return Shuffle ? Round : PlayList;
}

void MakeRound()
{
    Round = ShuffleRound(PlayList, ShuffleSeed);
}

// Differs between sessions and between rounds of one session.
uint32_t FreshSeed()
{
    SYSTEMTIME now;
    GetSystemTime(&now);
    uint32_t seed = GetTickCount() ^ (GetCurrentProcessId() << 16) ^ ShuffleSeed ^
                    ((uint32_t)now.wMilliseconds << 8) ^ ((uint32_t)now.wSecond << 20);
    NextRandom(&seed);
    return NextRandom(&seed);
}

void NewRound(const uint32_t* previousLast)
{
    ShuffleSeed = ChooseRoundSeed(PlayList, FreshSeed(), previousLast);
    MakeRound();
    ShuffleRoundStored = true;
    FileIndex = 0;
}

}  // namespace

void PrepareTurnOrder()
{
    if (!Shuffle)
        return;
    std::vector<const char*> paths;
    for (const PlayListEntry& entry : PlayList)
        paths.push_back(entry.position < Catalogue.size() ? Catalogue[entry.position].c_str()
                                                          : "");
    uint32_t fingerprint = PlayListFingerprint(paths);
    bool continues =
        ShuffleRoundStored && ShuffleList == fingerprint && FileIndex < PlayList.size();
    ShuffleList = fingerprint;
    if (continues)
        MakeRound();
    else
        NewRound(NULL);
}

uint32_t CurrentEntry()
{
    std::vector<PlayListEntry>& order = Order();
    if (FileIndex >= order.size()) {
        if (Shuffle && !order.empty()) {
            uint32_t last = order.back().position;
            NewRound(&last);
        } else {
            FileIndex %= (uint32_t)order.size();
        }
    }
    return Order()[FileIndex].position;
}

uint32_t CurrentTurnLength()
{
    const std::vector<PlayListEntry>& order = Order();
    return TurnLength(Period, FileIndex < order.size() ? order[FileIndex].ownSeconds : 0);
}

void AdvanceTurn()
{
    std::vector<PlayListEntry>& order = Order();
    ++FileIndex;
    if (FileIndex < order.size())
        return;
    if (Shuffle && !order.empty()) {
        uint32_t last = order.back().position;
        NewRound(&last);
    } else {
        FileIndex = 0;
    }
}

TurnPlace CurrentTurnPlace()
{
    return {FileIndex, ShuffleSeed, ShuffleRoundStored,
            Shuffle ? Round : std::vector<PlayListEntry>()};
}

void ReturnToTurnPlace(const TurnPlace& place)
{
    FileIndex = place.fileIndex;
    ShuffleSeed = place.seed;
    ShuffleRoundStored = place.roundStored;
    if (Shuffle)
        Round = place.round;
}

void ExcludeCurrentEntry()
{
    if (FileIndex < Order().size())
        ExcludeScreenSaver(Order()[FileIndex].position);
}

void ExcludeScreenSaver(uint32_t position)
{
    ExcludeEntriesOf(Order(), position, &FileIndex);
    if (Shuffle) {
        uint32_t first = 0;
        ExcludeEntriesOf(PlayList, position, &first);
        // This round no longer matches the full play-list the next session
        // loads: it begins a new one.
        ShuffleList = 0;
    }
}
