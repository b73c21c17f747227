#include <gtest/gtest.h>

#include <string>

#include "saver/processes/hosted_command_lines.h"

namespace {

TEST(HostedCommandLine, SessionPassesOnEachOwnArgumentWithATrailingBlank)
{
    char buffer[CommandLineLimit];
    char program[] = "C:\\WINDOWS\\_Rotaveil.scr";
    char s[] = "/s";
    char extra[] = "x";
    char* withS[] = {program, s, nullptr};
    ASSERT_TRUE(BuildSessionCommandLine(buffer, sizeof buffer, "C:\\W\\a b.scr", 2, withS));
    EXPECT_STREQ("\"C:\\W\\a b.scr\" /s ", buffer);
    char* two[] = {program, s, extra, nullptr};
    ASSERT_TRUE(BuildSessionCommandLine(buffer, sizeof buffer, "p.scr", 3, two));
    EXPECT_STREQ("\"p.scr\" /s x ", buffer);
    char upper[] = "-S";
    char* dashUpper[] = {program, extra, upper, nullptr};
    ASSERT_TRUE(BuildSessionCommandLine(buffer, sizeof buffer, "p.scr", 3, dashUpper));
    EXPECT_STREQ("\"p.scr\" x -S ", buffer);
}

TEST(HostedCommandLine, WithoutASaverSwitchTheHostedSaversGetOne)
{
    char buffer[CommandLineLimit];
    char program[] = "C:\\WINDOWS\\_Rotaveil.scr";
    char unknown[] = "/x";
    char* none[] = {program, nullptr};
    ASSERT_TRUE(BuildSessionCommandLine(buffer, sizeof buffer, "C:\\W\\a.scr", 1, none));
    EXPECT_STREQ("\"C:\\W\\a.scr\" /s ", buffer);
    char* other[] = {program, unknown, nullptr};
    ASSERT_TRUE(BuildSessionCommandLine(buffer, sizeof buffer, "a.scr", 2, other));
    EXPECT_STREQ("\"a.scr\" /s ", buffer);
}

// Whatever the catalogue lists starts: a path of 259 characters with long
// arguments fits; a line that does not fit is refused, never cut.
TEST(HostedCommandLine, TheLongestPathFitsWithItsArgumentsAndMoreIsRefusedNotCut)
{
    char buffer[CommandLineLimit];
    char program[] = "x.scr";
    char s[] = "/s";
    std::string extra(300, 'a');
    char* withS[] = {program, s, &extra[0], nullptr};
    std::string longest(259, 'p');
    ASSERT_TRUE(BuildSessionCommandLine(buffer, sizeof buffer, longest.c_str(), 3, withS));
    EXPECT_EQ("\"" + longest + "\" /s " + extra + " ", std::string(buffer));
    EXPECT_TRUE(BuildPreviewCommandLine(buffer, sizeof buffer, longest.c_str(), 1234));
    EXPECT_TRUE(BuildConfigureCommandLine(buffer, sizeof buffer, longest.c_str()));

    std::string tooMuch(CommandLineLimit, 'a');
    char* overlong[] = {program, s, &tooMuch[0], nullptr};
    EXPECT_FALSE(BuildSessionCommandLine(buffer, sizeof buffer, longest.c_str(), 3, overlong));
    EXPECT_STREQ("", buffer);
    std::string hugePath(CommandLineLimit, 'p');
    EXPECT_FALSE(BuildPreviewCommandLine(buffer, sizeof buffer, hugePath.c_str(), 1234));
    EXPECT_STREQ("", buffer);
    EXPECT_FALSE(BuildConfigureCommandLine(buffer, sizeof buffer, hugePath.c_str()));
}

TEST(HostedCommandLine, PreviewAndConfigureForms)
{
    char buffer[CommandLineLimit];
    ASSERT_TRUE(BuildPreviewCommandLine(buffer, sizeof buffer, "C:\\x.scr", 1234));
    EXPECT_STREQ("\"C:\\x.scr\" /p 1234", buffer);
    // A handle at or above 0x80000000 (sign-extended in a 64-bit program).
    ASSERT_TRUE(BuildPreviewCommandLine(buffer, sizeof buffer, "C:\\x.scr", -5));
    EXPECT_STREQ("\"C:\\x.scr\" /p 4294967291", buffer);
    ASSERT_TRUE(BuildPreviewCommandLine(buffer, sizeof buffer, "C:\\x.scr", (intptr_t)INT32_MIN));
    EXPECT_STREQ("\"C:\\x.scr\" /p 2147483648", buffer);
    ASSERT_TRUE(BuildConfigureCommandLine(buffer, sizeof buffer, "C:\\x.scr"));
    EXPECT_STREQ("\"C:\\x.scr\"  /c", buffer);
}

}  // namespace
