#include "help_file.h"

#include "../../shared/names.h"

#include <windows.h>
#include <stdio.h>
#include <string.h>

unsigned GetHelpFileName(char* buffer, unsigned capacity)
{
    if (!buffer || capacity == 0)
        return 0;
    char directory[MAX_PATH] = "";
    UINT length = GetWindowsDirectoryA(directory, sizeof directory);
    if (length >= sizeof directory)
        directory[0] = '\0';
    char path[MAX_PATH + 16];
    snprintf(path, sizeof path, "%s\\%s", directory, RV_HELP_FILE);
    size_t count = strlen(path);
    if (capacity < count + 1)
        count = capacity - 1;
    if (capacity > 1 && count > 0)
        memcpy(buffer, path, count);
    buffer[count] = '\0';
    return (unsigned)count;
}
