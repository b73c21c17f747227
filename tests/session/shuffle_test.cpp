// Random order in whole sessions: every screen saver once per round, and the
// next session finishes the round.
#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "shared/names.h"
#include "tests/support/session_driver.h"

namespace {

TEST(ShuffleSession, EachScreenSaverOncePerRoundAndTheNextSessionFinishesIt)
{
    SessionDriver driver;
    SetRegistryNumber(HKEY_CURRENT_USER, RV_SETTINGS_KEY, "Shuffle", 1);
    ASSERT_TRUE(driver.StartSession({"good_a.scr", "good_b.scr", "good_c.scr"}, 900));
    ASSERT_TRUE(driver.WaitForRecords("window", 2, 15000));
    SessionDriver::PressKey();
    ASSERT_TRUE(driver.WaitForEnd(10000));
    size_t first = driver.StartedFileNames().size();
    ASSERT_EQ(2u, first);
    EXPECT_EQ(2u, driver.StoredFileIndex()) << "the position inside the round";

    ASSERT_TRUE(driver.Start());
    ASSERT_TRUE(driver.WaitForRecords("window", first + 3, 15000));
    SessionDriver::PressKey();
    ASSERT_TRUE(driver.WaitForEnd(10000));
    std::vector<std::string> names = driver.StartedFileNames();
    ASSERT_GE(names.size(), 5u);
    std::set<std::string> round(names.begin(), names.begin() + 3);
    EXPECT_EQ(3u, round.size()) << "the first round showed a screen saver twice";
    std::set<std::string> next(names.begin() + 3, names.begin() + 5);
    EXPECT_EQ(2u, next.size());
    EXPECT_NE(names[2], names[3]) << "a round began with the last of the round before";
}

}  // namespace
