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

namespace {

// folder (up to folderLength characters) and then the tail; the length of
// the result, copied with its terminator only when it fits.
size_t JoinPath(const char* folder, size_t folderLength, const char* tail, char* buffer,
                size_t capacity)
{
    size_t tailLength = strlen(tail);
    size_t total = folderLength + tailLength;
    if (buffer && total + 1 <= capacity) {
        memcpy(buffer, folder, folderLength);
        memcpy(buffer + folderLength, tail, tailLength + 1);
    }
    return total;
}

}  // namespace

size_t MakeLogPath(const char* programPath, char* buffer, size_t capacity)
{
    if (!programPath)
        programPath = "";
    // The folder is everything up to the last separator; the program's own
    // name (a short 8.3 one when started through one) plays no part.
    size_t folderLength = 0;
    for (size_t i = 0; programPath[i]; ++i) {
        char c = programPath[i];
        if (c == '\\' || c == '/' || c == ':')
            folderLength = i + 1;
    }
    return JoinPath(programPath, folderLength, LogFileName, buffer, capacity);
}

size_t MakeUserLogPath(const char* userFolder, char* buffer, size_t capacity)
{
    if (!userFolder || !*userFolder)
        return capacity;  // no such folder: never a path
    return JoinPath(userFolder, strlen(userFolder), "\\Rotaveil\\_Rotaveil.log", buffer, capacity);
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
