// The handler that puts the password setting back when the session process
// crashes, called here as Windows would call it for an unhandled exception.
// (A real crash is not used: Wine 8 does not always let a crashed program
// and the one that started it end.)
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "saver/session/password.h"
#include "saver/settings/settings_state.h"
#include "saver/windows/saver_state.h"
#include "shared/kept_password.h"
#include "shared/names.h"
#include "tests/support/test_support.h"

namespace {

TEST(PasswordCrashHandler, PutsTheSwitchedOffSettingAndTheSwitchBack)
{
    VersionInfo.dwPlatformId = VER_PLATFORM_WIN32_WINDOWS;
    SetRegistryText(HKEY_CURRENT_USER, RV_DESKTOP_KEY, RV_VALUE_USE_PASSWORD, "1");
    SetScreenSaverRunning(true);
    SuspendSystemPassword();
    std::string data;
    ReadRegistryValue(HKEY_CURRENT_USER, RV_DESKTOP_KEY, RV_VALUE_USE_PASSWORD, NULL, &data);
    ASSERT_EQ(std::string("0\0", 2), data);

    LPTOP_LEVEL_EXCEPTION_FILTER handler = SetUnhandledExceptionFilter(NULL);
    ASSERT_TRUE(handler) << "no crash handler was set";
    EXCEPTION_RECORD record = {};
    record.ExceptionCode = EXCEPTION_ACCESS_VIOLATION;
    CONTEXT context = {};
    EXCEPTION_POINTERS pointers = {&record, &context};
    EXPECT_EQ(EXCEPTION_CONTINUE_SEARCH, handler(&pointers)) << "the crash must still be reported";

    ReadRegistryValue(HKEY_CURRENT_USER, RV_DESKTOP_KEY, RV_VALUE_USE_PASSWORD, NULL, &data);
    EXPECT_EQ(std::string("1\0", 2), data);
    EXPECT_FALSE(ReadRegistryValue(HKEY_CURRENT_USER, RV_SETTINGS_KEY, "KeptScreenSaverRunning",
                                   NULL, NULL))
        << "Ctrl+Alt+Del was left switched off";
    DeleteRegistryValue(HKEY_CURRENT_USER, RV_DESKTOP_KEY, RV_VALUE_USE_PASSWORD);
}

}  // namespace
