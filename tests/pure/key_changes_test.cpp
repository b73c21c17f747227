#include <gtest/gtest.h>

#include <string.h>

#include "saver/session/key_changes.h"

namespace {

// Both input sources count a key only on its change from up to down.
TEST(KeyChanges, AKeyCountsOnlyAsItGoesDownFromUp)
{
    const unsigned Space = 0x20, Right = 0x27;
    uint8_t states[256];
    memset(states, 1, sizeof states);  // as the session starts: all held
    const struct {
        unsigned code;
        bool down;
        unsigned nextKey;
        KeySignal signal;
    } steps[] = {
        {Space, true, 0, KeySignal::None},       // held from before the session
        {Space, true, 0, KeySignal::None},       // its auto-repeat
        {Space, false, 0, KeySignal::None},      // let go
        {Space, true, 0, KeySignal::Input},      // pressed again
        {Space, true, 0, KeySignal::None},       // held: auto-repeat
        {Right, false, Right, KeySignal::None},  //
        {Right, true, Right, KeySignal::Next},   // the next-screensaver key
        {Right, false, 0, KeySignal::None},      //
        {Right, true, 0, KeySignal::Input},      // that key, off
        {0, true, 0, KeySignal::None},           // no key
        {255, false, 0, KeySignal::None},        //
        {255, true, 0, KeySignal::None},         // no key either
    };
    for (const auto& step : steps)
        EXPECT_EQ(step.signal, TakeKeyChange(states, step.code, step.down, step.nextKey))
            << step.code << (step.down ? " down" : " up");
}

TEST(KeyChanges, RawMouseButtonFlagsAreButtonsDownThenUp)
{
    KeyChange changes[MostButtonChanges];
    ASSERT_EQ(0u, MouseButtonChanges(0x0000, changes));  // a move
    ASSERT_EQ(1u, MouseButtonChanges(0x0001, changes));  // left down
    EXPECT_EQ(0x01, changes[0].code);
    EXPECT_TRUE(changes[0].down);
    ASSERT_EQ(2u, MouseButtonChanges(0x0008 | 0x0010, changes));  // right up, middle down
    EXPECT_EQ(0x02, changes[0].code);
    EXPECT_FALSE(changes[0].down);
    EXPECT_EQ(0x04, changes[1].code);
    EXPECT_TRUE(changes[1].down);
    ASSERT_EQ(2u, MouseButtonChanges(0x0100 | 0x0200, changes));  // a quick X2 click
    EXPECT_EQ(0x06, changes[0].code);
    EXPECT_TRUE(changes[0].down);
    EXPECT_FALSE(changes[1].down);
    EXPECT_EQ(MostButtonChanges, MouseButtonChanges(0x03FF, changes));
}

}  // namespace
