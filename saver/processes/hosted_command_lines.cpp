#include "hosted_command_lines.h"

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

bool IsSaverSwitch(const char* argument)
{
    return argument && (argument[0] == '/' || argument[0] == '-') &&
           (argument[1] == 's' || argument[1] == 'S');
}

bool HasSaverSwitch(int argc, char** argv)
{
    for (int i = 1; i < argc && argv; ++i) {
        if (IsSaverSwitch(argv[i]))
            return true;
    }
    return false;
}

}  // namespace

bool BuildSessionCommandLine(char* buffer, size_t capacity, const char* path, int argc, char** argv)
{
    if (!buffer || capacity == 0 || !path)
        return Fail(buffer, capacity);
    int written = snprintf(buffer, capacity, "\"%s\" ", path);
    if (!Fits(written, capacity))
        return Fail(buffer, capacity);
    size_t used = (size_t)written;
    // Started without "/s" (an unknown switch): the hosted screen savers are
    // to run full screen all the same, not show their settings.
    static char saverSwitch[] = "/s";
    static char* onlySwitch[] = {NULL, saverSwitch};
    if (!HasSaverSwitch(argc, argv)) {
        argc = 2;
        argv = onlySwitch;
    }
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
    // Window handles are 32-bit values, also in a 64-bit process, written
    // unsigned: screen savers read digits only.
    int written = snprintf(buffer, capacity, "\"%s\" /p %u", path, (unsigned)(uint32_t)window);
    return Fits(written, capacity) || Fail(buffer, capacity);
}

bool BuildConfigureCommandLine(char* buffer, size_t capacity, const char* path)
{
    if (!buffer || capacity == 0 || !path)
        return Fail(buffer, capacity);
    int written = snprintf(buffer, capacity, "\"%s\"  /c", path);
    return Fits(written, capacity) || Fail(buffer, capacity);
}
