// The session's cover against other programs: nothing from outside uncovers
// the desktop, a screen saver's late window is shown above it, and nothing a
// screen saver starts outlives the session.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "shared/names.h"
#include "tests/fixtures/fixture_record.h"
#include "tests/support/session_driver.h"

namespace {

// Whether window is above other in the z-order.
bool Above(HWND window, HWND other)
{
    for (HWND at = GetTopWindow(NULL); at; at = GetWindow(at, GW_HWNDNEXT)) {
        if (at == window || at == other)
            return at == window;
    }
    return false;
}

// A screen saver's window made late, and not topmost, is shown above the
// cover; moved, shrunk, hidden or minimized by another program (a hosted
// screen saver, say), the cover is back over the whole screen at once.
TEST(Cover, ALateWindowShowsAboveItAndNoProgramUncoversTheDesktop)
{
    SessionDriver driver;
    SetRegistryNumber(HKEY_CURRENT_USER, RV_TEST_KEY, "LateWindow", 2000);
    ASSERT_TRUE(driver.StartSession({"late_window.scr"}, 60000));
    ASSERT_TRUE(driver.WaitForRecords("window", 1, 15000));
    HWND window =
        (HWND)(INT_PTR)NumberAfter(driver.RecordsStartingWith("window")[0].text, "window ");
    HWND cover = FindWindowA(RV_SAVER_CLASS, RV_SAVER_TITLE);
    ASSERT_TRUE(cover);
    EXPECT_TRUE(WaitUntil(1000, [&] { return Above(window, cover); }))
        << "the late window stayed under the cover";
    const struct {
        int x, y, width, height, show;  // show 0: a move
    } acts[] = {{5000, 5000, 10, 10, 0}, {0, 0, 200, 150, 0}, {0, 0, 0, 0, SW_HIDE},
                {0, 0, 0, 0, SW_MINIMIZE}};
    RECT screen = VirtualScreenRect(), place;
    for (const auto& act : acts) {
        if (act.show)
            ShowWindow(cover, act.show);
        else
            SetWindowPos(cover, NULL, act.x, act.y, act.width, act.height,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        EXPECT_TRUE(WaitUntil(500, [&] {
            return IsWindowVisible(cover) && !IsIconic(cover) && GetWindowRect(cover, &place) &&
                   EqualRect(&place, &screen);
        })) << "show " << act.show << ", moved to " << act.x << "," << act.width;
    }
    EXPECT_FALSE(driver.WaitForEnd(0)) << "the session ended";
    SessionDriver::PressKey();
    ASSERT_TRUE(driver.WaitForEnd(10000));
}

}  // namespace
