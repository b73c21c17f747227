#include "play_list_item.h"

#include <stdio.h>

#include "saver/settings/value_names.h"

uint32_t PackPlayListItem(uint32_t position, uint32_t ownSeconds)
{
    uint32_t seconds = ownSeconds < LongestOwnTime ? ownSeconds : LongestOwnTime;
    return (position & 0xFFFFu) | (seconds << 16);
}

uint32_t ItemPosition(uint32_t data)
{
    return data & 0xFFFFu;
}

uint32_t ItemOwnSeconds(uint32_t data)
{
    return data >> 16;
}

std::string PlayListItemText(const std::string& name, uint32_t ownSeconds)
{
    if (ownSeconds == 0)
        return name;
    char time[32];
    snprintf(time, sizeof time, " (%u s)", (unsigned)ownSeconds);
    return name + time;
}
