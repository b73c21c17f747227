// Faults that hostile or unlucky use meets: two sessions at once, a killed
// session, a swarm of children, an empty command line, screen savers that
// cannot run, and a preview whose host is killed.
#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>

#include "shared/names.h"
#include "tests/fixtures/fixture_record.h"
#include "tests/support/session_driver.h"

namespace {

std::string SaverCommand(const char* arguments)
{
    return "\"" + BesideTests(RV_SAVER_FILE) + "\"" + (*arguments ? " " : "") + arguments;
}

HWND WaitForSettingsDialog()
{
    HWND dialog = NULL;
    WaitUntil(10000, [&] { return (dialog = FindWindowA(NULL, "Rotaveil settings")) != NULL; });
    return dialog;
}

void ExpectAllEnded(const SessionDriver& driver)
{
    std::set<DWORD> pids;
    for (const RecordLine& line : driver.Records())
        pids.insert(line.pid);
    for (DWORD pid : pids)
        EXPECT_FALSE(ProcessRuns(pid)) << "process " << pid << " outlived the session";
}

// The window that told a running session used to appear only after the
// settings and the catalogue were loaded: a second start 300 ms later ran a
// second session. Also when another kind of object holds the session
// mutex's name, so that no mutex can be had.
TEST(Faults, ASecondSessionStartedSoonAfterLeavesTheFirstAlone)
{
    for (bool squatted : {false, true}) {
        SCOPED_TRACE(squatted ? "the mutex's name held by an event" : "the mutex");
        HANDLE squatter = squatted ? CreateEventA(NULL, TRUE, FALSE, "Rotaveil Session") : NULL;
        SessionDriver driver;
        ASSERT_TRUE(driver.StartSession({"good_one.scr"}, 60000));
        ASSERT_TRUE(WaitUntil(10000, [] { return FindWindowA(RV_SAVER_CLASS, RV_SAVER_TITLE); }));
        ChildProcess second;
        ASSERT_TRUE(second.Start(SaverCommand("/s")));
        ASSERT_TRUE(second.WaitForExit(5000)) << "two sessions ran at once";
        EXPECT_EQ(0u, second.ExitCode());
        ASSERT_TRUE(driver.WaitForRecords("window", 1, 10000));
        EXPECT_FALSE(driver.WaitForEnd(800));
        EXPECT_EQ(1u, driver.RecordsStartingWith("start").size());
        SessionDriver::PressKey();
        ASSERT_TRUE(driver.WaitForEnd(10000));
        if (squatter)
            CloseHandle(squatter);
    }
}

// Another program's always-on-top window made before the session stays
// covered while no screen saver shows (a black turn).
TEST(Faults, TheCoverHoldsAboveAlwaysOnTopWindowsBetweenScreenSavers)
{
    HWND onTop = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "STATIC", "on top",
                                 WS_POPUP | WS_VISIBLE, 100, 100, 200, 200, NULL, NULL, NULL, NULL);
    ASSERT_TRUE(onTop);
    UpdateWindow(onTop);
    SessionDriver driver;
    driver.SetPlayList(
        {driver.savers.InstallText("not a program", SaverDirectory::Windows, "black.scr")});
    driver.SetPeriod(60000);
    ASSERT_TRUE(driver.Start());
    ASSERT_TRUE(
        WaitUntil(10000, [&] { return driver.Log().find("error loading") != std::string::npos; }));
    POINT centre = {200, 200};
    DWORD owner = 0;
    WaitUntil(5000, [&] {
        GetWindowThreadProcessId(WindowFromPoint(centre), &owner);
        return owner == driver.Process().Id();
    });
    EXPECT_EQ(driver.Process().Id(), owner) << "the session window does not cover the centre";
    SessionDriver::PressKey();
    ASSERT_TRUE(driver.WaitForEnd(10000));
    DestroyWindow(onTop);
}

TEST(Faults, AKilledSessionLeavesNeitherThePasswordOffNorTheSwitchSetNorItsScreenSaver)
{
    // The Windows 95 family, where the session switches the password off.
    WineVersionFor win98("_Rotaveil.scr", "win98");
    SessionDriver driver;
    driver.SetPlayListOf({"good_kill.scr"});
    driver.SetPeriod(60000);
    SetRegistryText(HKEY_CURRENT_USER, RV_DESKTOP_KEY, RV_VALUE_USE_PASSWORD, "1");
    auto password = [] {
        std::string value;
        ReadRegistryValue(HKEY_CURRENT_USER, RV_DESKTOP_KEY, RV_VALUE_USE_PASSWORD, NULL, &value);
        return value;
    };
    // Any later start of either program puts the password back first.
    const std::string laterStarts[] = {SaverCommand("/p"),
                                       "\"" + BesideTests("rvtray.exe") + "\" /u"};
    for (const std::string& later : laterStarts) {
        DeleteFileA(driver.recordFile.c_str());
        ASSERT_TRUE(driver.Start());
        ASSERT_TRUE(driver.WaitForRecords("window", 1, 10000));
        EXPECT_EQ(std::string("0\0", 2), password()) << "off during the session";
        EXPECT_EQ(1u,
                  ReadRegistryDword(HKEY_CURRENT_USER, RV_SETTINGS_KEY, "KeptScreenSaverRunning"));

        TerminateProcess(driver.Process().Handle(), 1);
        ASSERT_TRUE(driver.WaitForEnd(5000));
        DWORD saver = driver.RecordsStartingWith("start")[0].pid;
        EXPECT_TRUE(WaitUntil(5000, [&] { return !ProcessRuns(saver); }))
            << "the screen saver outlived its killed session";

        ChildProcess next;
        ASSERT_TRUE(next.Start(later));
        ASSERT_TRUE(next.WaitForExit(10000));
        EXPECT_EQ(std::string("1\0", 2), password()) << "the password stayed off: " << later;
        EXPECT_FALSE(
            ReadRegistryValue(HKEY_CURRENT_USER, RV_SETTINGS_KEY, "KeptPasswordValue", NULL, NULL));
        EXPECT_FALSE(ReadRegistryValue(HKEY_CURRENT_USER, RV_SETTINGS_KEY, "KeptScreenSaverRunning",
                                       NULL, NULL))
            << "the screen-saver switch was left set: " << later;
    }
    DeleteRegistryValue(HKEY_CURRENT_USER, RV_DESKTOP_KEY, RV_VALUE_USE_PASSWORD);
}

// Processes that ignore every polite request, started by the screen saver:
// twenty of one parent, or a chain of a program that starts itself (each link
// named like the one before, with another parent). Each tree goes in one
// stop, not process by process.
TEST(Faults, AKeyStopsStubbornChildrenTogether)
{
    const struct {
        const char* saver;
        const char* setting;
        DWORD count, limit;
    } cases[] = {{"child_many.scr", "ChildCount", 20, 4000}, {"child_chain.scr", "Chain", 4, 3500}};
    for (const auto& c : cases) {
        InstalledChild child;
        SessionDriver driver;
        SetRegistryNumber(HKEY_CURRENT_USER, RV_TEST_KEY, c.setting, c.count);
        SetRegistryNumber(HKEY_CURRENT_USER, RV_TEST_KEY, "Stubborn", 1);
        ASSERT_TRUE(driver.StartSession({c.saver}, 60000));
        ASSERT_TRUE(driver.WaitForRecords("child window", c.count, 30000));
        ASSERT_TRUE(driver.WaitForRecords("window", 1, 10000));
        DWORD pressed = GetTickCount();
        SessionDriver::PressKey();
        ASSERT_TRUE(driver.WaitForEnd(30000));
        EXPECT_LT(GetTickCount() - pressed, c.limit) << c.saver << ": stopped one after another";
        ExpectAllEnded(driver);
    }
}

// A helper started through a launcher that ends at once ("cmd /c start")
// has no parent left to be found by: the session's job holds it, and it ends
// with its turn.
TEST(Faults, AHelperStartedThroughALauncherEndsWithItsTurn)
{
    InstalledChild child;
    SessionDriver driver;
    SetRegistryNumber(HKEY_CURRENT_USER, RV_TEST_KEY, "ThroughLauncher", 1);
    ASSERT_TRUE(driver.StartSession({"child_launched.scr", "good_next.scr"}, 3000));
    ASSERT_TRUE(driver.WaitForRecords("child start", 1, 15000));
    DWORD helper = driver.RecordsStartingWith("child start")[0].pid;
    ASSERT_TRUE(driver.WaitForRecords("start", 2, 15000));
    EXPECT_TRUE(WaitUntil(3000, [&] { return !ProcessRuns(helper); }))
        << "the helper outlived its turn";
    SessionDriver::PressKey();
    ASSERT_TRUE(driver.WaitForEnd(10000));
    ExpectAllEnded(driver);
}

// A preview hosted by the desktop window would be a full-screen window of the
// session's class that never ends, and every later session would take it
// for a running one.
TEST(Faults, NoPreviewRunsOnTheDesktopWindow)
{
    ChildProcess preview;
    ASSERT_TRUE(preview.Start(
        SaverCommand(("/p " + std::to_string((unsigned long)(UINT_PTR)GetDesktopWindow())).c_str())));
    EXPECT_TRUE(preview.WaitForExit(5000)) << "a preview runs on the desktop window";
}

TEST(Faults, AnEmptyCommandLineOpensTheSettings)
{
    SessionDriver driver;
    ChildProcess saver;
    ASSERT_TRUE(saver.Start(SaverCommand("")));
    HWND dialog = WaitForSettingsDialog();
    ASSERT_TRUE(dialog);
    EXPECT_FALSE(FindWindowA(RV_SAVER_CLASS, RV_SAVER_TITLE)) << "a session was started";
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(saver.WaitForExit(10000));
    EXPECT_EQ(0u, saver.ExitCode());
}

TEST(Faults, ScreenSaversThatCannotRunStillKeepTheirTurns)
{
    SessionDriver driver;
    std::string broken =
        driver.savers.InstallText("not a program", SaverDirectory::Windows, "broken.scr");
    std::string quick = driver.savers.Install("rvt_good.scr", SaverDirectory::System, "quick.scr");
    driver.SetPlayList({broken, quick});
    driver.SetPeriod(1000);
    auto failures = [&] {
        std::string log = driver.Log();
        size_t count = 0;
        for (size_t at = log.find(" error loading"); at != std::string::npos;
             at = log.find(" error loading", at + 1))
            ++count;
        return count;
    };
    ASSERT_TRUE(driver.Start());
    // Two whole turns of the one that ends at once: the third of the broken
    // one follows the second.
    ASSERT_TRUE(WaitUntil(20000, [&] { return failures() >= 3; }));
    SessionDriver::PressKey();
    ASSERT_TRUE(driver.WaitForEnd(10000));
    std::string log = driver.Log();
    size_t failed = failures();
    // Turns of one second, half of them the broken one.
    EXPECT_GE(failed, 1u) << log;
    EXPECT_LE(failed, 3u) << log;
    EXPECT_LE(driver.RecordsStartingWith("start").size(), 3u);
    EXPECT_EQ(std::string::npos, log.find("\r\n\r\n"))
        << "a system text brought its own line break";
    EXPECT_EQ(std::string::npos, log.find("%1")) << "an unfilled insert of a system text";
    // The black turns of the one that ended at once say why, once a session.
    std::string quickEnd = quick + " ended at once by itself, exit code 0";
    size_t at = log.find(quickEnd);
    EXPECT_NE(std::string::npos, at) << log;
    EXPECT_EQ(std::string::npos, log.find(quickEnd, at + 1)) << log;
}

// A program a screen saver starts while it is being stopped slipped past the
// look for children before the stop.
TEST(Faults, WhatAScreenSaverStartsWhileBeingStoppedIsStoppedWithIt)
{
    InstalledChild child;
    SessionDriver driver;
    SetRegistryNumber(HKEY_CURRENT_USER, RV_TEST_KEY, "ChildOnClose", 1);
    ASSERT_TRUE(driver.StartSession({"good_close.scr"}, 1500));
    ASSERT_TRUE(driver.WaitForRecords("start", 2, 15000));
    ASSERT_TRUE(driver.WaitForRecords("child start", 1, 5000));
    DWORD first = driver.RecordsStartingWith("child start")[0].pid;
    EXPECT_TRUE(WaitUntil(3000, [&] { return !ProcessRuns(first); }))
        << "the child started during the stop outlived its turn";
    SessionDriver::PressKey();
    ASSERT_TRUE(driver.WaitForEnd(15000));
    ExpectAllEnded(driver);
}

}  // namespace
