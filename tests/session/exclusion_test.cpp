// Exclusion of a screen saver that cannot be stopped, in whole sessions run in
// this process, where a seam makes Wine refuse the forced end of one program
// (Wine itself never refuses it).
#include <gtest/gtest.h>

#include <windows.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "saver/log/message_log.h"
#include "saver/processes/close_process.h"
#include "saver/session/session.h"
#include "saver/settings/settings_state.h"
#include "saver/windows/saver_state.h"
#include "saver/windows/saver_window.h"
#include "shared/names.h"
#include "tests/fixtures/fixture_record.h"
#include "tests/support/session_driver.h"
#include "tests/support/play_list_entries.h"

namespace {

class Exclusion : public ::testing::Test {
protected:
    void SetUp() override
    {
        Instance = GetModuleHandleA(NULL);
        RegisterSaverClass(Instance);
        RunMode = ModeSaver;
        VersionInfo.dwOSVersionInfoSize = sizeof VersionInfo;
        GetVersionExA(&VersionInfo);
        StopEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
        InputEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
        LogLock = CreateMutexA(NULL, FALSE, NULL);
        DeleteFileA(OwnLogPath().c_str());
        // Hosted screen savers get this program's arguments: the test
        // runner's would mean nothing to them.
        keptArgc_ = __argc;
        keptArgv_ = __argv;
        __argc = 2;
        __argv = arguments_;
        stubborn_ =
            driver_.savers.Install("rvt_good.scr", SaverDirectory::System, "stubborn_x.scr");
        RefusedTermination = stubborn_;
        ResetSettings();
        Period = 800;
    }
    void TearDown() override
    {
        RefusedTermination.clear();
        __argc = keptArgc_;
        __argv = keptArgv_;
        CloseHandle(StopEvent);
        CloseHandle(InputEvent);
        CloseHandle(LogLock);
        StopEvent = InputEvent = LogLock = NULL;
        ResetSettings();
        DeleteFileA(OwnLogPath().c_str());
    }
    std::string Log() const { return ReadWholeFile(OwnLogPath()); }

    SessionDriver driver_;  // its end stops the stubborn processes left running
    std::string stubborn_;
    int keptArgc_ = 0;
    char** keptArgv_ = NULL;
    char program_[8] = "rv", switch_[4] = "/s";
    char* arguments_[3] = {program_, switch_, NULL};
};

// Closes the session window once this many screen savers showed a window.
struct CloseAfterStarts {
    SessionDriver* driver;
    size_t starts;
    static DWORD WINAPI Run(LPVOID parameter)
    {
        CloseAfterStarts* self = (CloseAfterStarts*)parameter;
        self->driver->WaitForRecords("window", self->starts, 30000);
        PostMessageA(SaverWindow, WM_CLOSE, 0, 0);
        return 0;
    }
};

TEST_F(Exclusion, AfterTheSecondFailedTurnEveryEntryGoesAndPlayGoesOnWithTheNext)
{
    Catalogue = {driver_.savers.Install("rvt_good.scr", SaverDirectory::System, "good_a.scr"),
                 driver_.savers.Install("rvt_good.scr", SaverDirectory::System, "good_b.scr"),
                 driver_.savers.Install("rvt_good.scr", SaverDirectory::System, "good_c.scr"),
                 stubborn_};
    PlayList = Entries({3, 0, 3, 1, 2});
    CloseAfterStarts closer = {&driver_, 4};
    HANDLE thread = CreateThread(NULL, 0, CloseAfterStarts::Run, &closer, 0, NULL);
    RunSaverSession();
    WaitForSingleObject(thread, 30000);
    CloseHandle(thread);

    std::vector<std::string> started = driver_.StartedFileNames();
    ASSERT_GE(started.size(), 4u);
    EXPECT_EQ(
        (std::vector<std::string>{"stubborn_x.scr", "good_a.scr", "stubborn_x.scr", "good_b.scr"}),
        std::vector<std::string>(started.begin(), started.begin() + 4))
        << "after the exclusion play goes on with the entry that followed it";
    EXPECT_EQ((std::vector<uint32_t>{0, 1, 2}), Positions(PlayList));
    std::string log = Log();
    std::string excluded = stubborn_ + " is excluded from current session play-list as misbehaved.";
    size_t at = log.find(excluded);
    EXPECT_NE(std::string::npos, at) << log;
    EXPECT_EQ(std::string::npos, log.find(excluded, at + 1)) << log;
    EXPECT_NE(std::string::npos, log.find("Error terminating " + stubborn_ + "; ")) << log;
}

TEST_F(Exclusion, TheOnlyScreenSaverListedTwiceGoesAndTheSessionEnds)
{
    Catalogue = {stubborn_};
    PlayList = Entries({0, 0});
    DWORD start = GetTickCount();
    RunSaverSession();
    EXPECT_LT(GetTickCount() - start, 20000u);
    EXPECT_TRUE(PlayList.empty());
    EXPECT_EQ(2u, driver_.StartedFileNames().size());
    std::string log = Log();
    size_t excluded = log.find(stubborn_ + " is excluded from current session play-list");
    size_t empty = log.find("Play list is empty. Terminating...");
    ASSERT_NE(std::string::npos, excluded) << log;
    ASSERT_NE(std::string::npos, empty) << log;
    EXPECT_LT(excluded, empty);
    EXPECT_EQ(0u, FileIndex);
}

// Whether the session window goes within the time: a session that ends where
// it must not is seen as soon as it ends, and one that holds is watched for
// long enough to see a late end.
bool SessionWindowGoesWithin(DWORD milliseconds)
{
    return WaitUntil(milliseconds, [] { return !IsWindow(SaverWindow); });
}

// Where the password question is the only lock (the Windows 95 family), the
// session whose every entry went waits for input and asks before it ends.
TEST_F(Exclusion, WithNothingLeftALockedSessionEndsOnlyOnThePassword)
{
    VersionInfo.dwPlatformId = VER_PLATFORM_WIN32_WINDOWS;
    SetRegistryText(HKEY_CURRENT_USER, RV_DESKTOP_KEY, RV_VALUE_USE_PASSWORD, "1");
    SetRegistryNumber(HKEY_CURRENT_USER, RV_TEST_KEY, "PasswordAnswer", 0);
    Catalogue = {stubborn_};
    PlayList = Entries({0, 0});
    struct Person {
        SessionDriver* driver;
        bool endedUnasked = false, endedOnRefusal = false;
        static DWORD WINAPI Run(LPVOID parameter)
        {
            Person* self = (Person*)parameter;
            WaitUntil(30000, [] {
                return ReadWholeFile(OwnLogPath()).find("Play list is empty") != std::string::npos;
            });
            self->endedUnasked = SessionWindowGoesWithin(2000);
            SessionDriver::PressKey();
            self->driver->WaitForRecords("verify", 1, 10000);
            self->endedOnRefusal = SessionWindowGoesWithin(2000);
            SetRegistryNumber(HKEY_CURRENT_USER, RV_TEST_KEY, "PasswordAnswer", 1);
            SessionDriver::PressKey();
            return 0;
        }
    } person = {&driver_};
    HANDLE thread = CreateThread(NULL, 0, Person::Run, &person, 0, NULL);
    RunSaverSession();
    WaitForSingleObject(thread, 30000);
    CloseHandle(thread);
    DeleteRegistryValue(HKEY_CURRENT_USER, RV_DESKTOP_KEY, RV_VALUE_USE_PASSWORD);
    EXPECT_TRUE(PlayList.empty());
    EXPECT_FALSE(person.endedUnasked);
    EXPECT_FALSE(person.endedOnRefusal);
    EXPECT_EQ(2u, driver_.RecordsStartingWith("verify").size());
}

}  // namespace
