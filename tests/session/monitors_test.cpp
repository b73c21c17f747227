// A screen saver of its own on each monitor. Needs two monitors: run on the
// display of tools/two-monitor-display.sh (tests/session/two_monitors.sh);
// with one it is skipped (and that script fails).
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "saver/windows/monitors.h"
#include "shared/names.h"
#include "tests/support/session_driver.h"

namespace {

class EachMonitor : public ::testing::Test {
protected:
    void SetUp() override
    {
        monitors_ = SortedMonitors();
        if (monitors_.size() < 2)
            GTEST_SKIP() << "one monitor here";
        SetRegistryNumber(HKEY_CURRENT_USER, RV_SETTINGS_KEY, "EachMonitor", 1);
    }
    // The play-list goes left to right.
    static std::vector<RECT> SortedMonitors()
    {
        std::vector<RECT> monitors = MonitorRects();
        std::sort(monitors.begin(), monitors.end(),
                  [](const RECT& a, const RECT& b) { return a.left < b.left; });
        return monitors;
    }
    // Waits until at each monitor's centre is a window of another fixture,
    // inside that monitor; shownBy gets their processes, left to right.
    bool WaitUntilEachShowsAnother(std::vector<DWORD>* shownBy)
    {
        shownBy->assign(monitors_.size(), 0);
        return WaitUntil(10000, [&] {
            for (size_t i = 0; i < monitors_.size(); ++i) {
                const RECT& m = monitors_[i];
                HWND window = WindowFromPoint({(m.left + m.right) / 2, (m.top + m.bottom) / 2});
                RECT place, inside;
                GetWindowRect(window, &place);
                GetWindowThreadProcessId(window, &(*shownBy)[i]);
                if (!IntersectRect(&inside, &place, &m) || !EqualRect(&inside, &place))
                    return false;
            }
            std::set<DWORD> processes(shownBy->begin(), shownBy->end());
            return processes.size() == shownBy->size() && !processes.count(0) &&
                   !processes.count(driver_.Process().Id());
        });
    }
    std::vector<RECT> monitors_;
    SessionDriver driver_;
};

TEST_F(EachMonitor, EveryMonitorShowsAScreenSaverOfItsOwnAndAKeyEndsThemAll)
{
    const char* names[] = {"good_a.scr", "good_b.scr", "good_c.scr"};
    ASSERT_TRUE(driver_.StartSession({names[0], names[1], names[2]}, 30000));
    std::vector<DWORD> shownBy;
    ASSERT_TRUE(WaitUntilEachShowsAnother(&shownBy)) << driver_.Log();
    // Consecutive entries of the play-list, left to right, each in preview mode.
    ASSERT_TRUE(driver_.WaitForRecords("start", monitors_.size(), 5000));
    std::vector<RecordLine> starts = driver_.RecordsStartingWith("start");
    ASSERT_EQ(monitors_.size(), starts.size());
    for (const RecordLine& start : starts) {
        size_t monitor = std::find(shownBy.begin(), shownBy.end(), start.pid) - shownBy.begin();
        ASSERT_LT(monitor, shownBy.size()) << start.text;
        EXPECT_NE(std::string::npos, start.text.find(names[monitor])) << start.text;
        EXPECT_NE(std::string::npos, start.text.find("\" /p ")) << start.text;
    }

    SessionDriver::PressKey();
    ASSERT_TRUE(driver_.WaitForEnd(10000)) << "the session did not end";
    for (const RecordLine& start : starts)
        EXPECT_FALSE(ProcessRuns(start.pid)) << start.text << " outlived the session";
}

// A screen saver that draws nothing into the window it is given is named in
// the log, and the other monitor shows on. No preview ends on the mouse: the
// session sees it move.
TEST_F(EachMonitor, AScreenSaverThatShowsNothingInPreviewModeIsLogged)
{
    ASSERT_TRUE(driver_.StartSession({"good_a.scr", "nowindow_b.scr"}, 30000));
    ASSERT_TRUE(WaitUntil(10000, [&] {
        return driver_.Log().find("nowindow_b.scr shows nothing in preview mode") !=
               std::string::npos;
    })) << driver_.Log();
    EXPECT_EQ(std::string::npos, driver_.Log().find("good_a.scr shows nothing"));
    SessionDriver::MoveMouse(40, 30);
    ASSERT_TRUE(driver_.WaitForEnd(10000)) << "the mouse did not end the session";
}

// The primary monitor's resolution as the registry has it, put back when the
// test ends (also when it fails half-way).
struct PrimaryModePutBack {
    ~PrimaryModePutBack() { ChangeDisplaySettingsA(NULL, 0); }
};

// A resolution changed during a session: the cover spreads over the new
// screen, and the turn ends so that the next one has panes of the new size.
TEST_F(EachMonitor, TheCoverAndThePanesFollowAChangeOfTheMonitors)
{
    ASSERT_TRUE(driver_.StartSession({"good_a.scr", "good_b.scr", "good_c.scr"}, 60000));
    std::vector<DWORD> shownBy;
    ASSERT_TRUE(WaitUntilEachShowsAnother(&shownBy)) << driver_.Log();
    PrimaryModePutBack putBack;
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = 800;
    mode.dmPelsHeight = 600;
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    ASSERT_EQ(DISP_CHANGE_SUCCESSFUL, ChangeDisplaySettingsA(&mode, 0));
    std::vector<RECT> before = monitors_;
    ASSERT_TRUE(WaitUntil(5000, [&] {
        monitors_ = SortedMonitors();
        return monitors_.size() == before.size() && !EqualRect(&monitors_[0], &before[0]);
    }));
    RECT screen = VirtualScreenRect();
    HWND cover = FindWindowA(RV_SAVER_CLASS, RV_SAVER_TITLE);
    EXPECT_TRUE(WaitUntil(5000, [&] {
        RECT place;
        return GetWindowRect(cover, &place) && EqualRect(&place, &screen);
    })) << "the cover does not fit the new screen";
    ASSERT_TRUE(driver_.WaitForRecords("start", 2 * monitors_.size(), 10000))
        << "the turn did not end";
    std::vector<DWORD> nowShownBy;
    ASSERT_TRUE(WaitUntilEachShowsAnother(&nowShownBy)) << driver_.Log();
    EXPECT_NE(shownBy, nowShownBy);
    EXPECT_FALSE(driver_.WaitForEnd(0)) << "a change of the monitors ended the session";
}

// The primary monitor's mode as the driver has it now, as "800x600" (this
// process's system metrics may lag a change another process made).
std::string PrimarySize()
{
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    EnumDisplaySettingsA(NULL, ENUM_CURRENT_SETTINGS, &mode);
    return std::to_string(mode.dmPelsWidth) + "x" + std::to_string(mode.dmPelsHeight);
}

// A screen saver that switches the display mode for itself (CDS_FULLSCREEN)
// keeps its turn; the session puts the mode back after it, and that ends no
// turn either. Needs a display whose mode can change (the dummy driver's).
TEST(DisplayMode, AScreenSaverMaySwitchItForItsTurn)
{
    DEVMODEA small = {};
    small.dmSize = sizeof small;
    small.dmPelsWidth = 800;
    small.dmPelsHeight = 600;
    small.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    std::string before = PrimarySize();
    if (before == "800x600" || ChangeDisplaySettingsA(&small, CDS_TEST) != DISP_CHANGE_SUCCESSFUL)
        GTEST_SKIP() << "this display cannot switch to 800x600";
    PrimaryModePutBack putBack;
    SessionDriver driver;
    const long period = 3000;
    ASSERT_TRUE(driver.StartSession({"modeswitch_a.scr", "good_b.scr"}, period));
    ASSERT_TRUE(driver.WaitForRecords("window", 2, 20000)) << driver.Log();
    EXPECT_EQ(before, PrimarySize()) << "the first one's mode stayed in the second one's turn";
    ASSERT_TRUE(driver.WaitForRecords("tick", 3, 20000)) << driver.Log();
    EXPECT_EQ("mode 0", driver.RecordsStartingWith("mode").at(0).text);
    // Neither the switch nor its undoing cut a turn short.
    std::vector<RecordLine> ticks = driver.RecordsStartingWith("tick");
    for (size_t turn = 0; turn < 2; ++turn)
        EXPECT_GE(NumberAfter(ticks[turn + 1].text, "tick ") - NumberAfter(ticks[turn].text, "tick "),
                  period - 500)
            << "turn " << turn + 1;
    SessionDriver::PressKey();
    ASSERT_TRUE(driver.WaitForEnd(10000));
    EXPECT_EQ(before, PrimarySize()) << "after the session";
}

}  // namespace
