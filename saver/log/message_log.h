// The message log: a small dated text file beside the program that keeps the
// few events a user may want to read later. Best effort: nothing here reports
// an error, and every operation gives up after 400 ms if another thread holds
// the log.
#pragma once
#include <windows.h>
#include <stdio.h>

#include "trace.h"

// Re-entrant lock of the log (an unnamed mutex); WinMain creates and closes it.
extern HANDLE LogLock;

const DWORD LogLockWait = 400;                         // milliseconds
const unsigned LogSizeLimit = 30000;                   // bytes; cut above this
const unsigned LogKeptSize = LogSizeLimit / 2;         // bytes at most kept by a cut
const unsigned LogDisplayLimit = LogSizeLimit + 1000;  // bytes the dialog shows

// Appends one dated line; when the file has grown over LogSizeLimit, cuts it
// to its newest whole lines within LogKeptSize, in one step whatever its size.
void LogMessage(const char* text);
// printf-style: formats the text (cut at TraceTextLimit) and logs it; the
// second also hands it to the trace sink.
void LogFormat(const char* format, ...) ROTAVEIL_PRINTF(1, 2);
void TraceAndLog(const char* format, ...) ROTAVEIL_PRINTF(1, 2);

// Copies the whole file into buffer and returns the byte count read. With no
// buffer, or one smaller than the file, returns the file's size and reads
// nothing. No terminator is added.
unsigned ReadLog(char* buffer, unsigned capacity);

// Copies the newest bytes of the file, at most capacity, into buffer and
// returns the byte count: all of it when it fits, otherwise from the first
// whole line of the newest capacity bytes.
unsigned ReadLogTail(char* buffer, unsigned capacity);

// Empties the log file (creates it empty when missing).
void ClearLog();

// The log's path: the program's path with the extension ".log". Returns its
// length; callers treat 260 or more as failure.
unsigned GetLogFileName(char* buffer, unsigned capacity);

// Size of an open file; its position is left as it was. Takes lock (if given)
// for at most 400 ms and returns 0 when it cannot.
unsigned GetLogFileSize(HANDLE lock, FILE* file);
