// A screen saver of its own on each monitor. Needs two monitors: run on the
// display of tools/two-monitor-display.sh (tests/session/two_monitors.sh);
// with one it is skipped.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "shared/names.h"
#include "tests/support/session_driver.h"

namespace {

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT rect, LPARAM list)
{
    reinterpret_cast<std::vector<RECT>*>(list)->push_back(*rect);
    return TRUE;
}

DWORD ProcessAt(POINT point)
{
    DWORD process = 0;
    GetWindowThreadProcessId(WindowFromPoint(point), &process);
    return process;
}

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

class EachMonitor : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnumDisplayMonitors(NULL, NULL, AddMonitor, (LPARAM)&monitors_);
        if (monitors_.size() < 2)
            GTEST_SKIP() << "one monitor here";
        // The play-list goes left to right.
        std::sort(monitors_.begin(), monitors_.end(),
                  [](const RECT& a, const RECT& b) { return a.left < b.left; });
        SetRegistryNumber(HKEY_CURRENT_USER, RV_SETTINGS_KEY, "EachMonitor", 1);
    }
    void EndWithKey()
    {
        SessionDriver::PressKey();
        ASSERT_TRUE(driver_.WaitForEnd(10000)) << "the session did not end";
    }
    std::vector<RECT> monitors_;
    SessionDriver driver_;
};

TEST_F(EachMonitor, EveryMonitorShowsAScreenSaverOfItsOwnAndAKeyEndsThemAll)
{
    std::vector<POINT> centres;
    for (const RECT& m : monitors_)
        centres.push_back({(m.left + m.right) / 2, (m.top + m.bottom) / 2});
    const char* names[] = {"good_a.scr", "good_b.scr", "good_c.scr"};
    ASSERT_TRUE(driver_.StartSession({names[0], names[1], names[2]}, 30000));
    // At each monitor's centre a window of another fixture, inside that monitor.
    DWORD session = driver_.Process().Id();
    bool apart = WaitUntil(10000, [&] {
        std::set<DWORD> shown;
        for (size_t i = 0; i < centres.size(); ++i) {
            DWORD process = ProcessAt(centres[i]);
            RECT window;
            GetWindowRect(WindowFromPoint(centres[i]), &window);
            if (process == 0 || process == session || !Inside(window, monitors_[i]))
                return false;
            shown.insert(process);
        }
        return shown.size() == centres.size();
    });
    ASSERT_TRUE(apart) << driver_.Log();
    // Consecutive entries of the play-list, left to right, each in preview mode.
    ASSERT_TRUE(driver_.WaitForRecords("start", monitors_.size(), 5000));
    std::vector<RecordLine> starts = driver_.RecordsStartingWith("start");
    ASSERT_EQ(monitors_.size(), starts.size());
    for (size_t i = 0; i < centres.size(); ++i) {
        DWORD process = ProcessAt(centres[i]);
        for (const RecordLine& start : starts) {
            if (start.pid == process) {
                EXPECT_NE(std::string::npos, start.text.find(names[i])) << start.text;
                EXPECT_NE(std::string::npos, start.text.find("\" /p ")) << start.text;
            }
        }
    }

    EndWithKey();
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

}  // namespace
