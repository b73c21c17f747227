// Timings of Rotaveil under Wine, printed as a table; docs/benchmarks.md
// records a run. Not a test: the figures depend on the machine.
//   wine64 build/tests/bin/benchmarks.exe
#include <windows.h>
#include <stdio.h>

#include <string>
#include <vector>

#include "saver/host/saver_state.h"
#include "saver/settings/settings_state.h"
#include "saver/settings/settings_store.h"
#include "shared/names.h"
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
        paths.push_back(driver.savers.Install("Night Sky.scr",
                                              i % 2 ? SaverDirectory::Windows : SaverDirectory::System,
                                              name));
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

double TimeDialogOpen()
{
    ChildProcess saver;
    double start = Now();
    saver.Start("\"" + BesideTests(RV_SAVER_FILE) + "\" /c");
    HWND dialog = NULL;
    WaitUntil(60000, [&] {
        dialog = FindWindowA(NULL, "Rotaveil settings");
        return dialog && IsWindowVisible(dialog);
    });
    double took = Now() - start;
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    saver.WaitForExit(10000);
    return took;
}

void LoadingAndDialog()
{
    printf("| installed = play-list | LoadSettings, session (ms) | LoadSettings, settings (ms) | /c to dialog shown (ms) |\n");
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

void KeyToEnd()
{
    SessionDriver driver;
    std::string path = driver.savers.Install("rvt_good.scr", SaverDirectory::System, "good_key.scr");
    driver.SetPlayList({path});
    driver.SetPeriod(60000);
    double total = 0;
    const int rounds = 5;
    for (int i = 0; i < rounds; ++i) {
        DeleteFileA(driver.recordFile.c_str());
        driver.Start();
        Watch{driver}.WaitFor("window", 1, 10000);
        Sleep(800);
        double start = Now();
        SessionDriver::PressKey();
        driver.WaitForEnd(10000);
        total += Now() - start;
    }
    printf("| key press to the end of the session process (mean of %d) | %.0f ms |\n", rounds,
           total / rounds);
}

void GapAndStops()
{
    struct Kind {
        const char* file;
        const char* what;
    };
    const DWORD period = 2000;
    for (Kind kind : {Kind{"good_gap.scr", "well behaved"}, Kind{"stubborn.scr", "ignores WM_CLOSE and WM_QUIT"},
                      Kind{"hang.scr", "window thread hangs"}, Kind{"nowindow.scr", "no window"}}) {
        SessionDriver driver;
        std::string first = driver.savers.Install("rvt_good.scr", SaverDirectory::System, kind.file);
        std::string next = driver.savers.Install("rvt_good.scr", SaverDirectory::System, "zz_next.scr");
        driver.SetPlayList({first, next});
        driver.SetPeriod(period);
        driver.Start();
        Watch watch{driver};
        double started = watch.WaitFor("start", 1, 20000);
        double nextStarted = watch.WaitFor("start", 2, 30000);
        double nextWindow = watch.WaitFor("window", strcmp(kind.file, "nowindow.scr") ? 2 : 1, 30000);
        SessionDriver::PressKey();
        driver.WaitForEnd(15000);
        printf("| %s: end of period to the next screen saver started | %.0f ms |\n", kind.what,
               nextStarted - started - period);
        if (!strcmp(kind.file, "good_gap.scr"))
            printf("| well behaved: end of period to the next screen saver's window | %.0f ms |\n",
                   nextWindow - started - period);
    }
}

void SessionProcessorTime()
{
    SessionDriver driver;
    std::string a = driver.savers.Install("Plasma.scr", SaverDirectory::System, "Plasma.scr");
    std::string b = driver.savers.Install("Starfield.scr", SaverDirectory::System, "Starfield.scr");
    driver.SetPlayList({a, b});
    driver.SetPeriod(5000);
    driver.Start();
    Sleep(20000);
    FILETIME created, exited, kernel, user;
    GetProcessTimes(driver.Process().Handle(), &created, &exited, &kernel, &user);
    SessionDriver::PressKey();
    driver.WaitForEnd(10000);
    auto ms = [](FILETIME t) { return (double)(((ULONGLONG)t.dwHighDateTime << 32) | t.dwLowDateTime) / 10000.0; };
    printf("| processor time of the session process over 20 s of screen savers | %.0f ms (%.1f%% of one core) |\n",
           ms(kernel) + ms(user), (ms(kernel) + ms(user)) / 200.0);
}

}  // namespace

int main()
{
    printf("Loading settings and opening the dialog\n\n");
    LoadingAndDialog();
    printf("\nSession\n\n| measure | result |\n|---|---|\n");
    KeyToEnd();
    GapAndStops();
    SessionProcessorTime();
    fflush(stdout);
    TerminateProcess(GetCurrentProcess(), 0);
    return 0;
}
