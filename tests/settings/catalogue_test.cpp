#include <string>
#include <vector>

#include "settings_fixture.h"
#include "saver/app/load_settings.h"
#include "saver/dialog/save_settings.h"
#include "saver/settings/catalogue.h"
#include "saver/settings/settings_store.h"

namespace {

using Catalogue_ = SettingsTest;

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
    EXPECT_EQ(expected, Descriptions);

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
