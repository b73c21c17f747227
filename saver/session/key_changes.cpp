#include "key_changes.h"

namespace {

// Raw input's button flags (RI_MOUSE_*): down and up of each button in turn.
struct ButtonFlags {
    unsigned down, up;
    uint8_t code;  // VK_LBUTTON, VK_RBUTTON, VK_MBUTTON, VK_XBUTTON1, VK_XBUTTON2
};
const ButtonFlags Buttons[] = {
    {0x0001, 0x0002, 0x01}, {0x0004, 0x0008, 0x02}, {0x0010, 0x0020, 0x04},
    {0x0040, 0x0080, 0x05}, {0x0100, 0x0200, 0x06},
};

}  // namespace

KeySignal TakeKeyChange(uint8_t* states, unsigned code, bool down, unsigned nextKey)
{
    if (code == 0 || code >= 255)
        return KeySignal::None;
    bool wasUp = states[code] == 0;
    states[code] = down ? 1 : 0;
    if (!down || !wasUp)
        return KeySignal::None;
    return code == nextKey ? KeySignal::Next : KeySignal::Input;
}

KeySignal TakeHeardKeyChange(uint8_t* states, bool polledDown, unsigned code, bool down,
                             unsigned nextKey)
{
    if (down && !polledDown && code > 0 && code < 255)
        states[code] = 0;
    return TakeKeyChange(states, code, down, nextKey);
}

size_t MouseButtonChanges(unsigned buttonFlags, KeyChange* changes)
{
    size_t count = 0;
    for (const ButtonFlags& button : Buttons) {
        // A report may carry both of one button (a very quick click): the
        // press, then the release.
        if (buttonFlags & button.down)
            changes[count++] = {button.code, true};
        if (buttonFlags & button.up)
            changes[count++] = {button.code, false};
    }
    return count;
}
