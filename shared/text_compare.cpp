#include "text_compare.h"

#include <windows.h>

namespace {

struct UpperTable {
    char map[256];
    UpperTable()
    {
        for (int i = 0; i < 256; ++i) {
            char c = (char)i;
            char upper = c;
            if (LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, &c, 1, &upper, 1) != 1)
                upper = c;
            map[i] = upper;
        }
    }
};

// Built once, on first use; the locale does not change during a run.
const UpperTable& Table()
{
    static const UpperTable table;
    return table;
}

}  // namespace

char UpperCaseChar(char c)
{
    return Table().map[(unsigned char)c];
}

bool SameTextIgnoringCase(const char* a, const char* b)
{
    if (!a || !b)
        return a == b;
    const UpperTable& table = Table();
    for (;; ++a, ++b) {
        if (table.map[(unsigned char)*a] != table.map[(unsigned char)*b])
            return false;
        if (*a == '\0')
            return true;
    }
}

std::string UpperCaseText(const char* text)
{
    std::string upper = text ? text : "";
    const UpperTable& table = Table();
    for (size_t i = 0; i < upper.size(); ++i)
        upper[i] = table.map[(unsigned char)upper[i]];
    return upper;
}
