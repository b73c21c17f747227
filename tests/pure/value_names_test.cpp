#include <gtest/gtest.h>

#include <string>

#include "saver/settings/value_names.h"

namespace {

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

    const uint32_t periods[][2] = {{0, 1000},
                                   {999, 1000},
                                   {1000, 1000},
                                   {20000, 20000},
                                   {86400000, 86400000},
                                   {86400001, 86400000},
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
        {20000, 0, 20000},
        {20000, 60, 60000},
        {5000, 86401, 86400000},
        {5000, 0xFFFFFFFF, 86400000},
    };
    for (const auto& turn : turns)
        EXPECT_EQ(turn[2], TurnLength(turn[0], turn[1])) << turn[1];
}

// The timeout and period boxes at OK: what the box showed while that number
// is there (nothing is written back; the period box shows whole seconds of
// a stored value in milliseconds), else the typed number within bounds.
TEST(ValueNames, TheTimeoutAndPeriodBoxesChangeOnlyWhatWasTyped)
{
    struct Case {
        bool period;
        uint32_t shown;  // minutes; for the period, the stored milliseconds
        const char* typed;
        uint32_t expected;
    } cases[] = {
        {false, 1, "1", 1},
        {false, 0, "0", 0},
        {false, 0, "", 0},
        {false, 1, " 1", 1},
        {false, 1, "2", 2},
        {false, 0, "1", 1},
        {false, 5, "0", 1},
        {false, 5, "-3", 1},
        {false, 5, "99999", 32767},
        {true, 4000, "4", 4000},
        {true, 20500, "20", 20500},
        {true, 86400000, "86400", 86400000},
        {true, 20000, "", 20000},
        {true, 20000, "5", 10000},
        {true, 20000, "45", 45000},
        {true, 20000, "letters", 10000},
        {true, 4000, "99999999", 32767000},
    };
    for (const Case& c : cases) {
        uint32_t got = c.period ? PeriodAtOk(c.shown, c.typed, 10, 32767)
                                : TimeoutMinutesAtOk(c.shown, c.typed, 32767);
        EXPECT_EQ(c.expected, got)
            << (c.period ? "period " : "timeout ") << c.shown << " '" << c.typed << "'";
    }
}

}  // namespace
