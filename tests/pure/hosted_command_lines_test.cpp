#include <gtest/gtest.h>

#include <string>

#include "saver/dialog/play_list_item.h"
#include "saver/processes/hosted_command_lines.h"
#include "saver/settings/value_names.h"
#include "shared/run_entry.h"

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
    ASSERT_TRUE(BuildPreviewCommandLine(buffer, sizeof buffer, "C:\\x.scr", -5));
    EXPECT_STREQ("\"C:\\x.scr\" /p -5", buffer);
    ASSERT_TRUE(BuildConfigureCommandLine(buffer, sizeof buffer, "C:\\x.scr"));
    EXPECT_STREQ("\"C:\\x.scr\"  /c", buffer);
}

TEST(ValueNames, PlayListNamesAndTypedNumbers)
{
    char name[32];
    FormatPlayListValueName(name, sizeof name, 0);
    EXPECT_EQ(std::string("File") + std::string(8, ' ') + "00", name);
    FormatPlayListValueName(name, sizeof name, 5);
    EXPECT_EQ(std::string("File") + std::string(8, ' ') + "05", name);
    FormatPlayListValueName(name, sizeof name, 100);
    EXPECT_EQ(std::string("File") + std::string(7, ' ') + "100", name);

    EXPECT_EQ(12u, ReadUnsignedDecimal("  12min", 32767));
    EXPECT_EQ(0u, ReadUnsignedDecimal("-3", 32767));
    EXPECT_EQ(32767u, ReadUnsignedDecimal("99999999999999999999", 32767));
    EXPECT_EQ(0u, ReadUnsignedDecimal("", 32767));

    const uint32_t periods[][2] = {{0, 1000},         {999, 1000},         {1000, 1000},
                                   {20000, 20000},    {86400000, 86400000}, {86400001, 86400000},
                                   {0xFFFFFFFF, 86400000}};
    for (const auto& period : periods)
        EXPECT_EQ(period[1], HoldPeriod(period[0])) << period[0];
}

// A turn lasts the entry's own time when it has one, within the common
// period's bounds.
TEST(ValueNames, TurnLengths)
{
    const uint32_t turns[][3] = {
        // period, own seconds, milliseconds
        {20000, 0, 20000}, {20000, 60, 60000}, {5000, 86401, 86400000}, {5000, 0xFFFFFFFF, 86400000},
    };
    for (const auto& turn : turns)
        EXPECT_EQ(turn[2], TurnLength(turn[0], turn[1])) << turn[1];
}

// The dialog keeps an entry's own time in its item, beside the position, and
// shows it after the name.
TEST(PlayListItem, PositionAndOwnTimeInOneNumberAndTheTimeShown)
{
    const uint32_t items[][4] = {
        // position, own seconds, item data, seconds kept
        {3, 0, 3, 0}, {3, 60, (60u << 16) | 3, 60}, {32766, 32767, 0x7FFF7FFE, 32767},
        {0, 99999, 32767u << 16, 32767},
    };
    for (const auto& item : items) {
        uint32_t data = PackPlayListItem(item[0], item[1]);
        EXPECT_EQ(item[2], data);
        EXPECT_EQ(item[0], ItemPosition(data));
        EXPECT_EQ(item[3], ItemOwnSeconds(data));
    }
    EXPECT_EQ("Plasma", PlayListItemText("Plasma", 0));
    EXPECT_EQ("Plasma (60 s)", PlayListItemText("Plasma", 60));
    EXPECT_EQ(" (32767 s)", PlayListItemText("", 32767));
}

// What the timeout box gives at OK: what it showed while that number is
// there, so that nothing is written back; else the typed minutes, 1 or more.
TEST(ValueNames, TheTimeoutBoxChangesOnlyWhatWasTyped)
{
    struct Case {
        uint32_t shown;
        const char* typed;
        uint32_t expected;
    } cases[] = {
        {1, "1", 1},  {0, "0", 0},  {0, "", 0},        {1, " 1", 1},
        {1, "2", 2},  {0, "1", 1},  {5, "0", 1},       {5, "-3", 1},
        {5, "99999", 32767},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, TimeoutMinutesAtOk(c.shown, c.typed, 32767)) << c.typed;
}

TEST(RunEntry, QuotedWhenThePathHoldsABlankAndReadEitherWay)
{
    char entry[64], path[64];
    ASSERT_TRUE(MakeRunEntry("C:\\Program Files\\rvtray.exe", entry, sizeof entry));
    EXPECT_STREQ("\"C:\\Program Files\\rvtray.exe\"", entry);
    ASSERT_TRUE(MakeRunEntry("C:\\WINDOWS\\RVTRAY.EXE", entry, sizeof entry));
    EXPECT_STREQ("C:\\WINDOWS\\RVTRAY.EXE", entry);
    EXPECT_FALSE(MakeRunEntry("C:\\a b\\rvtray.exe", entry, 12));
    EXPECT_STREQ("", entry);

    const char* forms[][2] = {
        {"\"C:\\Program Files\\rvtray.exe\"", "C:\\Program Files\\rvtray.exe"},
        {"\"C:\\a b\\rvtray.exe\" /x", "C:\\a b\\rvtray.exe"},
        {"C:\\WINDOWS\\RVTRAY.EXE", "C:\\WINDOWS\\RVTRAY.EXE"},
        {"\"C:\\unclosed", "C:\\unclosed"},
        {"", ""},
    };
    for (const auto& form : forms) {
        ASSERT_TRUE(RunEntryPath(form[0], path, sizeof path)) << form[0];
        EXPECT_STREQ(form[1], path);
    }
}

}  // namespace
