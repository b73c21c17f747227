// Shared set-up of the settings tests: a clean settings state in memory, no
// stored settings, and no installed screen savers but those a test installs.
#pragma once
#include <gtest/gtest.h>

#include <windows.h>

#include "saver/dialog/host_timeout.h"
#include "saver/settings/settings_state.h"
#include "saver/windows/saver_state.h"
#include "shared/names.h"
#include "tests/support/installed_savers.h"
#include "tests/support/test_support.h"

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetSettings();
        RunMode = ModeSaver;
        ParentWindow = NULL;
        VersionInfo.dwPlatformId = VER_PLATFORM_WIN32_NT;
        DeleteRegistryTree(HKEY_CURRENT_USER, RV_SETTINGS_KEY);
    }
    void TearDown() override
    {
        DeleteRegistryTree(HKEY_CURRENT_USER, RV_SETTINGS_KEY);
        ResetSettings();
    }
    static std::string SystemPath(const char* name)
    {
        return InstalledSavers::DirectoryOf(SaverDirectory::System) + "\\" + name;
    }
    static std::string WindowsPath(const char* name)
    {
        return InstalledSavers::DirectoryOf(SaverDirectory::Windows) + "\\" + name;
    }
    InstalledSavers savers_;
};
