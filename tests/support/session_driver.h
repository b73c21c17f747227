// Runs real saver sessions for the tests: _Rotaveil.scr /s as a process, the
// fixtures' records, the message log, and input injected with SendInput.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "installed_savers.h"
#include "test_support.h"

struct RecordLine {
    DWORD pid;
    std::string text;
};

class SessionDriver {
public:
    SessionDriver();
    ~SessionDriver();

    // Settings of the next session.
    void SetPeriod(DWORD milliseconds);
    void SetFileIndex(DWORD index);
    void SetPlayList(const std::vector<std::string>& paths);
    // The play-list with each entry's own time in seconds (0: the common one).
    void SetPlayList(const std::vector<std::string>& paths, const std::vector<DWORD>& ownSeconds);

    bool Start(const std::string& arguments = "/s");
    // The usual opening: fixture screen savers of these file names (copies of
    // rvt_good.scr in the system folder; the name picks the behaviour) as the
    // play-list, turns of period milliseconds, the session started. Their
    // paths are left in playList.
    bool StartSession(const std::vector<const char*>& fileNames, DWORD period);
    // The same screen savers installed and stored as the play-list only.
    void SetPlayListOf(const std::vector<const char*>& fileNames);
    std::vector<std::string> playList;
    bool WaitForEnd(DWORD milliseconds);
    ChildProcess& Process() { return session_; }

    std::vector<RecordLine> Records() const;
    // Lines whose text starts with prefix, in order.
    std::vector<RecordLine> RecordsStartingWith(const char* prefix) const;
    // The file names of the screen savers started, in order ("good_a.scr").
    std::vector<std::string> StartedFileNames() const;
    // Waits until at least count lines start with prefix.
    bool WaitForRecords(const char* prefix, size_t count, DWORD milliseconds);
    // Waits until the turn-th screen saver (from 1) has shown its window and
    // has the keyboard: a key pressed then goes to it, as a user's would.
    bool WaitForTurn(size_t turn, DWORD milliseconds = 10000);
    std::string Log() const;
    DWORD StoredFileIndex() const;

    static void PressKey(WORD key = VK_SPACE);
    static void KeyDown(WORD key);
    static void KeyUp(WORD key);
    static void ClickMouse();
    static void MoveMouse(int dx, int dy);

    InstalledSavers savers;
    std::string recordFile;
    std::string logFile;

private:
    std::vector<DWORD> Leftovers() const;
    unsigned EndLeftovers() const;  // how many still ran

    ChildProcess session_;
    ULONGLONG made_ = 0;  // FILETIME of the driver's making
};

// Whether a process with this id still runs.
bool ProcessRuns(DWORD pid);
