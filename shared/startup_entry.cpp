#include "startup_entry.h"

#include "names.h"
#include "registry_key.h"
#include "run_entry.h"
#include "system_function.h"

bool OpenStartupKey(HKEY root, REGSAM access, RegistryKey* key)
{
    // Under WOW64 the setup wrote the machine-wide entry in the system's own
    // view. Only there: Windows 2000 and older know no such flag.
    if (root == HKEY_LOCAL_MACHINE && RunsUnderWow64())
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
