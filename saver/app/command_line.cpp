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
        return ReadDecimal(argv[2]);
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
            choice.parentWindow = ReadDecimal(colon + 2);
    } else if (Contains(text, "/p") || Contains(text, "-p")) {
        choice.runMode = ModePreview;
        choice.parentWindow = NumberOfArgumentTwo(argc, argv);
    } else if (Contains(text, "/a") || Contains(text, "-a")) {
        choice.runMode = ModeChangePassword;
        choice.parentWindow = NumberOfArgumentTwo(argc, argv);
    }
    return choice;
}
