#include "settings_state.h"

uint32_t Period = DefaultPeriod;
uint32_t FileIndex = 0;
uint32_t TimeoutMinutes = DefaultTimeoutMinutes;
uint32_t LoadedTimeoutMinutes = DefaultTimeoutMinutes;
bool ShowTrayIcon = false;
bool Shuffle = false;
bool NextKey = false;
bool EachMonitor = false;
uint32_t ShuffleSeed = 0;
uint32_t ShuffleList = 0;
bool ShuffleRoundStored = false;

OSVERSIONINFOA VersionInfo;

bool IsNtFamily()
{
    return VersionInfo.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

std::vector<std::string> Catalogue;
std::vector<std::string> Descriptions;
std::vector<PlayListEntry> PlayList;

void FreeSettings()
{
    std::vector<std::string>().swap(Catalogue);
    std::vector<std::string>().swap(Descriptions);
    std::vector<PlayListEntry>().swap(PlayList);
}

void ResetSettings()
{
    Period = DefaultPeriod;
    FileIndex = 0;
    TimeoutMinutes = DefaultTimeoutMinutes;
    LoadedTimeoutMinutes = DefaultTimeoutMinutes;
    ShowTrayIcon = false;
    Shuffle = false;
    NextKey = false;
    EachMonitor = false;
    ShuffleSeed = 0;
    ShuffleList = 0;
    ShuffleRoundStored = false;
    FreeSettings();
}
