// Whole saver sessions under Wine: _Rotaveil.scr /s with the test screen
// saver installed, a short period, and input injected with SendInput.
#include <gtest/gtest.h>

#include <windows.h>

#include <string.h>

#include <set>
#include <string>

#include "shared/names.h"
#include "tests/support/session_driver.h"

namespace {

const DWORD SessionEnd = 10000;  // ms a session may take to end after the last act

class Session : public ::testing::Test {
protected:
    std::string Install(const char* name, SaverDirectory where = SaverDirectory::System)
    {
        return driver_.savers.Install("rvt_good.scr", where, name);
    }
    // Ends the session with a key press and checks it ended cleanly.
    void EndWithKey()
    {
        SessionDriver::PressKey();
        ASSERT_TRUE(driver_.WaitForEnd(SessionEnd)) << "the session did not end";
        EXPECT_EQ(0u, driver_.Process().ExitCode());
    }
    // Every recorded process of the fixtures has ended.
    void ExpectNothingLeftRunning()
    {
        std::set<DWORD> pids;
        for (const RecordLine& line : driver_.Records())
            pids.insert(line.pid);
        for (DWORD pid : pids)
            EXPECT_FALSE(ProcessRuns(pid)) << "process " << pid << " outlived the session";
    }
    SessionDriver driver_;
};

TEST_F(Session, RotatesFromTheStoredIndexAndStoresThePositionAfterIt)
{
    driver_.SetPlayListOf({"good_a.scr", "good_b.scr", "good_c.scr"});
    driver_.SetFileIndex(7);
    driver_.SetPeriod(1200);
    ASSERT_TRUE(driver_.Start());
    ASSERT_TRUE(driver_.WaitForRecords("start", 3, 15000));
    EndWithKey();
    std::vector<RecordLine> starts = driver_.RecordsStartingWith("start");
    ASSERT_GE(starts.size(), 3u);
    EXPECT_NE(std::string::npos, starts[0].text.find("good_b.scr")) << "7 mod 3 is entry 1";
    EXPECT_NE(std::string::npos, starts[1].text.find("good_c.scr"));
    EXPECT_NE(std::string::npos, starts[2].text.find("good_a.scr"));
    // The stored position is the one after the last screen saver shown.
    size_t shown = starts.size();
    EXPECT_EQ((DWORD)((1 + shown) % 3), driver_.StoredFileIndex());
    ExpectNothingLeftRunning();
}

// An entry with a time of its own runs that long, the others the common
// period, in the play-list's order and in random order.
TEST(SessionTurns, AnEntryWithATimeOfItsOwnRunsThatLongInEitherOrder)
{
    for (DWORD shuffle : {0u, 1u}) {
        SessionDriver driver;
        std::string a = driver.savers.Install("rvt_good.scr", SaverDirectory::System, "long_a.scr");
        std::string b =
            driver.savers.Install("rvt_good.scr", SaverDirectory::System, "short_b.scr");
        driver.SetPlayList({a, b}, {4, 0});
        driver.SetPeriod(1000);
        SetRegistryNumber(HKEY_CURRENT_USER, RV_SETTINGS_KEY, "Shuffle", shuffle);
        ASSERT_TRUE(driver.Start());
        ASSERT_TRUE(driver.WaitForRecords("tick", 4, 20000));
        SessionDriver::PressKey();
        ASSERT_TRUE(driver.WaitForEnd(SessionEnd));
        std::vector<RecordLine> ticks = driver.RecordsStartingWith("tick");
        std::vector<std::string> names = driver.StartedFileNames();
        ASSERT_EQ(ticks.size(), names.size());
        for (size_t i = 0; i + 1 < ticks.size(); ++i) {
            DWORD turn = (DWORD)(NumberAfter(ticks[i + 1].text, "tick ") -
                                 NumberAfter(ticks[i].text, "tick "));
            if (names[i].find("long_a") != std::string::npos) {
                EXPECT_GE(turn, 3900u) << "shuffle " << shuffle << ", turn " << i;
                EXPECT_LT(turn, 6000u) << "shuffle " << shuffle << ", turn " << i;
            } else {
                EXPECT_LT(turn, 2900u) << "shuffle " << shuffle << ", turn " << i;
            }
        }
    }
}

TEST_F(Session, ASingleEntryIsStartedAnewEachTurn)
{
    ASSERT_TRUE(driver_.StartSession({"good_only.scr"}, 800));
    ASSERT_TRUE(driver_.WaitForRecords("start", 3, 15000));
    EndWithKey();
    std::vector<RecordLine> starts = driver_.RecordsStartingWith("start");
    std::set<DWORD> pids;
    for (const RecordLine& line : starts)
        pids.insert(line.pid);
    EXPECT_EQ(starts.size(), pids.size()) << "each turn is a new process";
    EXPECT_EQ(0u, driver_.StoredFileIndex());
    ExpectNothingLeftRunning();
}

TEST_F(Session, HostedCommandLinePassesTheProgramsOwnArgumentsOn)
{
    std::string path = Install("good_args.scr");
    driver_.SetPlayList({path});
    driver_.SetPeriod(5000);
    // An unknown switch still makes a session, whose screen savers run full
    // screen rather than show their settings.
    for (const char* arguments : {"/s", "/S extra", "/x"}) {
        DeleteFileA(driver_.recordFile.c_str());
        ASSERT_TRUE(driver_.Start(arguments));
        ASSERT_TRUE(driver_.WaitForRecords("start", 1, 10000));
        EndWithKey();
        std::string passed = strcmp(arguments, "/x") ? arguments : "/s";
        std::string expected = std::string("start good [\"") + path + "\" " + passed + " ]";
        EXPECT_EQ(expected, driver_.RecordsStartingWith("start")[0].text);
    }
}

TEST_F(Session, AKeyEndsThePeriodAtOnceAndTheSessionWithoutPassword)
{
    ASSERT_TRUE(driver_.StartSession({"good_key.scr"}, 60000));
    ASSERT_TRUE(driver_.WaitForTurn(1));
    DWORD start = GetTickCount();
    EndWithKey();
    EXPECT_LT(GetTickCount() - start, 6000u) << "the period was not cut short";
    ExpectNothingLeftRunning();
    EXPECT_FALSE(FindWindowA(RV_SAVER_CLASS, RV_SAVER_TITLE));
}

TEST_F(Session, AKeyHeldDownAtTheStartCountsOnlyWhenPressedAgain)
{
    std::string path = Install("good_held.scr");
    driver_.SetPlayList({path});
    driver_.SetPeriod(60000);
    SessionDriver::KeyDown(VK_SHIFT);
    ASSERT_TRUE(driver_.Start());
    ASSERT_TRUE(driver_.WaitForTurn(1));
    PumpMessagesFor(1000);  // held through the screen saver's first second
    SessionDriver::KeyUp(VK_SHIFT);
    EXPECT_FALSE(driver_.WaitForEnd(1500)) << "releasing a held key ended the session";
    SessionDriver::PressKey(VK_SHIFT);
    ASSERT_TRUE(driver_.WaitForEnd(SessionEnd));
}

// Also within the turn's first second: the end is the user's motion, no
// fault of the screen saver, and the next one starts at once.
TEST_F(Session, MouseMotionEndsOnlyTheTurnOfAScreenSaverThatWatchesIt)
{
    ASSERT_TRUE(driver_.StartSession({"good_motion.scr"}, 60000));
    ASSERT_TRUE(driver_.WaitForRecords("window", 1, 10000));
    PumpMessagesFor(300);
    for (int i = 0; i < 10; ++i) {
        SessionDriver::MoveMouse(15, 10);
        PumpMessagesFor(30);
    }
    ASSERT_TRUE(driver_.WaitForRecords("start", 2, 10000))
        << "the next turn did not begin\n" << driver_.Log();
    EXPECT_GE(driver_.RecordsStartingWith("input motion").size(), 1u);
    EXPECT_TRUE(driver_.RecordsStartingWith("input key").empty());
    EXPECT_EQ(std::string::npos, driver_.Log().find("ended at once")) << driver_.Log();
    EXPECT_FALSE(driver_.WaitForEnd(1000)) << "mouse motion ended the session";
    SessionDriver::ClickMouse();
    ASSERT_TRUE(driver_.WaitForEnd(SessionEnd)) << "a click must end the session";
}

TEST_F(Session, AnEmptyPlayListIsLoggedAndEndsAtOnce)
{
    driver_.SetPlayList({});
    DWORD start = GetTickCount();
    ASSERT_TRUE(driver_.Start());
    ASSERT_TRUE(driver_.WaitForEnd(SessionEnd));
    EXPECT_LT(GetTickCount() - start, 5000u);
    EXPECT_EQ(0u, driver_.Process().ExitCode());
    std::string log = driver_.Log();
    EXPECT_NE(std::string::npos, log.find(" Play list is empty. Terminating...\r\n")) << log;
}

TEST_F(Session, CloseFromOutsideEndsTheSessionCleanly)
{
    ASSERT_TRUE(driver_.StartSession({"good_outside.scr"}, 60000));
    ASSERT_TRUE(driver_.WaitForRecords("window", 1, 10000));
    HWND session = FindWindowA(RV_SAVER_CLASS, RV_SAVER_TITLE);
    ASSERT_TRUE(session);
    PostMessageA(session, WM_CLOSE, 0, 0);
    ASSERT_TRUE(driver_.WaitForEnd(SessionEnd));
    EXPECT_EQ(0u, driver_.Process().ExitCode());
    EXPECT_EQ(1u, driver_.RecordsStartingWith("WM_CLOSE").size())
        << "the screen saver was not stopped politely:\n"
        << ReadWholeFile(driver_.recordFile);
    ExpectNothingLeftRunning();
}

TEST_F(Session, AFailedStartIsLoggedNotCountedAndTriedAgain)
{
    std::string broken =
        driver_.savers.InstallText("not a program", SaverDirectory::Windows, "broken.scr");
    std::string good = Install("good_next.scr");
    driver_.SetPlayList({broken, good});
    driver_.SetPeriod(700);
    ASSERT_TRUE(driver_.Start());
    ASSERT_TRUE(driver_.WaitForRecords("start", 2, 15000));
    EndWithKey();
    std::string log = driver_.Log();
    std::string text = broken + " error loading";
    size_t first = log.find(text);
    ASSERT_NE(std::string::npos, first) << log;
    EXPECT_NE(std::string::npos, log.find(text, first + 1)) << "tried again on its next turn";
    EXPECT_EQ(std::string::npos, log.find("excluded")) << log;
}

TEST_F(Session, AStubbornScreenSaverGoesThroughEveryStageThenIsKilled)
{
    ASSERT_TRUE(driver_.StartSession({"stubborn.scr"}, 1000));
    ASSERT_TRUE(driver_.WaitForRecords("start", 2, 20000));
    EndWithKey();
    std::vector<RecordLine> all = driver_.Records();
    DWORD first = driver_.RecordsStartingWith("start")[0].pid;
    std::vector<std::string> seen;
    for (const RecordLine& line : all) {
        if (line.pid == first && line.text.compare(0, 5, "tick ") != 0)
            seen.push_back(line.text);
    }
    std::vector<std::string> expected = {"WM_CLOSE", "WM_QUIT sent", "WM_DESTROY thread",
                                         "WM_QUIT posted"};
    std::vector<std::string> stages(seen.begin() + 2, seen.end());
    EXPECT_EQ(expected, stages) << "it was never asked politely, or it ended by itself";
    EXPECT_EQ(std::string::npos, driver_.Log().find("excluded")) << "a killed process was stopped";
    ExpectNothingLeftRunning();
}

TEST_F(Session, AHungWindowThreadDoesNotHoldTheRunner)
{
    ASSERT_TRUE(driver_.StartSession({"hang.scr", "good_after.scr"}, 1000));
    ASSERT_TRUE(driver_.WaitForRecords("start good", 1, 15000))
        << "the runner stayed with the hung screen saver";
    EndWithKey();
    ExpectNothingLeftRunning();
}

}  // namespace

namespace {

// The test child installed beside the system's screen savers; removed after
// the session driver has ended every recorded process.

// On NT 4 there is no process snapshot: children are not found, and the
// session works all the same.
TEST(SessionOnNt4, RunsWithoutLookingForChildren)
{
    InstalledChild child;
    SessionDriver driver;
    WineVersionFor nt4("_Rotaveil.scr", "nt40");
    CopyFileA(BesideTests("rvt_good.scr").c_str(), BesideTests("rvt_child.scr").c_str(), FALSE);
    std::string saver =
        driver.savers.Install("rvt_child.scr", SaverDirectory::System, "child_nt4.scr");

    driver.SetPlayList({saver});
    driver.SetPeriod(1000);
    ASSERT_TRUE(driver.Start());
    ASSERT_TRUE(driver.WaitForRecords("start child", 2, 15000)) << "the session did not go on";
    ASSERT_TRUE(driver.WaitForRecords("child start", 1, 10000)) << "the child never ran";
    SessionDriver::PressKey();
    EXPECT_TRUE(driver.WaitForEnd(10000));
    EXPECT_EQ(std::string::npos, driver.Log().find("started rvchild.exe")) << driver.Log();
}

// With a snapshot, the same screen saver's child is found and logged.
TEST(SessionChildren, AreLoggedAndStoppedWithTheirScreenSaver)
{
    InstalledChild child;
    SessionDriver driver;
    CopyFileA(BesideTests("rvt_good.scr").c_str(), BesideTests("rvt_child.scr").c_str(), FALSE);
    std::string saver =
        driver.savers.Install("rvt_child.scr", SaverDirectory::System, "child_xp.scr");

    driver.SetPlayList({saver});
    driver.SetPeriod(1500);
    ASSERT_TRUE(driver.Start());
    ASSERT_TRUE(driver.WaitForRecords("start child", 2, 15000));
    SessionDriver::PressKey();
    ASSERT_TRUE(driver.WaitForEnd(10000));
    EXPECT_NE(std::string::npos,
              driver.Log().find("Screensaver " + saver + " started rvchild.exe process"))
        << driver.Log();
    EXPECT_FALSE(driver.RecordsStartingWith("child start").empty());
    for (const RecordLine& line : driver.RecordsStartingWith("child start"))
        EXPECT_FALSE(ProcessRuns(line.pid)) << "a child outlived the session";
}

}  // namespace
