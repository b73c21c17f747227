// Positions in the play-list.
#include <gtest/gtest.h>

#include <vector>

#include "saver/runner/play_order.h"

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
        {{0, 1, 7}, 2, {0, 1}, 0},           // the last one: round to the start
        {{5, 6}, 1, {5}, 0},
        {{7, 7}, 1, {}, 0},                  // nothing left
        {{7}, 0, {}, 0},
        {{0, 1}, 5, {0, 1}, 5},              // outside: nothing changes
    };
    for (Case& c : cases) {
        uint32_t index = c.index;
        ExcludeEntry(c.list, &index);
        EXPECT_EQ(c.expectedList, c.list);
        EXPECT_EQ(c.expectedIndex, index);
    }
}

}  // namespace
