#include "file_look.h"

#include <string.h>

#include <new>

namespace {

// One look, shared by the caller and its thread; the last of the two to
// let go frees it.
struct Look {
    char path[MAX_PATH];
    DWORD attributes;
    DWORD error;
    volatile LONG holders;
};

void LetGo(Look* look)
{
    if (InterlockedDecrement(&look->holders) == 0)
        delete look;
}

DWORD WINAPI LookOnItsOwn(LPVOID parameter)
{
    Look* look = static_cast<Look*>(parameter);
    look->attributes = GetFileAttributesA(look->path);
    look->error = GetLastError();
    LetGo(look);
    return 0;
}

bool MayKeepUsWaiting(const char* path)
{
    return LookMayWait(PathRoot(path).c_str());
}

FileAnswer Answer(DWORD attributes, DWORD error, DWORD* out)
{
    *out = attributes;
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return FileAnswer::Found;
    SetLastError(error);
    return FileAnswer::Missing;
}

}  // namespace

std::string PathRoot(const char* path)
{
    if (!path)
        return std::string();
    if (path[0] == '\\' && path[1] == '\\') {
        // "\\server\share\": the server and the share.
        const char* server = path + 2;
        const char* share = strchr(server, '\\');
        if (!share || share == server || share[1] == '\0' || share[1] == '\\')
            return std::string();
        const char* end = strchr(share + 1, '\\');
        std::string root = end ? std::string(path, end) : std::string(path);
        return root + "\\";
    }
    char drive = path[0];
    if (((drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z')) && path[1] == ':')
        return std::string(path, 2) + "\\";
    return std::string();
}

FileAnswer LookAtFile(const char* path, DWORD limit, DWORD* attributes)
{
    *attributes = INVALID_FILE_ATTRIBUTES;
    if (!path || strlen(path) >= MAX_PATH)
        return FileAnswer::Missing;
    if (!MayKeepUsWaiting(path)) {
        DWORD found = GetFileAttributesA(path);
        return Answer(found, GetLastError(), attributes);
    }
    Look* look = new (std::nothrow) Look;
    HANDLE thread = NULL;
    if (look) {
        strcpy(look->path, path);
        look->attributes = INVALID_FILE_ATTRIBUTES;
        look->error = 0;
        look->holders = 2;
        thread = CreateThread(NULL, 0, LookOnItsOwn, look, 0, NULL);
    }
    if (!thread) {
        delete look;
        DWORD found = GetFileAttributesA(path);
        return Answer(found, GetLastError(), attributes);
    }
    bool answered = WaitForSingleObject(thread, limit) == WAIT_OBJECT_0;
    CloseHandle(thread);
    FileAnswer answer = FileAnswer::NoAnswer;
    if (answered)
        answer = Answer(look->attributes, look->error, attributes);
    LetGo(look);
    if (!answered)
        SetLastError(ERROR_TIMEOUT);
    return answer;
}

UINT DriveTypeOfRoot(const std::string& root)
{
    static UINT known[26] = {0};  // DRIVE_UNKNOWN (0): not asked yet
    char letter = root.size() == 3 ? (char)(root[0] & ~0x20) : '\0';
    if (letter < 'A' || letter > 'Z' || root[1] != ':')
        return GetDriveTypeA(root.c_str());
    UINT& type = known[letter - 'A'];
    if (type == DRIVE_UNKNOWN)
        type = GetDriveTypeA(root.c_str());
    return type;
}

// Fixed and RAM drives answer at once; anything else may wait for a medium
// or a server.
bool LookMayWait(const char* root)
{
    if (!root || !root[0])
        return false;
    if (root[0] == '\\')
        return true;
    UINT type = DriveTypeOfRoot(root);
    return type != DRIVE_FIXED && type != DRIVE_RAMDISK;
}
