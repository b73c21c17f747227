#include "tray_commands.h"

#include <stdio.h>

#include "shared/names.h"

namespace {

bool Done(char* buffer, size_t capacity, int written)
{
    if (written >= 0 && (size_t)written < capacity)
        return true;
    if (capacity)
        buffer[0] = '\0';
    return false;
}

}  // namespace

bool FormatRunCommand(char* buffer, size_t capacity, const char* windowsDirectory)
{
    return Done(buffer, capacity,
                snprintf(buffer, capacity, "\"%s\\%s\" /s", windowsDirectory, RV_SAVER_FILE));
}

bool FormatOptionsCommand(char* buffer, size_t capacity, const char* windowsDirectory,
                          intptr_t window)
{
    return Done(buffer, capacity,
                snprintf(buffer, capacity, "\"%s\\%s\" /c:%i", windowsDirectory, RV_SAVER_FILE,
                         (int)window));
}
