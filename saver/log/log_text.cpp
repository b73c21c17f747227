#include "log_text.h"

#include <stdio.h>
#include <string.h>

unsigned LogYearField(unsigned year)
{
    unsigned sinceBase = year >= 1900 ? year - 1900 : 0;
    return sinceBase >= 100 ? sinceBase - 100 : sinceBase;
}

size_t FormatLogPrefix(char* buffer, size_t capacity, const LogClock& clock)
{
    if (!buffer || capacity == 0)
        return 0;
    int written = snprintf(buffer, capacity, "%2.2u/%2.2u/%2.2u %2.2u:%2.2u ", clock.day,
                           clock.month, LogYearField(clock.year), clock.hour, clock.minute);
    if (written < 0 || (size_t)written >= capacity) {
        buffer[0] = '\0';
        return 0;
    }
    return (size_t)written;
}

size_t MakeLogPath(const char* programPath, char* buffer, size_t capacity)
{
    if (!programPath)
        programPath = "";
    size_t length = strlen(programPath);
    // The extension is the last dot of the last path component.
    size_t nameStart = 0;
    for (size_t i = 0; i < length; ++i) {
        char c = programPath[i];
        if (c == '\\' || c == '/' || c == ':')
            nameStart = i + 1;
    }
    size_t stemLength = length;
    for (size_t i = length; i > nameStart; --i) {
        if (programPath[i - 1] == '.') {
            stemLength = i - 1;
            break;
        }
    }
    static const char extension[] = ".log";
    size_t total = stemLength + sizeof extension - 1;
    if (buffer && total + 1 <= capacity) {
        memcpy(buffer, programPath, stemLength);
        memcpy(buffer + stemLength, extension, sizeof extension);
    }
    return total;
}

size_t StripCarriageReturns(char* text, size_t length)
{
    size_t out = 0;
    for (size_t i = 0; i < length; ++i) {
        if (text[i] == '\r' && i + 1 < length && text[i + 1] == '\n')
            continue;
        text[out++] = text[i];
    }
    return out;
}

size_t FindLogCutStart(const char* text, size_t length)
{
    for (size_t i = 0; i < length; ++i) {
        if (text[i] == '\n')
            return i + 1;
    }
    return length;
}
