// Names that the screen saver and the tray companion both use. Changing any of
// them breaks stored settings or the meeting of the two programs.
#pragma once

// Registry: the settings key under HKEY_CURRENT_USER and its play-list key.
#define RV_SETTINGS_KEY       "Software\\Quillmark\\RvTray"
#define RV_PLAYLIST_KEY       "Software\\Quillmark\\RvTray\\Files"
#define RV_VALUE_PERIOD       "Period"
#define RV_VALUE_FILE_INDEX   "FileIndex"
#define RV_VALUE_COMPANION    "RVTRAY.EXE"
// The screen saver the user had before the companion first made Rotaveil the
// system's one (empty: none); the uninstaller gives it back.
#define RV_VALUE_PREVIOUS_SAVER "PreviousScreenSaver"
#define RV_VALUE_SHUFFLE      "Shuffle"      // REG_DWORD: 1 plays in random order
#define RV_VALUE_SHUFFLE_SEED "ShuffleSeed"  // REG_DWORD: the current round's seed
#define RV_VALUE_SHUFFLE_LIST "ShuffleList"  // REG_DWORD: the play-list it was made for
#define RV_VALUE_NEXT_KEY     "NextKey"      // REG_DWORD: 1 lets Right arrow show the next one
#define RV_VALUE_EACH_MONITOR "EachMonitor"  // REG_DWORD: 1 gives each monitor a screen saver
#define RV_PLAYLIST_NAME_FMT  "File%10.2i"
// Entries' own times: REG_DWORD seconds named as the play-list's values, and
// the fingerprint of the play-list they were stored with, so that a list
// rewritten by an older version does not inherit them.
#define RV_TIMES_KEY          "Software\\Quillmark\\RvTray\\Times"
#define RV_VALUE_TIMES_LIST   "List"

// Start-up entries (HKEY_LOCAL_MACHINE, and HKEY_CURRENT_USER on the NT family).
#define RV_RUN_KEY "Software\\Microsoft\\Windows\\CurrentVersion\\Run"

// The system's screen-saver settings.
#define RV_DESKTOP_KEY        "Control Panel\\Desktop"
#define RV_VALUE_TIMEOUT      "ScreenSaveTimeOut"
#define RV_VALUE_SCRNSAVE     "SCRNSAVE.EXE"
#define RV_VALUE_ACTIVE       "ScreenSaveActive"
#define RV_VALUE_USE_PASSWORD "ScreenSaveUsePassword"
#define RV_VALUE_IS_SECURE    "ScreenSaverIsSecure"

// Window identities.
#define RV_SAVER_CLASS "Rotaveil"
#define RV_SAVER_TITLE "Rotaveil"
#define RV_PANE_CLASS  "Rotaveil monitor"  // the session window's child over one monitor
#define RV_TRAY_CLASS  "Rota Veil"
#define RV_TRAY_TITLE  "Rota Veil"
// Named mutex held by the running companion: one at a time, however many start at once.
#define RV_TRAY_MUTEX  "Rotaveil Companion"

// Files.
#define RV_SAVER_FILE     "_Rotaveil.scr"
#define RV_HELP_FILE      "rvtray.hlp"
#define RV_HTML_HELP_FILE "rvtray.chm"  // for Windows without WinHelp

// The vendor's page, opened by the tray menu's "More software".
#define RV_VENDOR_URL "https://www.quillmark.example/software/"
