#include "session_driver.h"

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>

#include "saver/processes/toolhelp.h"
#include "saver/settings/value_names.h"
#include "shared/names.h"
#include "shared/owned.h"
#include "tests/fixtures/fixture_record.h"

SessionDriver::SessionDriver()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    made_ = ((ULONGLONG)now.dwHighDateTime << 32) | now.dwLowDateTime;
    DeleteRegistryTree(HKEY_CURRENT_USER, RV_SETTINGS_KEY);
    DeleteRegistryTree(HKEY_CURRENT_USER, RV_TEST_KEY);
    recordFile = BesideTests("session.rec");
    logFile = BesideTests("_Rotaveil.log");
    DeleteFileA(recordFile.c_str());
    DeleteFileA(logFile.c_str());
    SetRegistryText(HKEY_CURRENT_USER, RV_TEST_KEY, "RecordFile", recordFile.c_str());
    InstallPasswordLibrary();
}

SessionDriver::~SessionDriver()
{
    // A session still running would hold the screen for the next test.
    if (session_.Handle() && !session_.WaitForExit(0)) {
        HWND window = FindWindowA(RV_SAVER_CLASS, RV_SAVER_TITLE);
        if (window)
            PostMessageA(window, WM_CLOSE, 0, 0);
        session_.WaitForExit(8000);
    }
    // Nothing a fixture started may outlive the test: a leftover process
    // would keep the test runner's output open and hold the desktop. That is
    // every recorded process and every process started since this driver was
    // made from the session or one of them (one just started has not written
    // its record yet); passes until one finds nothing left.
    for (int pass = 0; pass < 5 && EndLeftovers() > 0; ++pass) {
    }
    DeleteRegistryTree(HKEY_CURRENT_USER, RV_SETTINGS_KEY);
    DeleteRegistryTree(HKEY_CURRENT_USER, RV_TEST_KEY);
    DeleteFileA(recordFile.c_str());
}

namespace {

// Whether the process was made at or after the given time (a FILETIME):
// process ids are reused, and the desktop's own processes, made before the
// test, must never be ended. A process that has gone was not.
bool MadeSince(DWORD pid, ULONGLONG since)
{
    OwnedHandle process(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid));
    FILETIME created, exited, kernelTime, userTime;
    return process && GetProcessTimes(process.Get(), &created, &exited, &kernelTime, &userTime) &&
           (((ULONGLONG)created.dwHighDateTime << 32) | created.dwLowDateTime) >= since;
}

}  // namespace

// The session and the recorded processes (their ids are known to be ours),
// and every process made since the driver that descends from one of them.
std::vector<DWORD> SessionDriver::Leftovers() const
{
    std::vector<DWORD> family;
    auto take = [&](DWORD pid, bool ours) {
        // A stand-in loaded into this process (PASSWORD.CPL) records too.
        if (pid && pid != GetCurrentProcessId() &&
            std::find(family.begin(), family.end(), pid) == family.end() &&
            (ours || MadeSince(pid, made_)))
            family.push_back(pid);
    };
    take(session_.Id(), true);
    for (const RecordLine& line : Records())
        take(line.pid, true);
    std::vector<PROCESSENTRY32> entries;
    EnumProcesses(entries);
    for (size_t known = 0; known < family.size(); ++known) {
        for (const PROCESSENTRY32& entry : entries) {
            if (entry.th32ParentProcessID == family[known])
                take(entry.th32ProcessID, false);
        }
    }
    return family;
}

unsigned SessionDriver::EndLeftovers() const
{
    unsigned ended = 0;
    for (DWORD pid : Leftovers()) {
        if (!MadeSince(pid, made_))
            continue;  // gone, or an id another program has now
        OwnedHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
        if (process && WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT) {
            TerminateProcess(process.Get(), 99);
            WaitForSingleObject(process.Get(), 5000);
            ++ended;
        }
    }
    return ended;
}

void SessionDriver::SetPeriod(DWORD milliseconds)
{
    SetRegistryNumber(HKEY_CURRENT_USER, RV_SETTINGS_KEY, "Period", milliseconds);
}

void SessionDriver::SetFileIndex(DWORD index)
{
    SetRegistryNumber(HKEY_CURRENT_USER, RV_SETTINGS_KEY, "FileIndex", index);
}

void SessionDriver::SetPlayList(const std::vector<std::string>& paths)
{
    DeleteRegistryTree(HKEY_CURRENT_USER, RV_PLAYLIST_KEY);
    HKEY key;
    RegCreateKeyA(HKEY_CURRENT_USER, RV_PLAYLIST_KEY, &key);
    RegCloseKey(key);
    for (size_t i = 0; i < paths.size(); ++i)
        SetRegistryText(HKEY_CURRENT_USER, RV_PLAYLIST_KEY, PlayListValueName((int)i).c_str(),
                        paths[i].c_str());
}

void SessionDriver::SetPlayList(const std::vector<std::string>& paths,
                                const std::vector<DWORD>& ownSeconds)
{
    SetPlayList(paths);
    DeleteRegistryTree(HKEY_CURRENT_USER, RV_TIMES_KEY);
    std::vector<const char*> stored;
    for (size_t i = 0; i < paths.size(); ++i) {
        stored.push_back(paths[i].c_str());
        if (i < ownSeconds.size() && ownSeconds[i] != 0)
            SetRegistryNumber(HKEY_CURRENT_USER, RV_TIMES_KEY, PlayListValueName((int)i).c_str(),
                              ownSeconds[i]);
    }
    SetRegistryNumber(HKEY_CURRENT_USER, RV_TIMES_KEY, RV_VALUE_TIMES_LIST,
                      PlayListFingerprint(stored));
}

bool SessionDriver::Start(const std::string& arguments)
{
    std::string commandLine = "\"" + BesideTests(RV_SAVER_FILE) + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    return session_.Start(commandLine);
}

bool SessionDriver::WaitForEnd(DWORD milliseconds)
{
    return session_.WaitForExit(milliseconds);
}

std::vector<RecordLine> SessionDriver::Records() const
{
    std::vector<RecordLine> lines;
    std::string content = ReadWholeFile(recordFile);
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string::npos)
            break;
        std::string line = content.substr(start, end - start);
        size_t blank = line.find(' ');
        if (blank != std::string::npos)
            lines.push_back({(DWORD)strtoul(line.c_str(), NULL, 10), line.substr(blank + 1)});
        start = end + 1;
    }
    return lines;
}

std::vector<RecordLine> SessionDriver::RecordsStartingWith(const char* prefix) const
{
    std::vector<RecordLine> matching;
    for (const RecordLine& line : Records()) {
        if (line.text.compare(0, strlen(prefix), prefix) == 0)
            matching.push_back(line);
    }
    return matching;
}

bool SessionDriver::WaitForRecords(const char* prefix, size_t count, DWORD milliseconds)
{
    return WaitUntil(milliseconds, [&] { return RecordsStartingWith(prefix).size() >= count; });
}

void SessionDriver::SetPlayListOf(const std::vector<const char*>& fileNames)
{
    playList.clear();
    for (const char* name : fileNames)
        playList.push_back(savers.Install("rvt_good.scr", SaverDirectory::System, name));
    SetPlayList(playList);
}

bool SessionDriver::StartSession(const std::vector<const char*>& fileNames, DWORD period)
{
    SetPlayListOf(fileNames);
    SetPeriod(period);
    return Start();
}

bool SessionDriver::WaitForTurn(size_t turn, DWORD milliseconds)
{
    DWORD start = GetTickCount();
    if (!WaitForRecords("window", turn, milliseconds))
        return false;
    DWORD saver = RecordsStartingWith("window")[turn - 1].pid;
    DWORD elapsed = GetTickCount() - start;
    return WaitUntil(elapsed < milliseconds ? milliseconds - elapsed : 0, [&] {
        DWORD owner = 0;
        GetWindowThreadProcessId(GetForegroundWindow(), &owner);
        return owner == saver;
    });
}

std::string SessionDriver::Log() const
{
    return ReadWholeFile(logFile);
}

DWORD SessionDriver::StoredFileIndex() const
{
    return ReadRegistryDword(HKEY_CURRENT_USER, RV_SETTINGS_KEY, "FileIndex");
}

void SessionDriver::KeyDown(WORD key)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    SendInput(1, &input, sizeof input);
}

void SessionDriver::KeyUp(WORD key)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof input);
}

void SessionDriver::PressKey(WORD key)
{
    KeyDown(key);
    Sleep(60);
    KeyUp(key);
}

void SessionDriver::ClickMouse()
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    SendInput(1, &input, sizeof input);
    Sleep(60);
    input.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof input);
}

void SessionDriver::MoveMouse(int dx, int dy)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof input);
}

bool ProcessRuns(DWORD pid)
{
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!process)
        return false;
    bool runs = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return runs;
}

std::vector<std::string> SessionDriver::StartedFileNames() const
{
    std::vector<std::string> names;
    for (const RecordLine& line : RecordsStartingWith("start")) {
        size_t slash = line.text.rfind('\\');
        size_t quote = line.text.find('"', slash);
        names.push_back(line.text.substr(slash + 1, quote - slash - 1));
    }
    return names;
}
