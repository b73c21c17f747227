// The rule both sources of the session's input keep (the input watch's poll
// and the system's raw input): a key or mouse button counts only on its
// change from seen up to down, so one held from before the session, or
// across a refused password, counts only when pressed again, and a held
// key's auto-repeat never counts twice. No Windows calls here.
#pragma once
#include <stddef.h>
#include <stdint.h>

enum class KeySignal {
    None,   // nothing new
    Input,  // InputEvent: the session ends (after the password)
    Next,   // NextEvent: the next screen saver, at once
};

// One key or button (a virtual-key code) seen down or up; states holds 256
// entries, 1 = seen down. nextKey is the next-screensaver key, 0 when off.
// Codes 0 and 255 are no keys.
KeySignal TakeKeyChange(uint8_t* states, unsigned code, bool down, unsigned nextKey);

// The same for the sources that hear each key as it goes (the keyboard hook
// and raw input). Their states may miss a let-go, one made while no window
// had the keyboard (under Wine it reaches no program), and would count a
// key as held from before: one the poll saw up at its last pass (polledDown
// false) goes down anew, whatever they last heard.
KeySignal TakeHeardKeyChange(uint8_t* states, bool polledDown, unsigned code, bool down,
                             unsigned nextKey);

// The mouse buttons a raw mouse report presses or lets go (its button
// flags), as virtual-key codes with down or up, in that order for one
// button; returns how many of changes (room for MostButtonChanges) it filled.
const size_t MostButtonChanges = 10;
struct KeyChange {
    uint8_t code;
    bool down;
};
size_t MouseButtonChanges(unsigned buttonFlags, KeyChange* changes);
