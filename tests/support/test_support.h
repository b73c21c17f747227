// Helpers for tests that work through the real (Wine) system: programs run
// as processes, real windows and the real registry.
#pragma once
#include <windows.h>

#include <string>

// Full path of a file beside the running test program.
std::string BesideTests(const char* fileName);

// Whether this machine runs 32-bit programs beside 64-bit ones, found out by
// running one (the SysWOW64 command interpreter); false also where
// ROTAVEIL_NO_32_BIT is set. why says why not.
bool RunsThirtyTwoBitPrograms(std::string* why);

// Explorer's drop on a window of another process: the file list (names each
// ended by a NUL, the whole by one more; wide characters with wide) put in
// that process's memory, and WM_DROPFILES posted. False when it could not be.
bool DropFiles(HANDLE process, HWND window, const std::string& files, BOOL wide);

// The virtual screen (every monitor) as the system reports it now.
RECT VirtualScreenRect();

// The message log of the programs beside the tests, this one included:
// "_Rotaveil.log" in their folder.
std::string OwnLogPath();

// A started process; ends it on destruction if it still runs.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Start(const std::string& commandLine);
    // Waits while pumping this thread's messages (a child window of ours may
    // need them). True when the process ended within the time.
    bool WaitForExit(DWORD milliseconds);
    DWORD ExitCode() const;
    DWORD Id() const { return info_.dwProcessId; }
    HANDLE Handle() const { return info_.hProcess; }

private:
    PROCESS_INFORMATION info_ = {};
};

// GetTickCount's step, in ms: a process's creation time, read on that clock
// (as the fixtures record it), is no finer.
DWORD ClockStep();

// Runs this thread's messages for the given time.
void PumpMessagesFor(DWORD milliseconds);

// Polls (pumping messages) until the test returns true or the time is up.
template <typename Test>
bool WaitUntil(DWORD milliseconds, Test test)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (test())
            return true;
        if (GetTickCount() - start >= milliseconds)
            return false;
        PumpMessagesFor(20);
    }
}

// Registry helpers on HKEY_CURRENT_USER / HKEY_LOCAL_MACHINE.
void DeleteRegistryTree(HKEY root, const char* path);
bool RegistryKeyExists(HKEY root, const char* path);
void SetRegistryText(HKEY root, const char* path, const char* name, const char* text);
void SetRegistryNumber(HKEY root, const char* path, const char* name, DWORD value);
void SetRegistryRaw(HKEY root, const char* path, const char* name, DWORD type, const void* data,
                    DWORD size);
bool ReadRegistryValue(HKEY root, const char* path, const char* name, DWORD* type,
                       std::string* data);
void DeleteRegistryValue(HKEY root, const char* path, const char* name);

// A REG_DWORD value of 4 bytes; 0xFFFFFFFF when missing or of another kind.
DWORD ReadRegistryDword(HKEY root, const char* path, const char* name);
// The play-list's value name for a position: "File" and the number
// right-aligned in 10 characters with at least two digits.
std::string PlayListValueName(int position);

// The decimal number that follows the first prefix in text; 0 when there is
// none (a record line such as "window 1234" or a command line's "/p 1234").
long NumberAfter(const std::string& text, const char* prefix);

// Makes Wine show one program the given Windows version ("nt40", "win98",
// "winxp") until the guard goes, also when a test fails half-way.
class WineVersionFor {
public:
    WineVersionFor(const char* program, const char* version);
    ~WineVersionFor();
    WineVersionFor(const WineVersionFor&) = delete;
    WineVersionFor& operator=(const WineVersionFor&) = delete;

private:
    std::string key_;
};

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& content);
