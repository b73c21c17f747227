#include "command_lines.h"

#include <stdio.h>
#include <string.h>

namespace {

bool Fail(char* buffer, size_t capacity)
{
    if (buffer && capacity)
        buffer[0] = '\0';
    return false;
}

bool Fits(int written, size_t capacity)
{
    return written >= 0 && (size_t)written < capacity;
}

}  // namespace

bool BuildSessionCommandLine(char* buffer, size_t capacity, const char* path, int argc,
                             char** argv)
{
    if (!buffer || capacity == 0 || !path)
        return Fail(buffer, capacity);
    int written = snprintf(buffer, capacity, "\"%s\" ", path);
    if (!Fits(written, capacity))
        return Fail(buffer, capacity);
    size_t used = (size_t)written;
    for (int i = 1; i < argc && argv; ++i) {
        const char* argument = argv[i] ? argv[i] : "";
        size_t length = strlen(argument);
        if (used + length + 1 >= capacity)
            return Fail(buffer, capacity);
        memcpy(buffer + used, argument, length);
        used += length;
        buffer[used++] = ' ';
        buffer[used] = '\0';
    }
    return true;
}

bool BuildPreviewCommandLine(char* buffer, size_t capacity, const char* path, intptr_t window)
{
    if (!buffer || capacity == 0 || !path)
        return Fail(buffer, capacity);
    // Window handles are 32-bit values, also in a 64-bit process.
    int written = snprintf(buffer, capacity, "\"%s\" /p %i", path, (int)window);
    return Fits(written, capacity) || Fail(buffer, capacity);
}

bool BuildConfigureCommandLine(char* buffer, size_t capacity, const char* path)
{
    if (!buffer || capacity == 0 || !path)
        return Fail(buffer, capacity);
    int written = snprintf(buffer, capacity, "\"%s\"  /c", path);
    return Fits(written, capacity) || Fail(buffer, capacity);
}
