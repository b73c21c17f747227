// The message log: a small dated text file beside the program that keeps the
// few events a user may want to read later. Best effort: nothing here reports
// an error, and every operation gives up after 400 ms if another thread holds
// the log.
#pragma once
#include <windows.h>
#include <stdint.h>
#include <stdio.h>

#include "trace.h"

// Re-entrant lock of the log (an unnamed mutex); WinMain creates and closes it.
extern HANDLE LogLock;

const DWORD LogLockWait = 400;                         // milliseconds
const unsigned LogSizeLimit = 30000;                   // bytes; cut above this
const unsigned LogKeptSize = LogSizeLimit / 2;         // bytes at most kept by a cut
const unsigned LogDisplayLimit = LogSizeLimit + 1000;  // bytes the dialog shows

// Appends one dated line beside the program, or to the user's log when that
// folder cannot be written; when the file has grown over LogSizeLimit, cuts it
// to its newest whole lines within LogKeptSize, in one step whatever its size.
void LogMessage(const char* text);
// printf-style: formats the text (cut at TraceTextLimit) and logs it; the
// second also hands it to the trace sink.
void LogFormat(const char* format, ...) ROTAVEIL_PRINTF(1, 2);
void TraceAndLog(const char* format, ...) ROTAVEIL_PRINTF(1, 2);

// Copies the whole file into buffer and returns the byte count read. With no
// buffer, or one smaller than the file, returns the file's size (0xFFFFFFFF
// for 4 GiB or more) and reads nothing. No terminator is added.
unsigned ReadLog(char* buffer, unsigned capacity);

// Copies the newest lines of the log, at most capacity bytes, into buffer and
// returns the byte count, starting at a whole line: those beside the program,
// then those of the user's log (written where the program's folder could not
// be), newest last.
unsigned ReadLogTail(char* buffer, unsigned capacity);

// Empties the log beside the program and the user's log, where they are.
// False when one of them, or the lock, could not be had: its lines stay.
bool ClearLog();

// The log's path: "_Rotaveil.log" in the program's folder. Returns its
// length; callers treat 260 or more as failure.
unsigned GetLogFileName(char* buffer, unsigned capacity);

// The user's log, for when the program's folder cannot be written:
// "Rotaveil\_Rotaveil.log" in the local application-data folder (made when
// missing). Returns its length, 0xFFFFFFFF where the system has no such
// folder.
unsigned GetUserLogFileName(char* buffer, unsigned capacity);

// Size of a file, all 64 bits of it; 0 when it cannot be read.
uint64_t GetLogFileSize(const char* path);
