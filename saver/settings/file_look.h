// Looks at a stored screen saver's file without letting a drive that is not
// ready (a card reader, a CD, a floppy) or an unreachable network path hold
// the caller: a session must start, and lock, whatever its play-list names.
#pragma once
#include <windows.h>

#include <string>

enum class FileAnswer {
    Found,     // attributes read
    Missing,   // the system said it is not there (or the drive is not ready)
    NoAnswer,  // no answer within the time: the drive or the server is away
};

// What GetFileAttributesA says of path; for a path on a network or a
// removable drive, asked on a thread of its own and waited for at most
// limit ms (the thread is left to end by itself).
FileAnswer LookAtFile(const char* path, DWORD limit, DWORD* attributes);

// How long one look may hold a load or a turn's start.
const DWORD FileLookLimit = 500;

// The root of a path: "\\server\share\" of a network path, "X:\" of one
// with a drive letter; empty for any other. No Windows calls.
std::string PathRoot(const char* path);

// Whether a look at a path of this root ("X:\\" or "\\\\server\\share\\") may
// wait for a medium or a server: any but a fixed or RAM drive.
bool LookMayWait(const char* root);

// GetDriveTypeA of a root ("X:\"), asked once per drive letter for the
// program's life: a load or a drop of thousands of files would otherwise ask
// the system for each (under Wine almost a millisecond each). Any other root
// is asked each time.
UINT DriveTypeOfRoot(const std::string& root);
