#include "file_places.h"

#include <winnetwk.h>
#include <string.h>

#include <vector>

#include "saver/log/message_log.h"
#include "saver/settings/file_look.h"
#include "shared/owned.h"
#include "shared/system_function.h"
#include "shared/text_compare.h"

namespace {

typedef DWORD(WINAPI* GetLongPathNameFunction)(LPCSTR, LPSTR, DWORD);
typedef DWORD(WINAPI* GetUniversalNameFunction)(LPCSTR, DWORD, LPVOID, LPDWORD);
typedef UINT(WINAPI* DragQueryFileWFunction)(HDROP, UINT, LPWSTR, UINT);
typedef DWORD(WINAPI* GetShortPathNameWFunction)(LPCWSTR, LPWSTR, DWORD);

void LogOutsideCodePage(const std::string& path)
{
    LogFormat("%s cannot be used: its name has characters outside the system's code page",
              path.c_str());
}

// A path on a mapped drive as its network path ("\\server\share\..."); any
// other path as it is.
std::string NetworkPath(const std::string& path)
{
    std::string root = PathRoot(path.c_str());
    if (root.size() != 3 || DriveTypeOfRoot(root) != DRIVE_REMOTE)
        return path;
    OwnedLibrary mpr(LoadLibraryA("MPR.DLL"));
    GetUniversalNameFunction universal =
        mpr ? (GetUniversalNameFunction)(void*)GetProcAddress(mpr.Get(), "WNetGetUniversalNameA")
            : NULL;
    std::vector<char> answer(sizeof(UNIVERSAL_NAME_INFOA) + 2 * MAX_PATH);
    DWORD size = (DWORD)answer.size();
    if (!universal ||
        universal(path.c_str(), UNIVERSAL_NAME_INFO_LEVEL, answer.data(), &size) != NO_ERROR)
        return path;
    const char* name = reinterpret_cast<UNIVERSAL_NAME_INFOA*>(answer.data())->lpUniversalName;
    return name ? std::string(name) : path;
}

// The dropped file's wide name (NT family only: the Windows 95 family names
// files in its code page); empty where the system has none.
std::wstring WideDroppedName(HDROP drop, UINT index)
{
    DragQueryFileWFunction query =
        SystemFunction<DragQueryFileWFunction>("SHELL32.DLL", "DragQueryFileW");
    if (!query)
        return std::wstring();
    UINT length = query(drop, index, NULL, 0);
    std::vector<WCHAR> wide(length + 1, 0);
    if (length == 0 || query(drop, index, wide.data(), length + 1) == 0)
        return std::wstring();
    return std::wstring(wide.data());
}

// The ANSI text of a wide name, empty when the code page cannot spell it
// exactly (a best fit, such as "O" for an omega, names another file).
std::string Spelled(const std::wstring& wide)
{
    std::vector<char> narrow(wide.size() * 2 + 2, '\0');
    int written = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, narrow.data(),
                                      (int)narrow.size(), NULL, NULL);
    if (written <= 0)
        return std::string();
    std::vector<WCHAR> back(wide.size() + 2, 0);
    if (MultiByteToWideChar(CP_ACP, 0, narrow.data(), -1, back.data(), (int)back.size()) <= 0 ||
        wide != back.data())
        return std::string();
    return std::string(narrow.data());
}

std::string ShortSpelling(const std::wstring& wide)
{
    GetShortPathNameWFunction shorten =
        SystemFunction<GetShortPathNameWFunction>("KERNEL32.DLL", "GetShortPathNameW");
    WCHAR shortWide[MAX_PATH] = {0};
    DWORD length = shorten ? shorten(wide.c_str(), shortWide, MAX_PATH) : 0;
    return length > 0 && length < MAX_PATH ? Spelled(shortWide) : std::string();
}

}  // namespace

std::string LongFullPath(const char* path)
{
    char full[MAX_PATH];
    LPSTR name = NULL;
    DWORD length = GetFullPathNameA(path, sizeof full, full, &name);
    if (length == 0 || length >= sizeof full)
        return path;
    // Only a name with a "~" can be a short one that names the file by
    // another: the look (a folder search per part of the path, under Wine
    // 2 ms a path) is made only for those.
    if (!strchr(full, '~'))
        return std::string(full);
    GetLongPathNameFunction lengthen =
        SystemFunction<GetLongPathNameFunction>("KERNEL32.DLL", "GetLongPathNameA");
    char longer[MAX_PATH];
    length = lengthen ? lengthen(full, longer, sizeof longer) : 0;
    // A long name the code page cannot spell comes back as another name:
    // the short one stays.
    bool spelled = length > 0 && length < sizeof longer &&
                   GetFileAttributesA(longer) != INVALID_FILE_ATTRIBUTES;
    return spelled ? std::string(longer) : std::string(full);
}

std::string PlaceKey(const std::string& path)
{
    return UpperCaseText(NetworkPath(path).c_str());
}

bool UsableName(const std::string& path)
{
    // The Open dialog checked that the file is there: where its name as given
    // here finds nothing, the code page could not spell it ("?", or a best fit).
    if (path.find('?') == std::string::npos &&
        GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;
    LogOutsideCodePage(path);
    return false;
}

std::string DroppedPath(HDROP drop, UINT index)
{
    UINT length = DragQueryFileA(drop, index, NULL, 0);
    std::vector<char> name(length + 1, '\0');
    DragQueryFileA(drop, index, name.data(), length + 1);
    std::string path(name.data());
    std::wstring wide = WideDroppedName(drop, index);
    if (!wide.empty() && Spelled(wide).empty()) {
        path = ShortSpelling(wide);
        if (path.empty()) {
            LogOutsideCodePage(name.data());
            return std::string();
        }
    }
    if (path.size() >= MAX_PATH) {
        LogFormat("%s cannot be used: its path is longer than %u characters", path.c_str(),
                  (unsigned)(MAX_PATH - 1));
        return std::string();
    }
    return path;
}
