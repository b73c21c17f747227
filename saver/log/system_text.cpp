#include "system_text.h"

#include "log_text.h"

void FormatSystemText(DWORD code, char* text, DWORD capacity)
{
    if (!text || capacity == 0)
        return;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  NULL, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text,
                                  capacity, NULL);
    text[length < capacity ? length : capacity - 1] = '\0';
    TrimLineEnd(text);
}
