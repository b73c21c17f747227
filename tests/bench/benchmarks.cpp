// Timings of Rotaveil under Wine, printed as a table; docs/benchmarks.md
// records a run. Not a test: the figures depend on the machine.
//   wine64 build/tests/bin/benchmarks.exe
#include <winsock2.h>
#include <windows.h>
#include <limits.h>
#include <stdlib.h>
#include <stdio.h>

#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "saver/app/load_settings.h"
#include "saver/dialog/save_settings.h"
#include "saver/settings/settings_state.h"
#include "saver/settings/settings_store.h"
#include "resources/resource_ids.h"
#include "saver/windows/saver_state.h"
#include "shared/names.h"
#include "tests/fixtures/fixture_record.h"
#include "tests/support/session_driver.h"

namespace {

double Now()
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return (double)count.QuadPart * 1000.0 / (double)frequency.QuadPart;
}

// Installs count screen savers (half in each directory) and a play-list of them.
std::vector<std::string> InstallMany(SessionDriver& driver, int count)
{
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) {
        char name[32];
        snprintf(name, sizeof name, "bench%04d.scr", i);
        paths.push_back(driver.savers.Install(
            "Night Sky.scr", i % 2 ? SaverDirectory::Windows : SaverDirectory::System, name));
    }
    driver.SetPlayList(paths);
    return paths;
}

double TimeLoad(signed char mode)
{
    double best = 1e9;
    for (int round = 0; round < 3; ++round) {
        FreeSettings();
        RunMode = mode;
        double start = Now();
        LoadSettings();
        double took = Now() - start;
        if (took < best)
            best = took;
    }
    FreeSettings();
    return best;
}

// The settings dialog of _Rotaveil.scr /c, once it is visible.
HWND OpenDialog(ChildProcess& saver)
{
    saver.Start("\"" + BesideTests(RV_SAVER_FILE) + "\" /c");
    HWND dialog = NULL;
    WaitUntil(60000, [&] {
        dialog = FindWindowA(NULL, "Rotaveil settings");
        return dialog && IsWindowVisible(dialog);
    });
    return dialog;
}

double TimeDialogOpen()
{
    ChildProcess saver;
    double start = Now();
    HWND dialog = OpenDialog(saver);
    double took = Now() - start;
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    saver.WaitForExit(10000);
    return took;
}

void LoadingAndDialog()
{
    printf("| installed = play-list | LoadSettings, session (ms) | LoadSettings, settings (ms) | "
           "/c to dialog shown (ms) |\n");
    printf("|---|---|---|---|\n");
    for (int count : {50, 500, 2000}) {
        SessionDriver driver;
        InstallMany(driver, count);
        double session = TimeLoad(ModeSaver);
        double settings = TimeLoad(ModeConfig);
        double dialog = TimeDialogOpen();
        printf("| %d | %.1f | %.1f | %.0f |\n", count, session, settings, dialog);
        fflush(stdout);
    }
}

// Arrival times of record lines, found by polling the record file.
struct Watch {
    SessionDriver& driver;
    double WaitFor(const char* prefix, size_t count, DWORD limit)
    {
        double start = Now();
        while (Now() - start < limit) {
            if (driver.RecordsStartingWith(prefix).size() >= count)
                return Now();
            Sleep(2);
        }
        return -1;
    }
};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

const char* KeySourceLabel();

// One row of milliseconds, its measure marked with the key source.
void Row(const std::string& measure, double ms)
{
    printf("| %s%s | %.0f ms |\n", KeySourceLabel(), measure.c_str(), ms);
}

// Where keys come from: SendInput, or the X server's own key events, which
// Wine's X driver turns into input as a real keyboard's (tools/x_keys.py
// presses them through XTest; tools/benchmarks.sh starts it and passes its
// port in RV_XKEYS_PORT).
bool KeysFromX = false;
SOCKET XKeys = INVALID_SOCKET;

bool ConnectXKeys()
{
    if (XKeys != INVALID_SOCKET)
        return true;
    const char* port = getenv("RV_XKEYS_PORT");
    WSADATA data;
    if (!port || WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return false;
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons((u_short)atoi(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    XKeys = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (XKeys != INVALID_SOCKET && connect(XKeys, (sockaddr*)&address, sizeof address) == 0)
        return true;
    XKeys = INVALID_SOCKET;
    return false;
}

// Space down or up, from the chosen source; returns once the X server has it.
void SpaceKey(bool down)
{
    if (!KeysFromX) {
        down ? SessionDriver::KeyDown(VK_SPACE) : SessionDriver::KeyUp(VK_SPACE);
        return;
    }
    char step = down ? 'd' : 'u';
    if (send(XKeys, &step, 1, 0) != 1 || recv(XKeys, &step, 1, 0) != 1)
        abort();
}

// A key held as a person holds it (60 ms), the session's end timed from the
// key going down while it is held, not from its release; returns the end's
// time (Now), -1 when the session did not end.
double PressKeyUntilEnd(SessionDriver& driver)
{
    SpaceKey(true);
    double down = Now();
    bool ended = driver.WaitForEnd(60);
    double end = Now();
    Sleep((DWORD)std::max(0.0, 60 - (end - down)));
    SpaceKey(false);
    if (!ended) {
        ended = driver.WaitForEnd(10000);
        end = Now();
    }
    return ended ? end : -1;
}

// A drop of count screen savers from a folder of their own on the settings
// dialog, from the drop to the dialog answering with all of them listed.
double TimeDrop(int count)
{
    SessionDriver driver;
    std::string folder = BesideTests("dropped"), files;
    CreateDirectoryA(folder.c_str(), NULL);
    for (int i = 0; i < count; ++i) {
        files += folder + "\\drop" + std::to_string(10000 + i) + ".scr";
        CopyFileA(BesideTests("Night Sky.scr").c_str(), files.c_str() + files.rfind(folder), FALSE);
        files += '\0';
    }
    driver.SetPlayList({});
    ChildProcess saver;
    HWND dialog = OpenDialog(saver);
    WaitForInputIdle(saver.Handle(), 5000);
    double start = Now();
    DropFiles(saver.Handle(), dialog, files + '\0', FALSE);
    // A sent message is answered before the posted drop is taken, or once
    // the drop is done, never during it.
    while (SendDlgItemMessageA(dialog, IDC_PLAYLIST, LB_GETCOUNT, 0, 0) < count &&
           Now() - start < 600000)
        Sleep(1);
    double took = Now() - start;
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    saver.WaitForExit(10000);
    for (size_t at = 0; at < files.size(); at = files.find('\0', at) + 1)
        DeleteFileA(files.c_str() + at);
    RemoveDirectoryA(folder.c_str());
    return took;
}

// From the start of a session to its cover, with missing entries stored in
// its play-list besides one screen saver that is there; logLines gets the
// message log's lines about them.
double TimeCoverWithMissing(int missing, int* logLines)
{
    SessionDriver driver;
    std::vector<std::string> paths;
    for (int i = 0; i < missing; ++i)
        paths.push_back("C:\\gone\\missing" + std::to_string(i) + ".scr");
    paths.push_back(driver.savers.Install("rvt_good.scr", SaverDirectory::System, "good_sc.scr"));
    driver.SetPlayList(paths);
    driver.SetPeriod(60000);
    double start = Now();
    driver.Start();
    WaitUntil(60000, [] { return IsWindowVisible(FindWindowA(RV_SAVER_CLASS, RV_SAVER_TITLE)); });
    double took = Now() - start;
    Watch{driver}.WaitFor("window", 1, 10000);
    SessionDriver::PressKey();
    driver.WaitForEnd(10000);
    std::string log = driver.Log();
    *logLines = 0;
    for (size_t at = log.find("not found"); at != std::string::npos;
         at = log.find("not found", at + 1))
        ++*logLines;
    return took;
}

void Scale()
{
    printf("| measure | result |\n|---|---|\n");
    for (int count : {500, 2000})
        Row("drop of " + std::to_string(count) +
                " screen savers on the dialog to the dialog answering",
            TimeDrop(count));
    int lines = 0, bareLines = 0;
    std::vector<double> bare, missing;
    for (int i = 0; i < 3; ++i) {
        bare.push_back(TimeCoverWithMissing(0, &bareLines));
        missing.push_back(TimeCoverWithMissing(10000, &lines));
    }
    printf("| session start to the cover, one entry (median of 3) | %.0f ms |\n", Median(bare));
    printf("| session start to the cover, 10,000 more entries all missing (median of 3) | %.0f ms "
           "(%d log line%s about them) |\n",
           Median(missing), lines, lines == 1 ? "" : "s");
    fflush(stdout);
}

// Key to the end of the session over sessions of one screen saver of that
// file name, the key pressed wait ms after its first record starting with
// trigger (with slowStart, it takes that long to make its window).
double MedianKeyToEnd(const char* file, DWORD slowStart, const char* trigger, DWORD wait)
{
    std::vector<double> times;
    for (int i = 0; i < 5; ++i) {
        SessionDriver driver;
        SetRegistryNumber(HKEY_CURRENT_USER, RV_TEST_KEY, "SlowStart", slowStart);
        driver.SetPlayList({driver.savers.Install("rvt_good.scr", SaverDirectory::System, file)});
        driver.SetPeriod(60000);
        driver.Start();
        Watch{driver}.WaitFor(trigger, 1, 10000);
        Sleep(wait);
        double start = Now();
        times.push_back(PressKeyUntilEnd(driver) - start);
    }
    return Median(times);
}

void KeyToEnd()
{
    printf("| key press to the end of the session process, mid-turn (median of 5) | %.0f ms |\n",
           MedianKeyToEnd("good_key.scr", 0, "window", 800));
}

void GapAndStops()
{
    struct Kind {
        const char* file;
        const char* what;
    };
    const DWORD period = 2000;
    for (Kind kind : {Kind{"good_gap.scr", "well behaved"},
                      Kind{"stubborn.scr", "ignores WM_CLOSE and WM_QUIT"},
                      Kind{"hang.scr", "window thread hangs"}, Kind{"nowindow.scr", "no window"}}) {
        SessionDriver driver;
        std::string first =
            driver.savers.Install("rvt_good.scr", SaverDirectory::System, kind.file);
        std::string next =
            driver.savers.Install("rvt_good.scr", SaverDirectory::System, "zz_next.scr");
        driver.SetPlayList({first, next});
        driver.SetPeriod(period);
        driver.Start();
        Watch watch{driver};
        double started = watch.WaitFor("start", 1, 20000);
        double nextStarted = watch.WaitFor("start", 2, 30000);
        double nextWindow =
            watch.WaitFor("window", strcmp(kind.file, "nowindow.scr") ? 2 : 1, 30000);
        SessionDriver::PressKey();
        driver.WaitForEnd(15000);
        printf("| %s: end of period to the next screen saver started | %.0f ms |\n", kind.what,
               nextStarted - started - period);
        if (!strcmp(kind.file, "good_gap.scr"))
            printf("| well behaved: end of period to the next screen saver's window | %.0f ms |\n",
                   nextWindow - started - period);
    }
}

// Time from the start of a program to its window, the fixture saver alone.
double BareStart(SessionDriver& driver, const std::string& path)
{
    DeleteFileA(driver.recordFile.c_str());
    ChildProcess saver;
    double start = Now();
    saver.Start("\"" + path + "\" /s");
    double window = Watch{driver}.WaitFor("window", 1, 10000);
    HWND shown = NULL;
    WaitUntil(5000, [&] { return (shown = FindWindowA("RvTestSaver", NULL)) != NULL; });
    PostMessageA(shown, WM_CLOSE, 0, 0);
    saver.WaitForExit(5000);
    return window - start;
}

// From the end of one period (the window of a saver plus the period) to the
// window of the next, against the bare start of the same program, measured in
// the same run, turn after turn.
void TurnOverhead()
{
    SessionDriver driver;
    std::string a = driver.savers.Install("rvt_good.scr", SaverDirectory::System, "good_ta.scr");
    std::string b = driver.savers.Install("rvt_good.scr", SaverDirectory::System, "good_tb.scr");
    const DWORD period = 1000;
    const int turns = 10;
    std::vector<double> bare, gaps;
    for (int i = 0; i < 5; ++i)
        bare.push_back(BareStart(driver, a));
    driver.SetPlayList({a, b});
    driver.SetPeriod(period);
    DeleteFileA(driver.recordFile.c_str());
    driver.Start();
    Watch watch{driver};
    double previous = watch.WaitFor("window", 1, 10000);
    for (int i = 2; i <= turns + 1; ++i) {
        double next = watch.WaitFor("window", (size_t)i, 10000);
        gaps.push_back(next - previous - period);
        previous = next;
    }
    SessionDriver::PressKey();
    driver.WaitForEnd(10000);
    // From a screen saver's own end to the next one's start, both read from
    // the screen savers' clocks.
    std::vector<RecordLine> exits = driver.RecordsStartingWith("exit");
    std::vector<RecordLine> ticks = driver.RecordsStartingWith("tick");
    std::vector<double> handOvers;
    for (size_t i = 0; i < exits.size() && i + 1 < ticks.size(); ++i)
        handOvers.push_back((double)(LONG)((DWORD)NumberAfter(ticks[i + 1].text, "tick ") -
                                           (DWORD)NumberAfter(exits[i].text, "exit ")));
    for (int i = 0; i < 5; ++i)
        bare.push_back(BareStart(driver, a));
    double bareMedian = Median(bare), gapMedian = Median(gaps);
    printf("| bare start of a screen saver to its window (median of %d) | %.0f ms |\n",
           (int)bare.size(), bareMedian);
    printf("| end of period to the next screen saver's window (median of %d turns) | %.0f ms |\n",
           turns, gapMedian);
    printf("| turn overhead beyond a bare start | %.0f ms |\n", gapMedian - bareMedian);
    printf(
        "| well behaved: its own end to the next screen saver's start (median of %d) | %.0f ms |\n",
        (int)handOvers.size(), Median(handOvers));
}

struct KeyRun {
    double median;     // ms from the key to the end of the session
    double afterExit;  // ms from its screen saver's own exit to the session's end (median)
    int startedAfter;  // sessions that made a screen saver after the key
    int sessions;
    LONG latest;  // ms from the key to the latest creation of a session's screen saver
};

void PrintMadeAfter(const char* when, const KeyRun& run)
{
    printf("| %ssessions that made a screen saver after a key %s | %d of %d (latest %+ld ms) |\n",
           KeySourceLabel(), when, run.startedAfter, run.sessions, (long)run.latest);
}

bool EachMonitorSessions = false;  // "A different screensaver on each monitor"

// Sessions of two well-behaved screen savers (that end themselves on the
// key, as standard ones do), each ended by a key pressed delay(i) ms after
// the first record starting with trigger was seen (negative: before that
// moment plus the period). A screen saver was made after the key when its
// process's creation time (its "tick", on the same clock) is later than the
// key's by more than the clock's step.
KeyRun KeySessions(int sessions, DWORD period, const char* trigger, int (*delay)(int, DWORD))
{
    const LONG step = (LONG)ClockStep();
    std::vector<double> times, afterExits;
    int startedAfter = 0;
    LONG latest = LONG_MIN;
    for (int i = 0; i < sessions; ++i) {
        SessionDriver driver;
        std::string a =
            driver.savers.Install("rvt_good.scr", SaverDirectory::System, "good_ka.scr");
        std::string b =
            driver.savers.Install("rvt_good.scr", SaverDirectory::System, "good_kb.scr");
        driver.SetPlayList({a, b});
        driver.SetPeriod(period);
        if (EachMonitorSessions)
            SetRegistryNumber(HKEY_CURRENT_USER, RV_SETTINGS_KEY, "EachMonitor", 1);
        driver.Start();
        double seen = Watch{driver}.WaitFor(trigger, 1, 10000);
        while (Now() < seen + delay(i, period)) {
        }
        double start = Now();
        DWORD pressed = GetTickCount();
        double end = PressKeyUntilEnd(driver);
        DWORD ended = GetTickCount() - (DWORD)(Now() - end);
        times.push_back(end - start);
        // The latest screen saver's own exit, on the clock the fixtures use.
        std::vector<RecordLine> exits = driver.RecordsStartingWith("exit");
        if (!exits.empty())
            afterExits.push_back(
                (double)(LONG)(ended - (DWORD)NumberAfter(exits.back().text, "exit ")));
        LONG after = LONG_MIN;
        for (const RecordLine& tick : driver.RecordsStartingWith("tick"))
            after = std::max(after, (LONG)((DWORD)NumberAfter(tick.text, "tick ") - pressed));
        startedAfter += after > step ? 1 : 0;
        latest = std::max(latest, after);
    }
    return {Median(times), Median(afterExits), startedAfter, sessions, latest};
}

// Prefixes the rows of keys from X.
const char* KeySourceLabel()
{
    return KeysFromX ? "X key events: " : "";
}

void KeyToEndSelfClosing()
{
    KeyRun run = KeySessions(10, 60000, "window", [](int, DWORD) { return 500; });
    Row("key to the end of the session, saver ends itself on the key (median of 10)", run.median);
    Row("the same: the session's end after its screen saver's own exit (median)", run.afterExit);
    PrintMadeAfter("mid-turn", run);
}

// The key from 30 ms before to 120 ms after the end of the first screen
// saver's period (its window and the period), in steps of 10 ms.
void KeyAtPeriodEnd()
{
    KeyRun run = KeySessions(16, 1500, "window",
                             [](int i, DWORD period) { return (int)period - 30 + i * 10; });
    Row("key at a period's end to the end of the session (median of 16, -30 to +120 ms)",
        run.median);
    PrintMadeAfter("at a period's end", run);
}

// "A different screensaver on each monitor": the key half a second after
// both panes show theirs, to the end of the session; by each key source.
void KeyWithEachMonitor()
{
    if (GetSystemMetrics(SM_CMONITORS) < 2) {
        printf("| key with a screen saver on each monitor | not run: one monitor here |\n");
        return;
    }
    EachMonitorSessions = true;
    for (bool fromX : {false, true}) {
        if (fromX && !ConnectXKeys())
            break;
        KeysFromX = fromX;
        Row("key with a screen saver on each monitor to the end of the session (median of 5)",
            KeySessions(5, 60000, "window", [](int, DWORD) { return 500; }).median);
    }
    KeysFromX = EachMonitorSessions = false;
}

// The keys mid-turn and at a period's end again, from the X server.
void KeysFromTheXServer()
{
    if (!ConnectXKeys()) {
        printf("| X key events | not run: no tools/x_keys.py (RV_XKEYS_PORT) |\n");
        return;
    }
    KeysFromX = true;
    KeyToEndSelfClosing();
    KeyAtPeriodEnd();
    KeysFromX = false;
}

// The key while the screen saver is making its window (it takes 300 ms).
void KeyWhileAWindowIsMade()
{
    printf("| key while the screen saver makes its window to the end of the session (median of "
           "5) | %.0f ms |\n",
           MedianKeyToEnd("slow_bench.scr", 300, "start", 50));
}

// A screen saver that started 20 processes which ignore every polite request.
void KeyToEndTwentyChildren()
{
    InstalledChild child;
    SessionDriver driver;
    driver.SetPlayList(
        {driver.savers.Install("rvt_good.scr", SaverDirectory::System, "child_bench.scr")});
    driver.SetPeriod(60000);
    SetRegistryNumber(HKEY_CURRENT_USER, RV_TEST_KEY, "ChildCount", 20);
    SetRegistryNumber(HKEY_CURRENT_USER, RV_TEST_KEY, "Stubborn", 1);
    // The children leave the activation to the screen saver: it runs until
    // the key, and the stop is the key's.
    SetRegistryNumber(HKEY_CURRENT_USER, RV_TEST_KEY, "NoActivate", 1);
    driver.Start();
    Watch{driver}.WaitFor("child window", 20, 60000);
    Sleep(500);
    double start = Now();
    double end = PressKeyUntilEnd(driver);
    driver.WaitForEnd(60000);
    Row("key to the end of the session, screen saver with 20 stubborn child processes",
        (end < 0 ? Now() : end) - start);
}

// Handles a process holds, from the system's handle table (Wine answers
// GetProcessHandleCount with 0 for every process).
DWORD HandleCount(DWORD pid)
{
    typedef LONG(WINAPI * QueryFunction)(ULONG, PVOID, ULONG, PULONG);
    struct Entry {
        ULONG ownerPid;
        BYTE objectType, flags;
        USHORT value;
        PVOID object;
        ULONG access;
    };
    QueryFunction query = (QueryFunction)(void*)GetProcAddress(GetModuleHandleA("ntdll.dll"),
                                                               "NtQuerySystemInformation");
    std::vector<BYTE> buffer(1 << 20);
    ULONG needed = 0;
    const ULONG SystemHandleInformation = 16;
    while (query && query(SystemHandleInformation, buffer.data(), (ULONG)buffer.size(), &needed) ==
                        (LONG)0xC0000004L)  // too small
        buffer.resize(buffer.size() * 2);
    ULONG count = *(ULONG*)buffer.data();
    const Entry* entries = (const Entry*)(buffer.data() + sizeof(void*));
    DWORD held = 0;
    for (ULONG i = 0; i < count && (const BYTE*)(entries + i + 1) <= buffer.data() + buffer.size();
         ++i)
        held += entries[i].ownerPid == pid ? 1 : 0;
    return held;
}

// The session's handle count over many short turns: one that never becomes
// idle (no window, so WaitForInputIdle waits its whole time) beside a well
// behaved one. A leak per turn shows as growth between the two counts.
void HandlesOverTurns()
{
    SessionDriver driver;
    driver.SetPlayList(
        {driver.savers.Install("rvt_good.scr", SaverDirectory::System, "good_handles.scr"),
         driver.savers.Install("rvt_good.scr", SaverDirectory::System, "nowindow_handles.scr")});
    driver.SetPeriod(1000);
    driver.Start();
    auto handles = [&] { return HandleCount(driver.Process().Id()); };
    Watch{driver}.WaitFor("start", 6, 60000);
    DWORD early = handles();
    Watch{driver}.WaitFor("start", 46, 180000);
    DWORD late = handles();
    SessionDriver::PressKey();
    driver.WaitForEnd(30000);
    printf("| session handles at turn 6 and turn 46 (turns of 1 s, one saver never idle) | %lu, "
           "%lu |\n",
           (unsigned long)early, (unsigned long)late);
}

void Headline()
{
    printf("| measure | result |\n|---|---|\n");
    TurnOverhead();
    KeyToEnd();
    KeyAtPeriodEnd();
    KeyWhileAWindowIsMade();
    KeysFromTheXServer();
    HandlesOverTurns();
}

void TurnEnd()
{
    KeyAtPeriodEnd();
    KeyWhileAWindowIsMade();
}

// The parts that run alone, by the name given on the command line.
const struct {
    const char* name;
    void (*run)();
} Parts[] = {
    {"children", KeyToEndTwentyChildren},  // the stop of twenty children
    {"selfend", KeyToEndSelfClosing},      // a screen saver that ends itself on the key
    {"monitors", KeyWithEachMonitor},      // a screen saver on each monitor (a display of two)
    {"xkeys", KeysFromTheXServer},         // the keys from the X server
    {"turnend", TurnEnd},                  // keys at a period's end and during a start
    {"headline", Headline},                // the few figures the test run prints
    {"overhead", TurnOverhead},
    {"scale", Scale},  // large collections
    {"handles", HandlesOverTurns},
};

}  // namespace

// No argument: every figure; "session" leaves out the loading, dialog and
// large collections' ones; or one part of Parts alone.
int main(int argc, char** argv)
{
    for (const auto& part : Parts) {
        if (argc > 1 && !strcmp(argv[1], part.name)) {
            part.run();
            fflush(stdout);
            TerminateProcess(GetCurrentProcess(), 0);
        }
    }
    if (argc < 2 || strcmp(argv[1], "session") != 0) {
        printf("Loading settings and opening the dialog\n\n");
        LoadingAndDialog();
        printf("\nLarge collections\n\n");
        Scale();
    }
    printf("\nSession\n\n| measure | result |\n|---|---|\n");
    TurnOverhead();
    KeyToEnd();
    KeyToEndSelfClosing();
    KeyAtPeriodEnd();
    KeyWhileAWindowIsMade();
    KeysFromTheXServer();
    GapAndStops();
    KeyToEndTwentyChildren();
    HandlesOverTurns();
    fflush(stdout);
    TerminateProcess(GetCurrentProcess(), 0);
    return 0;
}
