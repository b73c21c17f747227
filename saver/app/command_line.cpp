#include "command_line.h"

#include "saver/settings/value_names.h"

#include <string.h>

namespace {

bool Contains(const char* text, const char* what)
{
    return strstr(text, what) != NULL;
}

intptr_t NumberOfArgumentTwo(int argc, char** argv)
{
    if (argc > 2 && argv && argv[2])
        return ReadWindowHandle(argv[2]);
    return 0;
}

bool IsBlank(const char* text)
{
    for (; *text; ++text) {
        if (*text != ' ' && !(*text >= '\t' && *text <= '\r'))
            return false;
    }
    return true;
}

}  // namespace

intptr_t ReadWindowHandle(const char* text)
{
    // Window handles are 32-bit values, written unsigned as documented or
    // signed (as "%i" writes one at or above 0x80000000); a 64-bit program
    // sign-extends them, as Windows does. Beyond 32 bits it is no handle.
    int64_t number = ReadDecimal64(text);
    if (number < INT32_MIN || number > (int64_t)UINT32_MAX)
        return 0;
    return (intptr_t)(int32_t)(uint32_t)number;
}

CommandLineChoice ReadCommandLine(char* text, int argc, char** argv)
{
    // Windows' own "Configure" verb starts a screen saver without arguments.
    CommandLineChoice choice = {ModeConfig, 0};
    if (!text || IsBlank(text))
        return choice;
    choice.runMode = ModeSaver;
    for (char* c = text; *c; ++c) {
        if (*c >= 'A' && *c <= 'Z')
            *c = (char)(*c - 'A' + 'a');
    }
    if (Contains(text, "/c") || Contains(text, "-c")) {
        choice.runMode = ModeConfig;
        const char* colon = strstr(text, "c:");
        if (colon)
            choice.parentWindow = ReadWindowHandle(colon + 2);
    } else if (Contains(text, "/p") || Contains(text, "-p")) {
        choice.runMode = ModePreview;
        choice.parentWindow = NumberOfArgumentTwo(argc, argv);
    } else if (Contains(text, "/a") || Contains(text, "-a")) {
        choice.runMode = ModeChangePassword;
        choice.parentWindow = NumberOfArgumentTwo(argc, argv);
    }
    return choice;
}
