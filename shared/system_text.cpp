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
