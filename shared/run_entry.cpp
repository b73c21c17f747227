#include "run_entry.h"

#include <stdio.h>
#include <string.h>

namespace {

bool Empty(char* buffer, size_t capacity)
{
    if (buffer && capacity)
        buffer[0] = '\0';
    return false;
}

}  // namespace

bool MakeRunEntry(const char* path, char* buffer, size_t capacity)
{
    if (!path || !buffer || capacity == 0)
        return Empty(buffer, capacity);
    int written = strchr(path, ' ') ? snprintf(buffer, capacity, "\"%s\"", path)
                                    : snprintf(buffer, capacity, "%s", path);
    return (written >= 0 && (size_t)written < capacity) || Empty(buffer, capacity);
}

bool RunEntryPath(const char* entry, char* buffer, size_t capacity)
{
    if (!entry || !buffer || capacity == 0)
        return Empty(buffer, capacity);
    const char* start = entry;
    size_t length = strlen(entry);
    if (entry[0] == '"') {
        start = entry + 1;
        const char* close = strchr(start, '"');
        length = close ? (size_t)(close - start) : strlen(start);
    }
    if (length >= capacity)
        return Empty(buffer, capacity);
    memcpy(buffer, start, length);
    buffer[length] = '\0';
    return true;
}
