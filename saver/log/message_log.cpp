#include "message_log.h"

#include "log_text.h"

#include <stdarg.h>

#include <new>
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
// log's path. Ready() is false when either could not be had.
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

class FileCloser {
public:
    explicit FileCloser(FILE* file) : file_(file) {}
    ~FileCloser() { Close(); }
    void Close()
    {
        if (file_)
            fclose(file_);
        file_ = NULL;
    }
    FILE* Get() const { return file_; }
    FileCloser(const FileCloser&) = delete;
    FileCloser& operator=(const FileCloser&) = delete;

private:
    FILE* file_;
};

bool LogPath(char (&path)[MAX_PATH])
{
    return GetLogFileName(path, sizeof path) < sizeof path;
}

// Keeps the newer half of the log, starting with a whole line. The file is
// read in binary and its CR LF pairs folded here rather than by a text-mode
// read, which would stop at a stray Ctrl+Z byte and lose the rest of the log.
void CutLog(const char* path, unsigned size)
{
    char* content = new (std::nothrow) char[size ? size : 1];
    if (!content)
        return;
    size_t length = 0;
    {
        FileCloser reader(fopen(path, "rb"));
        if (reader.Get())
            length = fread(content, 1, size, reader.Get());
    }
    length = StripCarriageReturns(content, length);
    size_t keepFrom = FindLogCutStart(content, length);
    if (keepFrom < length) {
        FileCloser writer(fopen(path, "wt"));
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

unsigned GetLogFileSize(HANDLE lock, FILE* file)
{
    if (lock && !TakeLock(lock))
        return 0;
    unsigned size = 0;
    if (file) {
        long position = ftell(file);
        if (fseek(file, 0, SEEK_END) == 0) {
            long end = ftell(file);
            size = end > 0 ? (unsigned)end : 0;
        }
        if (position >= 0)
            fseek(file, position, SEEK_SET);
    }
    if (lock)
        ReleaseMutex(lock);
    return size;
}

void LogMessage(const char* text)
{
    LogAccess log;
    if (!log.Ready())
        return;
    unsigned size = 0;
    {
        FileCloser file(fopen(log.Path(), "a+t"));
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
        fflush(file.Get());
        size = GetLogFileSize(LogLock, file.Get());
    }
    if (size > LogSizeLimit)
        CutLog(log.Path(), size);
}

unsigned ReadLog(char* buffer, unsigned capacity)
{
    LogAccess log;
    if (!log.Ready())
        return 0;
    FileCloser file(fopen(log.Path(), "rb"));
    if (!file.Get())
        return 0;
    unsigned size = GetLogFileSize(LogLock, file.Get());
    if (!buffer || size > capacity)
        return size;
    fseek(file.Get(), 0, SEEK_SET);
    return (unsigned)fread(buffer, 1, size, file.Get());
}

void ClearLog()
{
    LogAccess log;
    if (log.Ready()) {
        FileCloser emptied(fopen(log.Path(), "w"));
    }
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
