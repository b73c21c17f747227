#include "catalogue.h"

#include <windows.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "file_names.h"
#include "settings_state.h"
#include "saver/log/message_log.h"
#include "shared/names.h"
#include "shared/owned.h"
#include "shared/system_function.h"
#include "shared/text_compare.h"

// "*.scr" also matches long names such as "x.scrap" through their short
// names; only files really ending in ".scr" are screen savers.
bool HasScrExtension(const char* name)
{
    size_t length = strlen(name);
    return length > 4 && SameTextIgnoringCase(name + length - 4, ".scr");
}

namespace {

bool NameOrder(const std::string& a, const std::string& b)
{
    return UpperCaseText(a.c_str()) < UpperCaseText(b.c_str());
}

typedef UINT(WINAPI* GetSystemWow64DirectoryFunction)(LPSTR, UINT);

std::string FolderOf(UINT(WINAPI* get)(LPSTR, UINT))
{
    char directory[MAX_PATH];
    UINT length = get ? get(directory, sizeof directory) : 0;
    return length > 0 && length < sizeof directory ? std::string(directory) : std::string();
}

// The facts of this system; the 64-bit functions are looked up, as the
// oldest targets lack them.
CatalogueFacts ReadCatalogueFacts()
{
    CatalogueFacts facts;
    facts.system = FolderOf(GetSystemDirectoryA);
    facts.windows = FolderOf(GetWindowsDirectoryA);
    HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
    if (!kernel)
        return facts;
    if (sizeof(void*) == 8) {
        facts.wow64System = FolderOf((GetSystemWow64DirectoryFunction)(void*)GetProcAddress(
            kernel, "GetSystemWow64DirectoryA"));
    } else {
        facts.underWow64 = RunsUnderWow64();
        OSVERSIONINFOA version = {};
        version.dwOSVersionInfoSize = sizeof version;
        facts.hasSysnative =
            facts.underWow64 && GetVersionExA(&version) && version.dwMajorVersion >= 6;
    }
    return facts;
}

std::set<std::string> SeenSystemNames;  // upper-cased names from the system folders

}  // namespace

std::vector<std::string> SystemFolderNames;
std::vector<std::string> ScannedFolders;

std::vector<std::string> CatalogueFolders(const CatalogueFacts& facts)
{
    std::vector<std::string> folders;
    if (!facts.system.empty())
        folders.push_back(facts.system);
    if (!facts.wow64System.empty())
        folders.push_back(facts.wow64System);
    // Windows XP and Server 2003 x64 have no Sysnative: there the 32-bit build
    // lists its own system folder only.
    if (facts.hasSysnative && !facts.windows.empty())
        folders.push_back(facts.windows + "\\Sysnative");
    if (!facts.windows.empty())
        folders.push_back(facts.windows);
    return folders;
}

std::string SystemFolderKey(const char* path)
{
    const char* slash = path ? strrchr(path, '\\') : NULL;
    if (!slash)
        return std::string();
    std::string folder(path, (size_t)(slash - path));
    for (const std::string& name : SystemFolderNames) {
        if (SameTextIgnoringCase(folder.c_str(), name.c_str()))
            return "SYSTEM\\" + UpperCaseText(slash + 1);
    }
    return std::string();
}

// A screen saver's file name as listed; false for one that is not listed.
bool ListedName(DWORD attributes, const std::string& name)
{
    return !(attributes & NotVisibleFile) && HasScrExtension(name.c_str()) &&
           !SameTextIgnoringCase(name.c_str(), RV_SAVER_FILE);
}

// The names in wide characters (the NT family), each as the code page spells
// it, or by its short name where it cannot (the ANSI search would give a best
// fit, such as "Omega.scr" for "Ωmega.scr", which names no file or another
// one). False where the system has no wide search (the Windows 95 family,
// whose names are all in its code page).
bool ListWideNames(const char* pattern, const char* directory, std::vector<std::string>* names)
{
    typedef HANDLE(WINAPI * FindFirstW)(LPCWSTR, LPWIN32_FIND_DATAW);
    typedef BOOL(WINAPI * FindNextW)(HANDLE, LPWIN32_FIND_DATAW);
    FindFirstW first = SystemFunction<FindFirstW>("KERNEL32.DLL", "FindFirstFileW");
    FindNextW next = SystemFunction<FindNextW>("KERNEL32.DLL", "FindNextFileW");
    std::wstring widePattern = WideOf(pattern);
    if (!first || !next || widePattern.empty())
        return false;
    WIN32_FIND_DATAW found;
    HANDLE search = first(widePattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return GetLastError() != ERROR_CALL_NOT_IMPLEMENTED;
    do {
        std::string name = SpelledInCodePage(found.cFileName);
        if (name.empty()) {
            name = SpelledInCodePage(found.cAlternateFileName);
            if (name.empty()) {
                LogFormat("A screen saver in %s cannot be used: its name has characters outside "
                          "the system's code page, and its drive gives it no short name",
                          directory);
                continue;
            }
        }
        if (ListedName(found.dwFileAttributes, name))
            names->push_back(name);
    } while (next(search, &found));
    FindClose(search);
    return true;
}

void ScanDirectory(const char* directory)
{
    char pattern[MAX_PATH];
    int written = snprintf(pattern, sizeof pattern, "%s\\*.scr", directory);
    if (written < 0 || (size_t)written >= sizeof pattern)
        return;
    std::vector<std::string> names;
    if (!ListWideNames(pattern, directory, &names)) {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(pattern, &found);
        if (search == INVALID_HANDLE_VALUE)
            return;
        do {
            if (ListedName(found.dwFileAttributes, found.cFileName))
                names.push_back(found.cFileName);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }

    std::stable_sort(names.begin(), names.end(), NameOrder);
    bool systemFolder = !SystemFolderKey((std::string(directory) + "\\x").c_str()).empty();
    for (size_t i = 0; i < names.size(); ++i) {
        // The same screen saver in both system folders: the program's own
        // build, met first, is the one listed.
        if (systemFolder && !SeenSystemNames.insert(UpperCaseText(names[i].c_str())).second)
            continue;
        char path[MAX_PATH];
        written = snprintf(path, sizeof path, "%s\\%s", directory, names[i].c_str());
        // A path that does not fit could never be started.
        if (written < 0 || (size_t)written >= sizeof path)
            continue;
        if (Catalogue.size() >= CatalogueLimit)
            return;
        Catalogue.push_back(path);
    }
}

void BuildCatalogue()
{
    CatalogueFacts facts = ReadCatalogueFacts();
    SystemFolderNames.clear();
    SeenSystemNames.clear();
    for (const std::string& name : {facts.system, facts.wow64System})
        if (!name.empty())
            SystemFolderNames.push_back(name);
    if (!facts.windows.empty()) {
        for (const char* alias : {"\\System32", "\\SysWOW64", "\\Sysnative"})
            SystemFolderNames.push_back(facts.windows + alias);
    }
    ScannedFolders = CatalogueFolders(facts);
    for (const std::string& folder : ScannedFolders)
        ScanDirectory(folder.c_str());
}

bool IsInScannedFolder(const char* path)
{
    const char* slash = path ? strrchr(path, '\\') : NULL;
    if (!slash)
        return false;
    std::string folder(path, (size_t)(slash - path));
    for (const std::string& scanned : ScannedFolders) {
        if (SameTextIgnoringCase(folder.c_str(), scanned.c_str()))
            return true;
    }
    return !SystemFolderKey(path).empty();
}

bool AppendToCatalogue(const char* path, uint32_t* position, FileAnswer* answer)
{
    if (answer)
        *answer = FileAnswer::Found;
    const char* slash = strrchr(path, '\\');
    if (!slash || strlen(path) >= MAX_PATH || !HasScrExtension(path) ||
        SameTextIgnoringCase(slash + 1, RV_SAVER_FILE) || Catalogue.size() >= CatalogueLimit)
        return false;
    DWORD attributes;
    FileAnswer look = LookAtFile(path, FileLookLimit, &attributes);
    if (answer)
        *answer = look;
    if (look != FileAnswer::Found || (attributes & NotVisibleFile))
        return false;
    *position = (uint32_t)Catalogue.size();
    Catalogue.push_back(path);
    return true;
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
    OwnedLibrary module(LoadLibraryExA(path, NULL, LOAD_LIBRARY_AS_DATAFILE));
    int count = module ? LoadStringA(module.Get(), 1, buffer, (int)capacity) : 0;
    if (count <= 2)
        BaseNameOf(path, buffer, capacity);
}

void LoadDescriptions()
{
    // Empty stands for "not read yet": a read one is never empty (the file
    // name stands in for a missing description).
    Descriptions.assign(Catalogue.size(), std::string());
}

const std::string& DescriptionOf(uint32_t position)
{
    static const std::string none;
    if (position >= Descriptions.size())
        return none;
    std::string& description = Descriptions[position];
    if (description.empty()) {
        char read[DescriptionLimit];
        LoadDescription(read, sizeof read, position);
        description = read;
    }
    return description;
}
