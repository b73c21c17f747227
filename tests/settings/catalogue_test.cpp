#include <algorithm>
#include <string>
#include <vector>

#include "settings_fixture.h"
#include "tests/support/session_driver.h"
#include "saver/app/load_settings.h"
#include "saver/dialog/save_settings.h"
#include "saver/log/message_log.h"
#include "saver/settings/catalogue.h"
#include "saver/settings/settings_store.h"

namespace {

using Catalogue_ = SettingsTest;

// The folders listed for each build on each kind of Windows.
TEST(CatalogueFolders, OwnSystemFolderThenTheOtherThenWindows)
{
    struct Case {
        const char* wow64System;
        bool underWow64, hasSysnative;
        std::vector<std::string> expected;
    } cases[] = {
        // 32-bit build on 32-bit Windows, or 64-bit build without WOW64
        {"", false, false, {"C:\\W\\system32", "C:\\W"}},
        // 64-bit build on 64-bit Windows
        {"C:\\W\\SysWOW64", false, false, {"C:\\W\\system32", "C:\\W\\SysWOW64", "C:\\W"}},
        // 32-bit build on 64-bit Vista and later
        {"", true, true, {"C:\\W\\system32", "C:\\W\\Sysnative", "C:\\W"}},
        // 32-bit build on XP x64: no Sysnative
        {"", true, false, {"C:\\W\\system32", "C:\\W"}},
    };
    for (const Case& c : cases) {
        CatalogueFacts facts;
        facts.system = "C:\\W\\system32";
        facts.windows = "C:\\W";
        facts.wow64System = c.wow64System;
        facts.underWow64 = c.underWow64;
        facts.hasSysnative = c.hasSysnative;
        EXPECT_EQ(c.expected, CatalogueFolders(facts));
    }
}

// On 64-bit Windows each build lists and runs the screen savers of the other
// build's system folder: the 64-bit program a 32-bit one only in SysWOW64,
// the 32-bit program (through Sysnative) a 64-bit one only in System32.
TEST(CatalogueFolders, EachBuildRunsTheOtherSystemFoldersScreenSavers)
{
    char wow64[MAX_PATH] = "";
    typedef UINT(WINAPI * GetFolder)(LPSTR, UINT);
    GetFolder get = (GetFolder)(void*)GetProcAddress(GetModuleHandleA("kernel32.dll"),
                                                     "GetSystemWow64DirectoryA");
    std::string other32 = BesideTests("..\\..\\tests32\\bin\\rvt_good.scr");
    std::string saver32 = BesideTests("..\\..\\i686\\bin\\_Rotaveil.scr");
    std::string why;
    if (sizeof(void*) != 8 || !get || !get(wow64, sizeof wow64) ||
        GetFileAttributesA(other32.c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "needs the 64-bit tests on 64-bit Windows and the 32-bit build";
    if (!RunsThirtyTwoBitPrograms(&why))
        GTEST_SKIP() << "this machine runs no 32-bit programs: " << why;
    struct Case {
        std::string installed, built, saver;
    } cases[] = {
        {std::string(wow64) + "\\good_wow.scr", other32, BesideTests("_Rotaveil.scr")},
        {InstalledSavers::DirectoryOf(SaverDirectory::System) + "\\good_native.scr",
         BesideTests("rvt_good.scr"), saver32},
    };
    for (const Case& c : cases) {
        SessionDriver driver;
        ASSERT_TRUE(CopyFileA(c.built.c_str(), c.installed.c_str(), FALSE)) << c.installed;
        DeleteRegistryTree(HKEY_CURRENT_USER, RV_PLAYLIST_KEY);
        driver.SetPeriod(60000);
        ChildProcess session;
        ASSERT_TRUE(session.Start("\"" + c.saver + "\" /s"));
        bool started = driver.WaitForRecords("window", 1, 15000);
        SessionDriver::PressKey();
        EXPECT_TRUE(session.WaitForExit(10000));
        DeleteFileA(c.installed.c_str());
        ASSERT_TRUE(started) << c.installed << " was not run by " << c.saver;
        std::vector<std::string> names = driver.StartedFileNames();
        ASSERT_EQ(1u, names.size());
        EXPECT_EQ(c.installed.substr(c.installed.rfind('\\') + 1), names[0]);
    }
}

TEST_F(Catalogue_, NothingInstalledGivesAnEmptyCatalogueAndPlayList)
{
    LoadSettings();
    EXPECT_TRUE(Catalogue.empty());
    EXPECT_TRUE(PlayList.empty());
}

TEST_F(Catalogue_, SystemDirectoryFirstThenWindowsEachInNameOrder)
{
    savers_.Install("rvt_good.scr", SaverDirectory::Windows, "zeta.scr");
    savers_.Install("rvt_good.scr", SaverDirectory::System, "beta.scr");
    savers_.Install("rvt_good.scr", SaverDirectory::System, "Alpha.scr");
    savers_.Install("rvt_good.scr", SaverDirectory::Windows, "Mid.scr");
    BuildCatalogue();
    std::vector<std::string> expected = {SystemPath("Alpha.scr"), SystemPath("beta.scr"),
                                         WindowsPath("Mid.scr"), WindowsPath("zeta.scr")};
    EXPECT_EQ(expected, Catalogue);
}

TEST_F(Catalogue_, OwnFileInAnyCaseAndNonScreenSaversAreLeftOut)
{
    savers_.Install("rvt_good.scr", SaverDirectory::System, "_ROTAVEIL.SCR");
    savers_.Install("rvt_good.scr", SaverDirectory::Windows, "_Rotaveil.scr");
    savers_.Install("rvt_good.scr", SaverDirectory::Windows, "notes.scrap");
    savers_.Install("rvt_good.scr", SaverDirectory::Windows, "kept.scr");
    BuildCatalogue();
    EXPECT_EQ(std::vector<std::string>{WindowsPath("kept.scr")}, Catalogue);
    DeleteFileA(WindowsPath("notes.scrap").c_str());
}

// A name the code page cannot spell is listed by its short name, not by its
// best fit (which names another file beside it); an entry stored by the
// short name of a file listed by its long name is that entry; one that
// matches nothing in a scanned folder is logged, not dropped silently.
TEST_F(Catalogue_, NamesByTheirShortNamesAndGoneOnesLogged)
{
    std::string omega = savers_.Install("rvt_good.scr", SaverDirectory::Windows, "Omega.scr");
    std::string deluxe =
        savers_.Install("rvt_good.scr", SaverDirectory::Windows, "Starfield Deluxe.scr");
    std::wstring wide = std::wstring(omega.begin(), omega.end() - 9) + L"\x03A9mega.scr";
    ASSERT_TRUE(CopyFileW(std::wstring(omega.begin(), omega.end()).c_str(), wide.c_str(), FALSE));
    WCHAR omegaShort[MAX_PATH] = {0};
    char deluxeShort[MAX_PATH] = "";
    GetShortPathNameW(wide.c_str(), omegaShort, MAX_PATH);
    ASSERT_NE(deluxe, GetShortPathNameA(deluxe.c_str(), deluxeShort, MAX_PATH) ? deluxeShort : "");
    DeleteFileA(OwnLogPath().c_str());
    LogLock = CreateMutexA(NULL, FALSE, NULL);
    SetRegistryText(HKEY_CURRENT_USER, RV_PLAYLIST_KEY, PlayListValueName(0).c_str(), deluxeShort);
    SetRegistryText(HKEY_CURRENT_USER, RV_PLAYLIST_KEY, PlayListValueName(1).c_str(),
                    WindowsPath("gone.scr").c_str());
    LoadSettings();
    CloseHandle(LogLock);
    LogLock = NULL;
    DeleteFileW(wide.c_str());
    std::wstring listed(omegaShort);
    EXPECT_EQ(3u, Catalogue.size());
    EXPECT_EQ(1, std::count(Catalogue.begin(), Catalogue.end(), omega));
    EXPECT_EQ(1, std::count(Catalogue.begin(), Catalogue.end(),
                            std::string(listed.begin(), listed.end())));
    ASSERT_EQ(1u, PlayList.size());
    EXPECT_EQ(deluxe, Catalogue[PlayList[0].position]);
    EXPECT_NE(std::string::npos,
              ReadWholeFile(OwnLogPath()).find(WindowsPath("gone.scr") + " was not found"));
}

TEST_F(Catalogue_, SameNameInBothDirectoriesIsListedTwice)
{
    savers_.Install("Starfield.scr", SaverDirectory::System, "Starfield.scr");
    savers_.Install("Starfield.scr", SaverDirectory::Windows, "Starfield.scr");
    BuildCatalogue();
    std::vector<std::string> expected = {SystemPath("Starfield.scr"), WindowsPath("Starfield.scr")};
    EXPECT_EQ(expected, Catalogue);
}

TEST_F(Catalogue_, HiddenAndSystemFilesAndDirectoriesArePassedOver)
{
    std::string hidden = savers_.Install("rvt_good.scr", SaverDirectory::Windows, "hidden.scr");
    SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
    std::string system = savers_.Install("rvt_good.scr", SaverDirectory::Windows, "system.scr");
    SetFileAttributesA(system.c_str(), FILE_ATTRIBUTE_SYSTEM);
    std::string folder = WindowsPath("folder.scr");
    CreateDirectoryA(folder.c_str(), NULL);
    savers_.Install("rvt_good.scr", SaverDirectory::Windows, "visible.scr");
    BuildCatalogue();
    RemoveDirectoryA(folder.c_str());
    EXPECT_EQ(std::vector<std::string>{WindowsPath("visible.scr")}, Catalogue);
}

TEST_F(Catalogue_, DescriptionsComeFromStringOneOrTheBaseName)
{
    savers_.Install("Starfield.scr", SaverDirectory::System, "Starfield.scr");
    savers_.Install("rvt_good.scr", SaverDirectory::System, "tester.scr");
    savers_.Install("Two Letters.scr", SaverDirectory::System, "Two Letters.scr");
    savers_.Install("Night Sky.scr", SaverDirectory::System, "Night Sky.scr");
    savers_.InstallText("this is not a program", SaverDirectory::Windows, "Broken.Saver.scr");
    RunMode = ModeConfig;
    LoadSettings();
    ASSERT_EQ(5u, Catalogue.size());
    ASSERT_EQ(Catalogue.size(), Descriptions.size());
    std::vector<std::string> expected = {"Night Sky", "Starfield", "Rotaveil Test Saver",
                                         "Two Letters", "Broken.Saver"};
    std::vector<std::string> read;
    for (uint32_t i = 0; i < expected.size(); ++i)
        read.push_back(DescriptionOf(i));
    EXPECT_EQ(expected, read);
    EXPECT_EQ(expected, Descriptions) << "not kept";
    EXPECT_EQ("", DescriptionOf(99));

    char small[5];
    LoadDescription(small, sizeof small, 1);
    EXPECT_STREQ("Star", small);
    char outside[16] = "x";
    LoadDescription(outside, sizeof outside, 99);
    EXPECT_STREQ("", outside);
}

TEST_F(Catalogue_, DescriptionsAreLoadedInTheConfigurationModeOnly)
{
    savers_.Install("Starfield.scr", SaverDirectory::System, "Starfield.scr");
    for (signed char mode : {ModeSaver, ModePreview, ModeChangePassword}) {
        FreeSettings();
        RunMode = mode;
        LoadSettings();
        EXPECT_EQ(1u, Catalogue.size());
        EXPECT_TRUE(Descriptions.empty()) << "mode " << (int)mode;
    }
}

TEST(BaseName, DropsDirectoryDriveAndExtension)
{
    char buffer[64];
    BaseNameOf("C:\\WINDOWS\\SYSTEM\\Night Sky.scr", buffer, sizeof buffer);
    EXPECT_STREQ("Night Sky", buffer);
    BaseNameOf("D:plain", buffer, sizeof buffer);
    EXPECT_STREQ("plain", buffer);
    BaseNameOf("C:\\dir.x\\a.b.scr", buffer, sizeof buffer);
    EXPECT_STREQ("a.b", buffer);
    char tiny[3];
    BaseNameOf("C:\\long name.scr", tiny, sizeof tiny);
    EXPECT_STREQ("lo", tiny);
}

}  // namespace
