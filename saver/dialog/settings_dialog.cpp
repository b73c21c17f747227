#include "settings_dialog.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <stdio.h>

#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

#include "chosen_files.h"
#include "entry_time_dialog.h"
#include "file_places.h"
#include "play_list_item.h"
#include "save_settings.h"
#include "resources/resource_ids.h"
#include "saver/log/message_log.h"
#include "saver/processes/hosted_command_lines.h"
#include "saver/processes/process_info.h"
#include "saver/settings/catalogue.h"
#include "saver/settings/settings_state.h"
#include "saver/settings/settings_store.h"
#include "saver/settings/value_names.h"
#include "saver/windows/monitors.h"
#include "saver/windows/preview_popup.h"
#include "saver/windows/saver_state.h"
#include "saver/windows/saver_window.h"
#include "shared/help_file.h"
#include "shared/owned.h"
#include "shared/start_program.h"
#include "shared/system_function.h"

namespace {

const int SelectionLimit = 1024;  // items of the selection table at the least
const int MessageListScroll = 400;     // lines, so that the newest entries show
const DWORD ChosenFilesLimit = 32768;  // bytes of the Open dialog's answer
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif
const UINT FitListItemsMessage = WM_APP + 2;
// The lists' horizontal extent is set to the widest text measured so far,
// as it is when the message comes: one posted as the names were long must
// not bring back their scroll bar after "Show file names" changed.
const UINT WidenListsMessage = WM_APP + 3;

bool ShowFileNames = false;
unsigned MaxTextExtent = 0;
HWND Dialog, InstalledList, PlayListBox, PeriodEdit, MessageList;

// Whether this thread runs per monitor v2, under which the system scales
// dialogs as they move to a monitor of another scale. Looked up by name:
// Windows 10 1607 and later.
bool DialogsScaleThemselves()
{
    typedef void*(WINAPI * GetThreadContext)();
    typedef BOOL(WINAPI * SameContexts)(void*, void*);
    GetThreadContext get =
        SystemFunction<GetThreadContext>("USER32.DLL", "GetThreadDpiAwarenessContext");
    SameContexts same = SystemFunction<SameContexts>("USER32.DLL", "AreDpiAwarenessContextsEqual");
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
    return get && same && same(get(), (void*)(INT_PTR)-4);
}

bool ItemData(HWND list, int index, uint32_t* data)
{
    LRESULT value = SendMessageA(list, LB_GETITEMDATA, (WPARAM)index, 0);
    if (value == LB_ERR)
        return false;
    *data = (uint32_t)value;
    return true;
}

void AddItem(HWND list, uint32_t data)
{
    SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)data);
}

void SetNumber(HWND dialog, int id, unsigned value)
{
    char text[16];
    snprintf(text, sizeof text, "%u", value);
    SetDlgItemTextA(dialog, id, text);
}

void FillMessageList()
{
    // The newest lines of whatever is there: a log grown by another program
    // or copied in from elsewhere is shown too.
    std::vector<char> text(LogDisplayLimit + 1, '\0');
    unsigned read = ReadLogTail(text.data(), LogDisplayLimit);
    if (read > 0) {
        text[read] = '\0';
        SetWindowTextA(MessageList, text.data());
        SendMessageA(MessageList, EM_LINESCROLL, 0, MessageListScroll);
    }
}

void InitDialog(HWND dialog)
{
    Dialog = dialog;
    InstalledList = GetDlgItem(dialog, IDC_INSTALLED_LIST);
    PlayListBox = GetDlgItem(dialog, IDC_PLAYLIST);
    PeriodEdit = GetDlgItem(dialog, IDC_PERIOD);
    MessageList = GetDlgItem(dialog, IDC_MSG_LIST);
    for (uint32_t i = 0; i < Catalogue.size(); ++i)
        AddItem(InstalledList, i);
    for (const PlayListEntry& entry : PlayList)
        AddItem(PlayListBox, PackPlayListItem(entry.position, entry.ownSeconds));
    SetNumber(dialog, IDC_PERIOD, Period / 1000);
    SetNumber(dialog, IDC_TIMEOUT, TimeoutMinutes);
    SendDlgItemMessageA(dialog, IDC_PERIOD_SPIN, UDM_SETBUDDY, (WPARAM)PeriodEdit, 0);
    SendDlgItemMessageA(dialog, IDC_PERIOD_SPIN, UDM_SETRANGE, 0, MAKELPARAM(32767, 10));
    SendDlgItemMessageA(dialog, IDC_TIMEOUT_SPIN, UDM_SETBUDDY,
                        (WPARAM)GetDlgItem(dialog, IDC_TIMEOUT), 0);
    SendDlgItemMessageA(dialog, IDC_TIMEOUT_SPIN, UDM_SETRANGE, 0, MAKELPARAM(32767, 1));
    CheckDlgButton(dialog, IDC_SHOW_TRAY_ICON, ShowTrayIcon ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_SHUFFLE, Shuffle ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_NEXT_KEY, NextKey ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_EACH_MONITOR, EachMonitor ? BST_CHECKED : BST_UNCHECKED);
    // Greyed where the system cannot list its monitors (Windows 95, NT 4.0);
    // the stored choice is kept as it is.
    EnableWindow(GetDlgItem(dialog, IDC_EACH_MONITOR), CanListMonitors());
    // Screen savers dropped from Explorer join the play-list.
    DragAcceptFiles(dialog, TRUE);
    FillMessageList();
}

// The common period as OK would store it, in milliseconds: the stored one
// while the box is untouched.
uint32_t PeriodInTheBox(HWND dialog)
{
    char text[256] = "";
    GetDlgItemTextA(dialog, IDC_PERIOD, text, sizeof text);
    return PeriodAtOk(Period, text, ShortestTypedPeriod, LongestTypedPeriod);
}

void OnOk(HWND dialog)
{
    Period = PeriodInTheBox(dialog);
    char typed[32] = "";
    GetDlgItemTextA(dialog, IDC_TIMEOUT, typed, sizeof typed);
    TimeoutMinutes = TimeoutMinutesAtOk(TimeoutMinutes, typed, TimeoutMinutesLimit);
    ShowTrayIcon = IsDlgButtonChecked(dialog, IDC_SHOW_TRAY_ICON) == BST_CHECKED;
    Shuffle = IsDlgButtonChecked(dialog, IDC_SHUFFLE) == BST_CHECKED;
    NextKey = IsDlgButtonChecked(dialog, IDC_NEXT_KEY) == BST_CHECKED;
    EachMonitor = IsDlgButtonChecked(dialog, IDC_EACH_MONITOR) == BST_CHECKED;
    PlayList.clear();
    uint32_t data;
    for (int i = 0; ItemData(PlayListBox, i, &data); ++i)
        PlayList.push_back({ItemPosition(data), ItemOwnSeconds(data)});
    EndDialog(dialog, IDOK);
    SaveSettings();
}

int CaretItem()
{
    return (int)SendMessageA(PlayListBox, LB_GETCARETINDEX, 0, 0);
}

// The catalogue position of the play-list's caret entry. When there is none,
// result is what the command returns: FALSE for a failed list request, TRUE
// for an entry outside the catalogue.
bool CaretEntry(uint32_t* position, BOOL* result)
{
    int current = CaretItem();
    uint32_t data;
    if (current < 0 || !ItemData(PlayListBox, current, &data)) {
        *result = FALSE;
        return false;
    }
    *position = ItemPosition(data);
    *result = TRUE;
    return *position < Catalogue.size();
}

// What the lists show for a catalogue entry: its description or file name;
// one from a folder of its own says which.
std::string EntryName(uint32_t position)
{
    if (position >= (ShowFileNames ? Catalogue.size() : Descriptions.size()))
        return std::string();
    const std::string& name = ShowFileNames ? Catalogue[position] : DescriptionOf(position);
    if (ShowFileNames || position >= Catalogue.size() ||
        IsInScannedFolder(Catalogue[position].c_str()))
        return name;
    return NameWithFolder(name, Catalogue[position].c_str());
}

// The catalogue's entries by their place keys, made at the first add and
// kept up to date by it: each path's key is made once, not once per pair.
std::unordered_map<std::string, uint32_t> CataloguePlaces;

// A screen saver from any folder: into the installed list (once) and at the
// end of the play-list. False when it is none.
bool AddScreenSaverFile(const char* path)
{
    if (CataloguePlaces.empty()) {
        for (uint32_t i = 0; i < Catalogue.size(); ++i)
            CataloguePlaces.emplace(PlaceKey(Catalogue[i]), i);
    }
    // One entry however the file was named (its short name, a mapped drive).
    std::string place = LongFullPath(path);
    std::string key = PlaceKey(place);
    auto found = CataloguePlaces.find(key);
    uint32_t position = 0;
    size_t known = Catalogue.size();
    if (found != CataloguePlaces.end())
        position = found->second;
    else if (!AppendToCatalogue(place.c_str(), &position))
        return false;
    if (Catalogue.size() > known) {
        CataloguePlaces.emplace(key, position);
        Descriptions.push_back(std::string());  // read when shown
        AddItem(InstalledList, position);
    }
    AddItem(PlayListBox, PackPlayListItem(position, 0));
    return true;
}

// The two lists are drawn once when thousands of entries join them, not
// after each.
class ListsDrawnAtTheEnd {
public:
    ListsDrawnAtTheEnd()
    {
        SendMessageA(InstalledList, WM_SETREDRAW, FALSE, 0);
        SendMessageA(PlayListBox, WM_SETREDRAW, FALSE, 0);
    }
    ~ListsDrawnAtTheEnd()
    {
        for (HWND list : {InstalledList, PlayListBox}) {
            SendMessageA(list, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(list, NULL, TRUE);
        }
    }
    ListsDrawnAtTheEnd(const ListsDrawnAtTheEnd&) = delete;
    ListsDrawnAtTheEnd& operator=(const ListsDrawnAtTheEnd&) = delete;
};

void SayInDialog(HWND dialog, UINT textId)
{
    char text[256] = "", caption[64] = "";
    LoadStringA(Instance, textId, text, sizeof text);
    LoadStringA(Instance, IDS_PROGRAM_NAME, caption, sizeof caption);
    MessageBoxA(dialog, text, caption, MB_OK | MB_ICONINFORMATION);
}

BOOL OnAddFiles(HWND dialog)
{
    std::vector<char> answer(ChosenFilesLimit, '\0');
    char title[64] = "";
    LoadStringA(Instance, IDS_ADD_FILES_TITLE, title, sizeof title);
    OPENFILENAMEA open;
    ZeroMemory(&open, sizeof open);
    // The size Windows 95 and NT 4.0 know: they refuse the larger one.
    open.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    open.hwndOwner = dialog;
    open.lpstrFilter = "Screensavers (*.scr)\0*.scr\0";
    open.lpstrFile = answer.data();
    open.nMaxFile = ChosenFilesLimit;
    open.lpstrTitle = title;
    open.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST |
                 OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    // The dialog leaves the current folder where the user went (which the
    // previews would inherit, and which holds a removable drive in use).
    char current[MAX_PATH];
    DWORD length = GetCurrentDirectoryA(sizeof current, current);
    BOOL chosen = GetOpenFileNameA(&open);
    if (length > 0 && length < sizeof current)
        SetCurrentDirectoryA(current);
    if (!chosen) {
        if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL)
            SayInDialog(dialog, IDS_TOO_MANY_FILES);
        return TRUE;
    }
    ListsDrawnAtTheEnd drawing;
    for (const std::string& path : ChosenFiles(answer.data(), answer.size())) {
        if (UsableName(path))
            AddScreenSaverFile(path.c_str());
    }
    FillMessageList();
    return TRUE;
}

void OnDropFiles(HDROP drop)
{
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, NULL, 0);
    ListsDrawnAtTheEnd drawing;
    for (UINT i = 0; i < count; ++i) {
        std::string path = DroppedPath(drop, i);
        // Only screen savers; a folder or another file is passed over.
        if (!path.empty() && HasScrExtension(path.c_str()))
            AddScreenSaverFile(path.c_str());
    }
    DragFinish(drop);
    FillMessageList();
}

// The caret entry's own time, asked for in a dialog of its own. FALSE when
// the play-list has no entry to ask for.
BOOL OnEntryTime(HWND dialog)
{
    int current = CaretItem();
    uint32_t data;
    if (current < 0 || !ItemData(PlayListBox, current, &data))
        return FALSE;
    uint32_t common = PeriodInTheBox(dialog) / 1000;
    uint32_t own = ItemOwnSeconds(data);
    if (!AskEntryTime(dialog, EntryName(ItemPosition(data)).c_str(), common, &own))
        return TRUE;
    SendMessageA(PlayListBox, LB_SETITEMDATA, (WPARAM)current,
                 (LPARAM)PackPlayListItem(ItemPosition(data), own));
    InvalidateRect(PlayListBox, NULL, TRUE);
    return TRUE;
}

BOOL OnSetting()
{
    uint32_t position;
    BOOL result;
    if (!CaretEntry(&position, &result))
        return result;
    char commandLine[CommandLineLimit];
    if (!BuildConfigureCommandLine(commandLine, sizeof commandLine, Catalogue[position].c_str()))
        return TRUE;
    PROCESS_INFORMATION started;
    StartProgram(commandLine, 0, &started);
    // The dialog does not wait for the screen saver's own settings.
    OwnedHandle process(started.hProcess), thread(started.hThread);
    return TRUE;
}

BOOL OnPreview(HWND dialog)
{
    uint32_t position;
    BOOL result;
    if (!CaretEntry(&position, &result))
        return result;
    HWND popup = CreateSaverWindow(PreviewPopupWidth, PreviewPopupHeight, dialog);
    if (!popup)
        return TRUE;
    PreviewWindows.push_back(popup);
    if (position < Descriptions.size())
        SetWindowTextA(popup, DescriptionOf(position).c_str());
    char commandLine[CommandLineLimit];
    if (!BuildPreviewCommandLine(commandLine, sizeof commandLine, Catalogue[position].c_str(),
                                 (intptr_t)popup))
        return TRUE;
    PROCESS_INFORMATION started;
    StartProgram(commandLine, IDLE_PRIORITY_CLASS, &started);
    if (started.hProcess) {
        auto record = std::make_unique<ProcessInfo>(Catalogue[position].c_str());
        record->procInfo = started;
        // The pop-up owns it from here (ClosePreviewPopup).
        SetWindowLongPtrA(popup, GWLP_USERDATA, (LONG_PTR)record.release());
    }
    return TRUE;
}

// Every installed screen saver once; one that was in the play-list keeps the
// first own time it had there.
BOOL OnAddAll()
{
    std::vector<uint32_t> kept(Catalogue.size(), 0);
    uint32_t data;
    for (int i = 0; ItemData(PlayListBox, i, &data); ++i) {
        uint32_t position = ItemPosition(data);
        if (position < kept.size() && kept[position] == 0)
            kept[position] = ItemOwnSeconds(data);
    }
    SendMessageA(PlayListBox, LB_RESETCONTENT, 0, 0);
    LRESULT count = SendMessageA(InstalledList, LB_GETCOUNT, 0, 0);
    if (count == LB_ERR)
        return FALSE;
    for (int i = 0; i < (int)count; ++i) {
        if (ItemData(InstalledList, i, &data))
            AddItem(PlayListBox, PackPlayListItem(data, data < kept.size() ? kept[data] : 0));
    }
    return TRUE;
}

// Every selected item, however many: the table is made as large as the
// list says the selection is.
bool SelectedItems(HWND list, std::vector<int>* items)
{
    LRESULT selected = SendMessageA(list, LB_GETSELCOUNT, 0, 0);
    if (selected == LB_ERR)
        return false;
    items->assign((size_t)std::max<LRESULT>(selected, SelectionLimit), 0);
    LRESULT count = SendMessageA(list, LB_GETSELITEMS, (WPARAM)items->size(), (LPARAM)items->data());
    if (count == LB_ERR)
        return false;
    items->resize((size_t)count);
    return true;
}

BOOL OnAddSelected()
{
    std::vector<int> selected;
    if (!SelectedItems(InstalledList, &selected))
        return FALSE;
    uint32_t data;
    ListsDrawnAtTheEnd drawing;
    for (int item : selected) {
        if (ItemData(InstalledList, item, &data))
            AddItem(PlayListBox, data);
    }
    return TRUE;
}

BOOL OnRemoveSelected()
{
    std::vector<int> selected;
    if (!SelectedItems(PlayListBox, &selected))
        return FALSE;
    ListsDrawnAtTheEnd drawing;
    for (size_t k = 0; k < selected.size(); ++k)
        SendMessageA(PlayListBox, LB_DELETESTRING, (WPARAM)(selected[k] - (int)k), 0);
    return TRUE;
}

// Swaps the caret entry with its neighbour at offset -1 or +1.
BOOL MoveCaretItem(int offset)
{
    int current = CaretItem();
    LRESULT count = SendMessageA(PlayListBox, LB_GETCOUNT, 0, 0);
    if (current < 0 || count == LB_ERR)
        return FALSE;
    int other = current + offset;
    if (other < 0 || other >= (int)count)
        return FALSE;
    uint32_t here, there;
    if (!ItemData(PlayListBox, current, &here) || !ItemData(PlayListBox, other, &there))
        return FALSE;
    if (SendMessageA(PlayListBox, LB_SETITEMDATA, (WPARAM)other, (LPARAM)here) == LB_ERR ||
        SendMessageA(PlayListBox, LB_SETITEMDATA, (WPARAM)current, (LPARAM)there) == LB_ERR)
        return FALSE;
    SendMessageA(PlayListBox, LB_SETCARETINDEX, (WPARAM)other, TRUE);
    SendMessageA(PlayListBox, LB_SETSEL, FALSE, -1);
    SendMessageA(PlayListBox, LB_SETSEL, TRUE, other);
    InvalidateRect(PlayListBox, NULL, TRUE);
    return TRUE;
}

void OpenHelp(HWND dialog)
{
    char path[MAX_PATH];
    GetHelpFileName(path, sizeof path);
    ShellExecuteA(dialog, "open", path, NULL, NULL, SW_SHOWMAXIMIZED);
}

BOOL OnCommand(HWND dialog, WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case IDOK:
        // Enter on the play-list is the keyboard's way to an entry's time.
        if (GetFocus() == PlayListBox && OnEntryTime(dialog))
            return TRUE;
        OnOk(dialog);
        return TRUE;
    case IDC_PLAYLIST:
        if (HIWORD(wParam) == LBN_DBLCLK)
            return OnEntryTime(dialog);
        return FALSE;
    case IDCANCEL:
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    case IDC_HELP_BUTTON:
        OpenHelp(dialog);
        return TRUE;
    case IDC_SHOW_FILE_NAMES:
        ShowFileNames = SendMessageA((HWND)lParam, BM_GETCHECK, 0, 0) == BST_CHECKED;
        // The widest text is measured again as the items are drawn: short
        // names need no horizontal scroll bar after long paths did.
        MaxTextExtent = 0;
        SendMessageA(InstalledList, LB_SETHORIZONTALEXTENT, 0, 0);
        SendMessageA(PlayListBox, LB_SETHORIZONTALEXTENT, 0, 0);
        RedrawWindow(InstalledList, NULL, NULL, RDW_INVALIDATE);
        RedrawWindow(PlayListBox, NULL, NULL, RDW_INVALIDATE);
        return TRUE;
    case IDC_PREVIEW:
        return OnPreview(dialog);
    case IDC_SETTING:
        return OnSetting();
    case IDC_ADD_ALL:
        return OnAddAll();
    case IDC_ADD_SELECTED:
        return OnAddSelected();
    case IDC_ADD_FILES:
        return OnAddFiles(dialog);
    case IDC_REMOVE_ALL:
        SendMessageA(PlayListBox, LB_RESETCONTENT, 0, 0);
        return TRUE;
    case IDC_REMOVE_SELECTED:
        return OnRemoveSelected();
    case IDC_MOVE_UP:
        return MoveCaretItem(-1);
    case IDC_MOVE_DOWN:
        return MoveCaretItem(+1);
    case IDC_CLEAR_MSG_LIST:
        SetWindowTextA(MessageList, "");
        if (!ClearLog()) {
            // What could not be emptied is shown again, and said.
            FillMessageList();
            SayInDialog(dialog, IDS_LOG_NOT_CLEARED);
        }
        return TRUE;
    }
    return FALSE;
}

BOOL OnDrawItem(const DRAWITEMSTRUCT* item)
{
    if ((int)item->itemID == -1)
        return FALSE;
    uint32_t data;
    if (!ItemData(item->hwndItem, (int)item->itemID, &data))
        return FALSE;
    uint32_t position = ItemPosition(data);
    if (position >= Descriptions.size() || position >= Catalogue.size())
        return TRUE;
    HDC dc = item->hDC;
    int saved = SaveDC(dc);
    bool selected = (item->itemState & ODS_SELECTED) != 0;
    COLORREF background = GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    COLORREF foreground = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    OwnedGdiObject<HBRUSH> brush(CreateSolidBrush(background));
    FillRect(dc, &item->rcItem, brush.Get());
    SetBkColor(dc, background);
    SetTextColor(dc, foreground);
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    std::string text = PlayListItemText(EntryName(position), ItemOwnSeconds(data));
    int y = (item->rcItem.top + item->rcItem.bottom - metrics.tmHeight) / 2;
    // Drawn from the item's own left edge, so the text follows horizontal scrolling.
    TextOutA(dc, item->rcItem.left + 4, y, text.c_str(), (int)text.size());
    SIZE extent = {0, 0};
    GetTextExtentPoint32A(dc, text.c_str(), (int)text.size(), &extent);
    unsigned width = (unsigned)extent.cx + 8;
    if (width > MaxTextExtent) {
        MaxTextExtent = width;
        PostMessageA(Dialog, WidenListsMessage, 0, 0);
    }
    if (item->itemState & ODS_FOCUS)
        DrawFocusRect(dc, &item->rcItem);
    RestoreDC(dc, saved);
    return TRUE;
}

// After a move to a monitor of another scale the system has scaled the dialog
// and its fonts; the owner-drawn lists take the new font's item height, and
// their text widths are measured again.
void FitListItems()
{
    MaxTextExtent = 0;
    for (HWND list : {InstalledList, PlayListBox}) {
        HDC dc = GetDC(list);
        HGDIOBJ kept = SelectObject(dc, (HFONT)SendMessageA(list, WM_GETFONT, 0, 0));
        TEXTMETRICA metrics;
        if (GetTextMetricsA(dc, &metrics))
            SendMessageA(list, LB_SETITEMHEIGHT, 0, metrics.tmHeight);
        SelectObject(dc, kept);
        ReleaseDC(list, dc);
        SendMessageA(list, LB_SETHORIZONTALEXTENT, 0, 0);
        InvalidateRect(list, NULL, TRUE);
    }
}

// A question in the program's own words, from its string table.
int AskQuestion(UINT textId, UINT buttons)
{
    char text[256] = "", caption[64] = "";
    LoadStringA(Instance, textId, text, sizeof text);
    LoadStringA(Instance, IDS_PROGRAM_NAME, caption, sizeof caption);
    return MessageBoxA(NULL, text, caption, buttons | MB_ICONQUESTION);
}

void OnDestroy()
{
    KeepPreviews = false;
    if (!PreviewWindows.empty())
        KeepPreviews = AskQuestion(IDS_CLOSE_PREVIEWS, MB_YESNO | MB_TOPMOST) == IDNO;
    if (!KeepPreviews) {
        CloseAllPreviewPopups();
        PostQuitMessage(0);
    }
}

}  // namespace

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        InitDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        return OnCommand(dialog, wParam, lParam);
    case WM_DRAWITEM:
        return OnDrawItem((const DRAWITEMSTRUCT*)lParam);
    case WM_DROPFILES:
        OnDropFiles((HDROP)wParam);
        return TRUE;
    case WM_DPICHANGED:
        PostMessageA(dialog, FitListItemsMessage, 0, 0);
        // Per monitor v2 (Windows 10 1703 on) scales the dialog itself; v1
        // (8.1 to 10 1607) leaves it its pixels: it takes the rectangle the
        // system suggests for the new scale.
        if (!DialogsScaleThemselves()) {
            const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(dialog, NULL, suggested->left, suggested->top,
                         suggested->right - suggested->left, suggested->bottom - suggested->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            return TRUE;
        }
        return FALSE;
    case FitListItemsMessage:
        FitListItems();
        return TRUE;
    case WidenListsMessage:
        SendMessageA(InstalledList, LB_SETHORIZONTALEXTENT, MaxTextExtent, 0);
        SendMessageA(PlayListBox, LB_SETHORIZONTALEXTENT, MaxTextExtent, 0);
        return TRUE;
    case WM_DESTROY:
        OnDestroy();
        return FALSE;
    }
    return FALSE;
}
