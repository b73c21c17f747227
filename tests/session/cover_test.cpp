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

RECT VirtualScreen()
{
    RECT screen;
    SetRect(&screen, GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
            GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
            GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN));
    return screen;
}

bool CoversTheScreen(HWND cover)
{
    RECT place, screen = VirtualScreen();
    return IsWindowVisible(cover) && !IsIconic(cover) && GetWindowRect(cover, &place) &&
           EqualRect(&place, &screen);
}

// Whether window is above other in the z-order.
bool Above(HWND window, HWND other)
{
    for (HWND at = GetTopWindow(NULL); at; at = GetWindow(at, GW_HWNDNEXT)) {
        if (at == window)
            return true;
        if (at == other)
            return false;
    }
    return false;
}

// Moved, shrunk, hidden or minimized by another program (a hosted screen
// saver, say), the cover is back over the whole screen at once, whether or
// not a password locks the session.
TEST(Cover, NoProgramUncoversTheDesktop)
{
    SessionDriver driver;
    ASSERT_TRUE(driver.StartSession({"deaf_cover.scr"}, 60000));
    ASSERT_TRUE(driver.WaitForRecords("window", 1, 10000));
    HWND cover = FindWindowA(RV_SAVER_CLASS, RV_SAVER_TITLE);
    ASSERT_TRUE(cover);
    ASSERT_TRUE(CoversTheScreen(cover));
    const struct {
        const char* what;
        void (*act)(HWND);
    } acts[] = {
        {"moved away",
         [](HWND w) { SetWindowPos(w, NULL, 5000, 5000, 10, 10, SWP_NOZORDER | SWP_NOACTIVATE); }},
        {"shrunk",
         [](HWND w) { SetWindowPos(w, NULL, 0, 0, 200, 150, SWP_NOZORDER | SWP_NOACTIVATE); }},
        {"hidden", [](HWND w) { ShowWindow(w, SW_HIDE); }},
        {"hidden and moved",
         [](HWND w) {
             SetWindowPos(w, NULL, 5000, 5000, 10, 10,
                          SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
         }},
        {"minimized", [](HWND w) { ShowWindow(w, SW_MINIMIZE); }},
        {"restored after", [](HWND w) { ShowWindow(w, SW_RESTORE); }},
    };
    for (const auto& act : acts) {
        act.act(cover);
        EXPECT_TRUE(WaitUntil(500, [&] { return CoversTheScreen(cover); }))
            << "the cover stayed " << act.what;
    }
    EXPECT_FALSE(driver.WaitForEnd(0)) << "the session ended";
    SessionDriver::PressKey();
    ASSERT_TRUE(driver.WaitForEnd(10000));
}

// A screen saver whose full-screen window comes after its start, and is not
// topmost, is shown above the cover, not left black under it.
TEST(Cover, AWindowMadeLateIsShownAboveIt)
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
    SessionDriver::PressKey();
    ASSERT_TRUE(driver.WaitForEnd(10000));
}

}  // namespace
