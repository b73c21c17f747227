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

SnapshotFunction CreateSnapshot = NULL;
WalkFunction FirstProcess = NULL;
WalkFunction NextProcess = NULL;

}  // namespace

bool BindToolhelp(OwnedLibrary* kernel)
{
    kernel->Reset(LoadLibraryA("KERNEL32.DLL"));
    if (!*kernel)
        return false;
    HMODULE module = kernel->Get();
    CreateSnapshot = (SnapshotFunction)(void*)GetProcAddress(module, "CreateToolhelp32Snapshot");
    FirstProcess = (WalkFunction)(void*)GetProcAddress(module, "Process32First");
    NextProcess = (WalkFunction)(void*)GetProcAddress(module, "Process32Next");
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
        OwnedLibrary kernel;  // declared first: freed after the snapshot is closed
        if (!BindToolhelp(&kernel))
            return false;
        OwnedHandle snapshot(CreateSnapshot(TH32CS_SNAPPROCESS, 0));
        if (!snapshot)
            return false;
        PROCESSENTRY32 entry = {};
        entry.dwSize = sizeof entry;
        if (FirstProcess(snapshot.Get(), &entry)) {
            do {
                list.push_back(entry);
            } while (NextProcess(snapshot.Get(), &entry));
        }
        return true;
    } catch (...) {
        Trace("EnumProcesses exception");
        return false;
    }
}
