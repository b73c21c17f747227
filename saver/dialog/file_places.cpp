#include "file_places.h"

#include <winnetwk.h>
#include <string.h>

#include <vector>

#include "saver/log/message_log.h"
#include "saver/settings/file_look.h"
#include "saver/settings/file_names.h"
#include "shared/owned.h"
#include "shared/system_function.h"
#include "shared/text_compare.h"

namespace {

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

std::string ShortSpelling(const std::wstring& wide)
{
    GetShortPathNameWFunction shorten =
        SystemFunction<GetShortPathNameWFunction>("KERNEL32.DLL", "GetShortPathNameW");
    WCHAR shortWide[MAX_PATH] = {0};
    DWORD length = shorten ? shorten(wide.c_str(), shortWide, MAX_PATH) : 0;
    return length > 0 && length < MAX_PATH ? SpelledInCodePage(shortWide) : std::string();
}

}  // namespace

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
    if (!wide.empty() && SpelledInCodePage(wide).empty()) {
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
