#include "file_names.h"

#include <string.h>

#include <vector>

#include "shared/system_function.h"

namespace {

typedef DWORD(WINAPI* GetLongPathNameFunction)(LPCSTR, LPSTR, DWORD);
typedef DWORD(WINAPI* GetLongPathNameWFunction)(LPCWSTR, LPWSTR, DWORD);

}  // namespace

std::string SpelledInCodePage(const std::wstring& wide)
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

std::wstring WideOf(const char* text)
{
    WCHAR wide[MAX_PATH];
    int length = MultiByteToWideChar(CP_ACP, 0, text, -1, wide, MAX_PATH);
    return length > 0 ? std::wstring(wide) : std::wstring();
}

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
    // Asked in wide characters where the system has them, so that a long
    // name the code page cannot spell is seen as such, not as its best fit
    // (which may name another file).
    GetLongPathNameWFunction lengthenWide =
        SystemFunction<GetLongPathNameWFunction>("KERNEL32.DLL", "GetLongPathNameW");
    std::wstring wide = WideOf(full);
    WCHAR longerWide[MAX_PATH];
    if (lengthenWide && !wide.empty()) {
        length = lengthenWide(wide.c_str(), longerWide, MAX_PATH);
        std::string spelled =
            length > 0 && length < MAX_PATH ? SpelledInCodePage(longerWide) : std::string();
        return spelled.empty() || spelled.size() >= MAX_PATH ? std::string(full) : spelled;
    }
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
