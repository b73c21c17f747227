#include "play_order.h"

void ExcludeEntry(std::vector<uint32_t>& playList, uint32_t* index)
{
    if (*index >= playList.size())
        return;
    uint32_t excluded = playList[*index];
    uint32_t next = 0;  // entries kept before the excluded position
    size_t kept = 0;
    for (size_t i = 0; i < playList.size(); ++i) {
        if (playList[i] == excluded)
            continue;
        if (i < *index)
            ++next;
        playList[kept++] = playList[i];
    }
    playList.resize(kept);
    *index = kept == 0 ? 0 : next % (uint32_t)kept;
}
