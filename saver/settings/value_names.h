// Names and numbers as the registry holds them.
#pragma once
#include <stddef.h>
#include <stdint.h>

#include <vector>

// "File" and the position right-aligned in 10 characters, at least two digits:
// 0 -> "File        00", 100 -> "File       100". buffer needs 16 bytes.
void FormatPlayListValueName(char* buffer, size_t capacity, uint32_t position);

// An unsigned decimal number as a text box shows it: leading blanks skipped,
// reading stops at the first non-digit; no digits give 0. Held at limit.
uint32_t ReadUnsignedDecimal(const char* text, uint32_t limit);

// A decimal integer as atoi reads it: blanks skipped, one optional sign,
// digits up to the first other character; no digits give 0. Values beyond the
// range of a pointer-sized integer are held at its ends.
intptr_t ReadDecimal(const char* text);
// The same with 64 bits, held at their ends.
int64_t ReadDecimal64(const char* text);

// A number typed into one of the settings dialog's boxes, as atoi reads it,
// held within atLeast..atMost; false for an empty text, which leaves the
// setting as it is.
bool HoldTypedNumber(const char* text, uint32_t atLeast, uint32_t atMost, uint32_t* value);

// A stored period as a session uses it, in milliseconds: 0 would start and
// stop screen savers without pause, 0xFFFFFFFF would never rotate.
const uint32_t ShortestPeriod = 1000;
const uint32_t LongestPeriod = 24 * 60 * 60 * 1000;
uint32_t HoldPeriod(uint32_t stored);

// The longest own time of a play-list entry, in seconds, as the settings
// dialog takes it; longer stored times are held here.
const uint32_t LongestOwnTime = 32767;

// The milliseconds of a turn: the common period, or the entry's own seconds
// (0 for none) within the same bounds.
uint32_t TurnLength(uint32_t period, uint32_t ownSeconds);

// A fingerprint of the play-list's paths in order: a changed play-list starts
// a new round of random order and drops the entries' stored times. FNV-1a
// over the paths and their terminators.
uint32_t PlayListFingerprint(const std::vector<const char*>& paths);

// The common period in milliseconds after OK of the settings dialog, from its
// box's text: the stored period whole while the box still shows its seconds
// (4000 ms shows as 4, which the box's own bounds would raise), else the
// typed seconds held within atLeast..atMost; an empty box keeps it too.
uint32_t PeriodAtOk(uint32_t stored, const char* typed, uint32_t atLeast, uint32_t atMost);

// The timeout in minutes after OK of the settings dialog, from the box's text:
// what it showed when that number is still there (nothing to write back),
// else the typed number, at least 1 and at most limit; an empty box keeps
// what it showed.
uint32_t TimeoutMinutesAtOk(uint32_t shown, const char* typed, uint32_t limit);
