#include "catalogue.h"

#include <windows.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "settings_state.h"
#include "shared/names.h"
#include "shared/text_compare.h"

namespace {

// "*.scr" also matches long names such as "x.scrap" through their short
// names; only files really ending in ".scr" are screen savers.
bool HasScrExtension(const char* name)
{
    size_t length = strlen(name);
    return length > 4 && SameTextIgnoringCase(name + length - 4, ".scr");
}

bool NameOrder(const std::string& a, const std::string& b)
{
    return UpperCaseText(a.c_str()) < UpperCaseText(b.c_str());
}

}  // namespace

void ScanDirectory(const char* directory)
{
    char pattern[MAX_PATH];
    int written = snprintf(pattern, sizeof pattern, "%s\\*.scr", directory);
    if (written < 0 || (size_t)written >= sizeof pattern)
        return;
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (found.dwFileAttributes & NotVisibleFile)
            continue;
        if (!HasScrExtension(found.cFileName))
            continue;
        if (SameTextIgnoringCase(found.cFileName, RV_SAVER_FILE))
            continue;
        names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);

    std::stable_sort(names.begin(), names.end(), NameOrder);
    for (size_t i = 0; i < names.size(); ++i) {
        char path[MAX_PATH];
        written = snprintf(path, sizeof path, "%s\\%s", directory, names[i].c_str());
        // A path that does not fit could never be started.
        if (written < 0 || (size_t)written >= sizeof path)
            continue;
        Catalogue.push_back(path);
    }
}

void BuildCatalogue()
{
    char directory[MAX_PATH];
    UINT length = GetSystemDirectoryA(directory, sizeof directory);
    if (length > 0 && length < sizeof directory)
        ScanDirectory(directory);
    length = GetWindowsDirectoryA(directory, sizeof directory);
    if (length > 0 && length < sizeof directory)
        ScanDirectory(directory);
}

void BaseNameOf(const char* path, char* buffer, unsigned capacity)
{
    if (!buffer || capacity == 0)
        return;
    buffer[0] = '\0';
    if (!path)
        return;
    const char* name = path;
    for (const char* c = path; *c; ++c) {
        if (*c == '\\' || *c == '/' || *c == ':')
            name = c + 1;
    }
    const char* dot = strrchr(name, '.');
    size_t length = dot ? (size_t)(dot - name) : strlen(name);
    if (length >= capacity)
        length = capacity - 1;
    memcpy(buffer, name, length);
    buffer[length] = '\0';
}

void LoadDescription(char* buffer, unsigned capacity, uint32_t position)
{
    if (!buffer || capacity == 0)
        return;
    buffer[0] = '\0';
    if (position >= Catalogue.size())
        return;
    const char* path = Catalogue[position].c_str();
    // Loaded as data only: reading a name must not run code of a foreign file
    // or of the libraries it imports, and is much quicker.
    HMODULE module = LoadLibraryExA(path, NULL, LOAD_LIBRARY_AS_DATAFILE);
    int count = 0;
    if (module) {
        count = LoadStringA(module, 1, buffer, (int)capacity);
        FreeLibrary(module);
    }
    if (count <= 2)
        BaseNameOf(path, buffer, capacity);
}

void LoadDescriptions()
{
    Descriptions.reserve(Catalogue.size());
    for (uint32_t i = 0; i < Catalogue.size(); ++i) {
        char description[DescriptionLimit];
        LoadDescription(description, sizeof description, i);
        Descriptions.push_back(description);
    }
}
