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

// Fixed and RAM drives answer at once; anything else may wait for a medium
// or a server.
bool MayKeepUsWaiting(const char* path)
{
    std::string root = PathRoot(path);
    if (root.empty())
        return false;
    if (root[0] == '\\')
        return true;
    UINT type = GetDriveTypeA(root.c_str());
    return type != DRIVE_FIXED && type != DRIVE_RAMDISK;
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
