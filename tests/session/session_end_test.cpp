// How a session ends on a key: nothing starts after it, also when the screen
// saver ends itself on that key (a race with the input watch, so it is tried
// over several rounds), and a key during a slow start is not kept waiting.
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

TEST(SessionEnd, AKeyDuringASlowStartEndsTheSessionAtOnce)
{
    SessionDriver driver;
    DWORD pressed = KeyDuringASlowStart(driver, 8000, 700);
    ASSERT_NE(0u, pressed);
    ASSERT_TRUE(driver.WaitForEnd(10000));
    // A watch pass and the three stopping stages of a saver without a window
    // (0.5 + 0.8 s and the forced end); not the 5 s of the input-idle wait.
    EXPECT_LT(GetTickCount() - pressed, 3500u);
    EXPECT_TRUE(driver.RecordsStartingWith("window").empty());
    EXPECT_EQ(1u, driver.RecordsStartingWith("start").size());
}

// A key at the hand-over between two screen savers (as the first one is being
// closed) ends the session with nothing started after it. (GetTickCount is
// one clock for every process.)
TEST(SessionEnd, AKeyAtATurnsEndIsNeitherLostNorFollowedByTheNext)
{
    for (DWORD offset : {0u, 10u, 20u, 40u, 80u}) {
        SessionDriver driver;
        ASSERT_TRUE(driver.StartSession({"good_a.scr", "good_b.scr"}, 1500));
        ASSERT_TRUE(driver.WaitForRecords("WM_CLOSE", 1, 10000));
        Sleep(offset);
        DWORD pressed = GetTickCount();
        SessionDriver::PressKey();
        ASSERT_TRUE(driver.WaitForEnd(5000)) << "the key at " << offset << " ms was lost";
        // A screen saver's tick is the moment its process was made. One made
        // just after the key is no fault (the runner's look came first, and a
        // loaded machine may hold it before the start): one made a second
        // after is, and so is any later turn.
        for (const RecordLine& start : driver.RecordsStartingWith("tick"))
            EXPECT_LT((LONG)((DWORD)NumberAfter(start.text, "tick ") - pressed), 1000)
                << "started after the key at " << offset << " ms";
    }
}

// A key before the new screen saver's window exists: the window found late
// gets the polite close at once, not a stage later. Timed from the window's
// appearance to the close's arrival: how long the process then takes to go
// is up to the system.
TEST(SessionEnd, AKeyBeforeTheWindowExistsClosesItAsSoonAsItIsMade)
{
    SessionDriver driver;
    DWORD pressed = KeyDuringASlowStart(driver, 250, 0);
    ASSERT_NE(0u, pressed);
    DWORD windowSeen = 0, closeSeen = 0;
    while (!closeSeen && GetTickCount() - pressed < 5000) {
        Sleep(10);
        if (!windowSeen && !driver.RecordsStartingWith("window").empty())
            windowSeen = GetTickCount();
        if (!driver.RecordsStartingWith("WM_CLOSE").empty())
            closeSeen = GetTickCount();
    }
    std::string seen = ReadWholeFile(driver.recordFile);
    ASSERT_NE(0u, closeSeen) << "never closed\n" << seen << driver.Log();
    DWORD from = windowSeen && windowSeen > pressed ? windowSeen : pressed;
    EXPECT_LT(closeSeen - from, 300u) << "the first stop stage was waited out\n" << seen;
    // It loses the activation (and ends itself) only after its first half second.
    EXPECT_TRUE(driver.RecordsStartingWith("input").empty()) << "it was never closed\n" << seen;
    EXPECT_TRUE(driver.WaitForEnd(10000)) << seen << driver.Log();
    EXPECT_EQ(1u, driver.RecordsStartingWith("WM_CLOSE").size());
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
