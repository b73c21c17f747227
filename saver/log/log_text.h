// The parts of the message log that need no file and no Windows: the dated
// line prefix, the log's path and where a too large log is cut.
#pragma once
#include <stddef.h>

struct LogClock {
    unsigned day;     // 1-31
    unsigned month;   // 1-12
    unsigned year;    // full year, e.g. 2001
    unsigned hour;    // 0-23
    unsigned minute;  // 0-59
};

// Years since 1900, less 100 once that count reaches 100: 1999 -> 99, 2001 -> 1.
unsigned LogYearField(unsigned year);

// Writes "dd/mm/yy hh:mm " (with its trailing blank) into buffer. Returns the
// number of characters written, or 0 when the buffer is too small.
size_t FormatLogPrefix(char* buffer, size_t capacity, const LogClock& clock);

const char LogFileName[] = "_Rotaveil.log";

// The log's path from the program's path: "_Rotaveil.log" in its folder,
// whatever name (long or short) the program was started by. Returns the
// length of the result; it is copied with its terminator only when it fits
// into capacity.
size_t MakeLogPath(const char* programPath, char* buffer, size_t capacity);

// The log's path in the user's local application-data folder, for when the
// program's folder cannot be written: "Rotaveil\_Rotaveil.log" there. The
// same return as MakeLogPath; capacity (never a fit) when there is no such
// folder (an empty one).
size_t MakeUserLogPath(const char* userFolder, char* buffer, size_t capacity);

// Removes the CR of every CR LF pair in place, as a text-mode read does.
// Returns the new length.
size_t StripCarriageReturns(char* text, size_t length);

// Where the kept part of a log's newest bytes starts: just after their first
// line feed, so that it begins with a whole line (the byte read before the
// kept size is the line feed of the line before). Returns length when there
// is no whole line.
size_t FindLogCutStart(const char* text, size_t length);
