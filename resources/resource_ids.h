// Resource ids of the screen saver and the tray companion.
#pragma once

#define IDI_ROTAVEIL       101
#define IDB_PREVIEW        220
#define IDS_DESCRIPTION    1
#define IDS_PROGRAM_NAME   2  // the caption of the programs' questions
#define IDS_CLOSE_PREVIEWS 3
#define IDS_KEEP_TRAY_ICON 4
#define IDS_TRAY_TIP       5
#define IDS_ADD_FILES_TITLE 6
#define IDS_TOO_MANY_FILES 7
#define IDS_LOG_NOT_CLEARED 8
#define IDD_SETTINGS       1
#define IDD_ENTRY_TIME     2
#define IDM_TRAY           102

// Settings dialog controls.
#define IDC_INSTALLED_LIST  200
#define IDC_ADD_ALL         210
#define IDC_ADD_SELECTED    180
#define IDC_REMOVE_ALL      170
#define IDC_REMOVE_SELECTED 50
#define IDC_MOVE_UP         160
#define IDC_MOVE_DOWN       150
#define IDC_SHOW_FILE_NAMES 30
#define IDC_PLAYLIST        190
#define IDC_PERIOD          60
#define IDC_PERIOD_SPIN     70
#define IDC_TIMEOUT         61
#define IDC_TIMEOUT_SPIN    71
#define IDC_SHOW_TRAY_ICON  72
#define IDC_SHUFFLE         73
#define IDC_NEXT_KEY        74
#define IDC_ADD_FILES       75
#define IDC_EACH_MONITOR    76
#define IDC_SETTING         40
#define IDC_PREVIEW         110
#define IDC_MSG_GROUP       80
#define IDC_MSG_LIST        120
#define IDC_UPPER_GROUP     100
#define IDC_BUTTON_GROUP    90
#define IDC_CLEAR_MSG_LIST  140
#define IDC_HELP_BUTTON     9

// The dialog of a play-list entry's own time.
#define IDC_USE_COMMON_TIME 300
#define IDC_OWN_TIME        301
#define IDC_OWN_TIME_SPIN   302

// Tray menu commands.
#define IDM_MORE_SOFTWARE 39999
#define IDM_RUN_SAVER     40002
#define IDM_OPTIONS       40003
#define IDM_HELP          40004
#define IDM_EXIT          40005
