#include "turn_order.h"

#include <windows.h>

#include <vector>

#include "play_order.h"
#include "saver/settings/settings_state.h"
#include "saver/settings/value_names.h"

namespace {

std::vector<uint32_t> Round;       // the current round when Shuffle is on
std::vector<uint32_t> RoundTimes;  // its entries' own times, at the same positions

std::vector<uint32_t>& Order()
{
    return Shuffle ? Round : PlayList;
}

std::vector<uint32_t>& OrderTimes()
{
    return Shuffle ? RoundTimes : PlayListTimes;
}

// A round's entries keep their own times: shuffled with the same seed, the
// times follow their entries.
void MakeRound()
{
    Round = ShuffleRound(PlayList, ShuffleSeed);
    RoundTimes = ShuffleRound(PlayListTimes, ShuffleSeed);
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
    PlayListTimes.resize(PlayList.size(), 0);
    if (!Shuffle)
        return;
    std::vector<const char*> paths;
    for (uint32_t position : PlayList)
        paths.push_back(position < Catalogue.size() ? Catalogue[position].c_str() : "");
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
    std::vector<uint32_t>& order = Order();
    if (FileIndex >= order.size()) {
        if (Shuffle && !order.empty()) {
            uint32_t last = order.back();
            NewRound(&last);
        } else {
            FileIndex %= (uint32_t)order.size();
        }
    }
    return Order()[FileIndex];
}

uint32_t CurrentTurnLength()
{
    const std::vector<uint32_t>& times = OrderTimes();
    return TurnLength(Period, FileIndex < times.size() ? times[FileIndex] : 0);
}

void AdvanceTurn()
{
    std::vector<uint32_t>& order = Order();
    ++FileIndex;
    if (FileIndex < order.size())
        return;
    if (Shuffle && !order.empty()) {
        uint32_t last = order.back();
        NewRound(&last);
    } else {
        FileIndex = 0;
    }
}

void ExcludeCurrentEntry()
{
    if (FileIndex < Order().size())
        ExcludeScreenSaver(Order()[FileIndex]);
}

void ExcludeScreenSaver(uint32_t position)
{
    ExcludeEntriesOf(Order(), position, &FileIndex, &OrderTimes());
    if (Shuffle) {
        uint32_t first = 0;
        ExcludeEntriesOf(PlayList, position, &first, &PlayListTimes);
        // This round no longer matches the full play-list the next session
        // loads: it begins a new one.
        ShuffleList = 0;
    }
}
