// The message log on real files: the log of this test program lies beside it.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "saver/log/message_log.h"
#include "shared/help_file.h"
#include "tests/support/test_support.h"

namespace {

const size_t PrefixLength = 15;  // "dd/mm/yy hh:mm "

class MessageLog : public ::testing::Test {
protected:
    void SetUp() override
    {
        LogLock = CreateMutexA(NULL, FALSE, NULL);
        path_ = OwnLogPath();
        DeleteFileA(path_.c_str());
    }
    void TearDown() override
    {
        DeleteFileA(path_.c_str());
        CloseHandle(LogLock);
        LogLock = NULL;
    }
    std::string Content() const { return ReadWholeFile(path_); }

    // A log of exactly size bytes made of whole lines "nnnnn filler...\r\n".
    void WriteLogOfSize(size_t size)
    {
        std::string content;
        int number = 0;
        while (content.size() + 60 <= size) {
            char line[64];
            snprintf(line, sizeof line, "%05d %s\r\n", number++,
                     "older entry, older entry, older entry, ok");
            content += line;
        }
        content += std::string(size - content.size() - 2, 'z') + "\r\n";
        ASSERT_EQ(size, content.size());
        WriteWholeFile(path_, content);
    }

    std::string path_;
};

TEST_F(MessageLog, FirstEntryCreatesTheFileWithDatedCrLfLines)
{
    EXPECT_EQ(0u, ReadLog(NULL, 0));
    SYSTEMTIME before;
    GetLocalTime(&before);
    LogMessage("Play list is empty. Terminating...");
    LogMessage("100% sure %s %d");
    std::string content = Content();
    ASSERT_FALSE(content.empty());

    size_t firstEnd = content.find("\r\n");
    ASSERT_NE(std::string::npos, firstEnd);
    std::string first = content.substr(0, firstEnd);
    EXPECT_EQ("Play list is empty. Terminating...", first.substr(PrefixLength));
    char day[3], month[3];
    snprintf(day, sizeof day, "%02u", (unsigned)before.wDay);
    snprintf(month, sizeof month, "%02u", (unsigned)before.wMonth);
    EXPECT_EQ(std::string(day) + "/" + month + "/", first.substr(0, 6));
    EXPECT_EQ(' ', first[8]);
    EXPECT_EQ(':', first[11]);
    EXPECT_EQ(' ', first[14]);

    // "%" is text, not a format.
    std::string second = content.substr(firstEnd + 2);
    EXPECT_EQ("100% sure %s %d\r\n", second.substr(PrefixLength));
    // Every line feed on disk follows a carriage return.
    for (size_t i = 0; i < content.size(); ++i) {
        if (content[i] == '\n') {
            EXPECT_EQ('\r', content[i - 1]);
        }
    }
}

TEST_F(MessageLog, ReadLogTellsTheSizeOrCopiesTheBytesUnchanged)
{
    LogMessage("one");
    LogMessage("two");
    std::string content = Content();
    unsigned size = (unsigned)content.size();
    EXPECT_EQ(size, ReadLog(NULL, 0));

    char small[8];
    memset(small, '#', sizeof small);
    EXPECT_EQ(size, ReadLog(small, sizeof small));
    EXPECT_EQ(std::string(sizeof small, '#'), std::string(small, sizeof small))
        << "a too small buffer must stay untouched";

    std::string buffer(size + 10, '#');
    EXPECT_EQ(size, ReadLog(&buffer[0], size));
    EXPECT_EQ(content, buffer.substr(0, size));
    EXPECT_EQ('#', buffer[size]) << "no terminator is added";
}

TEST_F(MessageLog, ClearLogEmptiesTheFileAndTheNextEntryStartsAfresh)
{
    LogMessage("before");
    ClearLog();
    EXPECT_EQ(0u, ReadLog(NULL, 0));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path_.c_str())) << "emptied, not deleted";
    LogMessage("after");
    EXPECT_EQ("after\r\n", Content().substr(PrefixLength));
}

TEST_F(MessageLog, AnAppendEndingAtExactlyTheLimitIsNotCut)
{
    const std::string text = "exactly at the limit";
    WriteLogOfSize(LogSizeLimit - (PrefixLength + text.size() + 2));
    LogMessage(text.c_str());
    EXPECT_EQ(LogSizeLimit, Content().size());
}

TEST_F(MessageLog, AnAppendOneByteOverTheLimitCutsToTheNewerWholeLines)
{
    const std::string text = "one byte over the limit";
    WriteLogOfSize(LogSizeLimit + 1 - (PrefixLength + text.size() + 2));
    std::string before = Content();
    LogMessage(text.c_str());
    std::string after = Content();

    EXPECT_LT(after.size(), LogSizeLimit / 2 + 200);
    EXPECT_GT(after.size(), LogSizeLimit / 2 - 200);
    // Ends with the newest entry, starts with a whole line of the old content.
    EXPECT_EQ(text + "\r\n", after.substr(after.size() - text.size() - 2));
    size_t firstEnd = after.find("\r\n");
    std::string firstLine = after.substr(0, firstEnd + 2);
    size_t at = before.find(firstLine);
    ASSERT_NE(std::string::npos, at);
    EXPECT_TRUE(at == 0 || before[at - 1] == '\n') << "first line: " << firstLine;
    EXPECT_GT(at, before.size() / 2 - 100);
}

TEST_F(MessageLog, ANewestLineLongerThanHalfTheLogIsNotCut)
{
    WriteWholeFile(path_, "old\r\n");
    std::string longText(LogSizeLimit, 'L');
    LogMessage(longText.c_str());
    std::string content = Content();
    EXPECT_EQ(5 + PrefixLength + longText.size() + 2, content.size());
    EXPECT_EQ("old\r\n", content.substr(0, 5));
}

// A log of any size (grown elsewhere, copied in) is cut in one step, and the
// dialog can show the newest whole lines of one too big to show.
TEST_F(MessageLog, AnyLogIsCutInOneStepAndItsNewestLinesCanBeShown)
{
    std::string line = "an old entry of a log that grew far too large\r\n";
    std::string big;
    while (big.size() < 4000000)
        big += line;
    WriteWholeFile(path_, big);
    std::vector<char> shown(LogDisplayLimit);
    unsigned read = ReadLogTail(shown.data(), LogDisplayLimit);
    EXPECT_GT(read, LogDisplayLimit - line.size() - 1);
    EXPECT_EQ(0u, (read % line.size())) << "not whole lines";
    EXPECT_EQ(line, std::string(shown.data(), line.size()));

    LogMessage("newest");
    std::string after = Content();
    EXPECT_LE(after.size(), LogKeptSize);
    EXPECT_GT(after.size(), LogKeptSize - line.size() - 40);
    EXPECT_EQ("newest\r\n", after.substr(after.size() - 8));
    EXPECT_EQ(line, after.substr(0, line.size()));
}

// A size past 32 bits (a sparse file, its lines at the end): read whole, the
// log is cut and its newest lines are shown.
TEST_F(MessageLog, ALogOfFourGigabytesOrMoreIsCutAndShown)
{
    const std::string line = "an entry at the end of a huge log\r\n";
    std::string tail;
    for (int i = 0; i < 100; ++i)
        tail += line;
    HANDLE file = CreateFileA(path_.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    LONG high = 1;  // 4 GiB
    SetFilePointer(file, 0, &high, FILE_BEGIN);
    DWORD written = 0;
    WriteFile(file, tail.data(), (DWORD)tail.size(), &written, NULL);
    CloseHandle(file);
    std::vector<char> shown(LogDisplayLimit);
    EXPECT_NE(std::string::npos,
              std::string(shown.data(), ReadLogTail(shown.data(), LogDisplayLimit)).find(line));
    LogMessage("newest");
    std::string after = Content();
    EXPECT_LE(after.size(), LogKeptSize) << "not cut";
    EXPECT_EQ("newest\r\n", after.substr(after.size() - 8));
}

TEST_F(MessageLog, StrayControlZDoesNotLoseTheRestWhenCut)
{
    std::string content;
    while (content.size() < LogSizeLimit - 100)
        content += "entry with a \x1a byte inside it, kept as it is\r\n";
    WriteWholeFile(path_, content);
    LogMessage("newest entry that pushes the log over its limit, newest entry, newest entry");
    std::string after = Content();
    EXPECT_NE(std::string::npos, after.find("newest entry that pushes"));
    EXPECT_NE(std::string::npos, after.find('\x1a'));
}

// Holds LogLock on another thread until told to let go.
struct LockHolder {
    HANDLE taken = CreateEventA(NULL, TRUE, FALSE, NULL);
    HANDLE release = CreateEventA(NULL, TRUE, FALSE, NULL);
    HANDLE thread = NULL;

    static DWORD WINAPI Hold(LPVOID self)
    {
        LockHolder* holder = (LockHolder*)self;
        WaitForSingleObject(LogLock, INFINITE);
        SetEvent(holder->taken);
        WaitForSingleObject(holder->release, INFINITE);
        ReleaseMutex(LogLock);
        return 0;
    }
    void Start()
    {
        thread = CreateThread(NULL, 0, Hold, this, 0, NULL);
        WaitForSingleObject(taken, 5000);
    }
    ~LockHolder()
    {
        SetEvent(release);
        WaitForSingleObject(thread, 5000);
        CloseHandle(thread);
        CloseHandle(taken);
        CloseHandle(release);
    }
};

TEST_F(MessageLog, GivesUpAfterAbout400msWhileAnotherThreadHoldsTheLock)
{
    LogMessage("first");
    std::string before = Content();
    LockHolder holder;
    holder.Start();

    DWORD start = GetTickCount();
    LogMessage("lost");
    DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, 350u);
    EXPECT_LT(elapsed, 4000u) << "waited for the lock as if it would come";
    EXPECT_EQ(before, Content());

    EXPECT_EQ(0u, ReadLog(NULL, 0));
    EXPECT_FALSE(ClearLog());
    EXPECT_EQ(before, Content());
}

TEST_F(MessageLog, TheLockIsReentrantOnItsOwnThread)
{
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(LogLock, 0));
    LogMessage("while holding the lock");
    EXPECT_NE(0u, ReadLog(NULL, 0));
    ReleaseMutex(LogLock);
    EXPECT_NE(std::string::npos, Content().find("while holding the lock"));
}

// Where the program's folder cannot be written, the lines go to the user's
// log; the dialog shows both places, and clearing empties both (or says it
// could not).
TEST_F(MessageLog, WhereTheProgramsFolderCannotBeWrittenTheUsersLogTakesTheLines)
{
    char user[MAX_PATH];
    ASSERT_LT(GetUserLogFileName(user, sizeof user), (unsigned)sizeof user);
    DeleteFileA(user);
    // A folder of the log's name: the program's folder takes no log file.
    ASSERT_TRUE(CreateDirectoryA(path_.c_str(), NULL));
    LogMessage("in the user's folder");
    RemoveDirectoryA(path_.c_str());
    EXPECT_NE(std::string::npos, ReadWholeFile(user).find("in the user's folder\r\n")) << user;
    WriteWholeFile(path_, "01/01/26 00:00 an older line beside the program\r\n");

    std::vector<char> shown(LogDisplayLimit);
    std::string text(shown.data(), ReadLogTail(shown.data(), LogDisplayLimit));
    size_t older = text.find("an older line"), newer = text.find("in the user's folder");
    EXPECT_NE(std::string::npos, older) << text;
    EXPECT_NE(std::string::npos, newer) << text;
    EXPECT_LT(older, newer);

    // A clear that cannot empty one of them (held open without sharing: as
    // root under Wine no attribute refuses a write) says so, and empties the
    // other.
    HANDLE held = CreateFileA(path_.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    EXPECT_FALSE(ClearLog());
    CloseHandle(held);
    EXPECT_EQ("", ReadWholeFile(user));
    EXPECT_NE("", Content());
    EXPECT_TRUE(ClearLog());
    EXPECT_EQ("", Content());
    EXPECT_EQ("", ReadWholeFile(user));
    DeleteFileA(user);
}

TEST(LogFileName, IsTheProgramsPathWithLogExtension)
{
    char buffer[MAX_PATH];
    unsigned length = GetLogFileName(buffer, sizeof buffer);
    EXPECT_EQ(OwnLogPath(), std::string(buffer));
    EXPECT_EQ(OwnLogPath().size(), length);
    char tiny[4] = "abc";
    EXPECT_EQ(length, GetLogFileName(tiny, sizeof tiny));
    EXPECT_STREQ("abc", tiny);
}

TEST(HelpFileName, LiesInTheWindowsDirectoryAndIsCutToTheBuffer)
{
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof windows);
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    std::string expected =
        std::string(windows) + "\\" + HelpFileFor(version.dwPlatformId, version.dwMajorVersion);
    char buffer[MAX_PATH];
    EXPECT_EQ(expected.size(), GetHelpFileName(buffer, sizeof buffer));
    EXPECT_EQ(expected, buffer);
    char small[6];
    EXPECT_EQ(5u, GetHelpFileName(small, sizeof small));
    EXPECT_EQ(expected.substr(0, 5), small);
    char one[1] = {'x'};
    EXPECT_EQ(0u, GetHelpFileName(one, sizeof one));
    EXPECT_EQ('\0', one[0]);
}

TEST(HelpFileName, WinHelpWhereTheSystemHasItHtmlHelpWhereNot)
{
    struct Case {
        unsigned long platform, major;
        const char* expected;
    } cases[] = {
        {VER_PLATFORM_WIN32_WINDOWS, 4, "rvtray.hlp"},  // 95, 98, Me
        {VER_PLATFORM_WIN32_NT, 4, "rvtray.hlp"},
        {VER_PLATFORM_WIN32_NT, 5, "rvtray.hlp"},  // 2000, XP, 2003
        {VER_PLATFORM_WIN32_NT, 6, "rvtray.chm"},  // Vista on: no WinHelp
        {VER_PLATFORM_WIN32_NT, 10, "rvtray.chm"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.expected, HelpFileFor(c.platform, c.major)) << c.platform << " " << c.major;
}

}  // namespace
