// A play-list item of the settings dialog: the entry's catalogue position and
// its own time in the one number a list box keeps per item, and the text it
// is shown with. No Windows calls here.
#pragma once
#include <stdint.h>

#include <string>

// The position in the low 16 bits (the catalogue holds fewer entries), the
// own seconds (0 for the common time, held at LongestOwnTime) above them, so
// that an entry without a time of its own is its position alone.
uint32_t PackPlayListItem(uint32_t position, uint32_t ownSeconds);
uint32_t ItemPosition(uint32_t data);
uint32_t ItemOwnSeconds(uint32_t data);

// The name, followed by the own time when there is one: "Plasma (60 s)".
std::string PlayListItemText(const std::string& name, uint32_t ownSeconds);
