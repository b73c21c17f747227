#include "settings_store.h"

#include <windows.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

#include "catalogue.h"
#include "file_names.h"
#include "settings_state.h"
#include "value_names.h"
#include "saver/log/message_log.h"
#include "saver/log/trace.h"
#include "shared/names.h"
#include "shared/registry_key.h"
#include "shared/startup_entry.h"
#include "shared/system_timeout.h"
#include "shared/text_compare.h"

namespace {

void ReadPeriodAndIndex()
{
    RegistryKey key;
    if (!key.Create(HKEY_CURRENT_USER, RV_SETTINGS_KEY))
        return;
    DWORD value;
    if (key.ReadDword(RV_VALUE_PERIOD, &value))
        Period = HoldPeriod(value);
    if (key.ReadDword(RV_VALUE_FILE_INDEX, &value))
        FileIndex = value;
    Shuffle = key.ReadDword(RV_VALUE_SHUFFLE, &value) && value != 0;
    NextKey = key.ReadDword(RV_VALUE_NEXT_KEY, &value) && value != 0;
    EachMonitor = key.ReadDword(RV_VALUE_EACH_MONITOR, &value) && value != 0;
    DWORD seed, list;
    ShuffleRoundStored =
        key.ReadDword(RV_VALUE_SHUFFLE_SEED, &seed) && key.ReadDword(RV_VALUE_SHUFFLE_LIST, &list);
    if (ShuffleRoundStored) {
        ShuffleSeed = seed;
        ShuffleList = list;
    }
}

// An entry's own time as stored beside the play-list: 0 (the common period)
// when missing or unreadable.
uint32_t ReadOwnTime(const RegistryKey& times, const char* name)
{
    DWORD seconds = 0;
    if (!times.IsOpen() || !times.ReadDword(name, &seconds))
        return 0;
    return seconds < LongestOwnTime ? seconds : LongestOwnTime;
}

// Every stored path adds the positions of all catalogue entries equal to it,
// in catalogue order, each with the entry's own time. Looked up by key so
// that the cost grows with the sum of the two sizes, not their product.
// What one load learns of the places its entries name.
struct LoadLooks {
    std::vector<std::string> silentRoots;  // drives or servers that did not answer
    std::vector<std::string> missing;      // entries whose files are gone
    // Folders looked at, upper-cased, and whether they are there: thousands
    // of entries in a folder that is gone cost one look, not one each.
    std::unordered_map<std::string, bool> folders;
};

// Whether the folder of path is gone, looked at once per folder: only on a
// drive that answers at once (on another a look may wait, and is bounded
// per file).
bool FolderGone(const char* path, LoadLooks* looks)
{
    const char* slash = strrchr(path, '\\');
    if (!slash || slash - path < 3 || path[0] == '\\' ||
        LookMayWait(PathRoot(path).c_str()))
        return false;
    std::string folder(path, (size_t)(slash - path));
    auto known = looks->folders.emplace(UpperCaseText(folder.c_str()), true);
    if (known.second)
        known.first->second = GetFileAttributesA(folder.c_str()) != INVALID_FILE_ATTRIBUTES;
    return !known.first->second;
}

// A play-list entry from a folder of its own (added by the user) joins the
// catalogue while its file is there; one that is gone goes into the looks'
// missing (once). A drive or server that did not answer is not asked again
// during the load.
const std::vector<uint32_t>*
AddedElsewhere(const char* path, std::unordered_map<std::string, std::vector<uint32_t>>* positions,
               LoadLooks* looks)
{
    std::vector<uint32_t>& known = (*positions)[UpperCaseText(path)];
    std::string root = UpperCaseText(PathRoot(path).c_str());
    std::vector<std::string>& silentRoots = looks->silentRoots;
    bool silent = !root.empty() &&
                  std::find(silentRoots.begin(), silentRoots.end(), root) != silentRoots.end();
    uint32_t position;
    FileAnswer answer = FileAnswer::NoAnswer;
    if (!silent && FolderGone(path, looks)) {
        looks->missing.push_back(path);
    } else if (!silent && AppendToCatalogue(path, &position, &answer)) {
        // Not among the catalogue's keys: appended without a search.
        known.push_back(position);
    } else if (answer == FileAnswer::NoAnswer) {
        if (!silent && !root.empty())
            silentRoots.push_back(root);
        LogFormat("%s did not answer (a drive without its medium, or a network path out of "
                  "reach): it is left out of the play-list",
                  path);
    } else {
        looks->missing.push_back(path);
    }
    return &known;
}

// An entry in a scanned folder that the catalogue does not list under that
// name: a short name ("STARFI~1.SCR") of one it lists, or a file that is
// gone, which goes into the looks' missing.
const std::vector<uint32_t>*
InScannedFolder(const char* path,
                const std::unordered_map<std::string, std::vector<uint32_t>>& positions,
                LoadLooks* looks)
{
    if (strchr(path, '~')) {
        auto found = positions.find(UpperCaseText(LongFullPath(path).c_str()));
        if (found != positions.end())
            return &found->second;
    }
    looks->missing.push_back(path);
    return NULL;
}

const size_t MissingNamed = 3;  // of many missing entries, the first named in the log

// The play-list's entries whose files are gone, in one line however many:
// thousands of them must not cost the session's start a line each.
void LogMissing(const std::vector<std::string>& missing)
{
    if (missing.size() == 1) {
        LogFormat("%s was not found: it is left out of the play-list", missing[0].c_str());
        return;
    }
    if (missing.empty())
        return;
    std::string named;
    for (size_t i = 0; i < missing.size() && i < MissingNamed; ++i)
        named += (i == 0 ? "" : ", ") + missing[i];
    if (missing.size() > MissingNamed)
        named += ", ...";
    LogFormat("%u screen savers of the play-list were not found and are left out of it: %s",
              (unsigned)missing.size(), named.c_str());
}

void ReadPlayList()
{
    RegistryKey key;
    if (!key.Create(HKEY_CURRENT_USER, RV_PLAYLIST_KEY))
        return;
    RegistryKey times;
    times.Open(HKEY_CURRENT_USER, RV_TIMES_KEY, KEY_QUERY_VALUE);
    PlayList.clear();
    std::vector<std::string> stored;  // every path as stored, for the times' fingerprint
    std::unordered_map<std::string, std::vector<uint32_t>> positions;
    LoadLooks looks;
    // A play-list stored by the other build names the system folders its
    // own way (System32 for the 32-bit build is SysWOW64 for the 64-bit one).
    std::unordered_map<std::string, std::vector<uint32_t>> systemPositions;
    for (uint32_t i = 0; i < Catalogue.size(); ++i) {
        positions[UpperCaseText(Catalogue[i].c_str())].push_back(i);
        std::string system = SystemFolderKey(Catalogue[i].c_str());
        if (!system.empty())
            systemPositions[system].push_back(i);
    }

    for (DWORD index = 0;; ++index) {
        char name[256];
        char data[261];
        DWORD nameSize = sizeof name;
        DWORD dataSize = sizeof data - 1;
        DWORD type = 0;
        LONG result = RegEnumValueA(key.Handle(), index, name, &nameSize, NULL, &type, (BYTE*)data,
                                    &dataSize);
        // A name or path too long to be one of ours is passed over; the
        // entries after it still count.
        if (result == ERROR_MORE_DATA)
            continue;
        if (result != ERROR_SUCCESS)
            break;
        if (type != REG_SZ)
            continue;
        TerminateRegistryText(data, dataSize);
        stored.push_back(data);
        const std::vector<uint32_t>* matches = NULL;
        auto found = positions.find(UpperCaseText(data));
        if (found != positions.end()) {
            matches = &found->second;
        } else {
            std::string system = SystemFolderKey(data);
            auto inSystem = system.empty() ? systemPositions.end() : systemPositions.find(system);
            if (inSystem != systemPositions.end())
                matches = &inSystem->second;
            else if (!IsInScannedFolder(data))
                matches = AddedElsewhere(data, &positions, &looks);
            else
                matches = InScannedFolder(data, positions, &looks);
        }
        if (matches) {
            uint32_t ownSeconds = ReadOwnTime(times, name);
            for (uint32_t position : *matches)
                PlayList.push_back({position, ownSeconds});
        }
    }

    LogMissing(looks.missing);

    // Times stored with another list (one rewritten by an older version) are
    // not carried over to entries they were never meant for.
    std::vector<const char*> paths;
    for (const std::string& path : stored)
        paths.push_back(path.c_str());
    DWORD list = 0;
    if (!times.IsOpen() || !times.ReadDword(RV_VALUE_TIMES_LIST, &list) ||
        list != PlayListFingerprint(paths)) {
        for (PlayListEntry& entry : PlayList)
            entry.ownSeconds = 0;
    }
}

void ReadTimeoutMinutes()
{
    UINT seconds = 0;
    if (ReadSystemTimeout(&seconds))
        TimeoutMinutes = seconds / 60;
    LoadedTimeoutMinutes = TimeoutMinutes;
}

bool RunEntryNamesCompanion(HKEY root)
{
    char path[MAX_PATH];
    return ReadStartupEntryPath(root, path) && NamesExistingFile(path);
}

void ReadShowTrayIcon()
{
    ShowTrayIcon = RunEntryNamesCompanion(HKEY_LOCAL_MACHINE);
    if (!ShowTrayIcon && IsNtFamily())
        ShowTrayIcon = RunEntryNamesCompanion(HKEY_CURRENT_USER);
}

// The key is deleted and made anew; should it survive the delete (a sub-key
// of someone else's keeps it alive), its old values go too, so that no entry
// of an earlier play-list is read back.
void DeleteAllValues(HKEY key)
{
    for (;;) {
        char name[256];
        DWORD nameSize = sizeof name;
        if (RegEnumValueA(key, 0, name, &nameSize, NULL, NULL, NULL, NULL) != ERROR_SUCCESS)
            return;
        if (RegDeleteValueA(key, name) != ERROR_SUCCESS)
            return;
    }
}

void WritePlayList()
{
    RegDeleteKeyA(HKEY_CURRENT_USER, RV_PLAYLIST_KEY);
    RegistryKey key;
    if (!key.Create(HKEY_CURRENT_USER, RV_PLAYLIST_KEY))
        return;
    DeleteAllValues(key.Handle());
    for (uint32_t i = 0; i < PlayList.size(); ++i) {
        if (PlayList[i].position >= Catalogue.size())
            continue;
        char name[32];
        FormatPlayListValueName(name, sizeof name, i);
        key.WriteText(name, Catalogue[PlayList[i].position].c_str());
    }
}

// Only entries with a time of their own have a value; without any there is
// no key.
void WriteTimes()
{
    RegDeleteKeyA(HKEY_CURRENT_USER, RV_TIMES_KEY);
    RegistryKey key;
    if (key.Open(HKEY_CURRENT_USER, RV_TIMES_KEY, KEY_ALL_ACCESS))
        DeleteAllValues(key.Handle());
    bool any = false;
    for (const PlayListEntry& entry : PlayList)
        any = any || (entry.ownSeconds != 0 && entry.position < Catalogue.size());
    if (!any || (!key.IsOpen() && !key.Create(HKEY_CURRENT_USER, RV_TIMES_KEY)))
        return;
    std::vector<const char*> paths;
    for (uint32_t i = 0; i < PlayList.size(); ++i) {
        if (PlayList[i].position >= Catalogue.size())
            continue;
        paths.push_back(Catalogue[PlayList[i].position].c_str());
        if (PlayList[i].ownSeconds == 0)
            continue;
        char name[32];
        FormatPlayListValueName(name, sizeof name, i);
        key.WriteDword(name, PlayList[i].ownSeconds);
    }
    key.WriteDword(RV_VALUE_TIMES_LIST, PlayListFingerprint(paths));
}

void WriteTimeout()
{
    // Held here, so that what the box shows is what was stored.
    if (TimeoutMinutes > TimeoutMinutesLimit)
        TimeoutMinutes = TimeoutMinutesLimit;
    WriteSystemTimeout(TimeoutMinutes * 60, SPIF_SENDWININICHANGE);
}

}  // namespace

bool NamesExistingFile(const char* path)
{
    WIN32_FIND_DATAA found;
    HANDLE search = path && path[0] ? FindFirstFileA(path, &found) : INVALID_HANDLE_VALUE;
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    return (found.dwFileAttributes & NotVisibleFile) == 0;
}

void LoadStoredSettings(bool withDescriptions)
{
    try {
        BuildCatalogue();
        ReadPeriodAndIndex();
        ReadPlayList();
        if (PlayList.empty()) {
            for (uint32_t i = 0; i < Catalogue.size(); ++i)
                PlayList.push_back({i, 0});
        }
        if (withDescriptions)
            LoadDescriptions();
        ReadTimeoutMinutes();
        ReadShowTrayIcon();
    } catch (...) {
        Trace("LoadSettings");
    }
}

bool StoreSettings(char* companionPath, unsigned capacity)
{
    try {
        companionPath[0] = '\0';
        RegistryKey key;
        if (key.Open(HKEY_CURRENT_USER, RV_SETTINGS_KEY, KEY_ALL_ACCESS)) {
            key.WriteDword(RV_VALUE_PERIOD, Period);
            key.WriteDword(RV_VALUE_SHUFFLE, Shuffle ? 1 : 0);
            key.WriteDword(RV_VALUE_NEXT_KEY, NextKey ? 1 : 0);
            key.WriteDword(RV_VALUE_EACH_MONITOR, EachMonitor ? 1 : 0);
            key.ReadText(RV_VALUE_COMPANION, companionPath, capacity);
            key.Close();
        }
        WritePlayList();
        WriteTimes();
        if (TimeoutMinutes != LoadedTimeoutMinutes)
            WriteTimeout();
        return true;
    } catch (...) {
        Trace("SaveSettings");
        return false;
    }
}

void SaveLastState()
{
    try {
        RegistryKey key;
        if (!key.Open(HKEY_CURRENT_USER, RV_SETTINGS_KEY, KEY_WRITE))
            return;
        key.WriteDword(RV_VALUE_FILE_INDEX, FileIndex);
        if (Shuffle && ShuffleRoundStored) {
            key.WriteDword(RV_VALUE_SHUFFLE_SEED, ShuffleSeed);
            key.WriteDword(RV_VALUE_SHUFFLE_LIST, ShuffleList);
        }
    } catch (...) {
        Trace("SaveLastState");
    }
}
