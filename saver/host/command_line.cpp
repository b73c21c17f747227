#include "command_line.h"

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

intptr_t ReadDecimal(const char* text)
{
    if (!text)
        return 0;
    while (*text == ' ' || (*text >= '\t' && *text <= '\r'))
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-')
        negative = *text++ == '-';
    // Accumulate as a negative number, so that the most negative value fits.
    const intptr_t lowest = INTPTR_MIN;
    intptr_t value = 0;
    bool overflow = false;
    for (; *text >= '0' && *text <= '9'; ++text) {
        int digit = *text - '0';
        if (value < (lowest + digit) / 10) {
            overflow = true;
            continue;
        }
        value = value * 10 - digit;
    }
    if (overflow)
        return negative ? INTPTR_MIN : INTPTR_MAX;
    if (negative)
        return value;
    return value == INTPTR_MIN ? INTPTR_MAX : -value;
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
