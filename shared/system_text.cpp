#include "system_text.h"

#include <string.h>

void FormatSystemText(DWORD code, char* text, DWORD capacity)
{
    if (!text || capacity == 0)
        return;
    DWORD length =
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, code,
                       MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, capacity, NULL);
    text[length < capacity ? length : capacity - 1] = '\0';
    TrimLineEnd(text);
}

void TrimLineEnd(char* text)
{
    if (!text)
        return;
    size_t length = strlen(text);
    while (length > 0 &&
           (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == ' '))
        text[--length] = '\0';
}

void FillSystemTextInserts(char* text, DWORD capacity, const char* insert)
{
    if (!text || capacity == 0 || !strchr(text, '%'))
        return;
    char filled[1024];
    size_t used = 0;
    const size_t room = capacity < sizeof filled ? capacity - 1 : sizeof filled - 1;
    for (const char* at = text; *at && used < room; ++at) {
        if (at[0] == '%' && at[1] >= '1' && at[1] <= '9') {
            const char* with = at[1] == '1' && insert ? insert : "";
            for (; *with && used < room; ++with)
                filled[used++] = *with;
            ++at;
            continue;
        }
        filled[used++] = *at;
    }
    filled[used] = '\0';
    memcpy(text, filled, used + 1);
}
