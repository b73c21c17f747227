// _Rotaveil.scr run as a real process with its command lines.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "shared/names.h"
#include "tests/support/test_support.h"

namespace {

std::string Saver()
{
    return "\"" + BesideTests(RV_SAVER_FILE) + "\"";
}

// A window of this test program, standing in for the display settings'
// preview pane or for a running session.
HWND MakeWindow(const char* className, const char* title, DWORD style, int width, int height)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = className;
    windowClass.hbrBackground = (HBRUSH)GetStockObject(BLACK_BRUSH);
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, className, title, style, 40, 40, width, height, NULL, NULL,
                           GetModuleHandleA(NULL), NULL);
}

class SaverProcess : public ::testing::Test {
protected:
    void SetUp() override { DeleteRegistryTree(HKEY_CURRENT_USER, RV_SETTINGS_KEY); }
    void TearDown() override { DeleteRegistryTree(HKEY_CURRENT_USER, RV_SETTINGS_KEY); }
};

TEST_F(SaverProcess, SecondStartWhileASessionWindowExistsReturnsAtOnceTouchingNothing)
{
    HWND session = MakeWindow(RV_SAVER_CLASS, RV_SAVER_TITLE, WS_POPUP, 10, 10);
    ASSERT_TRUE(session);
    for (const char* arguments : {"/s", "/c", "", "/p 12345", "/a"}) {
        ChildProcess saver;
        ASSERT_TRUE(saver.Start(Saver() + " " + arguments));
        ASSERT_TRUE(saver.WaitForExit(15000)) << arguments;
        EXPECT_EQ(0u, saver.ExitCode()) << arguments;
        EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, RV_SETTINGS_KEY))
            << "settings were loaded for " << arguments;
        EXPECT_FALSE(FindWindowA(NULL, "Rotaveil settings"));
    }
    DestroyWindow(session);
    UnregisterClassA(RV_SAVER_CLASS, GetModuleHandleA(NULL));
}

TEST_F(SaverProcess, PreviewWithoutALiveHostWindowEndsAtOnceWithZero)
{
    for (const char* arguments : {"/p", "/p 0", "/p 1234567", "/p:1234"}) {
        ChildProcess saver;
        ASSERT_TRUE(saver.Start(Saver() + " " + arguments));
        ASSERT_TRUE(saver.WaitForExit(15000)) << arguments;
        EXPECT_EQ(0u, saver.ExitCode()) << arguments;
    }
}

TEST_F(SaverProcess, ChangePasswordWithoutTheSystemsDialogEndsWithZero)
{
    ChildProcess saver;
    ASSERT_TRUE(saver.Start(Saver() + " /a 0"));
    ASSERT_TRUE(saver.WaitForExit(15000));
    EXPECT_EQ(0u, saver.ExitCode());
}

TEST_F(SaverProcess, ConfigurationShowsTheSettingsDialogOwnedByTheGivenWindow)
{
    HWND owner = MakeWindow("RvTestOwner", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 200);
    ASSERT_TRUE(owner);
    for (const char* format : {"%s /c:%d", "%s /C:%d"}) {
        char commandLine[512];
        snprintf(commandLine, sizeof commandLine, format, Saver().c_str(), (int)(INT_PTR)owner);
        ChildProcess saver;
        ASSERT_TRUE(saver.Start(commandLine));
        HWND dialog = NULL;
        ASSERT_TRUE(WaitUntil(
            10000, [&] { return (dialog = FindWindowA(NULL, "Rotaveil settings")) != NULL; }));
        EXPECT_EQ(owner, GetWindow(dialog, GW_OWNER)) << format;
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        ASSERT_TRUE(saver.WaitForExit(15000));
        EXPECT_EQ(0u, saver.ExitCode());
    }
    DestroyWindow(owner);
}

TEST_F(SaverProcess, PreviewPutsADisabledChildOverTheHostPaneAndEndsWithIt)
{
    // A pane of another shape than the picture: it must be stretched both ways.
    HWND host = MakeWindow("RvTestPane", "pane", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 300, 90);
    ASSERT_TRUE(host);
    char commandLine[512];
    snprintf(commandLine, sizeof commandLine, "%s /p %d", Saver().c_str(), (int)(INT_PTR)host);
    ChildProcess saver;
    ASSERT_TRUE(saver.Start(commandLine));

    HWND child = NULL;
    // Made visible at the end of its creation; found as soon as it exists.
    ASSERT_TRUE(WaitUntil(10000, [&] {
        child = FindWindowExA(host, NULL, RV_SAVER_CLASS, NULL);
        return child && (GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE);
    }));
    LONG style = GetWindowLongA(child, GWL_STYLE);
    EXPECT_EQ((LONG)(WS_CHILD | WS_VISIBLE | WS_DISABLED),
              style & (WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_POPUP));
    char title[64] = "";
    GetWindowTextA(child, title, sizeof title);
    EXPECT_STREQ(RV_SAVER_TITLE, title);
    RECT hostClient, childRect;
    GetClientRect(host, &hostClient);
    GetWindowRect(child, &childRect);
    MapWindowPoints(NULL, host, (POINT*)&childRect, 2);
    EXPECT_EQ(0, childRect.left);
    EXPECT_EQ(0, childRect.top);
    EXPECT_EQ(hostClient.right, childRect.right);
    EXPECT_EQ(hostClient.bottom, childRect.bottom);

    // What it paints is checked in-process (saver_window_test.cpp): Wine does
    // not show what a process draws into another process's window.
    DestroyWindow(host);
    ASSERT_TRUE(saver.WaitForExit(15000)) << "the preview outlived its host window";
    EXPECT_EQ(0u, saver.ExitCode());
}

}  // namespace
