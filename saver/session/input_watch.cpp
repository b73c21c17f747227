#include "input_watch.h"

#include <stdlib.h>
#include <string.h>

#include "key_changes.h"
#include "password.h"
#include "saver/processes/message_wait.h"
#include "saver/settings/settings_state.h"
#include "saver/windows/saver_state.h"
#include "shared/kept_password.h"
#include "shared/system_function.h"

HANDLE WatchThread = NULL;
HANDLE NextEvent = NULL;
BYTE KeyStates[256];

namespace {

// The watch yields briefly between passes: a key that goes down and up in
// between is still seen through the "pressed since the last query" bit, and
// the session does not keep a processor busy while screen savers draw.
const DWORD WatchRest = 25;
const DWORD WatchPauseLimit = 1000;  // ms the runner waits for the watch to stand still
const DWORD FirstPassLimit = 1000;   // ms the session waits for the watch's first pass

// The watch stands still between passes while WatchPause is set and says so
// with WatchPaused; the runner then owns KeyStates. It is never suspended: a
// thread suspended inside GetAsyncKeyState on the Windows 95 family holds
// the lock of 16-bit USER, and every window, the password dialog's too,
// would freeze.
HANDLE WatchPause = NULL;
HANDLE WatchPaused = NULL;
// Wakes the watch from its rest (auto-reset), and tells at the end of each
// pass (auto-reset), for LetTheWatchLookOnce.
HANDLE WatchWake = NULL;
HANDLE WatchPassEnded = NULL;
volatile LONG WatchPassesBegun = 0;
volatile LONG WatchPassesEnded = 0;
// Set while the runner asks the password: keys typed into its dialog are no
// input, but raw input keeps track of what is up and down meanwhile.
volatile LONG QuestionOpen = 0;

// The keys the watch's first pass found down, handed to raw input.
BYTE FirstPassStates[256];
volatile LONG FirstPassMade = 0;

// Raw input, main thread only: each key and button as it last went.
typedef BOOL(WINAPI* RegisterRawInputDevicesFunction)(PCRAWINPUTDEVICE, UINT, UINT);
typedef UINT(WINAPI* GetRawInputDataFunction)(HRAWINPUT, UINT, LPVOID, PUINT, UINT);
GetRawInputDataFunction ReadRawInput = NULL;
bool RawInputAsked = false;
BYTE RawKeyStates[256];
const DWORD SamePress = 100;  // ms within which two sources tell of one press

// With screen savers in the monitors' panes none ends on the mouse (a preview
// does not): the watch sees it move. Moves within this many pixels are the
// jitter of a mouse at rest.
const LONG CursorSlack = 3;
const DWORD CursorMoveHold = 100;  // ms
volatile LONG CursorWatched = 0;
// Counts the changes after which the cursor's place is read afresh.
volatile LONG CursorRestVersion = 0;

// Keyboard and mouse (usage page 1, usages 6 and 2), to the session window
// whichever window has the keyboard; or given back.
bool AskForRawInput(bool on)
{
    RegisterRawInputDevicesFunction registration =
        SystemFunction<RegisterRawInputDevicesFunction>("USER32.DLL", "RegisterRawInputDevices");
    if (!registration)
        return false;
    DWORD flags = on ? RIDEV_INPUTSINK : RIDEV_REMOVE;
    HWND target = on ? SaverWindow : NULL;
    RAWINPUTDEVICE devices[2] = {{1, 6, flags, target}, {1, 2, flags, target}};
    return registration(devices, 2, sizeof devices[0]) != FALSE;
}

// When each key's press was last told, by either source: the other one, a
// little later, tells of the same press (the poll may see it late, as Wine
// answers from a cache for up to 50 ms, or, after the password was asked,
// as up and then down again) and is not heard.
volatile DWORD PressToldAt[256];

void Tell(unsigned code, KeySignal signal)
{
    if (signal == KeySignal::None || GetTickCount() - PressToldAt[code] < SamePress)
        return;
    PressToldAt[code] = GetTickCount();
    SetEvent(signal == KeySignal::Input ? InputEvent : NextEvent);
}

void TakeRawKey(unsigned code, bool down)
{
    if (code == 0 || code >= 255)
        return;
    if (down)
        KeySeenDown[code] = GetTickCount();
    // KeyStates: as the watch's last pass left them, on its thread.
    bool polledDown = *(volatile BYTE*)&KeyStates[code] != 0;
    KeySignal signal = TakeHeardKeyChange(RawKeyStates, polledDown, code, down, NextKeyCode);
    if (!QuestionOpen)
        Tell(code, signal);
}

// The low-level keyboard hook sees every key as it comes, before any window
// does, and where no window has the keyboard: as activation moves from a
// closed screen saver to the cover, the system may give raw input to no one
// (Wine does). NT 4.0 SP3 and later; main thread, whose pump calls it. It
// and raw input keep one state (RawKeyStates), so a press is told once. No
// mouse hook: under Wine one holds back the cursor's place, by which the
// watch sees the mouse move over the panes.
HHOOK KeyboardHook = NULL;

LRESULT CALLBACK SeeKey(int code, WPARAM message, LPARAM data)
{
    if (code == HC_ACTION) {
        const KBDLLHOOKSTRUCT* key = (const KBDLLHOOKSTRUCT*)data;
        TakeRawKey(key->vkCode, (key->flags & LLKHF_UP) == 0);
    }
    return CallNextHookEx(NULL, code, message, data);
}

// Where the cursor rests, and on which screen. A change of the monitors may
// move it (into what is still there), which is no input: a move counts once
// it has held for CursorMoveHold with the same screen and panes, as the
// system may tell of the change a little after the cursor moved.
struct CursorRest {
    POINT place;
    ScreenArea screen;
    LONG version;  // CursorRestVersion when it was read
    bool moving;   // a move seen, not counted yet
    DWORD movedAt;
};

bool SameArea(const ScreenArea& a, const ScreenArea& b)
{
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

void ReadCursorRest(CursorRest* rest)
{
    rest->version = CursorRestVersion;
    rest->screen = VirtualScreen();
    rest->moving = false;
    GetCursorPos(&rest->place);
}

// True, and the new place kept, when the cursor went farther than the slack
// from where it rested, and stayed away on the same screen.
bool CursorMoved(CursorRest* rest)
{
    if (rest->version != CursorRestVersion || !SameArea(VirtualScreen(), rest->screen)) {
        ReadCursorRest(rest);
        return false;
    }
    POINT now;
    if (!GetCursorPos(&now))
        return false;
    bool away =
        labs(now.x - rest->place.x) > CursorSlack || labs(now.y - rest->place.y) > CursorSlack;
    if (!away || !rest->moving) {
        rest->moving = away;
        rest->movedAt = GetTickCount();
        return false;
    }
    if (GetTickCount() - rest->movedAt < CursorMoveHold)
        return false;
    ReadCursorRest(rest);
    return true;
}

// One pass over every key and mouse button. The first also tells raw input
// which keys are down now: not those merely pressed since the last query
// (a key of the session before), whose next press raw input must count.
void PollKeys()
{
    for (int code = 1; code <= 254; ++code) {
        SHORT state = GetAsyncKeyState(code);
        bool pressed = (state & 0x8001) != 0;
        if (!FirstPassMade)
            FirstPassStates[code] = (state & 0x8000) ? 1 : 0;
        if (pressed)
            KeySeenDown[code] = GetTickCount();
        Tell((unsigned)code, TakeKeyChange(KeyStates, (unsigned)code, pressed, NextKeyCode));
    }
}

}  // namespace

ScreenArea VirtualScreen()
{
    return {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
            GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

bool StartInputWatch()
{
    WatchPause = CreateEventA(NULL, TRUE, FALSE, NULL);
    WatchPaused = CreateEventA(NULL, TRUE, FALSE, NULL);
    NextEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
    WatchWake = CreateEventA(NULL, FALSE, FALSE, NULL);
    WatchPassEnded = CreateEventA(NULL, FALSE, FALSE, NULL);
    NextKeyCode = NextKey ? VK_RIGHT : 0;
    FirstPassMade = 0;
    QuestionOpen = 0;
    if (WatchPause && WatchPaused && NextEvent && WatchWake && WatchPassEnded)
        WatchThread = CreateThread(NULL, 0, WatchInput, NULL, 0, NULL);
    if (!WatchThread)
        return false;
    // Nothing is shown before the watch knows which keys are down already
    // (those count only when pressed again): a key pressed from the first
    // screen saver on is input, however soon it comes.
    HANDLE firstPass[2] = {WatchPassEnded, WatchThread};
    WaitHandlingSentMessages(2, firstPass, FirstPassLimit);
    if (FirstPassMade)
        memcpy(RawKeyStates, FirstPassStates, sizeof RawKeyStates);
    else
        memset(RawKeyStates, 1, sizeof RawKeyStates);
    ReadRawInput = SystemFunction<GetRawInputDataFunction>("USER32.DLL", "GetRawInputData");
    // Without it (before Windows XP) the watch's poll is all there is.
    RawInputAsked = ReadRawInput && AskForRawInput(true);
    // Refused on the Windows 95 family, which has no low-level hooks.
    KeyboardHook = SetWindowsHookExA(WH_KEYBOARD_LL, SeeKey, GetModuleHandleA(NULL), 0);
    return true;
}

void StopDirectInput()
{
    if (RawInputAsked)
        AskForRawInput(false);
    RawInputAsked = false;
    if (KeyboardHook)
        UnhookWindowsHookEx(KeyboardHook);
    KeyboardHook = NULL;
}

void CloseInputWatch()
{
    CloseIfOpen(WatchThread);
    CloseIfOpen(WatchPause);
    CloseIfOpen(WatchPaused);
    CloseIfOpen(WatchWake);
    CloseIfOpen(WatchPassEnded);
    NextKeyCode = 0;
    CloseIfOpen(NextEvent);
}

void WakeInputWatch()
{
    if (WatchWake)
        SetEvent(WatchWake);
}

void TakeRawInput(HRAWINPUT input)
{
    if (!RawInputAsked)
        return;
    RAWINPUT raw;
    UINT size = sizeof raw;
    if (ReadRawInput(input, RID_INPUT, &raw, &size, sizeof(RAWINPUTHEADER)) == (UINT)-1)
        return;
    if (raw.header.dwType == RIM_TYPEKEYBOARD) {
        TakeRawKey(raw.data.keyboard.VKey, (raw.data.keyboard.Flags & RI_KEY_BREAK) == 0);
    } else if (raw.header.dwType == RIM_TYPEMOUSE) {
        KeyChange changes[MostButtonChanges];
        size_t count = MouseButtonChanges(raw.data.mouse.usButtonFlags, changes);
        for (size_t i = 0; i < count; ++i)
            TakeRawKey(changes[i].code, changes[i].down);
    }
}

void LetTheWatchLookOnce(DWORD limit)
{
    // Passes end in the order they begin: the next one to begin ends as
    // number begun + 1.
    LONG wanted = WatchPassesBegun + 1;
    SetEvent(WatchWake);
    HANDLE events[4] = {StopEvent, InputEvent, NextEvent, WatchPassEnded};
    DWORD start = GetTickCount();
    while (WatchPassesEnded - wanted < 0) {
        DWORD waited = GetTickCount() - start;
        if (waited >= limit ||
            WaitHandlingSentMessages(4, events, limit - waited) < WAIT_OBJECT_0 + 3)
            return;
    }
}

void PauseInputWatch()
{
    InterlockedExchange(&QuestionOpen, 1);
    if (!WatchPause || !WatchThread)
        return;
    SetEvent(WatchPause);
    WakeInputWatch();
    HANDLE ends[2] = {WatchPaused, WatchThread};
    WaitHandlingSentMessages(2, ends, WatchPauseLimit);
}

void ResumeInputWatch()
{
    if (WatchPause)
        ResetEvent(WatchPause);
    WakeInputWatch();
    InterlockedExchange(&QuestionOpen, 0);
}

void ForgetKeysHeldNow()
{
    memset(KeyStates, 1, sizeof KeyStates);
}

void WatchTheCursor(bool withPanes)
{
    InterlockedExchange(&CursorWatched, withPanes ? 1 : 0);
    CursorMayHaveMoved();
}

void CursorMayHaveMoved()
{
    InterlockedIncrement(&CursorRestVersion);
}

DWORD WINAPI WatchInput(LPVOID)
{
    memset(KeyStates, 1, sizeof KeyStates);
    CursorRest cursorRest = {};
    cursorRest.version = CursorRestVersion - 1;  // read at the first pass
    HANDLE restEnds[2] = {StopEvent, WatchWake};
    while (!IsSignalled(StopEvent)) {
        if (IsSignalled(WatchPause)) {
            SetEvent(WatchPaused);
            while (IsSignalled(WatchPause) &&
                   WaitForMultipleObjects(2, restEnds, FALSE, WatchRest) != WAIT_OBJECT_0) {
            }
            // Cleared before WatchPause is looked at again: a pause asked for
            // meanwhile finds the watch standing, or about to stand.
            ResetEvent(WatchPaused);
            // The mouse moved while the password was asked is no new input.
            cursorRest.version = CursorRestVersion - 1;
            continue;
        }
        InterlockedIncrement(&WatchPassesBegun);
        // A hosted screen saver that ends (on a mouse move, say) switches
        // Ctrl+Alt+Del back on: at once off again while only the session's
        // question locks the machine.
        if (PasswordLocksSession())
            RenewScreenSaverRunning();
        if (CursorWatched && CursorMoved(&cursorRest))
            SetEvent(InputEvent);
        try {
            PollKeys();
        } catch (...) {
        }
        if (!FirstPassMade)
            InterlockedExchange(&FirstPassMade, 1);
        InterlockedIncrement(&WatchPassesEnded);
        SetEvent(WatchPassEnded);
        WaitForSingleObject(WatchWake, WatchRest);
    }
    return 0;
}
