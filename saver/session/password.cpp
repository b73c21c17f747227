#include "password.h"

#include <stdio.h>
#include <string.h>

#include "password_value.h"
#include "saver/log/message_log.h"
#include "saver/log/trace.h"
#include "saver/processes/message_wait.h"
#include "saver/settings/settings_state.h"
#include "saver/windows/saver_state.h"
#include "shared/kept_password.h"
#include "shared/names.h"
#include "shared/owned.h"
#include "shared/registry_key.h"

namespace {

typedef BOOL(WINAPI* VerifyScreenSavePwdFunction)(HWND);
typedef DWORD(WINAPI* PwdChangePasswordFunction)(LPCSTR, HWND, DWORD, LPVOID);

// The runner writes the setting around its question while the main thread
// may put it back at the end (or on WM_ENDSESSION): one lock, and once put
// back for good, no question switches it off again.
struct PasswordSection {
    CRITICAL_SECTION section;
    PasswordSection() { InitializeCriticalSection(&section); }
} Section;

class PasswordLock {
public:
    PasswordLock() { EnterCriticalSection(&Section.section); }
    ~PasswordLock() { LeaveCriticalSection(&Section.section); }
    PasswordLock(const PasswordLock&) = delete;
    PasswordLock& operator=(const PasswordLock&) = delete;
};

bool PasswordProtected = false;  // switched off by this session (Windows 95 family only)
bool PutBackForGood = false;     // the session's end restored it
char PasswordValueName[22] = "";
PasswordValue SavedPasswordValue;
// Whether input must be answered with the password, decided at the session's
// start: a program that clears the setting later cannot skip the question.
bool QuestionNeeded = false;
// Held from the session's start to its end: renaming or deleting the library
// during the session cannot skip the question either.
HMODULE PasswordLibrary = NULL;
VerifyScreenSavePwdFunction Verify = NULL;

bool WriteDesktopValue(const PasswordValue& value)
{
    RegistryKey key;
    return key.Open(HKEY_CURRENT_USER, RV_DESKTOP_KEY, KEY_WRITE) &&
           key.WriteRaw(PasswordValueName, value.type, value.data, value.size);
}

// Puts the found value back; the kept copy goes once it is written.
void WriteSavedValue()
{
    if (PasswordProtected && WriteDesktopValue(SavedPasswordValue))
        ForgetPasswordSetting();
}

// Keeps the found value (for a killed session's successor), then writes the off value.
void WriteOffValue()
{
    if (!PasswordProtected || PutBackForGood)
        return;
    KeepPasswordSetting(PasswordValueName, SavedPasswordValue.type, SavedPasswordValue.data,
                        SavedPasswordValue.size);
    WriteDesktopValue(PasswordOffValue(SavedPasswordValue));
}

// A session that crashes must not leave the password off, nor (on the
// Windows 95 family) Ctrl+Alt+Del and Alt+Tab switched off.
LONG WINAPI RestoreOnCrash(EXCEPTION_POINTERS*)
{
    RestoreSystemPassword();
    SetScreenSaverRunning(false);
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

void LoadPasswordLibrary()
{
    // From the system folder only: the program's own folder (the Windows
    // folder) and the current one come first in the search by bare name.
    char folder[MAX_PATH] = "";
    UINT length = GetSystemDirectoryA(folder, sizeof folder);
    char path[MAX_PATH + 16];
    if (length > 0 && length < sizeof folder) {
        snprintf(path, sizeof path, "%s\\PASSWORD.CPL", folder);
        PasswordLibrary = LoadLibraryA(path);
    }
    if (PasswordLibrary)
        Verify = (VerifyScreenSavePwdFunction)(void*)GetProcAddress(PasswordLibrary,
                                                                    "VerifyScreenSavePwd");
    // Where the question is the only lock, the user should learn why it was
    // not asked.
    if (!Verify && !IsNtFamily())
        LogMessage("PASSWORD.CPL could not be loaded: the session was not locked");
}

void FreePasswordLibrary()
{
    if (PasswordLibrary)
        FreeLibrary(PasswordLibrary);
    PasswordLibrary = NULL;
    Verify = NULL;
}

bool VerifyWithSystemDialog()
{
    if (!Verify)
        return true;
    ShowCursor(TRUE);
    bool accepted = (Verify(SaverWindow) & 0xFF) != 0;
    ShowCursor(FALSE);
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
    PasswordLock lock;
    PasswordProtected = false;
    PutBackForGood = false;
    QuestionNeeded = false;
    FreePasswordLibrary();
    strcpy(PasswordValueName, IsNtFamily() ? RV_VALUE_IS_SECURE : RV_VALUE_USE_PASSWORD);
    RegistryKey key;
    PasswordValue found;
    memset(&found, 0, sizeof found);
    found.size = 256;
    bool settingOn = key.Open(HKEY_CURRENT_USER, RV_DESKTOP_KEY, KEY_READ) &&
                     key.ReadRaw(PasswordValueName, &found.type, found.data, &found.size) &&
                     PasswordValueIsOn(found);
    key.Close();
    SavedPasswordValue = found;
    // The NT family decides whether to lock before it starts the screen
    // saver, and its screen savers never ask: switching the setting off there
    // buys nothing, and a session that died would leave the next one unlocked.
    PasswordProtected = settingOn && !IsNtFamily();
    // Read before anything is switched off: on the Windows 95 family it is
    // the switched value itself.
    QuestionNeeded = settingOn && UsePasswordIsSet();
    if (QuestionNeeded)
        LoadPasswordLibrary();
    // The NT family locks the workstation itself when the screen saver ends;
    // on the Windows 95 family the session's question is the only lock.
    InterlockedExchange(&CloseAsksPassword, Verify && !IsNtFamily() ? 1 : 0);
    WriteOffValue();
}

bool PasswordLocksSession()
{
    return CloseAsksPassword != 0;
}

void RestoreSystemPassword()
{
    PasswordLock lock;
    WriteSavedValue();
    PutBackForGood = true;
}

void ReleasePasswordLibrary()
{
    PasswordLock lock;
    FreePasswordLibrary();
}

bool AskPassword()
{
    if (!QuestionNeeded) {
        Trace("Not PasswordProtected");
        return true;
    }
    bool accepted = true;
    try {
        {
            PasswordLock lock;
            // Put back as the session ends: nobody is left to answer. Put back
            // by WM_ENDSESSION under the lock, it is asked for all the same.
            if (PutBackForGood && IsSignalled(StopEvent))
                return true;
            // The system's setting is on while the system's dialog asks.
            WriteSavedValue();
        }
        Trace("AskPassword()");
        accepted = VerifyWithSystemDialog();
    } catch (...) {
    }
    PasswordLock lock;
    WriteOffValue();
    return accepted;
}

void ChangePassword(HWND owner)
{
    OwnedLibrary library(LoadLibraryA("MPR.DLL"));
    PwdChangePasswordFunction change =
        library
            ? (PwdChangePasswordFunction)(void*)GetProcAddress(library.Get(), "PwdChangePasswordA")
            : NULL;
    if (change)
        change("SCRSAVE", owner, 0, NULL);
}
