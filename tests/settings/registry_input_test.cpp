// Values in the registry come from outside: none of these may crash the
// loader or make it read past what is stored.
#include <windows.h>

#include <string>
#include <vector>

#include "settings_fixture.h"
#include "saver/app/load_settings.h"
#include "saver/dialog/save_settings.h"
#include "saver/settings/settings_store.h"
#include "tests/support/play_list_entries.h"

namespace {

class RegistryInput : public SettingsTest {
protected:
    void SetUp() override
    {
        SettingsTest::SetUp();
        a_ = savers_.Install("rvt_good.scr", SaverDirectory::System, "a.scr");
        b_ = savers_.Install("rvt_good.scr", SaverDirectory::System, "b.scr");
    }
    void Store(int position, DWORD type, const std::string& bytes)
    {
        SetRegistryRaw(HKEY_CURRENT_USER, RV_PLAYLIST_KEY, PlayListValueName(position).c_str(),
                       type, bytes.data(), (DWORD)bytes.size());
    }
    std::string a_, b_;
};

TEST_F(RegistryInput, PlayListValuesOfOtherTypesAreSkipped)
{
    Store(0, REG_DWORD, std::string("\1\0\0\0", 4));
    Store(1, REG_BINARY, b_);
    Store(2, REG_MULTI_SZ, a_ + std::string("\0\0", 2));
    Store(3, REG_SZ, b_ + std::string(1, '\0'));
    LoadSettings();
    EXPECT_EQ((std::vector<uint32_t>{1}), Positions(PlayList));
}

TEST_F(RegistryInput, TextsAreTakenUpToTheStoredSizeOrTheFirstNul)
{
    Store(0, REG_SZ, a_);                                // no terminator stored
    Store(1, REG_SZ, b_ + std::string("\0garbage", 8));  // something after the NUL
    Store(2, REG_SZ, a_.substr(0, a_.size() - 1));       // cut short: no match
    LoadSettings();
    EXPECT_EQ((std::vector<uint32_t>{0, 1}), Positions(PlayList));
}

TEST_F(RegistryInput, AValueThatDoesNotFitIsPassedOverAndTheRestKept)
{
    Store(0, REG_SZ, a_ + std::string(1, '\0'));
    Store(1, REG_SZ, std::string(400, 'x') + std::string(1, '\0'));
    Store(2, REG_SZ, b_ + std::string(1, '\0'));
    LoadSettings();
    EXPECT_EQ((std::vector<uint32_t>{0, 1}), Positions(PlayList));

    FreeSettings();
    DeleteRegistryTree(HKEY_CURRENT_USER, RV_PLAYLIST_KEY);
    Store(0, REG_SZ, a_ + std::string(1, '\0'));
    std::string longName = PlayListValueName(1) + std::string(300, 'n');  // sorts between 01 and 02
    SetRegistryText(HKEY_CURRENT_USER, RV_PLAYLIST_KEY, longName.c_str(), b_.c_str());
    Store(2, REG_SZ, b_ + std::string(1, '\0'));
    LoadSettings();
    EXPECT_EQ((std::vector<uint32_t>{0, 1}), Positions(PlayList));
}

TEST_F(RegistryInput, PathsOfTheFullLengthAreComparedSafely)
{
    std::string longest = "C:\\" + std::string(252, 'd') + ".scr";  // 259 characters
    ASSERT_EQ(259u, longest.size());
    Store(0, REG_SZ, longest + std::string(1, '\0'));
    Store(1, REG_SZ, longest);
    Store(2, REG_SZ, b_ + std::string(1, '\0'));
    LoadSettings();
    EXPECT_EQ((std::vector<uint32_t>{1}), Positions(PlayList));
}

TEST_F(RegistryInput, ThousandsOfValuesLoadQuicklyInOrder)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_CURRENT_USER, RV_PLAYLIST_KEY, &key));
    for (int i = 0; i < 5000; ++i) {
        const std::string& path = i % 2 ? b_ : a_;
        RegSetValueExA(key, PlayListValueName(i).c_str(), 0, REG_SZ, (const BYTE*)path.c_str(),
                       (DWORD)path.size() + 1);
    }
    RegCloseKey(key);
    DWORD start = GetTickCount();
    LoadSettings();
    DWORD elapsed = GetTickCount() - start;
    ASSERT_EQ(5000u, PlayList.size());
    EXPECT_EQ(0u, PlayList[0].position);
    EXPECT_EQ(1u, PlayList[4999].position);
    EXPECT_LT(elapsed, 2000u);
}

TEST_F(RegistryInput, NumbersOfTheWrongKindOrSizeAreIgnored)
{
    SetRegistryRaw(HKEY_CURRENT_USER, RV_SETTINGS_KEY, "Period", REG_BINARY, "\x10\x27\0\0", 4);
    std::string big(300, '\7');
    SetRegistryRaw(HKEY_CURRENT_USER, RV_SETTINGS_KEY, "FileIndex", REG_DWORD, big.data(),
                   (DWORD)big.size());
    LoadSettings();
    EXPECT_EQ(20000u, Period);
    EXPECT_EQ(0u, FileIndex);
}

TEST_F(RegistryInput, BadRunEntriesNeverShowTheTrayIcon)
{
    std::string existing = BesideTests("fake_companion.exe");
    SetRegistryRaw(HKEY_LOCAL_MACHINE, RV_RUN_KEY, "RVTRAY.EXE", REG_DWORD, "\1\0\0\0", 4);
    LoadSettings();
    EXPECT_FALSE(ShowTrayIcon);

    std::string tooLong = existing + std::string(300, ' ');
    SetRegistryText(HKEY_LOCAL_MACHINE, RV_RUN_KEY, "RVTRAY.EXE", tooLong.c_str());
    FreeSettings();
    LoadSettings();
    EXPECT_FALSE(ShowTrayIcon);

    SetRegistryRaw(HKEY_LOCAL_MACHINE, RV_RUN_KEY, "RVTRAY.EXE", REG_SZ, existing.data(),
                   (DWORD)existing.size());
    FreeSettings();
    LoadSettings();
    EXPECT_TRUE(ShowTrayIcon) << "a path stored without its terminator still counts";
    DeleteRegistryValue(HKEY_LOCAL_MACHINE, RV_RUN_KEY, "RVTRAY.EXE");
}

}  // namespace
