// The steps every turn of the runner is made of, whether it shows one screen
// saver over the whole screen or one on each monitor. Runner thread only.
#pragma once
#include <windows.h>
#include <stdint.h>

class ProcessInfo;

const DWORD WindowGrace = 1000;  // ms a started screen saver has to show its window
const DWORD WindowPoll = 10;
// A screen saver that could not start, or ended sooner than this without
// input, still keeps its turn (a black screen): retrying at once would spin.
const DWORD ShortestTurn = 1000;

// True when input came (a key or button, the next-screensaver key) or the
// session is ending: nothing more may be started, and nothing waited for.
bool InputCame();

// Starts the screen saver at path by the command line in the job and records
// it: as the screen saver of its name, or, with ownRecord, as a record of its
// own (a second copy of one already shown). built false stands for a command
// line that did not fit. Null, the failure logged, when it did not start;
// null with heldBack set when input came as it was made (it never ran).
ProcessInfo* StartRecorded(HANDLE job, const char* path, char* commandLine, bool built,
                           bool ownRecord, bool* heldBack = NULL);

// Waits for a new screen saver to be ready for input, at most InputIdleWait,
// but no longer than until one of the count handles of ends is signalled.
// The record keeps the signal of its readiness for a stop that looks for its
// window.
void WaitUntilReady(ProcessInfo* record, const HANDLE* ends, DWORD count);

// The period of a turn: waits for one of the count handles as
// WaitHandlingSentMessages does, at most length ms, and meanwhile brings a
// window that a screen saver makes late above the cover.
DWORD WaitRaisingLateWindows(DWORD count, const HANDLE* handles, DWORD length);

// A screen saver that ended at once by itself: logged once per session.
void ReportQuickEnd(const char* path, DWORD code);

// Waits out what is left of the turn of length milliseconds begun at
// turnStart; input and the end of the session end the wait as in any turn.
void WaitRestOfTurn(DWORD turnStart, DWORD length);

// The end of a turn: every process stopped, with what they started (and
// what the job still holds after that), the display mode put back, the
// session window in front, the running switch renewed, and one more pass of
// the input watch made for a key pressed meanwhile.
void StopTurn(HANDLE job);

// A screen saver that could not be stopped on two turns in a row goes from
// the play-list for the rest of the session, every entry of it (position is
// its place in the catalogue). True when it went.
bool ExcludeIfMisbehaving(const char* path, uint32_t position);
