#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include <string>
#include <vector>

#include "settings_fixture.h"
#include "saver/app/load_settings.h"
#include "saver/dialog/save_settings.h"
#include "saver/settings/settings_store.h"
#include "tests/fixtures/fixture_record.h"
#include "tests/support/play_list_entries.h"

namespace {

class SettingsStore : public SettingsTest {
protected:
    void SetUp() override
    {
        SettingsTest::SetUp();
        a_ = savers_.Install("rvt_good.scr", SaverDirectory::System, "a.scr");
        b_ = savers_.Install("rvt_good.scr", SaverDirectory::System, "b.scr");
        c_ = savers_.Install("rvt_good.scr", SaverDirectory::Windows, "c.scr");
        SystemParametersInfoA(SPI_GETSCREENSAVETIMEOUT, 0, &systemTimeout_, 0);
    }
    void TearDown() override
    {
        SystemParametersInfoA(SPI_SETSCREENSAVETIMEOUT, systemTimeout_, NULL, 0);
        SettingsTest::TearDown();
    }
    void StorePlayList(const std::vector<std::string>& paths)
    {
        DeleteRegistryTree(HKEY_CURRENT_USER, RV_PLAYLIST_KEY);
        for (size_t i = 0; i < paths.size(); ++i)
            SetRegistryText(HKEY_CURRENT_USER, RV_PLAYLIST_KEY, PlayListValueName((int)i).c_str(),
                            paths[i].c_str());
    }
    std::string a_, b_, c_;
    UINT systemTimeout_ = 0;
};

TEST_F(SettingsStore, WithoutASettingsKeyTheDefaultsHoldAndTheKeyIsMade)
{
    LoadSettings();
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, RV_SETTINGS_KEY));
    EXPECT_EQ(20000u, Period);
    EXPECT_EQ(0u, FileIndex);
    EXPECT_EQ((std::vector<uint32_t>{0, 1, 2}), Positions(PlayList));
}

TEST_F(SettingsStore, PeriodAndIndexAreReadOnlyAsFourByteNumbers)
{
    SetRegistryText(HKEY_CURRENT_USER, RV_SETTINGS_KEY, "Period", "30000");
    SetRegistryNumber(HKEY_CURRENT_USER, RV_SETTINGS_KEY, "FileIndex", 4000000000u);
    LoadSettings();
    EXPECT_EQ(20000u, Period) << "a text period is ignored";
    EXPECT_EQ(4000000000u, FileIndex) << "a large index is kept for the runner to reduce";

    FreeSettings();
    SetRegistryNumber(HKEY_CURRENT_USER, RV_SETTINGS_KEY, "Period", 45000);
    WORD shortNumber = 7;
    SetRegistryRaw(HKEY_CURRENT_USER, RV_SETTINGS_KEY, "FileIndex", REG_DWORD, &shortNumber, 2);
    FileIndex = 0;
    LoadSettings();
    EXPECT_EQ(45000u, Period);
    EXPECT_EQ(0u, FileIndex) << "a two-byte number is not a REG_DWORD's value";
}

TEST_F(SettingsStore, PlayListIsMatchedIgnoringCaseWithRepeatsAndUnknownsDropped)
{
    std::string upperB = b_;
    CharUpperA(&upperB[0]);
    // A drive that is not there and a network path are looked at without
    // holding the load, and dropped like a removed file.
    StorePlayList({c_, upperB, "C:\\gone\\removed.scr", "Q:\\card\\x.scr",
                   "\\\\nosuchserver\\share\\x.scr", a_, c_});
    LoadSettings();
    EXPECT_EQ((std::vector<uint32_t>{2, 1, 0, 2}), Positions(PlayList));
}

TEST_F(SettingsStore, OnlyUnknownEntriesMeanTheWholeCatalogue)
{
    StorePlayList({"C:\\gone\\removed.scr"});
    LoadSettings();
    EXPECT_EQ((std::vector<uint32_t>{0, 1, 2}), Positions(PlayList));
}

TEST_F(SettingsStore, SavedPlayListUsesTheExactNamesAndCountsTheTerminator)
{
    LoadSettings();
    PlayList = Entries({2, 0, 2});
    SaveSettings();
    for (int i = 0; i < 3; ++i) {
        DWORD type = 0;
        std::string data;
        ASSERT_TRUE(ReadRegistryValue(HKEY_CURRENT_USER, RV_PLAYLIST_KEY,
                                      PlayListValueName(i).c_str(), &type, &data))
            << "missing value '" << PlayListValueName(i) << "'";
        EXPECT_EQ((DWORD)REG_SZ, type);
        std::string expected = (i == 1 ? a_ : c_) + std::string(1, '\0');
        EXPECT_EQ(expected, data);
    }
    EXPECT_EQ("File        00", PlayListValueName(0));
    EXPECT_EQ("File       100", PlayListValueName(100));

    FreeSettings();
    LoadSettings();
    EXPECT_EQ((std::vector<uint32_t>{2, 0, 2}), Positions(PlayList));
}

TEST_F(SettingsStore, ShorterPlayListLeavesNoEarlierEntriesBehind)
{
    // A sub-key keeps the play-list key from being deleted on some systems.
    SetRegistryText(HKEY_CURRENT_USER, RV_PLAYLIST_KEY "\\other", "x", "y");
    StorePlayList({a_, b_, c_, a_});
    LoadSettings();
    PlayList = Entries({1});
    SaveSettings();
    FreeSettings();
    LoadSettings();
    EXPECT_EQ((std::vector<uint32_t>{1}), Positions(PlayList));
}

TEST_F(SettingsStore, EmptyPlayListIsSavedAsAKeyWithoutValues)
{
    LoadSettings();
    PlayList.clear();
    SaveSettings();
    ASSERT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, RV_PLAYLIST_KEY));
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, RV_PLAYLIST_KEY, 0, KEY_READ, &key));
    DWORD values = 99;
    RegQueryInfoKeyA(key, NULL, NULL, NULL, NULL, NULL, NULL, &values, NULL, NULL, NULL, NULL);
    RegCloseKey(key);
    EXPECT_EQ(0u, values);
    FreeSettings();
    LoadSettings();
    EXPECT_EQ((std::vector<uint32_t>{0, 1, 2}), Positions(PlayList));
}

// Entries' own times are stored beside the play-list by value name, read back
// with their entries, and dropped when unreadable or stored for another list.
TEST_F(SettingsStore, EntriesOwnTimesAreStoredBesideThePlayList)
{
    auto storedTime = [](int position) {
        return ReadRegistryDword(HKEY_CURRENT_USER, RV_TIMES_KEY,
                                 PlayListValueName(position).c_str());
    };
    LoadSettings();
    EXPECT_EQ((std::vector<uint32_t>{0, 0, 0}), OwnTimes(PlayList)) << "the whole catalogue";
    PlayList = Entries({2, 0, 2, 1}, {60, 0, 5, 0});
    SaveSettings();
    EXPECT_EQ(60u, storedTime(0));
    EXPECT_EQ(0xFFFFFFFFu, storedTime(1)) << "the common time is no value";
    EXPECT_EQ(5u, storedTime(2));
    FreeSettings();
    LoadSettings();
    EXPECT_EQ((std::vector<uint32_t>{2, 0, 2, 1}), Positions(PlayList));
    EXPECT_EQ((std::vector<uint32_t>{60, 0, 5, 0}), OwnTimes(PlayList));

    // Unreadable values mean the common time; a long one is held.
    SetRegistryText(HKEY_CURRENT_USER, RV_TIMES_KEY, PlayListValueName(0).c_str(), "60");
    WORD shortNumber = 7;
    SetRegistryRaw(HKEY_CURRENT_USER, RV_TIMES_KEY, PlayListValueName(2).c_str(), REG_DWORD,
                   &shortNumber, 2);
    SetRegistryNumber(HKEY_CURRENT_USER, RV_TIMES_KEY, PlayListValueName(3).c_str(), 4000000000u);
    FreeSettings();
    LoadSettings();
    EXPECT_EQ((std::vector<uint32_t>{0, 0, 0, 32767}), OwnTimes(PlayList));

    // A play-list rewritten by a version that knows no times keeps none.
    SetRegistryNumber(HKEY_CURRENT_USER, RV_TIMES_KEY, PlayListValueName(0).c_str(), 60);
    StorePlayList({c_, a_, b_, b_});
    FreeSettings();
    LoadSettings();
    EXPECT_EQ((std::vector<uint32_t>{0, 0, 0, 0}), OwnTimes(PlayList));

    // Without own times there is no key.
    SaveSettings();
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, RV_TIMES_KEY));
}

TEST_F(SettingsStore, SystemTimeoutIsReadInWholeMinutes)
{
    SystemParametersInfoA(SPI_SETSCREENSAVETIMEOUT, 45, NULL, 0);
    LoadSettings();
    EXPECT_EQ(0u, TimeoutMinutes);
    FreeSettings();
    SystemParametersInfoA(SPI_SETSCREENSAVETIMEOUT, 119, NULL, 0);
    LoadSettings();
    EXPECT_EQ(1u, TimeoutMinutes);
}

TEST_F(SettingsStore, TimeoutIsSavedInSecondsToTheRegistryAndTheSystem)
{
    LoadSettings();
    TimeoutMinutes = 7;
    Period = 15000;
    SaveSettings();
    DWORD type = 0;
    std::string data;
    ASSERT_TRUE(
        ReadRegistryValue(HKEY_CURRENT_USER, RV_DESKTOP_KEY, "ScreenSaveTimeOut", &type, &data));
    EXPECT_EQ((DWORD)REG_SZ, type);
    EXPECT_EQ(std::string("420", 4), data);
    UINT seconds = 0;
    SystemParametersInfoA(SPI_GETSCREENSAVETIMEOUT, 0, &seconds, 0);
    EXPECT_EQ(420u, seconds);
    ASSERT_TRUE(ReadRegistryValue(HKEY_CURRENT_USER, RV_SETTINGS_KEY, "Period", &type, &data));
    EXPECT_EQ((DWORD)REG_DWORD, type);
    EXPECT_EQ(std::string("\x98\x3a\0\0", 4), data);
}

TEST_F(SettingsStore, SaveLastStateWritesOnlyTheIndex)
{
    LoadSettings();
    FileIndex = 5;
    SaveLastState();
    DWORD type = 0;
    std::string data;
    ASSERT_TRUE(ReadRegistryValue(HKEY_CURRENT_USER, RV_SETTINGS_KEY, "FileIndex", &type, &data));
    EXPECT_EQ((DWORD)REG_DWORD, type);
    EXPECT_EQ(std::string("\5\0\0\0", 4), data);
    EXPECT_FALSE(ReadRegistryValue(HKEY_CURRENT_USER, RV_SETTINGS_KEY, "Period", NULL, NULL));
}

// Stands in for the display settings' screen-saver page and its timeout box.
struct HostPage {
    HWND page, edit, updown;
    explicit HostPage(const char* text, bool paired = true)
    {
        InitCommonControls();
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(NULL);
        windowClass.lpszClassName = "RvTestHostPage";
        RegisterClassA(&windowClass);
        page = CreateWindowExA(0, "RvTestHostPage", "page", WS_POPUP, 0, 0, 300, 200, NULL, NULL,
                               GetModuleHandleA(NULL), NULL);
        HWND other =
            CreateWindowExA(0, "Edit", "", WS_CHILD, 0, 40, 50, 20, page, NULL, NULL, NULL);
        edit = CreateWindowExA(0, "Edit", text, WS_CHILD, 0, 0, 50, 20, page, NULL, NULL, NULL);
        // FindWindowEx finds the first child in z-order: the most recent one is on top.
        SetWindowPos(edit, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        updown =
            CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD, 50, 0, 10, 20, page, NULL, NULL, NULL);
        SendMessageA(updown, UDM_SETBUDDY, (WPARAM)(paired ? edit : other), 0);
    }
    ~HostPage() { DestroyWindow(page); }
    std::string Text() const
    {
        char text[64] = "";
        GetWindowTextA(edit, text, sizeof text);
        return text;
    }
};

TEST_F(SettingsStore, HostTimeoutBoxOverridesTheSystemInConfiguration)
{
    SystemParametersInfoA(SPI_SETSCREENSAVETIMEOUT, 180, NULL, 0);
    RunMode = ModeConfig;
    struct Case {
        const char* text;
        bool paired;
        uint32_t minutes;
    };
    for (Case c :
         {Case{"12", true, 12}, Case{" 12 min", true, 12}, Case{"0", true, 3}, Case{"", true, 3},
          Case{"abc", true, 3}, Case{"12", false, 3}, Case{"99999999999", true, 32767}}) {
        HostPage host(c.text, c.paired);
        ParentWindow = host.page;
        FreeSettings();
        LoadSettings();
        EXPECT_EQ(c.minutes, TimeoutMinutes) << "box '" << c.text << "' paired " << c.paired;
    }
    RunMode = ModeSaver;
    HostPage host("12");
    ParentWindow = host.page;
    FreeSettings();
    LoadSettings();
    EXPECT_EQ(3u, TimeoutMinutes) << "only the configuration reads the host's box";
}

TEST_F(SettingsStore, SavingInConfigurationWritesTheHostTimeoutBox)
{
    UINT system = 0;
    SystemParametersInfoA(SPI_GETSCREENSAVETIMEOUT, 0, &system, 0);
    RunMode = ModeConfig;
    HostPage host("5");
    ParentWindow = host.page;
    LoadSettings();
    TimeoutMinutes = 9;
    SaveSettings();
    // The saving wrote the system's timeout too: put back for the next run.
    SystemParametersInfoA(SPI_SETSCREENSAVETIMEOUT, system, NULL, SPIF_UPDATEINIFILE);
    EXPECT_EQ("9", host.Text());
}

class TrayIconSetting : public SettingsStore {
protected:
    void SetUp() override
    {
        SettingsStore::SetUp();
        companion_ = BesideTests("fake_companion.exe");
        record_ = BesideTests("companion.rec");
        DeleteFileA(record_.c_str());
        SetRegistryText(HKEY_CURRENT_USER, RV_TEST_KEY, "RecordFile", record_.c_str());
        DeleteRegistryValue(HKEY_LOCAL_MACHINE, RV_RUN_KEY, "RVTRAY.EXE");
        DeleteRegistryValue(HKEY_CURRENT_USER, RV_RUN_KEY, "RVTRAY.EXE");
    }
    void TearDown() override
    {
        DeleteRegistryValue(HKEY_LOCAL_MACHINE, RV_RUN_KEY, "RVTRAY.EXE");
        DeleteRegistryValue(HKEY_CURRENT_USER, RV_RUN_KEY, "RVTRAY.EXE");
        DeleteRegistryTree(HKEY_CURRENT_USER, RV_TEST_KEY);
        DeleteFileA(record_.c_str());
        SettingsStore::TearDown();
    }
    std::string companion_, record_;
};

TEST_F(TrayIconSetting, FollowsARunEntryThatNamesAnExistingFile)
{
    SetRegistryText(HKEY_LOCAL_MACHINE, RV_RUN_KEY, "RVTRAY.EXE", companion_.c_str());
    LoadSettings();
    EXPECT_TRUE(ShowTrayIcon);

    FreeSettings();
    SetRegistryText(HKEY_LOCAL_MACHINE, RV_RUN_KEY, "RVTRAY.EXE", "C:\\deleted\\rvtray.exe");
    LoadSettings();
    EXPECT_FALSE(ShowTrayIcon);

    // The user's own Run key counts on the NT family only.
    SetRegistryText(HKEY_CURRENT_USER, RV_RUN_KEY, "RVTRAY.EXE", companion_.c_str());
    FreeSettings();
    LoadSettings();
    EXPECT_TRUE(ShowTrayIcon);
    VersionInfo.dwPlatformId = VER_PLATFORM_WIN32_WINDOWS;
    FreeSettings();
    LoadSettings();
    EXPECT_FALSE(ShowTrayIcon);
}

TEST_F(TrayIconSetting, SaveStartsTheCompanionWithOrWithoutRemoval)
{
    SetRegistryText(HKEY_CURRENT_USER, RV_SETTINGS_KEY, "RVTRAY.EXE", companion_.c_str());
    LoadSettings();
    ShowTrayIcon = true;
    SaveSettings();
    ShowTrayIcon = false;
    SaveSettings();
    std::string record;
    ASSERT_TRUE(WaitUntil(10000, [&] {
        record = ReadWholeFile(record_);
        return std::count(record.begin(), record.end(), '\n') >= 2;
    })) << record;
    EXPECT_NE(std::string::npos, record.find("fake_companion.exe\"]")) << record;
    EXPECT_NE(std::string::npos, record.find("fake_companion.exe\" /u]")) << record;
}

TEST_F(TrayIconSetting, ACompanionPathOfTheFullLengthIsReadAndStarted)
{
    // 259 characters and the terminator: the longest path Windows has.
    std::string directory = BesideTests("long path");
    std::string inner = directory + "\\" + std::string(259 - directory.size() - 12, 'd');
    std::string path = inner + "\\rvtray.exe";
    ASSERT_EQ(259u, path.size());
    CreateDirectoryA(directory.c_str(), NULL);
    CreateDirectoryA(inner.c_str(), NULL);
    ASSERT_TRUE(CopyFileA(companion_.c_str(), path.c_str(), FALSE));

    SetRegistryText(HKEY_LOCAL_MACHINE, RV_RUN_KEY, "RVTRAY.EXE", path.c_str());
    SetRegistryText(HKEY_CURRENT_USER, RV_SETTINGS_KEY, "RVTRAY.EXE", path.c_str());
    LoadSettings();
    EXPECT_TRUE(ShowTrayIcon);
    SaveSettings();
    EXPECT_TRUE(WaitUntil(
        10000, [&] { return ReadWholeFile(record_).find("rvtray.exe\"]") != std::string::npos; }))
        << "the companion was not started: " << ReadWholeFile(record_);
    EXPECT_TRUE(ReadRegistryValue(HKEY_LOCAL_MACHINE, RV_RUN_KEY, "RVTRAY.EXE", NULL, NULL));

    WaitUntil(5000, [&] { return DeleteFileA(path.c_str()) != FALSE; });
    RemoveDirectoryA(inner.c_str());
    RemoveDirectoryA(directory.c_str());
}

TEST_F(TrayIconSetting, ACompanionThatCannotBeStartedLosesBothRunEntries)
{
    // No companion beside this program either, the last place looked at.
    std::string beside = BesideTests("rvtray.exe"), away = beside + ".away";
    ASSERT_TRUE(MoveFileA(beside.c_str(), away.c_str()));
    SetRegistryText(HKEY_LOCAL_MACHINE, RV_RUN_KEY, "RVTRAY.EXE", companion_.c_str());
    SetRegistryText(HKEY_CURRENT_USER, RV_RUN_KEY, "RVTRAY.EXE", companion_.c_str());
    for (const char* stored : {"C:\\deleted\\rvtray.exe", ""}) {
        SetRegistryText(HKEY_CURRENT_USER, RV_SETTINGS_KEY, "RVTRAY.EXE", stored);
        LoadSettings();
        ShowTrayIcon = true;
        SaveSettings();
        EXPECT_FALSE(ReadRegistryValue(HKEY_LOCAL_MACHINE, RV_RUN_KEY, "RVTRAY.EXE", NULL, NULL));
        EXPECT_FALSE(ReadRegistryValue(HKEY_CURRENT_USER, RV_RUN_KEY, "RVTRAY.EXE", NULL, NULL));
        FreeSettings();
    }
    MoveFileA(away.c_str(), beside.c_str());
}

}  // namespace
