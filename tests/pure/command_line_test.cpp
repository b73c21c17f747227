#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "saver/app/command_line.h"
#include "saver/settings/value_names.h"

namespace {

// Runs the reader as WinMain does: the text after the program's path, and the
// runtime's split of the whole command line.
CommandLineChoice Read(const std::string& arguments)
{
    std::vector<std::string> words = {"C:\\WINDOWS\\_Rotaveil.scr"};
    std::string word;
    for (char c : arguments) {
        if (c == ' ') {
            if (!word.empty())
                words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty())
        words.push_back(word);
    std::vector<char*> argv;
    for (std::string& w : words)
        argv.push_back(&w[0]);
    argv.push_back(nullptr);
    std::string text = arguments;
    return ReadCommandLine(&text[0], (int)words.size(), argv.data());
}

struct Case {
    const char* commandLine;
    signed char mode;
    intptr_t window;
};

class CommandLineTable : public ::testing::TestWithParam<Case> {};

TEST_P(CommandLineTable, ChoosesModeAndWindow)
{
    const Case& expected = GetParam();
    CommandLineChoice choice = Read(expected.commandLine);
    EXPECT_EQ(expected.mode, choice.runMode) << "command line: " << expected.commandLine;
    EXPECT_EQ(expected.window, choice.parentWindow) << "command line: " << expected.commandLine;
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, CommandLineTable,
    ::testing::Values(Case{"", ModeConfig, 0}, Case{" \t ", ModeConfig, 0},
                      Case{"/s", ModeSaver, 0}, Case{"/S", ModeSaver, 0}, Case{"/c", ModeConfig, 0},
                      Case{"/c:1234", ModeConfig, 1234}, Case{"/C:1234", ModeConfig, 1234},
                      Case{"/c 1234", ModeConfig, 0}, Case{"-c:77", ModeConfig, 77},
                      Case{"/p", ModePreview, 0}, Case{"/p 1234", ModePreview, 1234},
                      Case{"/P 1234", ModePreview, 1234}, Case{"/p:1234", ModePreview, 0},
                      Case{"-p 99", ModePreview, 99}, Case{"/a 4321", ModeChangePassword, 4321},
                      Case{"/a", ModeChangePassword, 0}, Case{"/s /c", ModeConfig, 0},
                      Case{"/config", ModeConfig, 0}, Case{"word-change", ModeConfig, 0},
                      Case{"/x /y", ModeSaver, 0}, Case{"/c:-42", ModeConfig, -42},
                      Case{"/c:  +17abc", ModeConfig, 17}, Case{"/c:abc", ModeConfig, 0},
                      // Handles at or above 0x80000000, unsigned or signed; no
                      // handle beyond 32 bits.
                      Case{"/p 2147483648", ModePreview, (intptr_t)INT32_MIN},
                      Case{"/p -2147483648", ModePreview, (intptr_t)INT32_MIN},
                      Case{"/c:4294967295", ModeConfig, -1},
                      Case{"/p 4294967296", ModePreview, 0}));

TEST(CommandLine, LowersTheTextInPlaceAndToleratesNoText)
{
    char text[] = "/C:55 /S";
    char program[] = "x.scr";
    char* argv[] = {program, nullptr};
    ReadCommandLine(text, 1, argv);
    EXPECT_STREQ("/c:55 /s", text);

    CommandLineChoice none = ReadCommandLine(nullptr, 0, nullptr);
    EXPECT_EQ(ModeConfig, none.runMode);
    EXPECT_EQ(0, none.parentWindow);
}

TEST(CommandLine, DecimalReadingHoldsHugeNumbersAtTheEnds)
{
    EXPECT_EQ(0, ReadDecimal(""));
    EXPECT_EQ(0, ReadDecimal("-"));
    EXPECT_EQ(12, ReadDecimal(" \t12x"));
    EXPECT_EQ(INTPTR_MAX, ReadDecimal("99999999999999999999999999"));
    EXPECT_EQ(INTPTR_MIN, ReadDecimal("-99999999999999999999999999"));
}

}  // namespace
