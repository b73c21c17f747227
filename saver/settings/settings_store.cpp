#include "settings_store.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <stdio.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "catalogue.h"
#include "registry_text.h"
#include "settings_state.h"
#include "text_compare.h"
#include "value_names.h"
#include "../host/saver_state.h"
#include "../log/trace.h"
#include "../../shared/names.h"

namespace {

// Typed values above this are held here, so that minutes * 60 always fits.
const uint32_t TimeoutMinutesLimit = 32767;
const UINT HostBoxWait = 2000;  // ms; the display settings may be busy

void ReadPeriodAndIndex()
{
    HKEY key;
    if (RegCreateKeyA(HKEY_CURRENT_USER, RV_SETTINGS_KEY, &key) != ERROR_SUCCESS)
        return;
    DWORD value;
    if (ReadRegistryNumber(key, RV_VALUE_PERIOD, &value))
        Period = value;
    if (ReadRegistryNumber(key, RV_VALUE_FILE_INDEX, &value))
        FileIndex = value;
    Shuffle = ReadRegistryNumber(key, RV_VALUE_SHUFFLE, &value) && value != 0;
    DWORD seed, list;
    ShuffleRoundStored = ReadRegistryNumber(key, RV_VALUE_SHUFFLE_SEED, &seed) &&
                         ReadRegistryNumber(key, RV_VALUE_SHUFFLE_LIST, &list);
    if (ShuffleRoundStored) {
        ShuffleSeed = seed;
        ShuffleList = list;
    }
    RegCloseKey(key);
}

// Every stored path adds the positions of all catalogue entries equal to it,
// in catalogue order. Looked up by key so that the cost grows with the sum of
// the two sizes, not their product.
void ReadPlayList()
{
    HKEY key;
    if (RegCreateKeyA(HKEY_CURRENT_USER, RV_PLAYLIST_KEY, &key) != ERROR_SUCCESS)
        return;
    PlayList.clear();
    std::unordered_map<std::string, std::vector<uint32_t>> positions;
    for (uint32_t i = 0; i < Catalogue.size(); ++i)
        positions[UpperCaseText(Catalogue[i].c_str())].push_back(i);

    for (DWORD index = 0;; ++index) {
        char name[256];
        char data[261];
        DWORD nameSize = sizeof name;
        DWORD dataSize = sizeof data - 1;
        DWORD type = 0;
        LONG result =
            RegEnumValueA(key, index, name, &nameSize, NULL, &type, (BYTE*)data, &dataSize);
        // A name or path too long to be one of ours is passed over; the
        // entries after it still count.
        if (result == ERROR_MORE_DATA)
            continue;
        if (result != ERROR_SUCCESS)
            break;
        if (type != REG_SZ || Catalogue.empty())
            continue;
        TerminateRegistryText(data, dataSize);
        auto found = positions.find(UpperCaseText(data));
        if (found != positions.end())
            PlayList.insert(PlayList.end(), found->second.begin(), found->second.end());
    }
    RegCloseKey(key);
}

void ReadSystemTimeout()
{
    UINT seconds = 0;
    if (SystemParametersInfoA(SPI_GETSCREENSAVETIMEOUT, 0, &seconds, 0))
        TimeoutMinutes = seconds / 60;
}

bool SendWithWait(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result)
{
    return SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, HostBoxWait,
                               result) != 0;
}

// The display settings' own timeout box: an edit whose up-down control has
// it as buddy. Null when the host has no such pair.
HWND FindHostTimeoutBox(HWND host)
{
    if (!host || !IsWindow(host))
        return NULL;
    HWND edit = FindWindowExA(host, NULL, "Edit", NULL);
    HWND updown = FindWindowExA(host, NULL, UPDOWN_CLASSA, NULL);
    if (!edit || !updown)
        return NULL;
    DWORD_PTR buddy = 0;
    if (!SendWithWait(updown, UDM_GETBUDDY, 0, 0, &buddy) || (HWND)buddy != edit)
        return NULL;
    return edit;
}

void ReadHostTimeout()
{
    HWND box = FindHostTimeoutBox(ParentWindow);
    if (!box)
        return;
    char text[256] = "";
    DWORD_PTR copied = 0;
    if (!SendWithWait(box, WM_GETTEXT, 255, (LPARAM)text, &copied))
        return;
    text[sizeof text - 1] = '\0';
    if (text[0] == '\0')
        return;
    uint32_t minutes = ReadUnsignedDecimal(text, TimeoutMinutesLimit);
    if (minutes >= 1)
        TimeoutMinutes = minutes;
}

// A start-up entry counts only when it names a visible, existing file.
bool NamesExistingFile(const char* path)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path, &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    return (found.dwFileAttributes & NotVisibleFile) == 0;
}

bool RunEntryNamesCompanion(HKEY root)
{
    HKEY key;
    if (RegOpenKeyExA(root, RV_RUN_KEY, 0, KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY,
                      &key) != ERROR_SUCCESS)
        return false;
    char path[MAX_PATH];
    bool shown = ReadRegistryText(key, RV_VALUE_COMPANION, path, sizeof path) &&
                 path[0] != '\0' && NamesExistingFile(path);
    RegCloseKey(key);
    return shown;
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
    HKEY key;
    if (RegCreateKeyA(HKEY_CURRENT_USER, RV_PLAYLIST_KEY, &key) != ERROR_SUCCESS)
        return;
    DeleteAllValues(key);
    for (uint32_t i = 0; i < PlayList.size(); ++i) {
        if (PlayList[i] >= Catalogue.size())
            continue;
        char name[32];
        FormatPlayListValueName(name, sizeof name, i);
        WriteRegistryText(key, name, Catalogue[PlayList[i]].c_str());
    }
    RegCloseKey(key);
}

void WriteTimeout()
{
    uint32_t minutes = TimeoutMinutes > TimeoutMinutesLimit ? TimeoutMinutesLimit : TimeoutMinutes;
    char seconds[16];
    snprintf(seconds, sizeof seconds, "%u", (unsigned)(minutes * 60));
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, RV_DESKTOP_KEY, 0,
                      KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY,
                      &key) == ERROR_SUCCESS) {
        WriteRegistryText(key, RV_VALUE_TIMEOUT, seconds);
        RegCloseKey(key);
    }
    SystemParametersInfoA(SPI_SETSCREENSAVETIMEOUT, minutes * 60, NULL, SPIF_SENDWININICHANGE);
    if (RunMode == ModeConfig && ParentWindow) {
        HWND box = FindHostTimeoutBox(ParentWindow);
        if (box) {
            char text[16];
            snprintf(text, sizeof text, "%u", (unsigned)minutes);
            DWORD_PTR ignored;
            SendWithWait(box, WM_SETTEXT, 0, (LPARAM)text, &ignored);
        }
    }
}

void DeleteRunEntry(HKEY root)
{
    HKEY key;
    if (RegOpenKeyExA(root, RV_RUN_KEY, 0, KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY,
                      &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(key, RV_VALUE_COMPANION);
    RegCloseKey(key);
}

void StartCompanion(const char* companionPath)
{
    // An empty path would make the shell open something else entirely.
    bool started = false;
    if (companionPath[0] != '\0') {
        HINSTANCE result = ShellExecuteA(NULL, "open", companionPath, ShowTrayIcon ? NULL : "/u",
                                         NULL, SW_SHOWDEFAULT);
        started = (INT_PTR)result > 32;
    }
    if (!started) {
        // Without a companion that can be started, nothing may start with Windows.
        DeleteRunEntry(HKEY_LOCAL_MACHINE);
        DeleteRunEntry(HKEY_CURRENT_USER);
    }
}

}  // namespace

void LoadSettings()
{
    try {
        BuildCatalogue();
        ReadPeriodAndIndex();
        ReadPlayList();
        if (PlayList.empty()) {
            for (uint32_t i = 0; i < Catalogue.size(); ++i)
                PlayList.push_back(i);
        }
        if (RunMode == ModeConfig)
            LoadDescriptions();
        ReadSystemTimeout();
        if (RunMode == ModeConfig && ParentWindow)
            ReadHostTimeout();
        ReadShowTrayIcon();
    } catch (...) {
        Trace("LoadSettings");
    }
}

void SaveSettings()
{
    try {
        char companionPath[MAX_PATH] = "";
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, RV_SETTINGS_KEY, 0, KEY_ALL_ACCESS, &key) ==
            ERROR_SUCCESS) {
            DWORD period = Period;
            RegSetValueExA(key, RV_VALUE_PERIOD, 0, REG_DWORD, (const BYTE*)&period,
                           sizeof period);
            DWORD shuffle = Shuffle ? 1 : 0;
            RegSetValueExA(key, RV_VALUE_SHUFFLE, 0, REG_DWORD, (const BYTE*)&shuffle,
                           sizeof shuffle);
            ReadRegistryText(key, RV_VALUE_COMPANION, companionPath, sizeof companionPath);
            RegCloseKey(key);
        }
        WritePlayList();
        WriteTimeout();
        StartCompanion(companionPath);
    } catch (...) {
        Trace("SaveSettings");
    }
}

void SaveLastState()
{
    try {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, RV_SETTINGS_KEY, 0, KEY_WRITE, &key) !=
            ERROR_SUCCESS)
            return;
        DWORD index = FileIndex;
        RegSetValueExA(key, RV_VALUE_FILE_INDEX, 0, REG_DWORD, (const BYTE*)&index,
                       sizeof index);
        if (Shuffle && ShuffleRoundStored) {
            DWORD seed = ShuffleSeed, list = ShuffleList;
            RegSetValueExA(key, RV_VALUE_SHUFFLE_SEED, 0, REG_DWORD, (const BYTE*)&seed,
                           sizeof seed);
            RegSetValueExA(key, RV_VALUE_SHUFFLE_LIST, 0, REG_DWORD, (const BYTE*)&list,
                           sizeof list);
        }
        RegCloseKey(key);
    } catch (...) {
        Trace("SaveLastState");
    }
}
