// Process records, stopping and watching, on real processes started here:
// the test child (rvchild.exe) and the test screen saver.
#include <gtest/gtest.h>

#include <windows.h>

#include <string.h>

#include <string>

#include "saver/log/message_log.h"
#include "saver/processes/close_process.h"
#include "saver/processes/process_info.h"
#include "saver/processes/toolhelp.h"
#include "saver/processes/watch.h"
#include "saver/windows/saver_state.h"
#include "tests/fixtures/fixture_record.h"
#include "tests/support/session_driver.h"

namespace {

class ProcessRecords : public ::testing::Test {
protected:
    void SetUp() override
    {
        LogLock = CreateMutexA(NULL, FALSE, NULL);
        StopEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
        DeleteFileA(OwnLogPath().c_str());
        // The test screen saver takes its behaviour from its file name.
        CopyFileA(BesideTests("rvt_good.scr").c_str(), BesideTests("rvt_child.scr").c_str(), FALSE);
    }
    void TearDown() override
    {
        ClearProcesses(Processes);
        CloseHandle(StopEvent);
        CloseHandle(LogLock);
        StopEvent = LogLock = NULL;
        DeleteFileA(OwnLogPath().c_str());
    }
    // Starts a program beside the tests and records it like a started screen saver.
    ProcessInfo* Start(const char* file, const char* recordName)
    {
        std::string commandLine = "\"" + BesideTests(file) + "\"";
        if (strstr(file, ".scr"))
            commandLine += " /s";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        ProcessInfo* record = new ProcessInfo(recordName);
        if (!CreateProcessA(NULL, &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                            &record->procInfo))
            ADD_FAILURE() << "cannot start " << file;
        EnterProcess(Processes, record);
        return record;
    }
    std::string Log() const { return ReadWholeFile(OwnLogPath()); }
    SessionDriver driver_;
};

TEST_F(ProcessRecords, AWellBehavedProcessIsStoppedByItsWindowAndForgotten)
{
    ProcessInfo* child = Start("rvchild.exe", "rvchild.exe");
    ASSERT_TRUE(driver_.WaitForRecords("child window", 1, 10000));
    AttachWindows(0);
    ASSERT_TRUE(child->window) << "its window was not attached";
    EXPECT_TRUE(CloseAllProcesses(Processes));
    EXPECT_TRUE(Processes.empty());
    EXPECT_EQ(1u, driver_.RecordsStartingWith("child WM_CLOSE").size());
    EXPECT_EQ("", Log());
}

// A found child (its main thread unknown) that ignores WM_CLOSE is asked to
// quit through its window's thread before anything would kill it.
TEST_F(ProcessRecords, AChildDeafToCloseQuitsThroughItsWindowsThread)
{
    SetRegistryNumber(HKEY_CURRENT_USER, RV_TEST_KEY, "Stubborn", 2);
    ProcessInfo* child = Start("rvchild.exe", "deaf.exe");
    ASSERT_TRUE(driver_.WaitForRecords("child window", 1, 10000));
    child->procInfo.dwThreadId = 0;
    AttachWindows(0);
    EXPECT_TRUE(CloseAllProcesses(Processes));
    EXPECT_EQ(1u, driver_.RecordsStartingWith("child end").size()) << "killed, not quit";
}

TEST_F(ProcessRecords, ARefusedTerminationIsLoggedCountedAndCarriedOver)
{
    SetRegistryNumber(HKEY_CURRENT_USER, RV_TEST_KEY, "Stubborn", 1);
    ProcessInfo* child = Start("rvchild.exe", "stuck.exe");
    ASSERT_TRUE(driver_.WaitForRecords("child window", 1, 10000));
    DWORD pid = child->procInfo.dwProcessId;
    // A handle that may wait on the process but not end it: TerminateProcess is refused.
    HANDLE limited = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid);
    CloseHandle(child->procInfo.hProcess);
    CloseHandle(child->procInfo.hThread);
    child->procInfo.hProcess = limited;
    child->procInfo.hThread = NULL;
    child->procInfo.dwThreadId = 0;  // as for a found child

    DWORD start = GetTickCount();
    EXPECT_FALSE(CloseAllProcesses(Processes));
    EXPECT_GE(GetTickCount() - start, 1200u) << "the 500 and 800 ms stages come first";
    ASSERT_EQ(1u, Processes.size()) << "a record that could not be stopped stays";
    EXPECT_EQ(1u, Processes[0]->failCount);
    EXPECT_EQ(NULL, Processes[0]->procInfo.hProcess);
    EXPECT_NE(std::string::npos, Log().find(" Error terminating stuck.exe; ")) << Log();

    // Its next start carries the count over.
    ProcessInfo* again = new ProcessInfo("STUCK.EXE");
    EnterProcess(Processes, again);
    ASSERT_EQ(1u, Processes.size());
    EXPECT_EQ(1u, again->failCount);
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, pid);
    TerminateProcess(process, 0);
    CloseHandle(process);
}

TEST_F(ProcessRecords, ChildrenAreFoundLoggedOnceAndStoppedFirst)
{
    SetRegistryText(HKEY_CURRENT_USER, RV_TEST_KEY, "GrandChild", "rvchild.exe");
    CopyFileA(BesideTests("rvchild.exe").c_str(), BesideTests("helper.exe").c_str(), FALSE);
    SetRegistryText(HKEY_CURRENT_USER, RV_TEST_KEY, "ChildName", "helper.exe");
    ProcessInfo* saver = Start("rvt_child.scr", "C:\\test\\rvt_child.scr");
    ASSERT_TRUE(driver_.WaitForRecords("started grandchild", 1, 10000));
    ASSERT_TRUE(driver_.WaitForRecords("child window", 2, 10000));
    DetectChildProcesses();
    ASSERT_EQ(3u, Processes.size()) << "a grandchild listed after its parent is found at once";
    EXPECT_EQ(saver, Processes[1]->parent);
    EXPECT_EQ(Processes[1], Processes[2]->parent);
    DetectChildProcesses();
    std::string log = Log();
    const std::string text = "Screensaver C:\\test\\rvt_child.scr started helper.exe process";
    size_t first = log.find(text);
    ASSERT_NE(std::string::npos, first) << log;
    EXPECT_EQ(std::string::npos, log.find(text, first + 1)) << "logged twice";

    EXPECT_TRUE(CloseAllProcesses(Processes));
    EXPECT_TRUE(Processes.empty());
    std::vector<RecordLine> closes = driver_.RecordsStartingWith("child WM_CLOSE");
    std::vector<RecordLine> starts = driver_.RecordsStartingWith("child start");
    ASSERT_EQ(2u, starts.size());
    ASSERT_EQ(2u, closes.size());
    EXPECT_EQ(starts[1].pid, closes[0].pid) << "the grandchild is stopped first";
    DeleteFileA(BesideTests("helper.exe").c_str());
}

TEST_F(ProcessRecords, AChildNamedSystemIsReportedAsAModalDialog)
{
    for (const char* name : {"SYSTEM32.exe", "system.exe"}) {
        DeleteFileA(OwnLogPath().c_str());
        CopyFileA(BesideTests("rvchild.exe").c_str(), BesideTests(name).c_str(), FALSE);
        SetRegistryText(HKEY_CURRENT_USER, RV_TEST_KEY, "ChildName", name);
        Start("rvt_child.scr", "C:\\x\\rvt_child.scr");
        ASSERT_TRUE(driver_.WaitForRecords("started child", 1, 10000));
        ASSERT_TRUE(driver_.WaitForRecords("child start", 1, 10000));
        DetectChildProcesses();
        EXPECT_NE(std::string::npos, Log().find("Screensaver C:\\x\\rvt_child.scr has opened modal "
                                                "dialog, possibly error warning!"))
            << name << ": " << Log();
        ClearProcesses(Processes);
        DeleteFileA(BesideTests(name).c_str());
        DeleteFileA(driver_.recordFile.c_str());
    }
}

// Process ids are reused: a screen saver may get the id that a long-ended
// process had, whose children (the desktop's shell, say) still name it.
TEST_F(ProcessRecords, AProcessMadeBeforeItsRecordedParentIsNoChildOfIt)
{
    // The older process's parent is this program; a record made later is
    // given this program's id.
    ChildProcess older;
    ASSERT_TRUE(older.Start("\"" + BesideTests("rvchild.exe") + "\""));
    ASSERT_TRUE(driver_.WaitForRecords("child start", 1, 10000));
    ProcessInfo* later = Start("rvt_good.scr", "later.scr");
    DWORD laterId = later->procInfo.dwProcessId;
    later->procInfo.dwProcessId = GetCurrentProcessId();
    DetectChildProcesses();
    later->procInfo.dwProcessId = laterId;
    EXPECT_EQ(Processes.size(), FindByProcessId(Processes, older.Id()))
        << "a process older than its supposed parent was taken for its child";
    EXPECT_EQ(std::string::npos, Log().find("started rvchild.exe")) << Log();
}

TEST_F(ProcessRecords, NothingIsScannedOnceTheSessionEnds)
{
    SetRegistryText(HKEY_CURRENT_USER, RV_TEST_KEY, "ChildName", "rvchild.exe");
    Start("rvt_child.scr", "rvt_child.scr");
    ASSERT_TRUE(driver_.WaitForRecords("child window", 1, 10000));
    SetEvent(StopEvent);
    NumWindows = 77;
    DetectChildProcesses();
    EXPECT_EQ(1u, Processes.size());
    EXPECT_EQ(77u, NumWindows) << "no window pass either";
    EXPECT_EQ("", Log());
}

TEST_F(ProcessRecords, TheLastVisibleTopLevelWindowIsAttachedNeverAnOwnedOne)
{
    SetRegistryNumber(HKEY_CURRENT_USER, RV_TEST_KEY, "Windows", 2);
    SetRegistryNumber(HKEY_CURRENT_USER, RV_TEST_KEY, "Owned", 1);
    ProcessInfo* child = Start("rvchild.exe", "rvchild.exe");
    ASSERT_TRUE(driver_.WaitForRecords("owned window", 1, 10000));
    std::vector<RecordLine> windows = driver_.RecordsStartingWith("child window");
    ASSERT_EQ(2u, windows.size());
    HWND second = (HWND)(INT_PTR)NumberAfter(windows[1].text, "child window ");
    HWND owned = (HWND)(INT_PTR)NumberAfter(driver_.RecordsStartingWith("owned window")[0].text,
                                            "owned window ");
    HWND first = (HWND)(INT_PTR)NumberAfter(windows[0].text, "child window ");
    // Enumeration runs from the top of the z-order: put the second window last
    // (below the first). Wine may take a moment to restack another process's
    // windows, and that process's own late activation may raise one again
    // between the restack and the look: both are made again until the look
    // comes after a restack that held.
    auto secondBelowFirst = [&] {
        for (HWND below = GetWindow(first, GW_HWNDNEXT); below;
             below = GetWindow(below, GW_HWNDNEXT))
            if (below == second)
                return true;
        return false;
    };
    ASSERT_TRUE(WaitUntil(3000, [&] {
        SetWindowPos(second, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (!secondBelowFirst())
            return false;
        AttachWindows(0);
        return secondBelowFirst();
    })) << "the second window was not put below the first";
    EXPECT_EQ(second, child->window);
    EXPECT_NE(owned, child->window);
}

TEST(Toolhelp, TheSnapshotListsThisProcessWithItsParent)
{
    std::vector<PROCESSENTRY32> list;
    ASSERT_TRUE(EnumProcesses(list));
    bool found = false;
    for (const PROCESSENTRY32& entry : list) {
        if (entry.th32ProcessID == GetCurrentProcessId()) {
            found = true;
            EXPECT_STREQ("runner_tests.exe", entry.szExeFile);
        }
    }
    EXPECT_TRUE(found);
}

}  // namespace
