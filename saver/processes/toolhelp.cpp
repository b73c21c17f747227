#include "toolhelp.h"

#include "saver/log/trace.h"

#if !defined(_WIN64)
// The records as 32-bit Windows lays them out.
static_assert(sizeof(PROCESSENTRY32) == 296, "PROCESSENTRY32 of 32-bit Windows");
static_assert(sizeof(OSVERSIONINFOA) == 148, "OSVERSIONINFOA of 32-bit Windows");
#endif

namespace {

typedef HANDLE(WINAPI* SnapshotFunction)(DWORD, DWORD);
typedef BOOL(WINAPI* WalkFunction)(HANDLE, PROCESSENTRY32*);

HMODULE Kernel = NULL;
SnapshotFunction CreateSnapshot = NULL;
WalkFunction FirstProcess = NULL;
WalkFunction NextProcess = NULL;

class SnapshotCloser {
public:
    ~SnapshotCloser()
    {
        if (Kernel)
            FreeLibrary(Kernel);
        Kernel = NULL;
        if (snapshot && snapshot != INVALID_HANDLE_VALUE)
            CloseHandle(snapshot);
    }
    HANDLE snapshot = NULL;
};

}  // namespace

bool BindToolhelp()
{
    Kernel = LoadLibraryA("KERNEL32.DLL");
    if (!Kernel)
        return false;
    CreateSnapshot = (SnapshotFunction)(void*)GetProcAddress(Kernel, "CreateToolhelp32Snapshot");
    FirstProcess = (WalkFunction)(void*)GetProcAddress(Kernel, "Process32First");
    NextProcess = (WalkFunction)(void*)GetProcAddress(Kernel, "Process32Next");
    return CreateSnapshot && FirstProcess && NextProcess;
}

bool EnumProcesses(std::vector<PROCESSENTRY32>& list)
{
    try {
        OSVERSIONINFOA version = {};
        version.dwOSVersionInfoSize = sizeof version;
        if (!GetVersionExA(&version))
            return false;
        if (version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion < 5)
            return false;
        SnapshotCloser closer;
        if (!BindToolhelp())
            return false;
        closer.snapshot = CreateSnapshot(TH32CS_SNAPPROCESS, 0);
        if (closer.snapshot == INVALID_HANDLE_VALUE)
            return false;
        PROCESSENTRY32 entry = {};
        entry.dwSize = sizeof entry;
        if (FirstProcess(closer.snapshot, &entry)) {
            do {
                list.push_back(entry);
            } while (NextProcess(closer.snapshot, &entry));
        }
        return true;
    } catch (...) {
        Trace("EnumProcesses exception");
        return false;
    }
}
