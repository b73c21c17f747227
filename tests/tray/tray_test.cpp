// The tray companion: its installation through the real (Wine) registry and
// system.ini, and rvtray.exe run as a process with its window and menu.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "resources/resource_ids.h"
#include "shared/kept_password.h"
#include "shared/names.h"
#include "tests/support/session_driver.h"
#include "tray/install.h"

namespace {

std::string WindowsFile(const char* name)
{
    return InstalledSavers::DirectoryOf(SaverDirectory::Windows) + "\\" + name;
}

std::string Text(HKEY root, const char* path, const char* name)
{
    std::string data;
    if (!ReadRegistryValue(root, path, name, NULL, &data))
        return "<missing>";
    return data.substr(0, data.find('\0'));
}

std::string SystemIniEntry()
{
    char value[MAX_PATH] = "";
    GetPrivateProfileStringA("boot", RV_VALUE_SCRNSAVE, "<missing>", value, sizeof value,
                             WindowsFile("system.ini").c_str());
    return value;
}

class Tray : public ::testing::Test {
protected:
    void SetUp() override
    {
        SystemParametersInfoA(SPI_GETSCREENSAVETIMEOUT, 0, &timeout_, 0);
        DeleteRegistryValue(HKEY_LOCAL_MACHINE, RV_RUN_KEY, RV_VALUE_COMPANION);
        DeleteRegistryValue(HKEY_CURRENT_USER, RV_RUN_KEY, RV_VALUE_COMPANION);
        RefuseMachineRunKey = false;
        saver_ = WindowsFile(RV_SAVER_FILE);
        CopyFileA(BesideTests("rvt_good.scr").c_str(), saver_.c_str(), FALSE);
        char shortPath[MAX_PATH] = "";
        GetShortPathNameA(saver_.c_str(), shortPath, sizeof shortPath);
        shortPath_ = shortPath;
    }
    void TearDown() override
    {
        HWND running = FindWindowA(RV_TRAY_CLASS, RV_TRAY_TITLE);
        if (running)
            SendMessageA(running, WM_CLOSE, 0, 0);
        DeleteFileA(saver_.c_str());
        DeleteRegistryValue(HKEY_LOCAL_MACHINE, RV_RUN_KEY, RV_VALUE_COMPANION);
        DeleteRegistryValue(HKEY_CURRENT_USER, RV_RUN_KEY, RV_VALUE_COMPANION);
        SystemParametersInfoA(SPI_SETSCREENSAVETIMEOUT, timeout_, NULL, 0);
        RefuseMachineRunKey = false;
    }
    HWND StartCompanion(ChildProcess& companion, const char* arguments = "")
    {
        EXPECT_TRUE(companion.Start("\"" + BesideTests("rvtray.exe") + "\"" + arguments));
        HWND window = NULL;
        WaitUntil(10000,
                  [&] { return (window = FindWindowA(RV_TRAY_CLASS, RV_TRAY_TITLE)) != NULL; });
        return window;
    }
    // Answers the "EXIT" question with the given button.
    void ExitWith(HWND tray, int answer)
    {
        PostMessageA(tray, WM_COMMAND, IDM_EXIT, 0);
        HWND question = NULL;
        ASSERT_TRUE(WaitUntil(
            10000, [&] { return (question = FindWindowA("#32770", "Rotaveil")) != NULL; }));
        PostMessageA(question, WM_COMMAND, answer, 0);
        WaitUntil(5000, [&] { return !IsWindow(question); });
    }
    SessionDriver driver_;  // clean settings, records and no leftover processes
    std::string saver_, shortPath_;
    UINT timeout_ = 0;
};

TEST_F(Tray, FirstStartSetsThreeHundredSecondsAndTheShortPath)
{
    ASSERT_FALSE(shortPath_.empty());
    ASSERT_EQ(std::string::npos, shortPath_.find("_Rotaveil")) << "not an 8.3 name: " << shortPath_;
    SetRegistryText(HKEY_CURRENT_USER, RV_DESKTOP_KEY, RV_VALUE_SCRNSAVE, "C:\\WINDOWS\\OTHER.SCR");
    InstallScreenSaver();
    EXPECT_EQ(BesideTests("tray_tests.exe"),
              Text(HKEY_CURRENT_USER, RV_SETTINGS_KEY, RV_VALUE_COMPANION));
    EXPECT_EQ(shortPath_, Text(HKEY_CURRENT_USER, RV_DESKTOP_KEY, RV_VALUE_SCRNSAVE));
    EXPECT_EQ(shortPath_, SystemIniEntry());
    EXPECT_EQ("1", Text(HKEY_CURRENT_USER, RV_DESKTOP_KEY, RV_VALUE_ACTIVE));
    EXPECT_EQ("300", Text(HKEY_CURRENT_USER, RV_DESKTOP_KEY, RV_VALUE_TIMEOUT));
    UINT seconds = 0;
    SystemParametersInfoA(SPI_GETSCREENSAVETIMEOUT, 0, &seconds, 0);
    EXPECT_EQ(300u, seconds);
    EXPECT_EQ(BesideTests("tray_tests.exe"),
              Text(HKEY_LOCAL_MACHINE, RV_RUN_KEY, RV_VALUE_COMPANION));
}

TEST_F(Tray, LaterStartsKeepTheSystemsTimeoutAndTakeBackTheScreenSaver)
{
    InstallScreenSaver();
    SystemParametersInfoA(SPI_SETSCREENSAVETIMEOUT, 600, NULL, 0);
    SetRegistryText(HKEY_CURRENT_USER, RV_DESKTOP_KEY, RV_VALUE_SCRNSAVE, "C:\\WINDOWS\\OTHER.SCR");
    InstallScreenSaver();
    EXPECT_EQ("600", Text(HKEY_CURRENT_USER, RV_DESKTOP_KEY, RV_VALUE_TIMEOUT));
    EXPECT_EQ(shortPath_, Text(HKEY_CURRENT_USER, RV_DESKTOP_KEY, RV_VALUE_SCRNSAVE));
}

TEST_F(Tray, WithoutTheScreenSaverInTheWindowsDirectoryTheUsersChoiceStays)
{
    DeleteFileA(saver_.c_str());
    SetRegistryText(HKEY_CURRENT_USER, RV_DESKTOP_KEY, RV_VALUE_SCRNSAVE, "C:\\WINDOWS\\OTHER.SCR");
    WritePrivateProfileStringA("boot", RV_VALUE_SCRNSAVE, "C:\\WINDOWS\\OTHER.SCR",
                               WindowsFile("system.ini").c_str());
    InstallScreenSaver();
    EXPECT_EQ("C:\\WINDOWS\\OTHER.SCR", Text(HKEY_CURRENT_USER, RV_DESKTOP_KEY, RV_VALUE_SCRNSAVE));
    EXPECT_EQ("C:\\WINDOWS\\OTHER.SCR", SystemIniEntry());
    EXPECT_EQ(BesideTests("tray_tests.exe"),
              Text(HKEY_LOCAL_MACHINE, RV_RUN_KEY, RV_VALUE_COMPANION));
}

TEST_F(Tray, WithoutTheMachineRunKeyTheUsersOwnIsUsedAndRemoved)
{
    RefuseMachineRunKey = true;
    InstallScreenSaver();
    EXPECT_EQ("<missing>", Text(HKEY_LOCAL_MACHINE, RV_RUN_KEY, RV_VALUE_COMPANION));
    EXPECT_EQ(BesideTests("tray_tests.exe"),
              Text(HKEY_CURRENT_USER, RV_RUN_KEY, RV_VALUE_COMPANION));
    RefuseMachineRunKey = false;
    RemoveStartupEntry();
    EXPECT_EQ("<missing>", Text(HKEY_CURRENT_USER, RV_RUN_KEY, RV_VALUE_COMPANION));
}

TEST_F(Tray, RemovalClosesTheRunningCompanionAndInstallsNothing)
{
    ChildProcess companion;
    HWND tray = StartCompanion(companion);
    ASSERT_TRUE(tray);
    std::string companionPath = BesideTests("rvtray.exe");
    EXPECT_EQ(companionPath, Text(HKEY_LOCAL_MACHINE, RV_RUN_KEY, RV_VALUE_COMPANION));
    DeleteRegistryTree(HKEY_CURRENT_USER, RV_SETTINGS_KEY);
    SetRegistryText(HKEY_CURRENT_USER, RV_RUN_KEY, RV_VALUE_COMPANION, companionPath.c_str());
    // A second companion, as an older version could leave: closed too.
    WNDCLASSA older = {};
    older.lpfnWndProc = DefWindowProcA;
    older.hInstance = GetModuleHandleA(NULL);
    older.lpszClassName = RV_TRAY_CLASS;
    RegisterClassA(&older);
    HWND olderTray = CreateWindowA(RV_TRAY_CLASS, RV_TRAY_TITLE, WS_POPUP, 0, 0, 1, 1, NULL, NULL,
                                   older.hInstance, NULL);

    ChildProcess removal;
    ASSERT_TRUE(removal.Start("\"" + companionPath + "\" /u"));
    ASSERT_TRUE(removal.WaitForExit(10000));
    EXPECT_EQ(0u, removal.ExitCode());
    ASSERT_TRUE(companion.WaitForExit(10000)) << "the running companion was not closed";
    EXPECT_FALSE(IsWindow(olderTray)) << "a second companion was left";
    EXPECT_EQ(0u, companion.ExitCode());
    EXPECT_EQ("<missing>", Text(HKEY_LOCAL_MACHINE, RV_RUN_KEY, RV_VALUE_COMPANION));
    EXPECT_EQ("<missing>", Text(HKEY_CURRENT_USER, RV_RUN_KEY, RV_VALUE_COMPANION));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, RV_SETTINGS_KEY))
        << "removal installed something";
}

// A path with a blank in a Run entry would let a "C:\\Program.exe" run at
// every logon: the entry is quoted.
TEST_F(Tray, ACompanionInAFolderWithABlankWritesAQuotedStartUpEntry)
{
    std::string folder = BesideTests("with blank");
    CreateDirectoryA(folder.c_str(), NULL);
    std::string companionPath = folder + "\\rvtray.exe";
    ASSERT_TRUE(CopyFileA(BesideTests("rvtray.exe").c_str(), companionPath.c_str(), FALSE));
    ChildProcess companion;
    ASSERT_TRUE(companion.Start("\"" + companionPath + "\""));
    EXPECT_TRUE(WaitUntil(10000, [] { return FindWindowA(RV_TRAY_CLASS, RV_TRAY_TITLE) != NULL; }));
    EXPECT_EQ("\"" + companionPath + "\"",
              Text(HKEY_LOCAL_MACHINE, RV_RUN_KEY, RV_VALUE_COMPANION));
    EXPECT_EQ(companionPath, Text(HKEY_CURRENT_USER, RV_SETTINGS_KEY, RV_VALUE_COMPANION));
    ChildProcess removal;
    ASSERT_TRUE(removal.Start("\"" + companionPath + "\" /u"));
    EXPECT_TRUE(removal.WaitForExit(10000));
    EXPECT_TRUE(companion.WaitForExit(10000));
    DeleteFileA(companionPath.c_str());
    RemoveDirectoryA(folder.c_str());
}

TEST_F(Tray, ASecondStartInstallsAgainWithoutASecondWindow)
{
    // Started at the same moment, one stays.
    ChildProcess atOnce[6];
    for (ChildProcess& start : atOnce)
        ASSERT_TRUE(start.Start("\"" + BesideTests("rvtray.exe") + "\""));
    ASSERT_TRUE(WaitUntil(10000, [&] {
        int ended = 0;
        for (ChildProcess& start : atOnce)
            ended += start.WaitForExit(0) ? 1 : 0;
        return ended == 5;
    })) << "more than one companion stayed";
    SendMessageA(FindWindowA(RV_TRAY_CLASS, RV_TRAY_TITLE), WM_CLOSE, 0, 0);

    ChildProcess first;
    ASSERT_TRUE(StartCompanion(first));
    DeleteRegistryValue(HKEY_CURRENT_USER, RV_DESKTOP_KEY, RV_VALUE_SCRNSAVE);
    ChildProcess second;
    ASSERT_TRUE(second.Start("\"" + BesideTests("rvtray.exe") + "\""));
    ASSERT_TRUE(second.WaitForExit(10000));
    EXPECT_EQ(0u, second.ExitCode());
    EXPECT_EQ(shortPath_, Text(HKEY_CURRENT_USER, RV_DESKTOP_KEY, RV_VALUE_SCRNSAVE));
    int windows = 0;
    for (HWND w = FindWindowExA(NULL, NULL, RV_TRAY_CLASS, RV_TRAY_TITLE); w;
         w = FindWindowExA(NULL, w, RV_TRAY_CLASS, RV_TRAY_TITLE))
        ++windows;
    EXPECT_EQ(1, windows);
    EXPECT_FALSE(first.WaitForExit(200));
}

TEST_F(Tray, MenuCommandsStartTheScreenSaverWithTheExactCommandLines)
{
    ChildProcess companion;
    HWND tray = StartCompanion(companion);
    ASSERT_TRUE(tray);
    PostMessageA(tray, WM_COMMAND, IDM_RUN_SAVER, 0);
    ASSERT_TRUE(driver_.WaitForRecords("start", 1, 10000));
    PostMessageA(tray, WM_COMMAND, IDM_OPTIONS, 0);
    ASSERT_TRUE(driver_.WaitForRecords("start", 2, 10000));
    std::vector<RecordLine> starts = driver_.RecordsStartingWith("start");
    EXPECT_EQ("start good [\"" + saver_ + "\" /s]", starts[0].text);
    EXPECT_EQ("start good [\"" + saver_ + "\" /c:" + std::to_string((int)(INT_PTR)tray) + "]",
              starts[1].text);
    // A double click on the icon runs the screen saver too.
    PostMessageA(tray, WM_USER + 101, 1124, WM_LBUTTONDBLCLK);
    ASSERT_TRUE(driver_.WaitForRecords("start", 3, 10000));
    EXPECT_EQ(starts[0].text, driver_.RecordsStartingWith("start")[2].text);
}

// "Run screensaver" asks Windows first where Windows locks after the screen
// saver it starts (the NT family, Rotaveil being the user's screen saver),
// and starts the session itself only where Windows starts none (Wine starts
// none for SC_SCREENSAVE); the Windows 95 family's session asks the password
// itself and is started at once.
TEST_F(Tray, RunScreensaverLeavesTheStartToWindowsWhereWindowsLocksAfterIt)
{
    const struct {
        const char* version;
        bool chosen, sessionComes;
        DWORD ownStartWithin;  // 0: none
    } cases[] = {{"win98", true, false, 2500}, {"winxp", false, false, 2500},
                 {"winxp", true, true, 0}, {"winxp", true, false, 6000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.version) + (c.chosen ? " chosen" : "") +
                     (c.sessionComes ? ", a session comes" : ""));
        WineVersionFor family("rvtray.exe", c.version);
        ChildProcess companion;
        HWND tray = StartCompanion(companion);
        ASSERT_TRUE(tray);
        if (!c.chosen)
            SetRegistryText(HKEY_CURRENT_USER, RV_DESKTOP_KEY, RV_VALUE_SCRNSAVE, "C:\\X.SCR");
        size_t before = driver_.RecordsStartingWith("start").size();
        PostMessageA(tray, WM_COMMAND, IDM_RUN_SAVER, 0);
        Sleep(300);
        HANDLE session = c.sessionComes ? CreateMutexA(NULL, TRUE, RV_SESSION_MUTEX) : NULL;
        // Where Windows is not asked the start comes well within its 3 s.
        EXPECT_EQ(c.ownStartWithin != 0,
                  driver_.WaitForRecords("start", before + 1,
                                         c.ownStartWithin ? c.ownStartWithin : 5000));
        if (session)
            CloseHandle(session);
        ExitWith(tray, IDYES);
        companion.WaitForExit(5000);
    }
}

// The companion's icon as the shell knows it: deleting it succeeds only when
// it is there.
bool DeleteCompanionIcon(HWND tray)
{
    NOTIFYICONDATAA record = {};
    record.cbSize = NOTIFYICONDATAA_V1_SIZE;
    record.hWnd = tray;
    record.uID = 1124;
    return Shell_NotifyIconA(NIM_DELETE, &record) != FALSE;
}

TEST_F(Tray, TheIconComesBackWhenTheTaskBarIsMadeAnew)
{
    ChildProcess companion;
    HWND tray = StartCompanion(companion);
    ASSERT_TRUE(tray);
    ASSERT_TRUE(WaitUntil(5000, [&] { return DeleteCompanionIcon(tray); }))
        << "the companion showed no icon";
    EXPECT_FALSE(DeleteCompanionIcon(tray));
    // What Explorer broadcasts after a restart.
    DWORD_PTR ignored;
    SendMessageTimeoutA(tray, RegisterWindowMessageA("TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG,
                        5000, &ignored);
    EXPECT_TRUE(WaitUntil(5000, [&] { return DeleteCompanionIcon(tray); }))
        << "the icon was not added again";
}

TEST_F(Tray, ExitAsksAboutTheStartUpEntry)
{
    ChildProcess companion;
    HWND tray = StartCompanion(companion);
    ASSERT_TRUE(tray);
    std::string companionPath = BesideTests("rvtray.exe");
    ExitWith(tray, IDCANCEL);
    EXPECT_FALSE(companion.WaitForExit(500)) << "Cancel ended the companion";
    EXPECT_TRUE(IsWindow(tray));

    ExitWith(tray, IDYES);
    ASSERT_TRUE(companion.WaitForExit(10000));
    EXPECT_EQ(companionPath, Text(HKEY_LOCAL_MACHINE, RV_RUN_KEY, RV_VALUE_COMPANION))
        << "Yes keeps the start-up entry";

    ChildProcess again;
    tray = StartCompanion(again);
    ASSERT_TRUE(tray);
    ExitWith(tray, IDNO);
    ASSERT_TRUE(again.WaitForExit(10000));
    EXPECT_EQ("<missing>", Text(HKEY_LOCAL_MACHINE, RV_RUN_KEY, RV_VALUE_COMPANION))
        << "No removes the start-up entry";
}

}  // namespace
