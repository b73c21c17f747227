#include "password.h"

#include <string.h>

#include "password_value.h"
#include "saver_state.h"
#include "../log/trace.h"
#include "../../shared/kept_password.h"
#include "../../shared/names.h"

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

// A number of up to 4 bytes as stored, whatever its type: a short text gives
// its character codes.
bool UsePasswordIsSet()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, RV_DESKTOP_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD number = 0;
    DWORD size = sizeof number;
    LONG result =
        RegQueryValueExA(key, RV_VALUE_USE_PASSWORD, NULL, NULL, (BYTE*)&number, &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS && number != 0;
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
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, RV_DESKTOP_KEY, 0, KEY_READ | KEY_WRITE, &key) !=
        ERROR_SUCCESS)
        return;
    PasswordValue found;
    memset(&found, 0, sizeof found);
    found.size = 256;
    if (RegQueryValueExA(key, PasswordValueName, NULL, &found.type, found.data, &found.size) !=
        ERROR_SUCCESS) {
        RegCloseKey(key);
        return;
    }
    SavedPasswordValue = found;
    PasswordProtected = PasswordValueIsOn(found);
    if (PasswordProtected) {
        KeepPasswordSetting(PasswordValueName, found.type, found.data, found.size);
        PasswordValue off = PasswordOffValue(found);
        RegSetValueExA(key, PasswordValueName, 0, off.type, off.data, off.size);
    }
    RegCloseKey(key);
}

void RestoreSystemPassword()
{
    if (!PasswordProtected)
        return;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, RV_DESKTOP_KEY, 0, KEY_WRITE, &key) != ERROR_SUCCESS)
        return;
    bool written = RegSetValueExA(key, PasswordValueName, 0, SavedPasswordValue.type,
                                  SavedPasswordValue.data, SavedPasswordValue.size) == ERROR_SUCCESS;
    RegCloseKey(key);
    if (written)
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
