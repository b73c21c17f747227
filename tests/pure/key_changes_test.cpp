#include <gtest/gtest.h>

#include <string.h>

#include <string>

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

// A source that hears keys as they go may have missed a let-go: a key the
// poll saw up goes down anew.
TEST(KeyChanges, AKeyThePollSawUpCountsWhateverTheHeardStatesSay)
{
    const unsigned Space = 0x20;
    uint8_t states[256];
    memset(states, 1, sizeof states);
    EXPECT_EQ(KeySignal::None, TakeHeardKeyChange(states, true, Space, true, 0)) << "held";
    EXPECT_EQ(KeySignal::Input, TakeHeardKeyChange(states, false, Space, true, 0));
    EXPECT_EQ(KeySignal::None, TakeHeardKeyChange(states, true, Space, true, 0)) << "repeat";
    EXPECT_EQ(KeySignal::None, TakeHeardKeyChange(states, false, 0, true, 0)) << "no key";
}

TEST(KeyChanges, RawMouseButtonFlagsAreButtonsDownThenUp)
{
    const struct {
        unsigned flags;
        const char* changes;  // virtual-key code, + down, - up
    } cases[] = {
        {0x0000, ""},                                // a move
        {0x0001, "1+ "},                             // left down
        {0x0018, "2- 4+ "},                          // right up, middle down
        {0x0300, "6+ 6- "},                          // a quick X2 click
        {0x03FF, "1+ 1- 2+ 2- 4+ 4- 5+ 5- 6+ 6- "},  // the most there are
    };
    for (const auto& c : cases) {
        KeyChange changes[MostButtonChanges];
        std::string text;
        for (size_t i = 0, count = MouseButtonChanges(c.flags, changes); i < count; ++i)
            text += std::to_string(changes[i].code) + (changes[i].down ? "+ " : "- ");
        EXPECT_EQ(c.changes, text) << c.flags;
    }
}

}  // namespace
