// The real settings dialog of _Rotaveil.scr /c, driven from this test program
// as a person would: its buttons, lists and edits.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <utility>
#include <vector>

#include "resources/resource_ids.h"
#include "shared/names.h"
#include "tests/support/session_driver.h"

namespace {

const char Title[] = "Rotaveil settings";

class SettingsDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        a_ = driver_.savers.Install("rvt_good.scr", SaverDirectory::System, "a.scr");
        b_ = driver_.savers.Install("rvt_good.scr", SaverDirectory::System, "b.scr");
        c_ = driver_.savers.Install("rvt_good.scr", SaverDirectory::System, "c.scr");
        d_ = driver_.savers.Install("rvt_good.scr", SaverDirectory::System, "d.scr");
        SystemParametersInfoA(SPI_GETSCREENSAVETIMEOUT, 0, &timeout_, 0);
    }
    void TearDown() override
    {
        if (dialog_ && IsWindow(dialog_))
            PostMessageA(dialog_, WM_COMMAND, IDCANCEL, 0);
        SystemParametersInfoA(SPI_SETSCREENSAVETIMEOUT, timeout_, NULL, 0);
    }
    void Open()
    {
        ASSERT_TRUE(saver_.Start("\"" + BesideTests(RV_SAVER_FILE) + "\" /c"));
        // Shown only once its controls are filled.
        ASSERT_TRUE(WaitUntil(15000, [&] {
            dialog_ = FindWindowA(NULL, Title);
            return dialog_ && IsWindowVisible(dialog_);
        }));
        WaitForInputIdle(saver_.Handle(), 5000);
    }
    HWND Item(int id) const { return GetDlgItem(dialog_, id); }
    void Press(int id) { SendMessageA(Item(id), BM_CLICK, 0, 0); }
    void Type(int id, const char* text) { SendMessageA(Item(id), WM_SETTEXT, 0, (LPARAM)text); }
    void Ok()
    {
        Press(IDOK);
        ASSERT_TRUE(saver_.WaitForExit(15000));
        EXPECT_EQ(0u, saver_.ExitCode());
    }
    std::vector<uint32_t> ListData(int id) const
    {
        std::vector<uint32_t> data;
        int count = (int)SendMessageA(Item(id), LB_GETCOUNT, 0, 0);
        for (int i = 0; i < count; ++i)
            data.push_back((uint32_t)SendMessageA(Item(id), LB_GETITEMDATA, i, 0));
        return data;
    }
    std::vector<int> Selected(int id) const
    {
        std::vector<int> items;
        int count = (int)SendMessageA(Item(id), LB_GETCOUNT, 0, 0);
        for (int i = 0; i < count; ++i) {
            if (SendMessageA(Item(id), LB_GETSEL, i, 0) > 0)
                items.push_back(i);
        }
        return items;
    }
    void Select(int id, std::vector<int> items)
    {
        SendMessageA(Item(id), LB_SETSEL, FALSE, -1);
        for (int i : items)
            SendMessageA(Item(id), LB_SETSEL, TRUE, i);
    }
    std::string MessageListText() const
    {
        std::string text(32768, '\0');
        SendMessageA(Item(IDC_MSG_LIST), WM_GETTEXT, text.size(), (LPARAM)&text[0]);
        return text.substr(0, text.find('\0'));
    }
    void Caret(int item) { SendMessageA(Item(IDC_PLAYLIST), LB_SETCARETINDEX, item, FALSE); }
    DWORD StoredPeriod() const
    {
        return ReadRegistryDword(HKEY_CURRENT_USER, RV_SETTINGS_KEY, "Period");
    }
    std::vector<std::string> StoredPlayList() const
    {
        std::vector<std::string> paths;
        for (int i = 0;; ++i) {
            std::string data;
            if (!ReadRegistryValue(HKEY_CURRENT_USER, RV_PLAYLIST_KEY, PlayListValueName(i).c_str(),
                                   NULL, &data))
                break;
            paths.push_back(data.substr(0, data.find('\0')));
        }
        return paths;
    }

    SessionDriver driver_;
    ChildProcess saver_;
    HWND dialog_ = NULL;
    std::string a_, b_, c_, d_;
    UINT timeout_ = 0;
};

TEST_F(SettingsDialog, OkReadsThePeriodAndTimeoutWithTheirLimits)
{
    struct Case {
        const char* period;
        DWORD stored;
    };
    for (Case c : {Case{"5", 10000}, Case{"45", 45000}, Case{"letters", 10000}, Case{"", 30000},
                   Case{"99999999999", 32767000}}) {
        driver_.SetPeriod(30000);
        Open();
        Type(IDC_PERIOD, c.period);
        Type(IDC_TIMEOUT, "0");
        Ok();
        EXPECT_EQ(c.stored, StoredPeriod()) << "typed '" << c.period << "'";
        std::string timeout;
        ReadRegistryValue(HKEY_CURRENT_USER, RV_DESKTOP_KEY, "ScreenSaveTimeOut", NULL, &timeout);
        EXPECT_EQ(std::string("60", 3), timeout) << "timeout 0 is stored as one minute";
    }
}

TEST_F(SettingsDialog, CancelStoresNothing)
{
    driver_.SetPeriod(30000);
    driver_.SetPlayList({b_, a_});
    Open();
    Type(IDC_PERIOD, "99");
    Press(IDC_REMOVE_ALL);
    Press(IDC_SHUFFLE);
    Press(IDCANCEL);
    ASSERT_TRUE(saver_.WaitForExit(15000));
    EXPECT_EQ(30000u, StoredPeriod());
    EXPECT_EQ((std::vector<std::string>{b_, a_}), StoredPlayList());
    EXPECT_EQ(0xFFFFFFFFu, ReadRegistryDword(HKEY_CURRENT_USER, RV_SETTINGS_KEY, "Shuffle"));
}

TEST_F(SettingsDialog, RandomOrderAndTheNextKeyAreShownAndStoredByOk)
{
    const struct {
        int id;
        const char* value;
    } boxes[] = {{IDC_SHUFFLE, "Shuffle"},
                 {IDC_NEXT_KEY, "NextKey"},
                 {IDC_EACH_MONITOR, "EachMonitor"}};
    for (const auto& box : boxes) {
        SetRegistryNumber(HKEY_CURRENT_USER, RV_SETTINGS_KEY, box.value, 1);
        Open();
        EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog_, box.id)) << box.value;
        Press(box.id);
        Ok();
        EXPECT_EQ(0u, ReadRegistryDword(HKEY_CURRENT_USER, RV_SETTINGS_KEY, box.value));
        Open();
        EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(dialog_, box.id)) << box.value;
        Press(box.id);
        Ok();
        EXPECT_EQ(1u, ReadRegistryDword(HKEY_CURRENT_USER, RV_SETTINGS_KEY, box.value));
    }
}

TEST_F(SettingsDialog, AnEmptyPlayListIsStoredAsAnEmptyKey)
{
    Open();
    Press(IDC_REMOVE_ALL);
    EXPECT_TRUE(ListData(IDC_PLAYLIST).empty());
    Ok();
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, RV_PLAYLIST_KEY));
    EXPECT_TRUE(StoredPlayList().empty());
}

TEST_F(SettingsDialog, AddingAndRemovingSelectedEntries)
{
    driver_.SetPlayList({d_});
    Open();
    EXPECT_EQ((std::vector<uint32_t>{0, 1, 2, 3}), ListData(IDC_INSTALLED_LIST));
    EXPECT_EQ((std::vector<uint32_t>{3}), ListData(IDC_PLAYLIST));
    Select(IDC_INSTALLED_LIST, {3, 0, 2});
    Press(IDC_ADD_SELECTED);
    EXPECT_EQ((std::vector<uint32_t>{3, 0, 2, 3}), ListData(IDC_PLAYLIST))
        << "appended in installed-list order, repeats allowed";
    Press(IDC_ADD_ALL);
    EXPECT_EQ((std::vector<uint32_t>{0, 1, 2, 3}), ListData(IDC_PLAYLIST));
    Select(IDC_INSTALLED_LIST, {1});
    Press(IDC_ADD_SELECTED);
    Select(IDC_PLAYLIST, {1, 3, 4});
    Press(IDC_REMOVE_SELECTED);
    EXPECT_EQ((std::vector<uint32_t>{0, 2}), ListData(IDC_PLAYLIST));
    Ok();
    EXPECT_EQ((std::vector<std::string>{a_, c_}), StoredPlayList());
}

// A selection larger than the list box's usual table (1024) is taken whole.
TEST_F(SettingsDialog, EverySelectedEntryGoesHoweverMany)
{
    driver_.SetPlayList(std::vector<std::string>(1104, a_));
    Open();
    SendMessageA(Item(IDC_PLAYLIST), LB_SETSEL, TRUE, -1);
    SendMessageA(Item(IDC_PLAYLIST), LB_SETSEL, FALSE, 0);
    Press(IDC_REMOVE_SELECTED);
    EXPECT_EQ(1u, ListData(IDC_PLAYLIST).size());
}

// A screen saver from a folder of its own, chosen in the Open dialog or
// dropped from Explorer, joins both lists and is stored by its full path; the
// next start lists it again, and one gone since is logged and left out.
TEST_F(SettingsDialog, ScreenSaversFromAnyFolderByTheOpenDialogAndByADrop)
{
    std::string folder = BesideTests("elsewhere");
    CreateDirectoryA(folder.c_str(), NULL);
    std::string chosen = folder + "\\chosen.scr", dropped = folder + "\\dropped.scr";
    for (const std::string& path : {chosen, dropped})
        ASSERT_TRUE(CopyFileA(BesideTests("rvt_good.scr").c_str(), path.c_str(), FALSE));
    driver_.SetPlayList({a_});
    Open();
    PostMessageA(Item(IDC_ADD_FILES), BM_CLICK, 0, 0);
    HWND open = NULL;
    ASSERT_TRUE(WaitUntil(10000, [&] { return (open = FindWindowA(NULL, "Add screensavers")); }));
    WaitForInputIdle(saver_.Handle(), 5000);
    // The file name box: edt1 in the old dialog, the edit of cmb13 in Explorer's.
    if (!SetDlgItemTextA(open, 0x480, chosen.c_str()))
        SetDlgItemTextA(open, 0x47C, chosen.c_str());
    PostMessageA(open, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil(10000, [&] { return ListData(IDC_PLAYLIST).size() == 2; }));

    // Explorer's drop: the file list in the dialog's own memory, ANSI or wide.
    auto drop = [&](const std::string& files, BOOL wide) {
        ASSERT_TRUE(DropFiles(saver_.Handle(), dialog_, files, wide));
    };
    drop(dropped + std::string(2, '\0'), FALSE);
    ASSERT_TRUE(WaitUntil(10000, [&] { return ListData(IDC_PLAYLIST).size() == 3; }));
    EXPECT_EQ((std::vector<uint32_t>{0, 1, 2, 3, 4, 5}), ListData(IDC_INSTALLED_LIST));
    // The same file by its short name is the same screen saver.
    char shortName[MAX_PATH];
    ASSERT_GT(GetShortPathNameA(dropped.c_str(), shortName, sizeof shortName), 0u);
    drop(shortName + std::string(2, '\0'), FALSE);
    ASSERT_TRUE(WaitUntil(10000, [&] { return ListData(IDC_PLAYLIST).size() == 4; }));
    EXPECT_EQ(6u, ListData(IDC_INSTALLED_LIST).size()) << "listed twice";
    // A name the code page cannot spell is taken by its short name.
    std::wstring omega(folder.begin(), folder.end());
    omega += L"\\omega \u03a9.scr";
    ASSERT_TRUE(CopyFileW(std::wstring(dropped.begin(), dropped.end()).c_str(), omega.c_str(), FALSE));
    WCHAR omegaShort[MAX_PATH];
    ASSERT_GT(GetShortPathNameW(omega.c_str(), omegaShort, MAX_PATH), 0u);
    std::wstring omegaFiles = omega + std::wstring(2, L'\0');
    drop(std::string((const char*)omegaFiles.data(), omegaFiles.size() * sizeof(WCHAR)), TRUE);
    ASSERT_TRUE(WaitUntil(10000, [&] { return ListData(IDC_PLAYLIST).size() == 5; }))
        << MessageListText();
    Ok();
    std::string omegaStored(omegaShort, omegaShort + wcslen(omegaShort));
    EXPECT_EQ((std::vector<std::string>{a_, chosen, dropped, dropped, omegaStored}),
              StoredPlayList());

    DeleteFileA(dropped.c_str());
    Open();
    EXPECT_EQ((std::vector<uint32_t>{0, 4, 5}), ListData(IDC_PLAYLIST));
    EXPECT_NE(std::string::npos, MessageListText().find(dropped + " was not found"))
        << MessageListText();
    Press(IDCANCEL);
    ASSERT_TRUE(saver_.WaitForExit(15000));
    DeleteFileA(chosen.c_str());
    DeleteFileW(omega.c_str());
    RemoveDirectoryA(folder.c_str());
}

TEST_F(SettingsDialog, UpAndDownMoveTheCaretEntry)
{
    driver_.SetPlayList({a_, b_, c_, d_});
    Open();
    Caret(0);
    Press(IDC_MOVE_UP);
    EXPECT_EQ((std::vector<uint32_t>{0, 1, 2, 3}), ListData(IDC_PLAYLIST));
    Caret(3);
    Press(IDC_MOVE_DOWN);
    EXPECT_EQ((std::vector<uint32_t>{0, 1, 2, 3}), ListData(IDC_PLAYLIST));
    Select(IDC_PLAYLIST, {0, 3});
    Caret(2);
    Press(IDC_MOVE_UP);
    EXPECT_EQ((std::vector<uint32_t>{0, 2, 1, 3}), ListData(IDC_PLAYLIST));
    EXPECT_EQ((std::vector<int>{1}), Selected(IDC_PLAYLIST));
    EXPECT_EQ(1, (int)SendMessageA(Item(IDC_PLAYLIST), LB_GETCARETINDEX, 0, 0));
    Press(IDC_MOVE_DOWN);
    Press(IDC_MOVE_DOWN);
    EXPECT_EQ((std::vector<uint32_t>{0, 1, 3, 2}), ListData(IDC_PLAYLIST));
    Ok();
    EXPECT_EQ((std::vector<std::string>{a_, b_, d_, c_}), StoredPlayList());
}

TEST_F(SettingsDialog, SettingStartsTheCaretEntrysOwnSettings)
{
    driver_.SetPlayList({a_, b_, c_});
    Open();
    Select(IDC_INSTALLED_LIST, {0});
    Caret(1);
    Press(IDC_SETTING);
    ASSERT_TRUE(driver_.WaitForRecords("configure", 1, 10000));
    EXPECT_EQ("start good [\"" + b_ + "\"  /c]", driver_.RecordsStartingWith("start")[0].text);
}

TEST_F(SettingsDialog, PreviewsCascadeAndEachStopsWithItsWindow)
{
    driver_.SetPlayList({a_, b_});
    Open();
    Caret(1);
    Press(IDC_PREVIEW);
    Press(IDC_PREVIEW);
    ASSERT_TRUE(driver_.WaitForRecords("window", 2, 10000));
    std::vector<RecordLine> starts = driver_.RecordsStartingWith("start");
    ASSERT_EQ(2u, starts.size());
    std::vector<HWND> popups;
    for (const RecordLine& start : starts) {
        EXPECT_EQ(0u, start.text.find("start good [\"" + b_ + "\" /p ")) << start.text;
        popups.push_back((HWND)(INT_PTR)NumberAfter(start.text, "/p "));
    }
    char title[64];
    GetWindowTextA(popups[0], title, sizeof title);
    EXPECT_STREQ("Rotaveil Test Saver", title);
    // The two previews race to record their start: take the pop-ups in the
    // order they were placed.
    RECT first, second;
    GetWindowRect(popups[0], &first);
    GetWindowRect(popups[1], &second);
    if (second.left < first.left)
        std::swap(first, second);
    EXPECT_EQ(10, second.left - first.left);
    EXPECT_EQ(10, second.top - first.top);

    SendMessageA(popups[0], WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil(5000, [&] { return !ProcessRuns(starts[0].pid); }))
        << "closing a pop-up must stop its screen saver";
    EXPECT_TRUE(ProcessRuns(starts[1].pid));
    EXPECT_TRUE(IsWindow(dialog_));
    SendMessageA(popups[1], WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil(5000, [&] { return !ProcessRuns(starts[1].pid); }));
}

TEST_F(SettingsDialog, KeptPreviewsOutliveTheDialogUntilTheLastCloses)
{
    driver_.SetPlayList({a_});
    Open();
    Caret(0);
    Press(IDC_PREVIEW);
    Press(IDC_PREVIEW);
    ASSERT_TRUE(driver_.WaitForRecords("window", 2, 10000));
    PostMessageA(dialog_, WM_COMMAND, IDCANCEL, 0);
    HWND question = NULL;
    ASSERT_TRUE(
        WaitUntil(10000, [&] { return (question = FindWindowA("#32770", "Rotaveil")) != NULL; }));
    char text[64] = "";
    GetDlgItemTextA(question, 0xFFFF, text, sizeof text);
    PostMessageA(question, WM_COMMAND, IDNO, 0);
    std::vector<RecordLine> starts = driver_.RecordsStartingWith("start");
    ASSERT_EQ(2u, starts.size());
    EXPECT_FALSE(saver_.WaitForExit(1500)) << "the kept previews ended with the dialog";
    EXPECT_TRUE(WaitUntil(5000, [&] { return !IsWindow(dialog_); })) << "the dialog stayed";
    for (const RecordLine& start : starts)
        EXPECT_TRUE(ProcessRuns(start.pid));
    HWND popup = (HWND)(INT_PTR)NumberAfter(starts[0].text, "/p ");
    PostMessageA(popup, WM_CLOSE, 0, 0);
    EXPECT_FALSE(saver_.WaitForExit(1500)) << "one preview is still open";
    popup = (HWND)(INT_PTR)NumberAfter(starts[1].text, "/p ");
    PostMessageA(popup, WM_CLOSE, 0, 0);
    ASSERT_TRUE(saver_.WaitForExit(10000)) << "closing the last kept preview must end the process";
    for (const RecordLine& start : starts)
        EXPECT_FALSE(ProcessRuns(start.pid));
}

// An entry's own time: double-click or Enter on it opens "Time for <name>";
// the time goes with the entry as it moves, OK stores it, Cancel does not.
TEST_F(SettingsDialog, AnEntrysOwnTimeIsAskedForOnDoubleClickOrEnter)
{
    const char timeTitle[] = "Time for Rotaveil Test Saver";
    auto post = [&](UINT message, int item, WPARAM wParam = 0) {
        int height = (int)SendMessageA(Item(IDC_PLAYLIST), LB_GETITEMHEIGHT, 0, 0);
        PostMessageA(Item(IDC_PLAYLIST), message, wParam,
                     MAKELPARAM(10, height * item + height / 2));
    };
    auto click = [&](int item) {
        post(WM_LBUTTONDOWN, item, MK_LBUTTON);
        post(WM_LBUTTONUP, item);
    };
    // Sets the entry's time in the dialog that opened: seconds, or 0 for the
    // common time; the box shows what it had.
    auto answer = [&](const char* shown, DWORD seconds, int button) {
        HWND time = NULL;
        ASSERT_TRUE(WaitUntil(5000, [&] { return (time = FindWindowA(NULL, timeTitle)) != NULL; }));
        char text[32] = "";
        GetDlgItemTextA(time, IDC_OWN_TIME, text, sizeof text);
        EXPECT_STREQ(shown, text);
        bool common = IsDlgButtonChecked(time, IDC_USE_COMMON_TIME) == BST_CHECKED;
        if (common != (seconds == 0))
            SendDlgItemMessageA(time, IDC_USE_COMMON_TIME, BM_CLICK, 0, 0);
        EXPECT_EQ(seconds != 0, IsWindowEnabled(GetDlgItem(time, IDC_OWN_TIME)) != FALSE);
        if (seconds)
            SetDlgItemTextA(time, IDC_OWN_TIME, std::to_string(seconds).c_str());
        SendDlgItemMessageA(time, button, BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitUntil(5000, [&] { return !IsWindow(time); }));
    };
    driver_.SetPeriod(30000);
    driver_.SetPlayList({a_, b_, c_});
    Open();
    click(1);
    post(WM_LBUTTONDBLCLK, 1, MK_LBUTTON);
    post(WM_LBUTTONUP, 1);
    answer("30", 45, IDOK);
    EXPECT_EQ((std::vector<uint32_t>{0, (45u << 16) | 1, 2}), ListData(IDC_PLAYLIST));
    Caret(1);
    Press(IDC_MOVE_UP);
    click(2);
    post(WM_KEYDOWN, 2, VK_RETURN);
    answer("30", 5, IDOK);
    EXPECT_EQ((std::vector<uint32_t>{(45u << 16) | 1, 0, (10u << 16) | 2}), ListData(IDC_PLAYLIST))
        << "moved with its entry; 5 s held at 10";
    click(0);
    post(WM_KEYDOWN, 0, VK_RETURN);
    answer("45", 0, IDCANCEL);
    Ok();
    auto storedTime = [](int position) {
        return ReadRegistryDword(HKEY_CURRENT_USER, RV_TIMES_KEY,
                                 PlayListValueName(position).c_str());
    };
    EXPECT_EQ((std::vector<std::string>{b_, a_, c_}), StoredPlayList());
    EXPECT_EQ(45u, storedTime(0));
    EXPECT_EQ(0xFFFFFFFFu, storedTime(1));
    EXPECT_EQ(10u, storedTime(2));

    Open();
    EXPECT_EQ((std::vector<uint32_t>{(45u << 16) | 1, 0, (10u << 16) | 2}), ListData(IDC_PLAYLIST));
    click(0);
    post(WM_LBUTTONDBLCLK, 0, MK_LBUTTON);
    answer("45", 0, IDOK);
    EXPECT_EQ((std::vector<uint32_t>{1, 0, (10u << 16) | 2}), ListData(IDC_PLAYLIST));
    Press(IDC_ADD_ALL);
    EXPECT_EQ((std::vector<uint32_t>{0, 1, (10u << 16) | 2, 3}), ListData(IDC_PLAYLIST))
        << "an entry that stays keeps its time";
    Press(IDCANCEL);
    ASSERT_TRUE(saver_.WaitForExit(15000));
    EXPECT_EQ(45u, storedTime(0)) << "Cancel stored the common time";
}

// OK of a dialog whose timeout box nobody touched leaves the system's timeout
// as it was, also one that is no whole number of minutes.
TEST_F(SettingsDialog, AnUntouchedTimeoutSurvivesOk)
{
    SystemParametersInfoA(SPI_SETSCREENSAVETIMEOUT, 90, NULL, 0);
    Open();
    Select(IDC_INSTALLED_LIST, {0});
    Press(IDC_ADD_SELECTED);
    Ok();
    UINT seconds = 0;
    SystemParametersInfoA(SPI_GETSCREENSAVETIMEOUT, 0, &seconds, 0);
    EXPECT_EQ(90u, seconds);
}

// Until the companion has run once no path of it is stored: "Show task bar
// icon" then starts the one beside the screen saver.
TEST_F(SettingsDialog, WithNoStoredCompanionTheOneBesideTheScreenSaverIsStarted)
{
    DeleteRegistryValue(HKEY_CURRENT_USER, RV_SETTINGS_KEY, RV_VALUE_COMPANION);
    Open();
    if (IsDlgButtonChecked(dialog_, IDC_SHOW_TRAY_ICON) != BST_CHECKED)
        Press(IDC_SHOW_TRAY_ICON);
    Ok();
    HWND tray = NULL;
    EXPECT_TRUE(WaitUntil(
        10000, [&] { return (tray = FindWindowA(RV_TRAY_CLASS, RV_TRAY_TITLE)) != NULL; }));
    ChildProcess removal;
    ASSERT_TRUE(removal.Start("\"" + BesideTests("rvtray.exe") + "\" /u"));
    EXPECT_TRUE(removal.WaitForExit(10000));
    DeleteRegistryValue(HKEY_LOCAL_MACHINE, RV_RUN_KEY, RV_VALUE_COMPANION);
    DeleteRegistryValue(HKEY_CURRENT_USER, RV_RUN_KEY, RV_VALUE_COMPANION);
}

// Both lists keep their height whichever way "Show file names" is set (the
// horizontal scroll bar of long paths used to cost rows for good).
TEST_F(SettingsDialog, ShowFileNamesKeepsTheRowsOfBothLists)
{
    Open();
    auto rows = [&](int id) {
        RECT client;
        GetClientRect(Item(id), &client);
        return client.bottom / (int)SendMessageA(Item(id), LB_GETITEMHEIGHT, 0, 0);
    };
    auto height = [&](int id) {
        RECT window;
        GetWindowRect(Item(id), &window);
        return window.bottom - window.top;
    };
    int before[2] = {rows(IDC_INSTALLED_LIST), rows(IDC_PLAYLIST)};
    int heights[2] = {height(IDC_INSTALLED_LIST), height(IDC_PLAYLIST)};
    Press(IDC_SHOW_FILE_NAMES);
    EXPECT_EQ(heights[0], height(IDC_INSTALLED_LIST));
    EXPECT_EQ(heights[1], height(IDC_PLAYLIST));
    Press(IDC_SHOW_FILE_NAMES);
    WaitUntil(3000, [&] {
        return rows(IDC_INSTALLED_LIST) == before[0] && rows(IDC_PLAYLIST) == before[1];
    });
    EXPECT_EQ(before[0], rows(IDC_INSTALLED_LIST)) << "rows lost after unchecking";
    EXPECT_EQ(before[1], rows(IDC_PLAYLIST)) << "rows lost after unchecking";
    EXPECT_GE(before[0], 7);
}

TEST_F(SettingsDialog, MessageListShowsTheLogUpToItsLimitAndClearsIt)
{
    std::string log;
    while (log.size() < 200)
        log += "07/12/26 10:00 Screensaver x started y process\r\n";
    WriteWholeFile(driver_.logFile, log);
    Open();
    EXPECT_EQ(log, MessageListText());
    Press(IDC_CLEAR_MSG_LIST);
    EXPECT_EQ("", MessageListText());
    EXPECT_EQ("", ReadWholeFile(driver_.logFile));
    Press(IDCANCEL);
    ASSERT_TRUE(saver_.WaitForExit(15000));

    // A log too big to show whole shows its newest lines.
    std::string big;
    for (int i = 0; big.size() < 40000; ++i)
        big += "07/12/26 10:00 line " + std::to_string(i) + "\r\n";
    WriteWholeFile(driver_.logFile, big);
    Open();
    std::string shown = MessageListText();
    EXPECT_GT(shown.size(), 25000u);
    EXPECT_EQ(big.substr(big.size() - shown.size()), shown);
    EXPECT_EQ(0u, shown.find("07/12/26")) << "not from a whole line";
    Press(IDCANCEL);
    ASSERT_TRUE(saver_.WaitForExit(15000));
    DeleteFileA(driver_.logFile.c_str());
}

}  // namespace
