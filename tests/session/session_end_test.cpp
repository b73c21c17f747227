// How a session ends on a key: nothing starts after it, also when the screen
// saver ends itself on that key (a race with the input watch, so it is tried
// over several rounds) or the key comes as one turn ends and the next
// begins, and a key during a slow start is not kept waiting.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "shared/names.h"
#include "tests/fixtures/fixture_record.h"
#include "tests/support/session_driver.h"

namespace {

TEST(SessionEnd, AScreenSaverThatEndsItselfOnTheKeyIsTheLastOneStarted)
{
    for (int round = 0; round < 6; ++round) {
        SessionDriver driver;
        driver.SetFileIndex(1);
        ASSERT_TRUE(driver.StartSession({"good_a.scr", "good_b.scr", "good_c.scr"}, 60000));
        ASSERT_TRUE(driver.WaitForTurn(1));
        SessionDriver::PressKey();
        ASSERT_TRUE(driver.WaitForEnd(10000)) << "round " << round;
        EXPECT_EQ(1u, driver.RecordsStartingWith("start").size())
            << "round " << round << ": a screen saver was started after the key\n"
            << ReadWholeFile(driver.recordFile);
        EXPECT_EQ(2u, driver.StoredFileIndex()) << "round " << round << ": the one after good_b";
    }
}

// Starts a screen saver that makes its window slowStart ms after its start
// and presses a key keyAfter ms after its start; returns when the key went
// down, 0 when the session did not start.
DWORD KeyDuringASlowStart(SessionDriver& driver, DWORD slowStart, DWORD keyAfter)
{
    SetRegistryNumber(HKEY_CURRENT_USER, RV_TEST_KEY, "SlowStart", slowStart);
    if (!driver.StartSession({"slow.scr"}, 60000) || !driver.WaitForRecords("start", 1, 10000))
        return 0;
    PumpMessagesFor(keyAfter);
    DWORD pressed = GetTickCount();
    SessionDriver::PressKey();
    return pressed;
}

// A key while the screen saver is still making its window: it has nothing
// to close politely, and is ended at once (not after the stages meant for a
// window), soon or late in its start.
TEST(SessionEnd, AKeyWhileAScreenSaverMakesItsWindowEndsItAtOnce)
{
    const struct {
        DWORD slowStart, keyAfter;
    } cases[] = {{8000, 700}, {250, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.slowStart);
        SessionDriver driver;
        DWORD pressed = KeyDuringASlowStart(driver, c.slowStart, c.keyAfter);
        ASSERT_NE(0u, pressed);
        ASSERT_TRUE(driver.WaitForEnd(10000));
        // The three stages would take 1.3 s and more; the input-idle wait 5 s.
        EXPECT_LT(GetTickCount() - pressed, 1000u);
        EXPECT_TRUE(driver.RecordsStartingWith("window").empty())
            << ReadWholeFile(driver.recordFile);
        EXPECT_EQ(1u, driver.RecordsStartingWith("start").size());
    }
}

// When a record starting with prefix first appears (GetTickCount), polled
// finely; 0 when none within the time.
DWORD WhenRecorded(SessionDriver& driver, const char* prefix, DWORD limit)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < limit; Sleep(2)) {
        if (!driver.RecordsStartingWith(prefix).empty())
            return GetTickCount();
    }
    return 0;
}

// A key from just before to just after a period's end ends the session with
// no screen saver made after it: each process's creation time (the fixture's
// "tick") is held against the key's, within the clock's own step. (GetTickCount
// is one clock for every process.)
TEST(SessionEnd, AKeyAtATurnsEndIsNeitherLostNorFollowedByTheNext)
{
    const DWORD period = 1500, step = ClockStep();
    for (int offset : {-30, -15, 0, 15, 30}) {
        SCOPED_TRACE(offset);
        SessionDriver driver;
        ASSERT_TRUE(driver.StartSession({"good_a.scr", "good_b.scr"}, period));
        DWORD shown = WhenRecorded(driver, "window", 10000);
        ASSERT_NE(0u, shown);
        while ((LONG)(GetTickCount() - (shown + period)) < offset)
            Sleep(1);
        DWORD pressed = GetTickCount();
        SessionDriver::PressKey();
        ASSERT_TRUE(driver.WaitForEnd(5000)) << "the key was lost";
        for (const RecordLine& start : driver.RecordsStartingWith("tick"))
            EXPECT_LE((LONG)((DWORD)NumberAfter(start.text, "tick ") - pressed), (LONG)step)
                << "made after the key\n" << ReadWholeFile(driver.recordFile);
    }
}

// With "NextKey" on, Right arrow shows the next screen saver at once and the
// session goes on; another key ends it. Off, Right arrow ends it like any key.
// Held down (its auto-repeat sent as a keyboard does), the next one starts
// once it is let go, and nothing counts it as that one's input. (The first
// one ends on no key itself: Wine forgets a sent key's state as the focus
// moves, and the watch could miss the key before it looks.)
TEST(SessionEnd, RightArrowShowsTheNextScreenSaverOnlyWhenChosen)
{
    const struct {
        DWORD nextKey;
        DWORD held;  // ms
        const char* first;
    } cases[] = {{1, 0, "deaf_a.scr"}, {1, 4000, "deaf_a.scr"}, {0, 0, "good_a.scr"}};
    for (const auto& chosen : cases) {
        SCOPED_TRACE(chosen.held);
        SessionDriver driver;
        SetRegistryNumber(HKEY_CURRENT_USER, RV_SETTINGS_KEY, "NextKey", chosen.nextKey);
        ASSERT_TRUE(driver.StartSession({chosen.first, "good_b.scr"}, 60000));
        ASSERT_TRUE(driver.WaitForTurn(1));
        SessionDriver::KeyDown(VK_RIGHT);
        for (DWORD start = GetTickCount(); GetTickCount() - start < chosen.held;) {
            Sleep(20);
            SessionDriver::KeyDown(VK_RIGHT);
        }
        Sleep(60);
        SessionDriver::KeyUp(VK_RIGHT);
        DWORD released = GetTickCount();
        if (!chosen.nextKey) {
            EXPECT_TRUE(driver.WaitForEnd(5000)) << "Right arrow did not end the session";
            EXPECT_EQ(1u, driver.RecordsStartingWith("start").size());
            continue;
        }
        ASSERT_TRUE(driver.WaitForRecords("window", 2, 5000)) << "the next one was not shown";
        EXPECT_LT(GetTickCount() - released, 3000u) << "not at once";
        EXPECT_NE(std::string::npos, driver.StartedFileNames()[1].find("good_b.scr"));
        EXPECT_FALSE(driver.WaitForEnd(800)) << "the session ended on the key for the next one";
        EXPECT_EQ(2u, driver.RecordsStartingWith("start").size())
            << "the key reached the next one\n"
            << ReadWholeFile(driver.recordFile);
        EXPECT_EQ(std::string::npos, driver.Log().find("ended at once")) << driver.Log();
        SessionDriver::PressKey();
        EXPECT_TRUE(driver.WaitForEnd(5000));
    }
}

}  // namespace
