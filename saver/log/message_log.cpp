#include "message_log.h"

#include "log_text.h"
#include "shared/owned.h"

#include <stdarg.h>
#include <stdint.h>

#include <new>
#include <vector>
#include <string.h>

HANDLE LogLock = NULL;

namespace {

bool TakeLock(HANDLE lock)
{
    DWORD result = WaitForSingleObject(lock, LogLockWait);
    return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

// Holds LogLock for one scope, so every way out of an operation releases it.
class LogLockHolder {
public:
    LogLockHolder() : held_(TakeLock(LogLock)) {}
    ~LogLockHolder()
    {
        if (held_)
            ReleaseMutex(LogLock);
    }
    bool Held() const { return held_; }
    LogLockHolder(const LogLockHolder&) = delete;
    LogLockHolder& operator=(const LogLockHolder&) = delete;

private:
    bool held_;
};

bool LogPath(char (&path)[MAX_PATH]);

// What every log operation needs first: the lock, held for its scope, and the
// log's path (where new lines go). Ready() is false when either could not be
// had.
class LogAccess {
public:
    LogAccess() : ready_(lock_.Held() && LogPath(path_)) {}
    bool Ready() const { return ready_; }
    const char* Path() const { return path_; }

private:
    LogLockHolder lock_;
    char path_[MAX_PATH];
    bool ready_;
};

// Where lines may lie: beside the program, and the user's own log where the
// system has a folder for it. Either may be empty.
struct LogPlaces {
    char beside[MAX_PATH];
    char user[MAX_PATH];
    LogPlaces()
    {
        if (GetLogFileName(beside, sizeof beside) >= sizeof beside)
            beside[0] = '\0';
        if (GetUserLogFileName(user, sizeof user) >= sizeof user || lstrcmpiA(user, beside) == 0)
            user[0] = '\0';
    }
};

// A file that can be appended to (made, empty, when missing).
bool CanAppend(const char* path)
{
    FILE* file = fopen(path, "ab");
    if (!file)
        return false;
    fclose(file);
    return true;
}

// Beside the program; where that folder cannot be written (a limited user,
// or anyone under UAC for a program in the Windows folder), the user's own.
bool LogPath(char (&path)[MAX_PATH])
{
    if (GetLogFileName(path, sizeof path) >= sizeof path)
        return false;
    if (CanAppend(path))
        return true;
    char user[MAX_PATH];
    if (GetUserLogFileName(user, sizeof user) >= sizeof user)
        return true;  // no such folder here: the lines are lost as before
    memcpy(path, user, sizeof user);
    return true;
}

typedef HRESULT(WINAPI* GetFolderPathFunction)(HWND, int, HANDLE, DWORD, LPSTR);

// The user's local application-data folder, made when missing; empty where
// the system has no such folder (the first Windows 95 and NT 4.0 have neither
// SHGetFolderPathA in shell32.dll nor shfolder.dll).
void LocalApplicationData(char (&folder)[MAX_PATH])
{
    folder[0] = '\0';
    for (const char* library : {"shell32.dll", "shfolder.dll"}) {
        OwnedLibrary module(LoadLibraryA(library));
        if (!module)
            continue;
        GetFolderPathFunction get =
            (GetFolderPathFunction)(void*)GetProcAddress(module.Get(), "SHGetFolderPathA");
        const int LocalAppData = 0x001c, FlagCreate = 0x8000;
        bool found = get && SUCCEEDED(get(NULL, LocalAppData | FlagCreate, NULL, 0, folder));
        module.Reset();
        if (found)
            return;
        folder[0] = '\0';
    }
}

// A file opened for reading alongside its writers; invalid when missing.
HANDLE OpenForReading(const char* path)
{
    return CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, NULL);
}

// The whole 64-bit size: a log of 2 GiB or more is cut and shown as any.
uint64_t SizeOf(HANDLE file)
{
    DWORD high = 0;
    DWORD low = GetFileSize(file, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
        return 0;
    return ((uint64_t)high << 32) | low;
}

// Reads the newest bytes of an open file of the given size: at most
// capacity, and one more before them when there is one, so that a first line
// that starts exactly there is seen as whole. The bytes are taken as they
// are (a stray Ctrl+Z byte loses nothing), their CR LF pairs folded when
// asked. Returns the offset of the first whole line in buffer, the length
// read in *length.
size_t ReadNewestLines(HANDLE file, uint64_t size, char* buffer, unsigned capacity, bool fold,
                       size_t* length)
{
    unsigned wanted = size > capacity ? capacity + 1 : (unsigned)size;
    uint64_t from = size - wanted;
    LONG high = (LONG)(from >> 32);
    *length = 0;
    DWORD read = 0;
    if ((SetFilePointer(file, (LONG)(DWORD)from, &high, FILE_BEGIN) == INVALID_SET_FILE_POINTER &&
         GetLastError() != NO_ERROR) ||
        !ReadFile(file, buffer, wanted, &read, NULL))
        return 0;
    *length = read;
    if (fold)
        *length = StripCarriageReturns(buffer, *length);
    return size > capacity ? FindLogCutStart(buffer, *length) : 0;
}

// Keeps the newest whole lines within LogKeptSize: one read of the tail, so
// a log of any size is cut in one step.
void CutLog(const char* path, uint64_t size)
{
    char* content = new (std::nothrow) char[LogKeptSize + 1];
    if (!content)
        return;
    size_t length = 0, keepFrom = 0;
    {
        OwnedHandle reader(OpenForReading(path));
        if (reader)
            keepFrom = ReadNewestLines(reader.Get(), size, content, LogKeptSize, true, &length);
    }
    // Without a whole line in that size (one huge newest line) nothing is cut.
    if (keepFrom < length) {
        OwnedFile writer(fopen(path, "wt"));
        if (writer.Get())
            fwrite(content + keepFrom, 1, length - keepFrom, writer.Get());
    }
    delete[] content;
}

}  // namespace

unsigned GetLogFileName(char* buffer, unsigned capacity)
{
    // Room beyond MAX_PATH so that a longer program path is seen as too long
    // rather than silently cut into some other file's name.
    char program[MAX_PATH * 2];
    DWORD length = GetModuleFileNameA(NULL, program, sizeof program);
    if (length == 0 || length >= sizeof program)
        return 0xFFFFFFFFu;
    return (unsigned)MakeLogPath(program, buffer, capacity);
}

unsigned GetUserLogFileName(char* buffer, unsigned capacity)
{
    char folder[MAX_PATH];
    LocalApplicationData(folder);
    size_t length = MakeUserLogPath(folder, buffer, capacity);
    if (length >= capacity)
        return 0xFFFFFFFFu;
    // Its own folder under the user's, made on first use.
    char own[MAX_PATH];
    if (MakeUserLogPath(folder, own, sizeof own) < sizeof own) {
        *strrchr(own, '\\') = '\0';
        CreateDirectoryA(own, NULL);
    }
    return (unsigned)length;
}

uint64_t GetLogFileSize(const char* path)
{
    OwnedHandle file(OpenForReading(path));
    return file ? SizeOf(file.Get()) : 0;
}

void LogMessage(const char* text)
{
    LogAccess log;
    if (!log.Ready())
        return;
    {
        OwnedFile file(fopen(log.Path(), "a+t"));
        if (!file.Get())
            return;
        SYSTEMTIME now;
        GetLocalTime(&now);
        LogClock clock = {now.wDay, now.wMonth, now.wYear, now.wHour, now.wMinute};
        char prefix[64];
        FormatLogPrefix(prefix, sizeof prefix, clock);
        fputs(prefix, file.Get());
        fputs(text ? text : "", file.Get());
        fputs("\n", file.Get());
    }
    uint64_t size = GetLogFileSize(log.Path());
    if (size > LogSizeLimit)
        CutLog(log.Path(), size);
}

unsigned ReadLog(char* buffer, unsigned capacity)
{
    LogAccess log;
    if (!log.Ready())
        return 0;
    OwnedHandle file(OpenForReading(log.Path()));
    if (!file)
        return 0;
    uint64_t size = SizeOf(file.Get());
    if (!buffer || size > capacity)
        return size > 0xFFFFFFFFu ? 0xFFFFFFFFu : (unsigned)size;
    DWORD read = 0;
    return ReadFile(file.Get(), buffer, (DWORD)size, &read, NULL) ? (unsigned)read : 0;
}

namespace {

// The newest whole lines of one file, at most capacity - 1 bytes of it, raw.
unsigned ReadTailOf(const char* path, char* buffer, unsigned capacity)
{
    OwnedHandle file(path[0] ? OpenForReading(path) : INVALID_HANDLE_VALUE);
    if (!file || capacity < 2)
        return 0;
    // One byte more than capacity - 1 is read, to find the first whole line.
    size_t length = 0;
    size_t start =
        ReadNewestLines(file.Get(), SizeOf(file.Get()), buffer, capacity - 1, false, &length);
    memmove(buffer, buffer + start, length - start);
    return (unsigned)(length - start);
}

}  // namespace

unsigned ReadLogTail(char* buffer, unsigned capacity)
{
    LogAccess log;
    if (!log.Ready() || !buffer || capacity == 0)
        return 0;
    LogPlaces places;
    unsigned besideLength = ReadTailOf(places.beside, buffer, capacity);
    std::vector<char> user(capacity);
    unsigned userLength = ReadTailOf(places.user, user.data(), capacity);
    if (userLength == 0)
        return besideLength;
    // The user's lines are the newer ones; of the program folder's, what room
    // is left, from a whole line.
    unsigned room = capacity - userLength;
    unsigned keepFrom = 0;
    if (besideLength > room) {
        keepFrom = besideLength - room;
        while (keepFrom < besideLength && buffer[keepFrom - 1] != '\n')
            ++keepFrom;
    }
    memmove(buffer, buffer + keepFrom, besideLength - keepFrom);
    unsigned length = besideLength - keepFrom;
    memcpy(buffer + length, user.data(), userLength);
    return length + userLength;
}

bool ClearLog()
{
    LogAccess log;
    if (!log.Ready())
        return false;
    LogPlaces places;
    bool cleared = true;
    for (const char* place : {places.beside, places.user}) {
        if (!place[0] || GetFileAttributesA(place) == INVALID_FILE_ATTRIBUTES)
            continue;
        OwnedFile emptied(fopen(place, "w"));
        // One that cannot be written (the program's folder, for a limited
        // user) keeps its lines: the list shows them again.
        if (!emptied.Get())
            cleared = false;
    }
    return cleared;
}

namespace {

void LogFormatted(bool alsoTrace, const char* format, va_list arguments)
{
    char text[TraceTextLimit];
    vsnprintf(text, sizeof text, format, arguments);
    if (alsoTrace)
        Trace(text);
    LogMessage(text);
}

}  // namespace

void LogFormat(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    LogFormatted(false, format, arguments);
    va_end(arguments);
}

void TraceAndLog(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    LogFormatted(true, format, arguments);
    va_end(arguments);
}
