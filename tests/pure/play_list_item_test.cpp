#include <gtest/gtest.h>

#include "saver/dialog/play_list_item.h"

namespace {

// The dialog keeps an entry's own time in its item, beside the position, and
// shows it after the name.
TEST(PlayListItem, PositionAndOwnTimeInOneNumberAndTheTimeShown)
{
    const uint32_t items[][4] = {
        // position, own seconds, item data, seconds kept
        {3, 0, 3, 0},
        {3, 60, (60u << 16) | 3, 60},
        {32766, 32767, 0x7FFF7FFE, 32767},
        {0, 99999, 32767u << 16, 32767},
    };
    for (const auto& item : items) {
        uint32_t data = PackPlayListItem(item[0], item[1]);
        EXPECT_EQ(item[2], data);
        EXPECT_EQ(item[0], ItemPosition(data));
        EXPECT_EQ(item[3], ItemOwnSeconds(data));
    }
    EXPECT_EQ("Plasma", PlayListItemText("Plasma", 0));
    EXPECT_EQ("Plasma (60 s)", PlayListItemText("Plasma", 60));
    EXPECT_EQ(" (32767 s)", PlayListItemText("", 32767));
}

}  // namespace
