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
    if (!text)
        return 0;
    while (*text == ' ' || (*text >= '\t' && *text <= '\r'))
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-')
        negative = *text++ == '-';
    unsigned long long number = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        number = number * 10 + (unsigned)(*text - '0');
        // Beyond 32 bits it is no window handle.
        if (number > (negative ? 0x80000000ull : 0xFFFFFFFFull))
            return 0;
    }
    // Window handles are 32-bit values, written unsigned as documented or
    // signed (as "%i" writes one at or above 0x80000000); a 64-bit program
    // sign-extends them, as Windows does.
    uint32_t bits = (uint32_t)(negative ? 0 - number : number);
    return (intptr_t)(int32_t)bits;
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
