#include "monitor_turn.h"

#include <stdint.h>

#include <algorithm>
#include <string>

#include "input_watch.h"
#include "turn_order.h"
#include "turn_steps.h"
#include "saver/log/message_log.h"
#include "saver/log/trace.h"
#include "saver/processes/hosted_command_lines.h"
#include "saver/processes/message_wait.h"
#include "saver/processes/process_info.h"
#include "saver/processes/watch.h"
#include "saver/settings/settings_state.h"
#include "saver/windows/saver_state.h"
#include "shared/text_compare.h"

std::vector<HWND> MonitorPanes;

namespace {

struct PaneShow {
    HWND pane;
    uint32_t position;  // in the catalogue
    TurnPlace before;   // the play's place before this entry was taken
    std::string path;
    ProcessInfo* record;  // null when it did not start
};

// The screen savers that showed nothing in preview mode: logged once each
// per session.
std::vector<std::string> NothingShownLogged;

// The play-list's next entries, one per pane, and the length of the turn:
// that of the longest of their times, so that each shows at least its own.
std::vector<PaneShow> TakeEntries(DWORD* length)
{
    std::vector<PaneShow> shows;
    *length = 0;
    for (HWND pane : MonitorPanes) {
        if (PlayList.empty())
            break;
        TurnPlace before = CurrentTurnPlace();
        uint32_t position = CurrentEntry();
        *length = std::max<DWORD>(*length, CurrentTurnLength());
        AdvanceTurn();
        std::string path = position < Catalogue.size() ? Catalogue[position] : "";
        shows.push_back({pane, position, before, path, NULL});
    }
    return shows;
}

// Whether an earlier pane of the turn shows the same screen saver (a play-list
// shorter than the monitors): that copy gets a record of its own, so that
// starting it does not stop the first.
bool ShownBefore(const std::vector<PaneShow>& shows, size_t pane)
{
    for (size_t i = 0; i < pane; ++i) {
        if (SameTextIgnoringCase(shows[i].path.c_str(), shows[pane].path.c_str()))
            return true;
    }
    return false;
}

// Input between two panes' starts: the rest are not started, and the play
// goes back to the first that never ran (held back as it was made, or not
// made), as a single screen saver's turn does.
void StartInPanes(HANDLE job, std::vector<PaneShow>& shows)
{
    for (size_t i = 0; i < shows.size(); ++i) {
        bool heldBack = InputCame();
        if (!heldBack) {
            char commandLine[CommandLineLimit];
            bool built = BuildPreviewCommandLine(commandLine, sizeof commandLine,
                                                 shows[i].path.c_str(), (intptr_t)shows[i].pane);
            shows[i].record = StartRecorded(job, shows[i].path.c_str(), commandLine, built,
                                            ShownBefore(shows, i), &heldBack);
            if (shows[i].record)
                TraceFormat("%s  loaded", commandLine);
        }
        if (heldBack) {
            ReturnToTurnPlace(shows[i].before);
            return;
        }
    }
}

// The window a process made in the pane, or null.
HWND WindowInPane(HWND pane, DWORD processId)
{
    for (HWND child = GetWindow(pane, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(child, &owner);
        if (owner == processId)
            return child;
    }
    return NULL;
}

// Gives each started screen saver's record the window it made in its pane
// (closing it stops the screen saver); true when every one has it.
bool AttachPaneWindows(std::vector<PaneShow>& shows)
{
    bool all = true;
    for (PaneShow& show : shows) {
        if (show.record && !show.record->window)
            show.record->window = WindowInPane(show.pane, show.record->procInfo.dwProcessId);
        all = all && (!show.record || show.record->window);
    }
    return all;
}

// Waits until every screen saver is ready and has made its window, or its
// grace is over, or input or the session's end comes.
void WaitForPaneWindows(std::vector<PaneShow>& shows)
{
    HANDLE events[3] = {StopEvent, InputEvent, NextEvent};
    for (PaneShow& show : shows) {
        if (show.record)
            WaitUntilReady(show.record, events, 3);
    }
    for (DWORD waited = 0; !AttachPaneWindows(shows) && waited < WindowGrace;
         waited += WindowPoll) {
        if (WaitHandlingSentMessages(3, events, WindowPoll) != WAIT_TIMEOUT)
            return;
    }
}

// Some screen savers cannot draw into a window they are given (or end when
// asked to): the log names them, so that users know which to leave out.
void ReportNothingShown(const std::vector<PaneShow>& shows)
{
    if (IsSignalled(StopEvent) || IsSignalled(InputEvent) || IsSignalled(NextEvent))
        return;
    for (const PaneShow& show : shows) {
        if (!show.record || show.record->window ||
            std::find(NothingShownLogged.begin(), NothingShownLogged.end(), show.path) !=
                NothingShownLogged.end())
            continue;
        NothingShownLogged.push_back(show.path);
        TraceAndLog("%s shows nothing in preview mode: leave it out of the play-list when "
                    "each monitor has its own",
                    show.path.c_str());
    }
}

}  // namespace

void ShowOnEachMonitor(HANDLE job)
{
    DWORD turnStart = GetTickCount();
    DWORD length = 0;
    std::vector<PaneShow> shows = TakeEntries(&length);
    if (shows.empty())
        return;
    BeginTurnWatch(shows[0].path.c_str());
    StartInPanes(job, shows);
    WaitForPaneWindows(shows);
    ReportNothingShown(shows);
    WaitRestOfTurn(turnStart, length);
    StopTurn(job);
    // The records went with the stop, but for those that could not be stopped.
    for (const PaneShow& show : shows)
        ExcludeIfMisbehaving(show.path.c_str(), show.position);
}
