#include "startup_entry.h"

#include "names.h"
#include "registry_key.h"
#include "run_entry.h"
#include "system_function.h"

namespace {

// A 32-bit program on 64-bit Windows (x64, or ARM64 where only the 32-bit
// build is installed): the setup writes the machine-wide entry in the
// system's own view, which this program must then read and delete.
bool UnderWow64()
{
    typedef BOOL(WINAPI * IsWow64ProcessFunction)(HANDLE, PBOOL);
    IsWow64ProcessFunction isWow64 =
        SystemFunction<IsWow64ProcessFunction>("kernel32.dll", "IsWow64Process");
    BOOL wow64 = FALSE;
    return isWow64 && isWow64(GetCurrentProcess(), &wow64) && wow64;
}

}  // namespace

bool OpenStartupKey(HKEY root, REGSAM access, RegistryKey* key)
{
    // Only under WOW64: Windows 2000 and older know no such flag.
    if (root == HKEY_LOCAL_MACHINE && UnderWow64())
        access |= KEY_WOW64_64KEY;
    return key->Open(root, RV_RUN_KEY, access);
}

bool WriteStartupEntry(RegistryKey& run, const char* programPath)
{
    char entry[MAX_PATH + 2];
    return MakeRunEntry(programPath, entry, sizeof entry) &&
           run.WriteText(RV_VALUE_COMPANION, entry);
}

bool ReadStartupEntryPath(HKEY root, char (&path)[MAX_PATH])
{
    RegistryKey key;
    char entry[MAX_PATH + 2];
    return OpenStartupKey(root, KEY_QUERY_VALUE, &key) &&
           key.ReadText(RV_VALUE_COMPANION, entry, sizeof entry) &&
           RunEntryPath(entry, path, sizeof path) && path[0] != '\0';
}

void DeleteStartupEntry(HKEY root)
{
    RegistryKey key;
    if (OpenStartupKey(root, KEY_SET_VALUE, &key))
        key.DeleteValue(RV_VALUE_COMPANION);
}
