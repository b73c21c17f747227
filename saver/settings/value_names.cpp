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

intptr_t ReadDecimal(const char* text)
{
    if (!text)
        return 0;
    while (*text == ' ' || (*text >= '\t' && *text <= '\r'))
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-')
        negative = *text++ == '-';
    // Accumulate as a negative number, so that the most negative value fits.
    const intptr_t lowest = INTPTR_MIN;
    intptr_t value = 0;
    bool overflow = false;
    for (; *text >= '0' && *text <= '9'; ++text) {
        int digit = *text - '0';
        if (value < (lowest + digit) / 10) {
            overflow = true;
            continue;
        }
        value = value * 10 - digit;
    }
    if (overflow)
        return negative ? INTPTR_MIN : INTPTR_MAX;
    if (negative)
        return value;
    return value == INTPTR_MIN ? INTPTR_MAX : -value;
}

uint32_t HoldPeriod(uint32_t stored)
{
    if (stored < ShortestPeriod)
        return ShortestPeriod;
    return stored > LongestPeriod ? LongestPeriod : stored;
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
