#include "password.h"

#include <string.h>

#include "password_value.h"
#include "saver/log/trace.h"
#include "saver/settings/settings_state.h"
#include "saver/windows/saver_state.h"
#include "shared/kept_password.h"
#include "shared/names.h"
#include "shared/registry_key.h"

namespace {

bool PasswordProtected = false;
char PasswordValueName[22] = "";
PasswordValue SavedPasswordValue;

typedef BOOL(WINAPI* VerifyScreenSavePwdFunction)(HWND);
typedef DWORD(WINAPI* PwdChangePasswordFunction)(LPCSTR, HWND, DWORD, LPVOID);

// A value the session switched off must not stay off when the process dies
// unexpectedly; the crash handler puts it back.
LONG WINAPI RestoreOnCrash(EXCEPTION_POINTERS*)
{
    RestoreSystemPassword();
    return EXCEPTION_CONTINUE_SEARCH;
}

// Read by the same on/off rule as the switched value: the text "0" is off.
bool UsePasswordIsSet()
{
    RegistryKey key;
    PasswordValue found;
    memset(&found, 0, sizeof found);
    found.size = 256;
    return key.Open(HKEY_CURRENT_USER, RV_DESKTOP_KEY, KEY_READ) &&
           key.ReadRaw(RV_VALUE_USE_PASSWORD, &found.type, found.data, &found.size) &&
           PasswordValueIsOn(found);
}

bool VerifyWithSystemDialog()
{
    HMODULE library = LoadLibraryA("PASSWORD.CPL");
    if (!library)
        return true;
    bool accepted = true;
    VerifyScreenSavePwdFunction verify =
        (VerifyScreenSavePwdFunction)(void*)GetProcAddress(library, "VerifyScreenSavePwd");
    if (verify) {
        ShowCursor(TRUE);
        accepted = (verify(SaverWindow) & 0xFF) != 0;
        ShowCursor(FALSE);
    }
    FreeLibrary(library);
    return accepted;
}

}  // namespace

void SuspendSystemPassword()
{
    static bool crashHandlerSet = false;
    if (!crashHandlerSet) {
        SetUnhandledExceptionFilter(RestoreOnCrash);
        crashHandlerSet = true;
    }
    PasswordProtected = false;
    strcpy(PasswordValueName, IsNtFamily() ? RV_VALUE_IS_SECURE : RV_VALUE_USE_PASSWORD);
    RegistryKey key;
    if (!key.Open(HKEY_CURRENT_USER, RV_DESKTOP_KEY, KEY_READ | KEY_WRITE))
        return;
    PasswordValue found;
    memset(&found, 0, sizeof found);
    found.size = 256;
    if (!key.ReadRaw(PasswordValueName, &found.type, found.data, &found.size))
        return;
    SavedPasswordValue = found;
    PasswordProtected = PasswordValueIsOn(found);
    // The NT family locks the workstation itself when the screen saver ends;
    // on the Windows 95 family the session's question is the only lock.
    InterlockedExchange(&CloseAsksPassword, PasswordProtected && !IsNtFamily() ? 1 : 0);
    if (PasswordProtected) {
        KeepPasswordSetting(PasswordValueName, found.type, found.data, found.size);
        PasswordValue off = PasswordOffValue(found);
        key.WriteRaw(PasswordValueName, off.type, off.data, off.size);
    }
}

bool PasswordLocksSession()
{
    return CloseAsksPassword != 0;
}

void RestoreSystemPassword()
{
    if (!PasswordProtected)
        return;
    RegistryKey key;
    if (key.Open(HKEY_CURRENT_USER, RV_DESKTOP_KEY, KEY_WRITE) &&
        key.WriteRaw(PasswordValueName, SavedPasswordValue.type, SavedPasswordValue.data,
                     SavedPasswordValue.size))
        ForgetPasswordSetting();
}

bool AskPassword()
{
    if (!PasswordProtected) {
        Trace("Not PasswordProtected");
        return true;
    }
    bool accepted = true;
    try {
        RestoreSystemPassword();
        Trace("AskPassword()");
        if (UsePasswordIsSet())
            accepted = VerifyWithSystemDialog();
    } catch (...) {
    }
    SuspendSystemPassword();
    return accepted;
}

void ChangePassword(HWND owner)
{
    HMODULE library = LoadLibraryA("MPR.DLL");
    if (!library)
        return;
    PwdChangePasswordFunction change =
        (PwdChangePasswordFunction)(void*)GetProcAddress(library, "PwdChangePasswordA");
    if (change)
        change("SCRSAVE", owner, 0, NULL);
    FreeLibrary(library);
}
