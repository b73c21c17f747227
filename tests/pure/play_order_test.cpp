// The order of play: exclusion and the rounds of random order.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "saver/session/play_order.h"
#include "saver/session/turn_order.h"
#include "saver/settings/settings_state.h"
#include "saver/settings/value_names.h"
#include "tests/support/play_list_entries.h"

namespace {

TEST(ExcludeEntry, RemovesEveryEntryOfTheSaverAndPointsAtTheOneThatFollowed)
{
    struct Case {
        std::vector<uint32_t> list;
        uint32_t index;
        std::vector<uint32_t> expectedList;
        uint32_t expectedIndex;
    } cases[] = {
        {{7, 0, 7, 1, 2}, 2, {0, 1, 2}, 1},  // 1 followed the excluded 7
        {{7, 0, 7, 1, 2}, 0, {0, 1, 2}, 0},
        {{0, 1, 7}, 2, {0, 1}, 2},  // the last one: the end of the list
        {{5, 6}, 1, {5}, 1},
        {{7, 7}, 1, {}, 0},  // nothing left
        {{7}, 0, {}, 0},
        {{0, 1}, 5, {0, 1}, 5},  // outside: nothing changes
    };
    for (Case& c : cases) {
        uint32_t index = c.index;
        std::vector<PlayListEntry> list = Entries(c.list);
        ExcludeEntry(list, &index);
        EXPECT_EQ(c.expectedList, Positions(list));
        EXPECT_EQ(c.expectedIndex, index);
    }

    // The entries' own times go with their entries; missing ones are 0.
    struct Timed {
        std::vector<uint32_t> list, times;
        uint32_t index;
        std::vector<uint32_t> expectedTimes;
    } timed[] = {
        {{7, 0, 7, 1, 2}, {60, 0, 30, 45, 10}, 2, {0, 45, 10}},
        {{7, 0, 7, 1, 2}, {60, 15}, 0, {15, 0, 0}},
        {{0, 1}, {5}, 5, {5, 0}},  // outside: nothing changes
    };
    for (Timed& c : timed) {
        uint32_t index = c.index;
        std::vector<PlayListEntry> list = Entries(c.list, c.times);
        ExcludeEntry(list, &index);
        EXPECT_EQ(c.expectedTimes, OwnTimes(list)) << c.index;
    }
}

// A screen saver excluded by its catalogue position, wherever its entries are:
// the index keeps naming its entry, or the one after when that went.
TEST(ExcludeEntry, ByPositionTheIndexKeepsItsEntry)
{
    struct Case {
        std::vector<uint32_t> list;
        uint32_t excluded, index;
        std::vector<uint32_t> expectedList;
        uint32_t expectedIndex;
    } cases[] = {
        {{7, 0, 7, 1, 2}, 7, 3, {0, 1, 2}, 1},  // still names 1
        {{7, 0, 7, 1, 2}, 7, 5, {0, 1, 2}, 3},  // past the end stays past it
        {{0, 1, 2}, 9, 2, {0, 1, 2}, 2},        // not in the list
    };
    for (Case& c : cases) {
        std::vector<PlayListEntry> list = Entries(c.list);
        ExcludeEntriesOf(list, c.excluded, &c.index);
        EXPECT_EQ(c.expectedList, Positions(list));
        EXPECT_EQ(c.expectedIndex, c.index);
    }
}

// The next session loads the whole play-list: the stored position is that of
// the entry to show next in it, not in the list shortened by exclusions.
TEST(ExcludeEntry, TheStoredPositionIsInThePlayListAsLoaded)
{
    struct Case {
        std::vector<uint32_t> loaded, kept;
        uint32_t index, expected;
    } cases[] = {
        {{7, 0, 7, 1, 2}, {0, 1, 2}, 1, 3},  // next is 1, the fourth entry
        {{7, 0, 7, 1, 2}, {0, 1, 2}, 2, 4},
        {{0, 7, 1}, {0, 1}, 1, 2},
        {{0, 1, 2}, {0, 1, 2}, 2, 2},  // nothing excluded
        {{0, 7}, {0}, 1, 0},           // past the end: the start
        {{7, 7}, {}, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected,
                  PositionBeforeExclusions(Entries(c.loaded), Entries(c.kept), c.index))
            << c.index;
}

std::vector<uint32_t> Sorted(std::vector<uint32_t> list)
{
    std::sort(list.begin(), list.end());
    return list;
}

TEST(ShuffleRound, EveryEntryOncePerRoundRepeatsKeptAndTheSameSeedTheSameOrder)
{
    const std::vector<std::vector<uint32_t>> lists = {
        {}, {4}, {4, 9}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {3, 3, 5, 3, 8}};
    for (const std::vector<uint32_t>& list : lists) {
        for (uint32_t seed : {0u, 1u, 12345u, 0xFFFFFFFFu}) {
            std::vector<uint32_t> round = Positions(ShuffleRound(Entries(list), seed));
            EXPECT_EQ(Sorted(list), Sorted(round)) << "seed " << seed;
            EXPECT_EQ(round, Positions(ShuffleRound(Entries(list), seed)));
        }
    }
    // Each entry keeps its own time.
    std::vector<uint32_t> entries = {3, 3, 5, 3, 8, 9, 1}, times = {10, 20, 30, 0, 50, 60, 0};
    for (uint32_t seed : {1u, 12345u, 0xFFFFFFFFu}) {
        std::vector<PlayListEntry> round = ShuffleRound(Entries(entries, times), seed);
        std::vector<std::pair<uint32_t, uint32_t>> pairs, roundPairs;
        for (size_t i = 0; i < entries.size(); ++i) {
            pairs.emplace_back(entries[i], times[i]);
            roundPairs.emplace_back(round[i].position, round[i].ownSeconds);
        }
        std::sort(pairs.begin(), pairs.end());
        std::sort(roundPairs.begin(), roundPairs.end());
        EXPECT_EQ(pairs, roundPairs) << "seed " << seed;
    }

    // Not the play-list's own order every time.
    std::vector<uint32_t> ten = lists[3];
    int same = 0;
    for (uint32_t seed = 1; seed <= 50; ++seed)
        same += Positions(ShuffleRound(Entries(ten), seed)) == ten;
    EXPECT_LT(same, 2);
}

TEST(ShuffleRound, ANewRoundNeverBeginsWithTheLastOfTheRoundBefore)
{
    const std::vector<std::vector<uint32_t>> lists = {
        {4, 9}, {1, 2, 3}, {3, 3, 3, 5}, {6, 6, 6, 6, 6, 6, 6, 2}};
    for (const std::vector<uint32_t>& positions : lists) {
        std::vector<PlayListEntry> list = Entries(positions);
        uint32_t seed = 77;
        std::vector<PlayListEntry> round = ShuffleRound(list, seed);
        for (int rounds = 0; rounds < 200; ++rounds) {
            uint32_t last = round.back().position;
            NextRandom(&seed);
            seed = ChooseRoundSeed(list, seed, &last);
            round = ShuffleRound(list, seed);
            ASSERT_NE(last, round.front().position) << "round " << rounds;
        }
    }
    // A single saver has nothing else to begin with.
    uint32_t only = 5;
    std::vector<PlayListEntry> same = Entries({5, 5});
    EXPECT_EQ(5u, ShuffleRound(same, ChooseRoundSeed(same, 3, &only)).front().position);
    EXPECT_EQ(9u, ChooseRoundSeed(same, 9, NULL));
}

TEST(PlayListFingerprint, ChangesWithTheEntriesAndTheirOrder)
{
    uint32_t ab = PlayListFingerprint({"C:\\a.scr", "C:\\b.scr"});
    EXPECT_EQ(ab, PlayListFingerprint({"C:\\a.scr", "C:\\b.scr"}));
    EXPECT_NE(ab, PlayListFingerprint({"C:\\b.scr", "C:\\a.scr"}));
    EXPECT_NE(ab, PlayListFingerprint({"C:\\a.scr"}));
    EXPECT_NE(PlayListFingerprint({"ab", "c"}), PlayListFingerprint({"a", "bc"}));
}

// The panes' turns are handed out before they start; those that never ran
// are given back, also when a new round of random order began since.
TEST(TurnOrder, GoingBackToAPlaceReplaysTheSameEntriesAcrossARoundsEnd)
{
    PlayList = Entries({0, 1, 2, 3, 4, 5, 6, 7});
    Shuffle = true;
    PrepareTurnOrder();
    FileIndex = 4;
    TurnPlace place = CurrentTurnPlace();
    std::vector<uint32_t> played;
    for (int turn = 0; turn < 10; ++turn, AdvanceTurn()) {
        if (turn == 5)  // a turn into the next round
            ReturnToTurnPlace(place);
        played.push_back(CurrentEntry());
    }
    EXPECT_EQ(std::vector<uint32_t>(played.begin(), played.begin() + 4),
              std::vector<uint32_t>(played.begin() + 5, played.begin() + 9));
}

}  // namespace
