#include "help_file.h"

#include "names.h"

#include <windows.h>
#include <stdio.h>
#include <string.h>

const char* HelpFileFor(unsigned long platformId, unsigned long majorVersion)
{
    if (platformId == VER_PLATFORM_WIN32_NT && majorVersion >= 6)
        return RV_HTML_HELP_FILE;
    return RV_HELP_FILE;
}

unsigned GetHelpFileName(char* buffer, unsigned capacity)
{
    if (!buffer || capacity == 0)
        return 0;
    char directory[MAX_PATH] = "";
    UINT length = GetWindowsDirectoryA(directory, sizeof directory);
    if (length >= sizeof directory)
        directory[0] = '\0';
    OSVERSIONINFOA version;
    memset(&version, 0, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    char path[MAX_PATH + 16];
    snprintf(path, sizeof path, "%s\\%s", directory,
             HelpFileFor(version.dwPlatformId, version.dwMajorVersion));
    size_t count = strlen(path);
    if (capacity < count + 1)
        count = capacity - 1;
    if (capacity > 1 && count > 0)
        memcpy(buffer, path, count);
    buffer[count] = '\0';
    return (unsigned)count;
}
