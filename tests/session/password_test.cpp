// The system's password setting around real sessions, on both Windows
// families (Wine's per-program version), with a test PASSWORD.CPL beside the
// program that accepts or refuses.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "shared/names.h"
#include "tests/fixtures/fixture_record.h"
#include "tests/support/session_driver.h"

namespace {

const char AppDefaults[] = "Software\\Wine\\AppDefaults\\_Rotaveil.scr";

struct Stored {
    DWORD type;
    std::string data;
};

Stored Read(const char* name)
{
    Stored value = {0, ""};
    if (!ReadRegistryValue(HKEY_CURRENT_USER, RV_DESKTOP_KEY, name, &value.type, &value.data))
        value.type = REG_NONE;
    return value;
}

class Password : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        DeleteRegistryValue(HKEY_CURRENT_USER, RV_DESKTOP_KEY, RV_VALUE_USE_PASSWORD);
        DeleteRegistryValue(HKEY_CURRENT_USER, RV_DESKTOP_KEY, RV_VALUE_IS_SECURE);
        SetRegistryText(HKEY_CURRENT_USER, AppDefaults, "Version", GetParam());
        driver_.SetPlayListOf({"good_pw.scr"});
        driver_.SetPeriod(60000);
    }
    void TearDown() override
    {
        DeleteRegistryValue(HKEY_CURRENT_USER, RV_DESKTOP_KEY, RV_VALUE_USE_PASSWORD);
        DeleteRegistryValue(HKEY_CURRENT_USER, RV_DESKTOP_KEY, RV_VALUE_IS_SECURE);
        DeleteRegistryTree(HKEY_CURRENT_USER, AppDefaults);
    }
    bool Nt() const { return std::string(GetParam()) != "win98"; }
    // The value of this family's setting: switched off during a session on
    // the Windows 95 family, left alone on the NT family, which locks itself.
    const char* Switched() const { return Nt() ? RV_VALUE_IS_SECURE : RV_VALUE_USE_PASSWORD; }
    std::string During(const std::string& off, const std::string& on) const
    {
        return Nt() ? on : off;
    }
    void Answer(DWORD accept)
    {
        SetRegistryNumber(HKEY_CURRENT_USER, RV_TEST_KEY, "PasswordAnswer", accept);
    }
    void StartAndWaitForTurn(size_t turn)
    {
        ASSERT_TRUE(driver_.Start());
        ASSERT_TRUE(driver_.WaitForTurn(turn));
    }
    SessionDriver driver_;
};

TEST_P(Password, TextSettingIsOffWhereItLocksDuringTheSessionAndAskedBeforeItEnds)
{
    SetRegistryText(HKEY_CURRENT_USER, RV_DESKTOP_KEY, Switched(), "1");
    if (Nt())
        SetRegistryNumber(HKEY_CURRENT_USER, RV_DESKTOP_KEY, RV_VALUE_USE_PASSWORD, 1);
    Answer(0);
    StartAndWaitForTurn(1);
    Stored during = Read(Switched());
    EXPECT_EQ((DWORD)REG_SZ, during.type);
    EXPECT_EQ(During(std::string("0\0", 2), std::string("1\0", 2)), during.data);

    SessionDriver::PressKey();
    ASSERT_TRUE(driver_.WaitForRecords("verify", 1, 10000));
    ASSERT_TRUE(driver_.WaitForRecords("window", 2, 10000)) << "a refused password goes on";
    EXPECT_EQ(During(std::string("0\0", 2), std::string("1\0", 2)), Read(Switched()).data)
        << "off again after the question";
    EXPECT_FALSE(driver_.WaitForEnd(500));

    Answer(1);
    ASSERT_TRUE(driver_.WaitForTurn(2));
    SessionDriver::PressKey();
    ASSERT_TRUE(driver_.WaitForEnd(10000));
    EXPECT_EQ(2u, driver_.RecordsStartingWith("verify").size());
    Stored after = Read(Switched());
    EXPECT_EQ((DWORD)REG_SZ, after.type);
    EXPECT_EQ(std::string("1\0", 2), after.data);
}

TEST_P(Password, NumberSettingIsZeroWhereItLocksDuringTheSessionAndBackAfterIt)
{
    SetRegistryNumber(HKEY_CURRENT_USER, RV_DESKTOP_KEY, Switched(), 1);
    if (Nt())
        SetRegistryNumber(HKEY_CURRENT_USER, RV_DESKTOP_KEY, RV_VALUE_USE_PASSWORD, 1);
    Answer(1);
    StartAndWaitForTurn(1);
    Stored during = Read(Switched());
    EXPECT_EQ((DWORD)REG_DWORD, during.type);
    EXPECT_EQ(During(std::string(4, '\0'), std::string("\1\0\0\0", 4)), during.data);
    SessionDriver::PressKey();
    ASSERT_TRUE(driver_.WaitForEnd(10000));
    EXPECT_EQ(1u, driver_.RecordsStartingWith("verify").size());
    Stored after = Read(Switched());
    EXPECT_EQ((DWORD)REG_DWORD, after.type);
    EXPECT_EQ(std::string("\1\0\0\0", 4), after.data);
}

TEST_P(Password, SettingOffAsksNothingAndWritesNothing)
{
    SetRegistryText(HKEY_CURRENT_USER, RV_DESKTOP_KEY, Switched(), "0");
    StartAndWaitForTurn(1);
    SessionDriver::PressKey();
    ASSERT_TRUE(driver_.WaitForEnd(10000));
    EXPECT_TRUE(driver_.RecordsStartingWith("verify").empty());
    EXPECT_EQ(std::string("0\0", 2), Read(Switched()).data);
}

TEST_P(Password, IsBackAfterTheWindowWasClosedDuringTheQuestion)
{
    SetRegistryNumber(HKEY_CURRENT_USER, RV_DESKTOP_KEY, Switched(), 1);
    SetRegistryNumber(HKEY_CURRENT_USER, RV_DESKTOP_KEY, RV_VALUE_USE_PASSWORD, 1);
    Answer(0);
    SetRegistryNumber(HKEY_CURRENT_USER, RV_TEST_KEY, "PasswordDelay", 1500);
    StartAndWaitForTurn(1);
    SessionDriver::PressKey();
    ASSERT_TRUE(driver_.WaitForRecords("verify", 1, 10000));
    // Logoff or another program closes the session while the question is open.
    PostMessageA(FindWindowA(RV_SAVER_CLASS, RV_SAVER_TITLE), WM_CLOSE, 0, 0);
    Answer(1);
    ASSERT_TRUE(driver_.WaitForEnd(10000));
    // Where the question is the only lock, the close is input: asked again.
    EXPECT_EQ(Nt() ? 1u : 2u, driver_.RecordsStartingWith("verify").size());
    EXPECT_EQ(std::string("\1\0\0\0", 4), Read(Switched()).data) << "the password was left off";
}

INSTANTIATE_TEST_SUITE_P(Families, Password, ::testing::Values("win98", "nt40", "winxp"));

// On the Windows 95 family the session's question is the only lock: no way
// out of a protected session may skip it, and a refusal keeps the session.
class Lock : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetRegistryText(HKEY_CURRENT_USER, RV_DESKTOP_KEY, RV_VALUE_USE_PASSWORD, "1");
    }
    void TearDown() override
    {
        DeleteRegistryValue(HKEY_CURRENT_USER, RV_DESKTOP_KEY, RV_VALUE_USE_PASSWORD);
    }
    void Answer(DWORD accept)
    {
        SetRegistryNumber(HKEY_CURRENT_USER, RV_TEST_KEY, "PasswordAnswer", accept);
    }
    // Asks (refused: the session goes on), then asks again (accepted: it ends).
    void ExpectAskedBeforeTheEnd(void (*ask)(SessionDriver&), SessionDriver& driver)
    {
        Answer(0);
        ask(driver);
        ASSERT_TRUE(driver.WaitForRecords("verify", 1, 10000));
        EXPECT_FALSE(driver.WaitForEnd(1000)) << "a refused password ended the session";
        Answer(1);
        ask(driver);
        ASSERT_TRUE(driver.WaitForEnd(10000));
        std::vector<RecordLine> asked = driver.RecordsStartingWith("verify");
        ASSERT_EQ(2u, asked.size());
        EXPECT_NE(std::string::npos, asked[1].text.find(" from " + SystemPasswordLibrary()))
            << "not the system folder's library: " << asked[1].text;
        EXPECT_EQ(std::string("1\0", 2), Read(RV_VALUE_USE_PASSWORD).data);
    }
    void NothingToShow(const std::vector<std::string>& playList)
    {
        driver_.SetPlayList(playList);
        ASSERT_TRUE(driver_.Start());
        ASSERT_TRUE(WaitUntil(10000, [&] {
            return driver_.Log().find("Play list is empty. Terminating...") != std::string::npos;
        }));
        EXPECT_FALSE(driver_.WaitForEnd(1000)) << "ended without asking";
        ExpectAskedBeforeTheEnd(Key, driver_);
    }
    static void Key(SessionDriver&) { SessionDriver::PressKey(); }
    static void StartShowing(SessionDriver& driver, const char* name)
    {
        ASSERT_TRUE(driver.StartSession({name}, 60000));
        ASSERT_TRUE(driver.WaitForRecords("window", 1, 10000))
            << "session " << (driver.WaitForEnd(0) ? "ended" : "runs") << "\n"
            << ReadWholeFile(driver.recordFile) << driver.Log();
    }

    WineVersionFor win98_{"_Rotaveil.scr", "win98"};
    SessionDriver driver_;
};

TEST_F(Lock, AnEmptyPlayListWaitsForInputAndAsks)
{
    NothingToShow({});
}

TEST_F(Lock, APlayListOfNothingInstalledWaitsForInputAndAsks)
{
    NothingToShow({"C:\\windows\\not installed.scr"});
}

HWND SessionWindow()
{
    return FindWindowA(RV_SAVER_CLASS, RV_SAVER_TITLE);
}
void PostToSession(UINT message)
{
    PostMessageA(SessionWindow(), message, 0, 0);
}
void SendToSession(UINT message, WPARAM wParam)
{
    DWORD_PTR answer;
    SendMessageTimeoutA(SessionWindow(), message, wParam, 0, SMTO_NORMAL, 5000, &answer);
}

// A program that keeps writing the setting off until the session has asked.
DWORD WINAPI WriteThePasswordOffUntilAsked(LPVOID driver)
{
    auto questions = [=] { return ((SessionDriver*)driver)->RecordsStartingWith("verify").size(); };
    size_t asked = questions();
    for (DWORD start = GetTickCount(); GetTickCount() - start < 3000 && questions() == asked;)
        SetRegistryText(HKEY_CURRENT_USER, RV_DESKTOP_KEY, RV_VALUE_USE_PASSWORD, "0");
    return 0;
}

// What another program (or a screen saver of the play-list) may do to end a
// protected session: each is asked about like input.
TEST_F(Lock, NoWayFromOutsideEndsItUnasked)
{
    const struct {
        const char* name;
        void (*ask)(SessionDriver&);
    } ways[] = {
        {"WM_CLOSE", [](SessionDriver&) { PostToSession(WM_CLOSE); }},
        {"WM_DESTROY posted", [](SessionDriver&) { PostToSession(WM_DESTROY); }},
        {"WM_DESTROY sent", [](SessionDriver&) { SendToSession(WM_DESTROY, 0); }},
        // Puts the system's settings back, as Windows may end the process
        // next, but asks all the same when input comes.
        {"WM_ENDSESSION sent",
         [](SessionDriver&) {
             SendToSession(WM_ENDSESSION, TRUE);
             SessionDriver::PressKey();
         }},
        {"the cover hidden",
         [](SessionDriver&) {
             ShowWindow(SessionWindow(), SW_HIDE);
             EXPECT_TRUE(IsWindowVisible(SessionWindow())) << "the desktop shows";
             SessionDriver::PressKey();
         }},
        {"WM_QUIT to the window", [](SessionDriver&) { PostToSession(WM_QUIT); }},
        {"WM_QUIT to the thread",
         [](SessionDriver&) {
             PostThreadMessageA(GetWindowThreadProcessId(SessionWindow(), NULL), WM_QUIT, 0, 0);
         }},
        {"the setting written off",
         [](SessionDriver& driver) {
             HANDLE writer = CreateThread(NULL, 0, WriteThePasswordOffUntilAsked, &driver, 0, NULL);
             SessionDriver::PressKey();
             WaitForSingleObject(writer, 5000);
             CloseHandle(writer);
         }},
        // Loaded at the session's start, the library cannot be taken away.
        {"PASSWORD.CPL renamed", [](SessionDriver&) {
             MoveFileA(SystemPasswordLibrary().c_str(), (SystemPasswordLibrary() + ".away").c_str());
             SessionDriver::PressKey();
         }}};
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        SetRegistryText(HKEY_CURRENT_USER, RV_DESKTOP_KEY, RV_VALUE_USE_PASSWORD, "1");
        SessionDriver driver;
        StartShowing(driver, "good_lock.scr");
        ExpectAskedBeforeTheEnd(way.ask, driver);
        MoveFileA((SystemPasswordLibrary() + ".away").c_str(), SystemPasswordLibrary().c_str());
    }
}

// A hosted screen saver built on the system's library clears the switch that
// keeps Ctrl+Alt+Del off as it ends: each start finds it set again. Windows
// ends the process soon after WM_ENDSESSION: by then everything the session
// switched is back, and its screen saver is gone.
TEST_F(Lock, TheSwitchHoldsEveryTurnAndIsPutBackWhenWindowsEnds)
{
    SetRegistryNumber(HKEY_CURRENT_USER, RV_TEST_KEY, "ClearRunning", 1);
    ASSERT_TRUE(driver_.StartSession({"good_a.scr", "good_b.scr"}, 1000));
    ASSERT_TRUE(driver_.WaitForRecords("running", 3, 15000));
    for (const RecordLine& line : driver_.RecordsStartingWith("running"))
        EXPECT_EQ("running 1", line.text);
    DWORD_PTR answer = 0;
    ASSERT_TRUE(
        SendMessageTimeoutA(SessionWindow(), WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 10000, &answer));
    TerminateProcess(driver_.Process().Handle(), 1);
    ASSERT_TRUE(driver_.WaitForEnd(5000));
    EXPECT_EQ(std::string("1\0", 2), Read(RV_VALUE_USE_PASSWORD).data);
    EXPECT_FALSE(ReadRegistryValue(HKEY_CURRENT_USER, RV_SETTINGS_KEY, "KeptScreenSaverRunning",
                                   NULL, NULL));
    for (const RecordLine& start : driver_.RecordsStartingWith("start"))
        EXPECT_FALSE(ProcessRuns(start.pid));
}

// Ctrl+Alt+Del is off again as soon as a screen saver that switched it on as
// it ended is gone, though its stubborn child still takes seconds to stop.
TEST_F(Lock, TheSwitchIsBackWhileAScreenSaverIsStopped)
{
    InstalledChild child;
    SetRegistryNumber(HKEY_CURRENT_USER, RV_TEST_KEY, "ClearRunning", 1);
    SetRegistryNumber(HKEY_CURRENT_USER, RV_TEST_KEY, "Stubborn", 1);
    ASSERT_TRUE(driver_.StartSession({"child_x.scr"}, 1000));
    ASSERT_TRUE(driver_.WaitForRecords("end", 1, 15000));
    std::vector<RecordLine> started = driver_.RecordsStartingWith("started child");
    ASSERT_FALSE(started.empty());
    // Read by a fixture started for it (it records the switch at its start):
    // a process may answer from a copy of its own.
    auto switchOn = [&] {
        ChildProcess probe;
        if (!probe.Start("\"" + driver_.playList[0] + "\" /c") || !probe.WaitForExit(5000))
            return false;
        for (const RecordLine& line : driver_.RecordsStartingWith("running")) {
            if (line.pid == probe.Id())
                return line.text == "running 1";
        }
        return false;
    };
    EXPECT_TRUE(WaitUntil(600, switchOn));
    EXPECT_TRUE(ProcessRuns((DWORD)NumberAfter(started[0].text, "started child ")))
        << "the stop was over before the look";
}

}  // namespace
