#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "saver/log/log_text.h"
#include "shared/system_text.h"

namespace {

std::string Prefix(unsigned day, unsigned month, unsigned year, unsigned hour, unsigned minute)
{
    char buffer[64];
    LogClock clock = {day, month, year, hour, minute};
    size_t length = FormatLogPrefix(buffer, sizeof buffer, clock);
    EXPECT_EQ(length, std::string(buffer).size());
    return buffer;
}

TEST(LogLine, DateFieldsAreZeroPaddedWithTwoDigitYears)
{
    EXPECT_EQ("06/03/01 14:05 ", Prefix(6, 3, 2001, 14, 5));
    EXPECT_EQ("09/01/00 07:03 ", Prefix(9, 1, 2000, 7, 3));
    EXPECT_EQ("31/12/99 23:59 ", Prefix(31, 12, 1999, 23, 59));
    EXPECT_EQ("01/01/26 00:00 ", Prefix(1, 1, 2026, 0, 0));
    EXPECT_EQ("01/01/100 00:00 ", Prefix(1, 1, 2100, 0, 0));
}

TEST(LogLine, PrefixNeverOverrunsASmallBuffer)
{
    char buffer[8] = "xxxxxxx";
    LogClock clock = {6, 3, 2001, 14, 5};
    EXPECT_EQ(0u, FormatLogPrefix(buffer, sizeof buffer, clock));
    EXPECT_STREQ("", buffer);
}

// The log lies in the program's folder under one name, also when Windows
// started the program by its short name; or in the user's folder.
TEST(LogPath, OneNameInTheProgramsFolderOrTheUsersFolder)
{
    struct Case {
        const char* program;
        const char* expected;
    } cases[] = {
        {"C:\\WINDOWS\\_Rotaveil.scr", "C:\\WINDOWS\\_Rotaveil.log"},
        {"C:\\WINDOWS\\_ROTAV~1.SCR", "C:\\WINDOWS\\_Rotaveil.log"},
        {"C:\\my.dir\\saver", "C:\\my.dir\\_Rotaveil.log"},
        {"saver.scr", "_Rotaveil.log"},
    };
    char buffer[260];
    for (const Case& c : cases) {
        EXPECT_EQ(strlen(c.expected), MakeLogPath(c.program, buffer, sizeof buffer));
        EXPECT_STREQ(c.expected, buffer);
    }
    char tiny[10] = "unchanged";
    EXPECT_EQ(24u, MakeLogPath("C:\\WINDOWS\\_Rotaveil.scr", tiny, sizeof tiny));
    EXPECT_STREQ("unchanged", tiny);

    EXPECT_EQ(33u, MakeUserLogPath("C:\\Users\\a", buffer, sizeof buffer));
    EXPECT_STREQ("C:\\Users\\a\\Rotaveil\\_Rotaveil.log", buffer);
    EXPECT_EQ(sizeof buffer, MakeUserLogPath("", buffer, sizeof buffer)) << "no user folder";
}

// The newest bytes of a log, read with one byte before them: the kept part
// starts after their first line feed.
TEST(LogCut, KeepsFromTheFirstWholeLineOfTheNewestBytes)
{
    const char* cases[][2] = {
        {"aa\nbbbb\ncccc\n", "bbbb\ncccc\n"},
        {"\nbbbb\n", "bbbb\n"},  // the byte before ended a line
        {"xxxxxxxx\n", ""},        // no whole line: length
        {"", ""},
    };
    for (const auto& c : cases) {
        std::string text = c[0];
        EXPECT_EQ(c[1], text.substr(FindLogCutStart(text.data(), text.size()))) << c[0];
    }
}

TEST(LogCut, CarriageReturnsOfLineEndsAreFoldedOnly)
{
    char text[] = "a\r\nb\rc\r\n\r";
    size_t length = StripCarriageReturns(text, sizeof text - 1);
    EXPECT_EQ("a\nb\rc\n\r", std::string(text, length));
}

}  // namespace

TEST(TrimLineEnd, RemovesTheLineBreaksAndBlanksASystemTextEndsWith)
{
    struct Case {
        const char* text;
        const char* expected;
    } cases[] = {
        {"Bad EXE format for %1.\r\n", "Bad EXE format for %1."},
        {"Access denied. \r\n", "Access denied."},
        {"no break", "no break"},
        {"\r\n", ""},
        {"", ""},
        {"inner\r\nline\n", "inner\r\nline"},
    };
    for (const Case& c : cases) {
        char text[64];
        strcpy(text, c.text);
        TrimLineEnd(text);
        EXPECT_STREQ(c.expected, text);
    }
    TrimLineEnd(nullptr);
}

TEST(SystemTextInserts, TheFirstIsFilledOthersLeftOutAndTheTextBounded)
{
    struct Case {
        const char* text;
        const char* insert;
        DWORD capacity;
        const char* expected;
    } cases[] = {
        {"Bad EXE format for %1.", "C:\\a.scr", 64, "Bad EXE format for C:\\a.scr."},
        {"%1 needs %2", "x", 64, "x needs "},
        {"100% done", "x", 64, "100% done"},
        {"no inserts", "x", 64, "no inserts"},
        {"Bad EXE format for %1.", "C:\\a.scr", 12, "Bad EXE for"},
        {"at the end %", "x", 64, "at the end %"},
    };
    for (const Case& c : cases) {
        char text[64];
        strcpy(text, c.text);
        FillSystemTextInserts(text, c.capacity, c.insert);
        EXPECT_STREQ(c.expected, text) << c.text;
    }
}
