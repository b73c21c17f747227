#include "value_names.h"

#include <stdio.h>

#include "shared/names.h"

void FormatPlayListValueName(char* buffer, size_t capacity, uint32_t position)
{
    if (!buffer || capacity == 0)
        return;
    snprintf(buffer, capacity, RV_PLAYLIST_NAME_FMT, (int)position);
}

uint32_t ReadUnsignedDecimal(const char* text, uint32_t limit)
{
    if (!text)
        return 0;
    while (*text == ' ' || *text == '\t')
        ++text;
    uint64_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + (uint64_t)(*text - '0');
        if (value > limit)
            value = limit;
    }
    return (uint32_t)value;
}

int64_t ReadDecimal64(const char* text)
{
    if (!text)
        return 0;
    while (*text == ' ' || (*text >= '\t' && *text <= '\r'))
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-')
        negative = *text++ == '-';
    // Accumulate as a negative number, so that the most negative value fits.
    int64_t value = 0;
    bool overflow = false;
    for (; *text >= '0' && *text <= '9'; ++text) {
        int digit = *text - '0';
        if (value < (INT64_MIN + digit) / 10) {
            overflow = true;
            continue;
        }
        value = value * 10 - digit;
    }
    if (overflow)
        return negative ? INT64_MIN : INT64_MAX;
    if (negative)
        return value;
    return value == INT64_MIN ? INT64_MAX : -value;
}

intptr_t ReadDecimal(const char* text)
{
    int64_t value = ReadDecimal64(text);
    if (value < INTPTR_MIN)
        return INTPTR_MIN;
    return value > INTPTR_MAX ? INTPTR_MAX : (intptr_t)value;
}

bool HoldTypedNumber(const char* text, uint32_t atLeast, uint32_t atMost, uint32_t* value)
{
    if (!text || !*text)
        return false;
    intptr_t typed = ReadDecimal(text);
    if (typed > (intptr_t)atMost)
        typed = (intptr_t)atMost;
    *value = typed > (intptr_t)atLeast ? (uint32_t)typed : atLeast;
    return true;
}

uint32_t HoldPeriod(uint32_t stored)
{
    if (stored < ShortestPeriod)
        return ShortestPeriod;
    return stored > LongestPeriod ? LongestPeriod : stored;
}

uint32_t TurnLength(uint32_t period, uint32_t ownSeconds)
{
    if (ownSeconds == 0)
        return period;
    const uint32_t longestSeconds = LongestPeriod / 1000;
    return HoldPeriod((ownSeconds < longestSeconds ? ownSeconds : longestSeconds) * 1000);
}

uint32_t PeriodAtOk(uint32_t stored, const char* typed, uint32_t atLeast, uint32_t atMost)
{
    uint32_t seconds;
    if (!typed || !*typed || ReadDecimal(typed) == (intptr_t)(stored / 1000) ||
        !HoldTypedNumber(typed, atLeast, atMost, &seconds))
        return stored;
    return seconds * 1000;
}

uint32_t TimeoutMinutesAtOk(uint32_t shown, const char* typed, uint32_t limit)
{
    if (!typed || !*typed)
        return shown;
    intptr_t number = ReadDecimal(typed);
    if (number == (intptr_t)shown)
        return shown;
    if (number < 1)
        return 1;
    return number > (intptr_t)limit ? limit : (uint32_t)number;
}

uint32_t PlayListFingerprint(const std::vector<const char*>& paths)
{
    uint32_t hash = 2166136261u;
    for (const char* path : paths) {
        for (const char* c = path ? path : "";; ++c) {
            hash ^= (unsigned char)*c;
            hash *= 16777619u;
            if (!*c)
                break;
        }
    }
    return hash;
}
